#include "shell/host_program/menu_closing_click.h"

#include "shell/host_program/desktop_windows.h"
#include "shell/host_program/host_log.h"

#include <windows.h>

namespace {

bool IsButtonPress(UINT message) {
    switch (message) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
        return true;
    }
    return false;
}

} // namespace

// A menu ends on a press outside it and leaves the press queued for the
// window under the pointer. On a meter that press starts the system's move
// loop (the meter is dragged by its caption), which runs until the button
// comes up. Under Wine the release of that click is lost: the menu's pointer
// grab is still on the menu's X window when the button comes up, and that
// window is gone by the time the event is read. The move loop then holds
// the capture and a pointer grab for good, and every later click, on the
// notification area too, goes to the meter. Dropping the press keeps every
// system out of that state; the person's next press drags as usual.
void DropMenuClosingClick() {
    MSG next;
    // Input only: posted messages (WM_NULL after the menu, timers) stay.
    if (!PeekMessageA(&next, nullptr, 0, 0, PM_NOREMOVE | PM_QS_INPUT)) return;
    if (!IsButtonPress(next.message)) return;
    MSG taken;
    HoldDesktopActivation(true);
    const BOOL removed = PeekMessageA(&taken, nullptr, 0, 0, PM_REMOVE | PM_QS_INPUT);
    HoldDesktopActivation(false);
    if (!removed) return;
    if (!IsButtonPress(taken.message)) {
        // Not the press looked at (the queue changed in between): handled
        // as the message loop would have.
        TranslateMessage(&taken);
        DispatchMessageA(&taken);
        return;
    }
    HostLog("Menu closed by a click at %ld,%ld, which goes no further", taken.pt.x, taken.pt.y);
}
