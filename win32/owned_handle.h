// Owners of kernel objects and registry keys: what they hold is closed when
// they end or are reset, so that a record in static storage can hold one for
// as long as it is needed and give it back at a single place.
#pragma once

#include <windows.h>

// A handle that CloseHandle releases (files, events, folders opened for
// change notices). Invalid: null or INVALID_HANDLE_VALUE.
struct OwnedHandle {
    HANDLE handle = nullptr;
    OwnedHandle() = default;
    explicit OwnedHandle(HANDLE h) : handle(h) {}
    ~OwnedHandle() { Reset(); }
    bool Valid() const { return handle && handle != INVALID_HANDLE_VALUE; }
    void Reset(HANDLE h = nullptr) {
        if (Valid()) CloseHandle(handle);
        handle = h;
    }
    OwnedHandle(const OwnedHandle&) = delete;
    OwnedHandle& operator=(const OwnedHandle&) = delete;
};

// An open registry key that RegCloseKey releases.
struct OwnedRegKey {
    HKEY key = nullptr;
    OwnedRegKey() = default;
    ~OwnedRegKey() {
        if (key) RegCloseKey(key);
    }
    OwnedRegKey(const OwnedRegKey&) = delete;
    OwnedRegKey& operator=(const OwnedRegKey&) = delete;
};
