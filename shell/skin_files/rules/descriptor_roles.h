// Which of the descriptor's rows is which of the meter's settings, found from
// the descriptor's shape rather than from key names of our own: the first
// group holds the window's two lists (z-order, lock mode), two integers (X,
// Y) and the background picture; each of the next four groups is a meter
// (picture, frame count, frame offsets, text template, text point); the
// font, colour, period, full-scale speed, transparency and driver switch
// have type codes of their own. The kit's skin check takes its key names,
// defaults, ranges and option names from the rows found here.
#pragma once

#include "shell/skin_files/rules/descriptor_view.h"

#include <cstdint>

const int32_t MeterRoleCount = 4;

struct MeterRows {
    char Name[32]; // what the meter's keys begin with: "CPU"
    const SettingRow* Picture;
    const SettingRow* FramesCount;
    const SettingRow* OffsetX;
    const SettingRow* OffsetY;
    const SettingRow* Template;
    const SettingRow* TextX;
    const SettingRow* TextY;
};

struct SettingRoles {
    const char* Section;      // the configuration section of the keys
    const SettingRow* ZOrder; // a list
    const SettingRow* X;
    const SettingRow* Y;
    const SettingRow* LockMode; // a list
    const SettingRow* Background;
    MeterRows Meters[MeterRoleCount];
    const SettingRow* Font;
    const SettingRow* FontColor;
    const SettingRow* Elapse; // ranged
    const SettingRow* MaxNetSpeed;
    const SettingRow* Transparency; // ranged; offered only with layered windows
    const SettingRow* UseVXD;       // offered only without them
};

// Fills roles; false with a one-line reason when the descriptor does not have
// that shape (then no key can be named safely).
bool FindSettingRoles(const PluginInfo& descriptor, SettingRoles* roles, char* reason,
                      int32_t reasonSize);
