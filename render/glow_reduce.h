// The 3:1 reduction of the glow text: white-on-black text drawn at three times
// its size becomes coloured text whose alpha is the coverage, with a soft
// shadow one row below and two pixels to the right.
#pragma once

#include <cstdint>

struct GlowGeometry {
    int32_t LargeWidth;  // measured width + 5
    int32_t LargeHeight; // measured height + 5
    int32_t SmallWidth;  // LargeWidth div 3 + 6
    int32_t SmallHeight; // LargeHeight div 3 + 6
    int32_t HalfWidth;   // SmallWidth div 2 - 1: the blit starts this far left of the centre
    int32_t HalfHeight;  // SmallHeight div 2 - 1
};

// Sizes of both buffers from the text size that DrawTextA measured.
GlowGeometry GlowGeometryFor(int32_t measuredWidth, int32_t measuredHeight);

// Reduces the large buffer (LargeWidth x LargeHeight pixels, 4 bytes each,
// rows bottom-up; only the first byte of a pixel is read) into the small one
// (SmallWidth x SmallHeight 32-bit pixels), which must start all zero.
// Colours are pixel values, blue in the lowest byte.
void ReduceGlow(const GlowGeometry& g, const uint8_t* large, uint32_t* small, bool shadow,
                uint32_t textColour, uint32_t shadowColour);
