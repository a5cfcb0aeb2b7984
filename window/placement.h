// Where the meter window is placed: at the place the configuration holds
// while a monitor shows it, else on the nearest monitor (the configuration
// keeps its place until the user drags the meter). WindowX and WindowY are
// where the window is, in screen coordinates, whatever its level.
#pragma once

#include <windows.h>
#include <cstdint>

// The place the configuration holds, in screen coordinates: set at start and
// by the end of each drag.
extern int32_t SavedPlaceX;
extern int32_t SavedPlaceY;

// At start, before the window is made: takes WindowX, WindowY as the saved
// place, sets them to where the window is shown, and answers that point in
// the coordinates the window is created in (its parent's client area for a
// Desktop-level window, the screen otherwise).
POINT PlaceAtStart(HWND parent);

// After a display change: back to the saved place if a monitor shows it
// again, onto the nearest monitor if none shows the window any more.
void PlaceAfterDisplayChange(HWND window);
