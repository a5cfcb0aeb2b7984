// Where the meter is shown on the monitors there are: at its saved place
// while any monitor shows part of it, else wholly inside the nearest
// monitor's work area. Plain values in screen coordinates; the main monitor's
// top-left corner is (0, 0), others may lie left of or above it.
#pragma once

#include <cstdint>

struct ScreenRect {
    int32_t Left, Top, Right, Bottom; // right and bottom exclusive
};

struct MonitorArea {
    ScreenRect Monitor;
    ScreenRect Work; // without the task bar and other application bars
};

struct ScreenPoint {
    int32_t X, Y;
};

// The top-left corner at which a window of width x height saved at `saved`
// is shown. Partly on a monitor: at `saved`. On none: moved the least
// distance into the work area of the monitor nearest to it (the first of
// equally near ones; a window larger than the work area keeps its left or
// top edge on it). Without monitors: at `saved`.
ScreenPoint PlaceOnMonitors(ScreenPoint saved, int32_t width, int32_t height,
                            const MonitorArea* monitors, int32_t count);
