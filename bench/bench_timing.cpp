#include "bench/bench_timing.h"
#include "win32/dib_info.h"

#include <algorithm>
#include <cstdio>

double MicrosecondsBetween(LARGE_INTEGER start, LARGE_INTEGER end) {
    static LARGE_INTEGER frequency;
    if (!frequency.QuadPart) QueryPerformanceFrequency(&frequency);
    return double(end.QuadPart - start.QuadPart) * 1e6 / double(frequency.QuadPart);
}

static double Percentile(const double* sorted, int count, int percent) {
    int index = (count * percent + 99) / 100 - 1; // nearest rank
    if (index < 0) index = 0;
    if (index >= count) index = count - 1;
    return sorted[index];
}

void ReportTicks(const char* name, double* samples, int count) {
    if (count <= 0) return;
    std::sort(samples, samples + count);
    const double median = Percentile(samples, count, 50), p90 = Percentile(samples, count, 90),
                 p99 = Percentile(samples, count, 99);
    printf("  %-28s %6d ticks  median %8.1f us  p90 %8.1f us  p99 %8.1f us\n", name, count, median,
           p90, p99);
    printf("RESULT %s %.2f %.2f %.2f\n", name, median, p90, p99);
    fflush(stdout);
}

HBITMAP MakeDib(int width, int height, void** bits) {
    BITMAPINFO info = Dib32Info(width, height);
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}
