#include "shell/skin_files/config_file.h"

#include <windows.h>

#include <cstdio>

namespace {

const DWORD LargestConfigFile = 4 * 1024 * 1024;

} // namespace

bool ReadConfigFile(const char* path, std::string* text) {
    text->clear();
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    bool ok = size != INVALID_FILE_SIZE && size <= LargestConfigFile;
    if (ok) {
        text->resize(size);
        DWORD read = 0;
        ok = size == 0 || (ReadFile(file, &(*text)[0], size, &read, nullptr) && read == size);
    }
    CloseHandle(file);
    if (!ok) text->clear();
    return ok;
}

bool WriteConfigFile(const char* path, const std::string& text) {
    char temporary[MAX_PATH + 8];
    if (std::snprintf(temporary, sizeof(temporary), "%s.new", path) >= int(sizeof(temporary)))
        return false;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    bool ok = WriteFile(file, text.data(), DWORD(text.size()), &written, nullptr) &&
              written == text.size();
    ok = CloseHandle(file) && ok;
    if (ok) ok = MoveFileExA(temporary, path, MOVEFILE_REPLACE_EXISTING) != 0;
    if (!ok) DeleteFileA(temporary);
    return ok;
}
