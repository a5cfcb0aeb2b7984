#include "render/key_mask.h"

#include <cstring>

void FillKeyMask(const uint8_t* pictureBits, uint8_t* maskBits, int32_t pixels) {
    static const uint32_t magenta = 0xFFFF00FFu; // bytes 255, 0, 255, 255
    for (int32_t i = 0; i < pixels; ++i) {
        const uint32_t v = pictureBits[i * 4 + 3] < 3 ? magenta : 0u;
        std::memcpy(maskBits + i * 4, &v, 4);
    }
}

void ApplyMaskAlpha(const uint8_t* maskBits, uint8_t* colourBits, int32_t pixels) {
    for (int32_t i = 0; i < pixels; ++i)
        colourBits[i * 4 + 3] = maskBits[i * 4] != 0 ? 0 : 255;
}
