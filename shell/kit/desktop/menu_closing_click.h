// The click that closed one of the kit's menus, taken off the queue.
#pragma once

#include <windows.h>

// Call right after a menu of the kit's thread returns (TrackPopupMenu).
// A button press that ended the menu and waits for one of the kit's windows
// is dropped: the click only closes the menu. Other input stays.
void DropMenuClosingClick();
// Called by the message loop for each message before it is dispatched:
// whether it is the release, or the double-click press (with its release),
// of the dropped press, which go no further either.
bool DropsWithMenuClosingClick(const MSG& message);
// Whether a press of this mouse message (as WM_MOUSEACTIVATE names it) would
// be dropped with the closing click: it then activates nothing.
bool MenuClosingClickHolds(UINT mouseMessage);
