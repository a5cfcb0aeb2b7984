#include "shell/kit/session/plugin_session.h"

#include "shell/kit/display_scale/display_scale.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/skin_follow/skin_watcher.h"

PluginSession& HostSession() {
    static PluginSession session;
    return session;
}

int StartPlugin() {
    PluginSession& s = HostSession();
    if (s.Running) return 0;
    NoteSkinStarting(); // the files as the plug-in is about to read them
    // The plug-in reads its settings and pictures while it starts, and only
    // then: the scaled view holds for the start alone.
    BeginStartScale();
    int started = s.Plugin.InitGlobalModule(&s.Context);
    EndStartScale();
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
