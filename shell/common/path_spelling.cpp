#include "shell/common/path_spelling.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The parts between separators from `at`, without empty ones.
void AppendParts(const std::string& path, size_t at, std::string* out, StoredNameProc storedName,
                 bool ask) {
    while (at < path.size()) {
        while (at < path.size() && IsSeparator(path[at]))
            ++at;
        size_t end = at;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (end == at) break;
        const std::string given = path.substr(at, end - at);
        if (out->empty() || out->back() != '\\') *out += '\\';
        std::string stored;
        // "." and ".." are no names; a wildcard would answer for another file.
        ask = ask && given != "." && given != ".." &&
              given.find_first_of("*?") == std::string::npos && storedName(*out + given, &stored) &&
              !stored.empty();
        *out += ask ? stored : given;
        at = end;
    }
}

} // namespace

std::string StoredSpelling(const std::string& fullPath, StoredNameProc storedName) {
    const std::string& p = fullPath;
    if (p.size() >= 3 && p[1] == ':' && IsSeparator(p[2])) {
        const char drive = p[0] >= 'a' && p[0] <= 'z' ? char(p[0] - 'a' + 'A') : p[0];
        std::string out = std::string(1, drive) + ":\\";
        AppendParts(p, 3, &out, storedName, true);
        return out;
    }
    // \\server\share\...: the parts after the share are the file system's.
    if (p.size() > 2 && IsSeparator(p[0]) && IsSeparator(p[1]) && p[2] != '?' && p[2] != '.') {
        std::string out = "\\\\";
        size_t at = 2;
        for (int part = 0; part < 2 && at < p.size(); ++part) {
            while (at < p.size() && IsSeparator(p[at]))
                ++at;
            const size_t start = at;
            while (at < p.size() && !IsSeparator(p[at]))
                ++at;
            out += (part ? "\\" : "") + p.substr(start, at - start);
        }
        AppendParts(p, at, &out, storedName, true);
        return out;
    }
    return fullPath;
}
