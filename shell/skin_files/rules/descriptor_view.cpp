#include "shell/skin_files/rules/descriptor_view.h"

#include <cstdio>

bool DescriptorUsable(const PluginInfo* descriptor, char* reason, int32_t reasonSize) {
    const char* why = nullptr;
    if (!descriptor)
        why = "the plug-in gave no descriptor";
    else if (descriptor->InfoSize < DescriptorInfoSize)
        why = "the descriptor is smaller than 24 bytes";
    else if (descriptor->RowCount < 0 || descriptor->RowCount > DescriptorRowsMax)
        why = "the descriptor's row count is outside 0-256";
    else if (descriptor->RowCount > 0 && !descriptor->Rows)
        why = "the descriptor has rows but no row array";
    if (why && reason && reasonSize > 0) snprintf(reason, size_t(reasonSize), "%s", why);
    return !why;
}
