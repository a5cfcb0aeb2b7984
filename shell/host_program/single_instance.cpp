#include "shell/host_program/single_instance.h"

#include "shell/common/host_identity.h"

#include <windows.h>

bool ClaimConfiguration(const std::string& fullPath) {
    // The long form of the path, so that a short (8.3) spelling of the same
    // file finds the same lock.
    char longPath[MAX_PATH];
    DWORD n = GetLongPathNameA(fullPath.c_str(), longPath, sizeof longPath);
    const std::string path = n > 0 && n < sizeof longPath ? std::string(longPath) : fullPath;
    // Kept open until the process ends, which releases it.
    HANDLE lock = CreateMutexA(nullptr, FALSE, SingleInstanceName(path).c_str());
    const DWORD error = GetLastError();
    if (lock && error == ERROR_ALREADY_EXISTS) {
        CloseHandle(lock);
        return false;
    }
    // A lock that exists but may not be opened belongs to another host too.
    return lock || error != ERROR_ACCESS_DENIED;
}
