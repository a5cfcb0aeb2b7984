// Lifecycle abuse of the real plug-in: DoneModule without a start and twice
// in a row, InitGlobalModule twice, and 200 start-stop cycles in one process
// with the GDI objects, private bytes and handles counted before and after.
#include "tests/wine/reliability_plugin.h"
#include "tests/wine/render_gdi_hooks.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <vector>

namespace {

using namespace reliability;

const char* const MeterClass = "Zelvo Resource Monitor";

// Every DeleteObject and DeleteDC the plug-in makes, counted.
decltype(&DeleteObject) PassDeleteObject;
decltype(&DeleteDC) PassDeleteDC;
int Deletions;
BOOL WINAPI CountDeleteObject(HGDIOBJ object) {
    ++Deletions;
    return PassDeleteObject(object);
}
BOOL WINAPI CountDeleteDC(HDC dc) {
    ++Deletions;
    return PassDeleteDC(dc);
}

class ReliabilityLifecycle : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(plugin.Load());
        shell.Create();
        ASSERT_TRUE(shell.Configure(TestSkinConfig("background.png", "Z-Order=1\r\n")));
    }
    void TearDown() override {
        plugin.Unload();
        shell.Destroy();
    }
    static bool ClassRegistered() {
        WNDCLASSA c;
        return GetClassInfoA(GetModuleHandleA("Vorlamet.plg"), MeterClass, &c) != FALSE;
    }
    LoadedPlugin plugin;
    FakeShell shell;
};

TEST_F(ReliabilityLifecycle, DoneModuleWithoutAStartTwiceIsHarmless) {
    EXPECT_EQ(plugin.Done(), 0);
    EXPECT_EQ(plugin.Done(), 0);
    EXPECT_FALSE(ClassRegistered());
    // And a start afterwards still works.
    plugin.Init(&shell.Context);
    EXPECT_NE(shell.Record.PluginWnd, nullptr);
    plugin.Done();
}

// The second DoneModule must not delete anything: the handles the first one
// released may by now belong to someone else. Bitmaps made between the two
// calls (which the system may give the freed handle values) must survive.
TEST_F(ReliabilityLifecycle, SecondDoneModuleDeletesNothing) {
    for (const char* background : {"background.png", "background_masked.png"}) {
        SCOPED_TRACE(background);
        ASSERT_TRUE(shell.Configure(TestSkinConfig(background, "Z-Order=1\r\n")));
        shell.Record.PluginWnd = nullptr;
        plugin.Init(&shell.Context);
        ASSERT_NE(shell.Record.PluginWnd, nullptr);
        plugin.Done();

        HDC screen = GetDC(nullptr);
        std::vector<HBITMAP> ours;
        for (int i = 0; i < 64; ++i)
            ours.push_back(CreateCompatibleBitmap(screen, 4, 4));
        HFONT font = CreateFontA(-12, 0, 0, 0, 400, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
        ReleaseDC(nullptr, screen);

        gdi_hooks::Lookup(GetModuleHandleA("gdi32.dll"), "DeleteObject", &PassDeleteObject);
        gdi_hooks::Lookup(GetModuleHandleA("gdi32.dll"), "DeleteDC", &PassDeleteDC);
        ASSERT_GT(gdi_hooks::PatchImport(plugin.Module, (void*)PassDeleteObject,
                                         (void*)CountDeleteObject),
                  0);
        gdi_hooks::PatchImport(plugin.Module, (void*)PassDeleteDC, (void*)CountDeleteDC);
        Deletions = 0;
        EXPECT_EQ(plugin.Done(), 0);
        EXPECT_EQ(Deletions, 0) << "the second DoneModule deleted GDI objects";
        gdi_hooks::PatchImport(plugin.Module, (void*)CountDeleteObject, (void*)PassDeleteObject);
        gdi_hooks::PatchImport(plugin.Module, (void*)CountDeleteDC, (void*)PassDeleteDC);

        int alive = 0;
        for (HBITMAP b : ours)
            alive += GetObjectType(b) == OBJ_BITMAP;
        EXPECT_EQ(alive, 64);
        EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
        for (HBITMAP b : ours)
            DeleteObject(b);
        DeleteObject(font);
    }
}

TEST_F(ReliabilityLifecycle, InitTwiceThenDoneTwice) {
    plugin.Init(&shell.Context);
    HWND first = shell.Record.PluginWnd;
    ASSERT_NE(first, nullptr);
    shell.Record.PluginWnd = nullptr;
    EXPECT_EQ(plugin.Init(&shell.Context), 0);
    EXPECT_EQ(shell.Record.PluginWnd, nullptr);
    EXPECT_TRUE(IsWindowVisible(first)) << "the running meter is left alone";
    // It still ticks after the refused second start.
    SendMessageA(first, WM_TIMER, 156, 0);
    SendMessageA(first, WM_TIMER, 155, 0);
    plugin.Done();
    EXPECT_FALSE(IsWindow(first));
    plugin.Done();
    EXPECT_FALSE(ClassRegistered());
}

// 200 start-stop cycles: every cycle starts a window and leaves nothing; the
// figures after the last cycle equal those after the first few.
TEST_F(ReliabilityLifecycle, TwoHundredStartStopCycles) {
    const int cycles = CountFromEnvironment("VORLAMET_LIFECYCLE_CYCLES", 200);
    ASSERT_GT(gdi_hooks::Install(plugin.Module), 0);
    gdi_hooks::Install(GetModuleHandleA("tolvric.dll"));
    gdi_hooks::Install(GetModuleHandleA("plasmyr.dll"));
    const int warmUp = 5;
    int gdiBefore = 0;
    ProcessFigures before;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        if (cycle == warmUp) {
            gdiBefore = gdi_hooks::LiveCount;
            before = MeasureProcess();
        }
        shell.Record.PluginWnd = nullptr;
        plugin.Init(&shell.Context);
        HWND window = shell.Record.PluginWnd;
        ASSERT_NE(window, nullptr) << "cycle " << cycle;
        ASSERT_TRUE(IsWindowVisible(window)) << "cycle " << cycle;
        plugin.Done();
        ASSERT_FALSE(IsWindow(window)) << "cycle " << cycle;
        ASSERT_FALSE(ClassRegistered()) << "cycle " << cycle;
        EXPECT_EQ(gdi_hooks::LiveCount, 0) << "GDI objects live after cycle " << cycle;
    }
    const ProcessFigures after = MeasureProcess();
    EXPECT_EQ(gdi_hooks::Overflow, 0);
    EXPECT_EQ(gdi_hooks::LiveCount, gdiBefore);
    EXPECT_LE(after.Handles, before.Handles);
    // The heap settles within the first cycles; a leak of even one small
    // record per cycle would show as hundreds of kilobytes here.
    EXPECT_LE(static_cast<int64_t>(after.PrivateBytes) - static_cast<int64_t>(before.PrivateBytes),
              64 * 1024);
    printf("lifecycle: %d start-stop cycles; GDI objects %d -> %d; handles %u -> %u; private "
           "bytes %llu -> %llu\n",
           cycles, gdiBefore, gdi_hooks::LiveCount, before.Handles, after.Handles,
           static_cast<unsigned long long>(before.PrivateBytes),
           static_cast<unsigned long long>(after.PrivateBytes));
}

} // namespace
