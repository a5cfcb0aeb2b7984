// The placement of the meter on any monitor layout: a place a monitor shows
// part of is kept; any other lands on a monitor's work area, wholly where it
// fits; no input can overflow.
#include "fuzz/fuzz_check.h"
#include "window/placement_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

static ScreenRect AnyRect(FuzzedDataProvider& input) {
    return {input.ConsumeIntegral<int32_t>(), input.ConsumeIntegral<int32_t>(),
            input.ConsumeIntegral<int32_t>(), input.ConsumeIntegral<int32_t>()};
}

static bool Shows(const ScreenRect& m, ScreenPoint at, int64_t w, int64_t h) {
    return at.X < m.Right && at.X + w > m.Left && at.Y < m.Bottom && at.Y + h > m.Top;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const ScreenPoint saved = {input.ConsumeIntegral<int32_t>(), input.ConsumeIntegral<int32_t>()};
    const int32_t width = input.ConsumeIntegral<int32_t>();
    const int32_t height = input.ConsumeIntegral<int32_t>();
    std::vector<MonitorArea> monitors;
    while (input.remaining_bytes() > 0 && monitors.size() < 8)
        monitors.push_back({AnyRect(input), AnyRect(input)});

    const ScreenPoint shown =
        PlaceOnMonitors(saved, width, height, monitors.data(), int32_t(monitors.size()));
    const int64_t w = width > 0 ? width : 1, h = height > 0 ? height : 1;
    bool shownSaved = monitors.empty();
    for (const MonitorArea& m : monitors)
        shownSaved = shownSaved || Shows(m.Monitor, saved, w, h);
    if (shownSaved) {
        FUZZ_CHECK(shown.X == saved.X && shown.Y == saved.Y);
        return 0;
    }
    bool onAWorkArea = false;
    for (const MonitorArea& m : monitors) {
        const ScreenRect& a = m.Work;
        const bool xFits = int64_t(a.Right) - a.Left >= w, yFits = int64_t(a.Bottom) - a.Top >= h;
        const bool x = xFits ? shown.X >= a.Left && shown.X + w <= a.Right : shown.X == a.Left;
        const bool y = yFits ? shown.Y >= a.Top && shown.Y + h <= a.Bottom : shown.Y == a.Top;
        onAWorkArea = onAWorkArea || (x && y);
    }
    FUZZ_CHECK(onAWorkArea);
    return 0;
}
