// The network tick and the update tick.
#include "sampling/update_cycle.h"

#include "sampling/cpu_sampler.h"
#include "sampling/meter_format.h"
#include "sampling/net_sampler.h"
#include "win32/proc_address.h"

#include <windows.h>

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
        MemoryStatusExProc = ProcAddress<GlobalMemoryStatusExProc>(GetModuleHandleA("kernel32.dll"),
                                                                   "GlobalMemoryStatusEx");
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
    const Meter& in = Settings.NetInMeter;
    const Meter& out = Settings.NetOutMeter;
    ReadingsRecord& readings = ReadingsToRenew();
    SampleNet();
    readings.NetIn.Headroom = 100 - NetSample.InPercent;
    readings.NetOut.Headroom = 100 - NetSample.OutPercent;
    if (in.TextEnabled)
        FormatTraffic(in, &readings.NetIn, static_cast<uint32_t>(NetSample.InBytes));
    if (out.TextEnabled)
        FormatTraffic(out, &readings.NetOut, static_cast<uint32_t>(NetSample.OutBytes));
    // Nothing is drawn: the next renewal of the picture shows these values.
}

void UpdateTick() {
    ReadingsRecord& readings = ReadingsToRenew();
    readings.Cpu.Headroom = SampleCpu();
    MemoryFigures memory = ReadMemory();
    readings.Mem.Headroom = 100 - static_cast<int32_t>(memory.Load);
    if (Settings.CpuMeter.TextEnabled)
        FormatPlain(Settings.CpuMeter, &readings.Cpu,
                    static_cast<uint32_t>(100 - readings.Cpu.Headroom));
    if (Settings.MemMeter.TextEnabled)
        FormatPlain(Settings.MemMeter, &readings.Mem, memory.UsedMegabytes);
}
