// The skin's files as they are now: the configuration's text and a stamp of
// each picture it names, read where the plug-in reads them.
#pragma once

#include "shell/kit/skin_follow/rules/skin_edit_rules.h"
#include "shell/skin_files/rules/descriptor_roles.h"

#include <string>

// Reads the configuration at configPath (a full path) and the pictures that
// roles' picture keys name in it.
void TakeSkinSnapshot(const std::string& configPath, const SettingRoles& roles,
                      SkinSnapshot* snapshot);

// True when some program has one of the snapshot's files open for writing
// (an editor in the middle of a save): it is not to be read yet.
bool SkinFilesBeingWritten(const std::string& configPath, const SkinSnapshot& snapshot);
