// Lock modes: the hit test, the unhide poll of Hide on mouse over and the
// ghost poll that makes a click-through window draggable while SHIFT is held.
#include "window/window_proc.h"

#include "plugin/plugin_state.h"
#include "settings/settings.h"
#include "window/lock_rules.h"
#include "window/window_parts.h"

RECT SavedRect;
int32_t GhostInteractive;
HCURSOR ArrowCursor;
HCURSOR MoveCursor;

void LoadWindowCursors() {
    ArrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    MoveCursor = LoadCursorA(nullptr, IDC_SIZEALL);
}

bool ShiftDownAsync() {
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}
bool ShiftDownThread() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

static bool CursorInSavedRect() {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    return PtInRect(&SavedRect, cursor) != FALSE;
}

LRESULT OnHitTest(HWND window) {
    HitDecision decision = LockModeHitTest(LockMode, ShiftDownAsync());
    if (decision.Hide) {
        GetWindowRect(window, &SavedRect);
        ShowWindow(window, SW_HIDE);
        SetTimer(window, TimerUnhide, UnhidePeriod, nullptr);
    }
    return decision.Answer;
}

void UnhideTick() {
    if (StayHidden(CursorInSavedRect(), ShiftDownAsync())) return;
    ShowWindow(PluginWindow, SW_SHOW);
    KillTimer(PluginWindow, TimerUnhide);
}

static void SetClickThrough(bool on) {
    LONG style = GetWindowLongA(PluginWindow, GWL_EXSTYLE);
    style = on ? (style | WS_EX_TRANSPARENT) : (style & ~WS_EX_TRANSPARENT);
    SetWindowLongA(PluginWindow, GWL_EXSTYLE, style);
    InvalidateRect(PluginWindow, nullptr, FALSE);
}

void GhostPoll() {
    GetWindowRect(PluginWindow, &SavedRect);
    switch (GhostStep(CursorInSavedRect(), ShiftDownThread(), GhostInteractive != 0)) {
    case GhostToInteractive:
        SetClickThrough(false);
        GhostInteractive = -1;
        SetCursor(MoveCursor);
        break;
    case GhostToPassThrough:
        SetClickThrough(true);
        SetCursor(ArrowCursor);
        GhostInteractive = 0;
        break;
    case GhostStay:
        break;
    }
}
