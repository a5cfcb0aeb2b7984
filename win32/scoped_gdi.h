// Small guards that give back what a drawing step takes, when the step's scope
// ends: device contexts, selections and GDI objects. Declare the object, then
// the context, then the selection, so they unwind in the safe order
// (selection undone, context deleted, object deleted).
#pragma once

#include <windows.h>

// The screen's device context (GetDC of no window).
struct ScopedScreenDC {
    HDC dc;
    ScopedScreenDC() : dc(GetDC(nullptr)) {}
    ~ScopedScreenDC() {
        if (dc) ReleaseDC(nullptr, dc);
    }
    ScopedScreenDC(const ScopedScreenDC&) = delete;
    ScopedScreenDC& operator=(const ScopedScreenDC&) = delete;
};

// A memory device context compatible with another one.
struct ScopedMemoryDC {
    HDC dc;
    explicit ScopedMemoryDC(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    ~ScopedMemoryDC() {
        if (dc) DeleteDC(dc);
    }
    ScopedMemoryDC(const ScopedMemoryDC&) = delete;
    ScopedMemoryDC& operator=(const ScopedMemoryDC&) = delete;
};

// Any GDI object that DeleteObject releases.
template <typename T> struct ScopedGdiObject {
    T object;
    explicit ScopedGdiObject(T o) : object(o) {}
    ~ScopedGdiObject() {
        if (object) DeleteObject(object);
    }
    ScopedGdiObject(const ScopedGdiObject&) = delete;
    ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
};

// Selects an object into a context and selects the previous one back. Nothing
// happens when either is missing.
struct ScopedSelect {
    HDC dc;
    HGDIOBJ previous;
    ScopedSelect(HDC d, HGDIOBJ object)
        : dc(d), previous(d && object ? SelectObject(d, object) : nullptr) {}
    ~ScopedSelect() {
        if (dc && previous) SelectObject(dc, previous);
    }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;
};

// A 32-bit bottom-up DIB section (header size 40, positive height, 1 plane,
// BI_RGB, every other field 0). `bits` is null when it could not be made.
struct ScopedDib {
    HBITMAP bitmap;
    void* bits;
    ScopedDib(HDC dc, int32_t width, int32_t height) : bitmap(nullptr), bits(nullptr) {
        if (width <= 0 || height <= 0) return;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap) bits = nullptr;
    }
    ~ScopedDib() {
        if (bitmap) DeleteObject(bitmap);
    }
    // Hands the bitmap to the caller, who then deletes it.
    HBITMAP Release() {
        HBITMAP b = bitmap;
        bitmap = nullptr;
        return b;
    }
    ScopedDib(const ScopedDib&) = delete;
    ScopedDib& operator=(const ScopedDib&) = delete;
};
