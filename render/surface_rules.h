// The numbers behind the window surface's two modes.
#pragma once

#include <cstdint>

// The level handed to LayeredStyle: 1 for a per-pixel-alpha background
// without transparency (so the window is still layered), else the low byte
// of the transparency.
uint8_t LayeredStyleLevel(bool backgroundHasAlpha, int32_t transparency);

// SourceConstantAlpha of the layered composition: 255 - T * 255 div 100, on the low byte.
uint8_t LayeredSourceAlpha(int32_t transparency);

// Whole-window alpha of a painted window: (100 - T) * 255 div 100.
uint8_t ConstantWindowAlpha(int32_t transparency);

// How the window's picture is renewed: painted on WM_PAINT, or composed and
// handed to the system as a layered window.
enum SurfaceMode : int32_t { SurfacePainted = 0, SurfaceLayered = 1 };

// Layered when the background has alpha, the system can update layered
// windows and the window is not on the desktop; else painted.
SurfaceMode PaintModeFor(bool backgroundHasAlpha, bool layeredAvailable, int32_t zOrder);
