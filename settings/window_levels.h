// The named values of the two list settings: the window's z-order level and
// its lock mode. The configuration may hold any number; the code compares
// with these names.
#pragma once

#include <cstdint>

// A child of the desktop, a normal popup, or one above all others.
const int32_t ZOrderDesktop = 0;
const int32_t ZOrderNormal = 1;
const int32_t ZOrderAlwaysOnTop = 2;

// Any lock mode outside 0-3 behaves as Unlocked.
const int32_t LockUnlocked = 0;
const int32_t LockWindow = 1;
const int32_t LockHideOnMouseOver = 2;
const int32_t LockGhost = 3;
