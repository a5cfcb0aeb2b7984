// The plug-in's configuration keys and the defaults the loader reads them
// with: the one table that the settings loader and the descriptor's schema
// both take their names and defaults from.
#pragma once

#include <cstdint>

const char* const ConfigSection = "Quilbex";

struct IntKey {
    const char* Name;
    int32_t Default;
};

constexpr IntKey KeyZOrder = {"Z-Order", 1};
constexpr IntKey KeyX = {"X", 0};
constexpr IntKey KeyY = {"Y", 0};
constexpr IntKey KeyLockMode = {"LockMode", 0};
constexpr const char* KeySkin = "Skin";
constexpr const char* KeyFont = "Font";
constexpr IntKey KeyFontColor = {"FontColor", 0}; // hexadecimal
constexpr IntKey KeyElapse = {"Elapse", 800};
constexpr IntKey KeyMaxNetSpeed = {"MaxNetSpeed", 0};
constexpr IntKey KeyUseVXD = {"UseVXD", 1};
constexpr IntKey KeyTransparency = {"Transparency", 0};

// The seven keys of one meter's block, in reading order. A missing frame
// count reads as 1 (the dialog shows an empty field as 0); the other numbers
// default to 0 and the texts to empty.
struct MeterKeys {
    const char* Skin;
    const char* FramesCount;
    const char* OffsetX;
    const char* OffsetY;
    const char* TextFormat;
    const char* TextdX;
    const char* TextdY;
};
const int32_t FramesCountDefault = 1;

constexpr MeterKeys CpuKeys = {"CPUSkin",       "CPUFramesCount", "CPUOffsetX", "CPUOffsetY",
                               "CPUTextFormat", "CPUTextdX",      "CPUTextdY"};
constexpr MeterKeys MemKeys = {"MEMSkin",       "MEMFramesCount", "MEMOffsetX", "MEMOffsetY",
                               "MEMTextFormat", "MEMTextdX",      "MEMTextdY"};
constexpr MeterKeys NetInKeys = {"NetInSkin",    "NetInFramesCount", "NetInOffsetX",
                                 "NetInOffsetY", "NetInTextFormat",  "NetInTextdX",
                                 "NetInTextdY"};
constexpr MeterKeys NetOutKeys = {"NetOutSkin",    "NetOutFramesCount", "NetOutOffsetX",
                                  "NetOutOffsetY", "NetOutTextFormat",  "NetOutTextdX",
                                  "NetOutTextdY"};
