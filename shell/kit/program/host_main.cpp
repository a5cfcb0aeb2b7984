// The host program: a small stand-in for the shell that loads a plug-in,
// hands it a context, runs the message loop and stops it cleanly. Built
// twice from these sources: vorlamet_host.exe for the console and
// vorlamet.exe without one (user_message.h).
#include "host/host_records.h"
#include "shell/kit/autostart/autostart.h"
#include "shell/kit/configuration/config_path.h"
#include "shell/kit/configuration/rules/host_identity.h"
#include "shell/kit/configuration/single_instance.h"
#include "shell/kit/desktop/desktop_windows.h"
#include "shell/kit/desktop/front_window.h"
#include "shell/kit/display_scale/display_scale.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/program/host_loop.h"
#include "shell/kit/program/rules/host_options.h"
#include "shell/kit/program/shell_window.h"
#include "shell/kit/program/user_message.h"
#include "shell/kit/screenshot/screenshot.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/skin_check/skin_check.h"
#include "shell/kit/skin_follow/skin_watcher.h"
#include "shell/kit/tray/tray_icon.h"
#include "shell/skin_files/rules/descriptor_view.h"
#include "shell/skin_files/rules/setting_forms.h"

#include "vorlamet_version.h" // generated from the VERSION file

#include <cstring>
#include <string>

namespace {

HWND ShellWindowHandle;
// Set once the host has stopped the plug-in and removed its icon.
HANDLE Finished;

// Ctrl+C, Ctrl+Break and the console's own end. Runs on a thread of its own:
// the shell window ends the host. When the console closes, the system ends
// the process as soon as this returns, so it waits for the host to finish.
BOOL WINAPI OnConsoleControl(DWORD event) {
    const bool closing = event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT;
    PostMessageA(ShellWindowHandle, KitMsgEnd, closing ? HostEndConsoleClosed : HostEndCtrlC, 0);
    if (closing) WaitForSingleObject(Finished, 5000);
    return TRUE;
}

std::string ExeDirectory() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return FolderOf(std::string(path, n < sizeof path ? n : 0));
}

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH];
    DWORD n = GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return n > 0 && n < sizeof full ? std::string(full) : path;
}

// The default configuration: the default skin shipped beside the host.
std::string DefaultConfig(const std::string& exeDir) {
    const char* candidates[] = {"\\skins\\default\\vorlamet.ini", "\\skins\\test\\test.ini"};
    for (const char* c : candidates)
        if (FileExists(exeDir + c)) return exeDir + c;
    return exeDir + candidates[0];
}

// Before each start of the plug-in: the skin's files noted as it is about to
// read them, and the scale it starts at.
void BeforeEachStart() {
    NoteSkinStarting();
    BeginStartScale();
}

int Fail(const std::string& message, int status = 2) {
    TellProblem(message);
    return status;
}

void LogPluginInfo(const PluginSession& session) {
    const PluginInfo* info = static_cast<const PluginInfo*>(session.Plugin.GetPluginInfo());
    if (info)
        HostLog("GetPluginInfo \"%s\" section \"%s\" rows %d", info->Name ? info->Name : "",
                info->Section ? info->Section : "", info->RowCount);
}

void FillContext(PluginSession* session, const HostOptions& options, HWND shell, HWND desktop) {
    session->Version.dwOSVersionInfoSize = sizeof session->Version;
    GetVersionExA(&session->Version);
    if (options.PlatformId >= 0)
        session->Version.dwPlatformId = static_cast<DWORD>(options.PlatformId);
    session->Record.PropertiesName = session->PropertiesName.c_str();
    HostContextRecord& context = session->Context;
    context.PluginRecord = &session->Record;
    context.OsVersion = &session->Version;
    context.ConfigHandle = const_cast<char*>(session->ConfigPath.c_str());
    context.ShellWindow = shell;
    context.DesktopParent = desktop;
    context.SkinOption1 = options.SkinOption[0];
    context.SkinOption2 = options.SkinOption[1];
    context.SkinOption3 = options.SkinOption[2];
    context.SkinOption4 = options.SkinOption[3];
}

} // namespace

int main(int argc, char** argv) {
    HostOptions options;
    std::string error;
    if (!ParseHostOptions(argc, argv, &options, &error)) {
        std::string usage = HostUsage;
        usage.pop_back(); // the line end comes with the problem
        return Fail(error + "\n" + usage);
    }
    if (options.Help) {
        TellText(HostUsage);
        return 0;
    }
    if (options.Version) {
        TellText("Vorlamet " VORLAMET_VERSION "\n");
        return 0;
    }
    const std::string exeDir = ExeDirectory();
    const std::string pluginPath =
        FullPath(options.PluginPath.empty() ? exeDir + "\\Vorlamet.plg" : options.PluginPath);
    if (!options.CheckPath.empty()) {
        std::string report;
        int status = ReportSkinCheck(options.CheckPath.c_str(), pluginPath.c_str(), &report);
        TellText(report);
        return status;
    }
    const std::string configPath =
        FullPath(options.ConfigPath.empty() ? DefaultConfig(exeDir) : options.ConfigPath);
    if (!FileExists(configPath)) return Fail("cannot find configuration " + configPath);
    if (!ClaimConfiguration(configPath))
        return Fail("Vorlamet is already running with " + configPath +
                        "; end that one first (Exit in its icon's menu)",
                    3);

    PluginSession& session = HostSession();
    if (!LoadPlugin(pluginPath, &session.Plugin, &error)) return Fail(error);
    session.ConfigPath = configPath;
    session.PropertiesName = options.PropertiesName;

    // Relative picture paths in a skin's configuration are taken from its folder.
    std::string configDir = FolderOf(configPath);
    SetCurrentDirectoryA(configDir.c_str());

    HINSTANCE instance = GetModuleHandleA(nullptr);
    HWND desktop = options.DemoDesktop ? CreateDemoDesktop(instance) : CreateDesktopLayer(instance);
    HWND shell = CreateShellWindow(instance);
    if (!desktop || !shell) return Fail("cannot create the host windows");
    ShellWindowHandle = shell;
    SetDesktopHandOff(shell);
    Finished = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    StartForegroundWatch();

    FillContext(&session, options, shell, desktop);
    LogPluginInfo(session);
    HostLog("config %s", configPath.c_str());
    SetStartSteps({BeforeEachStart, EndStartScale});
    StartPlugin();
    StartFollowingScale(shell);
    if (options.OpenProperties) PostMessageA(shell, KitMsgOpenProperties, 0, 0);
    CreateTrayIcon(instance, shell, TrayTip(configPath, 127).c_str());
    RepairStartWithWindows(LongConfigPath(configPath));
    StartSkinWatch(shell, ShowTrayBalloon);

    if (options.Seconds > 0)
        SetTimer(shell, HostEndTimer, static_cast<UINT>(options.Seconds) * 1000, nullptr);
    RunHostLoop();
    StopSkinWatch();
    StopForegroundWatch();

    if (!options.ScreenshotPath.empty()) {
        bool saved = SaveScreenshot(options.ScreenshotPath);
        HostLog("screenshot %s %s", options.ScreenshotPath.c_str(), saved ? "saved" : "FAILED");
    }
    StopFollowingScale();
    StopPlugin();
    RemoveTrayIcon();
    session.Plugin.Module.Reset();
    DestroyWindow(shell);
    DestroyWindow(desktop);
    SetEvent(Finished);
    return 0;
}
