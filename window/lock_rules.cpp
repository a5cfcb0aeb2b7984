#include "window/lock_rules.h"

HitDecision LockModeHitTest(int32_t lockMode, bool shiftDown) {
    if (shiftDown) return {HitCaption, false};
    switch (lockMode) {
    case LockWindow:
        return {HitClient, false};
    case LockHideOnMouseOver:
        return {HitNowhere, true};
    default: // Unlocked, Ghost mode (only reached while interactive) and unknown modes
        return {HitCaption, false};
    }
}

GhostChange GhostStep(bool cursorInside, bool shiftDown, bool interactive) {
    if (cursorInside && shiftDown) return interactive ? GhostStay : GhostToInteractive;
    return interactive ? GhostToPassThrough : GhostStay;
}

bool StayHidden(bool cursorInside, bool shiftDown) {
    return cursorInside && !shiftDown;
}
