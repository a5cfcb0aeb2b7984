// The rules of the skin check: given what a configuration says and what its
// pictures and font turned out to be, find everything that keeps the meter
// from starting or makes it show something other than the author meant.
// Platform-free: the host's check mode reads the values and loads the
// pictures, these functions only judge them.
#pragma once

#include <cstdint>

const int32_t SkinTemplateRead = 199; // characters of a template the plug-in reads
const int32_t SkinPathRead = 259;     // characters of a picture path the plug-in reads

struct SkinPicture {
    bool Loaded;
    bool HasAlpha; // per-pixel alpha (the layered path)
    int32_t Width;
    int32_t Height;
};

struct SkinMeterConfig {
    const char* Name; // key prefix: "CPU", "MEM", "NetIn", "NetOut"
    char ImagePath[512];
    int32_t FramesCount; // as written; the plug-in takes values below 1 as 1
    int32_t OffsetX;
    int32_t OffsetY;
    char TextFormat[512]; // as written, possibly longer than the plug-in reads
    int32_t TextdX;
    int32_t TextdY;
    SkinPicture Image;
};

struct SkinConfig {
    bool SectionFound; // the file has the plug-in's section
    int32_t ZOrder;
    int32_t LockMode;
    char SkinPath[512];
    SkinPicture Background;
    SkinMeterConfig Meters[4]; // CPU, MEM, NetIn, NetOut
    char FontFace[64];
    bool FontExists;
    int32_t Elapse;
    int32_t Transparency;
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

// Fills the report with one finding per problem, in key order.
void CheckSkin(const SkinConfig& config, SkinReport* report);

// Length of the text before and after the first number marker that a template
// holds, counted the way the plug-in splits it, without the plug-in's cut.
void TemplatePartLengths(const char* textFormat, int32_t* prefixLength, int32_t* postfixLength);

// "error: ...", "warning: ..." or "note: ...".
const char* SkinSeverityName(SkinSeverity severity);
