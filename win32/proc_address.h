// Looking up a call at run time, typed: the one place that casts what
// GetProcAddress answers. A null module answers null without asking the
// system, so a caller can pass GetModuleHandleA's answer straight in and keep
// its fallback beside the lookup.
#pragma once

#include <windows.h>

template <typename Proc> inline Proc ProcAddress(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}
