// The only write the plug-in makes to its configuration.
#pragma once

#include <windows.h>
#include <cstdint>

// Writes X and Y after the user has moved the window; nothing without one.
void SavePosition(HWND window, int32_t x, int32_t y);
