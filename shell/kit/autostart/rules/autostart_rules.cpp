#include "shell/kit/autostart/rules/autostart_rules.h"

#include "shell/kit/configuration/rules/host_identity.h"

#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The next word of a command line from `at`: quoted text up to the closing
// quote (or the end), else up to a blank. False at the end of the text.
bool NextWord(const std::string& text, size_t* at, std::string* word) {
    size_t i = *at;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    if (i >= text.size()) return false;
    word->clear();
    if (text[i] == '"') {
        size_t end = text.find('"', i + 1);
        if (end == std::string::npos) end = text.size();
        *word = text.substr(i + 1, end - i - 1);
        *at = end < text.size() ? end + 1 : end;
        return true;
    }
    size_t end = i;
    while (end < text.size() && !IsBlank(text[end]))
        ++end;
    *word = text.substr(i, end - i);
    *at = end;
    return true;
}

size_t FileNameStart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? 0 : slash + 1;
}

bool SameNameIgnoringCase(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a >= 'A' && *a <= 'Z' ? char(*a - 'A' + 'a') : *a;
        char y = *b >= 'A' && *b <= 'Z' ? char(*b - 'A' + 'a') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

} // namespace

std::string AutostartValueName(const std::string& fullPath) {
    return ConfigIdentity(fullPath);
}

std::string AutostartCommand(const std::string& program, const std::string& config) {
    return "\"" + program + "\" --config \"" + config + "\"";
}

bool ParseAutostartCommand(const std::string& text, AutostartParts* parts) {
    size_t at = 0;
    std::string word;
    if (!NextWord(text, &at, &word) || word.empty()) return false;
    parts->Program = word;
    parts->Config.clear();
    while (NextWord(text, &at, &word)) {
        if (word != "--config") continue;
        if (!NextWord(text, &at, &word) || word.empty()) return false;
        parts->Config = word;
        return true;
    }
    return false;
}

std::string WindowedBeside(const std::string& running) {
    return running.substr(0, FileNameStart(running)) + WindowedProgramName;
}

std::string AutostartProgram(const std::string& running, bool windowedBesideExists) {
    const bool console =
        SameNameIgnoringCase(running.c_str() + FileNameStart(running), ConsoleProgramName);
    return console && windowedBesideExists ? WindowedBeside(running) : running;
}

AutostartState JudgeAutostart(const char* text, const std::string& config,
                              bool (*programExists)(const std::string& path)) {
    if (!text) return AutostartState::Off;
    AutostartParts parts;
    if (!ParseAutostartCommand(text, &parts) || !SameConfigPath(parts.Config, config))
        return AutostartState::Other;
    return programExists(parts.Program) ? AutostartState::On : AutostartState::Moved;
}
