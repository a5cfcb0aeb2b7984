// COM for the calling thread while a scope lasts: CoInitializeEx at the
// start, balanced by CoUninitialize only when it succeeded (a thread already
// in another apartment keeps it).
#pragma once

#include <windows.h>

#include <objbase.h>

struct ComScope {
    bool Initialized;
    ComScope() : Initialized(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComScope() {
        if (Initialized) CoUninitialize();
    }
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
};
