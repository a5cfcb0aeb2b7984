// Start-up and tear-down of the plug-in: InitGlobalModule and DoneModule call
// each area's start and stop in the order the shell and the system expect.
// The lifecycle itself holds the window class, the window, the timers and the
// application-bar registration.
#include "plugin/lifecycle.h"

#include "host/host_library.h"
#include "render/surface.h"
#include "render/surface_rules.h"
#include "sampling/cpu_sampler.h"
#include "sampling/meter_readings.h"
#include "sampling/net_sampler.h"
#include "settings/host_context.h"
#include "settings/load_settings.h"
#include "settings/release_settings.h"
#include "settings/settings_record.h"
#include "settings/window_levels.h"
#include "win32/window_class.h"
#include "window/lock_modes.h"
#include "window/placement.h"
#include "window/window_messages.h"
#include "window/window_proc.h"

#include <shellapi.h>

HINSTANCE ModuleInstance;
HWND PluginWindow;

static bool TimerUpdateRunning;
static bool TimerNetRunning;
static bool TimerGhostRunning;
static APPBARDATA FullScreenAppBar;

static const char ClassName[] = "Zelvo Resource Monitor";

static_assert(sizeof(APPBARDATA) == 36, "the application-bar record is 36 bytes");

static bool RegisterMeterClass() {
    return RegisterWindowClass(ModuleInstance, ClassName, MeterWindowProc, CS_HREDRAW | CS_VREDRAW,
                               LoadCursorA(nullptr, IDC_ARROW),
                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)) != 0;
}

static HWND CreateMeterWindow() {
    DWORD exStyle = 0;
    DWORD style = WS_POPUP;
    HWND parent = nullptr;
    const int32_t zOrder = Settings.ZOrder;
    switch (zOrder) {
    case ZOrderDesktop:
        style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        parent = HostContext.DesktopParent;
        break;
    case ZOrderNormal:
        exStyle = WS_EX_TOOLWINDOW | Surface.LayeredExStyle;
        break;
    case ZOrderAlwaysOnTop:
        exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | Surface.LayeredExStyle;
        break;
    }
    if (zOrder != ZOrderDesktop && Settings.LockMode == LockGhost) exStyle |= WS_EX_TRANSPARENT;
    const POINT at = PlaceAtStart(parent);
    return CreateWindowExA(exStyle, ClassName, nullptr, style, at.x, at.y,
                           Settings.Background.Width, Settings.Background.Height, parent, nullptr,
                           ModuleInstance, nullptr);
}

extern "C" int __stdcall InitGlobalModule(HostContextRecord* context) {
    LoadWindowCursors();
    if (!RegisterMeterClass()) return 0;
    KeepHostContext(context);
    // Without IPHLPAPI.DLL the plug-in does not start; the result means nothing.
    if (!StartNetSampler()) return 1;

    ResetReadings();
    if (!LoadSettings()) return 0;

    // What the system cannot show is dropped in memory; the configuration keeps it.
    CreateSurface();
    AdjustSettingsToSystem(Surface.BackgroundHasAlpha, Surface.LayeredAvailable);

    if (Settings.ZOrder < ZOrderDesktop || Settings.ZOrder > ZOrderAlwaysOnTop) return 1;
    PluginWindow = CreateMeterWindow();
    if (!PluginWindow) return 0;

    if (Settings.Transparency != 0 && Surface.LayeredAvailable && !Surface.BackgroundHasAlpha &&
        Settings.ZOrder > ZOrderDesktop)
        SetLayered(PluginWindow, 0, ConstantWindowAlpha(Settings.Transparency), SetLayeredAlpha);
    SetWindowLongA(PluginWindow, GWL_USERDATA, PluginWindowMagic);

    FullScreenAppBar = APPBARDATA{};
    FullScreenAppBar.cbSize = sizeof FullScreenAppBar;
    FullScreenAppBar.hWnd = PluginWindow;
    FullScreenAppBar.uCallbackMessage = AppBarCallbackMsg;
    SHAppBarMessage(ABM_NEW, &FullScreenAppBar);

    if (Settings.ZOrder == ZOrderAlwaysOnTop)
        HostContext.PluginRecord->PluginFlags |= PluginFlagAlwaysOnTop;
    ChooseSurfaceMode(PluginWindow, ShownPoint());

    TimerUpdateRunning = SetTimer(PluginWindow, TimerUpdate, Settings.Elapse, nullptr) != 0;
    if (Settings.LockMode == LockGhost)
        TimerGhostRunning = SetTimer(PluginWindow, TimerGhost, TimerGhostPeriod, nullptr) != 0;
    SampleNet(); // primes the network baseline
    StartCpuSampler(ModuleInstance);
    TimerNetRunning = SetTimer(PluginWindow, TimerNet, TimerNetPeriod, nullptr) != 0;
    HostContext.PluginRecord->PluginWnd = PluginWindow;

    // One network tick, then one update tick, so the window shows values at once.
    SendMessageA(PluginWindow, WM_TIMER, TimerNet, 0);
    SendMessageA(PluginWindow, WM_TIMER, TimerUpdate, 0);

    // Behind a full-screen program the meter starts at the bottom and is shown
    // without activation, which would bring it in front of that program.
    // Showing a hidden window can raise it all the same (Wine does), so the
    // move is repeated once the window is shown.
    const UINT bottomFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    bool bottom = Settings.ZOrder == ZOrderAlwaysOnTop &&
                  SendMessageA(HostContext.ShellWindow, HostMsgQueryFullScreen, 0, 0);
    if (bottom) SetWindowPos(PluginWindow, HWND_BOTTOM, 0, 0, 0, 0, bottomFlags);
    int shown = ShowWindow(PluginWindow, bottom ? SW_SHOWNA : SW_SHOW);
    if (bottom) SetWindowPos(PluginWindow, HWND_BOTTOM, 0, 0, 0, 0, bottomFlags);
    return shown;
}

extern "C" int __stdcall DoneModule() {
    if (TimerUpdateRunning) {
        KillTimer(PluginWindow, TimerUpdate);
        TimerUpdateRunning = false;
    }
    if (TimerGhostRunning) {
        KillTimer(PluginWindow, TimerGhost);
        TimerGhostRunning = false;
    }
    if (TimerNetRunning) {
        KillTimer(PluginWindow, TimerNet);
        TimerNetRunning = false;
    }
    ReleaseSettingsPictures();
    StopNetSampler();
    if (PluginWindow) {
        StopCpuSampler();
        DestroyWindow(PluginWindow);
        PluginWindow = nullptr;
        ResetLockState(); // a later start begins click-through again
    }
    // Also after a start that ended after CreateSurface but without a window:
    // BackBuffer is released rather than leaked on every failed start.
    ReleaseSurface();
    UnregisterClassA(ClassName, ModuleInstance);
    return ReleaseMeterFont();
}
