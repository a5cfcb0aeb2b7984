// The host program as a person runs it: its log, its errors, its exit status.
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::string Quote(const std::string& s) {
    return "\"" + s + "\"";
}

std::string TestSkin() {
    return TestDataPath("../../skins/test/test.ini");
}

int RunHost(const std::string& arguments, std::string* output) {
    return RunProgram("vorlamet_host.exe " + arguments, output);
}

// A one-second run with options before the configuration, which ends with exit 0.
std::string RunBriefly(const std::string& options, const std::string& config) {
    std::string out;
    EXPECT_EQ(RunHost(options + "--seconds 1 --config " + Quote(config), &out), 0) << out;
    return out;
}

// Both desktops: the plug-in starts and stops, the icon comes and goes, and
// the service library is told which desktop DrawSkin paints.
TEST(HostProgram, RunsThePluginOnEitherDesktopAndStopsItCleanly) {
    for (bool demo : {false, true}) {
        const std::string out = RunBriefly(demo ? "--demo-desktop " : "", TestSkin());
        size_t at = 0;
        for (const char* line : {demo ? "Desktop demo " : "Desktop layer ",
                                 demo ? "DesktopSkin wallpaper 1" : "DesktopSkin system 1",
                                 "GetPluginInfo \"Zelvo Resource Monitor\" section \"Quilbex\"",
                                 "InitGlobalModule 0 window ", "TrayIcon added 1", "End time",
                                 "DoneModule ", "TrayIcon removed 1"}) {
            at = out.find(line, at);
            ASSERT_NE(at, std::string::npos) << "in order: " << line << "\n" << out;
        }
        EXPECT_EQ(out.find("HostMsgQueryFullScreen"), std::string::npos)
            << "only an Always on top meter asks";
    }
}

// Neither desktop, though both cover the screen, counts as a full-screen
// program in front.
TEST(HostProgram, AnswersTheFullScreenQueryTruthfully) {
    // An Always on top copy of the test skin, with its pictures named absolutely.
    std::string config = TempPath("host_topmost", ".ini");
    std::string skinDir = TestDataPath("../../skins/test/");
    std::string text = "[Quilbex]\r\nZ-Order=2\r\nSkin=" + skinDir + "background.png\r\n";
    ASSERT_TRUE(WriteTextFile(config, text));
    for (const std::string desktop : {"", "--demo-desktop "})
        for (bool fullScreen : {false, true}) {
            const std::string out =
                RunBriefly(desktop + (fullScreen ? "--fullscreen-app " : ""), config);
            EXPECT_NE(
                out.find(fullScreen ? "HostMsgQueryFullScreen 1" : "HostMsgQueryFullScreen 0"),
                std::string::npos)
                << desktop << out;
        }
}

// The settings dialog opens from the plug-in's descriptor in both variants.
TEST(HostProgram, OpensTheSettingsDialog) {
    for (const char* noLayered : {static_cast<const char*>(nullptr), "1"}) {
        SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", noLayered);
        const std::string out = RunBriefly("--properties ", TestSkin());
        EXPECT_NE(out.find("Properties open: 44 rows on 6 pages"), std::string::npos) << out;
    }
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
}

TEST(HostProgram, SavesAScreenshot) {
    std::string shot = TempPath("host_shot", ".png");
    std::string out;
    EXPECT_EQ(
        RunHost("--seconds 1 --screenshot " + Quote(shot) + " --config " + Quote(TestSkin()), &out),
        0)
        << out;
    std::string png = ReadTextFile(shot);
    ASSERT_GT(png.size(), 8u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
}

// Each way the plug-in can be wrong gives one line on standard error and exit 2.
struct BadPlugin {
    const char* Name;
    const char* Plugin; // file in bin/, or a name that does not exist
    const char* Message;
};

class HostRefusesPlugin : public ::testing::TestWithParam<BadPlugin> {};

TEST_P(HostRefusesPlugin, WithOneClearLine) {
    const BadPlugin& c = GetParam();
    std::string out;
    EXPECT_EQ(RunHost(std::string("--plugin ") + c.Plugin + " --config " + Quote(TestSkin()), &out),
              2);
    EXPECT_NE(out.find(c.Message), std::string::npos) << out;
    EXPECT_EQ(out.find("InitGlobalModule"), std::string::npos) << out;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostRefusesPlugin,
    ::testing::Values(BadPlugin{"Missing", "no_such.plg", "cannot open plug-in"},
                      BadPlugin{"Program", "vorlamet_host.exe", "is a program, not a library"},
                      BadPlugin{"NoExports", "plasmyr.dll", "lacks the export GetPluginInfo"},
                      BadPlugin{"NotWindows", "skins\\test\\test.ini", "is not a Windows library"}),
    [](const auto& info) { return info.param.Name; });

TEST(HostProgram, RefusesALibraryForAnotherMachine) {
    std::string bytes = ReadTextFile("tolvric.dll");
    ASSERT_GT(bytes.size(), 0x100u);
    uint32_t peOffset = *reinterpret_cast<const uint32_t*>(&bytes[0x3C]);
    ASSERT_LT(peOffset + 6, bytes.size());
    bytes[peOffset + 4] = static_cast<char>(0x64); // IMAGE_FILE_MACHINE_AMD64
    bytes[peOffset + 5] = static_cast<char>(0x86);
    std::string path = TempPath("amd64", ".plg");
    ASSERT_TRUE(WriteTextFile(path, bytes));
    std::string out;
    EXPECT_EQ(RunHost("--plugin " + Quote(path) + " --config " + Quote(TestSkin()), &out), 2);
    EXPECT_NE(out.find("is not a 32-bit x86 library"), std::string::npos) << out;
}

TEST(HostProgram, RejectsBadOptions) {
    std::string out;
    EXPECT_EQ(RunHost("--seconds soon", &out), 2);
    EXPECT_NE(out.find("--seconds needs a number"), std::string::npos) << out;
}

} // namespace
