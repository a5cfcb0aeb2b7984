// The lock modes' decisions on plain values: what a hit test answers, when a
// ghost window changes between pass-through and interactive, and when a
// hidden window stays hidden.
#pragma once

#include "settings/window_levels.h"

#include <cstdint>

// Hit-test answers, the same numbers as HTNOWHERE, HTCLIENT and HTCAPTION.
const int32_t HitNowhere = 0;
const int32_t HitClient = 1;
const int32_t HitCaption = 2;

struct HitDecision {
    int32_t Answer;
    bool Hide; // hide the window and start the unhide poll before answering
};

// Any lock mode outside 0-3 behaves as Unlocked.
HitDecision LockModeHitTest(int32_t lockMode, bool shiftDown);

enum GhostChange { GhostStay, GhostToInteractive, GhostToPassThrough };

// One ghost poll: interactive exactly while the pointer is over the window
// with SHIFT held.
GhostChange GhostStep(bool cursorInside, bool shiftDown, bool interactive);

// The unhide poll keeps the window hidden while the pointer is still over the
// place it occupied and SHIFT is up.
bool StayHidden(bool cursorInside, bool shiftDown);
