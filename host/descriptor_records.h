// The descriptor GetPluginInfo hands the shell: the 24-byte record, the
// 24-byte settings rows it points at and the rows' editor type codes. The
// shell reads these rows to build its properties dialog, so the plug-in, the
// kit and the tests all read this one definition. Platform-free: the kit's
// rules built natively use it too.
#pragma once

#include <cstddef>
#include <cstdint>

struct SettingRow {
    const char* Key; // 0 for a group header
    int32_t Type;    // editor type code, below
    const char* Caption;
    int32_t Default;    // for a list, the default option index
    int32_t MinOrLast;  // minimum, or the index of a list's last option
    intptr_t MaxOrList; // maximum, or a list's array of option names
};

struct PluginInfo {
    int32_t InfoSize; // 24
    const char* Name;
    const char* Description; // help text, lines ended by CR LF
    const char* Section;     // the configuration section of the plug-in's keys
    int32_t RowCount;        // rows the shell shows
    const SettingRow* Rows;
};

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(SettingRow) == 24, "SettingRow is 24 bytes");
static_assert(offsetof(SettingRow, Type) == 4, "Type at 4");
static_assert(offsetof(SettingRow, Caption) == 8, "Caption at 8");
static_assert(offsetof(SettingRow, Default) == 12, "Default at 12");
static_assert(offsetof(SettingRow, MinOrLast) == 16, "MinOrLast at 16");
static_assert(offsetof(SettingRow, MaxOrList) == 20, "MaxOrList at 20");
static_assert(sizeof(PluginInfo) == 24, "PluginInfo is 24 bytes");
static_assert(offsetof(PluginInfo, Name) == 4, "Name at 4");
static_assert(offsetof(PluginInfo, Description) == 8, "Description at 8");
static_assert(offsetof(PluginInfo, Section) == 12, "Section at 12");
static_assert(offsetof(PluginInfo, RowCount) == 16, "RowCount at 16");
static_assert(offsetof(PluginInfo, Rows) == 20, "Rows at 20");
#endif

const int32_t DescriptorInfoSize = 24; // PluginInfo.InfoSize on the 32-bit target

// Editor type codes. The codes with bit 0x100 are the plug-in's four rows
// that need more than their plain editor: the period and transparency have
// ranges, the full-scale speed is a plain number, the driver switch on/off.
const int32_t RowTypeGroup = 0x13;   // group header, no key
const int32_t RowTypeList = 0x10;    // named options; the stored value is the index
const int32_t RowTypePicture = 0x0E; // picture file path
const int32_t RowTypeInteger = 0x02;
const int32_t RowTypeText = 0x07;           // a display text (template)
const int32_t RowTypeFont = 0x0C;           // the kit's "Face,Size[,bold][,italic]"
const int32_t RowTypeColor = 0x06;          // hexadecimal, laid out as a COLORREF
const int32_t RowTypeRangedInteger = 0x103; // Elapse
const int32_t RowTypeLargeInteger = 0x107;  // MaxNetSpeed
const int32_t RowTypeRangedPercent = 0x10B; // Transparency
const int32_t RowTypeSwitch = 0x101;        // UseVXD: on/off, nonzero is on
