// The scaled view of a skin: which of the plug-in's settings are lengths that
// grow with the monitor's scale, how a length is scaled and rounded, and which
// picture a skin offers for a scale. The kit decides the view once per start
// of the plug-in (from the descriptor's roles and the configuration's text)
// and its service library hands the plug-in scaled numbers and pictures
// through it; nothing the user edits ever holds a scaled value.
#pragma once

#include "shell/skin_files/rules/descriptor_roles.h"

#include <cstddef>
#include <cstdint>

// The scale is a monitor's dots per inch; 96 is 100 % (pixel for pixel).
const int32_t ScaleBaseDpi = 96;
const int32_t ScaleDpiMin = 48;
const int32_t ScaleDpiMax = 480;

const int32_t ScaledKeyRoom = 64;
const int32_t ScaledPathRoom = 260;
const int32_t ScaledLengthKeysMax = 4 * MeterRoleCount; // frame and text offsets
const int32_t ScaledPicturesMax = 1 + MeterRoleCount;   // background and strips

struct ScaledPicture {
    char Path[ScaledPathRoom]; // as the configuration spells it
    int32_t Frames;            // frames side by side, at least 1
};

struct SkinScaleView {
    int32_t Dpi; // ScaleBaseDpi: the skin as it is
    int32_t LengthKeyCount;
    char LengthKeys[ScaledLengthKeysMax][ScaledKeyRoom];
    char FontKey[ScaledKeyRoom]; // empty: the font keeps its size
    int32_t PictureCount;
    ScaledPicture Pictures[ScaledPicturesMax];
};

// value * toDpi / fromDpi, rounded half away from zero, held to 32 bits. Every
// scaled number of a skin (offsets, font size, picture sizes) goes through it.
int32_t ScaleLengthBetween(int32_t value, int32_t fromDpi, int32_t toDpi);
// A length of the skin (drawn for 96 dots per inch) at dpi.
int32_t ScaleLength(int32_t value, int32_t dpi);
// A dpi the kit accepts from the system: out of 48..480 reads as 96.
int32_t UsableDpi(int32_t dpi);

// The view of a configuration at dpi: the frame and text offsets of each
// meter and the font, as the roles name them, and the pictures the
// configuration names with their frame counts (the meter's own count, or the
// row's default; 0 or less counts as 1). X and Y and every other key keep
// their values. Holds no pointer into its arguments.
void BuildSkinScaleView(const SettingRoles& roles, const char* iniText, size_t iniLength,
                        int32_t dpi, SkinScaleView* view);
// The value the plug-in is handed for key (keys ignore case, as the
// configuration's do).
int32_t ScaledSetting(const SkinScaleView& view, const char* key, int32_t value);
// The font's size in points for key; other keys keep theirs.
int32_t ScaledFontSize(const SkinScaleView& view, const char* key, int32_t points);
// The frames of the picture at path, 1 for a picture the view does not name.
int32_t FramesOfPicture(const SkinScaleView& view, const char* path);

// The pictures a skin may ship beside name.png: name@1.5x.png, name@2x.png.
struct PictureScale {
    const char* Suffix; // "" for the picture itself
    int32_t Dpi;
};
const int32_t PictureScaleCount = 3;
extern const PictureScale PictureScales[PictureScaleCount];

// Which of PictureScales to draw from at dpi, given which exist: the one made
// for the nearest scale at or above dpi, else the largest there is. -1 when
// none exists.
int32_t ChoosePictureScale(int32_t dpi, const bool present[PictureScaleCount]);
// path with suffix before its extension ("cpu.png", "@2x" gives "cpu@2x.png";
// a dot in a folder's name is no extension). False when it does not fit.
bool PictureNameForScale(const char* path, const char* suffix, char* out, size_t room);

// The sizes of a strip of frames drawn for fromDpi and shown at toDpi: each
// frame (width / frames columns; the rest never show) is scaled on its own,
// so the scaled strip is exactly Frames x FrameWidth wide.
struct StripSizes {
    int32_t Frames;
    int32_t SourceFrameWidth;
    int32_t FrameWidth; // scaled, at least 1
    int32_t Height;     // scaled, at least 1
};
// False when the strip has no whole frame (a frame narrower than a column).
bool ScaledStripSizes(int32_t width, int32_t height, int32_t frames, int32_t fromDpi, int32_t toDpi,
                      StripSizes* sizes);

// The place the configuration saves (the roles' X and Y); false when either is
// missing or no number, and the meter has no saved place.
bool SavedPlace(const SettingRoles& roles, const char* iniText, size_t iniLength, int32_t* x,
                int32_t* y);

// The stand-in for the monitors' scales that tests give the kit (Wine gives
// every monitor the same): dots per inch separated by commas, one per monitor
// from left to right ("96,192"). Answers how many were read, 0 when the text
// is missing or any part is not a usable dpi.
int32_t ParseMonitorDpis(const char* text, int32_t* dpis, int32_t max);
