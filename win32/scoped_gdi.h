// Small owners that give back what a drawing step takes, when the step's scope
// ends: device contexts, selections, GDI objects and DIB sections. Declare the
// object, then the context, then the selection, so they unwind in the safe
// order (selection undone, context deleted, object deleted). Each releases
// what it holds exactly once; moving one hands its handle over and leaves the
// source empty.
#pragma once

#include "win32/dib_info.h"
#include "win32/scoped_handle.h"

#include <windows.h>

#include <cstdint>
#include <utility>

// The screen's device context (GetDC of no window).
struct ScopedScreenDC {
    HDC dc;
    ScopedScreenDC() : dc(GetDC(nullptr)) {}
    ~ScopedScreenDC() {
        if (dc) ReleaseDC(nullptr, dc);
    }
    ScopedScreenDC(ScopedScreenDC&& other) : dc(std::exchange(other.dc, nullptr)) {}
    ScopedScreenDC& operator=(ScopedScreenDC&& other) {
        if (this != &other) {
            if (dc) ReleaseDC(nullptr, dc);
            dc = std::exchange(other.dc, nullptr);
        }
        return *this;
    }
};

// A window's painting (not movable: EndPaint needs the record BeginPaint filled): BeginPaint at the
// start, EndPaint at the end.
struct ScopedPaint {
    HWND window;
    PAINTSTRUCT paint;
    HDC dc;
    explicit ScopedPaint(HWND w) : window(w), paint(), dc(BeginPaint(w, &paint)) {}
    ~ScopedPaint() { EndPaint(window, &paint); }
    ScopedPaint(const ScopedPaint&) = delete;
    ScopedPaint& operator=(const ScopedPaint&) = delete;
};

// A memory device context compatible with another one.
struct ScopedMemoryDC {
    HDC dc;
    ScopedMemoryDC() : dc(nullptr) {}
    explicit ScopedMemoryDC(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    ~ScopedMemoryDC() {
        if (dc) DeleteDC(dc);
    }
    ScopedMemoryDC(ScopedMemoryDC&& other) : dc(std::exchange(other.dc, nullptr)) {}
    ScopedMemoryDC& operator=(ScopedMemoryDC&& other) {
        if (this != &other) {
            if (dc) DeleteDC(dc);
            dc = std::exchange(other.dc, nullptr);
        }
        return *this;
    }
};

// Selects an object into a context and selects the previous one back. Nothing
// happens when either is missing.
struct ScopedSelect {
    HDC dc;
    HGDIOBJ previous;
    ScopedSelect() : dc(nullptr), previous(nullptr) {}
    ScopedSelect(HDC d, HGDIOBJ object)
        : dc(d), previous(d && object ? SelectObject(d, object) : nullptr) {}
    ~ScopedSelect() { Undo(); }
    // Selects the previous object back now rather than at the scope's end.
    void Undo() {
        if (dc && previous) SelectObject(dc, previous);
        previous = nullptr;
    }
    ScopedSelect(ScopedSelect&& other)
        : dc(other.dc), previous(std::exchange(other.previous, nullptr)) {}
    ScopedSelect& operator=(ScopedSelect&& other) {
        if (this != &other) {
            Undo();
            dc = other.dc;
            previous = std::exchange(other.previous, nullptr);
        }
        return *this;
    }
};

// A 32-bit DIB section laid out as Dib32Info says. `bits` is null when it
// could not be made.
struct ScopedDib {
    HBITMAP bitmap;
    void* bits;
    ScopedDib() : bitmap(nullptr), bits(nullptr) {}
    ScopedDib(HDC dc, const BITMAPINFO& info) : ScopedDib() { Create(dc, info); }
    // Bottom-up rows, the plug-in's buffers; nothing is made for an empty or
    // negative size.
    ScopedDib(HDC dc, int32_t width, int32_t height) : ScopedDib() {
        if (width > 0 && height > 0) Create(dc, Dib32Info(width, height));
    }
    ~ScopedDib() {
        if (bitmap) DeleteObject(bitmap);
    }
    ScopedDib(ScopedDib&& other)
        : bitmap(std::exchange(other.bitmap, nullptr)), bits(std::exchange(other.bits, nullptr)) {}
    ScopedDib& operator=(ScopedDib&& other) {
        if (this != &other) {
            if (bitmap) DeleteObject(bitmap);
            bitmap = std::exchange(other.bitmap, nullptr);
            bits = std::exchange(other.bits, nullptr);
        }
        return *this;
    }
    // Hands the bitmap to the caller, who then deletes it.
    HBITMAP Release() {
        bits = nullptr;
        return std::exchange(bitmap, nullptr);
    }

  private:
    void Create(HDC dc, const BITMAPINFO& info) {
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!bitmap) bits = nullptr;
    }
};
