// The two ticks that keep the meters current: the network tick (levels and
// texts only) and the update tick (processor, memory, then the picture).
#include "sampling/sampling.h"
#include "plugin/plugin_state.h"
#include "render/render.h"

static MEMORYSTATUS MemoryStatus;

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
    MemoryStatus.dwLength = sizeof MemoryStatus;
    GlobalMemoryStatus(&MemoryStatus);
    MemMeter.Headroom = 100 - static_cast<int32_t>(MemoryStatus.dwMemoryLoad);
    if (CpuMeter.TextEnabled)
        FormatPlain(&CpuMeter, static_cast<uint32_t>(100 - CpuMeter.Headroom));
    if (MemMeter.TextEnabled) {
        uint32_t used = static_cast<uint32_t>(MemoryStatus.dwTotalPhys - MemoryStatus.dwAvailPhys);
        FormatPlain(&MemMeter, used >> 20);
    }
    if (PaintMode == 1)
        ComposeLayered();
    else
        InvalidateRect(PluginWindow, nullptr, TRUE);
}
