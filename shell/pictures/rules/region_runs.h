// Rows of a 32-bit picture cut into runs of pixels that differ from a key
// colour: the rectangles of a window region.
#pragma once

#include <cstdint>

struct PixelRun {
    int32_t Left;  // first pixel of the run
    int32_t Right; // one past the last pixel
};

// Finds the runs of one row whose pixels (compared without the alpha byte)
// differ from key (0x00RRGGBB as in BGRA memory order). Writes at most
// maxRuns runs and returns how many were written.
int32_t FindRowRuns(const uint32_t* row, int32_t width, uint32_t key, PixelRun* runs,
                    int32_t maxRuns);

// A COLORREF (red in the lowest byte) as the BGRA pixel value of the same colour.
inline uint32_t ColorRefToPixel(uint32_t colorRef) {
    return ((colorRef & 0xFF) << 16) | (colorRef & 0xFF00) | ((colorRef >> 16) & 0xFF);
}
