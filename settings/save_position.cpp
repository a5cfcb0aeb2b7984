// Writes the window's position back after the user has moved it: the only
// write the plug-in makes to its configuration.
#include "settings/settings.h"
#include "host/host_library.h"
#include "plugin/plugin_state.h"

void SavePosition(int32_t x, int32_t y) {
    if (!PluginWindow) return;
    ConfigCursor cursor = {};
    OpenCFGw(HostContext.ConfigHandle, &cursor);
    FindSection(ConfigSection, 1, &cursor);
    SetCFGInt("X", x, &cursor);
    SetCFGInt("Y", y, &cursor);
    CloseCFGw(HostContext.ConfigHandle, 0, &cursor);
}
