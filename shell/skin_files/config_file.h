// The configuration file as a whole: read into memory, and written back by
// way of a temporary file beside it, so that a reader never sees half a file.
// Shared by the service library's store and the host's settings dialog.
#pragma once

#include <string>

// Reads the whole file; false (and an empty text) when it is missing,
// unreadable or larger than 4 MB.
bool ReadConfigFile(const char* path, std::string* text);

// Writes text to path.new and moves it over path; false when any step fails
// (the original is then untouched).
bool WriteConfigFile(const char* path, const std::string& text);
