// The monitors as the system reports them, for the placement rules; and
// moving the window between screen and parent coordinates.
#include "window/placement.h"

#include "render/render.h"
#include "settings/settings.h"
#include "window/placement_rules.h"
#include "win32/proc_address.h"

int32_t SavedPlaceX;
int32_t SavedPlaceY;

namespace {

const int32_t MaxMonitors = 16;
MonitorArea Monitors[MaxMonitors];
int32_t MonitorCount;

// Windows 98 and 2000 brought several monitors; on 95 and NT 4.0 these stay
// null and the one screen there is stands for them.
typedef BOOL(WINAPI* EnumDisplayMonitorsProc)(HDC, LPCRECT, MONITORENUMPROC, LPARAM);
typedef BOOL(WINAPI* GetMonitorInfoProc)(HMONITOR, LPMONITORINFO);
EnumDisplayMonitorsProc EnumDisplayMonitorsEntry;
GetMonitorInfoProc GetMonitorInfoEntry;

ScreenRect FromRect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// Fills Monitors, the main monitor first: the rules prefer the first of
// equally near ones.
BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (MonitorCount == MaxMonitors || !GetMonitorInfoEntry(monitor, &info)) return TRUE;
    int32_t at = MonitorCount++;
    if (info.dwFlags & MONITORINFOF_PRIMARY) {
        for (; at > 0; --at)
            Monitors[at] = Monitors[at - 1];
    }
    Monitors[at] = {FromRect(info.rcMonitor), FromRect(info.rcWork)};
    return TRUE;
}

// The primary screen and its work area, where the system knows one screen only.
void AddPrimaryScreen() {
    const ScreenRect screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT work;
    Monitors[0] = {screen,
                   SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0) ? FromRect(work) : screen};
    MonitorCount = 1;
}

ScreenPoint ShownPlace() {
    MonitorCount = 0;
    if (EnumDisplayMonitorsEntry && GetMonitorInfoEntry)
        EnumDisplayMonitorsEntry(nullptr, nullptr, AddMonitor, 0);
    else
        AddPrimaryScreen();
    return PlaceOnMonitors({SavedPlaceX, SavedPlaceY}, Background.Width, Background.Height,
                           Monitors, MonitorCount);
}

// A point of the screen in the coordinates a window with this parent is
// placed in. With the parent's client area at the screen's (0, 0) they agree.
POINT InParent(HWND parent, ScreenPoint at) {
    POINT point = {at.X, at.Y};
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, &point, 1);
    return point;
}

} // namespace

POINT PlaceAtStart(HWND parent) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    EnumDisplayMonitorsEntry = ProcAddress<EnumDisplayMonitorsProc>(user32, "EnumDisplayMonitors");
    GetMonitorInfoEntry = ProcAddress<GetMonitorInfoProc>(user32, "GetMonitorInfoA");
    SavedPlaceX = WindowX;
    SavedPlaceY = WindowY;
    const ScreenPoint shown = ShownPlace();
    WindowX = shown.X;
    WindowY = shown.Y;
    return InParent(parent, shown);
}

void PlaceAfterDisplayChange(HWND window) {
    const ScreenPoint shown = ShownPlace();
    RECT now;
    GetWindowRect(window, &now);
    WindowX = shown.X;
    WindowY = shown.Y;
    if (now.left == shown.X && now.top == shown.Y) return;
    const HWND parent =
        (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    const POINT at = InParent(parent, shown);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A painted window shows what lies behind it, which has changed.
    if (PaintMode == 0) InvalidateRect(window, nullptr, FALSE);
}
