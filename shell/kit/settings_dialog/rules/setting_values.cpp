#include "shell/kit/settings_dialog/rules/setting_values.h"

#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"
#include "shell/skin_files/rules/setting_forms.h"

#include <cstdio>
#include <cstring>

namespace {

std::string Quoted(const std::string& text) {
    const size_t shown = 40;
    if (text.size() <= shown) return "\"" + text + "\"";
    return "\"" + text.substr(0, shown) + "...\"";
}

bool CheckNumber(const SettingRow& row, const EditorSpec& spec, const std::string& text,
                 std::string* stored, std::string* message) {
    const std::string name = RowDisplayName(row);
    const bool ranged = spec.Kind == SettingEditor::RangedNumber;
    const std::string wanted =
        ranged ? "enter a whole number in the range " + RangeText(spec) : "enter a whole number";
    int32_t value = 0;
    if (text.find_first_not_of(" \t") == std::string::npos) {
        *message = name + ": the field is empty; " + wanted + ".";
        return false;
    }
    if (!ParseIniInt(text.data(), text.size(), &value)) {
        *message = name + ": " + Quoted(text) + " is not a whole number; " + wanted + ".";
        return false;
    }
    if (ranged && (value < spec.Min || value > spec.Max)) {
        *message = name + ": " + std::to_string(value) + " is outside the range " +
                   RangeText(spec) + "; " + wanted + ".";
        return false;
    }
    *stored = std::to_string(value);
    return true;
}

bool CheckLine(const SettingRow& row, const EditorSpec& spec, const std::string& text,
               std::string* stored, std::string* message) {
    const std::string name = RowDisplayName(row);
    const char* what = spec.Kind == SettingEditor::Picture ? "the path" : "the text";
    if (text.find_first_of("\r\n") != std::string::npos) {
        *message = name + ": " + what + " has a line break; it must be one line.";
        return false;
    }
    if (int64_t(text.size()) > spec.MaxLength) {
        *message = name + ": " + what + " is " + std::to_string(text.size()) +
                   " characters long; at most " + std::to_string(spec.MaxLength) + " fit.";
        return false;
    }
    *stored = text;
    return true;
}

bool CheckFont(const SettingRow& row, const std::string& text, std::string* stored,
               std::string* message) {
    const std::string name = RowDisplayName(row);
    FontSpec font;
    DefaultFontSpec(&font);
    const size_t comma = text.find(',');
    std::string face = text.substr(0, comma);
    face.erase(0, face.find_first_not_of(" \t"));
    face.erase(face.find_last_not_of(" \t") + 1);
    if (face.size() >= sizeof font.Face) {
        *message = name + ": the face name " + Quoted(face) + " is longer than " +
                   std::to_string(sizeof font.Face - 1) + " characters.";
        return false;
    }
    if (comma == std::string::npos || text.find_first_of("\r\n") != std::string::npos ||
        !ParseFontSpec(text.data(), text.size(), &font)) {
        *message = name + ": " + Quoted(text) +
                   " is not a font; write Face,Size[,bold][,italic] with a size of 1-" +
                   std::to_string(FontSizeMax) + " points, for example Tahoma,8,bold.";
        return false;
    }
    *stored = FormatFontSpec(font);
    return true;
}

bool CheckColor(const SettingRow& row, const std::string& text, std::string* stored,
                std::string* message) {
    uint32_t color = 0;
    if (!ParseIniHex(text.data(), text.size(), &color) || color > 0xFFFFFFu) {
        *message = RowDisplayName(row) + ": " + Quoted(text) +
                   " is not a colour; write six hexadecimal digits BBGGRR (blue, green, red), "
                   "for example 0000FF for red.";
        return false;
    }
    *stored = FormatColorHex(color);
    return true;
}

} // namespace

std::string InitialSettingText(const SettingRow& row, const EditorSpec& spec, const char* ini,
                               size_t iniLength, const char* section, bool* present) {
    IniValue value;
    const bool found =
        row.Key && section && ini && FindIniValue(ini, iniLength, section, row.Key, &value);
    if (present) *present = found;
    if (found) return std::string(value.Text, value.Length);
    switch (spec.Kind) {
    case SettingEditor::Choice:
    case SettingEditor::Number:
    case SettingEditor::RangedNumber:
        return std::to_string(row.Default);
    case SettingEditor::Switch:
        return row.Default ? "1" : "0";
    case SettingEditor::Font: {
        FontSpec font;
        DefaultFontSpec(&font);
        return FormatFontSpec(font);
    }
    case SettingEditor::Color:
        return FormatColorHex(uint32_t(row.Default));
    default:
        return "";
    }
}

int32_t ChoiceIndex(const EditorSpec& spec, const std::string& text) {
    int32_t index = -1;
    if (spec.Kind != SettingEditor::Choice || !ParseIniInt(text.data(), text.size(), &index))
        return -1;
    return index >= 0 && index < spec.OptionCount ? index : -1;
}

bool SwitchIsOn(const SettingRow& row, const std::string& text) {
    int32_t value = 0;
    if (!ParseIniInt(text.data(), text.size(), &value)) return row.Default != 0;
    return value != 0;
}

std::string SwitchText(const SettingRow& row, const std::string& initial, bool on) {
    if (on == SwitchIsOn(row, initial)) return initial;
    return on ? "1" : "0";
}

bool CheckSettingText(const SettingRow& row, const EditorSpec& spec, const std::string& text,
                      std::string* stored, std::string* message) {
    switch (spec.Kind) {
    case SettingEditor::Number:
    case SettingEditor::RangedNumber:
        return CheckNumber(row, spec, text, stored, message);
    case SettingEditor::Text:
    case SettingEditor::Picture:
        return CheckLine(row, spec, text, stored, message);
    case SettingEditor::Font:
        return CheckFont(row, text, stored, message);
    case SettingEditor::Color:
        return CheckColor(row, text, stored, message);
    case SettingEditor::Choice:
        // The drop-down offers only the options and the text as written.
        if (ChoiceIndex(spec, text) >= 0) {
            *stored = std::to_string(ChoiceIndex(spec, text));
            return true;
        }
        break;
    case SettingEditor::Switch:
        if (text == "0" || text == "1") {
            *stored = text;
            return true;
        }
        break;
    default:
        break;
    }
    *message = RowDisplayName(row) + ": " + Quoted(text) + " cannot be written from this dialog.";
    return false;
}
