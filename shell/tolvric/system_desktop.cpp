// Windows 8's per-monitor wallpaper interface is declared for that system on.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "shell/tolvric/system_desktop.h"

#include "shell/tolvric/image_loader.h"
#include "win32/scoped_gdi.h"

#include <shlobj.h>
#include <shobjidl.h>

#include <cstdlib>
#include <cwchar>

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    SystemDesktop* desktop = reinterpret_cast<SystemDesktop*>(data);
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (desktop->MonitorCount < SystemDesktopMonitorsMax && GetMonitorInfoA(monitor, &info))
        desktop->Monitors[desktop->MonitorCount++] = info.rcMonitor;
    return TRUE;
}

void ReadMonitors(SystemDesktop* desktop) {
    desktop->MonitorCount = 0;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(desktop));
    if (desktop->MonitorCount == 0) {
        desktop->Monitors[0] =
            RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        desktop->MonitorCount = 1;
    }
    desktop->Around = desktop->Monitors[0];
    for (int32_t i = 1; i < desktop->MonitorCount; ++i)
        UnionRect(&desktop->Around, &desktop->Around, &desktop->Monitors[i]);
}

// A picture decoded as the library's pictures are, its colour bitmap kept.
DesktopPicture LoadPicture(const wchar_t* path) {
    ImageInfo image = {};
    if (!path || !path[0] || !DecodePicture(path, &image)) return DesktopPicture{};
    if (image.MaskBitmap) DeleteObject(image.MaskBitmap); // the desktop has no key colour
    return DesktopPicture{image.ColorBitmap, image.Width, image.Height};
}

// A REG_SZ number under HKCU\Control Panel\Desktop; `fallback` when absent.
int32_t DesktopNumber(const wchar_t* name, int32_t fallback) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key))
        return fallback;
    wchar_t text[16] = {};
    DWORD size = sizeof text - sizeof(wchar_t), type = 0;
    const bool read =
        !RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) &&
        type == REG_SZ;
    RegCloseKey(key);
    return read ? int32_t(wcstol(text, nullptr, 10)) : fallback;
}

// The settings every system has: one picture for all monitors (the shown
// copy Windows 7 and later keep when the original is gone), its placement in
// the registry, the colour among the system colours.
void ReadClassicSettings(SystemDesktop* desktop) {
    desktop->Fit = WallpaperFitFromRegistry(DesktopNumber(L"WallpaperStyle", 0),
                                            DesktopNumber(L"TileWallpaper", 0));
    wchar_t path[MAX_PATH] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    DesktopPicture picture = LoadPicture(path);
    wchar_t shown[MAX_PATH];
    if (path[0] && !picture.Bitmap &&
        ExpandEnvironmentStringsW(L"%APPDATA%\\Microsoft\\Windows\\Themes\\TranscodedWallpaper",
                                  shown, MAX_PATH))
        picture = LoadPicture(shown);
    desktop->Pictures[0] = picture;
    // Every monitor shows the one picture; only the first owns the bitmap.
    for (int32_t i = 1; i < desktop->MonitorCount; ++i)
        desktop->Pictures[i] = DesktopPicture{nullptr, picture.Width, picture.Height};
}

// Balances CoInitializeEx when it succeeded (a thread already in another
// apartment keeps it).
struct ComScope {
    bool Initialized;
    ComScope() : Initialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (Initialized) CoUninitialize();
    }
};

// Windows 8 and later: a picture per monitor, its placement and the colour
// from the system's wallpaper interface. False where the system has none (an
// older Windows, Wine), which leaves the classic settings.
bool ReadPerMonitorSettings(SystemDesktop* desktop) {
    // Asked only where the class is registered: elsewhere (Wine) the system
    // would look for a server to start for seconds before it says no.
    HKEY registered;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{C2CF3110-460E-4FC1-B9D0-8A1C0C9CC4BD}", 0,
                      KEY_READ, &registered))
        return false;
    RegCloseKey(registered);
    ComScope com;
    IDesktopWallpaper* wallpaper = nullptr;
    if (FAILED(CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_ALL, IID_IDesktopWallpaper,
                                reinterpret_cast<void**>(&wallpaper))) ||
        !wallpaper)
        return false;
    DESKTOP_WALLPAPER_POSITION position = DWPOS_FILL;
    COLORREF colour = 0;
    UINT count = 0;
    bool read = SUCCEEDED(wallpaper->GetPosition(&position)) &&
                SUCCEEDED(wallpaper->GetBackgroundColor(&colour)) &&
                SUCCEEDED(wallpaper->GetMonitorDevicePathCount(&count));
    for (UINT i = 0; read && i < count; ++i) {
        LPWSTR id = nullptr, path = nullptr;
        RECT place;
        if (SUCCEEDED(wallpaper->GetMonitorDevicePathAt(i, &id)) &&
            SUCCEEDED(wallpaper->GetMonitorRECT(id, &place)) &&
            SUCCEEDED(wallpaper->GetWallpaper(id, &path)))
            for (int32_t m = 0; m < desktop->MonitorCount; ++m)
                if (EqualRect(&place, &desktop->Monitors[m]) && !desktop->Pictures[m].Bitmap)
                    desktop->Pictures[m] = LoadPicture(path);
        CoTaskMemFree(path);
        CoTaskMemFree(id);
    }
    wallpaper->Release();
    if (!read) return false;
    desktop->Fit = WallpaperFitFromPosition(int32_t(position));
    desktop->Background = colour;
    desktop->PerMonitor = true;
    return true;
}

// Draws the picture into its placed rectangle, cut by the clip already set.
void DrawPlaced(HDC dc, const DesktopPicture& picture, HDC pictureDc, WallpaperFit fit,
                const RECT& area, const RECT& visible) {
    const PixelRect place =
        PlaceWallpaper(fit, PixelRect{area.left, area.top, area.right, area.bottom}, picture.Width,
                       picture.Height);
    const int32_t width = place.Right - place.Left, height = place.Bottom - place.Top;
    if (width <= 0 || height <= 0) return;
    if (fit == WallpaperFit::Tile) {
        for (int32_t y = FirstTileAt(place.Top, visible.top, height); y < visible.bottom;
             y += height)
            for (int32_t x = FirstTileAt(place.Left, visible.left, width); x < visible.right;
                 x += width)
                BitBlt(dc, x, y, width, height, pictureDc, 0, 0, SRCCOPY);
    } else if (width == picture.Width && height == picture.Height) {
        BitBlt(dc, place.Left, place.Top, width, height, pictureDc, 0, 0, SRCCOPY);
    } else {
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, place.Left, place.Top, width, height, pictureDc, 0, 0, picture.Width,
                   picture.Height, SRCCOPY);
    }
}

} // namespace

void ReadSystemDesktop(SystemDesktop* desktop) {
    ReleaseSystemDesktop(desktop);
    ReadMonitors(desktop);
    desktop->Background = GetSysColor(COLOR_DESKTOP);
    if (!ReadPerMonitorSettings(desktop)) {
        for (DesktopPicture& p : desktop->Pictures)
            if (p.Bitmap) DeleteObject(p.Bitmap);
        for (DesktopPicture& p : desktop->Pictures)
            p = DesktopPicture{};
        ReadClassicSettings(desktop);
    }
}

void ReleaseSystemDesktop(SystemDesktop* desktop) {
    for (DesktopPicture& p : desktop->Pictures)
        if (p.Bitmap) DeleteObject(p.Bitmap);
    *desktop = SystemDesktop{};
}

void PaintSystemDesktop(const SystemDesktop& desktop, HDC dc, int32_t left, int32_t top,
                        int32_t width, int32_t height) {
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    // Screen coordinates from here on: the place's corner is the bitmap's.
    POINT previousOrigin;
    SetViewportOrgEx(dc, -left, -top, &previousOrigin);
    const RECT place = {left, top, left + width, top + height};
    ScopedGdiObject<HBRUSH> background(CreateSolidBrush(desktop.Background));
    ScopedMemoryDC pictureDc(dc);
    HBITMAP shared = desktop.Pictures[0].Bitmap;
    for (int32_t m = 0; m < desktop.MonitorCount; ++m) {
        RECT visible;
        if (!IntersectRect(&visible, &place, &desktop.Monitors[m])) continue;
        FillRect(dc, &visible, background.object);
        const DesktopPicture& picture = desktop.Pictures[m];
        HBITMAP bitmap = picture.Bitmap ? picture.Bitmap : desktop.PerMonitor ? nullptr : shared;
        if (!bitmap || !pictureDc.dc) continue;
        ScopedSelect selected(pictureDc.dc, bitmap);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        DrawPlaced(dc, picture, pictureDc.dc, desktop.Fit,
                   desktop.Fit == WallpaperFit::Span ? desktop.Around : desktop.Monitors[m],
                   visible);
        RestoreDC(dc, saved);
    }
    SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
}
