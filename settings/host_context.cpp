#include "settings/host_context.h"

#include <cstring>

namespace {
HostContextRecord Copy;
} // namespace

const HostContextRecord& HostContext = Copy;

void KeepHostContext(const HostContextRecord* context) {
    memcpy(&Copy, context, sizeof Copy);
}
