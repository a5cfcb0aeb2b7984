// LoadSettings and SavePosition against real INI files read and written by
// the service library, with the library's call log for the order of calls.
#include "host/host_library.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The library reads TOLVRIC_CALL_LOG once, at its first call, so the log is
// named before any test runs.
const std::string CallLogPath = [] {
    std::string path = TempPath("settings_calls", ".log");
    SetEnvironmentVariableA("TOLVRIC_CALL_LOG", path.c_str());
    return path;
}();

struct MeterPrefix {
    Meter* Target;
    MeterReading* Reading;
    const char* Prefix;
    const char* Picture;
};

const MeterPrefix Meters[4] = {
    {&SettingsForLoading().CpuMeter, &ReadingsToRenew().Cpu, "CPU", "cpu.png"},
    {&SettingsForLoading().MemMeter, &ReadingsToRenew().Mem, "MEM", "mem.png"},
    {&SettingsForLoading().NetInMeter, &ReadingsToRenew().NetIn, "NetIn", "netin.png"},
    {&SettingsForLoading().NetOutMeter, &ReadingsToRenew().NetOut, "NetOut", "netout.png"}};

std::string Picture(const char* name) {
    return TestDataPath((std::string("settings/") + name).c_str());
}

std::vector<std::string> ReadCallLog() {
    std::vector<std::string> lines;
    const std::string text = ReadTextFile(CallLogPath);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// Every key with a value of its own: the meters differ by an index so that a
// value landing in the wrong meter shows.
std::string FullConfiguration() {
    std::string ini = "[Other]\nElapse=1\n[Quilbex]\n";
    ini += "Z-Order=2\nX=310\nY=-20\nLockMode=3\nSkin=" + Picture("background.png") + "\n";
    const char* const templates[4] = {"(cpu: %i %)", "Memory %u MB", "", "no number"};
    for (int i = 0; i < 4; ++i) {
        const std::string p = Meters[i].Prefix;
        const std::string n = std::to_string(i + 1);
        ini += p + "Skin=" + Picture(Meters[i].Picture) + "\n";
        ini += p + "FramesCount=" + std::to_string(i + 2) + "\n";
        ini += p + "OffsetX=1" + n + "\n" + p + "OffsetY=2" + n + "\n";
        ini += p + "TextFormat=" + templates[i] + "\n";
        ini += p + "TextdX=3" + n + "\n" + p + "TextdY=4" + n + "\n";
    }
    ini += "Font=Tahoma,9,bold\nFontColor=0000FF\nElapse=1500\nMaxNetSpeed=64000\n";
    ini += "UseVXD=0\nTransparency=40\n";
    return ini;
}

// Frees what a load made, the way the plug-in does at stop, and clears the
// records so that a later release cannot free the same handles twice.
void ReleaseImage(ImageInfo* image) {
    FreeImageBitmaps(image);
    memset(image, 0, sizeof *image);
}

void ReleaseLoaded() {
    ReleaseImage(&SettingsForLoading().Background);
    ReleaseImage(&SettingsForLoading().BackgroundCopy);
    for (const MeterPrefix& m : Meters)
        ReleaseImage(&m.Target->Image);
    FreeFont(&SettingsForLoading().MeterFont);
}

class SettingsLoad : public ::testing::Test {
  protected:
    void SetUp() override {
        // Module load state: everything zero; Text holds an old composition.
        ResetSettings();
        for (const MeterPrefix& m : Meters) {
            m.Reading->Headroom = 0;
            strcpy(m.Reading->Text, "old text");
        }
        PluginWindow = nullptr;
    }
    void TearDown() override {
        ReleaseLoaded();
        if (PluginWindow) DestroyWindow(PluginWindow);
        PluginWindow = nullptr;
        DeleteFileA(ConfigPath.c_str());
    }
    // Writes the INI file, points the configuration handle at it, empties the log.
    void UseConfiguration(const std::string& text) {
        ConfigPath = TempPath("settings", ".ini");
        ASSERT_TRUE(WriteTextFile(ConfigPath, text));
        HostContextRecord context = HostContext;
        context.ConfigHandle = const_cast<char*>(ConfigPath.c_str());
        KeepHostContext(&context);
        DeleteFileA(CallLogPath.c_str());
    }
    // As at start: the readings begin afresh, then the configuration is read.
    int32_t Load() {
        ResetReadings();
        const int32_t loaded = LoadSettings();
        EXPECT_TRUE(loaded == 0 || loaded == -1) << loaded;
        return loaded;
    }
    std::string ConfigPath;
};

TEST_F(SettingsLoad, ReadsEveryKey) {
    UseConfiguration(FullConfiguration());
    EXPECT_EQ(Load(), -1);

    EXPECT_EQ(SettingsForLoading().ZOrder, 2);
    EXPECT_EQ(SettingsForLoading().WindowX, 310);
    EXPECT_EQ(SettingsForLoading().WindowY, -20);
    EXPECT_EQ(SettingsForLoading().LockMode, 3);
    EXPECT_EQ(SettingsForLoading().SkinPath, Picture("background.png"));

    const struct {
        const char* Prefix;
        const char* Postfix;
        bool HasNumber;
        bool TextEnabled;
    } texts[4] = {{"(cpu: ", " %)", true, true},
                  {"Memory ", " MB", true, true},
                  {"", "", false, false},
                  {"no number", "", false, true}};
    const int32_t widths[4] = {30, 16, 12, 20};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(Meters[i].Prefix);
        const Meter& m = *Meters[i].Target;
        EXPECT_EQ(Meters[i].Reading->Headroom, 100);
        EXPECT_EQ(m.ImagePath, Picture(Meters[i].Picture));
        EXPECT_EQ(m.FramesCount, i + 2);
        EXPECT_EQ(m.OffsetX, 11 + i);
        EXPECT_EQ(m.OffsetY, 21 + i);
        EXPECT_STREQ(m.Prefix, texts[i].Prefix);
        EXPECT_STREQ(m.Postfix, texts[i].Postfix);
        EXPECT_EQ(m.HasNumber, texts[i].HasNumber);
        EXPECT_EQ(m.TextEnabled, texts[i].TextEnabled);
        EXPECT_STREQ(Meters[i].Reading->Text, "");
        EXPECT_EQ(m.TextdX, 31 + i);
        EXPECT_EQ(m.TextdY, 41 + i);
        EXPECT_EQ(m.Image.Kind, ImageKindAlpha);
        EXPECT_EQ(m.Image.Path, m.ImagePath);
        EXPECT_EQ(m.Image.LoadFlags, 0);
        EXPECT_EQ(m.Image.Width, widths[i]);
        EXPECT_NE(m.Image.ColorBitmap, nullptr);
    }

    EXPECT_STREQ(SettingsForLoading().MeterFont.Face, "Tahoma");
    EXPECT_EQ(SettingsForLoading().MeterFont.Size, 27);
    EXPECT_EQ(SettingsForLoading().MeterFont.Weight, FW_BOLD);
    ASSERT_NE(SettingsForLoading().MeterFont.Handle, nullptr);
    EXPECT_NE(SettingsForLoading().MeterFont.Handle, GetStockObject(ANSI_VAR_FONT));
    LOGFONTA font = {};
    ASSERT_EQ(GetObjectA(SettingsForLoading().MeterFont.Handle, sizeof font, &font),
              int(sizeof font));
    EXPECT_EQ(font.lfHeight, -MulDiv(27, 96, 72));

    EXPECT_EQ(SettingsForLoading().FontColor, 0xFF0000u); // configured red, as a pixel
    EXPECT_EQ(SettingsForLoading().Elapse, 1500);
    EXPECT_EQ(SettingsForLoading().MaxNetSpeed, 64000);
    EXPECT_EQ(SettingsForLoading().UseVXD, 0);
    EXPECT_EQ(SettingsForLoading().Transparency, 40);

    EXPECT_EQ(SettingsForLoading().Background.Kind, ImageKindAlpha);
    EXPECT_EQ(SettingsForLoading().Background.Path, SettingsForLoading().SkinPath);
    EXPECT_EQ(SettingsForLoading().Background.LoadFlags, 2);
    EXPECT_EQ(SettingsForLoading().Background.Width, 48);
    EXPECT_EQ(SettingsForLoading().Background.Height, 24);
    EXPECT_EQ(SettingsForLoading().BackgroundCopy.Kind, ImageKindAlpha);
    EXPECT_EQ(SettingsForLoading().BackgroundCopy.Path, SettingsForLoading().SkinPath);
    EXPECT_EQ(SettingsForLoading().BackgroundCopy.LoadFlags, 2);
    EXPECT_EQ(SettingsForLoading().BackgroundCopy.Width, 48);
    EXPECT_NE(SettingsForLoading().BackgroundCopy.ColorBitmap,
              SettingsForLoading().Background.ColorBitmap);
    EXPECT_NE(SettingsForLoading().BackgroundCopy.Bits, SettingsForLoading().Background.Bits);
}

TEST_F(SettingsLoad, MissingKeysTakeTheirDefaults) {
    const char* const configurations[] = {"", "[Elsewhere]\nElapse=100\nUseVXD=0\n", "[Quilbex]\n"};
    for (const char* configuration : configurations) {
        SCOPED_TRACE(configuration);
        SetUp();
        UseConfiguration(configuration);
        EXPECT_EQ(Load(), 0) << "no skin, no start";

        EXPECT_EQ(SettingsForLoading().ZOrder, 1);
        EXPECT_EQ(SettingsForLoading().WindowX, 0);
        EXPECT_EQ(SettingsForLoading().WindowY, 0);
        EXPECT_EQ(SettingsForLoading().LockMode, 0);
        EXPECT_STREQ(SettingsForLoading().SkinPath, "");
        for (const MeterPrefix& m : Meters) {
            EXPECT_STREQ(m.Target->ImagePath, "");
            EXPECT_EQ(m.Target->FramesCount, 1);
            EXPECT_EQ(m.Target->OffsetX, 0);
            EXPECT_EQ(m.Target->OffsetY, 0);
            EXPECT_FALSE(m.Target->TextEnabled);
            EXPECT_FALSE(m.Target->HasNumber);
            EXPECT_STREQ(m.Reading->Text, "");
            EXPECT_EQ(m.Target->TextdX, 0);
            EXPECT_EQ(m.Target->TextdY, 0);
            EXPECT_EQ(m.Target->Image.Kind, ImageKindFailed);
        }
        EXPECT_STREQ(SettingsForLoading().MeterFont.Face, "Tahoma"); // the library's default font
        EXPECT_EQ(SettingsForLoading().MeterFont.Size, 24);
        EXPECT_NE(SettingsForLoading().MeterFont.Handle, nullptr);
        EXPECT_EQ(SettingsForLoading().FontColor, 0u);
        EXPECT_EQ(SettingsForLoading().Elapse, 800);
        EXPECT_EQ(SettingsForLoading().MaxNetSpeed, 0);
        EXPECT_EQ(SettingsForLoading().UseVXD, 1);
        EXPECT_EQ(SettingsForLoading().Transparency, 0);
        EXPECT_EQ(SettingsForLoading().Background.Kind, ImageKindFailed);
        ReleaseLoaded();
    }
}

TEST_F(SettingsLoad, DefaultsWithOnlyASkinStartUp) {
    UseConfiguration("[Quilbex]\nSkin=" + Picture("background.png") + "\n");
    EXPECT_EQ(Load(), -1);
    EXPECT_EQ(SettingsForLoading().Elapse, 800);
    EXPECT_EQ(SettingsForLoading().UseVXD, 1);
    EXPECT_EQ(SettingsForLoading().ZOrder, 1);
    EXPECT_EQ(SettingsForLoading().BackgroundCopy.Kind, ImageKindAlpha);
}

TEST_F(SettingsLoad, FrameCountsBelowOneBecomeOne) {
    const struct {
        const char* Configured;
        int32_t Used;
    } cases[] = {{"0", 1}, {"-5", 1}, {"1", 1}, {"7", 7}, {"-2147483648", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Configured);
        SetUp();
        std::string ini = "[Quilbex]\n";
        for (const MeterPrefix& m : Meters)
            ini += std::string(m.Prefix) + "FramesCount=" + c.Configured + "\n";
        UseConfiguration(ini);
        Load();
        for (const MeterPrefix& m : Meters)
            EXPECT_EQ(m.Target->FramesCount, c.Used) << m.Prefix;
        ReleaseLoaded();
    }
}

// No background: start-up stops, and the second load is never made.
TEST_F(SettingsLoad, EmptyOrMissingSkinStopsStartUp) {
    const std::string skins[] = {"", Picture("no-such-picture.png")};
    for (const std::string& skin : skins) {
        SCOPED_TRACE(skin);
        SetUp();
        std::string ini = FullConfiguration();
        ini.replace(ini.find("Skin="), ini.find('\n', ini.find("Skin=")) - ini.find("Skin="),
                    "Skin=" + skin);
        UseConfiguration(ini);
        EXPECT_EQ(Load(), 0);
        EXPECT_EQ(SettingsForLoading().Background.Kind, ImageKindFailed);
        const ImageInfo cleared = {};
        EXPECT_EQ(memcmp(&SettingsForLoading().BackgroundCopy, &cleared, sizeof cleared), 0);
        EXPECT_EQ(SettingsForLoading().CpuMeter.Image.Kind, ImageKindAlpha)
            << "the meters load all the same";
        const std::vector<std::string> calls = ReadCallLog();
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back(), "LoadImageEx " + skin + " 2");
        ReleaseLoaded();
    }
}

TEST_F(SettingsLoad, EmptyCpuSkinOnlyTurnsTheCpuIndicatorOff) {
    std::string ini = FullConfiguration();
    const size_t at = ini.find("CPUSkin=");
    ini.replace(at, ini.find('\n', at) - at, "CPUSkin=");
    UseConfiguration(ini);
    EXPECT_EQ(Load(), -1);
    EXPECT_EQ(SettingsForLoading().CpuMeter.Image.Kind, ImageKindFailed);
    EXPECT_EQ(SettingsForLoading().CpuMeter.Image.ColorBitmap, nullptr);
    EXPECT_TRUE(SettingsForLoading().CpuMeter.TextEnabled) << "its text is still read";
    EXPECT_EQ(SettingsForLoading().CpuMeter.TextdX, 31);
    EXPECT_EQ(SettingsForLoading().MemMeter.Image.Kind, ImageKindAlpha);
    EXPECT_EQ(SettingsForLoading().NetInMeter.Image.Kind, ImageKindAlpha);
    EXPECT_EQ(SettingsForLoading().NetOutMeter.Image.Kind, ImageKindAlpha);
    EXPECT_EQ(SettingsForLoading().Background.Kind, ImageKindAlpha);
}

// An empty template turns the text off and leaves the earlier parts alone.
TEST_F(SettingsLoad, EmptyTemplateSkipsTheParser) {
    strcpy(SettingsForLoading().NetInMeter.Prefix, "kept");
    strcpy(SettingsForLoading().NetInMeter.Postfix, "too");
    SettingsForLoading().NetInMeter.HasNumber = true;
    UseConfiguration(FullConfiguration());
    Load();
    EXPECT_FALSE(SettingsForLoading().NetInMeter.TextEnabled);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "");
    EXPECT_STREQ(SettingsForLoading().NetInMeter.Prefix, "kept");
    EXPECT_STREQ(SettingsForLoading().NetInMeter.Postfix, "too");
    EXPECT_TRUE(SettingsForLoading().NetInMeter.HasNumber);
}

// A 199-character template (the most the 200-byte buffer holds) with markers
// at both ends: nothing runs past Prefix or Postfix.
TEST_F(SettingsLoad, LongTemplatesAreCutAtOneHundredCharacters) {
    const std::string longTemplate = "%i" + std::string(195, 'x') + "%u";
    const std::string tooLong = std::string(250, 'y');
    UseConfiguration("[Quilbex]\nCPUTextFormat=" + longTemplate + "\nMEMTextFormat=" + tooLong +
                     "\nMEMTextdX=5\n");
    Load();
    EXPECT_TRUE(SettingsForLoading().CpuMeter.HasNumber);
    EXPECT_STREQ(SettingsForLoading().CpuMeter.Prefix, "");
    EXPECT_EQ(std::string(SettingsForLoading().CpuMeter.Postfix), std::string(100, 'x'));
    EXPECT_STREQ(ReadingsToRenew().Cpu.Text, "");
    EXPECT_FALSE(SettingsForLoading().MemMeter.HasNumber);
    EXPECT_EQ(std::string(SettingsForLoading().MemMeter.Prefix), std::string(100, 'y'));
    EXPECT_STREQ(SettingsForLoading().MemMeter.Postfix, "");
    EXPECT_EQ(SettingsForLoading().MemMeter.TextdX, 5);
}

TEST_F(SettingsLoad, ColourBitsAboveTheThirdByteAreDropped) {
    const struct {
        const char* Configured;
        uint32_t Pixel;
    } cases[] = {{"0000FF", 0xFF0000},
                 {"00FF00", 0x00FF00},
                 {"FF0000", 0x0000FF},
                 {"FF0000FF", 0xFF0000},
                 {"123456", 0x563412}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Configured);
        SetUp();
        UseConfiguration(std::string("[Quilbex]\nFontColor=") + c.Configured + "\n");
        Load();
        EXPECT_EQ(SettingsForLoading().FontColor, c.Pixel);
        ReleaseLoaded();
    }
}

// All 39 keys in order, each meter's block ending with its picture, the font
// made right after it is read, then the background and its copy.
TEST_F(SettingsLoad, CallsTheLibraryInOrder) {
    UseConfiguration(FullConfiguration());
    Load();
    std::vector<std::string> expected = {"OpenCFGr",
                                         "FindSection Quilbex 0",
                                         "GetCFGInt Z-Order 1",
                                         "GetCFGInt X 0",
                                         "GetCFGInt Y 0",
                                         "GetCFGInt LockMode 0",
                                         "GetCFGString Skin \"\" 260"};
    const char* const templates[4] = {"(cpu: %i %)", "Memory %u MB", "", "no number"};
    for (int i = 0; i < 4; ++i) {
        const std::string p = Meters[i].Prefix;
        expected.push_back("GetCFGString " + p + "Skin \"\" 260");
        expected.push_back("GetCFGInt " + p + "FramesCount 1");
        expected.push_back("GetCFGInt " + p + "OffsetX 0");
        expected.push_back("GetCFGInt " + p + "OffsetY 0");
        expected.push_back("GetCFGString " + p + "TextFormat \"\" 200");
        expected.push_back(std::string("IsPSTREmpty ") + templates[i]);
        expected.push_back("GetCFGInt " + p + "TextdX 0");
        expected.push_back("GetCFGInt " + p + "TextdY 0");
        expected.push_back("LoadImageEx " + Picture(Meters[i].Picture) + " 0");
    }
    const std::string skin = Picture("background.png");
    const std::vector<std::string> tail = {"GetCFGFont Font",
                                           "GetFontHandle Tahoma 27",
                                           "GetCFGHex FontColor 0x0",
                                           "GetCFGInt Elapse 800",
                                           "GetCFGInt MaxNetSpeed 0",
                                           "GetCFGInt UseVXD 1",
                                           "GetCFGInt Transparency 0",
                                           "CloseCFGr",
                                           "LoadImageEx " + skin + " 2",
                                           "LoadImageEx " + skin + " 2"};
    expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(ReadCallLog(), expected);
}

class SettingsSavePosition : public SettingsLoad {};

TEST_F(SettingsSavePosition, WritesNothingWithoutAWindow) {
    UseConfiguration(FullConfiguration());
    SavePosition(PluginWindow, 5, 6);
    EXPECT_EQ(ReadTextFile(ConfigPath), FullConfiguration());
    EXPECT_TRUE(ReadCallLog().empty());
}

// X then Y inside one write of the section; a second start reads them back
// and every other setting is kept.
TEST_F(SettingsSavePosition, WritesXThenYAndASecondStartReadsThem) {
    UseConfiguration(FullConfiguration());
    PluginWindow = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(PluginWindow, nullptr);
    SettingsForLoading().WindowX = 1;
    SettingsForLoading().WindowY = 2;
    SavePosition(PluginWindow, -150, 777);
    const std::vector<std::string> expected = {"OpenCFGw", "FindSection Quilbex 1",
                                               "SetCFGInt X -150", "SetCFGInt Y 777", "CloseCFGw"};
    EXPECT_EQ(ReadCallLog(), expected);
    EXPECT_EQ(SettingsForLoading().WindowX, 1) << "the window procedure keeps these";
    EXPECT_EQ(SettingsForLoading().WindowY, 2);

    const std::string saved = ReadTextFile(ConfigPath);
    EXPECT_NE(saved.find("X=-150"), std::string::npos) << saved;
    EXPECT_NE(saved.find("Y=777"), std::string::npos) << saved;
    EXPECT_NE(saved.find("[Other]\nElapse=1\n"), std::string::npos) << saved;

    ReleaseLoaded();
    EXPECT_EQ(Load(), -1);
    EXPECT_EQ(SettingsForLoading().WindowX, -150);
    EXPECT_EQ(SettingsForLoading().WindowY, 777);
    EXPECT_EQ(SettingsForLoading().ZOrder, 2);
    EXPECT_EQ(SettingsForLoading().Elapse, 1500);
    EXPECT_STREQ(SettingsForLoading().CpuMeter.Prefix, "(cpu: ");
    EXPECT_EQ(SettingsForLoading().Background.Kind, ImageKindAlpha);
}

} // namespace
