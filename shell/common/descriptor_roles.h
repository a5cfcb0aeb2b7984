// Which of the descriptor's rows is which of the meter's settings, found from
// the descriptor's shape rather than from key names of our own: the first
// group holds the window's two lists (z-order, lock mode), two integers (X,
// Y) and the background picture; each of the next four groups is a meter
// (picture, frame count, frame offsets, text template, text point); the
// font, colour, period, full-scale speed, transparency and driver switch
// have type codes of their own. The kit's skin check takes its key names,
// defaults, ranges and option names from the rows found here.
#pragma once

#include "shell/common/descriptor_view.h"

#include <cstdint>

const int32_t MeterRoleCount = 4;

struct MeterRows {
    char Name[32]; // what the meter's keys begin with: "CPU"
    const DescriptorRow* Picture;
    const DescriptorRow* FramesCount;
    const DescriptorRow* OffsetX;
    const DescriptorRow* OffsetY;
    const DescriptorRow* Template;
    const DescriptorRow* TextX;
    const DescriptorRow* TextY;
};

struct SettingRoles {
    const char* Section;         // the configuration section of the keys
    const DescriptorRow* ZOrder; // a list
    const DescriptorRow* X;
    const DescriptorRow* Y;
    const DescriptorRow* LockMode; // a list
    const DescriptorRow* Background;
    MeterRows Meters[MeterRoleCount];
    const DescriptorRow* Font;
    const DescriptorRow* FontColor;
    const DescriptorRow* Elapse; // ranged
    const DescriptorRow* MaxNetSpeed;
    const DescriptorRow* Transparency; // ranged; offered only with layered windows
    const DescriptorRow* UseVXD;       // offered only without them
};

// Fills roles; false with a one-line reason when the descriptor does not have
// that shape (then no key can be named safely).
bool FindSettingRoles(const PluginDescriptor& descriptor, SettingRoles* roles, char* reason,
                      int32_t reasonSize);
