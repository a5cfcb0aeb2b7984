// What several areas of the plug-in share, in static storage: the module,
// the host context and the window; the timers and the application-bar
// message the window procedure and the lifecycle both name. Each area keeps
// the rest of what it holds to itself.
#pragma once

#include "host/host_records.h"

extern HINSTANCE ModuleInstance;
extern HostContextRecord HostContext; // private copy of the shell's record
extern HWND PluginWindow;

const UINT_PTR TimerUnhide = 58;
const UINT_PTR TimerUpdate = 155;
const UINT_PTR TimerNet = 156;
const UINT_PTR TimerGhost = 359;
const UINT AppBarCallbackMsg = WM_USER + 2;

extern "C" {
int __stdcall InitGlobalModule(HostContextRecord* context);
int __stdcall DoneModule();
}
