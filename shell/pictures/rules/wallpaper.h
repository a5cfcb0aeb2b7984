// The demo desktop's wallpaper: a calm diagonal gradient from deep blue to
// dusk violet with a faint 32-pixel diamond lattice, computed from the screen
// place alone so that the demo desktop window and DrawSkin paint the same
// pixels.
#pragma once

#include <cstdint>

// The colour at screen pixel (x, y) of a screenWidth x screenHeight screen,
// as a 32-bit BGRA pixel (blue in the lowest byte, alpha byte 255).
uint32_t WallpaperPixel(int32_t x, int32_t y, int32_t screenWidth, int32_t screenHeight);

// Fills count pixels of one row: the wallpaper from (x, y) to the right.
void WallpaperRow(uint32_t* row, int32_t x, int32_t y, int32_t count, int32_t screenWidth,
                  int32_t screenHeight);
