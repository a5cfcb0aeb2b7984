// Anti-aliased text with a soft shadow: drawn white on black at three times
// the size, reduced 3:1 into coverage, then blended centred on a point.
#include "render/render.h"

#include <cstring>

#include "host/host_library.h"
#include "render/glow_reduce.h"
#include "render/scoped_gdi.h"

void DrawGlowText(HDC target, int32_t centreX, int32_t centreY, const char* text, int32_t shadow,
                  uint32_t textColour, uint32_t shadowColour) {
    ScopedMemoryDC textDC(target);
    if (!textDC.dc) return;
    const int length = lstrlenA(text);

    GlowGeometry g;
    {
        ScopedSelect font(textDC.dc, MeterFont.Handle);
        RECT measured = {0, 0, 0, 0};
        DrawTextA(textDC.dc, text, length, &measured, DT_CALCRECT | DT_SINGLELINE);
        g = GlowGeometryFor(measured.right, measured.bottom);
    }
    ScopedDib large(target, g.LargeWidth, g.LargeHeight);
    ScopedDib small(target, g.SmallWidth, g.SmallHeight);
    if (!large.bits || !small.bits) return;
    std::memset(small.bits, 0, static_cast<size_t>(g.SmallWidth) * 4 * g.SmallHeight);
    {
        ScopedSelect font(textDC.dc, MeterFont.Handle);
        ScopedSelect buffer(textDC.dc, large.bitmap);
        if (!buffer.previous) return;
        const int oldMode = SetBkMode(textDC.dc, TRANSPARENT);
        const COLORREF oldColour = SetTextColor(textDC.dc, RGB(255, 255, 255));
        std::memset(large.bits, 0, static_cast<size_t>(g.LargeWidth) * 4 * g.LargeHeight);
        RECT box = {0, 0, g.LargeWidth, g.LargeHeight};
        DrawTextA(textDC.dc, text, length, &box, DT_SINGLELINE);
        SetTextColor(textDC.dc, oldColour);
        SetBkMode(textDC.dc, oldMode);
    }
    GdiFlush(); // the text must have landed before the pixels are read

    ReduceGlow(g, static_cast<const uint8_t*>(large.bits), static_cast<uint32_t*>(small.bits),
               shadow != 0, textColour, shadowColour);
    PreAlpha(g.SmallWidth, g.SmallHeight, small.bits);
    AlphaBlt(target, centreX - g.HalfWidth, centreY - g.HalfHeight, g.SmallWidth, g.SmallHeight,
             small.bitmap, 0, g.SmallWidth, g.SmallHeight, small.bits);
}
