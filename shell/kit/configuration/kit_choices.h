// What the kit remembers per configuration file, in the user's part of the
// registry (HKEY_CURRENT_USER\Software\Vorlamet), never in the plug-in's
// section of the file: whether it follows the skin's edits, and whether it
// shows the skin at the display's scale.
#pragma once

#include <string>

// configPath is the full (long) path of the configuration file.

// On unless the user turned it off for this file.
bool FollowSkinChosen(const std::string& configPath);
// Remembers the choice; false when the registry refused.
bool ChooseFollowSkin(const std::string& configPath, bool on);

// Scale with the display: on unless the user turned it off for this file.
bool ScaleWithDisplayChosen(const std::string& configPath);
bool ChooseScaleWithDisplay(const std::string& configPath, bool on);
