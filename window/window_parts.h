// The window procedure's own state and the handlers it dispatches to.
#pragma once

#include <windows.h>
#include <cstdint>

const UINT CmdProperties = 501;
const UINT UnhidePeriod = 400; // ms between two unhide polls

// The window's screen rectangle: stored when it hides itself, refreshed by
// every ghost poll.
extern RECT SavedRect;
// Ghost mode: 0 while clicks pass through, all bits set while the window
// takes the mouse (SHIFT held over it).
extern int32_t GhostInteractive;
// IDC_ARROW and IDC_SIZEALL, from LoadWindowCursors.
extern HCURSOR ArrowCursor;
extern HCURSOR MoveCursor;

// SHIFT's state: the physical key (asynchronous) or as the thread's
// messages have seen it.
bool ShiftDownAsync();
bool ShiftDownThread();

void OnPaint(HWND window);
void OnContextMenu(HWND window);
void OnCommand(WPARAM wParam);
LRESULT OnHitTest(HWND window);
void OnMoving(HWND window, const RECT* proposed);
void OnExitSizeMove(HWND window);
void OnAppBarNotice(HWND window, WPARAM notice, LPARAM lParam);
