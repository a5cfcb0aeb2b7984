// What the shell must find behind GetPluginInfo, row by row, shared by the
// in-process descriptor test and the one that loads the built plug-in.
#pragma once

#include "plugin/descriptor.h"
#include "plugin/help_text.h"
#include "tests/descriptor_rows.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

inline std::string TextOrNull(const char* text) {
    return text ? text : "(null)";
}

// Compares one row of the descriptor with its expected content; the list rows
// must point at arrays holding the option names.
inline void ExpectRowEquals(const SettingRow& row, const SettingRow& expected, int lastOption) {
    SCOPED_TRACE(TextOrNull(expected.Caption));
    EXPECT_EQ(TextOrNull(row.Key), TextOrNull(expected.Key));
    EXPECT_EQ(row.Type, expected.Type);
    EXPECT_EQ(TextOrNull(row.Caption), TextOrNull(expected.Caption));
    EXPECT_EQ(row.Default, expected.Default);
    if (expected.Type != 0x10) {
        EXPECT_EQ(row.MinOrLast, expected.MinOrLast);
        EXPECT_EQ(row.MaxOrList, expected.MaxOrList);
        return;
    }
    EXPECT_EQ(row.MinOrLast, lastOption);
    const char* const* names = reinterpret_cast<const char* const*>(row.MaxOrList);
    ASSERT_NE(names, nullptr);
    const bool zOrder = strcmp(expected.Key, "Z-Order") == 0;
    const char* const* want = zOrder ? ExpectedZOrderNames : ExpectedLockModeNames;
    for (int i = 0; i <= (zOrder ? 2 : 3); ++i)
        EXPECT_STREQ(names[i], want[i]) << i;
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
        const SettingRow& expected =
            (!layeredWindows && i == 43) ? ExpectedSchema[44] : ExpectedSchema[i];
        ExpectRowEquals(info->Rows[i], expected, lastOption);
    }
}
