// The descriptor handed to the shell: the plug-in's name, help text,
// configuration section and the schema of its settings dialog.
#pragma once

#include "host/descriptor_records.h"

#include <cstdint>

const int32_t SchemaRowCount = 45;
const int32_t ShownRowCount = 44;

// Builds the descriptor afresh from the pristine schema for a system with or
// without layered windows; the same answer every time for the same system.
PluginInfo* FillPluginInfo(bool layeredWindows);

extern "C" PluginInfo* __stdcall GetPluginInfo();
