// What the shell must find behind GetPluginInfo, row by row, shared by the
// in-process descriptor test and the one that loads the built plug-in.
#pragma once

#include "plugin/descriptor.h"
#include "plugin/help_text.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

struct ExpectedRow {
    const char* Key; // 0 for a group header
    int32_t Type;
    const char* Caption;
    int32_t Default;
    int32_t MinOrLast;
    int32_t Max; // for the two lists, see ExpectRowsEqual
};

const ExpectedRow ExpectedSchema[45] = {
    {0, 0x13, "Window Settings", 0, 0, 0},
    {"Z-Order", 0x10, "Z-Order", 1, 2, 0},
    {"X", 0x02, "X", 0, 0, 0},
    {"Y", 0x02, "Y", 0, 0, 0},
    {"LockMode", 0x10, "LockMode", 0, 3, 0},
    {"Skin", 0x0E, "Skin", 0, 0, 0},
    {0, 0x13, "CPU Indicator Settings", 0, 0, 0},
    {"CPUSkin", 0x0E, "CPUSkin", 0, 0, 0},
    {"CPUFramesCount", 0x02, "FramesCount", 0, 0, 0},
    {"CPUOffsetX", 0x02, "OffsetX", 0, 0, 0},
    {"CPUOffsetY", 0x02, "OffsetY", 0, 0, 0},
    {"CPUTextFormat", 0x07, "TextFormat", 0, 0, 0},
    {"CPUTextdX", 0x02, "TextOffsetX", 0, 0, 0},
    {"CPUTextdY", 0x02, "TextOffsetY", 0, 0, 0},
    {0, 0x13, "Memory Indicator Settings", 0, 0, 0},
    {"MEMSkin", 0x0E, "MEMSkin", 0, 0, 0},
    {"MEMFramesCount", 0x02, "FramesCount", 0, 0, 0},
    {"MEMOffsetX", 0x02, "OffsetX", 0, 0, 0},
    {"MEMOffsetY", 0x02, "OffsetY", 0, 0, 0},
    {"MEMTextFormat", 0x07, "TextFormat", 0, 0, 0},
    {"MEMTextdX", 0x02, "TextOffsetX", 0, 0, 0},
    {"MEMTextdY", 0x02, "TextOffsetY", 0, 0, 0},
    {0, 0x13, "NetIN Indicator Settings", 0, 0, 0},
    {"NetInSkin", 0x0E, "NetInSkin", 0, 0, 0},
    {"NetInFramesCount", 0x02, "FramesCount", 0, 0, 0},
    {"NetInOffsetX", 0x02, "OffsetX", 0, 0, 0},
    {"NetInOffsetY", 0x02, "OffsetY", 0, 0, 0},
    {"NetInTextFormat", 0x07, "TextFormat", 0, 0, 0},
    {"NetInTextdX", 0x02, "TextOffsetX", 0, 0, 0},
    {"NetInTextdY", 0x02, "TextOffsetY", 0, 0, 0},
    {0, 0x13, "NetOUT Indicator Settings", 0, 0, 0},
    {"NetOutSkin", 0x0E, "NetOutSkin", 0, 0, 0},
    {"NetOutFramesCount", 0x02, "FramesCount", 0, 0, 0},
    {"NetOutOffsetX", 0x02, "OffsetX", 0, 0, 0},
    {"NetOutOffsetY", 0x02, "OffsetY", 0, 0, 0},
    {"NetOutTextFormat", 0x07, "TextFormat", 0, 0, 0},
    {"NetOutTextdX", 0x02, "TextOffsetX", 0, 0, 0},
    {"NetOutTextdY", 0x02, "TextOffsetY", 0, 0, 0},
    {0, 0x13, "Other Settings", 0, 0, 0},
    {"Font", 0x0C, "Font", 0, 0, 0},
    {"FontColor", 0x06, "FontColor", 0, 0, 0},
    {"Elapse", 0x103, "Elapse", 800, 200, 5000},
    {"MaxNetSpeed", 0x107, "MaxNetSpeed", 0, 0, 0},
    {"Transparency", 0x10B, "Transparency", 0, 0, 70},
    {"UseVXD", 0x101, "Use VXD driver", 1, 0, 0},
};

inline std::string TextOrNull(const char* text) {
    return text ? text : "(null)";
}

// Compares one row of the descriptor with its expected content; the list rows
// must point at arrays holding the option names.
inline void ExpectRowEquals(const SettingRow& row, const ExpectedRow& expected, int lastOption) {
    SCOPED_TRACE(TextOrNull(expected.Caption));
    EXPECT_EQ(TextOrNull(row.Key), TextOrNull(expected.Key));
    EXPECT_EQ(row.Type, expected.Type);
    EXPECT_EQ(TextOrNull(row.Caption), TextOrNull(expected.Caption));
    EXPECT_EQ(row.Default, expected.Default);
    if (expected.Type != 0x10) {
        EXPECT_EQ(row.MinOrLast, expected.MinOrLast);
        EXPECT_EQ(row.MaxOrList, expected.Max);
        return;
    }
    EXPECT_EQ(row.MinOrLast, lastOption);
    const char* const* names = reinterpret_cast<const char* const*>(row.MaxOrList);
    ASSERT_NE(names, nullptr);
    if (strcmp(expected.Key, "Z-Order") == 0) {
        EXPECT_STREQ(names[0], "Desktop");
        EXPECT_STREQ(names[1], "Normal");
        EXPECT_STREQ(names[2], "Always on top");
    } else {
        EXPECT_STREQ(names[0], "Unlocked");
        EXPECT_STREQ(names[1], "Lock Window");
        EXPECT_STREQ(names[2], "Hide on mouse over");
        EXPECT_STREQ(names[3], "Ghost mode");
    }
}

// The whole descriptor: on a system with layered windows the shell is shown
// rows 0-43 ending with Transparency and four lock modes; without them,
// UseVXD stands in row 43 and the lock-mode list ends at index 2.
inline void ExpectDescriptor(const PluginInfo* info, bool layeredWindows) {
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->InfoSize, 24);
    EXPECT_STREQ(info->Name, "Zelvo Resource Monitor");
    ASSERT_NE(info->Description, nullptr);
    EXPECT_STREQ(info->Description, HelpText);
    EXPECT_EQ(strlen(info->Description), 2239u);
    EXPECT_STREQ(info->Section, "Quilbex");
    EXPECT_EQ(info->RowCount, 44);
    ASSERT_NE(info->Rows, nullptr);
    for (int i = 0; i < 45; ++i) {
        SCOPED_TRACE(i);
        const int lockLast = layeredWindows ? 3 : 2;
        const int lastOption = i == 1 ? 2 : lockLast;
        const ExpectedRow& expected =
            (!layeredWindows && i == 43) ? ExpectedSchema[44] : ExpectedSchema[i];
        ExpectRowEquals(info->Rows[i], expected, lastOption);
    }
}
