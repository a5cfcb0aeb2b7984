#include "render/surface.h"

#include "host/host_library.h"
#include "render/key_mask.h"
#include "render/meter_draw.h"
#include "render/surface_rules.h"
#include "sampling/meter_readings.h"
#include "settings/host_context.h"
#include "settings/settings_record.h"
#include "win32/proc_address.h"
#include "win32/scoped_gdi.h"

namespace {

SurfaceRecord Record;

typedef BOOL(WINAPI* UpdateLayeredWindowProc)(HWND, HDC, POINT*, SIZE*, HDC, POINT*, COLORREF,
                                              BLENDFUNCTION*, DWORD);
UpdateLayeredWindowProc UpdateLayeredWindowEntry;

void DrawAllMeters(HDC target) {
    DrawMeter(target, Settings.CpuMeter, Readings.Cpu);
    DrawMeter(target, Settings.MemMeter, Readings.Mem);
    DrawMeter(target, Settings.NetInMeter, Readings.NetIn);
    DrawMeter(target, Settings.NetOutMeter, Readings.NetOut);
}

// Copies the picture's own pixels out of its bitmap, for a per-pixel-alpha
// picture whose loader gave no Bits. False when they cannot be read.
bool ReadPictureBits(HDC dc, const ImageInfo* picture, void* bits) {
    if (!picture->ColorBitmap) return false;
    BITMAPINFO info = Dib32Info(picture->Width, picture->Height);
    return GetDIBits(dc, picture->ColorBitmap, 0, picture->Height, bits, &info, DIB_RGB_COLORS) ==
           picture->Height;
}

} // namespace

const SurfaceRecord& Surface = Record;

bool CreateSurface() {
    const ImageInfo& background = Settings.Background;
    Record.BackgroundHasAlpha = background.Kind == ImageKindAlpha;
    {
        ScopedScreenDC screen;
        Record.BackBuffer = CreateCompatibleDC(screen.dc);
        {
            ScopedGdiObject<HBITMAP> surface(
                CreateCompatibleBitmap(screen.dc, background.Width, background.Height));
            Record.BackBufferOldBitmap =
                Record.BackBuffer && surface.handle
                    ? static_cast<HBITMAP>(SelectObject(Record.BackBuffer, surface.handle))
                    : nullptr;
            if (Record.BackBufferOldBitmap) surface.Release(); // selected: BackBuffer keeps it
        }
        const uint8_t level = LayeredStyleLevel(Record.BackgroundHasAlpha, Settings.Transparency);
        Record.LayeredExStyle = LayeredStyle(screen.dc, level);
    }
    UpdateLayeredWindowEntry =
        ProcAddress<UpdateLayeredWindowProc>(GetModuleHandleA("user32.dll"), "UpdateLayeredWindow");
    Record.LayeredAvailable = UpdateLayeredWindowEntry != nullptr;
    return Record.LayeredAvailable;
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

void ChooseSurfaceMode(HWND window, POINT at) {
    const ImageInfo& background = Settings.Background;
    Record.PaintMode =
        PaintModeFor(Record.BackgroundHasAlpha, Record.LayeredAvailable, Settings.ZOrder);
    if (Record.PaintMode == SurfaceLayered) {
        ComposeLayered(window, at);
        return;
    }
    HRGN region;
    if (Record.BackgroundHasAlpha) {
        ScopedGdiObject<HBITMAP> keyMask(BuildKeyMask(&background));
        region = BitmapToRegion(keyMask.handle, RGB(255, 0, 255), 0, 0);
    } else {
        region = BitmapToRegion(background.MaskBitmap, RGB(255, 255, 255), 0, 0);
    }
    // The window owns the region from here on.
    SetWindowRgn(window, region, TRUE);
}

void ComposeLayered(HWND window, POINT at) {
    const ImageInfo& background = Settings.Background;
    ScopedScreenDC screen;
    ScopedMemoryDC work(screen.dc);
    if (!work.dc) return;
    ScopedSelect workPicture(work.dc, background.ColorBitmap);
    if (!workPicture.previous) return; // drawing elsewhere would not be shown
    {
        ScopedMemoryDC copy(screen.dc);
        ScopedSelect copyPicture(copy.dc, Settings.BackgroundCopy.ColorBitmap);
        if (copyPicture.previous)
            BitBlt(work.dc, 0, 0, background.Width, background.Height, copy.dc, 0, 0, SRCCOPY);
    }
    DrawAllMeters(work.dc);
    if (!UpdateLayeredWindowEntry) return;
    SIZE size = {background.Width, background.Height};
    POINT origin = {0, 0};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, LayeredSourceAlpha(Settings.Transparency), AC_SRC_ALPHA};
    UpdateLayeredWindowEntry(window, screen.dc, &at, &size, work.dc, &origin, 0, &blend, ULW_ALPHA);
}

void PaintSurface(HWND window, HDC paint) {
    const HDC back = Record.BackBuffer;
    if (!back) return;
    const ImageInfo& background = Settings.Background;
    if (Record.PaintMode == SurfacePainted) {
        RECT client = {};
        RECT placed = {};
        GetClientRect(window, &client);
        GetWindowRect(window, &placed);
        RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        int flags = DrawSkinAlways;
        if (HostContext.SkinOption3) flags |= DrawSkinOption3Set;
        if (!HostContext.SkinOption2) flags |= DrawSkinOption2Clear;
        DrawSkin(back, back, &client, &placed, &screen, static_cast<int>(HostContext.SkinOption1),
                 static_cast<int>(HostContext.SkinOption4), flags);
    }
    // The shell's interface names the record without const; it only reads it.
    DrawPicture(back, back, 0, 0, const_cast<ImageInfo*>(&background));
    DrawAllMeters(back);
    BitBlt(paint, 0, 0, background.Width, background.Height, back, 0, 0, SRCCOPY);
}

void ReleaseSurface() {
    if (!Record.BackBuffer) return;
    if (Record.BackBufferOldBitmap)
        DeleteObject(SelectObject(Record.BackBuffer, Record.BackBufferOldBitmap));
    DeleteDC(Record.BackBuffer);
    Record.BackBuffer = nullptr;
    Record.BackBufferOldBitmap = nullptr;
}

SurfaceRecord& SurfaceForTests() {
    return Record;
}
