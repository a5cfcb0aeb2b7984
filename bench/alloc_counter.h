// Counts the heap allocations one module makes, by pointing its own import
// table entries for the allocation functions at counting wrappers. What the
// system allocates inside its own calls is not counted.
#pragma once

#include <windows.h>

// Patches the module's imports; answers how many entries were redirected.
int HookAllocations(HMODULE module);

// Allocations (malloc, calloc, realloc, _strdup, operator new, HeapAlloc,
// HeapReAlloc, LocalAlloc, GlobalAlloc, VirtualAlloc) since the last reset.
long AllocationCount();
void ResetAllocationCount();

// Calls malloc through the module's own patched import entry once and answers
// whether the counter saw it: the hooks are live, not just installed.
bool CheckCounting();
