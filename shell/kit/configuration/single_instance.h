// One host per configuration file: two meters on one file would fight over
// its X and Y.
#pragma once

#include <string>

// Takes the configuration's lock for the life of the process. False when
// another host (of this user's session) holds it.
bool ClaimConfiguration(const std::string& fullPath);
