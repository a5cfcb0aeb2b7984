#include "shell/kit/log/host_log.h"

#include <cstdarg>
#include <cstdio>

void HostLog(const char* format, ...) {
    va_list args;
    va_start(args, format);
    vfprintf(stdout, format, args);
    va_end(args);
    fputc('\n', stdout);
    fflush(stdout);
}
