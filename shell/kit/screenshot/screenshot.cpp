#include "shell/kit/screenshot/screenshot.h"

#include "shell/kit/screenshot/rules/png_writer.h"
#include "win32/scoped_gdi.h"
#include <windows.h>
#include <cstdio>

bool SaveScreenshot(const std::string& path) {
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    ScopedScreenDC screen;
    ScopedMemoryDC memory(screen.dc);
    ScopedDib shot(screen.dc, Dib32Info(width, -height)); // top-down, as the PNG rows go
    if (!memory.dc || !shot.bits) return false;
    {
        ScopedSelect selected(memory.dc, shot.bitmap);
        if (!BitBlt(memory.dc, 0, 0, width, height, screen.dc, 0, 0, SRCCOPY | CAPTUREBLT))
            return false;
        GdiFlush();
    }
    std::string png = EncodePng(static_cast<const uint8_t*>(shot.bits), width, height,
                                static_cast<size_t>(width) * 4, false);
    FILE* f = fopen(path.c_str(), "wb");
    bool ok = f && fwrite(png.data(), 1, png.size(), f) == png.size();
    if (f) ok = fclose(f) == 0 && ok;
    return ok;
}
