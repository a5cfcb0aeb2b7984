// Start-up and tear-down of the real Vorlamet.plg, loaded as the shell loads
// it, with its failure exits and repeated starts.
#include "host/host_records.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char* const MeterClass = "Zelvo Resource Monitor";

std::string SkinFile(const char* name) {
    return TestDataPath("../../skins/test/") + name;
}

// A shell window that records the messages the plug-in sends it.
std::vector<UINT> ShellMessages;
LRESULT FullScreenAnswer = 0;
LRESULT CALLBACK ShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= 0x7F00 && message <= 0x7FFF) {
        ShellMessages.push_back(message);
        return message == HostMsgQueryFullScreen ? FullScreenAnswer : 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

struct Plugin {
    HMODULE Module = nullptr;
    int(__stdcall* Init)(HostContextRecord*) = nullptr;
    int(__stdcall* Done)() = nullptr;
};

class PluginLifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        plugin.Module = LoadLibraryA("Vorlamet.plg");
        ASSERT_NE(plugin.Module, nullptr);
        plugin.Init = reinterpret_cast<int(__stdcall*)(HostContextRecord*)>(
            reinterpret_cast<void*>(GetProcAddress(plugin.Module, "InitGlobalModule")));
        plugin.Done = reinterpret_cast<int(__stdcall*)()>(
            reinterpret_cast<void*>(GetProcAddress(plugin.Module, "DoneModule")));
        ASSERT_TRUE(plugin.Init && plugin.Done);

        WNDCLASSA c = {};
        c.lpfnWndProc = ShellProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "LifecycleTestShell";
        RegisterClassA(&c);
        shell = CreateWindowExA(0, c.lpszClassName, "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr, nullptr,
                                c.hInstance, nullptr);
        desktop = CreateWindowExA(0, c.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, c.hInstance, nullptr);
        ShellMessages.clear();
        FullScreenAnswer = 0;

        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        record = PluginShellRecord{};
        record.PluginFlags = 0x5; // bits of the shell's own that must survive
        record.PropertiesName = "Vorlamet";
        context = HostContextRecord{};
        context.PluginRecord = &record;
        context.OsVersion = &version;
        context.ShellWindow = shell;
        context.DesktopParent = desktop;
    }

    void TearDown() override {
        DestroyWindow(shell);
        DestroyWindow(desktop);
        // Drop the module so that the next test starts from zeroed statics.
        while (plugin.Module && FreeLibrary(plugin.Module)) {
        }
    }

    // Writes a configuration from the test skin plus the given extra lines.
    void Configure(const std::string& extra, bool withSkin = true) {
        std::string ini = "[Quilbex]\r\n";
        if (withSkin) ini += "Skin=" + SkinFile("background.png") + "\r\n";
        ini += "CPUSkin=" + SkinFile("cpu.png") + "\r\nCPUFramesCount=11\r\n";
        ini += "CPUTextFormat=CPU %i%\r\n" + place + extra;
        configPath = TempPath("lifecycle", ".ini");
        ASSERT_TRUE(WriteTextFile(configPath, ini));
        context.ConfigHandle = const_cast<char*>(configPath.c_str());
    }

    static bool ClassRegistered() {
        WNDCLASSA c;
        HMODULE module = GetModuleHandleA("Vorlamet.plg");
        return module && GetClassInfoA(module, MeterClass, &c);
    }

    Plugin plugin;
    HWND shell = nullptr, desktop = nullptr;
    OSVERSIONINFOA version = {};
    PluginShellRecord record = {};
    HostContextRecord context = {};
    std::string configPath;
    std::string place = "X=40\r\nY=30\r\n";
};

TEST_F(PluginLifecycle, FullStartShowsTheWindowAndStopReleasesIt) {
    Configure("Z-Order=1\r\n");
    EXPECT_EQ(plugin.Init(&context), 0); // ShowWindow of a hidden window
    HWND window = record.PluginWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(GetWindowLongA(window, GWL_USERDATA), PluginWindowMagic);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    EXPECT_STREQ(name, MeterClass);
    RECT r;
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(record.PluginFlags, 0x5u) << "only Always on top sets the flag";
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);

    plugin.Done();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(ClassRegistered());
}

TEST_F(PluginLifecycle, AlwaysOnTopSetsTheFlagAndAsksAboutFullScreen) {
    Configure("Z-Order=2\r\n");
    plugin.Init(&context);
    HWND window = record.PluginWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(record.PluginFlags, 0x5u | PluginFlagAlwaysOnTop);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(std::count(ShellMessages.begin(), ShellMessages.end(), HostMsgQueryFullScreen), 1);
    plugin.Done();
}

TEST_F(PluginLifecycle, AlwaysOnTopStaysBehindAFullScreenProgram) {
    Configure("Z-Order=2\r\n");
    HWND program = CreateWindowExA(0, "LifecycleTestShell", "", WS_POPUP | WS_VISIBLE, 0, 0,
                                   GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    FullScreenAnswer = 1;
    plugin.Init(&context);
    HWND window = record.PluginWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    bool below = false;
    for (HWND w = GetWindow(program, GW_HWNDNEXT); w && !below; w = GetWindow(w, GW_HWNDNEXT))
        below = w == window;
    std::string order;
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT))
        if (IsWindowVisible(w))
            order += w == window    ? " meter"
                     : w == program ? " program"
                     : w == desktop ? " desktop"
                                    : " other";
    EXPECT_TRUE(below) << "the meter lies under the full-screen program;" << order;
    plugin.Done();
    DestroyWindow(program);
}

TEST_F(PluginLifecycle, DesktopLevelIsAChildOfTheDesktopParent) {
    Configure("Z-Order=0\r\nLockMode=3\r\n");
    plugin.Init(&context);
    HWND window = record.PluginWnd;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GetParent(window), desktop);
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_CHILD);
    EXPECT_FALSE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT)
        << "a Desktop window is never click-through";
    EXPECT_TRUE(ShellMessages.empty());
    plugin.Done();
}

TEST_F(PluginLifecycle, XAndYAreAPointOfTheScreenAtEveryLevel) {
    // A Desktop-level window is created in its parent's coordinates: with the
    // parent elsewhere than at the screen's corner (a desktop that reaches a
    // monitor left of or above the main one) it still starts at (X, Y).
    SetWindowPos(desktop, nullptr, -100, -50, 900, 700, SWP_NOZORDER | SWP_NOACTIVATE);
    for (const char* level : {"Z-Order=0\r\n", "Z-Order=1\r\n"}) {
        Configure(level);
        plugin.Init(&context);
        RECT r;
        GetWindowRect(record.PluginWnd, &r);
        EXPECT_EQ(r.left, 40) << level;
        EXPECT_EQ(r.top, 30) << level;
        plugin.Done();
    }
}

TEST_F(PluginLifecycle, ASavedPlaceNoMonitorShowsStartsOnTheNearestMonitor) {
    // Wholly on the nearest monitor, the file untouched; partly on the
    // screen it stays where it was saved.
    const int screenW = GetSystemMetrics(SM_CXSCREEN), screenH = GetSystemMetrics(SM_CYSCREEN);
    RECT work;
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    struct {
        int X, Y;
        bool Lost;
    } cases[] = {{screenW + 300, 100, true}, {-5000, screenH + 5000, true}, {-30, -20, false}};
    for (const auto& c : cases) {
        place = "X=" + std::to_string(c.X) + "\r\nY=" + std::to_string(c.Y) + "\r\n";
        for (const char* level : {"Z-Order=0\r\n", "Z-Order=1\r\n"}) {
            Configure(level);
            const std::string before = ReadTextFile(configPath);
            plugin.Init(&context);
            RECT r;
            GetWindowRect(record.PluginWnd, &r);
            if (c.Lost) {
                EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right &&
                            r.bottom <= work.bottom)
                    << level << c.X << "," << c.Y;
                EXPECT_TRUE(r.right == work.right || r.left == work.left) << "moved no further";
            } else {
                EXPECT_EQ(r.left, c.X) << level;
                EXPECT_EQ(r.top, c.Y) << level;
            }
            plugin.Done();
            EXPECT_EQ(ReadTextFile(configPath), before) << "the file keeps X and Y";
        }
    }
}

TEST_F(PluginLifecycle, GhostModeMakesTheWindowClickThrough) {
    Configure("Z-Order=1\r\nLockMode=3\r\n");
    plugin.Init(&context);
    ASSERT_NE(record.PluginWnd, nullptr);
    EXPECT_TRUE(GetWindowLongA(record.PluginWnd, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    plugin.Done();
}

// Each failure exit: its result, whether a window exists, and what a
// following DoneModule releases.
struct FailureCase {
    const char* Name;
    const char* Extra;
    bool WithSkin;
    bool ResultNonzero;
};

class PluginFailure : public PluginLifecycle, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(PluginFailure, EndsWithoutAWindowAndDoneModuleCleansUp) {
    const FailureCase& c = GetParam();
    Configure(c.Extra, c.WithSkin);
    int result = plugin.Init(&context);
    EXPECT_EQ(result != 0, c.ResultNonzero);
    EXPECT_EQ(record.PluginWnd, nullptr);
    EXPECT_EQ(FindWindowA(MeterClass, nullptr), nullptr);
    EXPECT_TRUE(ClassRegistered());
    plugin.Done();
    EXPECT_FALSE(ClassRegistered());
}

INSTANTIATE_TEST_SUITE_P(
    Exits, PluginFailure,
    ::testing::Values(FailureCase{"NoSkin", "", false, false},
                      FailureCase{"MissingSkinFile", "Skin=Z:\\no\\such\\skin.png\r\n", false,
                                  false},
                      FailureCase{"ZOrderFive", "Z-Order=5\r\n", true, true},
                      FailureCase{"ZOrderNegative", "Z-Order=-1\r\n", true, true}),
    [](const auto& info) { return info.param.Name; });

TEST_F(PluginLifecycle, SecondStartWithoutStopFailsAtRegistration) {
    Configure("Z-Order=1\r\n");
    plugin.Init(&context);
    HWND first = record.PluginWnd;
    ASSERT_NE(first, nullptr);
    record.PluginWnd = nullptr;
    EXPECT_EQ(plugin.Init(&context), 0);
    EXPECT_EQ(record.PluginWnd, nullptr) << "the second start changes nothing";
    EXPECT_TRUE(IsWindow(first));
    plugin.Done();
    EXPECT_FALSE(IsWindow(first));
}

TEST_F(PluginLifecycle, StartStopStartInOneProcess) {
    Configure("Z-Order=1\r\n");
    for (int round = 0; round < 3; ++round) {
        record.PluginWnd = nullptr;
        plugin.Init(&context);
        HWND window = record.PluginWnd;
        ASSERT_NE(window, nullptr) << "round " << round;
        EXPECT_TRUE(IsWindowVisible(window));
        plugin.Done();
        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(ClassRegistered());
    }
}

TEST_F(PluginLifecycle, DoneModuleWithoutAStartIsHarmless) {
    plugin.Done();
    EXPECT_FALSE(ClassRegistered());
}

// Run by ctest with IPHLPAPI.DLL disabled in Wine: the plug-in does not start.
TEST_F(PluginLifecycle, WithoutIpHelperNoWindowAppears) {
    if (!GetEnvironmentVariableA("VORLAMET_TEST_NO_IPHLPAPI", nullptr, 0))
        GTEST_SKIP() << "needs IPHLPAPI.DLL disabled";
    Configure("Z-Order=1\r\n");
    EXPECT_NE(plugin.Init(&context), 0);
    EXPECT_EQ(record.PluginWnd, nullptr);
    EXPECT_EQ(FindWindowA(MeterClass, nullptr), nullptr);
    EXPECT_TRUE(ClassRegistered());
    plugin.Done();
    EXPECT_FALSE(ClassRegistered());
}

} // namespace
