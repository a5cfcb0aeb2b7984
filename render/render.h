// Drawing the meters and the window surface.
#pragma once

#include "settings/settings.h"

// Window surface state, fixed at start.
extern HDC BackBuffer;              // painted mode's surface, module life
extern HBITMAP BackBufferOldBitmap; // what the fresh context held before
extern DWORD LayeredExStyle;        // LayeredStyle's answer at start
extern int32_t BackgroundHasAlpha;  // -1 / 0
extern int32_t LayeredAvailable;    // -1 / 0
extern int32_t PaintMode;           // 1 layered, 0 painted

// Meter drawing.
void DrawMeter(HDC target, const Meter* meter);
void FreeImageBitmaps(ImageInfo* image);
void DrawGlowText(HDC target, int32_t centreX, int32_t centreY, const char* text, int32_t shadow,
                  uint32_t textColour, uint32_t shadowColour);

// Window surface. CreateSurface answers whether UpdateLayeredWindow exists.
bool CreateSurface();
HBITMAP BuildKeyMask(const ImageInfo* background);
// The mode choice after the window exists: layered composition or region.
void ChooseSurfaceMode();
void ComposeLayered();
void PaintSurface(HDC paint);
// Tear-down of BackBuffer: the old bitmap back in, ours deleted, the DC deleted.
void ReleaseSurface();
