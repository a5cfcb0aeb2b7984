// The floor: only the platform calls that one tick cannot avoid, timed the
// same way as the plug-in's ticks. Everything that can be made once (windows,
// contexts, the font, the pictures) is made before the timing starts.
//   update tick, layered: the two processor queries, GlobalMemoryStatus, a
//     copy of the skin into the working picture, four texts drawn with
//     DrawTextA at three times the size into fresh 32-bit DIB sections, four
//     blends of frame-sized blocks, one UpdateLayeredWindow;
//   update tick, painted: the same, but the picture reaches the window
//     through an invalidation and the WM_PAINT it brings (one BitBlt);
//   network tick: GetIfTable alone.
// A second argument, a scale in percent (200), makes the skin, its frames,
// their places and the font that much larger: the floor of a meter shown at
// the display's scale. Its results are named "..._200".
#include "bench/bench_timing.h"

#include <iphlpapi.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Width = 220, Height = 120;          // the default skin
int FrameWidth = 100, FrameHeight = 12; // one frame of its meter strips
int FrameX = 106, FrameY[4] = {17, 41, 65, 89};
int FontPoints = 8;
const char* const Texts[4] = {"CPU 37%", "Mem 1234 MB", "In 12.3 KB/s", "Out 456B/s"};

typedef LONG(WINAPI* NtQuerySystemInformationProc)(ULONG, PVOID, ULONG, PULONG);
NtQuerySystemInformationProc NtQuery;
alignas(8) uint8_t TimeOfDay[32];
alignas(8) uint8_t Performance[316];
MEMORYSTATUS Memory;
alignas(8) uint8_t IfTable[441184];

HDC WorkDC, SkinDC, FrameDC, TextDC;
HBITMAP WorkBitmap;
HWND LayeredWindow, PaintedWindow;
RECT TextBox[4];

// A premultiplied picture with alpha that varies across it.
HDC MakePicture(int width, int height, uint8_t alpha) {
    void* bits = nullptr;
    HBITMAP bitmap = MakeDib(width, height, &bits);
    auto* p = static_cast<uint8_t*>(bits);
    for (int i = 0; i < width * height; ++i, p += 4) {
        const uint8_t a = uint8_t(alpha - (i % 7) * 9);
        p[0] = p[1] = p[2] = uint8_t(a * 3 / 4);
        p[3] = a;
    }
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, bitmap);
    return dc;
}

LRESULT CALLBACK FloorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        BitBlt(dc, 0, 0, Width, Height, WorkDC, 0, 0, SRCCOPY);
        EndPaint(window, &paint);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Setup() {
    NtQuery = reinterpret_cast<NtQuerySystemInformationProc>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FloorProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "VorlametFloor";
    RegisterClassA(&windowClass);
    LayeredWindow =
        CreateWindowExA(WS_EX_LAYERED | WS_EX_TOOLWINDOW, "VorlametFloor", nullptr, WS_POPUP, 40,
                        40, Width, Height, nullptr, nullptr, instance, nullptr);
    // The painted meter is a child of the desktop window, cut by a region.
    HWND parent = CreateWindowExA(WS_EX_TOOLWINDOW, "VorlametFloor", nullptr, WS_POPUP | WS_VISIBLE,
                                  0, 0, 640, 400, nullptr, nullptr, instance, nullptr);
    PaintedWindow =
        CreateWindowExA(0, "VorlametFloor", nullptr, WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE, 40,
                        40, Width, Height, parent, nullptr, instance, nullptr);
    SetWindowRgn(PaintedWindow, CreateRoundRectRgn(0, 0, Width + 1, Height + 1, 16, 16), TRUE);

    SkinDC = MakePicture(Width, Height, 230);
    FrameDC = MakePicture(FrameWidth, FrameHeight, 255);
    void* bits = nullptr;
    WorkBitmap = MakeDib(Width, Height, &bits);
    WorkDC = CreateCompatibleDC(nullptr);
    SelectObject(WorkDC, WorkBitmap);

    TextDC = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontA(-MulDiv(FontPoints * 3, 96, 72), 0, 0, 0, FW_BOLD, 0, 0, 0,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Tahoma");
    SelectObject(TextDC, font);
    SetBkMode(TextDC, TRANSPARENT);
    SetTextColor(TextDC, RGB(255, 255, 255));
    for (int i = 0; i < 4; ++i) {
        RECT r = {0, 0, 0, 0};
        DrawTextA(TextDC, Texts[i], -1, &r, DT_CALCRECT | DT_SINGLELINE);
        TextBox[i] = {0, 0, r.right + 5, r.bottom + 5};
    }
}

void SampleAndDraw() {
    NtQuery(3, TimeOfDay, sizeof TimeOfDay, nullptr);
    NtQuery(2, Performance, sizeof Performance, nullptr);
    GlobalMemoryStatus(&Memory);
    BitBlt(WorkDC, 0, 0, Width, Height, SkinDC, 0, 0, SRCCOPY);
    for (int i = 0; i < 4; ++i) {
        void* bits = nullptr;
        HBITMAP large = MakeDib(TextBox[i].right, TextBox[i].bottom, &bits);
        HGDIOBJ previous = SelectObject(TextDC, large);
        DrawTextA(TextDC, Texts[i], -1, &TextBox[i], DT_SINGLELINE);
        SelectObject(TextDC, previous);
        DeleteObject(large);
    }
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (int i = 0; i < 4; ++i)
        AlphaBlend(WorkDC, FrameX, FrameY[i], FrameWidth, FrameHeight, FrameDC, 0, 0, FrameWidth,
                   FrameHeight, blend);
}

void LayeredTick() {
    SampleAndDraw();
    POINT position = {40, 40}, origin = {0, 0};
    SIZE size = {Width, Height};
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(LayeredWindow, nullptr, &position, &size, WorkDC, &origin, 0, &blend,
                        ULW_ALPHA);
}

void PaintedTick() {
    SampleAndDraw();
    InvalidateRect(PaintedWindow, nullptr, TRUE);
    UpdateWindow(PaintedWindow);
}

void NetTick() {
    ULONG size = sizeof IfTable;
    GetIfTable(reinterpret_cast<PMIB_IFTABLE>(IfTable), &size, FALSE);
}

} // namespace

int main(int argc, char** argv) {
    const int ticks = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int percent = argc > 2 ? std::atoi(argv[2]) : 100;
    if (percent != 100 && percent > 0) {
        for (int* length : {&Width, &Height, &FrameWidth, &FrameHeight, &FrameX, &FontPoints})
            *length = (*length * percent + 50) / 100;
        for (int& y : FrameY)
            y = (y * percent + 50) / 100;
    }
    Setup();
    LayeredTick();
    ShowWindow(LayeredWindow, SW_SHOWNOACTIVATE);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    std::vector<double> samples(ticks);
    const std::string suffix = percent == 100 ? "" : "_" + std::to_string(percent);
    TimeTicks(("floor_layered_update" + suffix).c_str(), 50, ticks, samples.data(), LayeredTick);
    TimeTicks(("floor_painted_update" + suffix).c_str(), 50, ticks, samples.data(), PaintedTick);
    if (percent == 100) TimeTicks("floor_net", 50, ticks, samples.data(), NetTick);
    return 0;
}
