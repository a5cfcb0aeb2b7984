// The sizes of the plug-in's text buffers, each written once here; the
// records that hold such a buffer and the code that fills it read these.
#pragma once

#include <cstddef>
#include <cstdint>

const int32_t PathRoom = 260;                      // a picture's path, terminator included
const int32_t TemplateRoom = 200;                  // a meter's TextFormat as read
const int32_t TemplatePartMax = 100;               // longest prefix or postfix kept from a template
const size_t MeterAffixRoom = TemplatePartMax + 1; // a meter's Prefix and Postfix
const size_t MeterTextRoom = 256;                  // a meter's Text, terminator included
