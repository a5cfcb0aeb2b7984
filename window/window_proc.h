// The plug-in window's procedure.
#pragma once

#include <windows.h>

LRESULT CALLBACK MeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
