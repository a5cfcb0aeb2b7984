#include "shell/kit/desktop/desktop_windows.h"

#include "shell/kit/desktop/demo_desktop.h"
#include "shell/kit/desktop/menu_closing_click.h"
#include "shell/kit/log/host_log.h"
#include "shell/tolvric/desktop_skin.h"
#include "win32/proc_address.h"
#include "win32/scoped_gdi.h"
#include "win32/window_class.h"

#include <cstdint>

namespace {

HWND DesktopWindowHandle;
HWND HandOffWindow; // the host's hidden window, which takes the activation the desktop gets
int DesktopSkinSource = DesktopSkinSystem;
UINT TaskbarCreated;      // broadcast to every top-level window when a shell starts
bool ActivationHeld;      // a press on a meter is being dropped: it activates nothing
HWND ShellDesktopInFront; // the shell's desktop window the desktop is right above (Show desktop)

// The layer's own pixels have this colour and are therefore not there: they
// neither show nor take clicks. A pixel that the meter paints in exactly this
// colour shows the desktop behind it instead, which is what the meter paints
// under its see-through pixels anyway.
const COLORREF LayerKey = RGB(3, 1, 2);

// Tells the service library which desktop DrawSkin paints; it then forgets
// the picture it keeps. A shell's own library may not offer the choice.
void TellDesktopSkin() {
    HMODULE library = GetModuleHandleA("tolvric.dll");
    auto setDesktopSkin = ProcAddress<SetDesktopSkinProc>(library, "SetDesktopSkin");
    int told = setDesktopSkin ? setDesktopSkin(DesktopSkinSource) : 0;
    HostLog("DesktopSkin %s %d", DesktopSkinSource == DesktopSkinSystem ? "system" : "wallpaper",
            told);
}

// Both desktops cover the virtual screen: every monitor, including those left
// of or above the main one, so that a Desktop-level meter can be on any of
// them. A child's coordinates are therefore counted from the virtual screen's
// corner, which is the screen's (0, 0) only while no monitor lies left of or
// above the main one.
RECT VirtualScreenRect() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (width <= 0 || height <= 0) // a system without the virtual screen's metrics
        return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    return RECT{x, y, x + width, y + height};
}

void LogPlace(const char* what, const RECT& place) {
    HostLog("Desktop %s %ldx%ld at %ld,%ld", what, place.right - place.left,
            place.bottom - place.top, place.left, place.top);
}

// Where the desktop goes in the window order: to the bottom, or right above
// the shell's desktop window in front, that is, after the window above that
// one (at the top of the ordinary windows where that is a topmost window,
// or none).
HWND InsertAfter(HWND desktop) {
    if (!ShellDesktopInFront || !IsWindow(ShellDesktopInFront)) return HWND_BOTTOM;
    HWND above = GetWindow(ShellDesktopInFront, GW_HWNDPREV);
    if (above == desktop) above = GetWindow(desktop, GW_HWNDPREV);
    if (!above || (GetWindowLongA(above, GWL_EXSTYLE) & WS_EX_TOPMOST)) return HWND_TOP;
    return above;
}

// After a display change (a monitor added, removed or moved, a resolution
// changed): the desktop covers the new virtual screen. When its corner moves,
// its children move the other way, so that each stays at the same place on
// the screen; a child that no monitor shows any more is the plug-in's to
// bring back.
void FollowVirtualScreen(HWND desktop) {
    RECT now;
    if (!desktop || !GetWindowRect(desktop, &now)) return;
    const RECT place = VirtualScreenRect();
    if (EqualRect(&now, &place)) return;
    SetWindowPos(desktop, InsertAfter(desktop), place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOACTIVATE);
    const int dx = now.left - place.left, dy = now.top - place.top;
    if (dx || dy)
        for (HWND child = GetWindow(desktop, GW_CHILD); child;
             child = GetWindow(child, GW_HWNDNEXT)) {
            RECT r;
            GetWindowRect(child, &r);
            MapWindowPoints(nullptr, desktop, reinterpret_cast<POINT*>(&r), 2);
            SetWindowPos(child, nullptr, r.left + dx, r.top + dy, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    LogPlace("moved", place);
}

// A meter on the desktop is a child window, and the system tells top-level
// windows only of a display or work-area change: each hears it from the
// desktop, after the desktop has followed the virtual screen, so that one
// that no monitor shows any more is brought back by the plug-in as a
// top-level meter is.
void TellChildren(HWND desktop, UINT message, WPARAM wParam, LPARAM lParam) {
    for (HWND child = GetWindow(desktop, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        SendMessageA(child, message, wParam, lParam);
}

// A message the desktop posts itself, and the timer that repeats it.
const UINT HandActivationOn = WM_APP + 1;
const UINT_PTR HandOnTimer = 1;

bool MouseButtonDown() {
    return GetAsyncKeyState(VK_LBUTTON) < 0 || GetAsyncKeyState(VK_RBUTTON) < 0 ||
           GetAsyncKeyState(VK_MBUTTON) < 0;
}

// The desktop passes the activation on to the host's hidden window, as soon
// as no click, drag or menu holds the pointer (a drag of a meter on it needs
// it active until the button is up; until then a short timer asks again, so
// the check costs nothing while the desktop is not active). A full-screen
// active window is a full-screen program to the system: Windows' shell then
// lets its taskbar and the appbars step aside for it, and Wine confines the
// pointer to it and hands every click to the topmost window at that point by
// the window order alone, without the colour key; Wine's notification area
// can lie below the desktop in that order (it is shown later, at the
// bottom), so its icon and the windows below get no click at all. It becomes
// active by a click on a meter on it, and under Wine also when a dialog or a
// menu closes: Wine chooses the next window to activate without regard to
// WS_EX_NOACTIVATE.
void OnHandActivationOn(HWND desktop) {
    if (GetForegroundWindow() != desktop || !HandOffWindow) {
        KillTimer(desktop, HandOnTimer);
        return;
    }
    if (GetCapture() || MouseButtonDown()) {
        SetTimer(desktop, HandOnTimer, 100, nullptr);
        return;
    }
    KillTimer(desktop, HandOnTimer);
    SetForegroundWindow(HandOffWindow);
    // Wine keeps the pointer confined after the activation moved on to
    // another window of the same program; a confinement to the whole screen
    // is none on Windows, so this frees only what the desktop brought about.
    RECT clip;
    const RECT screen = VirtualScreenRect();
    if (GetClipCursor(&clip) && EqualRect(&clip, &screen)) ClipCursor(nullptr);
    HostLog("Desktop handed the activation on");
}

// Whether the pointer is over the desktop itself rather than over a child.
bool OwnPixelUnderPointer(HWND desktop) {
    POINT p;
    if (!GetCursorPos(&p) || !ScreenToClient(desktop, &p)) return true;
    return ChildWindowFromPointEx(desktop, p, CWP_SKIPINVISIBLE) == desktop;
}

// What both desktops do: stay under every other window (the system keeps
// its own desktop, GetShellWindow, below the bottom, so the bottom is right
// above the wallpaper and the icons), are not activated by a click of their
// own, follow the virtual screen, and stay open until the host ends.
bool OnDesktopMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_WINDOWPOSCHANGING:
        // Whoever moves it in the order (the system on an activation, a
        // menu or a dialog; the window manager under Wine), it goes back to
        // the bottom, or right above the shell's desktop in front.
        reinterpret_cast<WINDOWPOS*>(lParam)->hwndInsertAfter = InsertAfter(window);
        *result = 0;
        return true;
    case WM_MOUSEACTIVATE:
        // A click on its own pixels that does reach it (a system that
        // ignores the colour key while a menu holds the pointer, as Wine
        // does) activates nothing: an active desktop would rise and keep the
        // pointer from the icon and the meter. A click on a meter on it
        // activates as usual: the system moves a window by its caption (the
        // meter's drag) only once its top-level window is active.
        // A press that is dropped starts no drag and activates nothing
        // either: under Wine the active full-screen layer would keep the
        // pointer after its activation was handed on.
        *result =
            ActivationHeld || MenuClosingClickHolds(HIWORD(lParam)) || OwnPixelUnderPointer(window)
                ? MA_NOACTIVATE
                : MA_ACTIVATE;
        return true;
    case WM_ACTIVATE:
        // Passed on from the message loop, after the click that may have
        // activated it has started its drag.
        if (LOWORD(wParam) != WA_INACTIVE) PostMessageA(window, HandActivationOn, 0, 0);
        return false;
    case HandActivationOn:
        OnHandActivationOn(window);
        *result = 0;
        return true;
    case WM_TIMER:
        if (wParam != HandOnTimer) return false;
        OnHandActivationOn(window);
        *result = 0;
        return true;
    case WM_DISPLAYCHANGE:
        FollowVirtualScreen(window);
        TellChildren(window, message, wParam, lParam);
        *result = 0;
        return true;
    case WM_SETTINGCHANGE:
        if (wParam != SPI_SETWORKAREA) return false;
        FollowVirtualScreen(window);
        TellChildren(window, message, wParam, lParam);
        *result = 0;
        return true;
    case WM_CLOSE:
        *result = 0;
        return true;
    }
    if (message == TaskbarCreated && TaskbarCreated) {
        // A restarted shell puts its own windows at the bottom: this one
        // goes under the kit's other windows again.
        ShellDesktopInFront = nullptr;
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        *result = 0;
        return true;
    }
    return false;
}

LRESULT CALLBACK LayerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnDesktopMessage(window, message, wParam, lParam, &result)) return result;
    // Its own pixels are not there for the pointer: the system's hit test
    // goes on to the window below (the desktop), whatever the colour key
    // does on this system. A meter on it is a child window, which answers
    // this message itself and keeps its clicks and drags.
    if (message == WM_NCHITTEST) return HTTRANSPARENT;
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (OnDesktopMessage(window, message, wParam, lParam, &result)) return result;
    if (OnDemoDesktopMessage(window, message, wParam, lParam, &result)) return result;
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM Register(HINSTANCE instance, const char* name, WNDPROC proc, HBRUSH brush) {
    return RegisterWindowClass(instance, name, proc, 0, LoadCursorA(nullptr, IDC_ARROW), brush);
}

// WS_EX_NOACTIVATE: neither a click nor the system's choice of the next
// window to activate makes it the active one (on systems that know the
// style). WS_EX_TOOLWINDOW: no button on the taskbar, no place in Alt+Tab.
HWND CreateDesktop(HINSTANCE instance, DWORD exStyle, const char* className, const char* title,
                   const RECT& place) {
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    DesktopWindowHandle =
        CreateWindowExA(exStyle | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className, title,
                        WS_POPUP | WS_CLIPCHILDREN, place.left, place.top, place.right - place.left,
                        place.bottom - place.top, nullptr, nullptr, instance, nullptr);
    return DesktopWindowHandle;
}

void ShowAtTheBottom(HWND window) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

} // namespace

void HoldDesktopActivation(bool held) {
    ActivationHeld = held;
}

HWND CreateDesktopLayer(HINSTANCE instance) {
    // The host's own window rather than the shell's: a child of the system's
    // desktop window is just another top-level window, and Explorer's
    // (Progman, WorkerW) live in another process, whose input queue the
    // meter would share (a hang in either would freeze both), differ between
    // Windows versions and vanish when Explorer restarts. A colour key makes
    // every pixel of the layer that the meter does not cover see-through and
    // click-through; WM_NCHITTEST, WM_MOUSEACTIVATE and the z-order
    // (OnDesktopMessage, LayerProc) keep it out of the way where the key is
    // not asked. Not WS_EX_TRANSPARENT: a layered window with that style is
    // passed over by the hit test together with its children, on Windows as
    // under Wine, and a Desktop-level meter would lose its clicks and drags.
    Register(instance, "VorlametHostLayer", LayerProc, CreateSolidBrush(LayerKey));
    const RECT place = VirtualScreenRect();
    HWND layer = CreateDesktop(instance, WS_EX_LAYERED, "VorlametHostLayer",
                               "Vorlamet desktop layer", place);
    if (!layer) return nullptr;
    if (!SetLayeredWindowAttributes(layer, LayerKey, 0, LWA_COLORKEY)) {
        DestroyWindow(layer);
        return DesktopWindowHandle = nullptr;
    }
    ShowAtTheBottom(layer);
    LogPlace("layer", place);
    DesktopSkinSource = DesktopSkinSystem;
    TellDesktopSkin();
    return layer;
}

HWND CreateDemoDesktop(HINSTANCE instance) {
    Register(instance, "VorlametHostDesktop", DemoProc, nullptr);
    const RECT place = VirtualScreenRect();
    HWND demo = CreateDesktop(instance, 0, "VorlametHostDesktop", "Vorlamet host desktop", place);
    if (!demo) return nullptr;
    ShowAtTheBottom(demo);
    LogPlace("demo", place);
    DesktopSkinSource = DesktopSkinWallpaper;
    TellDesktopSkin();
    return demo;
}

void DesktopChanged() {
    HostLog("DesktopChanged");
    FollowVirtualScreen(DesktopWindowHandle);
    TellDesktopSkin();
    if (DesktopWindowHandle)
        RedrawWindow(DesktopWindowHandle, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void SetDesktopHandOff(HWND window) {
    HandOffWindow = window;
}

bool IsKitWindow(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return window && process == GetCurrentProcessId();
}

void PlaceDesktopInOrder(HWND shellDesktopInFront) {
    ShellDesktopInFront = shellDesktopInFront;
    HWND desktop = DesktopWindowHandle;
    if (!desktop) return;
    SetWindowPos(desktop, InsertAfter(desktop), 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    HostLog("Desktop %s", shellDesktopInFront ? "above the shell's desktop" : "at the bottom");
}
