#include "shell/kit/program/rules/host_options.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

const char HostUsage[] =
    "usage: vorlamet_host [--plugin FILE.plg] [--config FILE.ini] [--seconds N]\n"
    "                     [--screenshot FILE.png] [--platform-id N] [--properties-name TEXT]\n"
    "                     [--skin-option K=V] [--demo-desktop]\n"
    "                     [--properties] [--check FILE.ini] [--version]\n"
    "vorlamet.exe takes the same options and has no console.\n";

// The longest run a single timer can measure (USER_TIMER_MAXIMUM in seconds).
const long MaxSeconds = 2147483;

static bool ParseInt(const char* text, long low, long high, int* value) {
    if (!text || !*text) return false;
    errno = 0;
    char* end = nullptr;
    long v = strtol(text, &end, 10);
    if (errno || *end || v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

bool ParseHostOptions(int argc, const char* const* argv, HostOptions* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        auto need = [&](const char* what) {
            if (value) return true;
            *error = std::string(arg) + " needs " + what;
            return false;
        };
        if (!strcmp(arg, "--help") || !strcmp(arg, "-h")) {
            options->Help = true;
        } else if (!strcmp(arg, "--version")) {
            options->Version = true;
        } else if (!strcmp(arg, "--properties")) {
            options->OpenProperties = true;
        } else if (!strcmp(arg, "--demo-desktop")) {
            options->DemoDesktop = true;
        } else if (!strcmp(arg, "--plugin")) {
            if (!need("a file")) return false;
            options->PluginPath = argv[++i];
        } else if (!strcmp(arg, "--config")) {
            if (!need("a file")) return false;
            options->ConfigPath = argv[++i];
        } else if (!strcmp(arg, "--check")) {
            if (!need("a file")) return false;
            options->CheckPath = argv[++i];
        } else if (!strcmp(arg, "--screenshot")) {
            if (!need("a file")) return false;
            options->ScreenshotPath = argv[++i];
        } else if (!strcmp(arg, "--properties-name")) {
            if (!need("a text")) return false;
            options->PropertiesName = argv[++i];
        } else if (!strcmp(arg, "--seconds")) {
            if (!need("a number") || !ParseInt(argv[++i], 0, MaxSeconds, &options->Seconds)) {
                *error = "--seconds needs a number of seconds";
                return false;
            }
        } else if (!strcmp(arg, "--platform-id")) {
            if (!need("a number") || !ParseInt(argv[++i], 0, 1000, &options->PlatformId)) {
                *error = "--platform-id needs a number";
                return false;
            }
        } else if (!strcmp(arg, "--skin-option")) {
            if (!need("K=V")) return false;
            const char* kv = argv[++i];
            if (kv[0] < '1' || kv[0] > '4' || kv[1] != '=' ||
                !ParseInt(kv + 2, -2147483647L, 2147483647L, &options->SkinOption[kv[0] - '1'])) {
                *error = "--skin-option needs K=V with K from 1 to 4";
                return false;
            }
        } else {
            *error = std::string("unknown option ") + arg;
            return false;
        }
    }
    return true;
}
