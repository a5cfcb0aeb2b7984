// What the system can show decides three settings at start: without layered
// windows a per-pixel-alpha background is drawn on the desktop, and on the
// desktop (or without layered windows) there is neither Ghost mode nor
// transparency. The configuration keeps what the user chose.
#pragma once

#include <cstdint>

struct ShownSettings {
    int32_t ZOrder;
    int32_t LockMode;
    int32_t Transparency;
};

struct SystemAllows {
    bool BackgroundHasAlpha; // the skin loaded with per-pixel alpha
    bool LayeredAvailable;   // the system can update layered windows
};

ShownSettings FitToSystem(ShownSettings loaded, SystemAllows system);
