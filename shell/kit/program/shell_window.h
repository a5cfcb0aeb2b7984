// The host's hidden shell window: it receives the plug-in's messages, runs
// what the icon's menu and the system ask for once the current message has
// returned, and notices when the desktop changes or the session ends.
#pragma once

#include <windows.h>

HWND CreateShellWindow(HINSTANCE instance);

// The shell window's timer that ends a run of --seconds.
const UINT_PTR HostEndTimer = 1;
