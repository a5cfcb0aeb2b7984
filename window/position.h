// Keeping the window's place current during a drag and saving it once the
// drag ends.
#pragma once

#include <windows.h>

void OnMoving(HWND window, const RECT* proposed);
void OnExitSizeMove(HWND window);
