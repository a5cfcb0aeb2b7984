// The one bitmap layout the kit's Win32 code uses: 32 bits a pixel, no
// compression. A negative height asks for top-down rows, a positive one for
// bottom-up rows (the order of the plug-in's own buffers).
#pragma once

#include <windows.h>

inline BITMAPINFO Dib32Info(LONG width, LONG height) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
