#include "shell/kit/session/plugin_session.h"

#include "shell/kit/log/host_log.h"

namespace {
StartSteps Steps;
} // namespace

PluginSession& HostSession() {
    static PluginSession session;
    return session;
}

void SetStartSteps(const StartSteps& steps) {
    Steps = steps;
}

int StartPlugin() {
    PluginSession& s = HostSession();
    if (s.Running) return 0;
    // The plug-in reads its settings and pictures while it starts, and only
    // then: what the steps set up holds for the start alone.
    if (Steps.Before) Steps.Before();
    int started = s.Plugin.InitGlobalModule(&s.Context);
    if (Steps.After) Steps.After();
    s.Running = true; // DoneModule cleans up after a failed start as well
    // Its answer says nothing about the start (without its network library
    // the plug-in answers 1 and shows no meter); the window it made does.
    HostLog("InitGlobalModule %d window %p: %s (the answer, 0 or 1, tells nothing)", started,
            static_cast<void*>(s.Record.PluginWnd),
            s.Record.PluginWnd ? "started, the meter runs" : "not started, no meter window");
    return started;
}

int StopPlugin() {
    PluginSession& s = HostSession();
    if (!s.Running) return 0;
    int done = s.Plugin.DoneModule();
    s.Running = false;
    s.Record.PluginWnd = nullptr; // the plug-in never clears it
    HostLog("DoneModule %d", done);
    return done;
}

int RestartPlugin() {
    StopPlugin();
    return StartPlugin();
}
