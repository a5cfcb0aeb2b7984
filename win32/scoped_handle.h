// An owner of one handle that a single call releases: it releases what it
// holds exactly once, when its scope ends or when it is given another; moving
// it hands the handle over and leaves the source empty. The handle kinds the
// plug-in and the kit release this way are named below.
#pragma once

#include <windows.h>

#include <utility>

template <typename T, BOOL(WINAPI* Close)(T)> struct ScopedHandle {
    T handle;
    explicit ScopedHandle(T h = nullptr) : handle(h) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(ScopedHandle&& other) : handle(std::exchange(other.handle, nullptr)) {}
    ScopedHandle& operator=(ScopedHandle&& other) {
        if (this != &other) Reset(std::exchange(other.handle, nullptr));
        return *this;
    }
    // Releases what it holds now and holds h instead.
    void Reset(T h = nullptr) {
        if (handle) Close(handle);
        handle = h;
    }
    // Hands the handle to the caller, who then releases it.
    T Release() { return std::exchange(handle, nullptr); }
};

// The releasing calls, wrapped: a system function's own address is no
// constant where it is imported from a DLL.
namespace scoped_close {
template <typename T> inline BOOL WINAPI GdiObject(T object) {
    return DeleteObject(object);
}
inline BOOL WINAPI Module(HMODULE module) {
    return FreeLibrary(module);
}
inline BOOL WINAPI Menu(HMENU menu) {
    return DestroyMenu(menu);
}
inline BOOL WINAPI Icon(HICON icon) {
    return DestroyIcon(icon);
}
// Files, folders and events; a failed CreateFile's INVALID_HANDLE_VALUE is
// held as nothing (see KernelHandle).
inline BOOL WINAPI KernelObject(HANDLE object) {
    return CloseHandle(object);
}
inline BOOL WINAPI RegistryKey(HKEY key) {
    return RegCloseKey(key) == ERROR_SUCCESS;
}
} // namespace scoped_close

template <typename T> using ScopedGdiObject = ScopedHandle<T, scoped_close::GdiObject<T>>;
using ScopedModule = ScopedHandle<HMODULE, scoped_close::Module>;
using ScopedMenu = ScopedHandle<HMENU, scoped_close::Menu>;
using ScopedIcon = ScopedHandle<HICON, scoped_close::Icon>; // one LoadImage made, not LR_SHARED
using ScopedKernelObject = ScopedHandle<HANDLE, scoped_close::KernelObject>;
using ScopedRegKey = ScopedHandle<HKEY, scoped_close::RegistryKey>;

// What CreateFile answers, as an owner holds it: null when it failed.
inline HANDLE KernelHandle(HANDLE created) {
    return created == INVALID_HANDLE_VALUE ? nullptr : created;
}
