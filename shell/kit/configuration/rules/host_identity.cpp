#include "shell/kit/configuration/rules/host_identity.h"

#include <cstdint>
#include <cstdio>

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// One spelling per path: ASCII letters in lower case, every separator a
// backslash, runs of separators one (but the two of a \\server\share start).
std::string NormalPath(const std::string& path) {
    std::string out;
    out.reserve(path.size());
    for (size_t i = 0; i < path.size(); ++i) {
        char c = path[i];
        if (IsSeparator(c)) {
            if (i > 1 && !out.empty() && out.back() == '\\') continue;
            c = '\\';
        } else if (c >= 'A' && c <= 'Z') {
            c = char(c - 'A' + 'a');
        }
        out += c;
    }
    return out;
}

} // namespace

std::string ConfigIdentity(const std::string& fullPath) {
    // 64-bit FNV-1a: a backslash may not appear in an object name past the
    // namespace, and a path may be longer than a name may be.
    uint64_t hash = 14695981039346656037ull;
    for (char c : NormalPath(fullPath)) {
        hash ^= uint8_t(c);
        hash *= 1099511628211ull;
    }
    char name[40];
    snprintf(name, sizeof name, "Vorlamet-%016llx", static_cast<unsigned long long>(hash));
    return name;
}

std::string SingleInstanceName(const std::string& fullPath) {
    return "Local\\" + ConfigIdentity(fullPath);
}

bool SameConfigPath(const std::string& a, const std::string& b) {
    return NormalPath(a) == NormalPath(b);
}

std::string TrayTip(const std::string& configPath, size_t room) {
    // The last two parts of the path: the skin's folder and its file.
    size_t cut = configPath.size();
    for (int parts = 0; parts < 2 && cut > 0;) {
        --cut;
        if (IsSeparator(configPath[cut])) ++parts;
    }
    if (cut < configPath.size() && IsSeparator(configPath[cut])) ++cut;
    const std::string product = "Vorlamet - ";
    std::string shown = configPath.substr(cut);
    if (product.size() + shown.size() <= room) return product + shown;
    if (room <= product.size() + 3) return product.substr(0, room);
    return product + "..." + shown.substr(shown.size() - (room - product.size() - 3));
}
