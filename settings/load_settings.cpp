// Reads the plug-in's configuration section once at start and loads the
// pictures and the font it names.
#include "settings/settings.h"
#include "settings/text_template.h"
#include "host/host_library.h"
#include "plugin/plugin_state.h"
#include "render/render.h"

#include <cstring>

namespace {

// The seven keys of one meter's block, in reading order.
struct MeterKeys {
    const char* Skin;
    const char* FramesCount;
    const char* OffsetX;
    const char* OffsetY;
    const char* TextFormat;
    const char* TextdX;
    const char* TextdY;
};

const MeterKeys CpuKeys = {"CPUSkin",       "CPUFramesCount", "CPUOffsetX", "CPUOffsetY",
                           "CPUTextFormat", "CPUTextdX",      "CPUTextdY"};
const MeterKeys MemKeys = {"MEMSkin",       "MEMFramesCount", "MEMOffsetX", "MEMOffsetY",
                           "MEMTextFormat", "MEMTextdX",      "MEMTextdY"};
const MeterKeys NetInKeys = {"NetInSkin",       "NetInFramesCount", "NetInOffsetX", "NetInOffsetY",
                             "NetInTextFormat", "NetInTextdX",      "NetInTextdY"};
const MeterKeys NetOutKeys = {"NetOutSkin",    "NetOutFramesCount", "NetOutOffsetX",
                              "NetOutOffsetY", "NetOutTextFormat",  "NetOutTextdX",
                              "NetOutTextdY"};

const int32_t PathSize = 260;
const int32_t TemplateSize = 200;

// A getter fills at most the buffer; the last byte is forced to zero all the
// same so that a misbehaving library cannot leave the text unterminated.
void ReadString(const char* key, char* buffer, int32_t size, ConfigCursor* cursor) {
    GetCFGString(key, "", buffer, size, cursor);
    buffer[size - 1] = 0;
}

void LoadPicture(ImageInfo* image, const char* path, int32_t loadFlags) {
    memset(image, 0, sizeof *image);
    image->Path = path;
    image->LoadFlags = loadFlags;
    LoadImageEx(image);
}

// One meter's block: its keys, then its image list, before the next meter is read.
void ReadMeter(Meter* meter, const MeterKeys& keys, char* textFormat, ConfigCursor* cursor) {
    ReadString(keys.Skin, meter->ImagePath, PathSize, cursor);
    const int32_t frames = GetCFGInt(keys.FramesCount, 1, cursor);
    meter->FramesCount = frames < 1 ? 1 : frames;
    meter->OffsetX = GetCFGInt(keys.OffsetX, 0, cursor);
    meter->OffsetY = GetCFGInt(keys.OffsetY, 0, cursor);
    ReadString(keys.TextFormat, textFormat, TemplateSize, cursor);
    meter->TextEnabled = IsPSTREmpty(textFormat) ? 0 : -1;
    if (meter->TextEnabled) ParseTextFormat(meter, textFormat);
    meter->Text[0] = 0;
    meter->TextdX = GetCFGInt(keys.TextdX, 0, cursor);
    meter->TextdY = GetCFGInt(keys.TextdY, 0, cursor);
    LoadPicture(&meter->Image, meter->ImagePath, 0);
}

// The font is made at three times its configured size: the glow renderer
// draws that large and reduces the result by three each way.
void ReadFont(ConfigCursor* cursor) {
    GetCFGFont("Font", &MeterFont, cursor);
    MeterFont.Size *= 3;
    GetFontHandle(&MeterFont, static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)));
}

} // namespace

void ParseTextFormat(Meter* meter, const char* textFormat) {
    meter->HasNumber = SplitTextTemplate(textFormat, meter->Prefix, meter->Postfix);
}

int32_t LoadSettings() {
    ConfigCursor cursor = {};
    char textFormat[TemplateSize] = {};
    OpenCFGr(HostContext.ConfigHandle, &cursor);
    FindSection(ConfigSection, 0, &cursor);

    ZOrder = GetCFGInt("Z-Order", 1, &cursor);
    WindowX = GetCFGInt("X", 0, &cursor);
    WindowY = GetCFGInt("Y", 0, &cursor);
    LockMode = GetCFGInt("LockMode", 0, &cursor);
    ReadString("Skin", SkinPath, PathSize, &cursor);

    ReadMeter(&CpuMeter, CpuKeys, textFormat, &cursor);
    ReadMeter(&MemMeter, MemKeys, textFormat, &cursor);
    ReadMeter(&NetInMeter, NetInKeys, textFormat, &cursor);
    ReadMeter(&NetOutMeter, NetOutKeys, textFormat, &cursor);

    ReadFont(&cursor);
    FontColor = ColorFromHex(GetCFGHex("FontColor", 0, &cursor));
    Elapse = GetCFGInt("Elapse", 800, &cursor);
    MaxNetSpeed = GetCFGInt("MaxNetSpeed", 0, &cursor);
    UseVXD = GetCFGInt("UseVXD", 1, &cursor) != 0;
    Transparency = GetCFGInt("Transparency", 0, &cursor);
    CloseCFGr(&cursor);

    // The working background is drawn over on every redraw; the copy stays
    // untouched so that each redraw can start from the pristine skin.
    LoadPicture(&Background, SkinPath, 2);
    if (Background.Kind == ImageKindFailed) return 0;
    LoadPicture(&BackgroundCopy, SkinPath, 2);
    return -1;
}

// Forgets a picture's bitmaps after freeing them, so that a second DoneModule
// cannot delete handles that the system has since given to someone else.
static void ReleasePicture(ImageInfo* picture) {
    FreeImageBitmaps(picture);
    picture->ColorBitmap = nullptr;
    picture->MaskBitmap = nullptr;
    picture->Bits = nullptr;
    picture->Kind = ImageKindFailed;
}

void ReleaseSettingsPictures() {
    ReleasePicture(&Background);
    ReleasePicture(&BackgroundCopy);
    ReleasePicture(&CpuMeter.Image);
    ReleasePicture(&MemMeter.Image);
    ReleasePicture(&NetInMeter.Image);
    ReleasePicture(&NetOutMeter.Image);
}

int ReleaseMeterFont() {
    const int result = FreeFont(&MeterFont);
    // Our record forgets the font whether or not the library cleared it.
    MeterFont.Handle = nullptr;
    return result;
}
