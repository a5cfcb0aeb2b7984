// The CPU samplers: the usage device and the dynamic registry statistics on
// the 95/98/Me family, the native system-information query on NT.
#pragma once

#include <windows.h>
#include <cstdint>

// Chooses the method for the system the host context names; the usage
// device is looked for beside the module.
void StartCpuSampler(HINSTANCE module);
void StopCpuSampler();

typedef uint8_t (*CpuSamplerProc)();
extern CpuSamplerProc SampleCpu; // answers the processor headroom

// Which method StartCpuSampler chose, for the tear-down and for tests.
enum CpuMethod { CpuMethodNone, CpuMethodVxd, CpuMethodRegistry, CpuMethodNt };
extern CpuMethod ChosenCpuMethod;
