// WM_TIMER for the plug-in window, shared with its window procedure.
#include "sampling/sampling.h"
#include "plugin/plugin_state.h"
#include "window/lock_rules.h"
#include "window/window_proc.h"

LRESULT DispatchTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (LockMode == LockGhost) GhostPoll(); // whatever the timer
    switch (wParam) {
    case TimerUnhide:
        UnhideTick();
        return 0;
    case TimerNet:
        NetTick();
        return DefWindowProcA(window, message, wParam, lParam);
    case TimerUpdate:
        UpdateTick();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
