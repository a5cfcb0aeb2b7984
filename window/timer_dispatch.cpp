#include "window/timer_dispatch.h"

#include "render/surface.h"
#include "sampling/update_cycle.h"
#include "settings/settings_record.h"
#include "settings/window_levels.h"
#include "window/lock_modes.h"
#include "window/placement.h"
#include "window/window_messages.h"

// The new readings on screen: a layered window is composed at its place, a
// painted one repaints.
static void RenewPicture(HWND window) {
    if (Surface.PaintMode == SurfaceLayered)
        ComposeLayered(window, ShownPoint());
    else
        InvalidateRect(window, nullptr, TRUE);
}

LRESULT DispatchTimer(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (Settings.LockMode == LockGhost) GhostPoll(window); // whatever the timer
    switch (wParam) {
    case TimerUnhide:
        UnhideTick(window);
        return 0;
    case TimerNet:
        NetTick();
        return DefWindowProcA(window, message, wParam, lParam);
    case TimerUpdate:
        UpdateTick();
        RenewPicture(window);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}
