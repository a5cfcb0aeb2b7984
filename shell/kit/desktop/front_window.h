// The window in front, as Windows and Explorer have it: whether a full-screen
// program runs there, and whether Explorer's desktop has come to the front
// (Show desktop), which the desktop layer follows.
#pragma once

#include <windows.h>

// Whether a full-screen program is in front of the meter window (null: of
// any monitor): the system's word where it has one, the foreground window
// otherwise (shell/kit/desktop/rules/front_window_rules.h).
bool FullScreenAppInFront(HWND meter);

// Follows the foreground window from now on with the system's events (no
// polling): when the shell's desktop comes to the front, the host's desktop
// goes right above it; when a program comes back, back to the bottom.
void StartForegroundWatch();
void StopForegroundWatch();
