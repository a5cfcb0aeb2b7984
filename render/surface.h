// The window surface: the back buffer for painting, the mode chosen at start,
// and the two ways of renewing the picture (layered update or repaint).
// Owned by render/; other areas ask through `Surface` and the functions below.
#pragma once

#include "host/host_records.h"
#include "render/surface_rules.h"

#include <windows.h>
#include <cstdint>

struct SurfaceRecord {
    HDC BackBuffer;              // the painted mode's surface, module life
    HBITMAP BackBufferOldBitmap; // what the fresh context held before
    DWORD LayeredExStyle;        // LayeredStyle's answer at start
    bool BackgroundHasAlpha;     // the skin has per-pixel alpha
    bool LayeredAvailable;       // the system can update layered windows
    SurfaceMode PaintMode;       // fixed by ChooseSurfaceMode
};

extern const SurfaceRecord& Surface;

// Makes the back buffer for the loaded background, asks the shell for the
// layered style and looks up UpdateLayeredWindow; answers whether it exists.
bool CreateSurface();
// The mode choice after the window exists: layered composition (composed
// once at `at`, the window's screen place) or a region.
void ChooseSurfaceMode(HWND window, POINT at);
// The background, the meters, then the layered window's update at `at`.
void ComposeLayered(HWND window, POINT at);
// WM_PAINT of a painted window (and of a layered one the system asks to paint).
void PaintSurface(HWND window, HDC paint);
// Tear-down of BackBuffer: the old bitmap back in, ours deleted, the DC deleted.
void ReleaseSurface();
// The tests' way in, to choose a mode or play a system without layered
// windows; no other area writes the record.
SurfaceRecord& SurfaceForTests();

// The key mask of a per-pixel-alpha background: magenta where it is clear.
HBITMAP BuildKeyMask(const ImageInfo* background);
