// The desktop skin: what lies behind a window on the desktop, drawn under its
// see-through pixels. The picture of the last place is kept, so that a
// repaint at the same place is one BitBlt; it is made afresh when the place,
// the size, the screen or the desktop changes (SetDesktopSkin).
#include "shell/tolvric/desktop_skin.h"

#include "host/host_library.h"
#include "shell/pictures/rules/wallpaper.h"
#include "shell/tolvric/call_log.h"
#include "shell/tolvric/system_desktop.h"
#include "win32/scoped_gdi.h"

namespace {

// The desktop behind one place, in a top-down DIB section of the place's size.
struct KeptPicture {
    ScopedDib Picture;
    ScopedMemoryDC Dc;
    ScopedSelect Selected; // the picture in Dc
    int32_t Width, Height; // of the bitmap
    bool Valid;            // the fields below say what it shows
    int32_t Source, Left, Top, ScreenWidth, ScreenHeight;
};

KeptPicture Kept;
int32_t Source = DesktopSkinSystem;
// The system's desktop as last read; read again when the host says it changed.
SystemDesktop System;
bool SystemRead;

int32_t Width(const RECT* r) {
    return r ? r->right - r->left : 0;
}
int32_t Height(const RECT* r) {
    return r ? r->bottom - r->top : 0;
}

// The selection goes first, then the context, then the picture.
void ReleaseKept() {
    Kept.Selected.Undo();
    Kept.Dc = ScopedMemoryDC();
    Kept.Picture = ScopedDib();
    Kept.Width = Kept.Height = 0;
    Kept.Valid = false;
    Kept.Source = Kept.Left = Kept.Top = Kept.ScreenWidth = Kept.ScreenHeight = 0;
}

// A bitmap of the given size, kept while the size stays.
bool SizeKept(int32_t width, int32_t height) {
    if (Kept.Dc.dc && Kept.Width == width && Kept.Height == height) return true;
    ReleaseKept();
    Kept.Picture = ScopedDib(nullptr, Dib32Info(width, -height)); // top-down, as wallpaper rows go
    if (Kept.Picture.bits) Kept.Dc = ScopedMemoryDC(nullptr);
    if (!Kept.Dc.dc) {
        ReleaseKept();
        return false;
    }
    Kept.Selected = ScopedSelect(Kept.Dc.dc, Kept.Picture.bitmap);
    Kept.Width = width;
    Kept.Height = height;
    return true;
}

// Paints the desktop behind the place (left, top) into the kept bitmap.
void PaintKept(int32_t left, int32_t top, int32_t screenWidth, int32_t screenHeight) {
    if (Source == DesktopSkinWallpaper) {
        GdiFlush();
        for (int32_t y = 0; y < Kept.Height; ++y)
            WallpaperRow(static_cast<uint32_t*>(Kept.Picture.bits) + y * Kept.Width, left, top + y,
                         Kept.Width, screenWidth, screenHeight);
    } else {
        if (!SystemRead) ReadSystemDesktop(&System);
        SystemRead = true;
        PaintSystemDesktop(&System, Kept.Dc.dc, left, top, Kept.Width, Kept.Height);
    }
    Kept.Valid = true;
    Kept.Source = Source;
    Kept.Left = left;
    Kept.Top = top;
    Kept.ScreenWidth = screenWidth;
    Kept.ScreenHeight = screenHeight;
}

bool KeptShows(int32_t left, int32_t top, int32_t screenWidth, int32_t screenHeight) {
    return Kept.Valid && Kept.Source == Source && Kept.Left == left && Kept.Top == top &&
           Kept.ScreenWidth == screenWidth && Kept.ScreenHeight == screenHeight;
}

} // namespace

extern "C" {

// Fills the target with the desktop as it lies behind the window: the
// target's (0, 0) is the client area's top-left on the screen, taken from the
// window rectangle (a borderless window's client area starts at its top-left;
// for a framed one the frame is assumed even on the sides and bottom). The
// size is the client rectangle's (the window's when client is null); the
// screen rectangle gives the drawn wallpaper's scale (the system's screen size
// when null or empty). option1, option4 and the flags (4 always; 2 and 1 from
// the host's skin options) are accepted and ignored: this library has one
// desktop skin, drawn the same way in every case.
int __stdcall DrawSkin(HDC target, HDC same, RECT* client, RECT* window, RECT* screen, int option1,
                       int option4, int flags) {
    (void)same;
    CallLog("DrawSkin %d %d %d %d %d %d %d", window ? int(window->left) : 0,
            window ? int(window->top) : 0, Width(client), Height(client), option1, option4, flags);
    if (!target) return 0;
    int32_t width = client ? Width(client) : Width(window);
    int32_t height = client ? Height(client) : Height(window);
    if (width <= 0 || height <= 0 || int64_t(width) * height > 16 * 1024 * 1024) return 0;
    int32_t left = 0, top = 0;
    if (window) {
        int32_t frame = (Width(window) - width) / 2;
        if (frame < 0) frame = 0;
        int32_t caption = Height(window) - height - frame; // the frame is even below

        if (caption < 0) caption = 0;
        left = window->left + frame;
        top = window->top + caption;
    }
    int32_t screenWidth = Width(screen), screenHeight = Height(screen);
    if (screenWidth <= 0 || screenHeight <= 0) {
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    if (!SizeKept(width, height)) return 0;
    if (!KeptShows(left, top, screenWidth, screenHeight))
        PaintKept(left, top, screenWidth, screenHeight);
    return BitBlt(target, 0, 0, width, height, Kept.Dc.dc, 0, 0, SRCCOPY) ? 1 : 0;
}

int __stdcall SetDesktopSkin(int source) {
    CallLog("SetDesktopSkin %d", source);
    if (source != DesktopSkinSystem && source != DesktopSkinWallpaper) return 0;
    Source = source;
    ReleaseKept();
    // The settings are read now, in the host's own message rather than in a
    // paint: the system's wallpaper interface may call into another process.
    // The pictures are decoded at the first paint that needs them.
    ReleaseSystemDesktop(&System);
    SystemRead = source == DesktopSkinSystem;
    if (SystemRead) ReadSystemDesktop(&System);
    return 1;
}

} // extern "C"
