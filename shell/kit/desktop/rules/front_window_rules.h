// What the window in front means to the kit: whether a full-screen program
// runs there (an Always on top meter then starts at the bottom), and whether
// Explorer's desktop has come to the front (Show desktop: the desktop layer
// then goes right above it). The facts about one window are gathered by the
// host program; the rules here read them.
#pragma once

#include <cstdint>

struct ScreenBox {
    int32_t Left, Top, Right, Bottom;
};

// One top-level window as the host program sees it.
struct WindowFacts {
    bool Exists;     // a window at all (no foreground window: false)
    bool Foreground; // the system's foreground window
    bool Visible;
    bool Minimized;
    // The shell's desktop: the shell window (GetShellWindow) or a window of
    // Explorer's desktop classes (Progman, WorkerW; see IsShellDesktopClass).
    bool ShellDesktop;
    bool Taskbar;    // the shell's taskbar on any monitor (IsTaskbarClass)
    bool KitOwn;     // a window of the kit itself
    bool ToolWindow; // WS_EX_TOOLWINDOW: a palette, a host of the shell's own
    bool Cloaked;    // the system keeps it from view (DWMWA_CLOAKED)
    ScreenBox Place;
    ScreenBox Monitor; // the monitor nearest to it
};

// Explorer's desktop window classes: "Progman" (the shell window) and, on
// Windows 8 and later, "WorkerW" (the desktop behind the icons, which Show
// desktop brings to the front).
bool IsShellDesktopClass(const char* className);
// Explorer's taskbar: "Shell_TrayWnd" on the main monitor,
// "Shell_SecondaryTrayWnd" on the others.
bool IsTaskbarClass(const char* className);

// Whether the window covers its monitor.
bool CoversMonitor(const WindowFacts& window);

// A program in full-screen mode: the foreground window, shown, covering its
// monitor, and none of the shell's desktop windows, the taskbar, the kit's
// own, a tool window or a cloaked one (Windows 10 and 11 keep the Start
// menu's and search's hosts visible, full-screen and cloaked).
bool IsFullScreenProgram(const WindowFacts& window);

// What the system says of the user's state (SHQueryUserNotificationState).
enum class UserState {
    Unknown,        // the call is missing or failed
    FullScreen,     // QUNS_BUSY: a full-screen program or presentation settings
    Direct3D,       // QUNS_RUNNING_D3D_FULL_SCREEN: an exclusive Direct3D game
    Presentation,   // QUNS_PRESENTATION_MODE
    NothingInFront, // QUNS_ACCEPTS_NOTIFICATIONS and the others
};

// Whether a full-screen program is in front of the meter: yes when the system
// says one runs; otherwise the foreground window decides (an answer of
// "nothing" is not taken as final: Wine answers it whatever runs, and a
// window covering its monitor in the foreground is one on Windows too).
// Either way a full-screen program known to be on another monitor than the
// meter's is not in front of it. meterMonitor: null when not known.
bool FullScreenProgramInFront(UserState state, const WindowFacts& foreground,
                              const ScreenBox* meterMonitor);

// Where the desktop layer is in the window order.
enum class LayerPlace {
    Bottom,       // right above the shell's desktop, below every program
    AboveDesktop, // right above the shell's desktop window that is in front
};

// Where the layer goes when this window has become the foreground one: the
// shell's desktop in front (Show desktop, Aero Peek, the taskbar's corner)
// keeps the desktop's meters on view; a program coming back puts the layer
// back at the bottom. The taskbar, tool windows, cloaked windows (the Start
// menu) and the kit's own leave it where it is.
LayerPlace LayerPlaceAfter(const WindowFacts& foreground, LayerPlace now);
