// Drawing into the bitmap of a memory DC through its rows: the rows under a
// block are read into a scratch buffer in bands, worked on there by a
// platform-free kernel and written back through the DC, so that its clip
// region holds. A device bitmap (painted mode's BackBuffer) has no pixels of
// its own to write into; this is much faster than the system's AlphaBlend or
// three raster operations on it. Compiled into both stand-in libraries.
#pragma once

#include "shell/pictures/rules/alpha_kernels.h"

#include <windows.h>

// Works on one band: `rows` holds the band's target rows (whole bitmap rows,
// bottom-up), `part` the block within them (TargetY counted in the band,
// SourceY in the source).
typedef void (*RowWork)(const PixelBuffer& rows, const ClippedBlock& part, const void* context);

// Clips the request to a source of sourceWidth x sourceHeight and to the
// target's bitmap, and runs work over it band by band in scratch. False, with
// nothing drawn, when the target is not a memory DC with the plain mapping
// (logical coordinates are bitmap pixels), its rows are wider than scratch,
// or they cannot be read: another way may then draw it. Otherwise *result is
// 1 when everything was written back (0 as well when nothing lay inside).
bool WorkThroughRows(HDC target, int32_t sourceWidth, int32_t sourceHeight,
                     const BlendRequest& request, RowWork work, const void* context,
                     uint32_t* scratch, int32_t scratchPixels, int* result);
