// The host program as a person runs it: its log, its errors, its exit status.
#include "tests/wine/full_screen_program.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <memory>
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
        // The desktop covers every monitor, from the virtual screen's corner.
        char place[96];
        snprintf(place, sizeof place, "Desktop %s %dx%d at %d,%d", demo ? "demo" : "layer",
                 GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN),
                 GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN));
        for (const char* line : {static_cast<const char*>(place),
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

// Another program's full-screen window in front (this test's own) counts as
// a full-screen program; neither desktop, though both cover the screen, does.
TEST(HostProgram, AnswersTheFullScreenQueryTruthfully) {
    // An Always on top copy of the test skin, with its pictures named absolutely.
    std::string config = TempPath("host_topmost", ".ini");
    std::string skinDir = TestDataPath("../../skins/test/");
    std::string text = "[Quilbex]\r\nZ-Order=2\r\nSkin=" + skinDir + "background.png\r\n";
    ASSERT_TRUE(WriteTextFile(config, text));
    for (const std::string desktop : {"", "--demo-desktop "})
        for (bool fullScreen : {false, true}) {
            std::unique_ptr<FullScreenProgram> program;
            if (fullScreen) {
                program = std::make_unique<FullScreenProgram>();
                ASSERT_TRUE(program->Window());
                ASSERT_EQ(GetForegroundWindow(), program->Window());
            }
            const std::string out = RunBriefly(desktop, config);
            program.reset();
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

// The number after a log line's words, or -1.
int Logged(const std::string& out, const char* words, int* second = nullptr) {
    const size_t at = out.find(words);
    int a = -1, b = -1;
    if (at != std::string::npos) sscanf(out.c_str() + at + strlen(words), "%dx%d", &a, &b);
    if (second) *second = b;
    return a;
}

void SetLogPixels(DWORD dpi) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    if (dpi)
        RegSetValueExA(key, "LogPixels", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi),
                       sizeof dpi);
    else
        RegDeleteValueA(key, "LogPixels");
    RegCloseKey(key);
}

// At 100 % and 150 % (the system's LogPixels, which each new program reads):
// the notification area gets the icon in the size it asks for, and the
// settings dialog grows with the system font yet fits a 1280 x 720 screen.
TEST(HostProgram, ScalesWithTheSystemDpi) {
    int width96 = 0, height96 = 0;
    for (DWORD dpi : {96u, 144u}) {
        SCOPED_TRACE(dpi);
        SetLogPixels(dpi);
        const std::string out = RunBriefly("--properties ", TestSkin());
        EXPECT_EQ(Logged(out, "TrayIcon size "), dpi == 96 ? 16 : 24) << out;
        int height = 0;
        const int width = Logged(out, "Properties size ", &height);
        if (dpi == 96) {
            width96 = width, height96 = height;
            EXPECT_GT(width, 300) << out;
            continue;
        }
        EXPECT_GE(width * 10, width96 * 14) << "about 1.5 times as wide: " << width96 << " " << out;
        EXPECT_GE(height * 10, height96 * 14) << "about 1.5 times as high: " << height96;
        EXPECT_LE(width, 1280);
        EXPECT_LE(height, 720 - 40) << "above a taskbar";
    }
    SetLogPixels(0);
}

// Both programs tell the system, through their manifests, that they draw at
// each monitor's own scale, as the system's loader reads the manifest.
TEST(HostProgram, DeclaresPerMonitorDpiAwareness) {
    for (const char* program : {"vorlamet_host.exe", "vorlamet.exe"}) {
        char path[MAX_PATH];
        GetFullPathNameA(program, MAX_PATH, path, nullptr);
        ACTCTXA request = {};
        request.cbSize = sizeof request;
        request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
        request.lpSource = path;
        request.lpResourceName = MAKEINTRESOURCEA(1);
        HANDLE context = CreateActCtxA(&request);
        ASSERT_NE(context, INVALID_HANDLE_VALUE) << program << " has a manifest the loader reads";
        const struct {
            const wchar_t *Schema, *Name, *Want;
        } settings[] = {
            {L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware", L"true/pm"},
            {L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness",
             L"PerMonitorV2, PerMonitor"}};
        for (const auto& setting : settings) {
            wchar_t value[64] = {};
            SIZE_T written = 0;
            EXPECT_TRUE(
                QueryActCtxSettingsW(0, context, setting.Schema, setting.Name, value, 64, &written))
                << program;
            EXPECT_EQ(std::wstring(value), setting.Want) << program;
        }
        ReleaseActCtx(context);
    }
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

// Windows' own version calls (Explorer's Details tab) read the VERSION file's
// version from every binary of the kit, and --version prints it.
TEST(HostProgram, TellsItsVersion) {
    std::string version = ReadTextFile(TestDataPath("../../VERSION"));
    version = version.substr(0, version.find_first_of("\r\n"));
    for (const std::string file :
         {"Vorlamet.plg", "vorlamet.exe", "vorlamet_host.exe", "tolvric.dll", "plasmyr.dll"}) {
        DWORD ignored = 0;
        std::string info(GetFileVersionInfoSizeA(file.c_str(), &ignored), '\0');
        ASSERT_TRUE(GetFileVersionInfoA(file.c_str(), 0, info.size(), &info[0])) << file;
        for (const auto& want : {std::make_pair("ProductVersion", version),
                                 std::make_pair("OriginalFilename", file)}) {
            char* value = nullptr;
            UINT length = 0;
            const std::string key = std::string("\\StringFileInfo\\040904E4\\") + want.first;
            ASSERT_TRUE(
                VerQueryValueA(&info[0], key.c_str(), reinterpret_cast<void**>(&value), &length))
                << file << " " << key;
            EXPECT_EQ(std::string(value), want.second) << file;
        }
    }
    std::string out;
    EXPECT_EQ(RunHost("--version", &out), 0);
    EXPECT_EQ(out.substr(0, out.find_first_of("\r\n")), "Vorlamet " + version) << out;
}

TEST(HostProgram, RejectsBadOptions) {
    std::string out;
    EXPECT_EQ(RunHost("--seconds soon", &out), 2);
    EXPECT_NE(out.find("--seconds needs a number"), std::string::npos) << out;
}

} // namespace
