// GetPluginInfo: the descriptor and the settings schema, rebuilt from a
// pristine copy on each request so that repeated requests agree.
#include "plugin/descriptor.h"
#include "plugin/help_text.h"
#include "host/host_library.h"
#include "settings/settings.h"

#include <cstring>

const char* const ZOrderNames[3] = {"Desktop", "Normal", "Always on top"};
const char* const LockModeNames[4] = {"Unlocked", "Lock Window", "Hide on mouse over",
                                      "Ghost mode"};

namespace {

const int32_t ZOrderRow = 1;
const int32_t LockModeRow = 4;
const int32_t TransparencyRow = 43;
const int32_t UseVXDRow = 44;

// The rows as they ship; the two option lists are patched in at request.
const SettingRow PristineSchema[SchemaRowCount] = {
    {0, SettingGroup, "Window Settings", 0, 0, 0},
    {"Z-Order", SettingList, "Z-Order", 1, 2, 0},
    {"X", SettingInteger, "X", 0, 0, 0},
    {"Y", SettingInteger, "Y", 0, 0, 0},
    {"LockMode", SettingList, "LockMode", 0, 3, 0},
    {"Skin", SettingPicture, "Skin", 0, 0, 0},
    {0, SettingGroup, "CPU Indicator Settings", 0, 0, 0},
    {"CPUSkin", SettingPicture, "CPUSkin", 0, 0, 0},
    {"CPUFramesCount", SettingInteger, "FramesCount", 0, 0, 0},
    {"CPUOffsetX", SettingInteger, "OffsetX", 0, 0, 0},
    {"CPUOffsetY", SettingInteger, "OffsetY", 0, 0, 0},
    {"CPUTextFormat", SettingText, "TextFormat", 0, 0, 0},
    {"CPUTextdX", SettingInteger, "TextOffsetX", 0, 0, 0},
    {"CPUTextdY", SettingInteger, "TextOffsetY", 0, 0, 0},
    {0, SettingGroup, "Memory Indicator Settings", 0, 0, 0},
    {"MEMSkin", SettingPicture, "MEMSkin", 0, 0, 0},
    {"MEMFramesCount", SettingInteger, "FramesCount", 0, 0, 0},
    {"MEMOffsetX", SettingInteger, "OffsetX", 0, 0, 0},
    {"MEMOffsetY", SettingInteger, "OffsetY", 0, 0, 0},
    {"MEMTextFormat", SettingText, "TextFormat", 0, 0, 0},
    {"MEMTextdX", SettingInteger, "TextOffsetX", 0, 0, 0},
    {"MEMTextdY", SettingInteger, "TextOffsetY", 0, 0, 0},
    {0, SettingGroup, "NetIN Indicator Settings", 0, 0, 0},
    {"NetInSkin", SettingPicture, "NetInSkin", 0, 0, 0},
    {"NetInFramesCount", SettingInteger, "FramesCount", 0, 0, 0},
    {"NetInOffsetX", SettingInteger, "OffsetX", 0, 0, 0},
    {"NetInOffsetY", SettingInteger, "OffsetY", 0, 0, 0},
    {"NetInTextFormat", SettingText, "TextFormat", 0, 0, 0},
    {"NetInTextdX", SettingInteger, "TextOffsetX", 0, 0, 0},
    {"NetInTextdY", SettingInteger, "TextOffsetY", 0, 0, 0},
    {0, SettingGroup, "NetOUT Indicator Settings", 0, 0, 0},
    {"NetOutSkin", SettingPicture, "NetOutSkin", 0, 0, 0},
    {"NetOutFramesCount", SettingInteger, "FramesCount", 0, 0, 0},
    {"NetOutOffsetX", SettingInteger, "OffsetX", 0, 0, 0},
    {"NetOutOffsetY", SettingInteger, "OffsetY", 0, 0, 0},
    {"NetOutTextFormat", SettingText, "TextFormat", 0, 0, 0},
    {"NetOutTextdX", SettingInteger, "TextOffsetX", 0, 0, 0},
    {"NetOutTextdY", SettingInteger, "TextOffsetY", 0, 0, 0},
    {0, SettingGroup, "Other Settings", 0, 0, 0},
    {"Font", SettingFont, "Font", 0, 0, 0},
    {"FontColor", SettingColor, "FontColor", 0, 0, 0},
    {"Elapse", SettingElapse, "Elapse", 800, 200, 5000},
    {"MaxNetSpeed", SettingMaxNetSpeed, "MaxNetSpeed", 0, 0, 0},
    {"Transparency", SettingTransparency, "Transparency", 0, 0, 70},
    {"UseVXD", SettingUseVXD, "Use VXD driver", 1, 0, 0},
};

SettingRow Schema[SchemaRowCount];
PluginInfo Info;

} // namespace

PluginInfo* FillPluginInfo(bool layeredWindows) {
    memcpy(Schema, PristineSchema, sizeof Schema);
    Schema[ZOrderRow].MaxOrList = reinterpret_cast<intptr_t>(ZOrderNames);
    Schema[LockModeRow].MaxOrList = reinterpret_cast<intptr_t>(LockModeNames);
    // Without layered windows there is neither transparency nor Ghost mode,
    // so the shell offers the driver switch in the transparency's place.
    if (!layeredWindows) {
        Schema[TransparencyRow] = Schema[UseVXDRow];
        Schema[LockModeRow].MinOrLast = 2;
    }
    Info.InfoSize = sizeof(PluginInfo);
    Info.Name = "Zelvo Resource Monitor";
    Info.Description = HelpText;
    Info.Section = ConfigSection;
    Info.RowCount = ShownRowCount;
    Info.Rows = Schema;
    return &Info;
}

extern "C" PluginInfo* __stdcall GetPluginInfo() {
    return FillPluginInfo(LayeredStyle(0, 1) != 0);
}
