// Windows 8's per-monitor wallpaper interface is declared for that system on.
#undef _WIN32_WINNT
#define _WIN32_WINNT 0x0602
#include "shell/tolvric/system_desktop.h"

#include "shell/tolvric/image_loader.h"
#include "win32/com_scope.h"
#include "win32/scoped_gdi.h"
#include "win32/scoped_handle.h"

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

// Decodes the picture as the library's pictures are, keeping its colour
// bitmap; false when it cannot be read.
bool Decode(const wchar_t* path, DesktopPicture* picture) {
    ImageInfo image = {};
    if (!path[0] || !DecodePicture(path, &image)) return false;
    if (image.MaskBitmap) DeleteObject(image.MaskBitmap); // the desktop has no key colour
    picture->Bitmap = image.ColorBitmap;
    picture->Width = image.Width;
    picture->Height = image.Height;
    return true;
}

void DecodePictures(SystemDesktop* desktop) {
    desktop->Decoded = true;
    const int32_t count = desktop->PerMonitor ? desktop->MonitorCount : 1;
    for (int32_t m = 0; m < count; ++m) {
        DesktopPicture& picture = desktop->Pictures[m];
        for (int32_t k = 0; k < m && picture.SameAs < 0; ++k)
            if (!wcscmp(picture.Path, desktop->Pictures[k].Path)) picture.SameAs = k;
        if (picture.SameAs >= 0 || Decode(picture.Path, &picture) || desktop->PerMonitor ||
            !picture.Path[0])
            continue;
        // The copy Windows 7 and later show when the original is gone.
        wchar_t shown[MAX_PATH];
        if (ExpandEnvironmentStringsW(L"%APPDATA%\\Microsoft\\Windows\\Themes\\TranscodedWallpaper",
                                      shown, MAX_PATH))
            Decode(shown, &picture);
    }
}

// A REG_SZ text under HKCU\\Control Panel\\Desktop; false when absent.
bool DesktopText(const wchar_t* name, wchar_t* text, DWORD count) {
    ScopedRegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_READ, &key.handle))
        return false;
    DWORD size = (count - 1) * sizeof(wchar_t), type = 0;
    const bool read =
        !RegQueryValueExW(key.handle, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) &&
        type == REG_SZ;
    text[read ? size / sizeof(wchar_t) : 0] = 0;
    return read;
}

int32_t DesktopNumber(const wchar_t* name, int32_t fallback) {
    wchar_t text[16];
    return DesktopText(name, text, 16) ? int32_t(wcstol(text, nullptr, 10)) : fallback;
}

// The settings every system has: one picture for all monitors and its
// placement in the registry (read there, as another program's change is
// current there at once; Wine's SPI_GETDESKWALLPAPER keeps what it first
// read), the colour among the system colours.
void ReadClassicSettings(SystemDesktop* desktop) {
    desktop->Fit = WallpaperFitFromRegistry(DesktopNumber(L"WallpaperStyle", 0),
                                            DesktopNumber(L"TileWallpaper", 0));
    wchar_t* path = desktop->Pictures[0].Path;
    if (!DesktopText(L"Wallpaper", path, MAX_PATH))
        SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
}

// Windows 8 and later: a picture per monitor, its placement and the colour
// from the system's wallpaper interface. False where the system has none (an
// older Windows, Wine), which leaves the classic settings.
bool ReadPerMonitorSettings(SystemDesktop* desktop) {
    // Asked only where the class is registered: elsewhere (Wine) the system
    // would look for a server to start for seconds before it says no.
    ScopedRegKey registered;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{C2CF3110-460E-4FC1-B9D0-8A1C0C9CC4BD}", 0,
                      KEY_READ, &registered.handle))
        return false;
    registered.Reset();
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
                if (EqualRect(&place, &desktop->Monitors[m]))
                    lstrcpynW(desktop->Pictures[m].Path, path, MAX_PATH);
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
            p.Path[0] = 0;
        ReadClassicSettings(desktop);
    }
}

void ReleaseSystemDesktop(SystemDesktop* desktop) {
    for (DesktopPicture& p : desktop->Pictures)
        if (p.Bitmap) DeleteObject(p.Bitmap);
    *desktop = SystemDesktop{};
    for (DesktopPicture& p : desktop->Pictures)
        p.SameAs = -1;
}

void PaintSystemDesktop(SystemDesktop* desktop, HDC dc, int32_t left, int32_t top, int32_t width,
                        int32_t height) {
    if (!desktop->Decoded) DecodePictures(desktop);
    PatBlt(dc, 0, 0, width, height, BLACKNESS);
    // Screen coordinates from here on: the place's corner is the bitmap's.
    POINT previousOrigin;
    SetViewportOrgEx(dc, -left, -top, &previousOrigin);
    const RECT place = {left, top, left + width, top + height};
    ScopedGdiObject<HBRUSH> background(CreateSolidBrush(desktop->Background));
    ScopedMemoryDC pictureDc(dc);
    for (int32_t m = 0; m < desktop->MonitorCount; ++m) {
        RECT visible;
        if (!IntersectRect(&visible, &place, &desktop->Monitors[m])) continue;
        FillRect(dc, &visible, background.handle);
        int32_t source = desktop->PerMonitor ? m : 0;
        if (desktop->Pictures[source].SameAs >= 0) source = desktop->Pictures[source].SameAs;
        const DesktopPicture& picture = desktop->Pictures[source];
        if (!picture.Bitmap || !pictureDc.dc) continue;
        ScopedSelect selected(pictureDc.dc, picture.Bitmap);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, visible.left, visible.top, visible.right, visible.bottom);
        DrawPlaced(dc, picture, pictureDc.dc, desktop->Fit,
                   desktop->Fit == WallpaperFit::Span ? desktop->Around : desktop->Monitors[m],
                   visible);
        RestoreDC(dc, saved);
    }
    SetViewportOrgEx(dc, previousOrigin.x, previousOrigin.y, nullptr);
}
