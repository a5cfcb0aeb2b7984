// Giving back what LoadSettings took: the pictures and the font.
#pragma once

#include "host/host_records.h"

// Deletes a loaded picture's bitmaps, unless the loader keeps them; the mask
// of a per-pixel-alpha picture is not ours to delete.
void FreeImageBitmaps(ImageInfo* image);
// Frees the pictures LoadSettings loaded (both loads of the background, then
// the four strips) and forgets them, so that a second call deletes nothing.
void ReleaseSettingsPictures();
// Frees the meter font through the shell's FreeFont and answers its result.
int ReleaseMeterFont();
