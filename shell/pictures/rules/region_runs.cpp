#include "shell/pictures/rules/region_runs.h"

int32_t FindRowRuns(const uint32_t* row, int32_t width, uint32_t key, PixelRun* runs,
                    int32_t maxRuns) {
    int32_t count = 0;
    key &= 0x00FFFFFF;
    int32_t x = 0;
    while (x < width && count < maxRuns) {
        while (x < width && (row[x] & 0x00FFFFFF) == key)
            ++x;
        if (x == width) break;
        int32_t start = x;
        while (x < width && (row[x] & 0x00FFFFFF) != key)
            ++x;
        runs[count].Left = start;
        runs[count].Right = x;
        ++count;
    }
    return count;
}
