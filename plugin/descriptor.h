// The descriptor handed to the shell: the plug-in's name, help text,
// configuration section and the schema of its settings dialog.
#pragma once

#include <cstddef>
#include <cstdint>

struct SettingRow {
    const char* Key; // 0 for a group header
    int32_t Type;    // editor type code
    const char* Caption;
    int32_t Default;    // for a list, the default option index
    int32_t MinOrLast;  // minimum, or the index of a list's last option
    intptr_t MaxOrList; // maximum, or a list's array of option names
};
static_assert(sizeof(SettingRow) == 24, "SettingRow is 24 bytes");
static_assert(offsetof(SettingRow, Type) == 4, "Type at 4");
static_assert(offsetof(SettingRow, Caption) == 8, "Caption at 8");
static_assert(offsetof(SettingRow, Default) == 12, "Default at 12");
static_assert(offsetof(SettingRow, MinOrLast) == 16, "MinOrLast at 16");
static_assert(offsetof(SettingRow, MaxOrList) == 20, "MaxOrList at 20");

struct PluginInfo {
    int32_t InfoSize; // 24
    const char* Name;
    const char* Description;
    const char* Section;
    int32_t RowCount; // rows the shell shows
    SettingRow* Rows;
};
static_assert(sizeof(PluginInfo) == 24, "PluginInfo is 24 bytes");
static_assert(offsetof(PluginInfo, Name) == 4, "Name at 4");
static_assert(offsetof(PluginInfo, Description) == 8, "Description at 8");
static_assert(offsetof(PluginInfo, Section) == 12, "Section at 12");
static_assert(offsetof(PluginInfo, RowCount) == 16, "RowCount at 16");
static_assert(offsetof(PluginInfo, Rows) == 20, "Rows at 20");

// Editor type codes of the schema.
const int32_t SettingGroup = 0x13;
const int32_t SettingList = 0x10;
const int32_t SettingPicture = 0x0E;
const int32_t SettingInteger = 0x02;
const int32_t SettingText = 0x07;
const int32_t SettingFont = 0x0C;
const int32_t SettingColor = 0x06;
const int32_t SettingElapse = 0x103;
const int32_t SettingMaxNetSpeed = 0x107;
const int32_t SettingTransparency = 0x10B;
const int32_t SettingUseVXD = 0x101;

const int32_t SchemaRowCount = 45;
const int32_t ShownRowCount = 44;

extern const char* const ZOrderNames[3];
extern const char* const LockModeNames[4];

// Builds the descriptor afresh from the pristine schema for a system with or
// without layered windows; the same answer every time for the same system.
PluginInfo* FillPluginInfo(bool layeredWindows);

extern "C" PluginInfo* __stdcall GetPluginInfo();
