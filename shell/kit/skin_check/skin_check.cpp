#include "shell/kit/skin_check/skin_check.h"

#include "host/host_library.h"
#include "shell/kit/session/plugin_loader.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "shell/skin_files/rules/skin_scale.h"
#include "win32/scoped_gdi.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

SettingRoles Roles;
SkinConfig Config;
SkinReport Report;

void NoteUnreadable(const char* key) {
    if (Config.UnreadableCount < 16) Config.UnreadableKeys[Config.UnreadableCount++] = key;
}

bool Written(const char* key, ConfigCursor* cursor) {
    char text[8];
    const char* const absent = "\x01"; // no configuration value can be this
    GetCFGString(key, absent, text, sizeof text, cursor);
    return strcmp(text, absent) != 0;
}

// An integer row read as the plug-in reads it, with the row's default; a
// value that is written but is no number (the service library then answers
// the default) is noted.
int32_t ReadInt(const SettingRow* row, ConfigCursor* cursor) {
    if (!row) return 0;
    char text[64];
    GetCFGString(row->Key, "", text, sizeof text, cursor);
    const int32_t low = GetCFGInt(row->Key, INT_MIN, cursor);
    const int32_t high = GetCFGInt(row->Key, INT_MAX, cursor);
    if (text[0] && low == INT_MIN && high == INT_MAX) NoteUnreadable(row->Key);
    return GetCFGInt(row->Key, row->Default, cursor);
}

void ReadHex(const SettingRow* row, ConfigCursor* cursor) {
    char text[64];
    GetCFGString(row->Key, "", text, sizeof text, cursor);
    if (text[0] && GetCFGHex(row->Key, 0, cursor) == 0 && GetCFGHex(row->Key, 1, cursor) == 1)
        NoteUnreadable(row->Key);
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
    // Only the facts are kept: the colour bitmap goes first, then the mask.
    ScopedGdiObject<HBITMAP> mask(image.MaskBitmap), color(image.ColorBitmap);
    return picture;
}

// The pictures made for 150 % and 200 % beside the one the path names, each
// loaded as the plug-in would be handed it at that scale.
SkinScaledSet LoadScaledPictures(const char* path, int32_t loadFlags) {
    SkinScaledSet set = {};
    for (int32_t i = 0; path[0] && i < SkinScaledPictures; ++i) {
        char name[MAX_PATH];
        if (!PictureNameForScale(path, PictureScales[i + 1].Suffix, name, sizeof name)) continue;
        const DWORD attributes = GetFileAttributesA(name);
        set.Present[i] =
            attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
        if (set.Present[i]) set.Picture[i] = LoadPicture(name, loadFlags);
    }
    return set;
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
    EnumFontFamiliesExA(ScopedScreenDC().dc, &wanted, OnFontFamily,
                        reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

void ReadMeter(SkinMeterConfig* meter, const MeterRows& keys, ConfigCursor* cursor) {
    GetCFGString(keys.Picture->Key, "", meter->ImagePath, sizeof meter->ImagePath, cursor);
    meter->FramesCountWritten = Written(keys.FramesCount->Key, cursor);
    meter->FramesCount = ReadInt(keys.FramesCount, cursor);
    meter->OffsetX = ReadInt(keys.OffsetX, cursor);
    meter->OffsetY = ReadInt(keys.OffsetY, cursor);
    GetCFGString(keys.Template->Key, "", meter->TextFormat, sizeof meter->TextFormat, cursor);
    meter->TextdX = ReadInt(keys.TextX, cursor);
    meter->TextdY = ReadInt(keys.TextY, cursor);
    meter->Image = LoadPicture(meter->ImagePath, 0);
    meter->ImageScaled = LoadScaledPictures(meter->ImagePath, 0);
}

void ReadConfig(const char* configPath) {
    memset(&Config, 0, sizeof Config);
    Config.Roles = &Roles;
    ConfigCursor cursor;
    HANDLE handle = const_cast<char*>(configPath);
    OpenCFGr(handle, &cursor);
    Config.SectionFound = FindSection(Roles.Section, 0, &cursor) != 0;
    Config.ZOrder = ReadInt(Roles.ZOrder, &cursor);
    ReadInt(Roles.X, &cursor);
    ReadInt(Roles.Y, &cursor);
    Config.LockMode = ReadInt(Roles.LockMode, &cursor);
    GetCFGString(Roles.Background->Key, "", Config.SkinPath, sizeof Config.SkinPath, &cursor);
    for (int i = 0; i < MeterRoleCount; ++i)
        ReadMeter(&Config.Meters[i], Roles.Meters[i], &cursor);
    FontInfo font;
    memset(&font, 0, sizeof font);
    const char* fontKey = Roles.Font->Key;
    if (!GetCFGFont(fontKey, &font, &cursor) && Written(fontKey, &cursor)) NoteUnreadable(fontKey);
    snprintf(Config.FontFace, sizeof Config.FontFace, "%.*s", int(sizeof font.Face), font.Face);
    Config.FontExists = FontFaceExists(Config.FontFace);
    ReadHex(Roles.FontColor, &cursor);
    Config.Elapse = ReadInt(Roles.Elapse, &cursor);
    Config.MaxNetSpeed = ReadInt(Roles.MaxNetSpeed, &cursor);
    ReadInt(Roles.UseVXD, &cursor);
    Config.Transparency = ReadInt(Roles.Transparency, &cursor);
    CloseCFGr(&cursor);
    Config.Background = LoadPicture(Config.SkinPath, 2);
    Config.BackgroundScaled = LoadScaledPictures(Config.SkinPath, 2);
    // The same question the plug-in asks the service library.
    Config.LayeredAvailable = LayeredStyle(nullptr, 1) != 0;
}

int OneError(SkinReport* report, int status, const char* format, const char* detail) {
    memset(report, 0, sizeof *report);
    report->Count = report->Errors = 1;
    report->Findings[0].Severity = SkinError;
    snprintf(report->Findings[0].Text, sizeof report->Findings[0].Text, format, detail);
    return status;
}

} // namespace

int CheckSkinFile(const char* configPath, const PluginInfo* descriptor, SkinReport* report) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(configPath, sizeof full, full, nullptr);
    DWORD attributes =
        n > 0 && n < sizeof full ? GetFileAttributesA(full) : INVALID_FILE_ATTRIBUTES;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return OneError(report, 2, "cannot find configuration %s", configPath);
    char reason[200];
    if (!descriptor || !FindSettingRoles(*descriptor, &Roles, reason, sizeof reason))
        return OneError(report, 2, "the plug-in's settings are not the meter's: %s",
                        descriptor ? reason : "no descriptor");
    // Pictures are named relative to the configuration's folder, as the host
    // runs the plug-in; the caller's current folder is given back afterwards.
    char previous[MAX_PATH];
    DWORD hadPrevious = GetCurrentDirectoryA(sizeof previous, previous);
    SetCurrentDirectoryA(FolderOf(full).c_str());
    ReadConfig(full);
    CheckSkin(Config, report);
    if (hadPrevious > 0 && hadPrevious < sizeof previous) SetCurrentDirectoryA(previous);
    return report->Errors > 0 ? 1 : 0;
}

int ReportSkinCheck(const char* configPath, const char* pluginPath, std::string* text) {
    LoadedPlugin plugin;
    std::string error;
    int status = 2;
    if (LoadPlugin(pluginPath, &plugin, &error)) {
        status = CheckSkinFile(configPath, static_cast<const PluginInfo*>(plugin.GetPluginInfo()),
                               &Report);
    } else {
        OneError(&Report, 2, "%s", error.c_str());
    }
    char line[sizeof Report.Findings[0].Text + 64];
    for (int i = 0; i < Report.Count; ++i) {
        snprintf(line, sizeof line, "%s: %s\n", SkinSeverityName(Report.Findings[i].Severity),
                 Report.Findings[i].Text);
        *text += line;
    }
    snprintf(line, sizeof line, "skin check: %.*s: %d error(s), %d warning(s)%s\n", MAX_PATH,
             configPath, static_cast<int>(Report.Errors), static_cast<int>(Report.Warnings),
             status == 0   ? "; the meter starts"
             : status == 1 ? "; the meter will not start"
                           : "; nothing was checked");
    *text += line;
    return status;
}
