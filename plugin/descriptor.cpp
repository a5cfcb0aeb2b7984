// GetPluginInfo: the descriptor and the settings schema, rebuilt from a
// pristine copy on each request so that repeated requests agree.
#include "plugin/descriptor.h"

#include "host/host_library.h"
#include "plugin/help_text.h"
#include "settings/config_keys.h"

#include <cstring>

namespace {

const char* const ZOrderNames[3] = {"Desktop", "Normal", "Always on top"};
const char* const LockModeNames[4] = {"Unlocked", "Lock Window", "Hide on mouse over",
                                      "Ghost mode"};

const int32_t ZOrderRow = 1;
const int32_t LockModeRow = 4;
const int32_t TransparencyRow = 43;
const int32_t UseVXDRow = 44;

constexpr SettingRow Group(const char* caption) {
    return {nullptr, RowTypeGroup, caption, 0, 0, 0};
}
// A keyed row; the dialog shows a missing number as 0, the frame count included.
constexpr SettingRow Row(const char* key, int32_t type, const char* caption, int32_t value = 0,
                         int32_t minOrLast = 0, intptr_t maxOrList = 0) {
    return {key, type, caption, value, minOrLast, maxOrList};
}

// The rows as they ship, keys and defaults from the configuration's table;
// the two option lists are patched in at request.
const SettingRow PristineSchema[SchemaRowCount] = {
    Group("Window Settings"),
    Row(KeyZOrder.Name, RowTypeList, "Z-Order", KeyZOrder.Default, 2),
    Row(KeyX.Name, RowTypeInteger, "X", KeyX.Default),
    Row(KeyY.Name, RowTypeInteger, "Y", KeyY.Default),
    Row(KeyLockMode.Name, RowTypeList, "LockMode", KeyLockMode.Default, 3),
    Row(KeySkin, RowTypePicture, "Skin"),
    Group("CPU Indicator Settings"),
    Row(CpuKeys.Skin, RowTypePicture, "CPUSkin"),
    Row(CpuKeys.FramesCount, RowTypeInteger, "FramesCount"),
    Row(CpuKeys.OffsetX, RowTypeInteger, "OffsetX"),
    Row(CpuKeys.OffsetY, RowTypeInteger, "OffsetY"),
    Row(CpuKeys.TextFormat, RowTypeText, "TextFormat"),
    Row(CpuKeys.TextdX, RowTypeInteger, "TextOffsetX"),
    Row(CpuKeys.TextdY, RowTypeInteger, "TextOffsetY"),
    Group("Memory Indicator Settings"),
    Row(MemKeys.Skin, RowTypePicture, "MEMSkin"),
    Row(MemKeys.FramesCount, RowTypeInteger, "FramesCount"),
    Row(MemKeys.OffsetX, RowTypeInteger, "OffsetX"),
    Row(MemKeys.OffsetY, RowTypeInteger, "OffsetY"),
    Row(MemKeys.TextFormat, RowTypeText, "TextFormat"),
    Row(MemKeys.TextdX, RowTypeInteger, "TextOffsetX"),
    Row(MemKeys.TextdY, RowTypeInteger, "TextOffsetY"),
    Group("NetIN Indicator Settings"),
    Row(NetInKeys.Skin, RowTypePicture, "NetInSkin"),
    Row(NetInKeys.FramesCount, RowTypeInteger, "FramesCount"),
    Row(NetInKeys.OffsetX, RowTypeInteger, "OffsetX"),
    Row(NetInKeys.OffsetY, RowTypeInteger, "OffsetY"),
    Row(NetInKeys.TextFormat, RowTypeText, "TextFormat"),
    Row(NetInKeys.TextdX, RowTypeInteger, "TextOffsetX"),
    Row(NetInKeys.TextdY, RowTypeInteger, "TextOffsetY"),
    Group("NetOUT Indicator Settings"),
    Row(NetOutKeys.Skin, RowTypePicture, "NetOutSkin"),
    Row(NetOutKeys.FramesCount, RowTypeInteger, "FramesCount"),
    Row(NetOutKeys.OffsetX, RowTypeInteger, "OffsetX"),
    Row(NetOutKeys.OffsetY, RowTypeInteger, "OffsetY"),
    Row(NetOutKeys.TextFormat, RowTypeText, "TextFormat"),
    Row(NetOutKeys.TextdX, RowTypeInteger, "TextOffsetX"),
    Row(NetOutKeys.TextdY, RowTypeInteger, "TextOffsetY"),
    Group("Other Settings"),
    Row(KeyFont, RowTypeFont, "Font"),
    Row(KeyFontColor.Name, RowTypeColor, "FontColor", KeyFontColor.Default),
    Row(KeyElapse.Name, RowTypeRangedInteger, "Elapse", KeyElapse.Default, 200, 5000),
    Row(KeyMaxNetSpeed.Name, RowTypeLargeInteger, "MaxNetSpeed", KeyMaxNetSpeed.Default),
    Row(KeyTransparency.Name, RowTypeRangedPercent, "Transparency", KeyTransparency.Default, 0, 70),
    Row(KeyUseVXD.Name, RowTypeSwitch, "Use VXD driver", KeyUseVXD.Default),
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
    return FillPluginInfo(LayeredStyle(0, LayeredStyleQuery) != 0);
}
