// The host's check mode: reads a skin configuration the way the plug-in does,
// loads its pictures and font through the shell's service library, and
// reports what would keep the meter from starting or change what it shows.
// Key names, defaults and ranges come from the plug-in's descriptor.
#pragma once

#include "shell/kit/skin_check/rules/skin_rules.h"
#include "shell/skin_files/rules/descriptor_view.h"

#include <string>

// Fills report for the configuration file at configPath, with the settings
// rows of descriptor. Answers the exit status: 0 when the meter would start,
// 1 when it would not, 2 when the configuration file cannot be found or the
// descriptor's rows are not the meter's (report then holds that one error).
int CheckSkinFile(const char* configPath, const PluginInfo* descriptor, SkinReport* report);

// Loads the plug-in at pluginPath for its descriptor (without starting it),
// runs CheckSkinFile and gives one line per finding, then a summary line, as
// text. Answers the same exit status; 2 also when the plug-in cannot be
// loaded.
int ReportSkinCheck(const char* configPath, const char* pluginPath, std::string* text);
