// Keeping WindowX and WindowY current during a drag and saving them once the
// drag ends.
#include "render/render.h"
#include "settings/settings.h"
#include "window/placement.h"
#include "window/window_parts.h"

// A WM_MOVING came since the last end of a move: the user dragged the window.
static bool Dragged;

void OnMoving(HWND window, const RECT* proposed) {
    WindowX = proposed->left;
    WindowY = proposed->top;
    Dragged = true;
    // A painted window shows the shell's background behind it, which changes
    // with every step; a layered one is placed by its next composition.
    if (PaintMode == 0) InvalidateRect(window, nullptr, FALSE);
}

void OnExitSizeMove(HWND window) {
    // The place the drag ended at, in screen coordinates as WM_MOVING gives
    // it: without "show window contents while dragging" the system moves the
    // window only after this message, so its rectangle would still show the
    // old place. A click that moved nothing keeps the saved place, also when
    // the window is shown elsewhere because no monitor shows that place.
    if (Dragged) {
        SavedPlaceX = WindowX;
        SavedPlaceY = WindowY;
        Dragged = false;
    }
    SavePosition(SavedPlaceX, SavedPlaceY);
    InvalidateRect(window, nullptr, FALSE);
}
