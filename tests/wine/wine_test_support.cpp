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
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    fclose(f);
    return text;
}

std::string TestDataPath(const char* name) {
    return std::string("Z:") + TEST_DATA_DIR + "/" + name;
}
