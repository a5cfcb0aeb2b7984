// One line per event on standard output, flushed at once so that scripts and
// tests can follow the host while it runs.
#pragma once

void HostLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
