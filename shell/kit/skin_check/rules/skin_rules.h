// The rules of the skin check: given what a configuration says and what its
// pictures and font turned out to be, find everything that keeps the meter
// from starting or makes it show something other than the author meant.
// Platform-free: the host's check mode reads the values and loads the
// pictures, these functions only judge them. Key names, option names and the
// ranges the settings dialog offers come from the plug-in's descriptor
// (SkinConfig.Roles); what a value does at start is the plug-in's behaviour,
// known here.
#pragma once

#include "shell/skin_files/rules/descriptor_roles.h"
#include "shell/skin_files/rules/setting_editors.h"

#include <cstdint>

// Characters of a template and of a picture path that the plug-in reads: the
// limits the settings dialog enforces.
const int32_t SkinTemplateRead = TextValueMax;
const int32_t SkinPathRead = PictureValueMax;

struct SkinPicture {
    bool Loaded;
    bool HasAlpha; // per-pixel alpha (the layered path)
    int32_t Width;
    int32_t Height;
};

// The pictures a skin ships for the scales above 1x (PictureScales 1 and 2 of
// shell/skin_files/rules/skin_scale.h: name@1.5x.png, name@2x.png), when they exist.
const int32_t SkinScaledPictures = 2;
struct SkinScaledSet {
    bool Present[SkinScaledPictures]; // the file is there
    SkinPicture Picture[SkinScaledPictures];
};

// The lock mode that makes the window click-through; it needs layered windows.
const int32_t GhostLockMode = 3;

struct SkinMeterConfig {
    char ImagePath[512];
    int32_t FramesCount; // as written; the plug-in takes values below 1 as 1
    bool FramesCountWritten;
    int32_t OffsetX;
    int32_t OffsetY;
    char TextFormat[512]; // as written, possibly longer than the plug-in reads
    int32_t TextdX;
    int32_t TextdY;
    SkinPicture Image;
    SkinScaledSet ImageScaled;
};

struct SkinConfig {
    const SettingRoles* Roles; // the descriptor's rows: key names, options, ranges
    bool SectionFound;         // the file has the plug-in's section
    int32_t ZOrder;
    int32_t LockMode;
    char SkinPath[512];
    SkinPicture Background;
    SkinScaledSet BackgroundScaled;
    SkinMeterConfig Meters[MeterRoleCount]; // in the order of Roles->Meters
    char FontFace[64];
    bool FontExists;
    int32_t Elapse;
    int32_t MaxNetSpeed;   // full scale of the network bars, in bits per second
    int32_t Transparency;  // judged only when the descriptor offers it
    bool LayeredAvailable; // the system can show per-pixel alpha windows
    // Keys whose text is there but cannot be read; the plug-in uses the default.
    const char* UnreadableKeys[16];
    int32_t UnreadableCount;
};

enum SkinSeverity {
    SkinNote,    // how the configuration will be taken; nothing is wrong
    SkinWarning, // the meter starts, but shows something other than written
    SkinError,   // the meter will not start
};

struct SkinFinding {
    SkinSeverity Severity;
    char Text[400];
};

const int32_t SkinFindingsMax = 64;

struct SkinReport {
    SkinFinding Findings[SkinFindingsMax];
    int32_t Count;
    int32_t Errors;
    int32_t Warnings;
};

// Fills the report with one finding per problem, in key order. config.Roles
// must be set (without it the report holds one error).
void CheckSkin(const SkinConfig& config, SkinReport* report);

// Length of the text before and after the first number marker that a template
// holds, counted the way the plug-in splits it, without the plug-in's cut.
void TemplatePartLengths(const char* textFormat, int32_t* prefixLength, int32_t* postfixLength);

// "error: ...", "warning: ..." or "note: ...".
const char* SkinSeverityName(SkinSeverity severity);
