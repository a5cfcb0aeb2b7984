// The host's check mode: reads a skin configuration the way the plug-in does,
// loads its pictures and font through the shell's service library, and
// reports what would keep the meter from starting or change what it shows.
#pragma once

#include "shell/common/skin_rules.h"

#include <string>

// Fills report for the configuration file at configPath. Answers the exit
// status: 0 when the meter would start, 1 when it would not, 2 when the
// configuration file cannot be found (report then holds that one error).
int CheckSkinFile(const char* configPath, SkinReport* report);

// CheckSkinFile as text: one line per finding, then a summary line. Answers
// the same exit status.
int ReportSkinCheck(const char* configPath, std::string* text);
