// The change set of the settings dialog: which keys an Apply writes, checked
// before anything is written, and the new configuration text.
#pragma once

#include "shell/skin_files/rules/descriptor_view.h"

#include <cstddef>
#include <string>
#include <vector>

struct SettingChange {
    int32_t Row;
    const char* Key;
    std::string Stored; // the value as written, before INI quoting
};

struct SettingProblem {
    int32_t Row; // the first row that failed its check
    std::string Message;
};

// Compares each row's current text with the text it started from. A row that
// was edited is checked (the first failure fills problem and answers false,
// with changes left empty); one whose checked value equals what the INI
// text already holds is no change. Rows never edited are neither checked nor
// written, so a value the dialog would not accept but the user left alone
// stays as it is. initial and current hold one text per row.
bool CollectSettingChanges(const PluginInfo& descriptor, const std::vector<std::string>& initial,
                           const std::vector<std::string>& current, const std::string& ini,
                           std::vector<SettingChange>* changes, SettingProblem* problem);

// The INI text with each change written into the descriptor's section: every
// other line, comment, key and section kept byte for byte.
std::string WriteSettingChanges(const std::string& ini, const char* section,
                                const std::vector<SettingChange>& changes);
