#include "render/frame_select.h"

int32_t FrameIndexFor(int32_t headroom, int32_t framesCount) {
    if (framesCount < 1) framesCount = 1;
    // Clamp the usage so the index cannot leave 0..framesCount-1; the product
    // is taken in 64 bits so that a huge configured frame count cannot wrap.
    int32_t usage = headroom < 0 ? 100 : headroom > 100 ? 0 : 100 - headroom;
    return static_cast<int32_t>(static_cast<int64_t>(framesCount - 1) * usage / 100);
}

int32_t FrameWidthFor(int32_t stripWidth, int32_t framesCount) {
    if (framesCount < 1) framesCount = 1;
    return stripWidth / framesCount;
}
