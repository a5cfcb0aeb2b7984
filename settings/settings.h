// The four meters and the window-level values, filled once at start from the
// plug-in's configuration section.
#pragma once

#include "host/host_records.h"

struct Meter {
    int32_t Headroom; // 100 minus the usage in percent
    ImageInfo Image;
    char ImagePath[260];
    int32_t FramesCount; // at least 1
    int32_t OffsetX;
    int32_t OffsetY;
    char Prefix[101];
    char Postfix[101];
    int32_t HasNumber;   // 0 or all bits set
    int32_t TextEnabled; // 0 or all bits set
    char Text[256];
    int32_t TextdX;
    int32_t TextdY;
};

extern Meter CpuMeter;
extern Meter MemMeter;
extern Meter NetInMeter;
extern Meter NetOutMeter;

extern int32_t ZOrder; // 0 Desktop, 1 Normal, 2 Always on top
extern int32_t WindowX;
extern int32_t WindowY;
extern int32_t LockMode; // 0 Unlocked, 1 Lock Window, 2 Hide on mouse over, 3 Ghost mode
extern char SkinPath[260];
extern FontInfo MeterFont;
extern uint32_t FontColor; // pixel colour, blue in the lowest byte
extern int32_t Elapse;
extern int32_t MaxNetSpeed;
extern uint8_t UseVXD;
extern int32_t Transparency;
extern ImageInfo Background;
extern ImageInfo BackgroundCopy;

const char* const ConfigSection = "Quilbex";

// Reads every key, loads the meter strips, the font and the background twice.
// All bits set when the background loaded, 0 when it did not.
int32_t LoadSettings();
// Frees the pictures LoadSettings loaded (both loads of the background, then
// the four strips) and forgets them, so that a second call deletes nothing.
void ReleaseSettingsPictures();
// Frees the meter font through the shell's FreeFont and answers its result.
int ReleaseMeterFont();
void ParseTextFormat(Meter* meter, const char* textFormat);
void SavePosition(int32_t x, int32_t y);
