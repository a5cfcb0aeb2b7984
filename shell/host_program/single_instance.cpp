#include "shell/host_program/single_instance.h"

#include "shell/common/host_identity.h"

#include <windows.h>

std::string LongConfigPath(const std::string& fullPath) {
    char longPath[MAX_PATH];
    DWORD n = GetLongPathNameA(fullPath.c_str(), longPath, sizeof longPath);
    return n > 0 && n < sizeof longPath ? std::string(longPath) : fullPath;
}

bool ClaimConfiguration(const std::string& fullPath) {
    const std::string path = LongConfigPath(fullPath);
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
