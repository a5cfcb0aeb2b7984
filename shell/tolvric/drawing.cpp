// Drawing services: pictures with their transparency and window regions from
// bitmaps. The desktop skin behind a window is in desktop_skin.cpp.
#include "host/host_library.h"
#include "shell/common/region_runs.h"
#include "shell/tolvric/call_log.h"

#include <vector>

namespace {

// Selects a bitmap into a fresh memory DC for the scope.
struct BitmapDc {
    HDC Dc;
    HGDIOBJ Previous;
    BitmapDc(HDC compatible, HBITMAP bitmap) : Dc(CreateCompatibleDC(compatible)), Previous() {
        if (Dc) Previous = SelectObject(Dc, bitmap);
    }
    ~BitmapDc() {
        if (!Dc) return;
        SelectObject(Dc, Previous);
        DeleteDC(Dc);
    }
};

// Whether drawing at (x, y) in width x height pixels lands on the target's
// own pixels unclipped: plain mapping and a clip box around the whole block.
// Then the alpha library may blend straight into the target's bitmap.
bool DrawsUnclipped(HDC target, int x, int y, int width, int height) {
    POINT viewport = {}, window = {};
    if (GetMapMode(target) != MM_TEXT || GetGraphicsMode(target) != GM_COMPATIBLE ||
        !GetViewportOrgEx(target, &viewport) || !GetWindowOrgEx(target, &window) || viewport.x ||
        viewport.y || window.x || window.y)
        return false;
    RECT clip;
    return GetClipBox(target, &clip) == SIMPLEREGION && clip.left <= x && clip.top <= y &&
           clip.right >= x + width && clip.bottom >= y + height;
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
    bool ok = CombineRgn(*region, *region, part, RGN_OR) != ERROR;
    DeleteObject(part);
    return ok;
}

} // namespace

extern "C" {

// Kind 8: blended with its per-pixel alpha (premultiplied). Other kinds:
// opaque where the mask is black, the target left as it was where the mask is
// white (colour XOR, mask AND, colour XOR, so the colour bitmap needs no black
// under its transparent pixels); without a mask the picture is copied.
// The second DC argument is the same DC and is not needed.
// A Kind 8 picture with its Bits, drawn unclipped, is blended by the alpha
// library's AlphaBlt, straight into the target's pixels (a device bitmap's
// rows are read and written back): the system's AlphaBlend takes about five
// times as long for a meter's background. Clipped or transformed targets go
// through AlphaBlend, which honours both.
int __stdcall DrawPicture(HDC target, HDC same, int x, int y, ImageInfo* image) {
    (void)same;
    CallLog("DrawPicture %d %d %d", x, y, image ? int(image->Kind) : 0);
    if (!target || !image || image->Kind == ImageKindFailed || !image->ColorBitmap) return 0;
    int width = image->Width, height = image->Height;
    if (image->Kind == ImageKindAlpha && image->Bits && width > 0 && height > 0 &&
        DrawsUnclipped(target, x, y, width, height))
        return AlphaBlt(target, x, y, width, height, image->ColorBitmap, 0, width, height,
                        image->Bits);
    BitmapDc color(target, image->ColorBitmap);
    if (!color.Dc) return 0;
    if (image->Kind == ImageKindAlpha) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        return AlphaBlend(target, x, y, width, height, color.Dc, 0, 0, width, height, blend) ? 1
                                                                                             : 0;
    }
    if (!image->MaskBitmap)
        return BitBlt(target, x, y, width, height, color.Dc, 0, 0, SRCCOPY) ? 1 : 0;
    BitmapDc mask(target, image->MaskBitmap);
    if (!mask.Dc) return 0;
    COLORREF oldText = SetTextColor(target, RGB(0, 0, 0));
    COLORREF oldBack = SetBkColor(target, RGB(255, 255, 255));
    BOOL ok = BitBlt(target, x, y, width, height, color.Dc, 0, 0, SRCINVERT) &&
              BitBlt(target, x, y, width, height, mask.Dc, 0, 0, SRCAND) &&
              BitBlt(target, x, y, width, height, color.Dc, 0, 0, SRCINVERT);
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
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // rows top-down, as region rows go
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(size_t(width) * height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, UINT(height), pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
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
    HRGN region = nullptr;
    for (size_t first = 0; first < rects.size(); first += RegionBatch) {
        size_t count = rects.size() - first < RegionBatch ? rects.size() - first : RegionBatch;
        if (!AddRects(&region, rects, first, count)) {
            if (region) DeleteObject(region);
            return nullptr;
        }
    }
    return region;
}

} // extern "C"
