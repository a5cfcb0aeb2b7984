#include "shell/kit/program/user_message.h"

#include <cstdio>

void TellProblem(const std::string& line) {
    fprintf(stderr, "vorlamet_host: %s\n", line.c_str());
    fflush(stderr);
}

void TellText(const std::string& text) {
    fputs(text.c_str(), stdout);
    fflush(stdout);
}
