// The picture decoder behind LoadImageEx, for the library's own pictures (the
// desktop's wallpaper), which are not the plug-in's calls and are not logged.
#pragma once

#include "host/host_records.h"

#include <windows.h>

// Decodes the picture file as LoadImageEx does (image_loader.cpp says how);
// false on any failure, with nothing left behind and the image untouched.
bool DecodePicture(const wchar_t* path, ImageInfo* image);
