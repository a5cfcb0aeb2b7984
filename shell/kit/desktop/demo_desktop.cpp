#include "shell/kit/desktop/demo_desktop.h"

#include "shell/kit/log/host_log.h"
#include "shell/pictures/rules/wallpaper.h"
#include "win32/scoped_gdi.h"

#include <cstdint>

namespace {

// Paints the drawn wallpaper row by row through one DIB section.
void PaintWallpaper(HWND window) {
    ScopedPaint paint(window);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    const RECT& r = paint.paint.rcPaint;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0) return;
    ScopedDib rows(paint.dc, Dib32Info(w, -h));
    if (!rows.bits) return;
    POINT origin = {r.left, r.top};
    ClientToScreen(window, &origin);
    uint32_t* pixels = static_cast<uint32_t*>(rows.bits);
    for (int y = 0; y < h; ++y)
        WallpaperRow(pixels + y * w, origin.x, origin.y + y, w, screenW, screenH);
    ScopedMemoryDC memory(paint.dc);
    ScopedSelect selected(memory.dc, rows.bitmap);
    BitBlt(paint.dc, r.left, r.top, w, h, memory.dc, 0, 0, SRCCOPY);
}

} // namespace

bool OnDemoDesktopMessage(HWND window, UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_PAINT:
        PaintWallpaper(window);
        *result = 0;
        return true;
    case WM_ERASEBKGND:
        *result = 1;
        return true;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &p);
        HostLog("DesktopClick %s %ld %ld", message == WM_LBUTTONDOWN ? "left" : "right", p.x, p.y);
        *result = 0;
        return true;
    }
    }
    return false;
}
