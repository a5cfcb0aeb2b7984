#include "shell/pictures/rules/wallpaper.h"

namespace {

// Position along an axis, 0..1024, for any coordinate (off-screen places clamp).
int32_t Fraction(int32_t at, int32_t size) {
    if (size <= 1) return 0;
    if (at <= 0) return 0;
    if (at >= size - 1) return 1024;
    return int32_t(int64_t(at) * 1024 / (size - 1));
}

int32_t Mix(int32_t from, int32_t to, int32_t t) {
    return from + (to - from) * t / 2048;
}

} // namespace

uint32_t WallpaperPixel(int32_t x, int32_t y, int32_t screenWidth, int32_t screenHeight) {
    // 0..2048 along the diagonal from top-left to bottom-right.
    int32_t t = Fraction(x, screenWidth) + Fraction(y, screenHeight);
    int32_t red = Mix(22, 104, t);
    int32_t green = Mix(48, 44, t);
    int32_t blue = Mix(104, 128, t);
    // A diamond lattice: lighter where |dx| + |dy| from the cell centre is 15 or 16.
    int32_t dx = (x & 31) - 16, dy = (y & 31) - 16;
    int32_t distance = (dx < 0 ? -dx : dx) + (dy < 0 ? -dy : dy);
    if (distance == 15 || distance == 16) {
        red += 10;
        green += 10;
        blue += 14;
    }
    return 0xFF000000u | uint32_t(red) << 16 | uint32_t(green) << 8 | uint32_t(blue);
}

void WallpaperRow(uint32_t* row, int32_t x, int32_t y, int32_t count, int32_t screenWidth,
                  int32_t screenHeight) {
    for (int32_t i = 0; i < count; ++i)
        row[i] = WallpaperPixel(x + i, y, screenWidth, screenHeight);
}
