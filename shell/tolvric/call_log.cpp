#include "shell/tolvric/call_log.h"
#include "win32/scoped_handle.h"

#include <windows.h>
#include <cstdarg>
#include <cstdio>

namespace {

enum class LogState { Unknown, Off, On };
LogState State = LogState::Unknown;
char LogPath[MAX_PATH];

} // namespace

void CallLog(const char* format, ...) {
    if (State == LogState::Unknown) {
        DWORD length = GetEnvironmentVariableA("TOLVRIC_CALL_LOG", LogPath, sizeof(LogPath));
        State = (length > 0 && length < sizeof(LogPath)) ? LogState::On : LogState::Off;
    }
    if (State != LogState::On) return;
    char line[1024];
    va_list arguments;
    va_start(arguments, format);
    int length = vsnprintf(line, sizeof(line) - 1, format, arguments);
    va_end(arguments);
    if (length < 0) return;
    if (length > int(sizeof(line)) - 2) length = int(sizeof(line)) - 2;
    line[length++] = '\n';
    ScopedKernelObject file(
        KernelHandle(CreateFileA(LogPath, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (!file.handle) return;
    DWORD written = 0;
    WriteFile(file.handle, line, DWORD(length), &written, nullptr);
}
