#include "shell/kit/settings_dialog/rules/setting_changes.h"

#include "shell/kit/settings_dialog/rules/setting_values.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/setting_forms.h"

bool CollectSettingChanges(const PluginInfo& descriptor, const std::vector<std::string>& initial,
                           const std::vector<std::string>& current, const std::string& ini,
                           std::vector<SettingChange>* changes, SettingProblem* problem) {
    changes->clear();
    const size_t rows = size_t(descriptor.RowCount);
    for (size_t i = 0; i < rows && i < initial.size() && i < current.size(); ++i) {
        if (current[i] == initial[i]) continue;
        const SettingRow& row = descriptor.Rows[i];
        std::string stored, message;
        if (!CheckSettingText(row, EditorFor(row), current[i], &stored, &message)) {
            changes->clear();
            problem->Row = int32_t(i);
            problem->Message = message;
            return false;
        }
        IniValue now;
        if (FindIniValue(ini.data(), ini.size(), descriptor.Section, row.Key, &now) &&
            std::string(now.Text, now.Length) == stored)
            continue;
        changes->push_back({int32_t(i), row.Key, stored});
    }
    return true;
}

std::string WriteSettingChanges(const std::string& ini, const char* section,
                                const std::vector<SettingChange>& changes) {
    std::string text = ini;
    for (const SettingChange& change : changes)
        text = SetIniValue(text, section, change.Key, EncodeIniValue(change.Stored).c_str());
    return text;
}
