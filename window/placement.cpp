// The monitors as the system reports them, for the placement rules; and
// moving the window between screen and parent coordinates.
#include "window/placement.h"

#include "render/surface.h"
#include "settings/settings_record.h"
#include "window/placement_rules.h"
#include "win32/proc_address.h"

namespace {

WindowPlaceRecord Record;

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

ScreenPoint PlaceOnMonitorsNow() {
    MonitorCount = 0;
    if (EnumDisplayMonitorsEntry && GetMonitorInfoEntry)
        EnumDisplayMonitorsEntry(nullptr, nullptr, AddMonitor, 0);
    else
        AddPrimaryScreen();
    return PlaceOnMonitors({Record.SavedPlaceX, Record.SavedPlaceY}, Settings.Background.Width,
                           Settings.Background.Height, Monitors, MonitorCount);
}

// A point of the screen in the coordinates a window with this parent is
// placed in. With the parent's client area at the screen's (0, 0) they agree.
POINT InParent(HWND parent, ScreenPoint at) {
    POINT point = {at.X, at.Y};
    if (parent) MapWindowPoints(HWND_DESKTOP, parent, &point, 1);
    return point;
}

} // namespace

const WindowPlaceRecord& Place = Record;

POINT ShownPoint() {
    return POINT{Record.WindowX, Record.WindowY};
}

POINT PlaceAtStart(HWND parent) {
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    EnumDisplayMonitorsEntry = ProcAddress<EnumDisplayMonitorsProc>(user32, "EnumDisplayMonitors");
    GetMonitorInfoEntry = ProcAddress<GetMonitorInfoProc>(user32, "GetMonitorInfoA");
    Record.SavedPlaceX = Settings.WindowX;
    Record.SavedPlaceY = Settings.WindowY;
    const ScreenPoint shown = PlaceOnMonitorsNow();
    Record.WindowX = shown.X;
    Record.WindowY = shown.Y;
    return InParent(parent, shown);
}

void PlaceAfterDisplayChange(HWND window) {
    const ScreenPoint shown = PlaceOnMonitorsNow();
    RECT now;
    GetWindowRect(window, &now);
    Record.WindowX = shown.X;
    Record.WindowY = shown.Y;
    if (now.left == shown.X && now.top == shown.Y) return;
    const HWND parent =
        (GetWindowLongA(window, GWL_STYLE) & WS_CHILD) ? GetParent(window) : nullptr;
    const POINT at = InParent(parent, shown);
    SetWindowPos(window, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    // A painted window shows what lies behind it, which has changed.
    if (Surface.PaintMode == SurfacePainted) InvalidateRect(window, nullptr, FALSE);
}

void MoveShownPlace(int32_t x, int32_t y) {
    Record.WindowX = x;
    Record.WindowY = y;
}

void SaveShownPlace() {
    Record.SavedPlaceX = Record.WindowX;
    Record.SavedPlaceY = Record.WindowY;
}

WindowPlaceRecord& PlaceForTests() {
    return Record;
}
