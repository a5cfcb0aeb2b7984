#include "shell/kit/skin_check/rules/skin_rules.h"

#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// A configuration with nothing to report: a 220 x 120 alpha background and
// four 21-frame strips of 100-pixel frames placed inside it.
const SettingRoles& Roles(bool layered = true) {
    static SettingRoles roles[2];
    SettingRoles& r = roles[layered ? 1 : 0];
    char reason[200] = "";
    EXPECT_TRUE(FindSettingRoles(test_descriptor::Descriptor(layered), &r, reason, sizeof reason))
        << reason;
    return r;
}

SkinConfig GoodConfig() {
    SkinConfig config;
    memset(&config, 0, sizeof config);
    config.Roles = &Roles();
    config.SectionFound = true;
    config.ZOrder = 1;
    snprintf(config.SkinPath, sizeof config.SkinPath, "background.png");
    config.Background = {true, true, 220, 120};
    for (int i = 0; i < 4; ++i) {
        SkinMeterConfig& meter = config.Meters[i];
        snprintf(meter.ImagePath, sizeof meter.ImagePath, "strip%d.png", i);
        meter.FramesCount = 21;
        meter.FramesCountWritten = true;
        meter.OffsetX = 106;
        meter.OffsetY = 17 + 24 * i;
        snprintf(meter.TextFormat, sizeof meter.TextFormat, "CPU %%i%%");
        meter.TextdX = 56;
        meter.TextdY = 23 + 24 * i;
        meter.Image = {true, true, 2100, 12};
        // Drawn for 150 % and 200 %; the last meter's 1.5x frames a pixel
        // wider and taller, as an author's rounding may make them.
        meter.ImageScaled = {{true, true}, {{true, true, 3150, 18}, {true, true, 4200, 24}}};
        if (i == 3) meter.ImageScaled.Picture[0] = {true, true, 3171, 19};
    }
    config.BackgroundScaled = {{true, true}, {{true, true, 330, 180}, {true, true, 440, 240}}};
    snprintf(config.FontFace, sizeof config.FontFace, "Tahoma");
    config.FontExists = true;
    config.Elapse = 800;
    config.LayeredAvailable = true;
    return config;
}

std::string Lines(const SkinReport& report) {
    std::string all;
    for (int i = 0; i < report.Count; ++i) {
        all += SkinSeverityName(report.Findings[i].Severity);
        all += ": ";
        all += report.Findings[i].Text;
        all += "\n";
    }
    return all;
}

TEST(SkinRules, GoodConfigurationHasNoFindings) {
    SkinReport report;
    CheckSkin(GoodConfig(), &report);
    EXPECT_EQ(report.Count, 0) << Lines(report);
}

struct BrokenCase {
    const char* Name;
    void (*Break)(SkinConfig*);
    SkinSeverity Severity;
    const char* Line; // the expected finding, whole
};

const BrokenCase BrokenCases[] = {
    {"ScaledStripOutOfProportion",
     [](SkinConfig* c) {
         c->Meters[0].ImageScaled.Picture[1] = {true, true, 4000, 24};
     },
     SkinWarning,
     "CPUSkin: \"strip0@2x.png\" is 4000 x 24; made for 200 % of \"strip0.png\" (2100 x 12, "
     "21 frame(s) of 100) it should be 4200 x 24 (21 frame(s) of 200)"},
    {"ScaledBackgroundTooShort", [](SkinConfig* c) { c->BackgroundScaled.Picture[0].Height = 170; },
     SkinWarning,
     "Skin: \"background@1.5x.png\" is 330 x 170; made for 150 % of \"background.png\" (220 x "
     "120, 1 frame(s) of 220) it should be 330 x 180 (1 frame(s) of 330)"},
    {"ScaledPictureUnreadable", [](SkinConfig* c) { c->BackgroundScaled.Picture[0] = {}; },
     SkinWarning,
     "Skin: cannot load picture \"background@1.5x.png\" made for 150 %; the meter is shown "
     "from another one"},
    {"ScaledAlphaDiffers",
     [](SkinConfig* c) { c->Meters[2].ImageScaled.Picture[0].HasAlpha = false; }, SkinWarning,
     "NetInSkin: \"strip2@1.5x.png\" has no alpha and \"strip2.png\" has; the meter's window "
     "changes its kind with the scale"},
    {"NoSection", [](SkinConfig* c) { c->SectionFound = false; }, SkinWarning,
     "[Quilbex]: the configuration has no such section; every key takes its default"},
    {"ZOrderOutOfRange", [](SkinConfig* c) { c->ZOrder = 3; }, SkinError,
     "Z-Order: 3 is not 0 (Desktop), 1 (Normal) or 2 (Always on top); the meter will not start"},
    {"LockModeOutOfRange", [](SkinConfig* c) { c->LockMode = 7; }, SkinWarning,
     "LockMode: 7 is not 0 to 3; the window behaves as 0 (Unlocked)"},
    {"NoBackgroundNamed",
     [](SkinConfig* c) {
         c->SkinPath[0] = 0;
         c->Background = {};
     },
     SkinError, "Skin: no background picture is named; the meter will not start"},
    {"BackgroundMissing", [](SkinConfig* c) { c->Background = {}; }, SkinError,
     "Skin: cannot load picture \"background.png\" (missing or unreadable); the meter will not "
     "start"},
    {"GhostOnDesktop",
     [](SkinConfig* c) {
         c->ZOrder = 0;
         c->LockMode = 3;
     },
     SkinWarning,
     "LockMode: 3 (Ghost mode) becomes 0 (Unlocked) at start: a Desktop window cannot be "
     "translucent or click-through"},
    {"TransparencyOnDesktop",
     [](SkinConfig* c) {
         c->ZOrder = 0;
         c->Transparency = 30;
     },
     SkinWarning,
     "Transparency: 30 becomes 0 at start: a Desktop window cannot be translucent or "
     "click-through"},
    {"AlphaWithoutLayeredWindows",
     [](SkinConfig* c) {
         c->ZOrder = 2;
         c->LayeredAvailable = false;
     },
     SkinWarning,
     "Z-Order: 2 (Always on top) becomes 0 (Desktop) at start: the background has per-pixel "
     "alpha and this system has no layered windows"},
    {"CpuPictureMissing", [](SkinConfig* c) { c->Meters[0].Image = {}; }, SkinWarning,
     "CPUSkin: cannot load picture \"strip0.png\" (missing or unreadable); the CPU meter and "
     "its text are not shown"},
    {"WidthNotDivisible",
     [](SkinConfig* c) {
         c->Meters[1].Image.Width = 100;
         c->Meters[1].FramesCount = 3;
         c->Meters[1].OffsetX = 0;
         c->Meters[1].ImageScaled = {};
     },
     SkinWarning,
     "MEMSkin: width 100 is not divisible by MEMFramesCount 3; frames are 33 pixels wide and "
     "columns 99-99 never show"},
    {"MoreFramesThanColumns",
     [](SkinConfig* c) {
         c->Meters[1].Image.Width = 5;
         c->Meters[1].FramesCount = 6;
     },
     SkinWarning,
     "MEMSkin: 5 pixels wide cannot hold MEMFramesCount 6 frames; the frames are 0 pixels wide "
     "and nothing shows"},
    {"FramesCountZero",
     [](SkinConfig* c) {
         c->Meters[2].FramesCount = 0;
         c->Meters[2].Image.Width = 100;
         c->Meters[2].ImageScaled = {};
     },
     SkinWarning, "NetInFramesCount: 0 is taken as 1"},
    {"FrameOutsideRight", [](SkinConfig* c) { c->Meters[3].OffsetX = 121; }, SkinWarning,
     "NetOutOffsetX/NetOutOffsetY: the frame at (121, 89), 100 x 12, reaches outside the "
     "background (220 x 120); the part outside is cut off"},
    {"FrameOutsideAbove", [](SkinConfig* c) { c->Meters[0].OffsetY = -1; }, SkinWarning,
     "CPUOffsetX/CPUOffsetY: the frame at (106, -1), 100 x 12, reaches outside the background "
     "(220 x 120); the part outside is cut off"},
    {"TextPointOutside", [](SkinConfig* c) { c->Meters[2].TextdX = 220; }, SkinWarning,
     "NetInTextdX/NetInTextdY: the text point (220, 71) lies outside the background (220 x "
     "120); the text centred on it is cut off"},
    {"TwoMarkers", [](SkinConfig* c) { snprintf(c->Meters[0].TextFormat, 512, "a%%ib%%uc"); },
     SkinNote,
     "CPUTextFormat: only the first %i or %u shows the number; the later markers are dropped"},
    {"FontMissing",
     [](SkinConfig* c) {
         c->FontExists = false;
         snprintf(c->FontFace, 64, "Nofont");
     },
     SkinWarning,
     "Font: no font named \"Nofont\" on this system; the texts are drawn in a substitute"},
    {"ElapseTooShort", [](SkinConfig* c) { c->Elapse = 199; }, SkinWarning,
     "Elapse: 199 ms is outside 200-5000, the range the settings dialog offers"},
    {"ElapseTooLong", [](SkinConfig* c) { c->Elapse = 5001; }, SkinWarning,
     "Elapse: 5001 ms is outside 200-5000, the range the settings dialog offers"},
    {"MaxNetSpeedNegative", [](SkinConfig* c) { c->MaxNetSpeed = -5; }, SkinNote,
     "MaxNetSpeed: -5 counts as 0: the fastest moving adapter's link speed sets the scale"},
    {"MaxNetSpeedBelowAThousand", [](SkinConfig* c) { c->MaxNetSpeed = 999; }, SkinWarning,
     "MaxNetSpeed: 999 is below 1000, so the network bars never move; the value is a link "
     "speed in bits per second (100000000 for 100 Mbit/s)"},
    {"MaxNetSpeedFastLink", [](SkinConfig* c) { c->MaxNetSpeed = 100000000; }, SkinNote,
     "MaxNetSpeed: 100000000 bits per second: a network bar is full at 10.0 MB/s (a tenth of "
     "it in bytes per second)"},
    {"MaxNetSpeedSlowLink", [](SkinConfig* c) { c->MaxNetSpeed = 56000; }, SkinNote,
     "MaxNetSpeed: 56000 bits per second: a network bar is full at 5.6 KB/s (a tenth of it in "
     "bytes per second)"},
    {"MaxNetSpeedLowest", [](SkinConfig* c) { c->MaxNetSpeed = 1000; }, SkinNote,
     "MaxNetSpeed: 1000 bits per second: a network bar is full at 100.0 B/s (a tenth of it in "
     "bytes per second)"},
    {"TransparencyTooHigh", [](SkinConfig* c) { c->Transparency = 71; }, SkinWarning,
     "Transparency: 71 is outside 0-70, the range the settings dialog offers"},
    {"UnreadableNumber",
     [](SkinConfig* c) {
         c->UnreadableKeys[0] = "Elapse";
         c->UnreadableCount = 1;
     },
     SkinWarning, "Elapse: the value cannot be read; the default is used"},
};

class SkinRulesBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(SkinRulesBroken, ReportsExactlyItsLine) {
    SkinConfig config = GoodConfig();
    GetParam().Break(&config);
    SkinReport report;
    CheckSkin(config, &report);
    ASSERT_EQ(report.Count, 1) << Lines(report);
    EXPECT_EQ(report.Findings[0].Severity, GetParam().Severity);
    EXPECT_STREQ(report.Findings[0].Text, GetParam().Line);
    EXPECT_EQ(report.Errors, GetParam().Severity == SkinError ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Each, SkinRulesBroken, ::testing::ValuesIn(BrokenCases),
                         [](const ::testing::TestParamInfo<BrokenCase>& info) {
                             return std::string(info.param.Name);
                         });

TEST(SkinRules, EdgesOfTheRangesPass) {
    for (int elapse : {200, 5000})
        for (int transparency : {0, 70}) {
            SkinConfig config = GoodConfig();
            config.Elapse = elapse;
            config.Transparency = transparency;
            SkinReport report;
            CheckSkin(config, &report);
            EXPECT_EQ(report.Count, 0) << elapse << " " << transparency << "\n" << Lines(report);
        }
}

// Without layered windows the descriptor offers three lock modes and no
// transparency: the check judges what is offered.
TEST(SkinRules, WithoutLayeredWindowsTheOfferedRowsDecide) {
    SkinConfig config = GoodConfig();
    config.Roles = &Roles(false);
    config.LayeredAvailable = false;
    config.Background.HasAlpha = false;
    config.BackgroundScaled.Picture[0].HasAlpha = config.BackgroundScaled.Picture[1].HasAlpha =
        false;
    config.LockMode = 3;
    config.Transparency = 30;
    SkinReport report;
    CheckSkin(config, &report);
    ASSERT_EQ(report.Count, 1) << Lines(report);
    EXPECT_STREQ(report.Findings[0].Text,
                 "LockMode: 3 is not 0 to 2; the window behaves as 0 (Unlocked)");
}

TEST(SkinRules, AFrameCountLeftOutIsNotReported) {
    SkinConfig config = GoodConfig();
    config.Meters[2].FramesCount = 0; // the row's default
    config.Meters[2].FramesCountWritten = false;
    config.Meters[2].Image.Width = 100;
    config.Meters[2].ImageScaled = {}; // no pictures for other scales
    SkinReport report;
    CheckSkin(config, &report);
    EXPECT_EQ(report.Count, 0) << Lines(report);
    config.Roles = nullptr;
    CheckSkin(config, &report);
    EXPECT_EQ(report.Errors, 1);
}

TEST(SkinRules, FrameTouchingTheEdgesIsInside) {
    SkinConfig config = GoodConfig();
    config.Meters[0].OffsetX = 120; // 120 + 100 = 220, the last column
    config.Meters[0].OffsetY = 108; // 108 + 12 = 120, the last row
    config.Meters[0].TextdX = 219;
    config.Meters[0].TextdY = 119;
    SkinReport report;
    CheckSkin(config, &report);
    EXPECT_EQ(report.Count, 0) << Lines(report);
}

TEST(SkinRules, LongTemplatePartsSayWhereTheyAreCut) {
    SkinConfig config = GoodConfig();
    std::string before(120, 'a');
    before.replace(90, 10, "0123456789");
    std::string format = before + "%i" + std::string(101, 'z');
    snprintf(config.Meters[1].TextFormat, sizeof config.Meters[1].TextFormat, "%s", format.c_str());
    SkinReport report;
    CheckSkin(config, &report);
    ASSERT_EQ(report.Count, 2) << Lines(report);
    // 120 + 2 + 101 = 223 characters, of which 199 are read: 77 after the marker.
    EXPECT_STREQ(report.Findings[0].Text,
                 "MEMTextFormat: 223 characters; the plug-in reads the first 199, up to "
                 "\"...zzzzzzzzzzzz\"");
    EXPECT_STREQ(report.Findings[1].Text,
                 "MEMTextFormat: the text before the number is 120 characters; only the first "
                 "100 show, cut after \"...aa0123456789\"");

    snprintf(config.Meters[1].TextFormat, sizeof config.Meters[1].TextFormat, "In %%i%s",
             std::string(150, 'b').c_str());
    CheckSkin(config, &report);
    ASSERT_EQ(report.Count, 1) << Lines(report);
    EXPECT_STREQ(report.Findings[0].Text,
                 "MEMTextFormat: the text after the number is 150 characters; only the first "
                 "100 show, cut after \"...bbbbbbbbbbbb\"");
}

TEST(SkinRules, EmptyPictureKeyIsOnlyANote) {
    SkinConfig config = GoodConfig();
    config.Meters[3].ImagePath[0] = 0;
    config.Meters[3].Image = {};
    SkinReport report;
    CheckSkin(config, &report);
    ASSERT_EQ(report.Count, 1) << Lines(report);
    EXPECT_EQ(report.Findings[0].Severity, SkinNote);
    EXPECT_EQ(report.Errors + report.Warnings, 0);
}

TEST(SkinRules, TemplatePartLengthsFollowTheSplitter) {
    struct Case {
        const char* Template;
        int32_t Before, After;
    } cases[] = {{"", 0, 0},        {"%i", 0, 0},     {"%u%", 0, 1}, {"Load", 4, 0},
                 {"a%ib%uc", 1, 2}, {"100%%i", 4, 0}, {"50%", 3, 0}, {"x", 1, 0}};
    for (const Case& c : cases) {
        int32_t before = -1, after = -1;
        TemplatePartLengths(c.Template, &before, &after);
        EXPECT_EQ(before, c.Before) << c.Template;
        EXPECT_EQ(after, c.After) << c.Template;
    }
}

} // namespace
