// A small Win32 helper for the end-to-end tests, run in the same Wine prefix
// as the host program. It looks at the meter window from outside, stands in
// for the system's full-screen notices, opens a full-screen program, and asks
// the host to quit.
//
//   meter_probe state             -> "meter L T R B visible V topmost T clickthrough C"
//                                 and "order <titles from top to bottom>"
//   meter_probe notice on|off     sends the ABN_FULLSCREENAPP notice to the meter
//   meter_probe fullscreen        opens a black full-screen window, prints
//                                 "ready", and keeps it until stdin closes
//   meter_probe closable          opens a plain window titled "Closable",
//                                 prints "ready", and "closed" once it is closed
//   meter_probe quit              ends the host's message loop
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

static const char MeterClass[] = "Zelvo Resource Monitor";
static const UINT AppBarCallback = WM_USER + 2;

static HWND FindMeter() {
    return FindWindowA(MeterClass, nullptr);
}

// The visible top-level windows from top to bottom, by title, the meter as
// [meter]: "Full-screen program|[meter]|Vorlamet host desktop".
static void PrintOrder(HWND meter) {
    fputs("order ", stdout);
    const char* separator = "";
    for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
        if (!IsWindowVisible(w) && w != meter) continue;
        char title[64] = {};
        GetWindowTextA(w, title, sizeof title);
        if (w == meter) strcpy(title, "[meter]");
        if (!title[0]) continue;
        printf("%s%s", separator, title);
        separator = "|";
    }
    puts("");
}

static int State() {
    HWND meter = FindMeter();
    if (!meter) {
        puts("nometer");
        return 1;
    }
    RECT r;
    GetWindowRect(meter, &r);
    LONG ex = GetWindowLongA(meter, GWL_EXSTYLE);
    printf("meter %ld %ld %ld %ld visible %d topmost %d clickthrough %d\n", r.left, r.top, r.right,
           r.bottom, IsWindowVisible(meter) ? 1 : 0, (ex & WS_EX_TOPMOST) ? 1 : 0,
           (ex & WS_EX_TRANSPARENT) ? 1 : 0);
    PrintOrder(meter);
    return 0;
}

static int Notice(bool on) {
    HWND meter = FindMeter();
    if (!meter) return 1;
    SendMessageA(meter, AppBarCallback, ABN_FULLSCREENAPP, on ? 1 : 0);
    puts("sent");
    return 0;
}

static DWORD WINAPI WaitForStdinEnd(LPVOID thread) {
    char line[64];
    while (fgets(line, sizeof line, stdin)) {
    }
    PostThreadMessageA(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(thread)), WM_QUIT, 0, 0);
    return 0;
}

static LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

static int OpenWindow(bool fullScreen) {
    WNDCLASSA c = {};
    c.lpfnWndProc = PlainProc;
    c.hInstance = GetModuleHandleA(nullptr);
    c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    c.lpszClassName = "MeterProbeWindow";
    RegisterClassA(&c);
    HWND window =
        fullScreen
            ? CreateWindowExA(0, c.lpszClassName, "Full-screen program", WS_POPUP | WS_VISIBLE, 0,
                              0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                              nullptr, nullptr, c.hInstance, nullptr)
            : CreateWindowExA(0, c.lpszClassName, "Closable", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                              400, 200, 150, nullptr, nullptr, c.hInstance, nullptr);
    if (!window) return 1;
    UpdateWindow(window);
    puts("ready");
    fflush(stdout);
    CreateThread(nullptr, 0, WaitForStdinEnd,
                 reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(GetCurrentThreadId())), 0, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (!IsWindow(window)) puts("closed");
    fflush(stdout);
    return 0;
}

static int Quit() {
    HWND meter = FindMeter();
    if (!meter) return 1;
    PostThreadMessageA(GetWindowThreadProcessId(meter, nullptr), WM_QUIT, 0, 0);
    puts("posted");
    return 0;
}

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc >= 2 && !strcmp(argv[1], "state")) return State();
    if (argc >= 3 && !strcmp(argv[1], "notice")) return Notice(!strcmp(argv[2], "on"));
    if (argc >= 2 && !strcmp(argv[1], "fullscreen")) return OpenWindow(true);
    if (argc >= 2 && !strcmp(argv[1], "closable")) return OpenWindow(false);
    if (argc >= 2 && !strcmp(argv[1], "quit")) return Quit();
    fputs("usage: meter_probe state|notice on|off|fullscreen|closable|quit\n", stderr);
    return 2;
}
