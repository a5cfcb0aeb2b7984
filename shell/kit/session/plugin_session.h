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

// What the kit does around each start, set once by the program before the
// first: Before runs just ahead of InitGlobalModule (the skin's files noted
// as the plug-in will read them, the start's scale set), After right after it
// (the scale's view ended). Either may be null.
struct StartSteps {
    void (*Before)();
    void (*After)();
};
void SetStartSteps(const StartSteps& steps);
// InitGlobalModule with the session's context, between the start steps; logs
// and answers its result.
int StartPlugin();
// DoneModule when the plug-in runs; logs and answers its result (0 when idle).
int StopPlugin();
// DoneModule then InitGlobalModule with the same context, as a shell does
// after the settings changed. Never call it from inside the plug-in's own
// window procedure (a message sent by the plug-in): DoneModule destroys that
// window. Post KitMsgRestartPlugin to the shell window instead.
int RestartPlugin();
