#include "shell/host/shell_windows.h"

#include "host/host_records.h"
#include "shell/common/wallpaper.h"
#include "shell/host/host_log.h"
#include "shell/host/plugin_session.h"
#include "shell/host/properties.h"

static HWND DesktopWindowHandle;

// Paints the wallpaper row by row through one DIB section.
static void PaintWallpaper(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    const RECT& r = paint.rcPaint;
    const int w = r.right - r.left, h = r.bottom - r.top;
    if (w > 0 && h > 0) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = w;
        info.bmiHeader.biHeight = -h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap && bits) {
            POINT origin = {r.left, r.top};
            ClientToScreen(window, &origin);
            uint32_t* pixels = static_cast<uint32_t*>(bits);
            for (int y = 0; y < h; ++y)
                WallpaperRow(pixels + y * w, origin.x, origin.y + y, w, screenW, screenH);
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, bitmap);
            BitBlt(dc, r.left, r.top, w, h, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        if (bitmap) DeleteObject(bitmap);
    }
    EndPaint(window, &paint);
}

static LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        PaintWallpaper(window);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ClientToScreen(window, &p);
        HostLog("DesktopClick %s %ld %ld", message == WM_LBUTTONDOWN ? "left" : "right", p.x, p.y);
        return 0;
    }
    case WM_WINDOWPOSCHANGING: // the desktop stays under everything
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = HWND_BOTTOM;
        return 0;
    case WM_CLOSE:
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT CALLBACK ShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case HostMsgMenuEnter:
        HostLog("HostMsgMenuEnter");
        return 0;
    case HostMsgMenuLeave:
        HostLog("HostMsgMenuLeave");
        return 0;
    case HostMsgShowProperties: {
        const char* text = reinterpret_cast<const char*>(lParam);
        HostLog("HostMsgShowProperties \"%s\"", text ? text : "");
        // Sent from inside the plug-in's window procedure: the settings open
        // once that message has returned, so that applying them may restart
        // the plug-in.
        PostMessageA(window, HostMsgOpenProperties, 0, 0);
        return 0;
    }
    case HostMsgOpenProperties:
        ShowProperties(window);
        return 0;
    case HostMsgRestartPlugin:
        RestartPlugin();
        return 0;
    case HostMsgQueryFullScreen: {
        bool full = FullScreenAppInFront(nullptr);
        HostLog("HostMsgQueryFullScreen %d", full ? 1 : 0);
        return full ? 1 : 0;
    }
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static ATOM Register(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH brush) {
    WNDCLASSA c = {};
    c.lpfnWndProc = proc;
    c.hInstance = instance;
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hbrBackground = brush;
    c.lpszClassName = name;
    return RegisterClassA(&c);
}

HWND CreateDesktopWindow(HINSTANCE instance) {
    Register(instance, "VorlametHostDesktop", DesktopProc, nullptr);
    DesktopWindowHandle = CreateWindowExA(
        WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, "VorlametHostDesktop", "Vorlamet host desktop",
        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, GetSystemMetrics(SM_CXSCREEN),
        GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
    if (DesktopWindowHandle)
        SetWindowPos(DesktopWindowHandle, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return DesktopWindowHandle;
}

HWND CreateShellWindow(HINSTANCE instance) {
    Register(instance, "VorlametHostShell", ShellProc, nullptr);
    return CreateWindowExA(0, "VorlametHostShell", "Vorlamet host shell", WS_OVERLAPPED, 0, 0, 0, 0,
                           nullptr, nullptr, instance, nullptr);
}

HWND CreateFullScreenApp(HINSTANCE instance) {
    Register(instance, "VorlametHostFullScreenApp", FullScreenProc,
             static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    return CreateWindowExA(WS_EX_TOPMOST, "VorlametHostFullScreenApp", "Full-screen program",
                           WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
}

bool FullScreenAppInFront(HWND except) {
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    const int screenH = GetSystemMetrics(SM_CYSCREEN);
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (w == except || w == DesktopWindowHandle || !IsWindowVisible(w)) continue;
        RECT r;
        if (GetWindowRect(w, &r) && r.left <= 0 && r.top <= 0 && r.right >= screenW &&
            r.bottom >= screenH)
            return true;
    }
    return false;
}
