// Reading the plug-in's configuration section once at start.
#pragma once

#include "settings/settings_record.h"

// Reads every key, loads the meter strips, the font and the background twice.
// All bits set when the background loaded, 0 when it did not.
int32_t LoadSettings();
