// The network sampler's hold on IPHLPAPI.DLL, for the tests.
#pragma once

#include <windows.h>

extern HMODULE IpHelperModule; // while StartNetSampler's load is held, else 0
