#include "shell/kit/settings_dialog/properties_apply.h"

#include "shell/kit/log/host_log.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/settings_dialog/properties_rows.h"
#include "shell/kit/settings_dialog/rules/setting_changes.h"
#include "shell/kit/skin_check/skin_check.h"
#include "shell/skin_files/config_file.h"

namespace {

bool PluginWindowShown() {
    HWND window = HostSession().Record.PluginWnd;
    return window && IsWindow(window);
}

void Tell(HWND dialog, const std::string& text, UINT icon) {
    const char* title = Properties().Descriptor->Name;
    MessageBoxA(dialog, text.c_str(), title && title[0] ? title : "Properties", MB_OK | icon);
}

// Why the configuration keeps the plug-in from starting, in the skin check's
// words: its errors, one a line.
std::string StartErrors() {
    static SkinReport report;
    CheckSkinFile(Properties().ConfigPath.c_str(), Properties().Descriptor, &report);
    std::string lines;
    for (int32_t i = 0; i < report.Count; ++i)
        if (report.Findings[i].Severity == SkinError)
            lines += std::string("\n- ") + report.Findings[i].Text;
    return lines;
}

ApplyOutcome StartFailed(HWND dialog, const std::string& previous, const std::string& why) {
    PropertiesState& s = Properties();
    const bool restored = WriteConfigFile(s.ConfigPath.c_str(), previous);
    RestartPlugin();
    const bool running = PluginWindowShown();
    HostLog("Properties start failed; previous settings %s%s",
            restored ? "restored" : "could not be restored",
            running ? "" : "; the plug-in does not run");
    std::string text = "The meter did not start with the new settings.";
    if (!why.empty()) text += "\n" + why;
    if (!restored)
        text += "\n\nThe previous settings could not be written back to " + s.ConfigPath + ".";
    else if (running)
        text += "\n\nThe previous settings are back and the meter runs with them. Your changes "
                "are still in the dialog.";
    else
        text += "\n\nThe previous settings are back, but the meter does not start with them "
                "either.";
    Tell(dialog, text, MB_ICONWARNING);
    return ApplyOutcome::StartFailed;
}

} // namespace

ApplyOutcome ApplySettings(HWND dialog, const std::vector<std::string>& current,
                           int32_t* problemRow) {
    PropertiesState& s = Properties();
    // The file as it is now: the plug-in may have saved a new position since
    // the dialog opened.
    std::string previous;
    ReadConfigFile(s.ConfigPath.c_str(), &previous);
    std::vector<SettingChange> changes;
    SettingProblem problem;
    if (!CollectSettingChanges(*s.Descriptor, s.Initial, current, previous, &changes, &problem)) {
        *problemRow = problem.Row;
        HostLog("Properties invalid %s", s.Descriptor->Rows[problem.Row].Key);
        Tell(dialog, problem.Message, MB_ICONEXCLAMATION);
        return ApplyOutcome::Invalid;
    }
    if (changes.empty()) {
        HostLog("Properties unchanged");
        return ApplyOutcome::Unchanged;
    }
    const std::string updated = WriteSettingChanges(previous, s.Descriptor->Section, changes);
    if (!WriteConfigFile(s.ConfigPath.c_str(), updated)) {
        HostLog("Properties write failed");
        Tell(dialog,
             "The settings could not be written to " + s.ConfigPath + ". Nothing was changed.",
             MB_ICONERROR);
        return ApplyOutcome::WriteFailed;
    }
    std::string keys;
    for (const SettingChange& change : changes)
        keys += std::string(" ") + change.Key;
    HostLog("Properties applied %d keys:%s", int(changes.size()), keys.c_str());
    // The plug-in reads its settings only when it starts.
    RestartPlugin();
    if (!PluginWindowShown()) return StartFailed(dialog, previous, StartErrors());
    return ApplyOutcome::Applied;
}
