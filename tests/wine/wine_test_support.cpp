#include "tests/wine/wine_test_support.h"

#include <cstdio>

std::string TempPath(const char* stem, const char* extension) {
    static unsigned counter = 0;
    char dir[MAX_PATH];
    GetTempPathA(sizeof dir, dir);
    char name[MAX_PATH + 64];
    snprintf(name, sizeof name, "%s%s_%lu_%u%s", dir, stem, GetCurrentProcessId(), ++counter,
             extension);
    return name;
}

bool WriteTextFile(const std::string& path, const std::string& text) {
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(text.data(), 1, text.size(), f) == text.size();
    return fclose(f) == 0 && ok;
}

std::string ReadTextFile(const std::string& path) {
    std::string text;
    FILE* f = fopen(path.c_str(), "rb");
    if (!f) return text;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0)
        text.append(buffer, n);
    fclose(f);
    return text;
}

std::string TestDataPath(const char* name) {
    return std::string("Z:") + TEST_DATA_DIR + "/" + name;
}

int RunProgram(const std::string& commandLine, std::string* output, DWORD timeoutMs) {
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0)) return -1;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = writeEnd;
    startup.hStdError = writeEnd;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                  &startup, &process);
    CloseHandle(writeEnd);
    if (!started) {
        CloseHandle(readEnd);
        return -1;
    }
    // Drain the pipe until the program closes it, then wait for its end.
    char buffer[4096];
    DWORD n = 0;
    while (ReadFile(readEnd, buffer, sizeof buffer, &n, nullptr) && n > 0)
        output->append(buffer, n);
    CloseHandle(readEnd);
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
