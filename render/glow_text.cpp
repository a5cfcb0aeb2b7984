#include "render/glow_text.h"

#include "host/host_library.h"
#include "render/glow_reduce.h"
#include "settings/settings_record.h"
#include "win32/scoped_gdi.h"

#include <cstring>

void DrawGlowText(HDC target, int32_t centreX, int32_t centreY, const char* text, bool shadow,
                  uint32_t textColour, uint32_t shadowColour) {
    ScopedMemoryDC textDC(target);
    if (!textDC.dc) return;
    const int length = lstrlenA(text);

    // The font, the mode and the colour go in once and stay for both the
    // measuring and the drawing: each selection of a font makes the system
    // look it up for the context again.
    ScopedSelect font(textDC.dc, Settings.MeterFont.Handle);
    const int oldMode = SetBkMode(textDC.dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(textDC.dc, RGB(255, 255, 255));
    RECT measured = {0, 0, 0, 0};
    DrawTextA(textDC.dc, text, length, &measured, DT_CALCRECT | DT_SINGLELINE);
    const GlowGeometry g = GlowGeometryFor(measured.right, measured.bottom);

    ScopedDib large(target, g.LargeWidth, g.LargeHeight);
    ScopedDib small(target, g.SmallWidth, g.SmallHeight);
    bool drawn = false;
    if (large.bits && small.bits) {
        std::memset(small.bits, 0, static_cast<size_t>(g.SmallWidth) * 4 * g.SmallHeight);
        ScopedSelect buffer(textDC.dc, large.bitmap);
        if (buffer.previous) {
            std::memset(large.bits, 0, static_cast<size_t>(g.LargeWidth) * 4 * g.LargeHeight);
            RECT box = {0, 0, g.LargeWidth, g.LargeHeight};
            DrawTextA(textDC.dc, text, length, &box, DT_SINGLELINE);
            drawn = true;
        }
    }
    // The context's own settings go back before anything else happens.
    SetTextColor(textDC.dc, oldColour);
    font.Undo();
    SetBkMode(textDC.dc, oldMode);
    if (!drawn) return;
    GdiFlush(); // the text must have landed before the pixels are read

    ReduceGlow(g, static_cast<const uint8_t*>(large.bits), static_cast<uint32_t*>(small.bits),
               shadow, textColour, shadowColour);
    PreAlpha(g.SmallWidth, g.SmallHeight, small.bits);
    AlphaBlt(target, centreX - g.HalfWidth, centreY - g.HalfHeight, g.SmallWidth, g.SmallHeight,
             small.bitmap, 0, g.SmallWidth, g.SmallHeight, small.bits);
}
