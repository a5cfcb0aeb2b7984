// The host's hidden shell window: it receives the plug-in's messages, runs
// what the icon's menu and the system ask for once the current message has
// returned, and notices when the desktop changes or the session ends.
#pragma once

#include <windows.h>

HWND CreateShellWindow(HINSTANCE instance);

// Posted to the shell window: end the host. wParam is one of HostEndReason.
const UINT HostMsgEnd = WM_APP + 3;
enum HostEndReason { HostEndExit, HostEndCtrlC, HostEndConsoleClosed, HostEndClose };

// The shell window's timer that ends a run of --seconds.
const UINT_PTR HostEndTimer = 1;
