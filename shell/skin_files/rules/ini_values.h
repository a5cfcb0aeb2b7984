// Typed readings of configuration values. Each returns false when the text is
// not a well-formed value of its type, so that the caller keeps its default.
#pragma once

#include <cstddef>
#include <cstdint>

// Decimal, optionally signed, in the range of a 32-bit int.
bool ParseIniInt(const char* text, size_t length, int32_t* result);
// Hexadecimal with an optional "0x", "0X" or "$" prefix, at most 8 digits.
bool ParseIniHex(const char* text, size_t length, uint32_t* result);
// 1/0, true/false, yes/no, on/off (any case).
bool ParseIniBool(const char* text, size_t length, bool* result);

// A font as written in the configuration: "Face,Size[,bold][,italic]", for
// example "Tahoma,8,bold". Size is in points; a weight may also be given as a
// number 100..900 instead of "bold" ("normal" is 400). Faces longer than 31
// characters are cut. A missing or empty face or a bad size gives the
// default face or size; unknown words are ignored.
struct FontSpec {
    char Face[32];
    int32_t Size;   // points
    int32_t Weight; // 400 normal, 700 bold
    bool Italic;
};
const char* const DefaultFontFace = "Tahoma";
const int32_t DefaultFontSize = 8;
const int32_t FontSizeMax = 500; // points; a size is 1-FontSizeMax
void DefaultFontSpec(FontSpec* font);
// Reads a description over the defaults; false when any part was not usable.
bool ParseFontSpec(const char* text, size_t length, FontSpec* font);
