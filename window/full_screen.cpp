// Full-screen notices: an application covering the screen sends the meter to
// the bottom; an Always on top meter comes back on top when it closes.
#include "settings/settings.h"
#include "window/lock_rules.h"
#include "window/window_parts.h"

#include <shellapi.h>

static const UINT KeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

void OnAppBarNotice(HWND window, WPARAM notice, LPARAM lParam) {
    if (notice != ABN_FULLSCREENAPP) return;
    if (lParam != 0) {
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, KeepPlace);
    } else if (ZOrder == ZOrderAlwaysOnTop) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, KeepPlace);
        InvalidateRect(window, nullptr, FALSE);
    }
}
