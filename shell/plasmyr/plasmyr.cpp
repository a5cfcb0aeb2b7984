// The alpha library: premultiplying and blending 32-bit BGRA pixels.
#include "host/host_library.h"
#include "shell/common/alpha_kernels.h"

#include <cstring>

namespace {

// A memory DC holding a bitmap for the scope.
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

// The target DC's bitmap when it is a 32-bit DIB section we can write into.
bool TargetPixels(HDC target, PixelBuffer* buffer) {
    HGDIOBJ bitmap = GetCurrentObject(target, OBJ_BITMAP);
    DIBSECTION section;
    if (!bitmap || GetObjectA(bitmap, sizeof(section), &section) != sizeof(section)) return false;
    const BITMAPINFOHEADER& header = section.dsBmih;
    if (!section.dsBm.bmBits || header.biBitCount != 32 ||
        (header.biCompression != BI_RGB && header.biCompression != BI_BITFIELDS))
        return false;
    buffer->Bits = static_cast<uint8_t*>(section.dsBm.bmBits);
    buffer->Width = section.dsBm.bmWidth;
    buffer->Height = section.dsBm.bmHeight;
    buffer->Stride = section.dsBm.bmWidthBytes;
    buffer->BottomUp = header.biHeight > 0;
    return buffer->Width > 0 && buffer->Height > 0;
}

} // namespace

extern "C" {

// Straight to premultiplied alpha in place (see PremultiplyPixels for the
// rounding). Nothing happens for null bits or a non-positive size.
int __stdcall PreAlpha(int width, int height, void* bits) {
    if (!bits || width <= 0 || height <= 0) return 0;
    uint64_t count = uint64_t(width) * uint64_t(height);
    if (count > 0xFFFFFFFFu / 4) return 0;
    PremultiplyPixels(static_cast<uint8_t*>(bits), uint32_t(count));
    return 1;
}

// Puts columns sourceX .. sourceX + width - 1 of a premultiplied, bottom-up
// source of sourceWidth x sourceHeight pixels (bits) over the target with
// its top-left at (x, y). Everything outside the source or the target's
// bitmap is cut off. When the target's bitmap is a 32-bit DIB section the
// pixels are blended straight into it, alpha byte included; otherwise the
// system's AlphaBlend does it from the source bitmap.
int __stdcall AlphaBlt(HDC target, int x, int y, int width, int height, HBITMAP bitmap, int sourceX,
                       int sourceWidth, int sourceHeight, void* bits) {
    if (!target || !bits || !bitmap || sourceWidth <= 0 || sourceHeight <= 0) return 0;
    if (uint64_t(sourceWidth) * uint64_t(sourceHeight) > 0xFFFFFFFFu / 4) return 0;
    PixelBuffer source = {static_cast<uint8_t*>(bits), sourceWidth, sourceHeight, sourceWidth * 4,
                          true};
    BlendRequest request = {x, y, width, height, sourceX};
    PixelBuffer pixels;
    if (TargetPixels(target, &pixels)) {
        GdiFlush(); // GDI may still owe drawing to these pixels
        BlendPremultiplied(source, pixels, request);
        return 1;
    }
    // Another kind of target: clip against its bitmap's size and let GDI blend.
    BITMAP shape;
    HGDIOBJ targetBitmap = GetCurrentObject(target, OBJ_BITMAP);
    if (!targetBitmap || !GetObjectA(targetBitmap, sizeof(shape), &shape)) return 0;
    ClippedBlock block;
    if (!ClipBlendRequest(request, sourceWidth, sourceHeight, shape.bmWidth, shape.bmHeight,
                          &block))
        return 0;
    BitmapDc sourceDc(target, bitmap);
    if (!sourceDc.Dc) return 0;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(target, block.TargetX, block.TargetY, block.Width, block.Height, sourceDc.Dc,
                      block.SourceX, block.SourceY, block.Width, block.Height, blend)
               ? 1
               : 0;
}

} // extern "C"
