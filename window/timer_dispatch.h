// WM_TIMER of the plug-in window: the ghost poll first in Ghost mode, then
// the tick the timer names and, after an update tick, the picture's renewal.
#pragma once

#include <windows.h>

LRESULT DispatchTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
