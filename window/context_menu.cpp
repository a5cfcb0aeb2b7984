#include "window/context_menu.h"

#include "settings/host_context.h"
#include "win32/scoped_handle.h"
#include "window/properties_text.h"

static void SendToShell(UINT message, LPARAM lParam) {
    SendMessageA(HostContext.ShellWindow, message, 0, lParam);
}

void OnContextMenu(HWND window) {
    ScopedMenu owned(CreatePopupMenu());
    const HMENU menu = owned.handle;
    AppendMenuA(menu, MF_STRING, CmdProperties, "&Properties");
    // The pointer's position now, not the one the message carries (which is
    // -1,-1 for a menu asked for from the keyboard).
    POINT cursor = {0, 0};
    GetCursorPos(&cursor);
    SendToShell(HostMsgMenuEnter, 0);
    TrackPopupMenuEx(menu, 0, cursor.x, cursor.y, window, nullptr);
    SendToShell(HostMsgMenuLeave, 0);
}

void OnCommand(WPARAM wParam) {
    if (LOWORD(wParam) != CmdProperties) return;
    const PluginShellRecord* record = HostContext.PluginRecord;
    char text[PropertiesTextSize]; // lives only for the send: the shell copies what it keeps
    BuildPropertiesText(text, sizeof text, record ? record->PropertiesName : nullptr);
    SendToShell(HostMsgShowProperties, reinterpret_cast<LPARAM>(text));
}
