// The host's icon in the notification area. Its menu offers Properties...,
// Reload, the kit's own items (kit_menu.h) and Exit; a double-click opens
// Properties. Its own commands are posted to the shell window, which runs
// them once the menu has closed; the kit's run when the menu has closed.
#pragma once

#include <windows.h>

// Adds the icon with the tip, owned by a hidden window of its own; logs
// "TrayIcon added 1" (0 when the notification area refused it: it is added
// again when the taskbar comes, as after Explorer restarted).
HWND CreateTrayIcon(HINSTANCE instance, HWND shell, const char* tip);
// A notification balloon from the icon (a warning); logs "TrayBalloon 1"
// (0 when there is no icon or the notification area refused it).
bool ShowTrayBalloon(const char* title, const char* text);
// Removes the icon, once; logs "TrayIcon removed 1".
void RemoveTrayIcon();

// The icon's window messages, for a program that stands in for the user.
const UINT TrayCallback = WM_APP + 10; // lParam: the mouse message over the icon
enum TrayCommand { TrayProperties = 101, TrayReload = 102, TrayExit = 103 };
