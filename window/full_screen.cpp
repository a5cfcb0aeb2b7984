#include "window/full_screen.h"

#include "settings/settings_record.h"
#include "settings/window_levels.h"

#include <shellapi.h>

static const UINT KeepPlace = SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER;

void OnAppBarNotice(HWND window, WPARAM notice, LPARAM lParam) {
    if (notice != ABN_FULLSCREENAPP) return;
    if (lParam != 0) {
        SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, KeepPlace);
    } else if (Settings.ZOrder == ZOrderAlwaysOnTop) {
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, KeepPlace);
        InvalidateRect(window, nullptr, FALSE);
    }
}
