// The soak: update ticks and network ticks sent back to back to the real
// plug-in, in the layered and the painted window mode, with the live GDI
// objects (counted through hooks of the imports of the plug-in and the
// shell's libraries), the private bytes and the handles measured before and
// after. VORLAMET_SOAK_TICKS sets the number of each tick (default 5,000;
// scripts/reliability.sh sends 100,000).
#include "shell/tolvric/desktop_skin.h"
#include "tests/wine/reliability_plugin.h"
#include "tests/wine/render_gdi_hooks.h"

#include <gtest/gtest.h>
#include <cstdio>

namespace {

using namespace reliability;

struct SoakMode {
    const char* Name;
    const char* Background;
    const char* Extra;
};

class ReliabilitySoak : public ::testing::TestWithParam<SoakMode> {};

TEST_P(ReliabilitySoak, NoGrowthOverTheTicks) {
    const SoakMode& mode = GetParam();
    const int ticks = CountFromEnvironment("VORLAMET_SOAK_TICKS", 5000);
    // Loaded once for the program and kept: a module loaded again could land
    // at the same address with a fresh, unhooked import table.
    static LoadedPlugin plugin;
    if (!plugin.Module) {
        ASSERT_TRUE(plugin.Load());
    }
    FakeShell shell;
    shell.Create();
    ASSERT_TRUE(shell.Configure(TestSkinConfig(mode.Background, mode.Extra)));
    ASSERT_GT(gdi_hooks::Install(plugin.Module), 0);
    gdi_hooks::Install(GetModuleHandleA("tolvric.dll"));
    gdi_hooks::Install(GetModuleHandleA("plasmyr.dll"));
    gdi_hooks::LiveCount = 0;
    gdi_hooks::Overflow = 0;

    plugin.Init(&shell.Context);
    HWND window = shell.Record.PluginWnd;
    ASSERT_NE(window, nullptr);
    // A painted window draws on WM_PAINT: each update tick is followed by
    // its paint, so the drawing runs as often as the ticks.
    auto tick = [&](int count) {
        for (int i = 0; i < count; ++i) {
            SendMessageA(window, WM_TIMER, 156, 0);
            SendMessageA(window, WM_TIMER, 155, 0);
            UpdateWindow(window);
        }
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&message);
    };
    tick(200); // the heap and the system's caches settle
    const int gdiBefore = gdi_hooks::LiveCount;
    const ProcessFigures before = MeasureProcess();
    const DWORD start = GetTickCount();
    tick(ticks);
    const DWORD elapsed = GetTickCount() - start;
    const int gdiAfter = gdi_hooks::LiveCount;
    const ProcessFigures after = MeasureProcess();
    plugin.Done();
    // The service library keeps the desktop behind the last painted window
    // (a DC and a bitmap) for the next one; that picture is its own, not the
    // plug-in's, and goes when the library is told the desktop changed.
    auto setDesktopSkin = reinterpret_cast<SetDesktopSkinProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("tolvric.dll"), "SetDesktopSkin")));
    ASSERT_NE(setDesktopSkin, nullptr);
    setDesktopSkin(DesktopSkinSystem);
    const int gdiStopped = gdi_hooks::LiveCount;
    shell.Destroy();

    printf("soak %s: %d update ticks and %d network ticks in %lu ms; GDI objects %d -> %d "
           "(%+d), %d after stop; handles %u -> %u (%+d); private bytes %llu -> %llu (%+lld)\n",
           mode.Name, ticks, ticks, static_cast<unsigned long>(elapsed), gdiBefore, gdiAfter,
           gdiAfter - gdiBefore, gdiStopped, before.Handles, after.Handles,
           static_cast<int>(after.Handles) - static_cast<int>(before.Handles),
           static_cast<unsigned long long>(before.PrivateBytes),
           static_cast<unsigned long long>(after.PrivateBytes),
           static_cast<long long>(after.PrivateBytes) -
               static_cast<long long>(before.PrivateBytes));
    EXPECT_EQ(gdi_hooks::Overflow, 0);
    EXPECT_EQ(gdiAfter, gdiBefore);
    EXPECT_EQ(gdiStopped, 0) << "everything the plug-in made is gone after DoneModule";
    EXPECT_LE(after.Handles, before.Handles);
    EXPECT_LE(after.PrivateBytes, before.PrivateBytes);
}

INSTANTIATE_TEST_SUITE_P(Modes, ReliabilitySoak,
                         ::testing::Values(SoakMode{"layered", "background.png", "Z-Order=1\r\n"},
                                           SoakMode{"painted", "background_masked.png",
                                                    "Z-Order=1\r\nTransparency=30\r\n"}),
                         [](const auto& info) { return info.param.Name; });

} // namespace
