// The alpha library: premultiplying and blending 32-bit BGRA pixels.
#include "host/host_library.h"
#include "shell/pictures/device_rows.h"
#include "shell/pictures/rules/alpha_kernels.h"
#include "win32/scoped_gdi.h"

#include <cstring>

namespace {

// Which way the rows of a DIB section selected into dc run in memory. The
// header that GetObject answers does not tell reliably (systems report a
// positive height for top-down sections too), so one pixel is set through GDI
// and looked for in the first and the last row; what it covered is restored.
// When the pixel lands in neither row (a clip region or a moved origin), the
// header's word is taken.
bool RowsRunBottomUp(HDC dc, uint32_t* bits, int32_t height, int32_t stride, bool header) {
    if (height < 2) return header;
    uint32_t* first = bits;
    uint32_t* last = reinterpret_cast<uint32_t*>(reinterpret_cast<uint8_t*>(bits) +
                                                 int64_t(height - 1) * stride);
    GdiFlush();
    uint32_t savedFirst = *first, savedLast = *last;
    // A colour that neither candidate has.
    uint32_t probe = 0x000001;
    while (probe == (savedFirst & 0xFFFFFF) || probe == (savedLast & 0xFFFFFF))
        probe += 0x010101;
    const COLORREF before = GetPixel(dc, 0, 0);
    SetPixelV(dc, 0, 0, RGB(probe >> 16, (probe >> 8) & 0xFF, probe & 0xFF));
    GdiFlush();
    bool lastChanged = (*last & 0xFFFFFF) == probe, firstChanged = (*first & 0xFFFFFF) == probe;
    *first = savedFirst;
    *last = savedLast;
    // The probe landed elsewhere: put back the pixel it covered there.
    if (!lastChanged && !firstChanged && before != CLR_INVALID) SetPixelV(dc, 0, 0, before);
    return lastChanged ? true : firstChanged ? false : header;
}

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
    if (buffer->Width <= 0 || buffer->Height <= 0) return false;
    buffer->BottomUp = RowsRunBottomUp(target, static_cast<uint32_t*>(section.dsBm.bmBits),
                                       buffer->Height, buffer->Stride, header.biHeight > 0);
    return true;
}

// Room for the target rows that one blend into a memory context reads and
// writes back: a meter's background fits in one band.
const int32_t ScratchPixels = 65536;
uint32_t Scratch[ScratchPixels];

void BlendRows(const PixelBuffer& rows, const ClippedBlock& part, const void* source) {
    BlendBlock(*static_cast<const PixelBuffer*>(source), rows, part);
}

// Any other target: the clipped block is copied from the pixels into a
// temporary DIB section (the source bitmap itself may be selected elsewhere)
// and blended by the system's AlphaBlend, which clips to the device itself.
int BlendThroughGdi(HDC target, const PixelBuffer& source, const BlendRequest& request) {
    int32_t targetWidth = 0x40000000, targetHeight = 0x40000000;
    if (GetObjectType(target) == OBJ_MEMDC) {
        BITMAP shape;
        HGDIOBJ bitmap = GetCurrentObject(target, OBJ_BITMAP);
        if (!bitmap || !GetObjectA(bitmap, sizeof(shape), &shape)) return 0;
        targetWidth = shape.bmWidth;
        targetHeight = shape.bmHeight;
    }
    ClippedBlock block;
    if (!ClipBlendRequest(request, source.Width, source.Height, targetWidth, targetHeight, &block))
        return 0;
    ScopedDib copy(nullptr, Dib32Info(block.Width, block.Height));
    if (!copy.bitmap) return 0;
    PixelBuffer copyPixels = {static_cast<uint8_t*>(copy.bits), block.Width, block.Height,
                              block.Width * 4, true};
    for (int32_t row = 0; row < block.Height; ++row) {
        const uint8_t* from = source.Bits +
                              int64_t(source.Height - 1 - (block.SourceY + row)) * source.Stride +
                              block.SourceX * 4;
        std::memcpy(copyPixels.Bits + int64_t(block.Height - 1 - row) * copyPixels.Stride, from,
                    size_t(block.Width) * 4);
    }
    ScopedMemoryDC copyDc(target);
    if (!copyDc.dc) return 0;
    ScopedSelect copyIn(copyDc.dc, copy.bitmap);
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    return AlphaBlend(target, block.TargetX, block.TargetY, block.Width, block.Height, copyDc.dc, 0,
                      0, block.Width, block.Height, blend)
               ? 1
               : 0;
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
// pixels are blended straight into it, alpha byte included; a device bitmap
// in a memory context has the rows under the block read, blended and written
// back in bands of rows; otherwise the system's AlphaBlend does it. The
// pixels are read from bits; the bitmap handle only has to be there.
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
    int result = 0;
    if (WorkThroughRows(target, source.Width, source.Height, request, BlendRows, &source, Scratch,
                        ScratchPixels, &result))
        return result;
    return BlendThroughGdi(target, source, request);
}

} // extern "C"
