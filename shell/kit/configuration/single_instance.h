// One host per configuration file: two meters on one file would fight over
// its X and Y.
#pragma once

#include <string>

// Takes the configuration's lock for the life of the process. False when
// another host (of this user's session) holds it.
bool ClaimConfiguration(const std::string& fullPath);

// A full path in the one spelling the file system stores (long names, their
// letter case; StoredSpelling), so that every spelling of a file names the
// same lock and the same kit choices, and its Run value reads the same
// whichever spelling the host was started with. As given from the first
// part that cannot be found.
std::string LongConfigPath(const std::string& fullPath);
