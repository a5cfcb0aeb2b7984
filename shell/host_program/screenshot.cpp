#include "shell/host_program/screenshot.h"

#include "shell/common/png_writer.h"
#include "win32/dib_info.h"
#include <windows.h>
#include <cstdio>

bool SaveScreenshot(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFO info = Dib32Info(width, -height); // top-down, as the PNG rows go
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (memory && bitmap && bits) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY | CAPTUREBLT) != 0;
        GdiFlush();
        SelectObject(memory, old);
        if (ok) {
            std::string png = EncodePng(static_cast<const uint8_t*>(bits), width, height,
                                        static_cast<size_t>(width) * 4, false);
            FILE* f = fopen(path.c_str(), "wb");
            ok = f && fwrite(png.data(), 1, png.size(), f) == png.size();
            if (f) ok = fclose(f) == 0 && ok;
        }
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}
