// The plug-in's settings as the host offers them to the user: a dialog built
// from the plug-in's descriptor, which writes the changed keys and restarts
// the plug-in with them.
#pragma once

#include <windows.h>

// Opens the settings of the running plug-in, owned by `owner`, or brings the
// open dialog to the front. Called from the host's own messages, never from
// inside one the plug-in sent (applying restarts the plug-in).
void ShowProperties(HWND owner);

// Gives the open dialog its keyboard (Tab, Enter, Escape, mnemonics); true
// when the message was the dialog's. The host's message loop calls it first.
bool PropertiesDialogMessage(MSG* message);
