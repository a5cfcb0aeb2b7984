#include "shell/kit/program/host_loop.h"

#include "shell/kit/desktop/menu_closing_click.h"
#include "shell/kit/settings_dialog/properties.h"
#include "shell/kit/skin_follow/skin_watcher.h"

#include <windows.h>

void RunHostLoop() {
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) return;
            if (DropsWithMenuClosingClick(message)) continue;
            if (PropertiesDialogMessage(&message)) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        HANDLE events[MAXIMUM_WAIT_OBJECTS - 1];
        const DWORD count = DWORD(SkinWatchEvents(events, MAXIMUM_WAIT_OBJECTS - 1));
        const DWORD woke = MsgWaitForMultipleObjectsEx(count, events, SkinWatchTimeout(),
                                                       QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        SkinWatchWoke(woke < WAIT_OBJECT_0 + count ? int32_t(woke - WAIT_OBJECT_0) : -1);
    }
}
