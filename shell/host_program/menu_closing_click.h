// The click that closed one of the kit's menus, taken off the queue.
#pragma once

// Call right after a menu of the kit's thread returns (TrackPopupMenu).
// A button press that ended the menu and waits for one of the kit's windows
// is dropped: the click only closes the menu. Other input stays.
void DropMenuClosingClick();
