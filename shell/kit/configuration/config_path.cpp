#include "shell/kit/configuration/config_path.h"

#include "shell/kit/configuration/rules/path_spelling.h"

#include <windows.h>

namespace {

// The name the file system stores for the path's last part. FindFirstFileA,
// unlike GetLongPathNameA, is there on every system the kit runs on, and
// answers the stored letter case as well as the long name.
bool FindStoredName(const std::string& path, std::string* name) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(path.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    FindClose(search);
    *name = found.cFileName;
    return true;
}

} // namespace

std::string LongConfigPath(const std::string& fullPath) {
    return StoredSpelling(fullPath, FindStoredName);
}
