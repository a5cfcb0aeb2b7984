// Timing for the Wine benchmarks: each tick timed with QueryPerformanceCounter,
// then reported as median, 90th and 99th percentile.
#pragma once

#include <windows.h>

// A bottom-up 32-bit DIB section, as the plug-in's scratch buffers are.
HBITMAP MakeDib(int width, int height, void** bits);

// Microseconds between two QueryPerformanceCounter readings.
double MicrosecondsBetween(LARGE_INTEGER start, LARGE_INTEGER end);

// Sorts the samples in place and prints one human line and one
// "RESULT name median p90 p99" line for the benchmark script.
void ReportTicks(const char* name, double* samples, int count);

// Runs `tick` `count` times, each timed on its own, after `warmUp` untimed runs.
template <typename Tick>
void TimeTicks(const char* name, int warmUp, int count, double* samples, Tick tick) {
    for (int i = 0; i < warmUp; ++i)
        tick();
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER start, end;
        QueryPerformanceCounter(&start);
        tick();
        QueryPerformanceCounter(&end);
        samples[i] = MicrosecondsBetween(start, end);
    }
    ReportTicks(name, samples, count);
}
