// The network sampler: the interface table read through IPHLPAPI.DLL's
// GetIfTable, summed into the last sample. The sampler holds the library
// from StartNetSampler to StopNetSampler.
#pragma once

#include "sampling/net_traffic.h"

#include <windows.h>

// Loads IPHLPAPI.DLL and finds GetIfTable; false when the library is missing.
bool StartNetSampler();
void StopNetSampler(); // releases the library when held
// Renews NetSample; all zero when there is nothing to read.
void SampleNet();

extern const NetReading& NetSample; // the last sample
extern HMODULE IpHelperModule;      // while StartNetSampler's load is held, else 0
