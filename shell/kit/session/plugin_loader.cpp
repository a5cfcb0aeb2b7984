#include "shell/kit/session/plugin_loader.h"

#include "win32/proc_address.h"

#include <cstdio>

static bool CheckImage(const std::string& path, std::string* error) {
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) {
        *error = "cannot open plug-in " + path;
        return false;
    }
    IMAGE_DOS_HEADER dos = {};
    IMAGE_NT_HEADERS32 nt = {};
    bool ok = fread(&dos, sizeof dos, 1, f) == 1 && dos.e_magic == IMAGE_DOS_SIGNATURE &&
              dos.e_lfanew > 0 && fseek(f, dos.e_lfanew, SEEK_SET) == 0 &&
              fread(&nt, sizeof nt.Signature + sizeof nt.FileHeader, 1, f) == 1 &&
              nt.Signature == IMAGE_NT_SIGNATURE;
    fclose(f);
    if (!ok) {
        *error = "plug-in " + path + " is not a Windows library";
        return false;
    }
    if (nt.FileHeader.Machine != IMAGE_FILE_MACHINE_I386) {
        *error = "plug-in " + path + " is not a 32-bit x86 library";
        return false;
    }
    if (!(nt.FileHeader.Characteristics & IMAGE_FILE_DLL)) {
        *error = "plug-in " + path + " is a program, not a library";
        return false;
    }
    return true;
}

template <typename T> static bool Find(HMODULE module, const char* name, T* entry) {
    *entry = ProcAddress<T>(module, name);
    return *entry != nullptr;
}

bool LoadPlugin(const std::string& path, LoadedPlugin* plugin, std::string* error) {
    if (!CheckImage(path, error)) return false;
    plugin->Module.Reset(LoadLibraryA(path.c_str()));
    if (!plugin->Module.handle) {
        char text[64];
        snprintf(text, sizeof text, " (error %lu)", GetLastError());
        *error = "cannot load plug-in " + path + text;
        return false;
    }
    const char* missing = nullptr;
    if (!Find(plugin->Module.handle, "GetPluginInfo", &plugin->GetPluginInfo))
        missing = "GetPluginInfo";
    else if (!Find(plugin->Module.handle, "InitGlobalModule", &plugin->InitGlobalModule))
        missing = "InitGlobalModule";
    else if (!Find(plugin->Module.handle, "DoneModule", &plugin->DoneModule))
        missing = "DoneModule";
    if (missing) {
        *error = "plug-in " + path + " lacks the export " + missing;
        plugin->Module.Reset();
        return false;
    }
    return true;
}
