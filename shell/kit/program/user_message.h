// What the host has to tell the person who started it. vorlamet_host.exe, the
// console program, writes to its standard streams; vorlamet.exe, which has
// no console, shows a message box. Each program links one of the two
// user_message_*.cpp files.
#pragma once

#include <string>

// A problem that ends the host: one line (and, for a wrong command line, the
// usage after it).
void TellProblem(const std::string& line);
// A text that was asked for: the usage, a skin check's report.
void TellText(const std::string& text);
