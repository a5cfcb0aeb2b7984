// The text forms the settings take in the configuration: a font, a colour,
// a value that must read back exactly, and a picture path relative to the
// configuration's folder.
#pragma once

#include "shell/skin_files/rules/ini_values.h"

#include <cstdint>
#include <string>

// "Face,Size[,bold|,weight][,italic]": the form ParseFontSpec reads, with the
// weight as "bold" for 700, left out for 400 and as its number otherwise.
std::string FormatFontSpec(const FontSpec& font);

// Six upper-case hexadecimal digits of the low 24 bits, BBGGRR as a COLORREF
// (red in the lowest byte), the form the plug-in reads with GetCFGHex.
std::string FormatColorHex(uint32_t color);

// The value as it must stand after "key=" so that the INI reader gives back
// exactly this text: quoted when it has blanks at either end or is itself
// enclosed in quotes (the reader drops one pair). Line breaks cannot be kept;
// the caller rejects them first.
std::string EncodeIniValue(const std::string& value);

// A picked path as the configuration keeps it: relative to folder when it
// lies inside it (compared without regard to case or slash direction), else
// unchanged. folder is a full path, with or without a trailing separator.
std::string PathForConfig(const std::string& path, const std::string& folder);

// A configured path as a full path: relative paths are taken from folder.
std::string PathInFolder(const std::string& path, const std::string& folder);

// The folder part of a path, before its last separator (either slash); "."
// for a bare name. FileNameOf: the part after it, the whole of a bare name.
std::string FolderOf(const std::string& path);
std::string FileNameOf(const std::string& path);

// The font a font chooser answered, in the kit's form: the size from tenths
// of a point rounded to whole points (fallbackSize when the chooser gave
// none) and at most FontSizeMax; the weight rounded to hundreds, 900 at
// most, and 400 for anything below 100.
FontSpec ChosenFontSpec(const char* face, int32_t pointTenths, int32_t fallbackSize, int32_t weight,
                        bool italic);
