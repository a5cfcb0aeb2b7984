// Registering a window class: the name, procedure and module always, a
// style, cursor and background brush where the window wants them; every
// other field zero (no icon, menu or extra bytes).
#pragma once

#include <windows.h>

inline ATOM RegisterWindowClass(HINSTANCE instance, const char* name, WNDPROC proc, UINT style = 0,
                                HCURSOR cursor = nullptr, HBRUSH brush = nullptr) {
    WNDCLASSA c = {};
    c.style = style;
    c.lpfnWndProc = proc;
    c.hInstance = instance;
    c.hCursor = cursor;
    c.hbrBackground = brush;
    c.lpszClassName = name;
    return RegisterClassA(&c);
}
