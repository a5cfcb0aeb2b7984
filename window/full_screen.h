// Full-screen notices: an application covering the screen sends the meter to
// the bottom; an Always on top meter comes back on top when it closes.
#pragma once

#include <windows.h>

// AppBarCallbackMsg: ABN_FULLSCREENAPP, opening (lParam nonzero) or closing.
void OnAppBarNotice(HWND window, WPARAM notice, LPARAM lParam);
