// Freeing the pictures and the font LoadSettings loaded.
#include "settings/release_settings.h"

#include "host/host_library.h"
#include "settings/settings_record.h"

void FreeImageBitmaps(ImageInfo* image) {
    if (image->KeepBitmaps) return;
    if (image->ColorBitmap) DeleteObject(image->ColorBitmap);
    // A per-pixel-alpha picture's mask field is not ours to delete.
    if (image->Kind != ImageKindAlpha && image->MaskBitmap) DeleteObject(image->MaskBitmap);
}

// Forgets a picture's bitmaps after freeing them, so that a second DoneModule
// cannot delete handles that the system has since given to someone else.
static void ReleasePicture(ImageInfo* picture) {
    FreeImageBitmaps(picture);
    picture->ColorBitmap = nullptr;
    picture->MaskBitmap = nullptr;
    picture->Bits = nullptr;
    picture->Kind = ImageKindFailed;
}

void ReleaseSettingsPictures() {
    SettingsRecord& s = SettingsForLoading();
    ReleasePicture(&s.Background);
    ReleasePicture(&s.BackgroundCopy);
    ReleasePicture(&s.CpuMeter.Image);
    ReleasePicture(&s.MemMeter.Image);
    ReleasePicture(&s.NetInMeter.Image);
    ReleasePicture(&s.NetOutMeter.Image);
}

int ReleaseMeterFont() {
    FontInfo& font = SettingsForLoading().MeterFont;
    const int result = FreeFont(&font);
    // Our record forgets the font whether or not the library cleared it.
    font.Handle = nullptr;
    return result;
}
