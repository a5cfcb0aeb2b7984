#include "shell/kit/desktop/menu_closing_click.h"

#include "shell/kit/desktop/desktop_windows.h"
#include "shell/kit/desktop/rules/closing_click_rules.h"
#include "shell/kit/log/host_log.h"

namespace {

ClosingClick Click; // the press dropped last, while its release or double-click may follow

// The rule's reading of the input messages: client and non-client alike.
struct ButtonMessage {
    UINT Client, NonClient;
    ButtonAction Action;
    MouseButton Button;
};
const ButtonMessage ButtonMessages[] = {
    {WM_LBUTTONDOWN, WM_NCLBUTTONDOWN, ButtonAction::Press, MouseButton::Left},
    {WM_RBUTTONDOWN, WM_NCRBUTTONDOWN, ButtonAction::Press, MouseButton::Right},
    {WM_MBUTTONDOWN, WM_NCMBUTTONDOWN, ButtonAction::Press, MouseButton::Middle},
    {WM_LBUTTONDBLCLK, WM_NCLBUTTONDBLCLK, ButtonAction::DoublePress, MouseButton::Left},
    {WM_RBUTTONDBLCLK, WM_NCRBUTTONDBLCLK, ButtonAction::DoublePress, MouseButton::Right},
    {WM_MBUTTONDBLCLK, WM_NCMBUTTONDBLCLK, ButtonAction::DoublePress, MouseButton::Middle},
    {WM_LBUTTONUP, WM_NCLBUTTONUP, ButtonAction::Release, MouseButton::Left},
    {WM_RBUTTONUP, WM_NCRBUTTONUP, ButtonAction::Release, MouseButton::Right},
    {WM_MBUTTONUP, WM_NCMBUTTONUP, ButtonAction::Release, MouseButton::Middle},
};

// The rule's reading of an input message; any other message is Other.
ButtonEvent EventOf(UINT message, DWORD time) {
    for (const ButtonMessage& m : ButtonMessages)
        if (message == m.Client || message == m.NonClient) return {m.Action, m.Button, time};
    return {ButtonAction::Other, MouseButton::None, time};
}

bool IsButtonPress(UINT message) {
    return EventOf(message, 0).Action == ButtonAction::Press;
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
// system out of that state; the person's next press drags as usual. Its
// release, where it comes, would open the meter's menu again after a
// right-click (the meter opens it on the release), and a second press soon
// after is the double-click the system makes of it: both are dropped in the
// message loop (DropsWithMenuClosingClick).
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
    DropClosingPress(&Click, EventOf(taken.message, 0).Button, taken.time);
    HostLog("Menu closed by a click at %ld,%ld, which goes no further", taken.pt.x, taken.pt.y);
}

bool DropsWithMenuClosingClick(const MSG& message) {
    const ButtonEvent event = EventOf(message.message, message.time);
    if (!DropsWithClosingClick(&Click, event, GetDoubleClickTime())) return false;
    HostLog("Menu's closing click: its %s goes no further",
            event.Action == ButtonAction::Release ? "release" : "double-click");
    return true;
}

bool MenuClosingClickHolds(UINT mouseMessage) {
    ClosingClick asked = Click; // asking changes nothing
    return DropsWithClosingClick(&asked, EventOf(mouseMessage, GetMessageTime()),
                                 GetDoubleClickTime());
}
