// The default skin at fixed levels, once as a layered window and once painted
// over the desktop skin, captured from the screen as PNG files (into
// RENDER_SCREENSHOT_DIR when set, else the temporary directory).
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "host/host_library.h"
#include "shell/kit/screenshot/rules/png_writer.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/wine_test_support.h"

namespace {

std::string SkinFile(const char* name) {
    return TestDataPath("../../skins/default/") + name;
}

std::string OutputPath(const char* name) {
    char dir[MAX_PATH];
    if (GetEnvironmentVariableA("RENDER_SCREENSHOT_DIR", dir, sizeof dir))
        return std::string(dir) + "\\" + name + ".png";
    return TempPath(name, ".png");
}

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == WM_ERASEBKGND) return 1;
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(w, &ps);
        if (w == PluginWindow) {
            PaintSurface(w, dc);
        } else { // the desktop: the same skin the painted window draws behind itself
            RECT client, window;
            GetClientRect(w, &client);
            GetWindowRect(w, &window);
            RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            DrawSkin(dc, dc, &client, &window, &screen, 0, 0, 6);
        }
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

// Screen pixels of a rectangle, top row first.
std::vector<uint32_t> Capture(int32_t x, int32_t y, int32_t w, int32_t h) {
    std::vector<uint32_t> pixels(w * h);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, x, y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    memcpy(pixels.data(), bits, pixels.size() * 4);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return pixels;
}

bool SavePng(const std::string& path, const std::vector<uint32_t>& px, int32_t w, int32_t h) {
    std::string png = EncodePng(reinterpret_cast<const uint8_t*>(px.data()), w, h, w * 4, false);
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = fwrite(png.data(), 1, png.size(), f) == png.size();
    return fclose(f) == 0 && ok;
}

struct MeterSetup {
    Meter* meter;
    const char* picture;
    int32_t headroom;
    const char* text;
    int32_t offsetY;
};

} // namespace

TEST(Screenshot, DefaultSkinLayeredAndPainted) {
    WNDCLASSA c = {};
    c.lpfnWndProc = Proc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.lpszClassName = "RenderScreenshot";
    RegisterClassA(&c);
    HWND desktop = CreateWindowExA(0, c.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 320, 220,
                                   nullptr, nullptr, c.hInstance, nullptr);
    HostContextRecord context = {};
    context.DesktopParent = desktop;
    KeepHostContext(&context);
    Pump();

    std::string paths[6];
    std::vector<uint32_t> shots[2];
    std::vector<uint8_t> opaque; // the skin's (nearly) opaque pixels, top row first
    int32_t w = 0, h = 0;
    for (int mode = 0; mode < 2; ++mode) { // 0 layered, 1 painted
        const bool layered = mode == 0;
        paths[0] = SkinFile("background.png");
        SettingsForLoading().Background = ImageInfo{};
        SettingsForLoading().Background.Path = paths[0].c_str();
        SettingsForLoading().Background.LoadFlags = 2;
        LoadImageEx(&SettingsForLoading().Background);
        SettingsForLoading().BackgroundCopy = ImageInfo{};
        SettingsForLoading().BackgroundCopy.Path = paths[0].c_str();
        SettingsForLoading().BackgroundCopy.LoadFlags = 2;
        LoadImageEx(&SettingsForLoading().BackgroundCopy);
        ASSERT_EQ(SettingsForLoading().Background.Kind, ImageKindAlpha);
        const MeterSetup setups[4] = {
            {&SettingsForLoading().CpuMeter, "cpu.png", 63, "CPU 37%", 17},
            {&SettingsForLoading().MemMeter, "mem.png", 45, "Mem 412 MB", 41},
            {&SettingsForLoading().NetInMeter, "netin.png", 80, "In 24 KB/s", 65},
            {&SettingsForLoading().NetOutMeter, "netout.png", 95, "Out 3 KB/s", 89}};
        MeterReading* const readings[4] = {&ReadingsToRenew().Cpu, &ReadingsToRenew().Mem,
                                           &ReadingsToRenew().NetIn, &ReadingsToRenew().NetOut};
        for (int i = 0; i < 4; ++i) {
            Meter* m = setups[i].meter;
            *m = Meter{};
            MeterReading* r = readings[i];
            paths[1 + i] = SkinFile(setups[i].picture);
            m->Image.Path = paths[1 + i].c_str();
            LoadImageEx(&m->Image);
            ASSERT_NE(m->Image.Kind, ImageKindFailed) << setups[i].picture;
            m->FramesCount = 21;
            r->Headroom = setups[i].headroom;
            m->OffsetX = 106;
            m->OffsetY = setups[i].offsetY;
            m->TextEnabled = true;
            lstrcpyA(r->Text, setups[i].text);
            m->TextdX = 56;
            m->TextdY = setups[i].offsetY + 6;
        }
        SettingsForLoading().MeterFont = FontInfo{};
        lstrcpyA(SettingsForLoading().MeterFont.Face, "Tahoma");
        SettingsForLoading().MeterFont.Size = 8 * 3;
        SettingsForLoading().MeterFont.Weight = FW_BOLD;
        GetFontHandle(&SettingsForLoading().MeterFont,
                      static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT)));
        SettingsForLoading().FontColor = 0x00F5ECE6;
        SettingsForLoading().Transparency = 0;
        SettingsForLoading().ZOrder = layered ? 1 : 0;
        PlaceForTests().WindowX = 40;
        PlaceForTests().WindowY = 40;
        w = SettingsForLoading().Background.Width;
        h = SettingsForLoading().Background.Height;
        opaque.resize(w * h);
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                opaque[y * w + x] =
                    static_cast<const uint8_t*>(
                        SettingsForLoading().Background.Bits)[((h - 1 - y) * w + x) * 4 + 3] >= 240;

        // A system without layered windows is played by dropping the answer
        // of the UpdateLayeredWindow look-up: the skin then goes painted.
        SurfaceForTests().LayeredAvailable = CreateSurface() && layered;
        PluginWindow = CreateWindowExA(layered ? WS_EX_TOOLWINDOW | Surface.LayeredExStyle : 0,
                                       c.lpszClassName, nullptr, layered ? WS_POPUP : WS_CHILD,
                                       PlaceForTests().WindowX, PlaceForTests().WindowY, w, h,
                                       layered ? nullptr : desktop, nullptr, c.hInstance, nullptr);
        ASSERT_NE(PluginWindow, nullptr);
        ChooseSurfaceMode(PluginWindow, ShownPoint());
        ASSERT_EQ(Surface.PaintMode, layered ? 1 : 0);
        ShowWindow(PluginWindow, SW_SHOWNA);
        UpdateWindow(PluginWindow);
        if (layered) ComposeLayered(PluginWindow, ShownPoint());
        Pump();
        shots[mode] =
            Capture(PlaceForTests().WindowX - 10, PlaceForTests().WindowY - 10, w + 20, h + 20);
        const std::string out = OutputPath(layered ? "render_layered" : "render_painted");
        EXPECT_TRUE(SavePng(out, shots[mode], w + 20, h + 20)) << out;

        DestroyWindow(PluginWindow);
        PluginWindow = nullptr;
        ReleaseSurface();
        FreeImageBitmaps(&SettingsForLoading().Background);
        FreeImageBitmaps(&SettingsForLoading().BackgroundCopy);
        for (int i = 0; i < 4; ++i)
            FreeImageBitmaps(&setups[i].meter->Image);
        FreeFont(&SettingsForLoading().MeterFont);
        Pump();
    }
    // Where the skin is (nearly) opaque the two modes show the same picture:
    // meters and texts alike. The difference allowed is what the last few
    // percent of transparency can make: without a compositing manager the
    // system shows a layered window's translucent pixels unblended, which is
    // also why the skin's soft rim differs and is not compared.
    int differing = 0, maxDiff = 0, compared = 0;
    for (size_t i = 0; i < shots[0].size(); ++i) {
        const int32_t x = int32_t(i) % (w + 20) - 10, y = int32_t(i) / (w + 20) - 10;
        if (x < 0 || y < 0 || x >= w || y >= h || !opaque[y * w + x]) continue;
        ++compared;
        for (int shift = 0; shift < 24; shift += 8) {
            const int a = (shots[0][i] >> shift) & 255, b = (shots[1][i] >> shift) & 255;
            const int d = a > b ? a - b : b - a;
            maxDiff = d > maxDiff ? d : maxDiff;
            differing += d > 16;
        }
    }
    EXPECT_GT(compared, w * h / 2);
    EXPECT_EQ(differing, 0) << "largest difference " << maxDiff;
    DestroyWindow(desktop);
}
