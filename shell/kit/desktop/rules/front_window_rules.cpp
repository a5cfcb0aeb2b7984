#include "shell/kit/desktop/rules/front_window_rules.h"

#include <cstring>

bool IsShellDesktopClass(const char* className) {
    return className && (!strcmp(className, "Progman") || !strcmp(className, "WorkerW"));
}

bool IsTaskbarClass(const char* className) {
    return className &&
           (!strcmp(className, "Shell_TrayWnd") || !strcmp(className, "Shell_SecondaryTrayWnd"));
}

bool CoversMonitor(const WindowFacts& window) {
    const ScreenBox& p = window.Place;
    const ScreenBox& m = window.Monitor;
    return m.Right > m.Left && m.Bottom > m.Top && p.Left <= m.Left && p.Top <= m.Top &&
           p.Right >= m.Right && p.Bottom >= m.Bottom;
}

// Windows that are part of the shell or the kit, or that nobody sees.
static bool NotAProgram(const WindowFacts& window) {
    return window.ShellDesktop || window.Taskbar || window.KitOwn || window.ToolWindow ||
           window.Cloaked;
}

bool IsFullScreenProgram(const WindowFacts& window) {
    return window.Exists && window.Foreground && window.Visible && !window.Minimized &&
           !NotAProgram(window) && CoversMonitor(window);
}

static bool SameBox(const ScreenBox& a, const ScreenBox& b) {
    return a.Left == b.Left && a.Top == b.Top && a.Right == b.Right && a.Bottom == b.Bottom;
}

bool FullScreenProgramInFront(UserState state, const WindowFacts& foreground,
                              const ScreenBox* meterMonitor) {
    const bool program = IsFullScreenProgram(foreground);
    const bool elsewhere = program && meterMonitor && !SameBox(foreground.Monitor, *meterMonitor);
    switch (state) {
    case UserState::Presentation:
        return true; // the person asked for no interruptions anywhere
    case UserState::FullScreen:
    case UserState::Direct3D:
        // The system's answer covers every monitor; the foreground window
        // tells which one, where it can.
        return !elsewhere;
    case UserState::Unknown:
    case UserState::NothingInFront:
        break;
    }
    return program && !elsewhere;
}

LayerPlace LayerPlaceAfter(const WindowFacts& foreground, LayerPlace now) {
    if (!foreground.Exists || foreground.KitOwn) return now;
    if (foreground.ShellDesktop) return LayerPlace::AboveDesktop;
    if (foreground.Taskbar || foreground.ToolWindow || foreground.Cloaked) return now;
    return LayerPlace::Bottom;
}
