// One host per configuration file: two meters on one file would fight over
// its X and Y.
#pragma once

#include <string>

// Takes the configuration's lock for the life of the process. False when
// another host (of this user's session) holds it.
bool ClaimConfiguration(const std::string& fullPath);

// The long form of a full path, so that a short (8.3) spelling of a file
// names the same lock and the same kit choices. The path itself when the
// file cannot be found.
std::string LongConfigPath(const std::string& fullPath);
