// The real Vorlamet.plg on a system with one screen and no monitor calls
// (Windows 95, NT 4.0): the test answers the plug-in's run-time lookups of
// them with nothing, as those systems do, and a meter saved off-screen comes
// back onto the primary screen's work area, at start and after a display change.
#include "tests/wine/reliability_plugin.h"
#include "tests/wine/render_gdi_hooks.h"

#include <gtest/gtest.h>
#include <cstring>

namespace {

int MonitorLookups;
FARPROC WINAPI LookupWithoutMonitors(HMODULE module, LPCSTR name) {
    const bool byName = reinterpret_cast<uintptr_t>(name) > 0xFFFF;
    if (byName && (!strcmp(name, "EnumDisplayMonitors") || !strcmp(name, "GetMonitorInfoA"))) {
        ++MonitorLookups;
        return nullptr;
    }
    return GetProcAddress(module, name);
}

RECT WorkArea() {
    RECT work = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

class OneScreen : public ::testing::Test {
  protected:
    void SetUp() override {
        MonitorLookups = 0;
        ASSERT_TRUE(plugin.Load());
        void* real = reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetProcAddress"));
        ASSERT_EQ(gdi_hooks::PatchImport(plugin.Module, real,
                                         reinterpret_cast<void*>(LookupWithoutMonitors)),
                  1);
        shell.Create();
    }
    void TearDown() override {
        Stop();
        shell.Destroy();
        plugin.Unload();
    }
    // Starts the meter saved at (x, y); answers its window rectangle.
    RECT Start(int x, int y) {
        std::string ini = reliability::TestSkinConfig("background.png", "Z-Order=1\r\n");
        const std::string place = "X=100\r\nY=100\r\n";
        ini.replace(ini.find(place), place.size(),
                    "X=" + std::to_string(x) + "\r\nY=" + std::to_string(y) + "\r\n");
        RECT r = {};
        if (!shell.Configure(ini)) return r;
        started = true;
        plugin.Init(&shell.Context);
        if (!shell.Record.PluginWnd) return r;
        GetWindowRect(shell.Record.PluginWnd, &r);
        return r;
    }

    void Stop() {
        if (started) plugin.Done();
        started = false;
        shell.Record.PluginWnd = nullptr;
    }

    bool started = false;
    reliability::LoadedPlugin plugin;
    reliability::FakeShell shell;
};

// Saved beyond each corner of the screen: moved the least into the work area.
TEST_F(OneScreen, AMeterSavedOffScreenStartsOnTheWorkArea) {
    const RECT work = WorkArea();
    const struct {
        int X, Y;
        bool AtRight, AtBottom;
    } rows[] = {{5000, 4000, true, true}, {-3000, -2000, false, false}, {-3000, 4000, false, true}};
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.X) + ", " + std::to_string(row.Y));
        const RECT r = Start(row.X, row.Y);
        ASSERT_NE(shell.Record.PluginWnd, nullptr);
        EXPECT_EQ(row.AtRight ? r.right : r.left, row.AtRight ? work.right : work.left);
        EXPECT_EQ(row.AtBottom ? r.bottom : r.top, row.AtBottom ? work.bottom : work.top);
        Stop();
    }
    EXPECT_EQ(MonitorLookups, 2 * 3) << "both calls looked up once per start";
}

// A display change with the window off the screen: back at its saved place.
TEST_F(OneScreen, ADisplayChangeBringsTheMeterBackOntoTheScreen) {
    Start(40, 30);
    HWND meter = shell.Record.PluginWnd;
    ASSERT_NE(meter, nullptr);
    SetWindowPos(meter, nullptr, -4000, -4000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageA(meter, WM_DISPLAYCHANGE, 32, MAKELPARAM(640, 480));
    RECT r;
    GetWindowRect(meter, &r);
    EXPECT_EQ(r.left, 40);
    EXPECT_EQ(r.top, 30);
    EXPECT_EQ(MonitorLookups, 2) << "looked up at start-up only";
}

} // namespace
