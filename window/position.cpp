// Keeping WindowX and WindowY current during a drag and saving them once the
// drag ends.
#include "render/render.h"
#include "settings/settings.h"
#include "window/window_parts.h"

void OnMoving(HWND window, const RECT* proposed) {
    WindowX = proposed->left;
    WindowY = proposed->top;
    // A painted window shows the shell's background behind it, which changes
    // with every step; a layered one is placed by its next composition.
    if (PaintMode == 0) InvalidateRect(window, nullptr, FALSE);
}

void OnExitSizeMove(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    // A Desktop window is a child: it is created at a position in its
    // parent's client area, so that is the position to save.
    if (GetWindowLongA(window, GWL_STYLE) & WS_CHILD)
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    SavePosition(rect.left, rect.top);
    InvalidateRect(window, nullptr, FALSE);
}
