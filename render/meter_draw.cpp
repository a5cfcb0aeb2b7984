#include "render/meter_draw.h"

#include "host/host_library.h"
#include "render/frame_select.h"
#include "render/glow_text.h"
#include "render/key_mask.h"
#include "win32/scoped_gdi.h"

namespace {

// A picture with a mask, or without its own pixel data: the frame is copied
// into a frame-sized buffer, given alpha from the mask, premultiplied and
// blended. Nothing is drawn when a buffer or context cannot be made.
void DrawMaskedFrame(HDC target, const Meter& meter, int32_t frameX, int32_t frameWidth) {
    const ImageInfo& image = meter.Image;
    const int32_t height = image.Height;
    ScopedDib colour(target, frameWidth, height);
    ScopedDib mask(target, frameWidth, height);
    if (!colour.bits || !mask.bits) return;
    {
        ScopedMemoryDC colourDC(target);
        ScopedMemoryDC maskDC(target);
        ScopedMemoryDC sourceDC(target);
        if (!colourDC.dc || !maskDC.dc || !sourceDC.dc) return;
        ScopedSelect colourIn(colourDC.dc, colour.bitmap);
        ScopedSelect maskIn(maskDC.dc, mask.bitmap);
        if (image.MaskBitmap) {
            ScopedSelect source(sourceDC.dc, image.MaskBitmap);
            if (source.previous)
                BitBlt(maskDC.dc, 0, 0, frameWidth, height, sourceDC.dc, frameX, 0, SRCCOPY);
        }
        if (image.ColorBitmap) {
            ScopedSelect source(sourceDC.dc, image.ColorBitmap);
            if (source.previous)
                BitBlt(colourDC.dc, 0, 0, frameWidth, height, sourceDC.dc, frameX, 0, SRCCOPY);
        }
    }
    GdiFlush(); // the copies must have landed before the pixels are read
    const int32_t pixels = frameWidth * height;
    ApplyMaskAlpha(static_cast<const uint8_t*>(mask.bits), static_cast<uint8_t*>(colour.bits),
                   pixels);
    PreAlpha(frameWidth, height, colour.bits);
    AlphaBlt(target, meter.OffsetX, meter.OffsetY, frameWidth, height, colour.bitmap, 0, frameWidth,
             height, colour.bits);
}

} // namespace

void DrawMeter(HDC target, const Meter& meter, const MeterReading& reading) {
    const ImageInfo& image = meter.Image;
    if (image.Kind == ImageKindFailed) return;

    const int32_t index = FrameIndexFor(reading.Headroom, meter.FramesCount);
    const int32_t frameWidth = FrameWidthFor(image.Width, meter.FramesCount);
    const int32_t frameX = index * frameWidth;
    if (frameWidth > 0 && image.Height > 0) {
        if (!image.MaskBitmap && image.ColorBitmap && image.Bits) {
            // The loader's pixels are already premultiplied: one blend, no copy.
            AlphaBlt(target, meter.OffsetX, meter.OffsetY, frameWidth, image.Height,
                     image.ColorBitmap, frameX, image.Width, image.Height, image.Bits);
        } else {
            DrawMaskedFrame(target, meter, frameX, frameWidth);
        }
    }

    if (meter.TextEnabled)
        DrawGlowText(target, meter.TextdX, meter.TextdY, reading.Text, true, Settings.FontColor, 0);
}
