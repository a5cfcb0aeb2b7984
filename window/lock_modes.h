// Lock modes: the hit test, the unhide poll of Hide on mouse over and the
// ghost poll that makes a click-through window draggable while SHIFT is held.
// Their state is owned here and read by the tests through `LockState`.
#pragma once

#include <windows.h>

struct LockStateRecord {
    // The window's screen rectangle: stored when it hides itself, refreshed
    // by every ghost poll.
    RECT SavedRect;
    // Ghost mode: false while clicks pass through, true while the window
    // takes the mouse (SHIFT held over it).
    bool GhostInteractive;
    // IDC_ARROW and IDC_SIZEALL: shared system cursors, nothing releases them.
    HCURSOR ArrowCursor;
    HCURSOR MoveCursor;
};

extern const LockStateRecord& LockState;

// The cursors the lock modes show, loaded at start.
void LoadWindowCursors();
// Click-through again and no saved rectangle: after a stop, before a start.
void ResetLockState();

// WM_NCHITTEST under the configured lock mode.
LRESULT OnHitTest(HWND window);
// TimerUnhide: shows the hidden window again once the pointer has left it.
void UnhideTick(HWND window);
// Called first by the timer dispatch in Ghost mode, whatever the timer id.
void GhostPoll(HWND window);
