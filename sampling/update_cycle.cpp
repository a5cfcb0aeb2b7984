// The two ticks that keep the meters current: the network tick (levels and
// texts only) and the update tick (processor, memory, then the picture).
#include "sampling/sampling.h"
#include "plugin/plugin_state.h"
#include "render/render.h"

typedef BOOL(WINAPI* GlobalMemoryStatusExProc)(LPMEMORYSTATUSEX status);

static MEMORYSTATUS MemoryStatus;
static MEMORYSTATUSEX MemoryStatusEx;
static GlobalMemoryStatusExProc MemoryStatusExProc;
static bool MemoryStatusExLookedUp;

struct MemoryFigures {
    uint32_t Load;          // percent of physical memory in use
    uint32_t UsedMegabytes; // physical memory in use
};

// GlobalMemoryStatus caps its byte counts at 2 GB for this 32-bit module (or
// reports -1 beyond 4 GB), so a large machine's memory in use would read as
// 0 MB. GlobalMemoryStatusEx, where the system has it, gives true figures.
static MemoryFigures ReadMemory() {
    if (!MemoryStatusExLookedUp) {
        MemoryStatusExLookedUp = true;
        HMODULE kernel = GetModuleHandleA("kernel32.dll");
        if (kernel)
            MemoryStatusExProc = reinterpret_cast<GlobalMemoryStatusExProc>(
                reinterpret_cast<void*>(GetProcAddress(kernel, "GlobalMemoryStatusEx")));
    }
    MemoryStatusEx.dwLength = sizeof MemoryStatusEx;
    if (MemoryStatusExProc && MemoryStatusExProc(&MemoryStatusEx)) {
        uint64_t used = MemoryStatusEx.ullTotalPhys - MemoryStatusEx.ullAvailPhys;
        return MemoryFigures{MemoryStatusEx.dwMemoryLoad, static_cast<uint32_t>(used >> 20)};
    }
    MemoryStatus.dwLength = sizeof MemoryStatus;
    GlobalMemoryStatus(&MemoryStatus);
    uint32_t used = static_cast<uint32_t>(MemoryStatus.dwTotalPhys - MemoryStatus.dwAvailPhys);
    return MemoryFigures{MemoryStatus.dwMemoryLoad, used >> 20};
}

void NetTick() {
    SampleNet(&NetSample);
    NetInMeter.Headroom = 100 - NetSample.InPercent;
    NetOutMeter.Headroom = 100 - NetSample.OutPercent;
    if (NetInMeter.TextEnabled)
        FormatTraffic(&NetInMeter, static_cast<uint32_t>(NetSample.InBytes));
    if (NetOutMeter.TextEnabled)
        FormatTraffic(&NetOutMeter, static_cast<uint32_t>(NetSample.OutBytes));
    // Nothing is drawn: the next renewal of the picture shows these values.
}

void UpdateTick() {
    CpuMeter.Headroom = SampleCpu();
    MemoryFigures memory = ReadMemory();
    MemMeter.Headroom = 100 - static_cast<int32_t>(memory.Load);
    if (CpuMeter.TextEnabled)
        FormatPlain(&CpuMeter, static_cast<uint32_t>(100 - CpuMeter.Headroom));
    if (MemMeter.TextEnabled) FormatPlain(&MemMeter, memory.UsedMegabytes);
    if (PaintMode == 1)
        ComposeLayered();
    else
        InvalidateRect(PluginWindow, nullptr, TRUE);
}
