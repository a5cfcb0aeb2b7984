// Following the skin as its author edits it. The kit watches the
// configuration file and every picture it names; once a burst of changes has
// been still for about a third of a second and no program still writes the
// files, it runs the skin check on them. No errors: the plug-in is reloaded,
// as the icon's Reload does. Errors: the meter runs on as it was, and a
// balloon from the icon and the log give the first errors. The kit's own
// writes (the position the plug-in saves after a drag, the settings dialog's
// Apply) are no edits (skin_edit_rules.h).
#pragma once

#include <windows.h>

#include <cstdint>

// How a finding is told to the user: a balloon from the icon (title, text);
// false when it could not be shown.
using TellSkinFinding = bool (*)(const char* title, const char* text);
// Starts following when the choice remembered for the configuration is on.
// shell is the window that restarts the plug-in (KitMsgRestartPlugin).
void StartSkinWatch(HWND shell, TellSkinFinding tell);
void StopSkinWatch();

bool FollowingSkin();
// The menu's choice: remembered for the configuration, and followed at once
// (turned on, it also looks at edits made meanwhile).
void ChooseFollowingSkin(bool on);

// Called before every start of the plug-in: the files as it will read them.
void NoteSkinStarting();

// For the message loop: the events to wait on (answers how many), how long
// to wait at most (INFINITE when nothing is pending), and what to do after
// the wait (signalled: the index of the event, or -1).
int32_t SkinWatchEvents(HANDLE* events, int32_t room);
DWORD SkinWatchTimeout();
void SkinWatchWoke(int32_t signalled);
