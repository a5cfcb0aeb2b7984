// The description the shell shows for the plug-in in its settings dialog.
#pragma once

extern const char HelpText[];
