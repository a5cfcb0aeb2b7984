// The host's side of the scaled view: the scale at which the library hands a
// starting plug-in its skin (shell/skin_files/rules/skin_scale.h). Not one of the
// shell's exports, so a host finds it with GetProcAddress and does without it
// when the library is not ours.
#pragma once

#include "shell/skin_files/rules/skin_scale.h"

#include <windows.h>

extern "C" {
// Copies the view; from now on the frame and text offsets, the font's size
// and the pictures the plug-in asks for are the view's, until the host calls
// it again with null (the skin as it is). The host sets it around the
// plug-in's start, which is when the plug-in reads its settings. Answers 1.
__declspec(dllexport) int __stdcall SetSkinScale(const SkinScaleView* view);
typedef int(__stdcall* SetSkinScaleProc)(const SkinScaleView* view);
}

// The view in force, or null when the skin is handed as it is.
const SkinScaleView* ActiveScaleView();
