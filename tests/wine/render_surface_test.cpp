// The window surface on real windows: the six mode combinations, the blends
// for each transparency, compositions that leave nothing behind, and GDI
// objects counted through the test program's own import table.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "host/host_library.h"
#include "render/frame_select.h"
#include "render/surface_rules.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/render_fixtures.h"
#include "tests/wine/render_gdi_hooks.h"

namespace {

// ---- UpdateLayeredWindow as CreateSurface finds it: recorded, or missing ----

bool SimulateNoUpdateLayeredWindow;
int LayeredUpdates;
BLENDFUNCTION LastBlend;
POINT LastPoint;
SIZE LastSize;
decltype(&UpdateLayeredWindow) RealUpdateLayeredWindow;
decltype(&GetProcAddress) RealGetProcAddress;

BOOL WINAPI RecordUpdateLayeredWindow(HWND w, HDC dst, POINT* pt, SIZE* size, HDC src, POINT* srcPt,
                                      COLORREF key, BLENDFUNCTION* blend, DWORD flags) {
    ++LayeredUpdates;
    if (blend) LastBlend = *blend;
    if (pt) LastPoint = *pt;
    if (size) LastSize = *size;
    return RealUpdateLayeredWindow(w, dst, pt, size, src, srcPt, key, blend, flags);
}

FARPROC WINAPI HookGetProcAddress(HMODULE module, LPCSTR name) {
    if (HIWORD(reinterpret_cast<uintptr_t>(name)) && !strcmp(name, "UpdateLayeredWindow"))
        return SimulateNoUpdateLayeredWindow
                   ? nullptr
                   : reinterpret_cast<FARPROC>(reinterpret_cast<void*>(RecordUpdateLayeredWindow));
    return RealGetProcAddress(module, name);
}

void InstallHooks() {
    static bool done = false;
    if (done) return;
    done = true;
    HMODULE user = GetModuleHandleA("user32.dll");
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    gdi_hooks::Lookup(user, "UpdateLayeredWindow", &RealUpdateLayeredWindow);
    gdi_hooks::Lookup(kernel, "GetProcAddress", &RealGetProcAddress);
    gdi_hooks::PatchImport(GetModuleHandleA(nullptr), (void*)RealGetProcAddress,
                           (void*)HookGetProcAddress);
    gdi_hooks::Install(GetModuleHandleA(nullptr));
    gdi_hooks::Install(GetModuleHandleA("tolvric.dll"));
    gdi_hooks::Install(GetModuleHandleA("plasmyr.dll"));
}

// ---- Pictures: a 64 x 40 skin whose shape is known pixel by pixel ----

const int32_t SkinW = 64, SkinH = 40;
// Outside the shape: the top four rows and column 0 (alpha 2); column 1 has
// alpha 3 and is inside.
bool Outside(int32_t x, int32_t y) {
    return y < 4 || x == 0;
}

ImageInfo MakeSkin(bool withAlpha) {
    if (!withAlpha) {
        const uint32_t colour[1] = {0xFF336699};
        return MakeMaskedStrip(1, SkinW, SkinH, colour, Outside);
    }
    ImageInfo skin = {};
    Dib32 d = MakeDib(SkinW, SkinH);
    for (int32_t y = 0; y < SkinH; ++y)
        for (int32_t x = 0; x < SkinW; ++x)
            d.At(x, y) = y < 4 ? 0 : x == 0 ? 0x02010101u : x == 1 ? 0x03010201u : 0xFF336699u;
    skin.Kind = ImageKindAlpha;
    skin.ColorBitmap = d.bitmap;
    skin.Width = SkinW;
    skin.Height = SkinH;
    skin.Bits = d.bits;
    return skin;
}

const uint32_t Bars[10] = {0xFF0000FF, 0xFF0020E0, 0xFF0040C0, 0xFF0060A0, 0xFF008080,
                           0xFF00A060, 0xFF00C040, 0xFF00E020, 0xFF00FF00, 0xFFFF0000};

// The settings' four meters and their readings, in drawing order.
Meter* const Meters[4] = {&SettingsForLoading().CpuMeter, &SettingsForLoading().MemMeter,
                          &SettingsForLoading().NetInMeter, &SettingsForLoading().NetOutMeter};
MeterReading* const MeterReadings[4] = {&ReadingsToRenew().Cpu, &ReadingsToRenew().Mem,
                                        &ReadingsToRenew().NetIn, &ReadingsToRenew().NetOut};

void SetUpMeters(bool withText) {
    for (int i = 0; i < 4; ++i) {
        ResetMeter(Meters[i], MeterReadings[i], MakeAlphaStrip(10, 12, 6, Bars), 10, 100,
                   4 + 14 * i, 6);
        if (withText) SetMeterText(Meters[i], MeterReadings[i], "0", 10 + 14 * i, 25);
    }
}

void SetLevels(int32_t step) {
    for (int i = 0; i < 4; ++i) {
        MeterReadings[i]->Headroom = (step * (7 + 13 * i)) % 101;
        if (Meters[i]->TextEnabled)
            wsprintfA(MeterReadings[i]->Text, "%d", (step * (3 + i)) % 1000);
    }
}

LRESULT CALLBACK SurfaceProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (w == PluginWindow) PaintSurface(w, dc);
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

const char* const SurfaceClass = "RenderSurfaceTest";

// Brings up the surface in start-up's order around it: the alpha flag, the
// surface, the settings adjusted to the system, the window, the constant
// alpha of a painted popup, then the mode choice.
struct Surface : ::testing::Test {
    HWND desktop = nullptr;

    void SetUp() override {
        InstallHooks();
        WNDCLASSA c = {};
        c.lpfnWndProc = SurfaceProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = SurfaceClass;
        RegisterClassA(&c);
        desktop = CreateWindowExA(0, SurfaceClass, "", WS_POPUP | WS_VISIBLE, 0, 0, 400, 300,
                                  nullptr, nullptr, c.hInstance, nullptr);
        HostContextRecord context = {};
        context.DesktopParent = desktop;
        KeepHostContext(&context);
        SettingsForLoading().MeterFont.Handle = MakeMeterFont(4);
        SettingsForLoading().FontColor = 0x00FFFFFF;
        LayeredUpdates = 0;
    }

    void Start(bool withAlpha, bool systemHasLayered, int32_t zOrder, int32_t transparency,
               bool withText = false) {
        SimulateNoUpdateLayeredWindow = !systemHasLayered;
        SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", systemHasLayered ? nullptr : "1");
        SettingsForLoading().Background = MakeSkin(withAlpha);
        SettingsForLoading().BackgroundCopy = MakeSkin(withAlpha);
        SetUpMeters(withText);
        SettingsForLoading().ZOrder = zOrder;
        SettingsForLoading().Transparency = transparency;
        SettingsForLoading().LockMode = 0;
        PlaceForTests().WindowX = 20;
        PlaceForTests().WindowY = 30;

        CreateSurface();
        AdjustSettingsToSystem(::Surface.BackgroundHasAlpha, ::Surface.LayeredAvailable);
        DWORD ex =
            SettingsForLoading().ZOrder == 0 ? 0 : WS_EX_TOOLWINDOW | ::Surface.LayeredExStyle;
        if (SettingsForLoading().ZOrder == 2) ex |= WS_EX_TOPMOST;
        PluginWindow = CreateWindowExA(ex, SurfaceClass, nullptr,
                                       SettingsForLoading().ZOrder == 0 ? WS_CHILD | WS_CLIPSIBLINGS
                                                                        : WS_POPUP,
                                       PlaceForTests().WindowX, PlaceForTests().WindowY, SkinW,
                                       SkinH, SettingsForLoading().ZOrder == 0 ? desktop : nullptr,
                                       nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(PluginWindow, nullptr);
        if (SettingsForLoading().Transparency != 0 && ::Surface.LayeredAvailable &&
            !::Surface.BackgroundHasAlpha && SettingsForLoading().ZOrder > 0)
            SetLayered(PluginWindow, 0, ConstantWindowAlpha(SettingsForLoading().Transparency), 2);
        ChooseSurfaceMode(PluginWindow, ShownPoint());
    }

    void Stop() {
        if (PluginWindow) DestroyWindow(PluginWindow);
        PluginWindow = nullptr;
        ReleaseSurface();
        FreeImageBitmaps(&SettingsForLoading().Background);
        FreeImageBitmaps(&SettingsForLoading().BackgroundCopy);
        for (Meter* m : {&SettingsForLoading().CpuMeter, &SettingsForLoading().MemMeter,
                         &SettingsForLoading().NetInMeter, &SettingsForLoading().NetOutMeter})
            FreeImageBitmaps(&m->Image);
        SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
        SimulateNoUpdateLayeredWindow = false;
    }

    void TearDown() override {
        Stop();
        DestroyWindow(desktop);
        DeleteObject(SettingsForLoading().MeterFont.Handle);
        UnregisterClassA(SurfaceClass, GetModuleHandleA(nullptr));
    }

    // The window region: -1 when the window has none, else 1 when it covers
    // exactly the pixels of the skin's shape.
    int RegionMatchesShape() {
        HRGN r = CreateRectRgn(0, 0, 0, 0);
        const int kind = GetWindowRgn(PluginWindow, r);
        int result = -1;
        if (kind != ERROR) {
            result = 1;
            for (int32_t y = 0; y < SkinH; ++y)
                for (int32_t x = 0; x < SkinW; ++x)
                    if (bool(PtInRegion(r, x, y)) == Outside(x, y)) result = 0;
        }
        DeleteObject(r);
        return result;
    }

    // The constant alpha of the layered attributes, -1 when there are none.
    int ConstantAlpha() {
        BYTE alpha = 0;
        DWORD flags = 0;
        COLORREF key = 0;
        if (!GetLayeredWindowAttributes(PluginWindow, &key, &alpha, &flags)) return -1;
        return (flags & LWA_ALPHA) ? alpha : -1;
    }

    bool Layered() { return GetWindowLongA(PluginWindow, GWL_EXSTYLE) & WS_EX_LAYERED; }
};

} // namespace

TEST_F(Surface, AlphaSkinOnALayeredSystemIsComposedWithItsTransparency) {
    const int32_t t[] = {0, 10, 30, 50, 70};
    const int sca[] = {255, 230, 179, 128, 77};
    for (int zOrder : {1, 2})
        for (int i = 0; i < 5; ++i) {
            LayeredUpdates = 0;
            Start(true, true, zOrder, t[i]);
            EXPECT_EQ(::Surface.PaintMode, 1);
            EXPECT_TRUE(Layered()) << "level 1 keeps the window layered at transparency 0";
            EXPECT_EQ(RegionMatchesShape(), -1) << "no region in layered mode";
            EXPECT_EQ(LayeredUpdates, 1) << "composed once at start";
            EXPECT_EQ(LastBlend.BlendOp, AC_SRC_OVER);
            EXPECT_EQ(LastBlend.BlendFlags, 0);
            EXPECT_EQ(LastBlend.SourceConstantAlpha, sca[i]) << "transparency " << t[i];
            EXPECT_EQ(LastBlend.AlphaFormat, AC_SRC_ALPHA);
            EXPECT_EQ(LastPoint.x, 20);
            EXPECT_EQ(LastPoint.y, 30);
            EXPECT_EQ(LastSize.cx, SkinW);
            EXPECT_EQ(LastSize.cy, SkinH);
            Stop();
        }
}

TEST_F(Surface, AlphaSkinOnTheDesktopIsCutByTheKeyMask) {
    Start(true, true, 0, 50);
    EXPECT_EQ(::Surface.PaintMode, 0);
    EXPECT_EQ(SettingsForLoading().Transparency, 0);
    EXPECT_EQ(RegionMatchesShape(), 1) << "alpha 2 outside, alpha 3 inside";
    EXPECT_EQ(ConstantAlpha(), -1);
    EXPECT_EQ(LayeredUpdates, 0);
    EXPECT_EQ(GetParent(PluginWindow), desktop);
}

TEST_F(Surface, AlphaSkinWithoutLayeredWindowsGoesToTheDesktop) {
    Start(true, false, 2, 30);
    EXPECT_FALSE(::Surface.LayeredAvailable);
    EXPECT_EQ(SettingsForLoading().ZOrder, 0);
    EXPECT_EQ(::Surface.PaintMode, 0);
    EXPECT_EQ(::Surface.LayeredExStyle, 0u);
    EXPECT_EQ(RegionMatchesShape(), 1);
    EXPECT_EQ(ConstantAlpha(), -1);
    EXPECT_FALSE(Layered());
}

TEST_F(Surface, MaskedSkinOnALayeredSystemGetsConstantAlpha) {
    const int32_t t[] = {0, 10, 30, 50, 70};
    const int alpha[] = {-1, 229, 178, 127, 76};
    for (int zOrder : {1, 2})
        for (int i = 0; i < 5; ++i) {
            Start(false, true, zOrder, t[i]);
            EXPECT_EQ(::Surface.PaintMode, 0);
            EXPECT_EQ(RegionMatchesShape(), 1) << "cut by the white of the mask";
            EXPECT_EQ(ConstantAlpha(), alpha[i]) << "transparency " << t[i];
            EXPECT_EQ(Layered(), t[i] != 0);
            EXPECT_EQ(LayeredUpdates, 0);
            Stop();
        }
}

TEST_F(Surface, MaskedSkinOnTheDesktopOrWithoutLayeredWindows) {
    struct Case {
        bool layeredSystem;
        int32_t zOrder;
    };
    for (Case c : {Case{true, 0}, Case{false, 0}, Case{false, 1}, Case{false, 2}}) {
        Start(false, c.layeredSystem, c.zOrder, 70);
        EXPECT_EQ(::Surface.PaintMode, 0);
        EXPECT_EQ(SettingsForLoading().Transparency, 0);
        EXPECT_EQ(RegionMatchesShape(), 1);
        EXPECT_EQ(ConstantAlpha(), -1);
        EXPECT_FALSE(Layered());
        Stop();
    }
}

TEST_F(Surface, AlphaSkinWithoutBitsStillGetsItsShape) {
    ImageInfo skin = MakeSkin(true);
    skin.Bits = nullptr; // the loader gave no pixel data
    HBITMAP mask = BuildKeyMask(&skin);
    ASSERT_NE(mask, nullptr);
    HRGN r = BitmapToRegion(mask, RGB(255, 0, 255), 0, 0);
    for (int32_t y = 0; y < SkinH; ++y)
        for (int32_t x = 0; x < SkinW; ++x)
            ASSERT_EQ(bool(PtInRegion(r, x, y)), !Outside(x, y)) << x << "," << y;
    DeleteObject(r);
    DeleteObject(mask);
    FreeImageBitmaps(&skin);
}

TEST_F(Surface, ManyCompositionsLeaveNoEarlierFrameOrText) {
    Start(true, true, 1, 0, true);
    ASSERT_EQ(::Surface.PaintMode, 1);
    SetLevels(1);
    ComposeLayered(PluginWindow, ShownPoint());
    GdiFlush();
    const uint32_t* working = static_cast<const uint32_t*>(SettingsForLoading().Background.Bits);
    std::vector<uint32_t> first(working, working + SkinW * SkinH);
    // The copy keeps the untouched skin; the working picture shows meters.
    EXPECT_NE(0, memcmp(first.data(), SettingsForLoading().BackgroundCopy.Bits, first.size() * 4));
    for (int32_t step = 2; step < 1002; ++step) {
        SetLevels(step);
        ComposeLayered(PluginWindow, ShownPoint());
    }
    SetLevels(1);
    ComposeLayered(PluginWindow, ShownPoint());
    GdiFlush();
    EXPECT_EQ(0, memcmp(first.data(), working, first.size() * 4));
    EXPECT_EQ(LayeredUpdates, 1003);
}

TEST_F(Surface, ManyRepaintsLeaveNoEarlierFrameOrText) {
    Start(true, false, 2, 0, true);
    ASSERT_EQ(::Surface.PaintMode, 0);
    Target first(SkinW, SkinH), last(SkinW, SkinH);
    SetLevels(1);
    PaintSurface(PluginWindow, first.dc);
    for (int32_t step = 2; step < 1002; ++step) {
        SetLevels(step);
        PaintSurface(PluginWindow, last.dc);
    }
    SetLevels(1);
    PaintSurface(PluginWindow, last.dc);
    GdiFlush();
    EXPECT_EQ(0, memcmp(first.dib.bits, last.dib.bits, SkinW * SkinH * 4));
    // The meters are there: the CPU bar's frame for its level at its offset.
    const uint32_t cpuBar = Bars[FrameIndexFor(ReadingsToRenew().Cpu.Headroom, 10)];
    EXPECT_EQ(first.At(4 + 5, 6 + 3) & 0xFFFFFF, cpuBar & 0xFFFFFF);
}

TEST_F(Surface, LayeredPaintSkipsTheDesktopSkinAndStillCopiesThePicture) {
    for (bool layeredMode : {true, false}) {
        Start(true, layeredMode, 1, 0);
        ASSERT_EQ(::Surface.PaintMode, layeredMode ? 1 : 0);
        const HBRUSH sentinel = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
        RECT all = {0, 0, SkinW, SkinH};
        FillRect(::Surface.BackBuffer, &all, sentinel);
        DeleteObject(sentinel);
        Target t(SkinW, SkinH);
        PaintSurface(PluginWindow, t.dc);
        // (10, 1) is outside the picture: the desktop skin, or what was there.
        EXPECT_EQ((t.At(10, 1) & 0xFFFFFF) == 0x123456u, layeredMode);
        EXPECT_EQ(t.At(30, 20) & 0xFFFFFF, 0x336699u);                // the picture itself
        EXPECT_EQ(t.At(4 + 5, 6 + 3) & 0xFFFFFF, Bars[0] & 0xFFFFFF); // a meter
        Stop();
    }
}

TEST_F(Surface, NoGdiObjectLeaksOverTenThousandCompositions) {
    for (bool layeredMode : {true, false}) {
        Start(true, layeredMode, 1, 30, true);
        ASSERT_EQ(::Surface.PaintMode, layeredMode ? 1 : 0);
        Target paint(SkinW, SkinH);
        const int before = gdi_hooks::LiveCount;
        for (int32_t step = 0; step < 10000; ++step) {
            SetLevels(step);
            if (layeredMode)
                ComposeLayered(PluginWindow, ShownPoint());
            else
                PaintSurface(PluginWindow, paint.dc);
        }
        EXPECT_EQ(gdi_hooks::LiveCount, before) << (layeredMode ? "layered" : "painted");
        EXPECT_EQ(gdi_hooks::Overflow, 0);
        // The count is live: one object left behind on purpose shows.
        HDC stray = CreateCompatibleDC(nullptr);
        EXPECT_EQ(gdi_hooks::LiveCount, before + 1);
        DeleteDC(stray);
        EXPECT_EQ(gdi_hooks::LiveCount, before);
        Stop();
    }
}

TEST_F(Surface, ReleaseSurfaceGivesBackTheBackBuffer) {
    const int before = gdi_hooks::LiveCount;
    Start(true, true, 1, 0);
    EXPECT_GT(gdi_hooks::LiveCount, before);
    Stop();
    EXPECT_EQ(gdi_hooks::LiveCount, before);
    EXPECT_EQ(::Surface.BackBuffer, nullptr);
}
