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
    {0, RowTypeGroup, "Window Settings", 0, 0, 0},
    {"Z-Order", RowTypeList, "Z-Order", 1, 2, 0},
    {"X", RowTypeInteger, "X", 0, 0, 0},
    {"Y", RowTypeInteger, "Y", 0, 0, 0},
    {"LockMode", RowTypeList, "LockMode", 0, 3, 0},
    {"Skin", RowTypePicture, "Skin", 0, 0, 0},
    {0, RowTypeGroup, "CPU Indicator Settings", 0, 0, 0},
    {"CPUSkin", RowTypePicture, "CPUSkin", 0, 0, 0},
    {"CPUFramesCount", RowTypeInteger, "FramesCount", 0, 0, 0},
    {"CPUOffsetX", RowTypeInteger, "OffsetX", 0, 0, 0},
    {"CPUOffsetY", RowTypeInteger, "OffsetY", 0, 0, 0},
    {"CPUTextFormat", RowTypeText, "TextFormat", 0, 0, 0},
    {"CPUTextdX", RowTypeInteger, "TextOffsetX", 0, 0, 0},
    {"CPUTextdY", RowTypeInteger, "TextOffsetY", 0, 0, 0},
    {0, RowTypeGroup, "Memory Indicator Settings", 0, 0, 0},
    {"MEMSkin", RowTypePicture, "MEMSkin", 0, 0, 0},
    {"MEMFramesCount", RowTypeInteger, "FramesCount", 0, 0, 0},
    {"MEMOffsetX", RowTypeInteger, "OffsetX", 0, 0, 0},
    {"MEMOffsetY", RowTypeInteger, "OffsetY", 0, 0, 0},
    {"MEMTextFormat", RowTypeText, "TextFormat", 0, 0, 0},
    {"MEMTextdX", RowTypeInteger, "TextOffsetX", 0, 0, 0},
    {"MEMTextdY", RowTypeInteger, "TextOffsetY", 0, 0, 0},
    {0, RowTypeGroup, "NetIN Indicator Settings", 0, 0, 0},
    {"NetInSkin", RowTypePicture, "NetInSkin", 0, 0, 0},
    {"NetInFramesCount", RowTypeInteger, "FramesCount", 0, 0, 0},
    {"NetInOffsetX", RowTypeInteger, "OffsetX", 0, 0, 0},
    {"NetInOffsetY", RowTypeInteger, "OffsetY", 0, 0, 0},
    {"NetInTextFormat", RowTypeText, "TextFormat", 0, 0, 0},
    {"NetInTextdX", RowTypeInteger, "TextOffsetX", 0, 0, 0},
    {"NetInTextdY", RowTypeInteger, "TextOffsetY", 0, 0, 0},
    {0, RowTypeGroup, "NetOUT Indicator Settings", 0, 0, 0},
    {"NetOutSkin", RowTypePicture, "NetOutSkin", 0, 0, 0},
    {"NetOutFramesCount", RowTypeInteger, "FramesCount", 0, 0, 0},
    {"NetOutOffsetX", RowTypeInteger, "OffsetX", 0, 0, 0},
    {"NetOutOffsetY", RowTypeInteger, "OffsetY", 0, 0, 0},
    {"NetOutTextFormat", RowTypeText, "TextFormat", 0, 0, 0},
    {"NetOutTextdX", RowTypeInteger, "TextOffsetX", 0, 0, 0},
    {"NetOutTextdY", RowTypeInteger, "TextOffsetY", 0, 0, 0},
    {0, RowTypeGroup, "Other Settings", 0, 0, 0},
    {"Font", RowTypeFont, "Font", 0, 0, 0},
    {"FontColor", RowTypeColor, "FontColor", 0, 0, 0},
    {"Elapse", RowTypeRangedInteger, "Elapse", 800, 200, 5000},
    {"MaxNetSpeed", RowTypeLargeInteger, "MaxNetSpeed", 0, 0, 0},
    {"Transparency", RowTypeRangedPercent, "Transparency", 0, 0, 70},
    {"UseVXD", RowTypeSwitch, "Use VXD driver", 1, 0, 0},
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
