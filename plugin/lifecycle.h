// Start-up and tear-down, the two exports the shell calls around the
// plug-in's life, and what the module itself holds: its instance (from the
// entry point) and its window.
#pragma once

#include "host/host_records.h"

extern HINSTANCE ModuleInstance;
extern HWND PluginWindow;

extern "C" {
int __stdcall InitGlobalModule(HostContextRecord* context);
int __stdcall DoneModule();
}
