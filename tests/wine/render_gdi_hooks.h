// Counting the GDI objects and device contexts that a module makes, by
// patching its import table: every creation through the patched entries is
// remembered until it is deleted, so a leak shows as a live count that grows.
// A creation can also be made to fail on purpose, to drive failure paths.
#pragma once

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace gdi_hooks {

const int MaxLive = 8192;
inline HANDLE Live[MaxLive];
inline int LiveCount;
inline int Overflow;
// Countdown of creations; the creation that brings it from 1 to 0 fails.
inline int FailCountdown;

inline void Remember(HANDLE h) {
    if (!h) return;
    if (LiveCount < MaxLive)
        Live[LiveCount++] = h;
    else
        ++Overflow;
}
inline bool Forget(HANDLE h) {
    for (int i = LiveCount - 1; i >= 0; --i)
        if (Live[i] == h) {
            Live[i] = Live[--LiveCount];
            return true;
        }
    return false;
}
inline bool ShouldFail() {
    return FailCountdown > 0 && --FailCountdown == 0;
}

inline decltype(&CreateCompatibleDC) RealCreateCompatibleDC;
inline decltype(&CreateDIBSection) RealCreateDIBSection;
inline decltype(&CreateCompatibleBitmap) RealCreateCompatibleBitmap;
inline decltype(&CreateBitmap) RealCreateBitmap;
inline decltype(&DeleteDC) RealDeleteDC;
inline decltype(&DeleteObject) RealDeleteObject;
inline decltype(&GetDC) RealGetDC;
inline decltype(&ReleaseDC) RealReleaseDC;

inline HDC WINAPI HookCreateCompatibleDC(HDC dc) {
    if (ShouldFail()) return nullptr;
    HDC h = RealCreateCompatibleDC(dc);
    Remember(h);
    return h;
}
inline HBITMAP WINAPI HookCreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                           HANDLE section, DWORD offset) {
    if (ShouldFail()) {
        if (bits) *bits = nullptr;
        return nullptr;
    }
    HBITMAP h = RealCreateDIBSection(dc, info, usage, bits, section, offset);
    Remember(h);
    return h;
}
inline HBITMAP WINAPI HookCreateCompatibleBitmap(HDC dc, int w, int h) {
    if (ShouldFail()) return nullptr;
    HBITMAP b = RealCreateCompatibleBitmap(dc, w, h);
    Remember(b);
    return b;
}
inline HBITMAP WINAPI HookCreateBitmap(int w, int h, UINT planes, UINT bpp, const void* bits) {
    HBITMAP b = RealCreateBitmap(w, h, planes, bpp, bits);
    Remember(b);
    return b;
}
inline BOOL WINAPI HookDeleteDC(HDC dc) {
    BOOL ok = RealDeleteDC(dc);
    if (ok) Forget(dc);
    return ok;
}
inline BOOL WINAPI HookDeleteObject(HGDIOBJ o) {
    BOOL ok = RealDeleteObject(o);
    if (ok) Forget(o);
    return ok;
}
inline HDC WINAPI HookGetDC(HWND w) {
    HDC dc = RealGetDC(w);
    Remember(dc);
    return dc;
}
inline int WINAPI HookReleaseDC(HWND w, HDC dc) {
    int ok = RealReleaseDC(w, dc);
    if (ok) Forget(dc);
    return ok;
}

// Replaces, in one module's import table, every entry that points at `real`.
inline int PatchImport(HMODULE module, void* real, void* hook) {
    if (!module || !real) return 0;
    auto base = reinterpret_cast<uint8_t*>(module);
    auto dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!dir.VirtualAddress) return 0;
    int patched = 0;
    for (auto imp = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
         imp->Name; ++imp) {
        for (auto thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + imp->FirstThunk);
             thunk->u1.Function; ++thunk) {
            if (reinterpret_cast<void*>(thunk->u1.Function) != real) continue;
            DWORD old;
            VirtualProtect(&thunk->u1.Function, sizeof(void*), PAGE_READWRITE, &old);
            thunk->u1.Function = reinterpret_cast<ULONG_PTR>(hook);
            VirtualProtect(&thunk->u1.Function, sizeof(void*), old, &old);
            ++patched;
        }
    }
    return patched;
}

template <typename F> void Lookup(HMODULE lib, const char* name, F* out) {
    *out = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(lib, name)));
}

// Patches the module's gdi32 and user32 entries; answers how many entries
// were replaced (0 would mean nothing is being counted). A module already
// patched answers its first count again.
inline HMODULE InstalledModules[8];
inline int InstalledCounts[8];
inline int Install(HMODULE module) {
    for (int i = 0; i < 8; ++i)
        if (InstalledModules[i] == module) return InstalledCounts[i];
    HMODULE gdi = GetModuleHandleA("gdi32.dll");
    HMODULE user = GetModuleHandleA("user32.dll");
    Lookup(gdi, "CreateCompatibleDC", &RealCreateCompatibleDC);
    Lookup(gdi, "CreateDIBSection", &RealCreateDIBSection);
    Lookup(gdi, "CreateCompatibleBitmap", &RealCreateCompatibleBitmap);
    Lookup(gdi, "CreateBitmap", &RealCreateBitmap);
    Lookup(gdi, "DeleteDC", &RealDeleteDC);
    Lookup(gdi, "DeleteObject", &RealDeleteObject);
    Lookup(user, "GetDC", &RealGetDC);
    Lookup(user, "ReleaseDC", &RealReleaseDC);
    int n = 0;
    n += PatchImport(module, (void*)RealCreateCompatibleDC, (void*)HookCreateCompatibleDC);
    n += PatchImport(module, (void*)RealCreateDIBSection, (void*)HookCreateDIBSection);
    n += PatchImport(module, (void*)RealCreateCompatibleBitmap, (void*)HookCreateCompatibleBitmap);
    n += PatchImport(module, (void*)RealCreateBitmap, (void*)HookCreateBitmap);
    n += PatchImport(module, (void*)RealDeleteDC, (void*)HookDeleteDC);
    n += PatchImport(module, (void*)RealDeleteObject, (void*)HookDeleteObject);
    n += PatchImport(module, (void*)RealGetDC, (void*)HookGetDC);
    n += PatchImport(module, (void*)RealReleaseDC, (void*)HookReleaseDC);
    for (int i = 0; i < 8; ++i)
        if (!InstalledModules[i]) {
            InstalledModules[i] = module;
            InstalledCounts[i] = n;
            break;
        }
    return n;
}

} // namespace gdi_hooks
