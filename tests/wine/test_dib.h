// A 32-bit DIB section selected into a memory DC, for tests that read back
// real pixels. At() counts rows from the top whatever the row order.
#pragma once

#include <windows.h>
#include <cstdint>

inline uint32_t Pixel(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24;
}

struct TestDib {
    HDC Dc = nullptr;
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;
    uint32_t* Bits = nullptr;
    int Width, Height;
    bool BottomUp;
    TestDib(int width, int height, bool bottomUp, uint32_t fill)
        : Width(width), Height(height), BottomUp(bottomUp) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = bottomUp ? height : -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        Bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Bits = static_cast<uint32_t*>(bits);
        Dc = CreateCompatibleDC(nullptr);
        Previous = SelectObject(Dc, Bitmap);
        for (int i = 0; i < width * height; ++i)
            Bits[i] = fill;
    }
    TestDib(const TestDib&) = delete;
    TestDib& operator=(const TestDib&) = delete;
    ~TestDib() {
        SelectObject(Dc, Previous);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    uint32_t& At(int x, int y) {
        GdiFlush();
        return Bits[(BottomUp ? Height - 1 - y : y) * Width + x];
    }
};
