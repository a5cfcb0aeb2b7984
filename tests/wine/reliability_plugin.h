// The real Vorlamet.plg loaded in-process the way the shell loads it, with a
// shell window, a desktop parent and a configuration built from the test
// skin: shared by the reliability tests.
#pragma once

#include "host/host_records.h"
#include "tests/wine/wine_test_support.h"

#include <string>

namespace reliability {

inline std::string SkinFile(const char* name) {
    return TestDataPath("../../skins/test/") + name;
}

// The test skin's configuration with its pictures named absolutely, on the
// given background, plus extra lines.
inline std::string TestSkinConfig(const char* background, const std::string& extra) {
    std::string ini = "[Quilbex]\r\nSkin=" + SkinFile(background) + "\r\n";
    const char* prefixes[] = {"CPU", "MEM", "NetIn", "NetOut"};
    const char* pictures[] = {"cpu.png", "mem.png", "netin.png", "netout.png"};
    const char* templates[] = {"CPU %i%", "%i MB", "In %iB/s", "Out %iB/s"};
    for (int i = 0; i < 4; ++i) {
        std::string p = prefixes[i];
        ini += p + "Skin=" + SkinFile(pictures[i]) + "\r\n" + p + "FramesCount=11\r\n";
        ini += p + "OffsetX=12\r\n" + p + "OffsetY=" + std::to_string(8 + 22 * i) + "\r\n";
        ini += p + "TextFormat=" + templates[i] + "\r\n" + p + "TextdX=130\r\n";
        ini += p + "TextdY=" + std::to_string(18 + 22 * i) + "\r\n";
    }
    ini += "X=100\r\nY=100\r\nFont=Tahoma,8,bold\r\nFontColor=0xFFFFFF\r\nElapse=1000\r\n";
    return ini + extra;
}

struct LoadedPlugin {
    HMODULE Module = nullptr;
    int(__stdcall* Init)(HostContextRecord*) = nullptr;
    int(__stdcall* Done)() = nullptr;

    bool Load() {
        Module = LoadLibraryA("Vorlamet.plg");
        if (!Module) return false;
        Init = reinterpret_cast<int(__stdcall*)(HostContextRecord*)>(
            reinterpret_cast<void*>(GetProcAddress(Module, "InitGlobalModule")));
        Done = reinterpret_cast<int(__stdcall*)()>(
            reinterpret_cast<void*>(GetProcAddress(Module, "DoneModule")));
        return Init && Done;
    }
    void Unload() {
        while (Module && FreeLibrary(Module)) {
        }
        Module = nullptr;
    }
};

// The shell's side: its window, the desktop parent and the records.
struct FakeShell {
    HWND Shell = nullptr;
    HWND Desktop = nullptr;
    OSVERSIONINFOA Version = {};
    PluginShellRecord Record = {};
    HostContextRecord Context = {};
    std::string ConfigPath;

    void Create() {
        WNDCLASSA c = {};
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "ReliabilityTestShell";
        RegisterClassA(&c);
        Shell = CreateWindowExA(0, c.lpszClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                c.hInstance, nullptr);
        Desktop = CreateWindowExA(0, c.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, c.hInstance, nullptr);
        Version.dwOSVersionInfoSize = sizeof Version;
        GetVersionExA(&Version);
        Record.PropertiesName = "Vorlamet";
        Context.PluginRecord = &Record;
        Context.OsVersion = &Version;
        Context.ShellWindow = Shell;
        Context.DesktopParent = Desktop;
    }
    bool Configure(const std::string& ini) {
        if (ConfigPath.empty()) ConfigPath = TempPath("reliability", ".ini");
        Context.ConfigHandle = const_cast<char*>(ConfigPath.c_str());
        return WriteTextFile(ConfigPath, ini);
    }
    void Destroy() {
        DestroyWindow(Shell);
        DestroyWindow(Desktop);
    }
};

// What the process holds: its private bytes and its kernel handles.
struct ProcessFigures {
    uint64_t PrivateBytes = 0;
    uint32_t Handles = 0;
};

// Counted for real: the committed private pages found by walking the address
// space, and the handle values that the system answers for (Wine's counters
// for both answer 0).
inline ProcessFigures MeasureProcess() {
    ProcessFigures figures;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr;
         VirtualQuery(at, &region, sizeof region) == sizeof region && at + region.RegionSize > at;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize)
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            figures.PrivateBytes += region.RegionSize;
    DWORD flags;
    for (uintptr_t value = 4; value < 0x10000; value += 4)
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++figures.Handles;
    return figures;
}

// A count from the environment (VORLAMET_SOAK_TICKS and the like), or the default.
inline int CountFromEnvironment(const char* name, int fallback) {
    char value[32] = {};
    DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
    if (n == 0 || n >= sizeof value) return fallback;
    int parsed = atoi(value);
    return parsed > 0 ? parsed : fallback;
}

} // namespace reliability
