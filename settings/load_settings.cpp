// Reads the plug-in's configuration section once at start and loads the
// pictures and the font it names.
#include "settings/load_settings.h"

#include "host/host_library.h"
#include "settings/config_keys.h"
#include "settings/host_context.h"
#include "settings/text_template.h"

#include <cstring>

namespace {

// A getter fills at most the buffer; the last byte is forced to zero all the
// same so that a misbehaving library cannot leave the text unterminated.
void ReadString(const char* key, char* buffer, int32_t size, ConfigCursor* cursor) {
    GetCFGString(key, "", buffer, size, cursor);
    buffer[size - 1] = 0;
}

int32_t ReadInt(const IntKey& key, ConfigCursor* cursor) {
    return GetCFGInt(key.Name, key.Default, cursor);
}

void LoadPicture(ImageInfo* image, const char* path, int32_t loadFlags) {
    memset(image, 0, sizeof *image);
    image->Path = path;
    image->LoadFlags = loadFlags;
    LoadImageEx(image);
}

void ParseTextFormat(Meter* meter, const char* textFormat) {
    meter->HasNumber = SplitTextTemplate(textFormat, meter->Prefix, meter->Postfix) != 0;
}

// One meter's block: its keys, then its image list, before the next meter is read.
void ReadMeter(Meter* meter, const MeterKeys& keys, char* textFormat, ConfigCursor* cursor) {
    ReadString(keys.Skin, meter->ImagePath, PathRoom, cursor);
    const int32_t frames = GetCFGInt(keys.FramesCount, FramesCountDefault, cursor);
    meter->FramesCount = frames < 1 ? 1 : frames;
    meter->OffsetX = GetCFGInt(keys.OffsetX, 0, cursor);
    meter->OffsetY = GetCFGInt(keys.OffsetY, 0, cursor);
    ReadString(keys.TextFormat, textFormat, TemplateRoom, cursor);
    meter->TextEnabled = !IsPSTREmpty(textFormat);
    if (meter->TextEnabled) ParseTextFormat(meter, textFormat);
    meter->TextdX = GetCFGInt(keys.TextdX, 0, cursor);
    meter->TextdY = GetCFGInt(keys.TextdY, 0, cursor);
    LoadPicture(&meter->Image, meter->ImagePath, ImageLoadMeterStrip);
}

// The font is made at three times its configured size: the glow renderer
// draws that large and reduces the result by three each way.
void ReadFont(FontInfo* font, ConfigCursor* cursor) {
    GetCFGFont(KeyFont, font, cursor);
    font->Size *= 3;
    GetFontHandle(font, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)));
}

} // namespace

int32_t LoadSettings() {
    SettingsRecord& s = SettingsForLoading();
    ConfigCursor cursor = {};
    char textFormat[TemplateRoom] = {};
    OpenCFGr(HostContext.ConfigHandle, &cursor);
    FindSection(ConfigSection, 0, &cursor);

    s.ZOrder = ReadInt(KeyZOrder, &cursor);
    s.WindowX = ReadInt(KeyX, &cursor);
    s.WindowY = ReadInt(KeyY, &cursor);
    s.LockMode = ReadInt(KeyLockMode, &cursor);
    ReadString(KeySkin, s.SkinPath, PathRoom, &cursor);

    ReadMeter(&s.CpuMeter, CpuKeys, textFormat, &cursor);
    ReadMeter(&s.MemMeter, MemKeys, textFormat, &cursor);
    ReadMeter(&s.NetInMeter, NetInKeys, textFormat, &cursor);
    ReadMeter(&s.NetOutMeter, NetOutKeys, textFormat, &cursor);

    ReadFont(&s.MeterFont, &cursor);
    s.FontColor = ColorFromHex(GetCFGHex(KeyFontColor.Name, KeyFontColor.Default, &cursor));
    s.Elapse = ReadInt(KeyElapse, &cursor);
    s.MaxNetSpeed = ReadInt(KeyMaxNetSpeed, &cursor);
    s.UseVXD = ReadInt(KeyUseVXD, &cursor) != 0;
    s.Transparency = ReadInt(KeyTransparency, &cursor);
    CloseCFGr(&cursor);

    // The working background is drawn over on every redraw; the copy stays
    // untouched so that each redraw can start from the pristine skin.
    LoadPicture(&s.Background, s.SkinPath, ImageLoadBackground);
    if (s.Background.Kind == ImageKindFailed) return 0;
    LoadPicture(&s.BackgroundCopy, s.SkinPath, ImageLoadBackground);
    return -1;
}
