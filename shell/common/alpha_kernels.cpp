#include "shell/common/alpha_kernels.h"

namespace {

uint8_t* RowAt(const PixelBuffer& buffer, int32_t rowFromTop) {
    int32_t row = buffer.BottomUp ? buffer.Height - 1 - rowFromTop : rowFromTop;
    return buffer.Bits + int64_t(row) * buffer.Stride;
}

// Cuts [start, start + length) of one axis to [0, limit), moving the other
// side's start along; lengths and positions are kept in 64 bits so that no
// argument can overflow.
void ClipAxis(int64_t* start, int64_t* otherStart, int64_t* length, int64_t limit) {
    if (*start < 0) {
        *otherStart -= *start;
        *length += *start;
        *start = 0;
    }
    if (*start + *length > limit) *length = limit - *start;
}

} // namespace

void PremultiplyPixels(uint8_t* bits, uint32_t pixelCount) {
    if (!bits) return;
    for (uint32_t i = 0; i < pixelCount; ++i, bits += 4) {
        uint32_t a = bits[3];
        if (a == 255) continue;
        bits[0] = uint8_t(MulDiv255(bits[0], a));
        bits[1] = uint8_t(MulDiv255(bits[1], a));
        bits[2] = uint8_t(MulDiv255(bits[2], a));
    }
}

bool ClipBlendRequest(const BlendRequest& request, int32_t sourceWidth, int32_t sourceHeight,
                      int32_t targetWidth, int32_t targetHeight, ClippedBlock* block) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return false;
    int64_t width = request.Width, height = request.Height;
    if (height > sourceHeight) height = sourceHeight;
    int64_t sourceX = request.SourceX, sourceY = 0;
    int64_t targetX = request.X, targetY = request.Y;
    // Inside the source first, then inside the target.
    ClipAxis(&sourceX, &targetX, &width, sourceWidth);
    ClipAxis(&targetX, &sourceX, &width, targetWidth);
    ClipAxis(&targetY, &sourceY, &height, targetHeight);
    if (width <= 0 || height <= 0) return false;
    block->SourceX = int32_t(sourceX);
    block->SourceY = int32_t(sourceY);
    block->TargetX = int32_t(targetX);
    block->TargetY = int32_t(targetY);
    block->Width = int32_t(width);
    block->Height = int32_t(height);
    return true;
}

void BlendBlock(const PixelBuffer& source, const PixelBuffer& target, const ClippedBlock& block) {
    for (int32_t row = 0; row < block.Height; ++row) {
        const uint8_t* from = RowAt(source, block.SourceY + row) + block.SourceX * 4;
        uint8_t* to = RowAt(target, block.TargetY + row) + block.TargetX * 4;
        for (int32_t column = 0; column < block.Width; ++column, from += 4, to += 4) {
            uint32_t a = from[3];
            if (a == 0 && (from[0] | from[1] | from[2]) == 0) continue;
            if (a == 255) {
                to[0] = from[0];
                to[1] = from[1];
                to[2] = from[2];
                to[3] = 255;
                continue;
            }
            uint32_t keep = 255 - a;
            for (int c = 0; c < 4; ++c) {
                uint32_t value = from[c] + MulDiv255(to[c], keep);
                to[c] = uint8_t(value > 255 ? 255 : value);
            }
        }
    }
}

void BlendPremultiplied(const PixelBuffer& source, const PixelBuffer& target,
                        const BlendRequest& request) {
    if (!source.Bits || !target.Bits) return;
    ClippedBlock block;
    if (ClipBlendRequest(request, source.Width, source.Height, target.Width, target.Height, &block))
        BlendBlock(source, target, block);
}
