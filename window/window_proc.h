// The plug-in window's procedure.
#pragma once

#include <windows.h>

LRESULT CALLBACK MeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Called first by the timer dispatch in Ghost mode, whatever the timer id.
void GhostPoll();
// TimerUnhide: shows the hidden window again once the pointer has left it.
void UnhideTick();
// The system cursors the lock modes show, loaded at start. They are shared
// system cursors: nothing releases them.
void LoadWindowCursors();
