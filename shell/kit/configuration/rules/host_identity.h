// What names a running host: the lock that keeps one host per configuration
// file, the names the kit keeps per configuration (its Run value, its
// remembered choices), and the tip of its notification-area icon.
#pragma once

#include <cstddef>
#include <string>

// The name of the system-wide lock (a mutex) for the configuration file at
// fullPath: the same for every spelling of one path (letter case, / or \,
// doubled separators), different for different files. A valid object name
// in the session's namespace, far below MAX_PATH whatever the path.
std::string SingleInstanceName(const std::string& fullPath);

// The identity behind that name, without the namespace: "Vorlamet-" and 16
// hexadecimal digits, the same for every spelling of one path. Also a valid
// registry value name.
std::string ConfigIdentity(const std::string& fullPath);

// True when two full paths name the same file by the rule of the identity.
bool SameConfigPath(const std::string& a, const std::string& b);

// The icon's tip: the product and the configuration's folder and file
// ("Vorlamet - default\vorlamet.ini"), cut at the front of the path to fit
// `room` characters (the terminator not counted).
std::string TrayTip(const std::string& configPath, size_t room);
