// Fonts of the configuration made into GDI fonts.
//
// FontInfo.Size is in points and becomes a character height of
// -Size * 96 / 72 pixels: a fixed 96 dots per inch, so that a skin draws the
// same on every screen. The font is asked for with anti-aliased quality.
// GetFontHandle marks a font it made in FontInfo.Reserved52, so that FreeFont
// never deletes a stock or foreign font handle.
#include "host/host_library.h"
#include "shell/tolvric/call_log.h"

namespace {

const uint32_t OwnedFontTag = 0x544E4F46; // "FONT"
const int32_t LargestFontSize = 1500;     // points; the plug-in triples skin sizes

uint32_t TagOf(HFONT font) {
    return OwnedFontTag ^ uint32_t(reinterpret_cast<uintptr_t>(font));
}

bool IsOwnedFont(const FontInfo* font) {
    return font->Handle && font->Reserved52 == TagOf(font->Handle) &&
           GetObjectType(font->Handle) == OBJ_FONT;
}

} // namespace

extern "C" {

// Makes font->Handle from Face, Size, Weight and Italic; with an empty face or
// a size out of 1..1500, or when the system makes no font, the fallback (or
// the stock ANSI_VAR_FONT when the fallback is 0) is used instead. Answers 1
// when a font of the record was made.
int __stdcall GetFontHandle(FontInfo* font, HFONT fallback) {
    CallLog("GetFontHandle %s %d", font ? font->Face : "(null)", font ? int(font->Size) : 0);
    if (!font) return 0;
    if (IsOwnedFont(font)) DeleteObject(font->Handle);
    font->Handle = nullptr;
    font->Reserved52 = 0;
    font->Face[sizeof(font->Face) - 1] = 0;
    HFONT made = nullptr;
    if (font->Face[0] && font->Size > 0 && font->Size <= LargestFontSize) {
        int weight = (font->Weight >= 1 && font->Weight <= 1000) ? font->Weight : FW_NORMAL;
        made = CreateFontA(-MulDiv(font->Size, 96, 72), 0, 0, 0, weight, font->Italic ? 1 : 0, 0, 0,
                           DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, font->Face);
    }
    if (made) {
        font->Handle = made;
        font->Reserved52 = TagOf(made);
        return 1;
    }
    font->Handle = fallback ? fallback : static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
    return 0;
}

// Deletes the handle when GetFontHandle made it (never a stock or fallback
// font), then clears it.
int __stdcall FreeFont(FontInfo* font) {
    CallLog("FreeFont");
    if (!font) return 0;
    int deleted = 0;
    if (IsOwnedFont(font)) deleted = DeleteObject(font->Handle) ? 1 : 0;
    font->Handle = nullptr;
    font->Reserved52 = 0;
    return deleted;
}

} // extern "C"
