// A descriptor laid out as the plug-in's, in both variants, for the tests of
// the kit's settings rules (the Wine tests check the real one against it).
#pragma once

#include "shell/common/descriptor_view.h"

#include <cstring>

namespace test_descriptor {

inline const char* const* ZOrderNames() {
    static const char* const names[] = {"Desktop", "Normal", "Always on top"};
    return names;
}

inline const char* const* LockModeNames() {
    static const char* const names[] = {"Unlocked", "Lock Window", "Hide on mouse over",
                                        "Ghost mode"};
    return names;
}

// The 45 rows as shipped; the shell sees the first 44.
inline void FillRows(DescriptorRow* rows) {
    const intptr_t z = reinterpret_cast<intptr_t>(ZOrderNames());
    const intptr_t lock = reinterpret_cast<intptr_t>(LockModeNames());
    const DescriptorRow window[] = {
        {nullptr, 0x13, "Window Settings", 0, 0, 0},
        {"Z-Order", 0x10, "Z-Order", 1, 2, z},
        {"X", 0x02, "X", 0, 0, 0},
        {"Y", 0x02, "Y", 0, 0, 0},
        {"LockMode", 0x10, "LockMode", 0, 3, lock},
        {"Skin", 0x0E, "Skin", 0, 0, 0},
    };
    int n = 0;
    for (const DescriptorRow& row : window)
        rows[n++] = row;
    static const char* const meters[4][9] = {
        {"CPU Indicator Settings", "CPUSkin", "CPUFramesCount", "CPUOffsetX", "CPUOffsetY",
         "CPUTextFormat", "CPUTextdX", "CPUTextdY"},
        {"Memory Indicator Settings", "MEMSkin", "MEMFramesCount", "MEMOffsetX", "MEMOffsetY",
         "MEMTextFormat", "MEMTextdX", "MEMTextdY"},
        {"NetIN Indicator Settings", "NetInSkin", "NetInFramesCount", "NetInOffsetX",
         "NetInOffsetY", "NetInTextFormat", "NetInTextdX", "NetInTextdY"},
        {"NetOUT Indicator Settings", "NetOutSkin", "NetOutFramesCount", "NetOutOffsetX",
         "NetOutOffsetY", "NetOutTextFormat", "NetOutTextdX", "NetOutTextdY"},
    };
    static const char* const captions[] = {nullptr,      "FramesCount", "OffsetX",    "OffsetY",
                                           "TextFormat", "TextOffsetX", "TextOffsetY"};
    static const int32_t types[] = {0x0E, 0x02, 0x02, 0x02, 0x07, 0x02, 0x02};
    for (const auto& meter : meters) {
        rows[n++] = {nullptr, 0x13, meter[0], 0, 0, 0};
        for (int i = 0; i < 7; ++i)
            rows[n++] = {meter[1 + i], types[i], captions[i] ? captions[i] : meter[1 + i], 0, 0, 0};
    }
    const DescriptorRow other[] = {
        {nullptr, 0x13, "Other Settings", 0, 0, 0},
        {"Font", 0x0C, "Font", 0, 0, 0},
        {"FontColor", 0x06, "FontColor", 0, 0, 0},
        {"Elapse", 0x103, "Elapse", 800, 200, 5000},
        {"MaxNetSpeed", 0x107, "MaxNetSpeed", 0, 0, 0},
        {"Transparency", 0x10B, "Transparency", 0, 0, 70},
        {"UseVXD", 0x101, "Use VXD driver", 1, 0, 0},
    };
    for (const DescriptorRow& row : other)
        rows[n++] = row;
}

// The descriptor on a system with layered windows, or without (the driver
// switch in the transparency's place, three lock modes).
inline const PluginDescriptor& Descriptor(bool layered) {
    static DescriptorRow rows[2][45];
    static PluginDescriptor descriptors[2];
    DescriptorRow* r = rows[layered ? 1 : 0];
    FillRows(r);
    if (!layered) {
        r[43] = r[44];
        r[4].MinOrLast = 2;
    }
    PluginDescriptor& d = descriptors[layered ? 1 : 0];
    d = {24, "Zelvo Resource Monitor", "Help.\r\n", "Quilbex", 44, r};
    return d;
}

} // namespace test_descriptor
