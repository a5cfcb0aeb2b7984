#include "window/lock_modes.h"

#include "settings/settings_record.h"
#include "window/lock_rules.h"
#include "window/window_messages.h"

namespace {

LockStateRecord Record;

// SHIFT's state: the physical key (asynchronous) or as the thread's
// messages have seen it.
bool ShiftDownAsync() {
    return (GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0;
}
bool ShiftDownThread() {
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

bool CursorInSavedRect() {
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    return PtInRect(&Record.SavedRect, cursor) != FALSE;
}

void SetClickThrough(HWND window, bool on) {
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    style = on ? (style | WS_EX_TRANSPARENT) : (style & ~WS_EX_TRANSPARENT);
    SetWindowLongA(window, GWL_EXSTYLE, style);
    InvalidateRect(window, nullptr, FALSE);
}

} // namespace

const LockStateRecord& LockState = Record;

void LoadWindowCursors() {
    Record.ArrowCursor = LoadCursorA(nullptr, IDC_ARROW);
    Record.MoveCursor = LoadCursorA(nullptr, IDC_SIZEALL);
}

void ResetLockState() {
    Record.SavedRect = RECT{0, 0, 0, 0};
    Record.GhostInteractive = false;
}

LRESULT OnHitTest(HWND window) {
    HitDecision decision = LockModeHitTest(Settings.LockMode, ShiftDownAsync());
    if (decision.Hide) {
        GetWindowRect(window, &Record.SavedRect);
        ShowWindow(window, SW_HIDE);
        SetTimer(window, TimerUnhide, UnhidePeriod, nullptr);
    }
    return decision.Answer;
}

void UnhideTick(HWND window) {
    if (StayHidden(CursorInSavedRect(), ShiftDownAsync())) return;
    ShowWindow(window, SW_SHOW);
    KillTimer(window, TimerUnhide);
}

void GhostPoll(HWND window) {
    GetWindowRect(window, &Record.SavedRect);
    switch (GhostStep(CursorInSavedRect(), ShiftDownThread(), Record.GhostInteractive)) {
    case GhostToInteractive:
        SetClickThrough(window, false);
        Record.GhostInteractive = true;
        SetCursor(Record.MoveCursor);
        break;
    case GhostToPassThrough:
        SetClickThrough(window, true);
        SetCursor(Record.ArrowCursor);
        Record.GhostInteractive = false;
        break;
    case GhostStay:
        break;
    }
}
