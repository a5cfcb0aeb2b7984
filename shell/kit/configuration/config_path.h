// The configuration file's one spelling: what names it to the lock, the kit's
// remembered choices and its Run value.
#pragma once

#include <string>

// A full path in the one spelling the file system stores (long names, their
// letter case; StoredSpelling), so that every spelling of a file names the
// same lock and the same kit choices, and its Run value reads the same
// whichever spelling the host was started with. As given from the first
// part that cannot be found.
std::string LongConfigPath(const std::string& fullPath);
