// The single platform and library calls that make up a tick, each timed on
// its own, to show where the time between a tick and its floor goes.
#include "bench/bench_timing.h"
#include "host/host_library.h"
#include "render/glow_text.h"
#include "settings/settings_record.h"
#include "shell/tolvric/desktop_skin.h"

#include <iphlpapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {} // namespace

int main(int argc, char** argv) {
    const int n = argc > 1 ? std::atoi(argv[1]) : 1000;
    std::vector<double> samples(n);
    HDC screen = GetDC(nullptr);
    void* workBits = nullptr;
    HBITMAP work = MakeDib(220, 120, &workBits);
    HDC workDC = CreateCompatibleDC(screen);
    SelectObject(workDC, work);
    HDC backDC = CreateCompatibleDC(screen);
    SelectObject(backDC, CreateCompatibleBitmap(screen, 220, 120));
    void* frameBits = nullptr;
    HBITMAP frame = MakeDib(100, 12, &frameBits);
    std::memset(frameBits, 0x80, 100 * 12 * 4);
    HDC textDC = CreateCompatibleDC(screen);
    HFONT font = CreateFontA(-32, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH, "Tahoma");
    SelectObject(textDC, font);
    void* largeBits = nullptr;
    HBITMAP large = MakeDib(150, 44, &largeBits);

    TimeTicks("GetDC+ReleaseDC", 20, n, samples.data(),
              [&] { ReleaseDC(nullptr, GetDC(nullptr)); });
    TimeTicks("CreateCompatibleDC+DeleteDC", 20, n, samples.data(),
              [&] { DeleteDC(CreateCompatibleDC(screen)); });
    TimeTicks("CreateDIBSection 150x44+Delete", 20, n, samples.data(), [&] {
        void* b;
        DeleteObject(MakeDib(150, 44, &b));
    });
    TimeTicks("CreateDIBSection 56x20+Delete", 20, n, samples.data(), [&] {
        void* b;
        DeleteObject(MakeDib(56, 20, &b));
    });
    TimeTicks("SelectObject font twice", 20, n, samples.data(), [&] {
        HGDIOBJ old = SelectObject(textDC, GetStockObject(SYSTEM_FONT));
        SelectObject(textDC, old);
    });
    TimeTicks("DrawTextA DT_CALCRECT", 20, n, samples.data(), [&] {
        RECT r = {0, 0, 0, 0};
        DrawTextA(textDC, "Mem 1234 MB", -1, &r, DT_CALCRECT | DT_SINGLELINE);
    });
    TimeTicks("DrawTextA into 150x44 DIB", 20, n, samples.data(), [&] {
        HGDIOBJ old = SelectObject(textDC, large);
        RECT r = {0, 0, 150, 44};
        DrawTextA(textDC, "Mem 1234 MB", -1, &r, DT_SINGLELINE);
        SelectObject(textDC, old);
    });
    TimeTicks("SetPixelV on a DIB", 20, n, samples.data(),
              [&] { SetPixelV(workDC, 0, 0, 0x010101); });
    TimeTicks("GetObject DIBSECTION", 20, n, samples.data(), [&] {
        DIBSECTION s;
        GetObjectA(GetCurrentObject(workDC, OBJ_BITMAP), sizeof s, &s);
    });
    TimeTicks("AlphaBlt frame into DIB", 20, n, samples.data(),
              [&] { AlphaBlt(workDC, 106, 17, 100, 12, frame, 0, 100, 12, frameBits); });
    TimeTicks("AlphaBlt frame into DDB", 20, n, samples.data(),
              [&] { AlphaBlt(backDC, 106, 17, 100, 12, frame, 0, 100, 12, frameBits); });
    TimeTicks("BitBlt 220x120 DIB->DIB", 20, n, samples.data(),
              [&] { BitBlt(workDC, 0, 0, 220, 120, backDC, 0, 0, SRCCOPY); });
    // The desktop behind a painted meter: the system's (the default), the
    // host's drawn wallpaper, and a meter that moves on every tick (a drag),
    // so that the desktop is painted afresh each time.
    RECT client = {0, 0, 220, 120}, window = {40, 40, 260, 160}, full = {0, 0, 1280, 800};
    auto setDesktopSkin = reinterpret_cast<SetDesktopSkinProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("tolvric.dll"), "SetDesktopSkin")));
    if (setDesktopSkin) setDesktopSkin(DesktopSkinSystem);
    TimeTicks("DrawSkin 220x120", 20, n, samples.data(),
              [&] { DrawSkin(backDC, backDC, &client, &window, &full, 0, 0, 6); });
    if (setDesktopSkin) setDesktopSkin(DesktopSkinWallpaper);
    TimeTicks("DrawSkin 220x120, drawn wallpaper", 20, n, samples.data(),
              [&] { DrawSkin(backDC, backDC, &client, &window, &full, 0, 0, 6); });
    if (setDesktopSkin) setDesktopSkin(DesktopSkinSystem);
    TimeTicks("DrawSkin 220x120, moving", 20, n, samples.data(), [&] {
        OffsetRect(&window, window.left < 600 ? 1 : -500, 0);
        DrawSkin(backDC, backDC, &client, &window, &full, 0, 0, 6);
    });
    static uint8_t table[441184];
    TimeTicks("GetIfTable, 441,184-byte buffer", 20, n, samples.data(), [&] {
        ULONG size = sizeof table;
        GetIfTable(reinterpret_cast<PMIB_IFTABLE>(table), &size, FALSE);
    });
    TimeTicks("GetIfTable, 8 rows of room", 20, n, samples.data(), [&] {
        ULONG size = 4 + 8 * sizeof(MIB_IFROW);
        GetIfTable(reinterpret_cast<PMIB_IFTABLE>(table), &size, FALSE);
    });
    TimeTicks("GlobalMemoryStatusEx", 20, n, samples.data(), [&] {
        MEMORYSTATUSEX m;
        m.dwLength = sizeof m;
        GlobalMemoryStatusEx(&m);
    });
    // The two skins' backgrounds: one with alpha, one with a mask.
    static ImageInfo backgrounds[2];
    const char* const pictures[2][2] = {
        {"skins\\default\\background.png", "DrawPicture 220x120 onto DDB"},
        {"skins\\painted\\background.png", "DrawPicture masked 240x84 onto DDB"}};
    for (int i = 0; i < 2; ++i) {
        ImageInfo* picture = &backgrounds[i];
        picture->Path = pictures[i][0];
        picture->LoadFlags = 2;
        if (LoadImageEx(picture))
            TimeTicks(pictures[i][1], 20, n, samples.data(),
                      [&] { DrawPicture(backDC, backDC, 0, 0, picture); });
    }
    TimeTicks("GdiFlush", 20, n, samples.data(), [&] { GdiFlush(); });
    SettingsForLoading().MeterFont.Handle = font;
    TimeTicks("DrawGlowText into DIB", 20, n, samples.data(),
              [&] { DrawGlowText(workDC, 56, 47, "Mem 1234 MB", 1, 0xF5ECE6, 0); });
    TimeTicks("DrawGlowText into DDB", 20, n, samples.data(),
              [&] { DrawGlowText(backDC, 56, 47, "Mem 1234 MB", 1, 0xF5ECE6, 0); });
    return 0;
}
