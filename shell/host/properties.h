// The plug-in's settings as the host offers them to the user.
#pragma once

#include <windows.h>

// Opens the settings of the running plug-in, owned by `owner`. Called from the
// host's own messages, never from inside one the plug-in sent.
void ShowProperties(HWND owner);
