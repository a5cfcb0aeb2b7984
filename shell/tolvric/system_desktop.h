// The system's desktop as the user sees it behind the windows: each monitor
// with its wallpaper placed as the system places it, or the background
// colour. Read once after each change of the desktop (SetDesktopSkin), then
// painted behind any place from what was read.
#pragma once

#include "shell/pictures/rules/wallpaper_placement.h"

#include <windows.h>

const int SystemDesktopMonitorsMax = 16;

struct DesktopPicture {
    wchar_t Path[MAX_PATH]; // empty: no picture
    int32_t SameAs;         // the monitor whose picture this is too, or -1
    HBITMAP Bitmap;         // a 32-bit DIB section once decoded
    int32_t Width, Height;
};

struct SystemDesktop {
    int32_t MonitorCount;
    RECT Monitors[SystemDesktopMonitorsMax];
    // Each monitor's picture where the system keeps one per monitor (Windows
    // 8 and later); else the first is every monitor's.
    DesktopPicture Pictures[SystemDesktopMonitorsMax];
    bool PerMonitor;
    bool Decoded; // the pictures were decoded (or found unreadable)
    RECT Around;  // the rectangle around all monitors, where Span places
    WallpaperFit Fit;
    COLORREF Background;
};

// Reads the monitors, the wallpaper settings and the colour; the pictures are
// decoded only when first painted, so that a meter that never asks for the
// desktop holds none of them.
void ReadSystemDesktop(SystemDesktop* desktop);
void ReleaseSystemDesktop(SystemDesktop* desktop);

// Paints the desktop behind the screen rectangle (left, top, width x height)
// into dc at (0, 0): the background colour and the placed picture on each
// monitor, black where no monitor is.
void PaintSystemDesktop(SystemDesktop* desktop, HDC dc, int32_t left, int32_t top, int32_t width,
                        int32_t height);
