// Which frame of an image strip shows a level.
#pragma once

#include <cstdint>

// Frame for a meter's headroom (100 minus the usage): usage 0 shows frame 0,
// usage 100 the last frame, truncating in between. A headroom outside 0..100
// is held to that range, so the answer always lies inside the strip.
int32_t FrameIndexFor(int32_t headroom, int32_t framesCount);

// Width of one frame: the strip's width divided by the frame count, the
// remainder columns never shown. A count below 1 counts as 1.
int32_t FrameWidthFor(int32_t stripWidth, int32_t framesCount);
