// The host's own windows: the desktop (the plug-in's parent for z-order
// Desktop, painted with the wallpaper) and the hidden shell window that
// receives the plug-in's messages.
#pragma once

#include <windows.h>

HWND CreateDesktopWindow(HINSTANCE instance);
HWND CreateShellWindow(HINSTANCE instance);
// A black window over the whole screen, standing for a full-screen program.
HWND CreateFullScreenApp(HINSTANCE instance);
// Whether a visible top-level window other than `except` covers the screen.
bool FullScreenAppInFront(HWND except);
