// Sampling the processor, the network and memory, and the update cycle.
#pragma once

#include "settings/settings.h"

struct NetSampleRecord {
    int32_t InPercent;
    int32_t OutPercent;
    int32_t InBytes;
    int32_t OutBytes;
};
extern NetSampleRecord NetSample;

typedef uint8_t (*CpuSamplerProc)();
extern CpuSamplerProc SampleCpu; // answers the processor headroom

void StartCpuSampler();
void StopCpuSampler();
// Loads IPHLPAPI.DLL and finds GetIfTable; false when the library is missing.
bool StartNetSampler();
void StopNetSampler(); // releases the library when held
void SampleNet(NetSampleRecord* sample);

void FormatPlain(Meter* meter, uint32_t value);
void FormatTraffic(Meter* meter, uint32_t bytes);

// WM_TIMER dispatch, shared with the window procedure.
LRESULT DispatchTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void NetTick();
void UpdateTick();
