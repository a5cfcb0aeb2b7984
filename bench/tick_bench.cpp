// Drives the real plug-in (Vorlamet.plg beside this program) the way the
// shell's timers do, with WM_TIMER messages sent back to back, and times each
// tick. Modes:
//   --ticks N            update ticks (plus the WM_PAINT they bring in
//                        painted mode) and network ticks, N of each
//   --memory N           private bytes after start and after N update and
//                        N network ticks, and the heap allocations the
//                        plug-in's own code makes during them
// --config FILE.ini names the skin; --name labels the result lines;
// --desktop demo|real chooses the parent of a Desktop-level (painted) meter:
// the host's drawn wallpaper, a plain window as the floor has, or the real
// desktop's see-through layer (default). --dpi N starts the plug-in with the
// scaled view the kit hands it at that scale (as the host does); every run
// times the plug-in's start ("RESULT name_start").
#include "bench/alloc_counter.h"
#include "bench/bench_timing.h"
#include "host/host_records.h"
#include "shell/kit/desktop/desktop_windows.h"
#include "shell/skin_files/rules/descriptor_roles.h"
#include "shell/skin_files/rules/skin_scale.h"
#include "shell/tolvric/scale_view.h"
#include "win32/proc_address.h"

#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

const UINT_PTR TimerUpdate = 155;
const UINT_PTR TimerNet = 156;

struct Plugin {
    HMODULE Module;
    int(__stdcall* InitGlobalModule)(HostContextRecord*);
    int(__stdcall* DoneModule)();
};

std::string ExeDirectory() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n < sizeof path ? n : 0);
    return dir.substr(0, dir.find_last_of("\\/"));
}

// The process's private bytes. Wine leaves PrivateUsage at 0, so the
// committed private regions are then summed through VirtualQuery instead.
SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    if (counters.PrivateUsage) return counters.PrivateUsage;
    SIZE_T total = 0;
    MEMORY_BASIC_INFORMATION region;
    for (const char* at = nullptr;
         VirtualQuery(at, &region, sizeof region) == sizeof region && region.RegionSize;
         at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
        if (static_cast<const char*>(region.BaseAddress) + region.RegionSize < at) break;
    }
    return total;
}

// Lets the window settle: whatever start-up posted is handled.
void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Hands the service library the view of the configuration at dpi, built as
// the host builds it; false when the library or the descriptor has none.
bool SetScale(HMODULE plugin, const std::string& config, int dpi) {
    auto setSkinScale =
        ProcAddress<SetSkinScaleProc>(GetModuleHandleA("tolvric.dll"), "SetSkinScale");
    auto info = ProcAddress<void*(__stdcall*)()>(plugin, "GetPluginInfo");
    const auto* descriptor = info ? static_cast<const PluginInfo*>(info()) : nullptr;
    static SettingRoles roles;
    char reason[200];
    if (!setSkinScale || !descriptor ||
        !FindSettingRoles(*descriptor, &roles, reason, sizeof reason))
        return false;
    std::string text;
    if (FILE* file = fopen(config.c_str(), "rb")) {
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, file)) > 0;)
            text.append(buffer, n);
        fclose(file);
    }
    static SkinScaleView view;
    BuildSkinScaleView(roles, text.data(), text.size(), dpi, &view);
    setSkinScale(&view);
    return true;
}

void ClearScale() {
    auto setSkinScale =
        ProcAddress<SetSkinScaleProc>(GetModuleHandleA("tolvric.dll"), "SetSkinScale");
    if (setSkinScale) setSkinScale(nullptr);
}

int Fail(const char* what) {
    fprintf(stderr, "tick_bench: %s\n", what);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    std::string config, name = "default", desktopKind = "real";
    int dpi = 0;
    int ticks = 0, memoryTicks = 0;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--config"))
            config = argv[i + 1];
        else if (!std::strcmp(argv[i], "--name"))
            name = argv[i + 1];
        else if (!std::strcmp(argv[i], "--ticks"))
            ticks = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--memory"))
            memoryTicks = std::atoi(argv[i + 1]);
        else if (!std::strcmp(argv[i], "--desktop"))
            desktopKind = argv[i + 1];
        else if (!std::strcmp(argv[i], "--dpi"))
            dpi = std::atoi(argv[i + 1]);
        else
            return Fail("usage: tick_bench --config FILE.ini [--name N] [--ticks N] [--memory N] "
                        "[--desktop demo|real] [--dpi N]");
    }
    if (config.empty()) return Fail("no --config");
    char full[MAX_PATH];
    if (!GetFullPathNameA(config.c_str(), sizeof full, full, nullptr)) return Fail("bad --config");
    config = full;

    Plugin plugin = {};
    plugin.Module = LoadLibraryA((ExeDirectory() + "\\Vorlamet.plg").c_str());
    if (!plugin.Module) return Fail("cannot load Vorlamet.plg");
    plugin.InitGlobalModule = reinterpret_cast<int(__stdcall*)(HostContextRecord*)>(
        reinterpret_cast<void*>(GetProcAddress(plugin.Module, "InitGlobalModule")));
    plugin.DoneModule = reinterpret_cast<int(__stdcall*)()>(
        reinterpret_cast<void*>(GetProcAddress(plugin.Module, "DoneModule")));
    if (!plugin.InitGlobalModule || !plugin.DoneModule) return Fail("missing exports");
    const int hooked = HookAllocations(plugin.Module);

    SetCurrentDirectoryA(config.substr(0, config.find_last_of("\\/")).c_str());
    HINSTANCE instance = GetModuleHandleA(nullptr);
    // The plug-in's few messages to the shell need no answer here.
    HWND desktop =
        desktopKind == "demo" ? CreateDemoDesktop(instance) : CreateDesktopLayer(instance);
    HWND shell = CreateWindowExA(0, "STATIC", "shell", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 instance, nullptr);
    static OSVERSIONINFOA version;
    version.dwOSVersionInfoSize = sizeof version;
    GetVersionExA(&version);
    static PluginShellRecord record;
    record.PropertiesName = "Vorlamet";
    static HostContextRecord context;
    context.PluginRecord = &record;
    context.OsVersion = &version;
    context.ConfigHandle = const_cast<char*>(config.c_str());
    context.ShellWindow = shell;
    context.DesktopParent = desktop;
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (dpi && !SetScale(plugin.Module, config, dpi)) return Fail("no scaled view");
    plugin.InitGlobalModule(&context); // its answer means nothing; the window tells
    if (dpi) ClearScale();
    QueryPerformanceCounter(&after);
    if (!record.PluginWnd) return Fail("start-up failed");
    const double startMs = double(after.QuadPart - before.QuadPart) * 1000.0 / frequency.QuadPart;
    RECT shown;
    GetWindowRect(record.PluginWnd, &shown);
    printf("  %-28s start %.2f ms, the meter %ldx%ld\n", name.c_str(), startMs,
           shown.right - shown.left, shown.bottom - shown.top);
    printf("RESULT %s_start %.3f\n", name.c_str(), startMs);
    HWND window = record.PluginWnd;
    Pump();
    const bool layered = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_LAYERED) != 0 &&
                         !(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);

    auto updateTick = [&] {
        SendMessageA(window, WM_TIMER, TimerUpdate, 0);
        UpdateWindow(window); // the WM_PAINT that a painted renewal brings
    };
    auto netTick = [&] { SendMessageA(window, WM_TIMER, TimerNet, 0); };

    if (ticks > 0) {
        std::vector<double> samples(ticks);
        printf("  (%s: %s window)\n", name.c_str(), layered ? "layered" : "painted");
        TimeTicks((name + "_update").c_str(), 50, ticks, samples.data(), updateTick);
        TimeTicks((name + "_net").c_str(), 50, ticks, samples.data(), netTick);
    }
    if (memoryTicks > 0) {
        for (int i = 0; i < 50; ++i)
            updateTick(), netTick();
        Pump();
        const SIZE_T before = PrivateBytes();
        ResetAllocationCount();
        for (int i = 0; i < memoryTicks; ++i)
            updateTick(), netTick();
        const long allocations = AllocationCount();
        const bool counting = CheckCounting();
        Pump();
        const SIZE_T after = PrivateBytes();
        printf("  %-28s private bytes after start %lu KB, after %d ticks %lu KB (growth %ld KB)\n",
               name.c_str(), static_cast<unsigned long>(before / 1024), memoryTicks,
               static_cast<unsigned long>(after / 1024),
               static_cast<long>((long long)(after) - (long long)(before)) / 1024);
        printf("  %-28s heap allocations by the plug-in during %d update + %d network ticks: %ld"
               " (%d import entries watched)\n",
               name.c_str(), memoryTicks, memoryTicks, allocations, hooked);
        printf("  %-28s a call through the plug-in's malloc import %s counted\n", name.c_str(),
               counting ? "is" : "is NOT");
        printf("RESULT %s_memory %lu %lu %ld %d %d\n", name.c_str(),
               static_cast<unsigned long>(before), static_cast<unsigned long>(after), allocations,
               hooked, counting ? 1 : 0);
    }
    plugin.DoneModule();
    FreeLibrary(plugin.Module);
    DestroyWindow(shell);
    DestroyWindow(desktop);
    return 0;
}
