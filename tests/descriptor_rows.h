// The plug-in's 45 settings rows as shipped (the shell is shown the first
// 44): the Wine tests check the real descriptor against them, the native tests
// and fuzz targets build their stand-in for it from them.
#pragma once

#include "host/descriptor_records.h"

const char* const ExpectedZOrderNames[] = {"Desktop", "Normal", "Always on top"};
const char* const ExpectedLockModeNames[] = {"Unlocked", "Lock Window", "Hide on mouse over",
                                             "Ghost mode"};

// MaxOrList is 0 for the two lists: their option names are above.
const SettingRow ExpectedSchema[45] = {
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
