// Platform-free pieces of the settings: the text template splitter and the
// colour conversion, on plain values and buffers.
#pragma once

#include "settings/sizes.h"

#include <cstdint>

// Splits "prefix %i postfix" at its first number marker ("%i" or "%u").
// Later markers are dropped and the text between them joins the postfix.
// Each part holds at most TemplatePartMax characters plus its terminator.
// Returns the HasNumber flag: all bits set when a marker was found, else 0.
int32_t SplitTextTemplate(const char* textFormat, char prefix[TemplatePartMax + 1],
                          char postfix[TemplatePartMax + 1]);

// Turns a configured colour laid out like a COLORREF (red in the lowest byte)
// into a 32-bit bitmap pixel colour (blue in the lowest byte); bits 24-31 are dropped.
uint32_t ColorFromHex(uint32_t value);
