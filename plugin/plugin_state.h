// Module-level state of the plug-in's lifecycle, in static storage.
#pragma once

#include "host/host_records.h"
#include <shellapi.h>
#include <iprtrmib.h>

typedef DWORD(WINAPI* GetIfTableProc)(PMIB_IFTABLE table, PULONG size, BOOL order);

extern HINSTANCE ModuleInstance;
extern HostContextRecord HostContext; // private copy of the shell's record
extern HCURSOR ArrowCursor;
extern HCURSOR MoveCursor;
extern HMODULE IpHelperModule;
extern GetIfTableProc GetIfTable; // 0 when IPHLPAPI.DLL lacks it
extern HWND PluginWindow;
extern bool TimerUpdateRunning;
extern bool TimerNetRunning;
extern bool TimerGhostRunning;
extern APPBARDATA FullScreenAppBar;

extern const char ClassName[];

const UINT_PTR TimerUnhide = 58;
const UINT_PTR TimerUpdate = 155;
const UINT_PTR TimerNet = 156;
const UINT_PTR TimerGhost = 359;
const UINT AppBarCallbackMsg = WM_USER + 2;

extern "C" {
int __stdcall InitGlobalModule(HostContextRecord* context);
int __stdcall DoneModule();
}
