#include "shell/host/properties.h"

#include "shell/host/host_log.h"

// The settings dialog is not built yet: the request is only logged.
void ShowProperties(HWND) {
    HostLog("Properties");
}
