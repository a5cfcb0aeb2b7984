#include "shell/skin_files/rules/setting_forms.h"

#include <cstdio>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

char Folded(char c) {
    if (c == '/') return '\\';
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// "C:\..." or "\\server\..." or "\..." : not taken from a folder.
bool IsAbsolute(const std::string& path) {
    if (path.size() >= 2 && path[1] == ':') return true;
    return !path.empty() && IsSeparator(path[0]);
}

} // namespace

std::string FormatFontSpec(const FontSpec& font) {
    std::string text = font.Face;
    text += "," + std::to_string(font.Size);
    if (font.Weight == 700)
        text += ",bold";
    else if (font.Weight != 400)
        text += "," + std::to_string(font.Weight);
    if (font.Italic) text += ",italic";
    return text;
}

std::string FormatColorHex(uint32_t color) {
    char text[8];
    snprintf(text, sizeof text, "%06X", unsigned(color & 0xFFFFFFu));
    return text;
}

std::string EncodeIniValue(const std::string& value) {
    if (value.empty()) return value;
    const bool blankEnds = IsBlank(value.front()) || IsBlank(value.back());
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    return blankEnds || quoted ? "\"" + value + "\"" : value;
}

std::string PathForConfig(const std::string& path, const std::string& folder) {
    size_t base = folder.size();
    while (base > 0 && IsSeparator(folder[base - 1]))
        --base;
    if (base == 0 || path.size() <= base + 1 || !IsSeparator(path[base])) return path;
    for (size_t i = 0; i < base; ++i)
        if (Folded(path[i]) != Folded(folder[i])) return path;
    return path.substr(base + 1);
}

std::string PathInFolder(const std::string& path, const std::string& folder) {
    if (path.empty() || IsAbsolute(path) || folder.empty()) return path;
    return IsSeparator(folder.back()) ? folder + path : folder + "\\" + path;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

FontSpec ChosenFontSpec(const char* face, int32_t pointTenths, int32_t fallbackSize, int32_t weight,
                        bool italic) {
    FontSpec font;
    DefaultFontSpec(&font);
    snprintf(font.Face, sizeof font.Face, "%s", face ? face : "");
    font.Size = pointTenths > 0 ? (pointTenths + 5) / 10 : fallbackSize;
    if (font.Size > FontSizeMax) font.Size = FontSizeMax;
    const int32_t hundreds = (weight + 50) / 100 * 100;
    font.Weight = hundreds < 100 ? 400 : hundreds > 900 ? 900 : hundreds;
    font.Italic = italic;
    return font;
}
