#include "shell/kit/configuration/single_instance.h"

#include "shell/kit/configuration/config_path.h"
#include "shell/kit/configuration/rules/host_identity.h"

#include <windows.h>

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
