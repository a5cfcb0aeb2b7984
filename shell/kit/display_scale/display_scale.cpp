#include "shell/kit/display_scale/display_scale.h"

#include "host/descriptor_records.h"
#include "shell/kit/configuration/config_path.h"
#include "shell/kit/configuration/kit_choices.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/skin_files/config_file.h"
#include "shell/skin_files/rules/descriptor_roles.h"
#include "shell/skin_files/rules/skin_scale.h"
#include "shell/tolvric/scale_view.h"
#include "win32/proc_address.h"
#include "win32/scoped_gdi.h"
#include "win32/scoped_handle.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

int32_t CurrentDpi = ScaleBaseDpi;
int32_t NextDpi = 0; // a scale found by following the meter; 0: from the saved place

const int32_t MonitorsMax = 16;

HWND ShellWindow;
HHOOK MessageHook;
bool Dragging;

// After a message sent to a window of the host's thread has been handled:
// for the meter's, whether it asks for a look at its scale.
LRESULT CALLBACK AfterSentMessage(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && sent && sent->hwnd && sent->hwnd == HostSession().Record.PluginWnd) {
        switch (sent->message) {
        case WM_ENTERSIZEMOVE:
            Dragging = true;
            break;
        case WM_EXITSIZEMOVE:
            Dragging = false;
            PostMessageA(ShellWindow, KitMsgCheckScale, 0, 0);
            break;
        case WM_DPICHANGED:
        case WM_DISPLAYCHANGE:
            if (!Dragging) PostMessageA(ShellWindow, KitMsgCheckScale, 0, 0);
            break;
        }
    }
    return CallNextHookEx(MessageHook, code, wParam, lParam);
}

BOOL CALLBACK OnMonitor(HMONITOR monitor, HDC, LPRECT area, LPARAM found) {
    auto* list = reinterpret_cast<std::vector<std::pair<RECT, HMONITOR>>*>(found);
    list->push_back({*area, monitor});
    return TRUE;
}

// The stand-in's answer: the monitor's place from the left in the list.
bool StandInDpi(HMONITOR monitor, int32_t* dpi) {
    int32_t dpis[MonitorsMax];
    const int32_t count = ParseMonitorDpis(getenv("VORLAMET_MONITOR_DPI"), dpis, MonitorsMax);
    if (count == 0) return false;
    std::vector<std::pair<RECT, HMONITOR>> monitors;
    EnumDisplayMonitors(nullptr, nullptr, OnMonitor, reinterpret_cast<LPARAM>(&monitors));
    std::sort(monitors.begin(), monitors.end(), [](const auto& a, const auto& b) {
        return a.first.left != b.first.left ? a.first.left < b.first.left
                                            : a.first.top < b.first.top;
    });
    int32_t index = 0;
    for (size_t i = 0; i < monitors.size(); ++i)
        if (monitors[i].second == monitor) index = int32_t(i);
    *dpi = dpis[std::min(index, count - 1)];
    return true;
}

// GetDpiForMonitor (Windows 8.1, shcore.dll) with the monitor's effective
// scale; before it, the system's one scale for every monitor.
int32_t SystemDpi(HMONITOR monitor) {
    typedef HRESULT(WINAPI * DpiForMonitorProc)(HMONITOR, int, UINT*, UINT*);
    static ScopedModule shcore(LoadLibraryA("shcore.dll"));
    static const auto dpiForMonitor =
        ProcAddress<DpiForMonitorProc>(shcore.handle, "GetDpiForMonitor");
    UINT x = 0, y = 0;
    const int effectiveDpi = 0; // MDT_EFFECTIVE_DPI
    if (dpiForMonitor && SUCCEEDED(dpiForMonitor(monitor, effectiveDpi, &x, &y))) return int32_t(x);
    ScopedScreenDC screen;
    return screen.dc ? GetDeviceCaps(screen.dc, LOGPIXELSX) : ScaleBaseDpi;
}

// The roles of the plug-in's settings; false when its descriptor has not
// their shape (then nothing is scaled).
bool PluginRoles(SettingRoles* roles) {
    const PluginSession& session = HostSession();
    const auto* descriptor = static_cast<const PluginInfo*>(
        session.Plugin.GetPluginInfo ? session.Plugin.GetPluginInfo() : nullptr);
    char reason[200];
    return descriptor && FindSettingRoles(*descriptor, roles, reason, sizeof reason);
}

SetSkinScaleProc LibraryScale() {
    return ProcAddress<SetSkinScaleProc>(GetModuleHandleA("tolvric.dll"), "SetSkinScale");
}

} // namespace

int32_t MonitorDpiAt(POINT point) {
    HMONITOR monitor = MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST);
    int32_t dpi = ScaleBaseDpi;
    if (!StandInDpi(monitor, &dpi)) dpi = SystemDpi(monitor);
    return UsableDpi(dpi);
}

void BeginStartScale() {
    const PluginSession& session = HostSession();
    SettingRoles roles;
    std::string text;
    const bool rolesFound = PluginRoles(&roles);
    ReadConfigFile(session.ConfigPath.c_str(), &text);
    POINT place = {0, 0};
    int32_t x = 0, y = 0;
    const bool saved = rolesFound && SavedPlace(roles, text.data(), text.size(), &x, &y);
    if (saved) place = {x, y};
    int32_t dpi = NextDpi ? NextDpi : MonitorDpiAt(place); // (0, 0) lies on the primary monitor
    NextDpi = 0;
    const bool scaling = ScaleWithDisplayChosen(LongConfigPath(session.ConfigPath));
    if (!scaling || !rolesFound) dpi = ScaleBaseDpi;
    CurrentDpi = dpi;
    if (saved)
        HostLog("Scale %d (%d %%) at %d,%d%s", dpi, dpi * 100 / ScaleBaseDpi, x, y,
                scaling ? "" : ", scaling off");
    else
        HostLog("Scale %d (%d %%) primary monitor%s", dpi, dpi * 100 / ScaleBaseDpi,
                scaling ? "" : ", scaling off");
    SetSkinScaleProc setSkinScale = LibraryScale();
    if (!setSkinScale || !rolesFound || !scaling) return; // off: the skin as it is
    static SkinScaleView view;                            // a few kilobytes: kept out of the stack
    BuildSkinScaleView(roles, text.data(), text.size(), dpi, &view);
    setSkinScale(&view);
}

void EndStartScale() {
    SetSkinScaleProc setSkinScale = LibraryScale();
    if (setSkinScale) setSkinScale(nullptr);
}

int32_t StartedDpi() {
    return CurrentDpi;
}

bool MeterScaleChanged(HWND meter) {
    RECT rect;
    if (Dragging || !meter || !GetWindowRect(meter, &rect)) return false;
    const bool scaling = ScaleWithDisplayChosen(LongConfigPath(HostSession().ConfigPath));
    const int32_t dpi = scaling ? MonitorDpiAt({rect.left, rect.top}) : ScaleBaseDpi;
    if (dpi == CurrentDpi) return false;
    HostLog("ScaleChange %d to %d at %ld,%ld", CurrentDpi, dpi, rect.left, rect.top);
    NextDpi = dpi;
    return true;
}

void StartFollowingScale(HWND shell) {
    ShellWindow = shell;
    if (!MessageHook)
        MessageHook =
            SetWindowsHookExA(WH_CALLWNDPROCRET, AfterSentMessage, nullptr, GetCurrentThreadId());
}

void StopFollowingScale() {
    if (MessageHook) UnhookWindowsHookEx(MessageHook);
    MessageHook = nullptr;
    Dragging = false;
}
