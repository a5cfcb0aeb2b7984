// The plug-in window's timers and its application-bar message: set by the
// lifecycle and the lock modes, dispatched by the window procedure.
#pragma once

#include <windows.h>

const UINT_PTR TimerUnhide = 58;
const UINT_PTR TimerUpdate = 155;
const UINT_PTR TimerNet = 156;
const UINT_PTR TimerGhost = 359;
const UINT TimerNetPeriod = 1000;  // ms
const UINT TimerGhostPeriod = 200; // ms
const UINT UnhidePeriod = 400;     // ms between two unhide polls
const UINT AppBarCallbackMsg = WM_USER + 2;
