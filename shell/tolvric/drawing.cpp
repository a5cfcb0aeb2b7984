// Drawing services: pictures with their transparency, the desktop skin behind
// a window, and window regions from bitmaps.
#include "host/host_library.h"
#include "shell/common/region_runs.h"
#include "shell/common/wallpaper.h"
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

// The desktop skin is drawn in bands of rows from this buffer, so that a
// repaint allocates nothing.
const int32_t SkinBufferPixels = 65536;
uint32_t SkinBuffer[SkinBufferPixels];

int32_t Width(const RECT* r) {
    return r ? r->right - r->left : 0;
}
int32_t Height(const RECT* r) {
    return r ? r->bottom - r->top : 0;
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
int __stdcall DrawPicture(HDC target, HDC same, int x, int y, ImageInfo* image) {
    (void)same;
    CallLog("DrawPicture %d %d %d", x, y, image ? int(image->Kind) : 0);
    if (!target || !image || image->Kind == ImageKindFailed || !image->ColorBitmap) return 0;
    int width = image->Width, height = image->Height;
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

// Fills the target with the host desktop's wallpaper (WallpaperPixel) as it
// lies behind the window: the target's (0, 0) is the client area's top-left
// on the screen, taken from the window rectangle (a borderless window's
// client area starts at its top-left; for a framed one the frame is assumed
// even on the sides and bottom). The size is the client rectangle's (the
// window's when client is null); the screen rectangle gives the wallpaper's
// scale (the system's screen size when null or empty).
// option1, option4 and the flags (4 always; 2 and 1 from the host's skin
// options) are accepted and ignored: this host has one desktop skin, drawn the
// same way in every case.
int __stdcall DrawSkin(HDC target, HDC same, RECT* client, RECT* window, RECT* screen, int option1,
                       int option4, int flags) {
    (void)same;
    CallLog("DrawSkin %d %d %d %d %d %d %d", window ? int(window->left) : 0,
            window ? int(window->top) : 0, Width(client), Height(client), option1, option4, flags);
    if (!target) return 0;
    int32_t width = client ? Width(client) : Width(window);
    int32_t height = client ? Height(client) : Height(window);
    if (width <= 0 || height <= 0 || width > SkinBufferPixels) return 0;
    int32_t left = 0, top = 0;
    if (window) {
        int32_t frame = (Width(window) - width) / 2;
        if (frame < 0) frame = 0;
        int32_t bottomFrame = frame;
        int32_t caption = Height(window) - height - bottomFrame;
        if (caption < 0) caption = 0;
        left = window->left + frame;
        top = window->top + caption;
    }
    int32_t screenWidth = Width(screen), screenHeight = Height(screen);
    if (screenWidth <= 0 || screenHeight <= 0) {
        screenWidth = GetSystemMetrics(SM_CXSCREEN);
        screenHeight = GetSystemMetrics(SM_CYSCREEN);
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    int32_t bandRows = SkinBufferPixels / width;
    for (int32_t row = 0; row < height; row += bandRows) {
        int32_t rows = height - row < bandRows ? height - row : bandRows;
        for (int32_t i = 0; i < rows; ++i)
            WallpaperRow(SkinBuffer + i * width, left, top + row + i, width, screenWidth,
                         screenHeight);
        info.bmiHeader.biHeight = -rows; // top-down band
        SetDIBitsToDevice(target, 0, row, DWORD(width), DWORD(rows), 0, 0, 0, UINT(rows),
                          SkinBuffer, &info, DIB_RGB_COLORS);
    }
    return 1;
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
