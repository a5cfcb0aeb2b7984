// The text that asks the shell to open the plug-in's settings: "/" and the
// plug-in's properties name.
#pragma once

#include <cstddef>

// The buffer the Properties command builds the text in: the slash, up to 259
// characters of the name and the terminator.
const size_t PropertiesTextSize = 261;

// Writes "/" + name into buffer (size bytes, at least 2), cutting the name so
// that the text and its terminator fit; a null name counts as empty. Answers
// the length of the text.
size_t BuildPropertiesText(char* buffer, size_t size, const char* name);
