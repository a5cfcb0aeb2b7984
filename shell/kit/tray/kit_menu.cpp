#include "shell/kit/tray/kit_menu.h"

#include "host/descriptor_records.h"
#include "shell/kit/autostart/autostart.h"
#include "shell/kit/configuration/config_path.h"
#include "shell/kit/configuration/kit_choices.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/skin_follow/skin_watcher.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "vorlamet_version.h" // generated from the VERSION file

#include <shellapi.h>

#include <string>

namespace {

std::string ConfigPath() {
    return LongConfigPath(HostSession().ConfigPath);
}

std::string ConfigFolder() {
    return FolderOf(ConfigPath());
}

bool Opened(HINSTANCE result) {
    return reinterpret_cast<INT_PTR>(result) > 32;
}

// The user's editor for INI files: its "edit" command, else the default
// one ("open", Notepad on a fresh system).
bool EditConfiguration(HWND owner) {
    const std::string path = ConfigPath();
    if (Opened(ShellExecuteA(owner, "edit", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL)))
        return true;
    return Opened(ShellExecuteA(owner, nullptr, path.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

// Which Vorlamet this is: the kit's version and the title the plug-in's
// descriptor gives (GetPluginInfo may be called at any time).
void ShowAbout(HWND owner) {
    const auto* info = static_cast<const PluginInfo*>(
        HostSession().Plugin.GetPluginInfo ? HostSession().Plugin.GetPluginInfo() : nullptr);
    const std::string title = info && info->Name ? info->Name : "";
    HostLog("Tray About %s \"%s\"", VORLAMET_VERSION, title.c_str());
    const std::string text = "Vorlamet " VORLAMET_VERSION "\n\nPlug-in: " + title;
    MessageBoxA(owner, text.c_str(), "About Vorlamet", MB_OK | MB_ICONINFORMATION);
}

} // namespace

void AppendKitMenuItems(HMENU menu) {
    const bool starts = StartsWithWindows(ConfigPath());
    const bool follows = FollowingSkin();
    const bool scales = ScaleWithDisplayChosen(ConfigPath());
    HostLog("TrayMenu checks start %d follow %d scale %d", starts ? 1 : 0, follows ? 1 : 0,
            scales ? 1 : 0);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING | (starts ? MF_CHECKED : 0), KitStartWithWindows,
                "&Start with Windows");
    AppendMenuA(menu, MF_STRING | (follows ? MF_CHECKED : 0), KitFollowSkin,
                "&Follow skin changes");
    AppendMenuA(menu, MF_STRING | (scales ? MF_CHECKED : 0), KitScaleWithDisplay,
                "Scale with the &display");
    AppendMenuA(menu, MF_STRING, KitEditSkin, "&Edit skin settings");
    AppendMenuA(menu, MF_STRING, KitOpenSkinFolder, "&Open skin folder");
    AppendMenuA(menu, MF_STRING, KitAbout, "&About Vorlamet...");
}

bool RunKitCommand(HWND owner, WPARAM command) {
    switch (command) {
    case KitStartWithWindows: {
        // The opposite of what the registry says now, not of what the menu showed.
        const bool on = !StartsWithWindows(ConfigPath());
        HostLog("Tray Start with Windows %d", on ? 1 : 0);
        ChooseStartWithWindows(owner, ConfigPath(), on);
        return true;
    }
    case KitFollowSkin:
        HostLog("Tray Follow skin changes %d", FollowingSkin() ? 0 : 1);
        ChooseFollowingSkin(!FollowingSkin());
        return true;
    case KitScaleWithDisplay: {
        // The meter starts again at the scale the choice gives.
        const bool on = !ScaleWithDisplayChosen(ConfigPath());
        HostLog("Tray Scale with the display %d", on ? 1 : 0);
        if (ChooseScaleWithDisplay(ConfigPath(), on))
            PostMessageA(HostSession().Context.ShellWindow, KitMsgRestartPlugin, 0, 0);
        else
            MessageBoxA(owner, "The choice could not be saved in the registry.", "Vorlamet",
                        MB_OK | MB_ICONWARNING);
        return true;
    }
    case KitEditSkin:
        HostLog("Tray Edit skin settings %d", EditConfiguration(owner) ? 1 : 0);
        return true;
    case KitOpenSkinFolder: {
        const std::string folder = ConfigFolder();
        HostLog("Tray Open skin folder %d", Opened(ShellExecuteA(owner, "open", folder.c_str(),
                                                                 nullptr, nullptr, SW_SHOWNORMAL))
                                                ? 1
                                                : 0);
        return true;
    }
    case KitAbout:
        ShowAbout(owner);
        return true;
    }
    return false;
}
