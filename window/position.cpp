#include "window/position.h"

#include "render/surface.h"
#include "settings/save_position.h"
#include "window/placement.h"

// A WM_MOVING came since the last end of a move: the user dragged the window.
static bool Dragged;

void OnMoving(HWND window, const RECT* proposed) {
    MoveShownPlace(proposed->left, proposed->top);
    Dragged = true;
    // A painted window shows the shell's background behind it, which changes
    // with every step; a layered one is placed by its next composition.
    if (Surface.PaintMode == SurfacePainted) InvalidateRect(window, nullptr, FALSE);
}

void OnExitSizeMove(HWND window) {
    // The place the drag ended at, in screen coordinates as WM_MOVING gives
    // it: without "show window contents while dragging" the system moves the
    // window only after this message, so its rectangle would still show the
    // old place. A click that moved nothing keeps the saved place, also when
    // the window is shown elsewhere because no monitor shows that place.
    if (Dragged) {
        SaveShownPlace();
        Dragged = false;
    }
    SavePosition(window, Place.SavedPlaceX, Place.SavedPlaceY);
    InvalidateRect(window, nullptr, FALSE);
}
