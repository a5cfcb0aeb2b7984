// The host's side of the desktop skin: which desktop DrawSkin paints behind a
// window. Not one of the shell's exports, so a host finds it with
// GetProcAddress and does without it when the library is not ours.
#pragma once

#include <windows.h>

// What lies behind the windows: the system's desktop (its wallpaper as the
// system places it on each monitor, or its colour), or the host's own drawn wallpaper
// (shell/pictures/rules/wallpaper.h) of its demo desktop.
const int DesktopSkinSystem = 0;
const int DesktopSkinWallpaper = 1;

extern "C" {
// Chooses the desktop DrawSkin paints and releases the picture it keeps, so
// that the next DrawSkin paints afresh: the host calls it at start and
// whenever the desktop changed (wallpaper, colours, screen size). Answers 0,
// changing nothing, for an unknown source.
__declspec(dllexport) int __stdcall SetDesktopSkin(int source);
typedef int(__stdcall* SetDesktopSkinProc)(int source);
}
