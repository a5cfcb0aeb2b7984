// The window surface: BackBuffer for painting, the mode chosen at start, and
// the two ways of renewing the picture (layered update or repaint).
#include "render/render.h"

#include "host/host_library.h"
#include "plugin/plugin_state.h"
#include "render/key_mask.h"
#include "win32/scoped_gdi.h"
#include "render/surface_rules.h"

HDC BackBuffer;
HBITMAP BackBufferOldBitmap;
DWORD LayeredExStyle;
int32_t BackgroundHasAlpha;
int32_t LayeredAvailable;
int32_t PaintMode;

namespace {

typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);
UpdateLayeredWindowProc UpdateLayeredWindowEntry;

void DrawAllMeters(HDC target) {
    DrawMeter(target, &CpuMeter);
    DrawMeter(target, &MemMeter);
    DrawMeter(target, &NetInMeter);
    DrawMeter(target, &NetOutMeter);
}

// Copies the picture's own pixels out of its bitmap, for a per-pixel-alpha
// picture whose loader gave no Bits. False when they cannot be read.
bool ReadPictureBits(HDC dc, const ImageInfo* picture, void* bits) {
    if (!picture->ColorBitmap) return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = picture->Width;
    info.bmiHeader.biHeight = picture->Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return GetDIBits(dc, picture->ColorBitmap, 0, picture->Height, bits, &info, DIB_RGB_COLORS) ==
           picture->Height;
}

} // namespace

bool CreateSurface() {
    {
        ScopedScreenDC screen;
        BackBuffer = CreateCompatibleDC(screen.dc);
        {
            ScopedGdiObject<HBITMAP> surface(
                CreateCompatibleBitmap(screen.dc, Background.Width, Background.Height));
            BackBufferOldBitmap =
                BackBuffer && surface.handle
                    ? static_cast<HBITMAP>(SelectObject(BackBuffer, surface.handle))
                    : nullptr;
            if (BackBufferOldBitmap) surface.Release(); // selected: BackBuffer keeps it
        }
        const uint8_t level = LayeredStyleLevel(BackgroundHasAlpha != 0, Transparency);
        LayeredExStyle = LayeredStyle(screen.dc, level);
    }
    HMODULE user32 = GetModuleHandleA("user32.dll");
    UpdateLayeredWindowEntry =
        user32 ? reinterpret_cast<UpdateLayeredWindowProc>(
                     reinterpret_cast<void*>(GetProcAddress(user32, "UpdateLayeredWindow")))
               : nullptr;
    return UpdateLayeredWindowEntry != nullptr;
}

HBITMAP BuildKeyMask(const ImageInfo* background) {
    const int32_t width = background->Width;
    const int32_t height = background->Height;
    ScopedScreenDC screen;
    ScopedDib mask(screen.dc, width, height);
    if (!mask.bits) return nullptr;
    const int32_t pixels = width * height;
    if (background->Bits) {
        FillKeyMask(static_cast<const uint8_t*>(background->Bits), static_cast<uint8_t*>(mask.bits),
                    pixels);
    } else {
        // No pixel data from the loader: read the alpha from the bitmap
        // itself. Should that fail too, the mask stays black (no key colour)
        // and the window keeps its whole rectangle.
        ScopedDib copy(screen.dc, width, height);
        if (copy.bits && ReadPictureBits(screen.dc, background, copy.bits))
            FillKeyMask(static_cast<const uint8_t*>(copy.bits), static_cast<uint8_t*>(mask.bits),
                        pixels);
    }
    return mask.Release();
}

void ChooseSurfaceMode() {
    PaintMode = PaintModeFor(BackgroundHasAlpha != 0, LayeredAvailable != 0, ZOrder);
    if (PaintMode == 1) {
        ComposeLayered();
        return;
    }
    HRGN region;
    if (BackgroundHasAlpha) {
        ScopedGdiObject<HBITMAP> keyMask(BuildKeyMask(&Background));
        region = BitmapToRegion(keyMask.handle, RGB(255, 0, 255), 0, 0);
    } else {
        region = BitmapToRegion(Background.MaskBitmap, RGB(255, 255, 255), 0, 0);
    }
    // The window owns the region from here on.
    SetWindowRgn(PluginWindow, region, TRUE);
}

void ComposeLayered() {
    ScopedScreenDC screen;
    ScopedMemoryDC work(screen.dc);
    if (!work.dc) return;
    ScopedSelect workPicture(work.dc, Background.ColorBitmap);
    if (!workPicture.previous) return; // drawing elsewhere would not be shown
    {
        ScopedMemoryDC copy(screen.dc);
        ScopedSelect copyPicture(copy.dc, BackgroundCopy.ColorBitmap);
        if (copyPicture.previous)
            BitBlt(work.dc, 0, 0, Background.Width, Background.Height, copy.dc, 0, 0, SRCCOPY);
    }
    DrawAllMeters(work.dc);
    if (!UpdateLayeredWindowEntry) return;
    POINT position = {WindowX, WindowY};
    SIZE size = {Background.Width, Background.Height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, LayeredSourceAlpha(Transparency), AC_SRC_ALPHA};
    UpdateLayeredWindowEntry(PluginWindow, screen.dc, &position, &size, work.dc, &origin, 0, &blend,
                             ULW_ALPHA);
}

void PaintSurface(HDC paint) {
    if (!BackBuffer) return;
    if (PaintMode == 0) {
        RECT client = {};
        RECT window = {};
        GetClientRect(PluginWindow, &client);
        GetWindowRect(PluginWindow, &window);
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        int flags = 4;
        if (HostContext.SkinOption3) flags += 1;
        if (!HostContext.SkinOption2) flags += 2;
        DrawSkin(BackBuffer, BackBuffer, &client, &window, &screen,
                 static_cast<int>(HostContext.SkinOption1),
                 static_cast<int>(HostContext.SkinOption4), flags);
    }
    DrawPicture(BackBuffer, BackBuffer, 0, 0, &Background);
    DrawAllMeters(BackBuffer);
    BitBlt(paint, 0, 0, Background.Width, Background.Height, BackBuffer, 0, 0, SRCCOPY);
}

void ReleaseSurface() {
    if (!BackBuffer) return;
    if (BackBufferOldBitmap) DeleteObject(SelectObject(BackBuffer, BackBufferOldBitmap));
    DeleteDC(BackBuffer);
    BackBuffer = nullptr;
    BackBufferOldBitmap = nullptr;
}
