#include "shell/kit/program/shell_window.h"

#include "host/host_records.h"
#include "shell/kit/desktop/desktop_windows.h"
#include "shell/kit/desktop/front_window.h"
#include "shell/kit/desktop/menu_closing_click.h"
#include "shell/kit/display_scale/display_scale.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/settings_dialog/properties.h"
#include "shell/kit/tray/tray_icon.h"
#include "win32/window_class.h"

namespace {

// Ends the message loop; main then stops the plug-in and removes the icon.
void EndHost(const char* reason) {
    HostLog("End %s", reason);
    PostQuitMessage(0);
}

const char* EndReasonName(WPARAM reason) {
    switch (reason) {
    case HostEndExit:
        return "exit";
    case HostEndCtrlC:
        return "Ctrl+C";
    case HostEndConsoleClosed:
        return "console closed";
    }
    return "close";
}

// The wallpaper, the colours or the screen changed: what the meter shows
// behind itself is painted afresh, on the desktop or as a window of its own.
void OnDesktopChanged() {
    DesktopChanged();
    HWND meter = HostSession().Record.PluginWnd;
    if (meter) RedrawWindow(meter, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK ShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case HostMsgMenuEnter:
        HostLog("HostMsgMenuEnter");
        return 0;
    case HostMsgMenuLeave:
        HostLog("HostMsgMenuLeave");
        // Sent by the meter right after its menu returned.
        DropMenuClosingClick();
        return 0;
    case HostMsgShowProperties: {
        const char* text = reinterpret_cast<const char*>(lParam);
        HostLog("HostMsgShowProperties \"%s\"", text ? text : "");
        // Sent from inside the plug-in's window procedure: the settings open
        // once that message has returned, so that applying them may restart
        // the plug-in.
        PostMessageA(window, KitMsgOpenProperties, 0, 0);
        return 0;
    }
    case KitMsgOpenProperties:
        ShowProperties(window);
        return 0;
    case KitMsgRestartPlugin:
        RestartPlugin();
        return 0;
    case HostMsgQueryFullScreen: {
        // Asked by the meter at its start, once its window is made.
        bool full = FullScreenAppInFront(HostSession().Record.PluginWnd);
        HostLog("HostMsgQueryFullScreen %d", full ? 1 : 0);
        return full ? 1 : 0;
    }
    case KitMsgEnd:
        EndHost(EndReasonName(wParam));
        return 0;
    case WM_TIMER:
        if (wParam != HostEndTimer) break;
        KillTimer(window, HostEndTimer);
        EndHost("time");
        return 0;
    case WM_CLOSE: // another program asks the host to end (taskkill, an uninstaller)
        EndHost("close");
        return 0;
    case KitMsgCheckScale:
        // The meter shows again at its monitor's scale, its corner in place.
        if (MeterScaleChanged(HostSession().Record.PluginWnd)) RestartPlugin();
        return 0;
    case WM_DPICHANGED: // a monitor's scale changed in the system's settings
        PostMessageA(window, KitMsgCheckScale, 0, 0);
        break;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_DISPLAYCHANGE:
        OnDesktopChanged();
        if (message != WM_SYSCOLORCHANGE) PostMessageA(window, KitMsgCheckScale, 0, 0);
        break;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        // The process may be ended at any moment once this returns: the
        // plug-in saves and stops, and the icon goes, before it does.
        if (!wParam) return 0;
        StopPlugin();
        RemoveTrayIcon();
        EndHost("session");
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateShellWindow(HINSTANCE instance) {
    RegisterWindowClass(instance, "VorlametHostShell", ShellProc);
    // A hidden top-level window, not a message-only one: only top-level
    // windows hear the system's broadcasts (settings, session end).
    return CreateWindowExA(0, "VorlametHostShell", "Vorlamet host shell", WS_OVERLAPPED, 0, 0, 0, 0,
                           nullptr, nullptr, instance, nullptr);
}
