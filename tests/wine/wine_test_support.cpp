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
    // Read while the program runs, so that a program that hangs is stopped at
    // the deadline instead of blocking the read for ever.
    char buffer[4096];
    DWORD code = static_cast<DWORD>(-1);
    const DWORD begin = GetTickCount();
    for (;;) {
        DWORD available = 0, n = 0;
        if (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
            if (ReadFile(readEnd, buffer, available < sizeof buffer ? available : sizeof buffer, &n,
                         nullptr))
                output->append(buffer, n);
            continue;
        }
        if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
            // What it wrote is in the pipe now. Read only that: a process it
            // started (Wine starts its desktop's explorer from the first
            // program that makes a window) may hold the pipe open for ever.
            while (PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr) &&
                   available > 0 &&
                   ReadFile(readEnd, buffer, available < sizeof buffer ? available : sizeof buffer,
                            &n, nullptr) &&
                   n > 0)
                output->append(buffer, n);
            GetExitCodeProcess(process.hProcess, &code);
            break;
        }
        if (GetTickCount() - begin > timeoutMs) {
            TerminateProcess(process.hProcess, 1);
            break;
        }
    }
    CloseHandle(readEnd);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
