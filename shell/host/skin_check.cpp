#include "shell/host/skin_check.h"

#include "host/host_library.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

const char* const Section = "Quilbex";

SkinConfig Config;
SkinReport Report;

// An integer key read as the plug-in reads it; a value that is written but is
// no number (the service library then answers the default) is noted.
int32_t ReadInt(const char* key, int32_t def, ConfigCursor* cursor) {
    char text[64];
    GetCFGString(key, "", text, sizeof text, cursor);
    const int32_t low = GetCFGInt(key, INT_MIN, cursor);
    const int32_t high = GetCFGInt(key, INT_MAX, cursor);
    if (text[0] && low == INT_MIN && high == INT_MAX && Config.UnreadableCount < 16)
        Config.UnreadableKeys[Config.UnreadableCount++] = key;
    return GetCFGInt(key, def, cursor);
}

void ReadHex(const char* key, ConfigCursor* cursor) {
    char text[64];
    GetCFGString(key, "", text, sizeof text, cursor);
    if (text[0] && GetCFGHex(key, 0, cursor) == 0 && GetCFGHex(key, 1, cursor) == 1 &&
        Config.UnreadableCount < 16)
        Config.UnreadableKeys[Config.UnreadableCount++] = key;
}

// Loads a picture as the plug-in does and keeps only what the rules need.
SkinPicture LoadPicture(const char* path, int32_t loadFlags) {
    SkinPicture picture = {};
    if (!path[0] || static_cast<int32_t>(strlen(path)) > SkinPathRead) return picture;
    ImageInfo image;
    memset(&image, 0, sizeof image);
    image.Path = path;
    image.LoadFlags = loadFlags;
    LoadImageEx(&image);
    if (image.Kind != ImageKindFailed) {
        picture.Loaded = true;
        picture.HasAlpha = image.Kind == ImageKindAlpha;
        picture.Width = image.Width;
        picture.Height = image.Height;
    }
    if (image.ColorBitmap) DeleteObject(image.ColorBitmap);
    if (image.MaskBitmap) DeleteObject(image.MaskBitmap);
    return picture;
}

int CALLBACK OnFontFamily(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool FontFaceExists(const char* face) {
    if (!face[0]) return false;
    LOGFONTA wanted;
    memset(&wanted, 0, sizeof wanted);
    wanted.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(wanted.lfFaceName, face, LF_FACESIZE);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExA(screen, &wanted, OnFontFamily, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

void ReadMeter(SkinMeterConfig* meter, const char* name, ConfigCursor* cursor) {
    char key[32];
    meter->Name = name;
    snprintf(key, sizeof key, "%sSkin", name);
    GetCFGString(key, "", meter->ImagePath, sizeof meter->ImagePath, cursor);
    // The key names must outlive the cursor for the unreadable-key list.
    static char keys[4][5][32];
    const int index = static_cast<int>(meter - Config.Meters);
    const char* suffixes[] = {"FramesCount", "OffsetX", "OffsetY", "TextdX", "TextdY"};
    for (int i = 0; i < 5; ++i)
        snprintf(keys[index][i], 32, "%s%s", name, suffixes[i]);
    meter->FramesCount = ReadInt(keys[index][0], 1, cursor);
    meter->OffsetX = ReadInt(keys[index][1], 0, cursor);
    meter->OffsetY = ReadInt(keys[index][2], 0, cursor);
    snprintf(key, sizeof key, "%sTextFormat", name);
    GetCFGString(key, "", meter->TextFormat, sizeof meter->TextFormat, cursor);
    meter->TextdX = ReadInt(keys[index][3], 0, cursor);
    meter->TextdY = ReadInt(keys[index][4], 0, cursor);
    meter->Image = LoadPicture(meter->ImagePath, 0);
}

void ReadConfig(const char* configPath) {
    memset(&Config, 0, sizeof Config);
    ConfigCursor cursor;
    HANDLE handle = const_cast<char*>(configPath);
    OpenCFGr(handle, &cursor);
    Config.SectionFound = FindSection(Section, 0, &cursor) != 0;
    Config.ZOrder = ReadInt("Z-Order", 1, &cursor);
    ReadInt("X", 0, &cursor);
    ReadInt("Y", 0, &cursor);
    Config.LockMode = ReadInt("LockMode", 0, &cursor);
    GetCFGString("Skin", "", Config.SkinPath, sizeof Config.SkinPath, &cursor);
    const char* names[] = {"CPU", "MEM", "NetIn", "NetOut"};
    for (int i = 0; i < 4; ++i)
        ReadMeter(&Config.Meters[i], names[i], &cursor);
    FontInfo font;
    memset(&font, 0, sizeof font);
    char fontText[128];
    GetCFGString("Font", "", fontText, sizeof fontText, &cursor);
    if (!GetCFGFont("Font", &font, &cursor) && fontText[0] && Config.UnreadableCount < 16)
        Config.UnreadableKeys[Config.UnreadableCount++] = "Font";
    snprintf(Config.FontFace, sizeof Config.FontFace, "%.*s", int(sizeof font.Face), font.Face);
    Config.FontExists = FontFaceExists(Config.FontFace);
    ReadHex("FontColor", &cursor);
    Config.Elapse = ReadInt("Elapse", 800, &cursor);
    ReadInt("MaxNetSpeed", 0, &cursor);
    ReadInt("UseVXD", 1, &cursor);
    Config.Transparency = ReadInt("Transparency", 0, &cursor);
    CloseCFGr(&cursor);
    Config.Background = LoadPicture(Config.SkinPath, 2);
    HMODULE user32 = GetModuleHandleA("user32.dll");
    Config.LayeredAvailable = user32 && GetProcAddress(user32, "UpdateLayeredWindow");
}

} // namespace

int CheckSkinFile(const char* configPath, SkinReport* report) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(configPath, sizeof full, full, nullptr);
    DWORD attributes =
        n > 0 && n < sizeof full ? GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        memset(report, 0, sizeof *report);
        report->Count = report->Errors = 1;
        report->Findings[0].Severity = SkinError;
        snprintf(report->Findings[0].Text, sizeof report->Findings[0].Text,
                 "cannot find configuration %s", configPath);
        return 2;
    }
    // Pictures are named relative to the configuration's folder, as the host
    // runs the plug-in; the caller's current folder is given back afterwards.
    char previous[MAX_PATH];
    DWORD hadPrevious = GetCurrentDirectoryA(sizeof previous, previous);
    char folder[MAX_PATH];
    memcpy(folder, full, sizeof folder);
    char* slash = strrchr(folder, '\\');
    if (slash) *slash = 0;
    SetCurrentDirectoryA(folder);
    ReadConfig(full);
    CheckSkin(Config, report);
    if (hadPrevious > 0 && hadPrevious < sizeof previous) SetCurrentDirectoryA(previous);
    return report->Errors > 0 ? 1 : 0;
}

int ReportSkinCheck(const char* configPath, std::string* text) {
    int status = CheckSkinFile(configPath, &Report);
    char line[sizeof Report.Findings[0].Text + 64];
    for (int i = 0; i < Report.Count; ++i) {
        snprintf(line, sizeof line, "%s: %s\n", SkinSeverityName(Report.Findings[i].Severity),
                 Report.Findings[i].Text);
        *text += line;
    }
    snprintf(line, sizeof line, "skin check: %.*s: %d error(s), %d warning(s)%s\n", MAX_PATH,
             configPath, static_cast<int>(Report.Errors), static_cast<int>(Report.Warnings),
             status == 0 ? "; the meter starts" : "; the meter will not start");
    *text += line;
    return status;
}
