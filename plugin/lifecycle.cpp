// Start-up and tear-down of the plug-in: InitGlobalModule and DoneModule call
// each area's start and stop in the order the shell and the system expect.
// The lifecycle itself holds the window class, the window, the timers and the
// application-bar registration.
#include "plugin/plugin_state.h"

#include "host/host_library.h"
#include "render/render.h"
#include "render/surface_rules.h"
#include "sampling/sampling.h"
#include "settings/settings.h"
#include "window/lock_rules.h"
#include "window/window_parts.h"
#include "window/window_proc.h"
#include "win32/window_class.h"

#include <shellapi.h>
#include <cstring>

HINSTANCE ModuleInstance;
HostContextRecord HostContext;
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

// What the system cannot show is dropped in memory; the configuration keeps it.
static void AdjustToSystem() {
    if (BackgroundHasAlpha && !LayeredAvailable) ZOrder = ZOrderDesktop;
    if (ZOrder == ZOrderDesktop || !LayeredAvailable) {
        if (LockMode == LockGhost) LockMode = LockUnlocked;
        Transparency = 0;
    }
}

static HWND CreateMeterWindow() {
    DWORD exStyle = 0;
    DWORD style = WS_POPUP;
    HWND parent = nullptr;
    switch (ZOrder) {
    case ZOrderDesktop:
        style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
        parent = HostContext.DesktopParent;
        break;
    case ZOrderNormal:
        exStyle = WS_EX_TOOLWINDOW | LayeredExStyle;
        break;
    case ZOrderAlwaysOnTop:
        exStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | LayeredExStyle;
        break;
    }
    if (ZOrder != ZOrderDesktop && LockMode == LockGhost) exStyle |= WS_EX_TRANSPARENT;
    return CreateWindowExA(exStyle, ClassName, nullptr, style, WindowX, WindowY, Background.Width,
                           Background.Height, parent, nullptr, ModuleInstance, nullptr);
}

extern "C" int __stdcall InitGlobalModule(HostContextRecord* context) {
    LoadWindowCursors();
    if (!RegisterMeterClass()) return 0;
    memcpy(&HostContext, context, sizeof HostContext);
    // Without IPHLPAPI.DLL the plug-in does not start; the result means nothing.
    if (!StartNetSampler()) return 1;

    CpuMeter.Headroom = 100;
    MemMeter.Headroom = 100;
    NetInMeter.Headroom = 100;
    NetOutMeter.Headroom = 100;
    if (!LoadSettings()) return 0;

    BackgroundHasAlpha = Background.Kind == ImageKindAlpha ? -1 : 0;
    LayeredAvailable = CreateSurface() ? -1 : 0;
    AdjustToSystem();

    if (ZOrder < ZOrderDesktop || ZOrder > ZOrderAlwaysOnTop) return 1;
    PluginWindow = CreateMeterWindow();
    if (!PluginWindow) return 0;

    if (Transparency != 0 && LayeredAvailable && !BackgroundHasAlpha && ZOrder > ZOrderDesktop)
        SetLayered(PluginWindow, 0, ConstantWindowAlpha(Transparency), 2);
    SetWindowLongA(PluginWindow, GWL_USERDATA, PluginWindowMagic);

    FullScreenAppBar = APPBARDATA{};
    FullScreenAppBar.cbSize = sizeof FullScreenAppBar;
    FullScreenAppBar.hWnd = PluginWindow;
    FullScreenAppBar.uCallbackMessage = AppBarCallbackMsg;
    SHAppBarMessage(ABM_NEW, &FullScreenAppBar);

    if (ZOrder == ZOrderAlwaysOnTop) HostContext.PluginRecord->PluginFlags |= PluginFlagAlwaysOnTop;
    ChooseSurfaceMode();

    TimerUpdateRunning = SetTimer(PluginWindow, TimerUpdate, Elapse, nullptr) != 0;
    if (LockMode == LockGhost)
        TimerGhostRunning = SetTimer(PluginWindow, TimerGhost, 200, nullptr) != 0;
    SampleNet(&NetSample); // primes the network baseline
    StartCpuSampler();
    TimerNetRunning = SetTimer(PluginWindow, TimerNet, 1000, nullptr) != 0;
    HostContext.PluginRecord->PluginWnd = PluginWindow;

    // One network tick, then one update tick, so the window shows values at once.
    SendMessageA(PluginWindow, WM_TIMER, TimerNet, 0);
    SendMessageA(PluginWindow, WM_TIMER, TimerUpdate, 0);

    // Behind a full-screen program the meter starts at the bottom and is shown
    // without activation, which would bring it in front of that program.
    // Showing a hidden window can raise it all the same (Wine does), so the
    // move is repeated once the window is shown.
    const UINT bottomFlags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
    bool bottom = ZOrder == ZOrderAlwaysOnTop &&
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
        GhostInteractive = 0; // a later start begins click-through again
    }
    // Also after a start that ended after CreateSurface but without a window:
    // BackBuffer is released rather than leaked on every failed start.
    ReleaseSurface();
    UnregisterClassA(ClassName, ModuleInstance);
    return ReleaseMeterFont();
}
