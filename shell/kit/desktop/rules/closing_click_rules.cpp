#include "shell/kit/desktop/rules/closing_click_rules.h"

void DropClosingPress(ClosingClick* click, MouseButton button, uint32_t time) {
    click->Button = button;
    click->ReleasePending = true;
    click->DoubleAllowed = true;
    click->PressTime = time;
}

bool DropsWithClosingClick(ClosingClick* click, const ButtonEvent& event, uint32_t doubleClickMs) {
    if (click->Button == MouseButton::None || event.Action == ButtonAction::Other) return false;
    const bool same = event.Button == click->Button;
    if (event.Action == ButtonAction::Release) {
        if (!same || !click->ReleasePending) return false;
        click->ReleasePending = false;
        if (!click->DoubleAllowed) click->Button = MouseButton::None;
        return true;
    }
    // A press. The system makes a double-click press only of a second press
    // of the same button soon after the first, here the dropped one (its
    // release may be lost: Wine loses it after a menu). Unsigned difference:
    // right across the clock's wrap.
    if (event.Action == ButtonAction::DoublePress && same && click->DoubleAllowed &&
        event.Time - click->PressTime <= doubleClickMs) {
        click->ReleasePending = true;
        click->DoubleAllowed = false; // a third press is a single one again
        return true;
    }
    click->Button = MouseButton::None; // a click of its own
    return false;
}
