// The plug-in's descriptor as the shell reads it: the record GetPluginInfo
// answers, the settings rows it points at and their editor type codes. The
// layouts are the plug-in's binary interface (24-byte records on the 32-bit
// target); the kit keeps no table of its own of what the rows hold.
#pragma once

#include <cstdint>

struct DescriptorRow {
    const char* Key; // 0 for a group header
    int32_t Type;    // editor type code, below
    const char* Caption;
    int32_t Default;    // for a list, the default option index
    int32_t MinOrLast;  // minimum, or the index of a list's last option
    intptr_t MaxOrList; // maximum, or a list's array of option names
};

struct PluginDescriptor {
    int32_t InfoSize; // 24
    const char* Name;
    const char* Description; // help text, lines ended by CR LF
    const char* Section;     // the configuration section of the plug-in's keys
    int32_t RowCount;        // rows the shell shows
    const DescriptorRow* Rows;
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(DescriptorRow) == 24, "a settings row is 24 bytes");
static_assert(sizeof(PluginDescriptor) == 24, "the descriptor is 24 bytes");
#endif

// Editor type codes. The codes with bit 0x100 are the plug-in's four rows
// that need more than their plain editor: the period and transparency have
// ranges, the full-scale speed is a plain number, the driver switch on/off.
const int32_t RowTypeGroup = 0x13;   // group header, no key
const int32_t RowTypeList = 0x10;    // named options; the stored value is the index
const int32_t RowTypePicture = 0x0E; // picture file path
const int32_t RowTypeInteger = 0x02;
const int32_t RowTypeText = 0x07;  // a display text (template)
const int32_t RowTypeFont = 0x0C;  // the kit's "Face,Size[,bold][,italic]"
const int32_t RowTypeColor = 0x06; // hexadecimal, laid out as a COLORREF
const int32_t RowTypeRangedInteger = 0x103;
const int32_t RowTypeLargeInteger = 0x107;
const int32_t RowTypeRangedPercent = 0x10B;
const int32_t RowTypeSwitch = 0x101; // on/off, nonzero is on

const int32_t DescriptorInfoSize = 24;

// The most rows and list options the kit accepts from a descriptor; more
// means a broken record rather than a bigger dialog.
const int32_t DescriptorRowsMax = 256;
const int32_t DescriptorOptionsMax = 64;

// False, with a one-line reason, when the record cannot be shown or read:
// a null record or row array, a size below 24, a row count out of 0..256.
bool DescriptorUsable(const PluginDescriptor* descriptor, char* reason, int32_t reasonSize);
