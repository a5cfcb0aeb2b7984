// The four meters and the window-level values as the configuration gives
// them: one record in static storage, owned by settings/. LoadSettings fills
// it once at start and AdjustSettingsToSystem fits three values to the
// system; every other area reads it through `Settings`.
#pragma once

#include "host/host_records.h"
#include "settings/sizes.h"

// One meter as configured; its live level and text are sampling's readings.
struct Meter {
    ImageInfo Image;
    char ImagePath[PathRoom];
    int32_t FramesCount; // at least 1
    int32_t OffsetX;
    int32_t OffsetY;
    char Prefix[MeterAffixRoom];
    char Postfix[MeterAffixRoom];
    bool HasNumber;   // the template holds a number marker
    bool TextEnabled; // the template is not empty
    int32_t TextdX;
    int32_t TextdY;
};

struct SettingsRecord {
    Meter CpuMeter;
    Meter MemMeter;
    Meter NetInMeter;
    Meter NetOutMeter;
    int32_t ZOrder;  // window_levels.h: ZOrderDesktop, ZOrderNormal, ZOrderAlwaysOnTop
    int32_t WindowX; // the place the configuration holds, screen coordinates
    int32_t WindowY;
    int32_t LockMode; // window_levels.h: LockUnlocked ... LockGhost
    char SkinPath[PathRoom];
    FontInfo MeterFont;
    uint32_t FontColor; // pixel colour, blue in the lowest byte
    int32_t Elapse;
    int32_t MaxNetSpeed;
    bool UseVXD;
    int32_t Transparency;
    ImageInfo Background;     // drawn over on every redraw
    ImageInfo BackgroundCopy; // the pristine skin each redraw starts from
};

// What every area reads.
extern const SettingsRecord& Settings;

// The loader's and the tests' way in; no other area writes the record.
SettingsRecord& SettingsForLoading();
// Everything zero, as when the module is loaded (the tests start from it).
void ResetSettings();

// Fits ZOrder, LockMode and Transparency to what the system allows; called
// once at start, after the surface was made.
void AdjustSettingsToSystem(bool backgroundHasAlpha, bool layeredAvailable);
