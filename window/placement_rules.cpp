#include "window/placement_rules.h"

namespace {

// Edges as 64-bit values: a saved place near the ends of the 32-bit range
// plus the window's size must not wrap.
struct Edges {
    int64_t Left, Top, Right, Bottom;
};

Edges WindowEdges(ScreenPoint at, int32_t width, int32_t height) {
    // A window is at least one pixel: an empty one would be on no monitor.
    const int64_t w = width > 0 ? width : 1, h = height > 0 ? height : 1;
    return {at.X, at.Y, at.X + w, at.Y + h};
}

bool Overlaps(const Edges& window, const ScreenRect& monitor) {
    return window.Left < monitor.Right && window.Right > monitor.Left &&
           window.Top < monitor.Bottom && window.Bottom > monitor.Top;
}

// The gap between two ranges on one axis, 0 when they meet or overlap. Gaps
// wider than any desktop count alike, so that their squares cannot overflow.
int64_t Gap(int64_t low, int64_t high, int64_t areaLow, int64_t areaHigh) {
    const int64_t widest = int64_t(1) << 30;
    const int64_t gap = high < areaLow ? areaLow - high : low > areaHigh ? low - areaHigh : 0;
    return gap < widest ? gap : widest;
}

int64_t SquaredDistance(const Edges& window, const ScreenRect& monitor) {
    const int64_t dx = Gap(window.Left, window.Right, monitor.Left, monitor.Right);
    const int64_t dy = Gap(window.Top, window.Bottom, monitor.Top, monitor.Bottom);
    return dx * dx + dy * dy;
}

// The start of a range of `size` moved the least into [low, high); when it
// does not fit it starts at low.
int32_t Inside(int64_t start, int64_t size, int32_t low, int32_t high) {
    if (start > high - size) start = high - size;
    if (start < low) start = low;
    return static_cast<int32_t>(start);
}

} // namespace

ScreenPoint PlaceOnMonitors(ScreenPoint saved, int32_t width, int32_t height,
                            const MonitorArea* monitors, int32_t count) {
    const Edges window = WindowEdges(saved, width, height);
    int32_t nearest = -1;
    int64_t nearestDistance = 0;
    for (int32_t i = 0; i < count; ++i) {
        if (Overlaps(window, monitors[i].Monitor)) return saved;
        const int64_t distance = SquaredDistance(window, monitors[i].Monitor);
        if (nearest < 0 || distance < nearestDistance) {
            nearest = i;
            nearestDistance = distance;
        }
    }
    if (nearest < 0) return saved;
    const ScreenRect& work = monitors[nearest].Work;
    return {Inside(window.Left, window.Right - window.Left, work.Left, work.Right),
            Inside(window.Top, window.Bottom - window.Top, work.Top, work.Bottom)};
}
