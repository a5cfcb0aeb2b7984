// How the kit checks the plug-in's descriptor (host/descriptor_records.h)
// before reading it; the kit keeps no table of its own of what the rows hold.
#pragma once

#include "host/descriptor_records.h"

#include <cstdint>

// The most rows and list options the kit accepts from a descriptor; more
// means a broken record rather than a bigger dialog.
const int32_t DescriptorRowsMax = 256;
const int32_t DescriptorOptionsMax = 64;

// False, with a one-line reason, when the record cannot be shown or read:
// a null record or row array, a size below 24, a row count out of 0..256.
bool DescriptorUsable(const PluginInfo* descriptor, char* reason, int32_t reasonSize);
