// The system's common dialogs behind the settings dialog's Browse and Choose
// buttons. Each starts from the text a row holds and answers the text to put
// in its place, in the form the configuration keeps; false when cancelled.
#pragma once

#include <windows.h>

#include <string>

// An open-file dialog for PNG and BMP pictures; a picture inside the
// configuration's folder comes back relative to it.
bool PickPicture(HWND owner, const std::string& current, const std::string& configFolder,
                 std::string* picked);
// The font dialog; the answer is "Face,Size[,bold][,italic]".
bool PickFont(HWND owner, const std::string& current, std::string* picked);
// The colour dialog; the answer is six hexadecimal digits BBGGRR.
bool PickColor(HWND owner, const std::string& current, std::string* picked);
