#include "shell/kit/configuration/rules/path_spelling.h"

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The parts between separators from `at`, without empty ones, the first
// `asGiven` of them kept as given and the rest as storedName answers them.
void AppendParts(const std::string& path, size_t at, int asGiven, std::string* out,
                 StoredNameProc storedName) {
    bool ask = true; // until a part is not found: what lies below it is not either
    for (int part = 0; at < path.size(); ++part) {
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
        const bool own = part >= asGiven; // a server's or share's name is not the file system's
        if (own)
            ask = ask && given != "." && given != ".." &&
                  given.find_first_of("*?") == std::string::npos &&
                  storedName(*out + given, &stored) && !stored.empty();
        *out += own && ask ? stored : given;
        at = end;
    }
}

} // namespace

std::string StoredSpelling(const std::string& fullPath, StoredNameProc storedName) {
    const std::string& p = fullPath;
    if (p.size() >= 3 && p[1] == ':' && IsSeparator(p[2])) {
        const char drive = p[0] >= 'a' && p[0] <= 'z' ? char(p[0] - 'a' + 'A') : p[0];
        std::string out = std::string(1, drive) + ":\\";
        AppendParts(p, 3, 0, &out, storedName);
        return out;
    }
    // \\server\share\...: the parts after the share are the file system's.
    if (p.size() > 2 && IsSeparator(p[0]) && IsSeparator(p[1]) && p[2] != '?' && p[2] != '.') {
        std::string out = "\\\\";
        AppendParts(p, 2, 2, &out, storedName);
        return out;
    }
    return fullPath;
}
