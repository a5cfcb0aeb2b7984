// Writes the window's position back after the user has moved it.
#include "settings/save_position.h"

#include "host/host_library.h"
#include "settings/config_keys.h"
#include "settings/host_context.h"

void SavePosition(HWND window, int32_t x, int32_t y) {
    if (!window) return;
    ConfigCursor cursor = {};
    OpenCFGw(HostContext.ConfigHandle, &cursor);
    FindSection(ConfigSection, 1, &cursor);
    SetCFGInt(KeyX.Name, x, &cursor);
    SetCFGInt(KeyY.Name, y, &cursor);
    CloseCFGw(HostContext.ConfigHandle, 0, &cursor);
}
