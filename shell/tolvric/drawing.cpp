// Drawing services: pictures with their transparency and window regions from
// bitmaps. The desktop skin behind a window is in desktop_skin.cpp.
#include "host/host_library.h"
#include "shell/pictures/device_rows.h"
#include "shell/pictures/rules/region_runs.h"
#include "shell/tolvric/call_log.h"
#include "win32/scoped_gdi.h"

#include <vector>

namespace {

// Room for the target rows DrawPicture reads and writes back: a meter's
// background fits in one band.
const int32_t RowPixels = 65536;
uint32_t Rows[RowPixels];

// The picture's own pixels: a 32-bit DIB section, bottom-up as LoadImageEx
// makes them. False for anything else.
bool PicturePixels(HBITMAP bitmap, int32_t width, int32_t height, PixelBuffer* pixels) {
    DIBSECTION section;
    if (!bitmap || GetObjectA(bitmap, sizeof(section), &section) != sizeof(section) ||
        !section.dsBm.bmBits || section.dsBm.bmBitsPixel != 32 || section.dsBm.bmWidth != width ||
        section.dsBm.bmHeight != height)
        return false;
    *pixels = {static_cast<uint8_t*>(section.dsBm.bmBits), width, height, section.dsBm.bmWidthBytes,
               true};
    return true;
}

struct MaskedPicture {
    PixelBuffer Colour;
    PixelBuffer Mask;
};

void BlendRows(const PixelBuffer& rows, const ClippedBlock& part, const void* picture) {
    BlendBlock(*static_cast<const PixelBuffer*>(picture), rows, part);
}

void PutMaskedRows(const PixelBuffer& rows, const ClippedBlock& part, const void* picture) {
    const MaskedPicture* masked = static_cast<const MaskedPicture*>(picture);
    PutMaskedBlock(masked->Colour, masked->Mask, rows, part);
}

// Draws the picture through the target bitmap's rows (device_rows.h); false
// when that way is closed and the system's raster operations must do it.
bool DrawThroughRows(HDC target, int x, int y, const ImageInfo* image, int* result) {
    const int32_t width = image->Width, height = image->Height;
    if (width <= 0 || height <= 0) return false;
    const BlendRequest request = {x, y, width, height, 0};
    if (image->Kind == ImageKindAlpha) {
        if (!image->Bits) return false;
        const PixelBuffer pixels = {static_cast<uint8_t*>(image->Bits), width, height, width * 4,
                                    true};
        return WorkThroughRows(target, width, height, request, BlendRows, &pixels, Rows, RowPixels,
                               result);
    }
    MaskedPicture masked;
    if (!image->MaskBitmap || !PicturePixels(image->ColorBitmap, width, height, &masked.Colour) ||
        !PicturePixels(image->MaskBitmap, width, height, &masked.Mask))
        return false;
    GdiFlush(); // GDI may still owe drawing to the pictures
    return WorkThroughRows(target, width, height, request, PutMaskedRows, &masked, Rows, RowPixels,
                           result);
}

// Rectangles of a region are handed to the system in batches: some systems
// refuse a single region of many thousands of rectangles.
const size_t RegionBatch = 2000;

bool AddRects(HRGN* region, const std::vector<RECT>& rects, size_t first, size_t count) {
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + count * sizeof(RECT));
    RGNDATA* regionData = reinterpret_cast<RGNDATA*>(data.data());
    regionData->rdh.dwSize = sizeof(RGNDATAHEADER);
    regionData->rdh.iType = RDH_RECTANGLES;
    regionData->rdh.nCount = DWORD(count);
    regionData->rdh.nRgnSize = DWORD(count * sizeof(RECT));
    RECT bounds = {LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    RECT* out = reinterpret_cast<RECT*>(regionData->Buffer);
    for (size_t i = 0; i < count; ++i) {
        const RECT& r = rects[first + i];
        out[i] = r;
        if (r.left < bounds.left) bounds.left = r.left;
        if (r.top < bounds.top) bounds.top = r.top;
        if (r.right > bounds.right) bounds.right = r.right;
        if (r.bottom > bounds.bottom) bounds.bottom = r.bottom;
    }
    regionData->rdh.rcBound = bounds;
    HRGN part = ExtCreateRegion(nullptr, DWORD(data.size()), regionData);
    if (!part) return false;
    if (!*region) {
        *region = part;
        return true;
    }
    ScopedGdiObject<HRGN> added(part);
    return CombineRgn(*region, *region, part, RGN_OR) != ERROR;
}

} // namespace

extern "C" {

// Kind 8: blended with its per-pixel alpha (premultiplied). Other kinds:
// opaque where the mask is black, the target left as it was where the mask is
// white; without a mask the picture is copied. The second DC argument is the
// same DC and is not needed. Into a memory DC the work is done on the
// target's rows (device_rows.h): the system's AlphaBlend or three raster
// operations take several times as long for a meter's background. Other
// targets get those (colour XOR, mask AND, colour XOR, so the colour bitmap
// needs no black under its transparent pixels).
int __stdcall DrawPicture(HDC target, HDC same, int x, int y, ImageInfo* image) {
    (void)same;
    CallLog("DrawPicture %d %d %d", x, y, image ? int(image->Kind) : 0);
    if (!target || !image || image->Kind == ImageKindFailed || !image->ColorBitmap) return 0;
    int width = image->Width, height = image->Height;
    int drawn = 0;
    if ((image->Kind == ImageKindAlpha || image->MaskBitmap) &&
        DrawThroughRows(target, x, y, image, &drawn))
        return drawn;
    ScopedMemoryDC color(target);
    ScopedSelect colorIn(color.dc, image->ColorBitmap);
    if (!color.dc) return 0;
    if (image->Kind == ImageKindAlpha) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return AlphaBlend(target, x, y, width, height, color.dc, 0, 0, width, height, blend) ? 1
                                                                                             : 0;
    }
    if (!image->MaskBitmap)
        return BitBlt(target, x, y, width, height, color.dc, 0, 0, SRCCOPY) ? 1 : 0;
    ScopedMemoryDC mask(target);
    ScopedSelect maskIn(mask.dc, image->MaskBitmap);
    if (!mask.dc) return 0;
    COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
    BOOL ok = BitBlt(target, x, y, width, height, color.dc, 0, 0, SRCINVERT) &&
              BitBlt(target, x, y, width, height, mask.dc, 0, 0, SRCAND) &&
              BitBlt(target, x, y, width, height, color.dc, 0, 0, SRCINVERT);
    SetTextColor(target, oldText);
    SetBkColor(target, oldBack);
    return ok ? 1 : 0;
}

// A region of every pixel whose colour differs from key, in the bitmap's own
// coordinates; an empty region when every pixel has the key colour; NULL for
// a null or invalid bitmap. The region belongs to the caller.
HRGN __stdcall BitmapToRegion(HBITMAP bitmap, COLORREF key, int zero1, int zero2) {
    (void)zero1;
    (void)zero2;
    CallLog("BitmapToRegion 0x%06X", unsigned(key));
    BITMAP shape;
    if (!bitmap || GetObjectType(bitmap) != OBJ_BITMAP ||
        !GetObjectA(bitmap, sizeof(shape), &shape) || shape.bmWidth <= 0 || shape.bmHeight <= 0)
        return nullptr;
    int32_t width = shape.bmWidth, height = shape.bmHeight;
    BITMAPINFO info = Dib32Info(width, -height); // rows top-down, as region rows go
    std::vector<uint32_t> pixels(size_t(width) * height);
    int rows = GetDIBits(ScopedScreenDC().dc, bitmap, 0, UINT(height), pixels.data(), &info,
                         DIB_RGB_COLORS);
    if (rows != height) return nullptr;

    uint32_t keyPixel = ColorRefToPixel(key);
    std::vector<RECT> rects;
    std::vector<PixelRun> runs(size_t(width / 2 + 1));
    for (int32_t y = 0; y < height; ++y) {
        int32_t count = FindRowRuns(pixels.data() + size_t(y) * width, width, keyPixel, runs.data(),
                                    int32_t(runs.size()));
        for (int32_t i = 0; i < count; ++i)
            rects.push_back({runs[i].Left, y, runs[i].Right, y + 1});
    }
    if (rects.empty()) return CreateRectRgn(0, 0, 0, 0);
    ScopedGdiObject<HRGN> region;
    for (size_t first = 0; first < rects.size(); first += RegionBatch) {
        size_t count = rects.size() - first < RegionBatch ? rects.size() - first : RegionBatch;
        if (!AddRects(&region.handle, rects, first, count)) return nullptr;
    }
    return region.Release();
}

} // extern "C"
