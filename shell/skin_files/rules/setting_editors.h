// Which editor each settings row gets, from its type code alone, and the
// limits that editor enforces.
#pragma once

#include "shell/skin_files/rules/descriptor_view.h"

#include <string>

enum class SettingEditor {
    Heading,      // a group header: a page of its own
    Choice,       // drop-down of the option names
    Number,       // whole number, any 32-bit value
    RangedNumber, // whole number within Min..Max, with a spin control
    Text,         // one line of at most MaxLength characters
    Picture,      // a path, with Browse
    Font,         // "Face,Size[,bold][,italic]", with Choose
    Color,        // hexadecimal BBGGRR, with a swatch and Choose
    Switch,       // check box
    Unsupported,  // an unknown code or a broken row: shown, never written
};

struct EditorSpec {
    SettingEditor Kind;
    int32_t Min; // Number and RangedNumber
    int32_t Max;
    int32_t MaxLength;   // Text and Picture: what the plug-in's buffer holds
    int32_t OptionCount; // Choice: options 0..OptionCount-1
    const char* const* Options;
};

const int32_t TextValueMax = 199;    // the plug-in reads templates into 200 bytes
const int32_t PictureValueMax = 259; // and paths into 260

EditorSpec EditorFor(const SettingRow& row);

// The option's name, or "" when the row has none at that index.
const char* OptionName(const EditorSpec& spec, int32_t index);

// A ranged row's range as messages and the dialog show it: "200-5000".
std::string RangeText(const EditorSpec& spec);

// How messages name a row: its caption, and its key when that differs
// ("FramesCount (CPUFramesCount)"), since captions repeat across groups.
std::string RowDisplayName(const SettingRow& row);
