// The kit's own items in the icon's menu: Start with Windows, Follow skin
// changes and Scale with the display (checked from what is true now), Edit skin settings, Open skin
// folder and About (the kit's version and the plug-in's own title).
#pragma once

#include <windows.h>

enum KitCommand {
    KitStartWithWindows = 111,
    KitFollowSkin = 112,
    KitEditSkin = 113,
    KitOpenSkinFolder = 114,
    KitAbout = 115,
    KitScaleWithDisplay = 116,
};

// Appends the items; logs "TrayMenu checks start N follow N scale N".
void AppendKitMenuItems(HMENU menu);
// Runs one of the items (owner owns any message box); false for other commands.
bool RunKitCommand(HWND owner, WPARAM command);
