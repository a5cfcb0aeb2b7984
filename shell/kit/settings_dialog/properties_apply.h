// Applying the settings dialog: check, write the changed keys, restart the
// plug-in with them, and put everything back when it does not start.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum class ApplyOutcome {
    Unchanged,   // nothing to write
    Applied,     // written, and the plug-in runs with it
    Invalid,     // a row failed its check; nothing written
    WriteFailed, // the file could not be written; nothing changed
    StartFailed, // the plug-in did not start: the previous file is back
};

// current holds the dialog's text for each row. Tells the user (a message
// box owned by dialog) about every outcome but Unchanged and Applied; for
// Invalid, problemRow is the row at fault.
ApplyOutcome ApplySettings(HWND dialog, const std::vector<std::string>& current,
                           int32_t* problemRow);
