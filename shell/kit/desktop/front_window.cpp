#include "shell/kit/desktop/front_window.h"

#include "shell/kit/desktop/desktop_windows.h"
#include "shell/kit/desktop/rules/front_window_rules.h"
#include "shell/kit/log/host_log.h"
#include "win32/proc_address.h"

namespace {

HWINEVENTHOOK ForegroundHook;
LayerPlace Layer = LayerPlace::Bottom;
HWND LayerAbove; // the shell's desktop window the layer is above, if any

ScreenBox BoxOf(const RECT& r) {
    return ScreenBox{r.left, r.top, r.right, r.bottom};
}

bool MonitorBox(HWND window, ScreenBox* box) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
    if (!monitor || !GetMonitorInfoA(monitor, &info)) return false;
    *box = BoxOf(info.rcMonitor);
    return true;
}

// Windows 8 and later keep some windows visible to the window manager but
// off the screen ("cloaked": the Start menu's and search's hosts, the apps
// of other virtual desktops). DwmGetWindowAttribute, DWMWA_CLOAKED (14):
// nonzero when cloaked; Windows 7 and earlier fail the call for that
// attribute.
// https://learn.microsoft.com/windows/win32/api/dwmapi/ne-dwmapi-dwmwindowattribute
bool IsCloaked(HWND window) {
    typedef HRESULT(WINAPI * GetAttributeProc)(HWND, DWORD, void*, DWORD);
    static const GetAttributeProc getAttribute =
        ProcAddress<GetAttributeProc>(LoadLibraryA("dwmapi.dll"), "DwmGetWindowAttribute");
    const DWORD DwmwaCloaked = 14;
    DWORD cloaked = 0;
    return getAttribute && getAttribute(window, DwmwaCloaked, &cloaked, sizeof cloaked) == S_OK &&
           cloaked != 0;
}

WindowFacts FactsOf(HWND window) {
    WindowFacts facts = {};
    // The system's desktop window (GetDesktopWindow) stands for no window
    // in front: it is in no window order, and covers the screen.
    if (!window || !IsWindow(window) || window == GetDesktopWindow()) return facts;
    facts.Exists = true;
    facts.Foreground = window == GetForegroundWindow();
    facts.Visible = IsWindowVisible(window) != FALSE;
    facts.Minimized = IsIconic(window) != FALSE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    facts.ShellDesktop = window == GetShellWindow() || IsShellDesktopClass(className);
    facts.Taskbar = IsTaskbarClass(className);
    facts.KitOwn = IsKitWindow(window);
    facts.ToolWindow = (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
    facts.Cloaked = IsCloaked(window);
    RECT place;
    if (GetWindowRect(window, &place)) facts.Place = BoxOf(place);
    MonitorBox(window, &facts.Monitor);
    return facts;
}

// SHQueryUserNotificationState (shell32, Vista and later), whose answer
// Windows also uses to hold back notifications.
// https://learn.microsoft.com/windows/win32/api/shellapi/nf-shellapi-shqueryusernotificationstate
UserState SystemUserState() {
    typedef HRESULT(WINAPI * QueryProc)(int*);
    const QueryProc query =
        ProcAddress<QueryProc>(GetModuleHandleA("shell32.dll"), "SHQueryUserNotificationState");
    int state = 0;
    if (!query || query(&state) != S_OK) return UserState::Unknown;
    switch (state) {
    case 2: // QUNS_BUSY
        return UserState::FullScreen;
    case 3: // QUNS_RUNNING_D3D_FULL_SCREEN
        return UserState::Direct3D;
    case 4: // QUNS_PRESENTATION_MODE
        return UserState::Presentation;
    }
    return UserState::NothingInFront;
}

void FollowForeground(HWND foreground) {
    const WindowFacts facts = FactsOf(foreground);
    const LayerPlace now = LayerPlaceAfter(facts, Layer);
    // The same place, unless another of the shell's desktop windows has
    // come to the front: then above that one.
    const bool otherDesktop =
        now == LayerPlace::AboveDesktop && facts.ShellDesktop && foreground != LayerAbove;
    if (now == Layer && !otherDesktop) return;
    Layer = now;
    LayerAbove = now == LayerPlace::AboveDesktop ? foreground : nullptr;
    PlaceDesktopInOrder(LayerAbove);
}

// Out of context: called on the host's thread while it reads its messages.
void CALLBACK OnForeground(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG, DWORD, DWORD) {
    if (object == OBJID_WINDOW) FollowForeground(window);
}

} // namespace

bool FullScreenAppInFront(HWND meter) {
    ScreenBox meterMonitor;
    const bool known = meter && MonitorBox(meter, &meterMonitor);
    return FullScreenProgramInFront(SystemUserState(), FactsOf(GetForegroundWindow()),
                                    known ? &meterMonitor : nullptr);
}

void StartForegroundWatch() {
    ForegroundHook =
        SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, OnForeground, 0,
                        0, WINEVENT_OUTOFCONTEXT | WINEVENT_SKIPOWNPROCESS);
    HostLog("ForegroundWatch %d", ForegroundHook ? 1 : 0);
    FollowForeground(GetForegroundWindow()); // the desktop may be in front already
}

void StopForegroundWatch() {
    if (ForegroundHook) UnhookWinEvent(ForegroundHook);
    ForegroundHook = nullptr;
}
