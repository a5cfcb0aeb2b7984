// The module's private copy of the shell's host context: taken once at start
// and read by every area that talks to the shell (the configuration store,
// the shell window, the desktop parent, the skin options, the system version).
#pragma once

#include "host/host_records.h"

extern const HostContextRecord& HostContext;

// Copies the shell's record; InitGlobalModule calls it first thing after the
// window class is registered, the tests to stand in for the shell.
void KeepHostContext(const HostContextRecord* context);
