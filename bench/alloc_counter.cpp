#include "bench/alloc_counter.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

volatile long Allocations;

void Count() {
    InterlockedIncrement(&Allocations);
}

// The runtime's entries (cdecl), with the originals they forward to.
void*(__cdecl* RealMalloc)(size_t);
void*(__cdecl* RealCalloc)(size_t, size_t);
void*(__cdecl* RealRealloc)(void*, size_t);
char*(__cdecl* RealStrdup)(const char*);
void*(__cdecl* RealNew)(size_t);
void*(__cdecl* RealNewArray)(size_t);
void* __cdecl CountedMalloc(size_t n) {
    Count();
    return RealMalloc(n);
}
void* __cdecl CountedCalloc(size_t n, size_t s) {
    Count();
    return RealCalloc(n, s);
}
void* __cdecl CountedRealloc(void* p, size_t n) {
    Count();
    return RealRealloc(p, n);
}
char* __cdecl CountedStrdup(const char* s) {
    Count();
    return RealStrdup(s);
}
void* __cdecl CountedNew(size_t n) {
    Count();
    return RealNew(n);
}
void* __cdecl CountedNewArray(size_t n) {
    Count();
    return RealNewArray(n);
}

// The system's entries (stdcall).
LPVOID(WINAPI* RealHeapAlloc)(HANDLE, DWORD, SIZE_T);
LPVOID(WINAPI* RealHeapReAlloc)(HANDLE, DWORD, LPVOID, SIZE_T);
HLOCAL(WINAPI* RealLocalAlloc)(UINT, SIZE_T);
HGLOBAL(WINAPI* RealGlobalAlloc)(UINT, SIZE_T);
LPVOID(WINAPI* RealVirtualAlloc)(LPVOID, SIZE_T, DWORD, DWORD);
LPVOID WINAPI CountedHeapAlloc(HANDLE h, DWORD f, SIZE_T n) {
    Count();
    return RealHeapAlloc(h, f, n);
}
LPVOID WINAPI CountedHeapReAlloc(HANDLE h, DWORD f, LPVOID p, SIZE_T n) {
    Count();
    return RealHeapReAlloc(h, f, p, n);
}
HLOCAL WINAPI CountedLocalAlloc(UINT f, SIZE_T n) {
    Count();
    return RealLocalAlloc(f, n);
}
HGLOBAL WINAPI CountedGlobalAlloc(UINT f, SIZE_T n) {
    Count();
    return RealGlobalAlloc(f, n);
}
LPVOID WINAPI CountedVirtualAlloc(LPVOID a, SIZE_T n, DWORD t, DWORD p) {
    Count();
    return RealVirtualAlloc(a, n, t, p);
}

struct Hook {
    const char* Name;
    void* Wrapper;
    void** Original;
};
const Hook Hooks[] = {
    {"malloc", reinterpret_cast<void*>(CountedMalloc), reinterpret_cast<void**>(&RealMalloc)},
    {"calloc", reinterpret_cast<void*>(CountedCalloc), reinterpret_cast<void**>(&RealCalloc)},
    {"realloc", reinterpret_cast<void*>(CountedRealloc), reinterpret_cast<void**>(&RealRealloc)},
    {"_strdup", reinterpret_cast<void*>(CountedStrdup), reinterpret_cast<void**>(&RealStrdup)},
    {"??2@YAPAXI@Z", reinterpret_cast<void*>(CountedNew), reinterpret_cast<void**>(&RealNew)},
    {"??_U@YAPAXI@Z", reinterpret_cast<void*>(CountedNewArray),
     reinterpret_cast<void**>(&RealNewArray)},
    {"HeapAlloc", reinterpret_cast<void*>(CountedHeapAlloc),
     reinterpret_cast<void**>(&RealHeapAlloc)},
    {"HeapReAlloc", reinterpret_cast<void*>(CountedHeapReAlloc),
     reinterpret_cast<void**>(&RealHeapReAlloc)},
    {"LocalAlloc", reinterpret_cast<void*>(CountedLocalAlloc),
     reinterpret_cast<void**>(&RealLocalAlloc)},
    {"GlobalAlloc", reinterpret_cast<void*>(CountedGlobalAlloc),
     reinterpret_cast<void**>(&RealGlobalAlloc)},
    {"VirtualAlloc", reinterpret_cast<void*>(CountedVirtualAlloc),
     reinterpret_cast<void**>(&RealVirtualAlloc)},
};

void** MallocSlot; // the module's own import entry for malloc, once patched

bool Patch(void** slot, void* value) {
    DWORD old;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old)) return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, old, &old);
    return true;
}

} // namespace

int HookAllocations(HMODULE module) {
    BYTE* base = reinterpret_cast<BYTE*>(module);
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return 0;
    int patched = 0;
    for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name;
         ++d) {
        const char* dllName = reinterpret_cast<const char*>(base + d->Name);
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(
            base + (d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk));
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const char* name =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name;
            for (const Hook& hook : Hooks) {
                if (std::strcmp(name, hook.Name) != 0) continue;
                void** slot = reinterpret_cast<void**>(&slots->u1.Function);
                if (*slot == hook.Wrapper) break;
                *hook.Original = *slot;
                if (Patch(slot, hook.Wrapper)) {
                    ++patched;
                    if (hook.Wrapper == reinterpret_cast<void*>(CountedMalloc)) MallocSlot = slot;
                    printf("  (counting the plug-in's import %s!%s)\n", dllName, name);
                }
                break;
            }
        }
    }
    return patched;
}

long AllocationCount() {
    return Allocations;
}

void ResetAllocationCount() {
    InterlockedExchange(&Allocations, 0);
}

bool CheckCounting() {
    if (!MallocSlot) return false;
    const long before = AllocationCount();
    auto viaImport = reinterpret_cast<void*(__cdecl*)(size_t)>(*MallocSlot);
    void* block = viaImport(16);
    free(block);
    const bool counted = AllocationCount() == before + 1;
    InterlockedExchangeAdd(&Allocations, -1); // the check's own call is not the module's
    return counted;
}
