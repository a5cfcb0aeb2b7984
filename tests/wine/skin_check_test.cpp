// The host's check mode, run as a user runs it: vorlamet_host.exe --check on
// the shipped skins and on broken copies of the default skin.
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string SkinFolder(const char* name) {
    return TestDataPath((std::string("..\\..\\skins\\") + name).c_str());
}

// Lines of the output that report a problem; without Tahoma installed in
// the Wine prefix the font line is expected and left out.
std::vector<std::string> ProblemLines(const std::string& output) {
    std::vector<std::string> lines;
    std::istringstream in(output);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("warning: Font: no font named \"Tahoma\"", 0) == 0) continue;
        if (line.rfind("error:", 0) == 0 || line.rfind("warning:", 0) == 0) lines.push_back(line);
    }
    return lines;
}

int Check(const std::string& config, std::string* output, const std::string& options = "") {
    return RunProgram("vorlamet_host.exe " + options + "--check \"" + config + "\"", output);
}

// The value of key in an INI text replaced (the key is added when missing).
std::string WithKey(std::string text, const std::string& key, const std::string& value) {
    const std::string start = "\n" + key + "=";
    size_t at = text.find(start);
    if (at == std::string::npos) return text + key + "=" + value + "\r\n";
    size_t end = text.find("\r\n", at + 1);
    return text.replace(at + start.size(), end - at - start.size(), value);
}

// A copy of the default skin in a fresh folder, its INI changed by edit.
class BrokenSkin {
  public:
    BrokenSkin() : Folder(TempPath("skin", "")) {
        CreateDirectoryA(Folder.c_str(), nullptr);
        for (const char* picture :
             {"background.png", "cpu.png", "mem.png", "netin.png", "netout.png"}) {
            std::string from = SkinFolder("default") + "\\" + picture;
            CopyFileA(from.c_str(), (Folder + "\\" + picture).c_str(), FALSE);
        }
        Ini = ReadTextFile(SkinFolder("default") + "\\vorlamet.ini");
    }
    ~BrokenSkin() {
        for (const char* f :
             {"background.png", "cpu.png", "mem.png", "netin.png", "netout.png", "vorlamet.ini"})
            DeleteFileA((Folder + "\\" + f).c_str());
        RemoveDirectoryA(Folder.c_str());
    }
    std::string Write() {
        std::string path = Folder + "\\vorlamet.ini";
        EXPECT_TRUE(WriteTextFile(path, Ini));
        return path;
    }
    std::string Folder;
    std::string Ini;
};

TEST(SkinCheck, ShippedSkinsPass) {
    for (const char* skin : {"default", "painted"}) {
        std::string output;
        EXPECT_EQ(Check(SkinFolder(skin) + "\\vorlamet.ini", &output), 0) << output;
        EXPECT_TRUE(ProblemLines(output).empty()) << skin << ":\n" << output;
        EXPECT_NE(output.find("0 error(s)"), std::string::npos) << output;
    }
}

struct BrokenCase {
    const char* Name;
    const char* Key; // nullptr: the case changes a file instead
    const char* Value;
    int ExitCode;
    const char* Line;
};

const BrokenCase BrokenCases[] = {
    {"ZOrderOutOfRange", "Z-Order", "5", 1,
     "error: Z-Order: 5 is not 0 (Desktop), 1 (Normal) or 2 (Always on top); the meter will "
     "not start"},
    {"NoBackgroundNamed", "Skin", "", 1,
     "error: Skin: no background picture is named; the meter will not start"},
    {"BackgroundMissing", "Skin", "gone.png", 1,
     "error: Skin: cannot load picture \"gone.png\" (missing or unreadable); the meter will not "
     "start"},
    {"MemPictureMissing", "MEMSkin", "nothere.png", 0,
     "warning: MEMSkin: cannot load picture \"nothere.png\" (missing or unreadable); the MEM "
     "meter and its text are not shown"},
    {"FramesNotDividingTheStrip", "CPUFramesCount", "19", 0,
     "warning: CPUSkin: width 2100 is not divisible by CPUFramesCount 19; frames are 110 pixels "
     "wide and columns 2090-2099 never show"},
    {"FrameOutsideBackground", "NetOutOffsetY", "115", 0,
     "warning: NetOutOffsetX/NetOutOffsetY: the frame at (106, 115), 100 x 12, reaches outside "
     "the background (220 x 120); the part outside is cut off"},
    {"TextPointOutside", "CPUTextdX", "300", 0,
     "warning: CPUTextdX/CPUTextdY: the text point (300, 23) lies outside the background (220 x "
     "120); the text centred on it is cut off"},
    {"TemplatePartTooLong", "NetInTextFormat",
     "In xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx"
     "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxx%i",
     0,
     "warning: NetInTextFormat: the text before the number is 117 characters; only the first 100 "
     "show, cut after \"...xxxxxxxxxxxx\""},
    {"FontMissing", "Font", "Nofontatall,8", 0,
     "warning: Font: no font named \"Nofontatall\" on this system; the texts are drawn in a "
     "substitute"},
    {"ElapseTooShort", "Elapse", "100", 0,
     "warning: Elapse: 100 ms is outside 200-5000, the range the settings dialog offers"},
    {"TransparencyTooHigh", "Transparency", "90", 0,
     "warning: Transparency: 90 is outside 0-70, the range the settings dialog offers"},
    {"ElapseNotANumber", "Elapse", "fast", 0,
     "warning: Elapse: the value cannot be read; the default is used"},
    {"GhostOnTheDesktop", "Z-Order", "0", 0, nullptr}, // with LockMode 3, below
    {"CorruptStrip", nullptr, nullptr, 0,
     "warning: NetOutSkin: cannot load picture \"netout.png\" (missing or unreadable); the "
     "NetOut meter and its text are not shown"},
};

class SkinCheckBroken : public ::testing::TestWithParam<BrokenCase> {};

TEST_P(SkinCheckBroken, FailsWithItsLine) {
    const BrokenCase& c = GetParam();
    BrokenSkin skin;
    std::string expected = c.Line ? c.Line : "";
    if (c.Key) skin.Ini = WithKey(skin.Ini, c.Key, c.Value);
    if (std::string(c.Name) == "GhostOnTheDesktop") {
        skin.Ini = WithKey(skin.Ini, "LockMode", "3");
        expected = "warning: LockMode: 3 (Ghost mode) becomes 0 (Unlocked) at start: a Desktop "
                   "window cannot be translucent or click-through";
    }
    if (std::string(c.Name) == "CorruptStrip") {
        ASSERT_TRUE(WriteTextFile(skin.Folder + "\\netout.png", "not a picture at all"));
    }
    std::string output;
    EXPECT_EQ(Check(skin.Write(), &output), c.ExitCode) << output;
    std::vector<std::string> lines = ProblemLines(output);
    ASSERT_EQ(lines.size(), 1u) << output;
    EXPECT_EQ(lines[0], expected) << output;
}

INSTANTIATE_TEST_SUITE_P(Each, SkinCheckBroken, ::testing::ValuesIn(BrokenCases),
                         [](const ::testing::TestParamInfo<BrokenCase>& info) {
                             return std::string(info.param.Name);
                         });

// The check takes its rows from the plug-in as the system offers them: without
// layered windows three lock modes and no transparency.
TEST(SkinCheck, JudgesWhatTheDescriptorOffersWithoutLayeredWindows) {
    BrokenSkin skin;
    skin.Ini = WithKey(WithKey(skin.Ini, "LockMode", "3"), "Transparency", "90");
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", "1");
    std::string output;
    EXPECT_EQ(Check(skin.Write(), &output), 0) << output;
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
    const std::vector<std::string> expected = {
        "warning: LockMode: 3 is not 0 to 2; the window behaves as 0 (Unlocked)",
        "warning: Z-Order: 1 (Normal) becomes 0 (Desktop) at start: the background has "
        "per-pixel alpha and this system has no layered windows"};
    EXPECT_EQ(ProblemLines(output), expected) << output;
}

TEST(SkinCheck, NeedsThePluginForItsRows) {
    std::string output;
    EXPECT_EQ(Check(SkinFolder("default") + "\\vorlamet.ini", &output, "--plugin plasmyr.dll "), 2);
    for (const char* part :
         {"error: plug-in", "lacks the export GetPluginInfo", "nothing was checked"})
        EXPECT_NE(output.find(part), std::string::npos) << output;
}

TEST(SkinCheck, MissingConfigurationIsExitTwo) {
    std::string output;
    EXPECT_EQ(Check(TempPath("absent", ".ini"), &output), 2) << output;
    EXPECT_NE(output.find("error: cannot find configuration"), std::string::npos) << output;
}

} // namespace
