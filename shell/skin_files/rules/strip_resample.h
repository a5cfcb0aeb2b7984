// Resampling a picture's strip of frames to another scale, each frame on its
// own so that no frame bleeds into its neighbour.
//
// Each pixel of the result is the average of the source pixels its square
// covers, weighted by the area covered (a box filter, exact in integers): an
// edge that falls on a pixel boundary stays sharp (at 200 % every source
// pixel becomes a block of four, untouched), and nothing rings or overshoots.
//
// Pixels are 32-bit BGRA words, rows one after the other (top-down or
// bottom-up alike: the filter is symmetric). A picture with alpha is
// averaged premultiplied, so a half-covered edge pixel keeps its colour and
// no dark fringe appears. A keyed picture (no alpha; magenta marks the
// transparent pixels that shape a window) keeps its key exact: a result pixel
// is the key when more than half its square is key, and otherwise the
// average of the non-key pixels alone, never the key colour itself.
#pragma once

#include "shell/skin_files/rules/skin_scale.h"

#include <cstdint>

const uint32_t ResampleKeyPixel = 0xFFFF00FFu;     // magenta, opaque
const uint32_t ResampleNearKeyPixel = 0xFFFF01FFu; // what a blend that lands on the key becomes

// True when the colour (alpha ignored) is the key colour.
bool IsKeyPixel(uint32_t pixel);

// source: sizes.Frames * sizes.SourceFrameWidth columns used of sourceWidth,
// sourceHeight rows. target: sizes.Frames * sizes.FrameWidth by sizes.Height.
// Returns false when the sizes are not usable (nothing is written then).
bool ResampleStrip(const uint32_t* source, int32_t sourceWidth, int32_t sourceHeight,
                   const StripSizes& sizes, bool keyed, uint32_t* target);
