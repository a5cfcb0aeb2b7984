// The demo desktop's own part (--demo-desktop): the host's drawn wallpaper
// over every monitor, which DrawSkin paints too, and a log line for each
// click that reaches it ("DesktopClick left X Y"), for the screenshots, the
// docs' pictures and the tests that compare pixels or follow a click. All
// else it shares with the desktop layer (desktop_windows.h).
#pragma once

#include <windows.h>

// Handles the messages that are the demo desktop's own; false for others.
bool OnDemoDesktopMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
