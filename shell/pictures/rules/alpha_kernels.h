// Per-pixel work of the alpha library on plain 32-bit BGRA buffers.
//
// Rounding: a product c * a / 255 is rounded to the nearest integer (exactly,
// for every pair of bytes), both when premultiplying and when blending.
#pragma once

#include <cstdint>

// c * a / 255, rounded to nearest.
inline uint32_t MulDiv255(uint32_t c, uint32_t a) {
    uint32_t t = c * a + 128;
    return (t + (t >> 8)) >> 8;
}

// Straight to premultiplied alpha, in place: every colour byte becomes
// c * alpha / 255; the alpha byte is kept.
void PremultiplyPixels(uint8_t* bits, uint32_t pixelCount);

// A 32-bit pixel buffer: Stride bytes per row, rows bottom-up (the first row
// in memory is the picture's bottom row) or top-down.
struct PixelBuffer {
    uint8_t* Bits;
    int32_t Width;
    int32_t Height;
    int32_t Stride;
    bool BottomUp;
};

// A block of the source to put on the target: source columns SourceX ..
// SourceX + Width - 1 and rows 0 .. Height - 1 (counted from the top), with
// its top-left corner at (X, Y) of the target (counted from the top).
struct BlendRequest {
    int32_t X;
    int32_t Y;
    int32_t Width;
    int32_t Height;
    int32_t SourceX;
};

// The part of a request that lies inside both buffers.
struct ClippedBlock {
    int32_t SourceX;
    int32_t SourceY; // from the top
    int32_t TargetX;
    int32_t TargetY; // from the top
    int32_t Width;
    int32_t Height;
};

// Cuts a request to what can be read from a source of the given size and
// written to a target of the given size; false when nothing is left.
bool ClipBlendRequest(const BlendRequest& request, int32_t sourceWidth, int32_t sourceHeight,
                      int32_t targetWidth, int32_t targetHeight, ClippedBlock* block);

// Puts the premultiplied source block over the target, per channel including
// alpha: target = source + target * (255 - sourceAlpha) / 255 (capped at 255).
void BlendBlock(const PixelBuffer& source, const PixelBuffer& target, const ClippedBlock& block);

// A picture with a mask instead of alpha, put on the target: where the mask
// pixel is black (its colour bytes zero) the target pixel becomes the colour
// pixel; where it is not, the target stays. Both pictures share the block's
// source coordinates.
void PutMaskedBlock(const PixelBuffer& colour, const PixelBuffer& mask, const PixelBuffer& target,
                    const ClippedBlock& block);

// The whole operation on two buffers: clip, then blend.
void BlendPremultiplied(const PixelBuffer& source, const PixelBuffer& target,
                        const BlendRequest& request);
