// Start with Windows: the one value per configuration file that the kit keeps
// under the user's Run key, and what a value found there means for this
// meter. Platform-free: the host reads and writes the registry, these rules
// compose and read the text.
#pragma once

#include <string>

// The program people start: the kit's console program asks for the windowed
// one beside it.
const char* const WindowedProgramName = "vorlamet.exe";
const char* const ConsoleProgramName = "vorlamet_host.exe";

// The value's name for the configuration file at fullPath: its identity
// (ConfigIdentity), so that two meters on two files keep two values.
std::string AutostartValueName(const std::string& fullPath);

// The value's text: "PROGRAM" --config "CONFIG", both full paths in quotes.
std::string AutostartCommand(const std::string& program, const std::string& config);

// The program and the configuration a Run value starts. Reads what
// AutostartCommand writes and what a person may have typed: either path with
// or without quotes, blanks around the parts, other options before or after.
// False when there is no program or no --config with a file.
struct AutostartParts {
    std::string Program;
    std::string Config;
};
bool ParseAutostartCommand(const std::string& text, AutostartParts* parts);

// The program the value should start, given the program that runs now:
// vorlamet.exe itself; for vorlamet_host.exe the vorlamet.exe beside it when
// that exists, else the console program itself.
std::string AutostartProgram(const std::string& running, bool windowedBesideExists);
// Where the windowed program beside the running one would be.
std::string WindowedBeside(const std::string& running);

enum class AutostartState {
    Off,   // no value
    On,    // the value starts an existing program on this configuration
    Moved, // the value names this configuration but a program that is gone
    Other, // a value by that name that does not start this configuration
};

// What the value (text, or null when there is none) means for the
// configuration at config; programExists answers for the value's program.
AutostartState JudgeAutostart(const char* text, const std::string& config,
                              bool (*programExists)(const std::string& path));
