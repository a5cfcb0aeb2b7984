// The configuration store's text format: an INI file read and edited as a
// plain buffer, so that the rules can be exercised without a file system.
//
// Format: lines end with LF or CRLF. "[Name]" opens a section; "key=value"
// sets a key; lines starting with ';' or '#' (after blanks) are comments.
// Names and keys compare without regard to case; blanks around keys and values
// are dropped, and one pair of double quotes around a value is removed, so
// that a value can keep leading or trailing blanks ("CPU %i% "). A ';' inside
// a value is part of the value. When a key appears more than once in the
// section, or the section appears more than once, the first occurrence wins.
#pragma once

#include <cstddef>
#include <string>

// One value found in a text: a view into the text, quotes already removed.
struct IniValue {
    const char* Text;
    size_t Length;
};

// Finds key in section; false when the section or the key is missing.
bool FindIniValue(const char* text, size_t length, const char* section, const char* key,
                  IniValue* value);

// True when the text has a header for section.
bool HasIniSection(const char* text, size_t length, const char* section);

// Sets key in section to value (written as it is) and returns the new text:
// the first occurrence of the key is rewritten in place, a missing key is
// added at the end of the section's first occurrence, a missing section is
// appended. Every other line, comment and line ending is kept as it was; new
// lines use the text's own line ending (CRLF for a text without one).
std::string SetIniValue(const std::string& text, const char* section, const char* key,
                        const char* value);
