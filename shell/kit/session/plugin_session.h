// The one plug-in the host runs: its library, the context and the shell's
// record handed to it, and the start, stop and restart a shell performs.
#pragma once

#include "host/host_records.h"
#include "shell/kit/session/plugin_loader.h"

#include <string>

struct PluginSession {
    LoadedPlugin Plugin;
    HostContextRecord Context;
    PluginShellRecord Record;
    OSVERSIONINFOA Version;
    std::string ConfigPath; // full path; Context.ConfigHandle points at it
    std::string PropertiesName;
    bool Running;
};

// The host's one session (static storage, filled by main before the start).
PluginSession& HostSession();

// InitGlobalModule with the session's context; logs and answers its result.
int StartPlugin();
// DoneModule when the plug-in runs; logs and answers its result (0 when idle).
int StopPlugin();
// DoneModule then InitGlobalModule with the same context, as a shell does
// after the settings changed. Never call it from inside the plug-in's own
// window procedure (a message sent by the plug-in): DoneModule destroys that
// window. Post HostMsgRestartPlugin to the shell window instead.
int RestartPlugin();

// Posted to the host's shell window: restart the plug-in once the current
// message has returned.
const UINT HostMsgRestartPlugin = WM_APP + 1;
// Posted to the host's shell window: open the plug-in's settings once the
// plug-in's own message (HostMsgShowProperties) has returned.
const UINT HostMsgOpenProperties = WM_APP + 2;
