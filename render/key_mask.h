// Per-pixel rules that turn alpha or a mask into shape, on plain 32-bit
// buffers (blue, green, red, alpha).
#pragma once

#include <cstdint>

// The key mask of a per-pixel-alpha picture: a pixel whose alpha is below 3
// becomes magenta (255, 0, 255, 255 in byte order), every other one black
// (all zero). Both buffers hold `pixels` 32-bit pixels in the same order.
void FillKeyMask(const uint8_t* pictureBits, uint8_t* maskBits, int32_t pixels);

// Alpha of a masked frame: 0 where the mask pixel's first (blue) byte is
// nonzero, 255 elsewhere; the colour bytes are left alone.
void ApplyMaskAlpha(const uint8_t* maskBits, uint8_t* colourBits, int32_t pixels);
