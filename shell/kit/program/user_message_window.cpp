#include "shell/kit/program/user_message.h"

#include <windows.h>

void TellProblem(const std::string& line) {
    MessageBoxA(nullptr, line.c_str(), "Vorlamet", MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

void TellText(const std::string& text) {
    MessageBoxA(nullptr, text.c_str(), "Vorlamet", MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND);
}
