// The host's message loop. Besides the windows' messages it waits on the
// skin watcher's change events and its settle time, with
// MsgWaitForMultipleObjects: the thread sleeps while nothing happens.
#pragma once

// Runs until WM_QUIT.
void RunHostLoop();
