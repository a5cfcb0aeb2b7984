// Where the meter window is placed: at the place the configuration holds
// while a monitor shows it, else on the nearest monitor (the configuration
// keeps its place until the user drags the meter). The place is owned here.
#pragma once

#include <windows.h>
#include <cstdint>

struct WindowPlaceRecord {
    // Where the window is, in screen coordinates, whatever its level.
    int32_t WindowX;
    int32_t WindowY;
    // The place the configuration holds, in screen coordinates: set at start
    // and by the end of each drag.
    int32_t SavedPlaceX;
    int32_t SavedPlaceY;
};

extern const WindowPlaceRecord& Place;

// Where the window is, as a point for the surface.
POINT ShownPoint();

// At start, before the window is made: takes the configured X, Y as the
// saved place, works out where the window is shown, and answers that point in
// the coordinates the window is created in (its parent's client area for a
// Desktop-level window, the screen otherwise).
POINT PlaceAtStart(HWND parent);

// After a display change: back to the saved place if a monitor shows it
// again, onto the nearest monitor if none shows the window any more.
void PlaceAfterDisplayChange(HWND window);

// During a drag: where the window is going.
void MoveShownPlace(int32_t x, int32_t y);
// At the end of a drag: the shown place becomes the saved one.
void SaveShownPlace();

// The tests' way to set a place without a start.
WindowPlaceRecord& PlaceForTests();
