// Command line of the host program (the stand-in for the shell).
#pragma once

#include <string>

struct HostOptions {
    std::string PluginPath;     // empty: Vorlamet.plg beside the host
    std::string ConfigPath;     // empty: the default skin's configuration
    std::string ScreenshotPath; // empty: no screenshot
    std::string PropertiesName = "Vorlamet";
    std::string CheckPath; // --check: report on a configuration, run nothing
    int Seconds = 0;       // 0: run until ended (Exit in the icon's menu, Ctrl+C, log-off)
    int PlatformId = -1;   // -1: the system's own
    int SkinOption[4] = {0, 0, 0, 0};
    bool OpenProperties = false; // open the settings dialog once the plug-in runs
    bool DemoDesktop = false;    // a drawn wallpaper over the screen instead of the real desktop
    bool Help = false;
    bool Version = false; // --version: tell the version, run nothing
};

// Parses argv[1..]; on failure returns false with a one-line message in error.
bool ParseHostOptions(int argc, const char* const* argv, HostOptions* options, std::string* error);
extern const char HostUsage[];
