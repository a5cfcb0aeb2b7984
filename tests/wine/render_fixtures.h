// Pictures, targets and meters built in memory for the rendering tests, with
// pixel access by (column, row from the top).
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

#include "tests/wine/plugin_internals.h"
#include "win32/dib_info.h"

struct Dib32 {
    HBITMAP bitmap = nullptr;
    uint32_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint32_t& At(int32_t x, int32_t yFromTop) { return bits[(height - 1 - yFromTop) * width + x]; }
};

inline Dib32 MakeDib(int32_t width, int32_t height, uint32_t fill = 0) {
    Dib32 d;
    BITMAPINFO info = Dib32Info(width, height);
    void* bits = nullptr;
    d.bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    d.bits = static_cast<uint32_t*>(bits);
    d.width = width;
    d.height = height;
    if (d.bits)
        for (int32_t i = 0; i < width * height; ++i)
            d.bits[i] = fill;
    return d;
}

// A 32-bit DIB section selected into a memory context: a drawing target whose
// pixels can be read back.
struct Target {
    Dib32 dib;
    HDC dc = nullptr;
    HGDIOBJ previous = nullptr;
    Target(int32_t width, int32_t height, uint32_t fill = 0) {
        dib = MakeDib(width, height, fill);
        dc = CreateCompatibleDC(nullptr);
        previous = SelectObject(dc, dib.bitmap);
    }
    ~Target() {
        SelectObject(dc, previous);
        DeleteDC(dc);
        DeleteObject(dib.bitmap);
    }
    uint32_t At(int32_t x, int32_t yFromTop) {
        GdiFlush();
        return dib.At(x, yFromTop);
    }
    Target(const Target&) = delete;
    Target& operator=(const Target&) = delete;
};

// A per-pixel-alpha strip as the loader gives it (Kind 8, premultiplied Bits):
// frame i filled with colours[i] (opaque colours, so already premultiplied).
inline ImageInfo MakeAlphaStrip(int32_t frames, int32_t frameWidth, int32_t height,
                                const uint32_t* colours, int32_t extraColumns = 0,
                                uint32_t extraColour = 0) {
    ImageInfo image = {};
    const int32_t width = frames * frameWidth + extraColumns;
    Dib32 d = MakeDib(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            d.At(x, y) = x < frames * frameWidth ? colours[x / frameWidth] : extraColour;
    image.Kind = ImageKindAlpha;
    image.ColorBitmap = d.bitmap;
    image.Width = width;
    image.Height = height;
    image.Bits = d.bits;
    return image;
}

// A picture with a mask (Kind 1): colour opaque, mask white (transparent)
// where masked(x, yFromTop) says so.
template <typename MaskFn>
ImageInfo MakeMaskedStrip(int32_t frames, int32_t frameWidth, int32_t height,
                          const uint32_t* colours, MaskFn masked) {
    ImageInfo image = {};
    const int32_t width = frames * frameWidth;
    Dib32 colour = MakeDib(width, height);
    Dib32 mask = MakeDib(width, height);
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) {
            colour.At(x, y) = colours[x / frameWidth] | 0xFF000000u;
            mask.At(x, y) = masked(x, y) ? 0xFFFFFFFFu : 0xFF000000u;
        }
    image.Kind = ImageKindMasked;
    image.ColorBitmap = colour.bitmap;
    image.MaskBitmap = mask.bitmap;
    image.Width = width;
    image.Height = height;
    return image;
}

// A meter as configured and its reading, for drawing one on its own.
struct TestMeter {
    Meter Config;
    MeterReading Reading;
};

inline void ResetMeter(Meter* meter, MeterReading* reading, const ImageInfo& image, int32_t frames,
                       int32_t headroom, int32_t x, int32_t y) {
    std::memset(meter, 0, sizeof *meter);
    std::memset(reading, 0, sizeof *reading);
    meter->Image = image;
    meter->FramesCount = frames;
    reading->Headroom = headroom;
    meter->OffsetX = x;
    meter->OffsetY = y;
}
inline void ResetMeter(TestMeter* meter, const ImageInfo& image, int32_t frames, int32_t headroom,
                       int32_t x, int32_t y) {
    ResetMeter(&meter->Config, &meter->Reading, image, frames, headroom, x, y);
}

inline void SetMeterText(Meter* meter, MeterReading* reading, const char* text, int32_t x,
                         int32_t y) {
    meter->TextEnabled = true;
    lstrcpynA(reading->Text, text, sizeof reading->Text);
    meter->TextdX = x;
    meter->TextdY = y;
}
inline void SetMeterText(TestMeter* meter, const char* text, int32_t x, int32_t y) {
    SetMeterText(&meter->Config, &meter->Reading, text, x, y);
}

inline void DrawMeter(HDC target, const TestMeter* meter) {
    DrawMeter(target, meter->Config, meter->Reading);
}

// The meter font at three times a 12-pixel face, as the settings make it.
inline HFONT MakeMeterFont(int32_t size = 12) {
    return CreateFontA(-size * 3, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
}
