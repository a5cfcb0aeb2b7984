// The kit's own messages, posted to its shell window (the window the plug-in
// knows as the shell's) so that what they ask for runs once the current
// message has returned. The plug-in's messages to its host are the HostMsg*
// of host/host_records.h; these never reach the plug-in.
#pragma once

#include <windows.h>

// Restart the plug-in (the tray's Reload, a settled skin edit, a choice of
// the icon's menu).
const UINT KitMsgRestartPlugin = WM_APP + 1;
// Open the plug-in's settings once the plug-in's own message
// (HostMsgShowProperties) has returned.
const UINT KitMsgOpenProperties = WM_APP + 2;
// End the host; wParam is one of HostEndReason.
const UINT KitMsgEnd = WM_APP + 3;
enum HostEndReason { HostEndExit, HostEndCtrlC, HostEndConsoleClosed, HostEndClose };
// See whether the meter's scale changed (display_scale.h).
const UINT KitMsgCheckScale = WM_APP + 4;
