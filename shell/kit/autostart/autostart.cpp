#include "shell/kit/autostart/autostart.h"

#include "shell/kit/autostart/rules/autostart_rules.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/skin_follow/rules/skin_edit_rules.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "win32/scoped_handle.h"

#include <vector>

namespace {

const char RunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool FileExists(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

std::string RunningProgram() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
}

// The program the value starts; the log says so when it is the console
// program for want of the windowed one.
std::string ProgramToStart() {
    const std::string running = RunningProgram();
    const std::string program = AutostartProgram(running, FileExists(WindowedBeside(running)));
    if (program == running && SameFileName(FileNameOf(running), ConsoleProgramName))
        HostLog("Autostart starts %s: there is no %s beside it", running.c_str(),
                WindowedProgramName);
    return program;
}

// The value's text; false when there is none (or it cannot be read).
bool ReadRunValue(const std::string& name, std::string* text) {
    ScopedRegKey run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, RunKey, 0, KEY_QUERY_VALUE, &run.handle) != ERROR_SUCCESS)
        return false;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(run.handle, name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    std::vector<char> data(size + 1, 0);
    if (RegQueryValueExA(run.handle, name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return false;
    text->assign(data.data());
    if (type == REG_EXPAND_SZ) {
        char expanded[2048];
        DWORD n = ExpandEnvironmentStringsA(data.data(), expanded, sizeof expanded);
        if (n > 0 && n <= sizeof expanded) text->assign(expanded);
    }
    return true;
}

LONG WriteRunValue(const std::string& name, const std::string& text) {
    ScopedRegKey run;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, RunKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                  &run.handle, nullptr);
    if (status != ERROR_SUCCESS) return status;
    return RegSetValueExA(run.handle, name.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), DWORD(text.size() + 1));
}

LONG RemoveRunValue(const std::string& name) {
    ScopedRegKey run;
    LONG status = RegOpenKeyExA(HKEY_CURRENT_USER, RunKey, 0, KEY_SET_VALUE, &run.handle);
    if (status == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS; // no key, no value
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteValueA(run.handle, name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

std::string SystemReason(LONG status) {
    char text[256] = {};
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                             DWORD(status), 0, text, sizeof text, nullptr);
    while (n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n' || text[n - 1] == '.'))
        text[--n] = 0;
    char code[32];
    wsprintfA(code, "error %ld", status);
    return n > 0 ? std::string(text) + " (" + code + ")" : std::string(code);
}

bool Exists(const std::string& path) {
    return FileExists(path);
}

AutostartState StateOf(const std::string& configPath, std::string* text) {
    const bool present = ReadRunValue(AutostartValueName(configPath), text);
    return JudgeAutostart(present ? text->c_str() : nullptr, configPath, Exists);
}

} // namespace

bool StartsWithWindows(const std::string& configPath) {
    std::string text;
    return StateOf(configPath, &text) == AutostartState::On;
}

void RepairStartWithWindows(const std::string& configPath) {
    std::string text;
    if (StateOf(configPath, &text) != AutostartState::Moved) return;
    AutostartParts old;
    ParseAutostartCommand(text, &old);
    const std::string name = AutostartValueName(configPath);
    const std::string program = ProgramToStart();
    const LONG status = WriteRunValue(name, AutostartCommand(program, configPath));
    if (status == ERROR_SUCCESS)
        HostLog("Autostart repaired %s: %s is gone; it starts %s now", name.c_str(),
                old.Program.c_str(), program.c_str());
    else
        HostLog("Autostart repair failed %s: %s", name.c_str(), SystemReason(status).c_str());
}

bool ChooseStartWithWindows(HWND owner, const std::string& configPath, bool on) {
    const std::string name = AutostartValueName(configPath);
    std::string command;
    LONG status;
    if (on) {
        command = AutostartCommand(ProgramToStart(), configPath);
        status = WriteRunValue(name, command);
    } else {
        status = RemoveRunValue(name);
    }
    if (status == ERROR_SUCCESS) {
        if (on)
            HostLog("Autostart on %s: %s", name.c_str(), command.c_str());
        else
            HostLog("Autostart off %s", name.c_str());
        return true;
    }
    const std::string why = SystemReason(status);
    HostLog("Autostart %s failed: %s", on ? "on" : "off", why.c_str());
    const std::string text =
        std::string("Vorlamet could not ") + (on ? "set itself to start" : "stop starting") +
        " with Windows: the registry refused (" + why + ").\n\nHKEY_CURRENT_USER\\" + RunKey +
        "\nvalue " + name + "\n\nNothing was changed.";
    MessageBoxA(owner, text.c_str(), "Vorlamet", MB_OK | MB_ICONWARNING | MB_SETFOREGROUND);
    return false;
}
