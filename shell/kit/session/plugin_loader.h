// Loads a plug-in library and finds its three exports, with a clear message
// for each way this can fail.
#pragma once

#include "host/host_records.h"
#include "win32/scoped_handle.h"

#include <string>

struct LoadedPlugin {
    ScopedModule Module; // released with the record
    void*(__stdcall* GetPluginInfo)() = nullptr;
    int(__stdcall* InitGlobalModule)(HostContextRecord*) = nullptr;
    int(__stdcall* DoneModule)() = nullptr;
};

// Checks that the file is a 32-bit x86 DLL before loading it.
bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error);
