#include "shell/host_program/plugin_session.h"

#include "shell/host_program/host_log.h"
#include "shell/host_program/skin_watcher.h"

PluginSession& HostSession() {
    static PluginSession session;
    return session;
}

int StartPlugin() {
    PluginSession& s = HostSession();
    if (s.Running) return 0;
    NoteSkinStarting(); // the files as the plug-in is about to read them
    int started = s.Plugin.InitGlobalModule(&s.Context);
    s.Running = true; // DoneModule cleans up after a failed start as well
    HostLog("InitGlobalModule %d window %p", started, static_cast<void*>(s.Record.PluginWnd));
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
