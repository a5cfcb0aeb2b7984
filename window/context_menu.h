// The context menu and its one command, which asks the shell to open the
// plug-in's settings.
#pragma once

#include <windows.h>

const UINT CmdProperties = 501;

void OnContextMenu(HWND window);
void OnCommand(WPARAM wParam);
