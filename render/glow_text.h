// Anti-aliased text with a soft shadow: drawn white on black at three times
// the size, reduced 3:1 into coverage, then blended centred on a point.
#pragma once

#include <windows.h>
#include <cstdint>

// In the meter font; colours are pixel values, blue in the lowest byte.
void DrawGlowText(HDC target, int32_t centreX, int32_t centreY, const char* text, bool shadow,
                  uint32_t textColour, uint32_t shadowColour);
