// Start with Windows: one value per configuration file under the user's Run
// key (no administrator rights needed) that starts the windowed program with
// that file. What the menu shows is read from the registry each time.
#pragma once

#include <windows.h>

#include <string>

// configPath is the full (long) path of the configuration file.

// True when the Run value starts a meter on this file.
bool StartsWithWindows(const std::string& configPath);

// At start: a value that names this file and a program that no longer exists
// (the kit's folder was moved or renamed) is pointed at this program; the
// log says so.
void RepairStartWithWindows(const std::string& configPath);

// Writes (on) or removes (off) the value. When the registry refuses, nothing
// changes and a message box owned by owner says why; true when it worked.
bool ChooseStartWithWindows(HWND owner, const std::string& configPath, bool on);
