// The click that closed a menu goes no further: once its press is dropped,
// the release of that button and the double-click press the system makes of
// a second press soon after are dropped too, with that press's release.
// Nothing else is: other buttons, a new single press, moves and keys pass,
// and a new press ends the click. Times are milliseconds of the 32-bit
// message clock, which wraps.
#pragma once

#include <cstdint>

enum class MouseButton { None, Left, Right, Middle };

enum class ButtonAction { Other, Press, DoublePress, Release };

// One input message as the rule reads it (client or non-client alike).
struct ButtonEvent {
    ButtonAction Action;
    MouseButton Button;
    uint32_t Time;
};

struct ClosingClick {
    MouseButton Button;  // None: no click is being dropped
    bool ReleasePending; // the dropped press's release has not come yet
    bool DoubleAllowed;  // a double-click press may still belong to it
    uint32_t PressTime;  // when the dropped press was made
};

// The press that closed a menu was dropped.
void DropClosingPress(ClosingClick* click, MouseButton button, uint32_t time);
// Whether this input belongs to the dropped click and is dropped as well.
// doubleClickMs: the system's double-click time.
bool DropsWithClosingClick(ClosingClick* click, const ButtonEvent& event, uint32_t doubleClickMs);
