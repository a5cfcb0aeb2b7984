#include "render/glow_reduce.h"

GlowGeometry GlowGeometryFor(int32_t measuredWidth, int32_t measuredHeight) {
    GlowGeometry g;
    g.LargeWidth = measuredWidth + 5;
    g.LargeHeight = measuredHeight + 5;
    g.SmallWidth = g.LargeWidth / 3 + 6;
    g.SmallHeight = g.LargeHeight / 3 + 6;
    g.HalfWidth = g.SmallWidth / 2 - 1;
    g.HalfHeight = g.SmallHeight / 2 - 1;
    return g;
}

void ReduceGlow(const GlowGeometry& g, const uint8_t* large, uint32_t* small, bool shadow,
                uint32_t textColour, uint32_t shadowColour) {
    const int32_t W = g.LargeWidth;
    const int32_t H = g.LargeHeight;
    const int32_t w3 = g.SmallWidth;
    const int32_t stride = W * 4;
    const uint32_t textRgb = textColour & 0x00FFFFFFu;
    // Rows are walked in storage order, so row j - 1 is finished before row j
    // casts its shadow into it: a shadow only replaces fainter text pixels and
    // no text pixel is written after a shadow that fell on it.
    for (int32_t y = 0, j = 0; y < H - 4; y += 3, ++j) {
        const uint8_t* r0 = large + y * stride;
        const uint8_t* r1 = r0 + stride;
        const uint8_t* r2 = r1 + stride;
        uint32_t* out = small + j * w3;
        const bool castShadow = shadow && y > 8;
        // Row j - 1, two columns right; formed only where that row exists.
        uint32_t* below = castShadow ? out - w3 + 2 : nullptr;
        for (int32_t x = 0, k = 0; x < W - 4; x += 3, ++k) {
            const int32_t o = x * 4;
            const uint32_t sum = r0[o] + r0[o + 4] + r0[o + 8] + r1[o] + r1[o + 4] + r1[o + 8] +
                                 r2[o] + r2[o + 4] + r2[o + 8];
            const uint32_t a = sum / 9;
            if (castShadow) {
                const uint32_t s = a >> 2;
                if ((below[k] >> 24) < s) below[k] = shadowColour | (s << 24);
            }
            out[k] = textRgb | (a << 24);
        }
    }
}
