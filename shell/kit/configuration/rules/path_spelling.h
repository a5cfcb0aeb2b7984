// One spelling for one file: a full path as the file system stores it, so
// that whatever spelling a start was given (8.3 names, other letter case,
// / for \, doubled separators), the kit writes the same text. Platform-free:
// the host asks the file system for each part's stored name.
#pragma once

#include <string>

// Answers the stored name (long form, its letters' case) of the last part of
// `path`, a full path; false when there is none (not there, no access).
using StoredNameProc = bool (*)(const std::string& path, std::string* name);

// The full path with a capital drive letter, \ between parts, no empty
// parts, and each part as storedName answers it; from the first part it
// cannot answer for, the rest as given. A network path's server and share,
// and any path that is not a full one, are kept as given.
std::string StoredSpelling(const std::string& fullPath, StoredNameProc storedName);
