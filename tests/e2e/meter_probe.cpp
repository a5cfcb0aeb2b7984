// A small Win32 helper for the end-to-end tests, run in the same Wine prefix
// as the host program. It looks at the meter window from outside, stands in
// for the system's full-screen notices, opens a full-screen program, and asks
// the host to quit.
//
//   meter_probe state             -> "meter L T R B visible V topmost T clickthrough C"
//                                 and "order <titles from top to bottom>"
//                                 and "foreground <its title>"
//   meter_probe notice on|off     sends the ABN_FULLSCREENAPP notice to the meter
//   meter_probe fullscreen        opens a black full-screen window, prints
//                                 "ready", and keeps it until stdin closes
//   meter_probe closable          opens a plain window titled "Closable",
//                                 prints "ready", and "closed" once it is closed
//   meter_probe shellrestart      does what a restarted shell does: opens its
//                                 desktop ("Restarted shell desktop", small, at
//                                 the bottom of the order), sends TaskbarCreated
//                                 to every top-level window, prints "ready", and
//                                 keeps the window until stdin closes
//   meter_probe explorer          stands in for Explorer's desktop: a full-screen
//                                 "Program Manager" of class Progman at the bottom,
//                                 registered as the shell window where Wine
//                                 allows it ("shell 1", else "shell 0"), a
//                                 full-screen visible tool window "Start" that
//                                 plays a cloaked one (the Start menu's host),
//                                 both see-through as the system leaves them,
//                                 a hidden full-screen "WorkerW" and a hidden
//                                 "Program"; prints "ready", then per line of
//                                 stdin: "showdesktop" brings the WorkerW to the
//                                 front as Show desktop does ("desktop shown"),
//                                 "program" brings the program back ("program
//                                 shown"); keeps them until stdin closes
//   meter_probe quit              ends the host's message loop
//   meter_probe dialogs           the visible dialog windows (the settings dialog,
//                                 message boxes): "dialog L T R B title", then
//                                 per visible control "control ID CLASS L T R B
//                                 CHECKED text" and per list or drop-down entry
//                                 "item ID INDEX SELECTED text" (a list box's
//                                 entry height: "itemheight ID H"); line breaks in
//                                 texts are written as \n
//   meter_probe descriptor FILE   loads the plug-in and prints what GetPluginInfo
//                                 answers: "info ROWS name", per row "row I TYPE
//                                 DEFAULT MIN MAX key|caption" and per list
//                                 option "option I J name"
//   meter_probe tray menu|dblclick   what a right-click or a double-click on
//                                 the host's notification icon sends it
//   meter_probe endsession        what Windows sends when the session ends:
//                                 prints "query N" (the host's answer), then
//                                 "ended" once the host has handled the end
//   meter_probe desktop           "desktop R G B": the desktop's background colour
//   meter_probe colours           sets the desktop colour to what it is, so
//                                 that every window hears WM_SYSCOLORCHANGE
//   meter_probe display W H       changes the screen's resolution (a Wine
//                                 virtual desktop allows it); prints
//                                 "display W H" as the screen is then
//   meter_probe wallpaper FILE STYLE TILE   sets the desktop's wallpaper, its
//                                 WallpaperStyle and TileWallpaper, as the
//                                 desktop settings do, and tells every window
//   meter_probe monitors          per monitor "monitor L T R B work L T R B",
//                                 the main one first
//   meter_probe write FILE        an editor in the middle of a save: opens FILE
//                                 for writing (others may read it, not write),
//                                 empties it, prints "open", then writes each
//                                 line of stdin with CRLF at once ("wrote"),
//                                 and closes it at the end of stdin ("closed")
//   meter_probe close TITLE       asks the top-level window of that title to
//                                 close ("closed", or "nowindow")
//   meter_probe runkey lock|unlock  a policy on the user's Run key: lock lets
//                                 everyone read it but not change it, unlock
//                                 gives the changes back ("locked", "unlocked")
#include "host/descriptor_records.h"
#include "win32/window_class.h"

#include <windows.h>
#include <sddl.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static const char MeterClass[] = "Zelvo Resource Monitor";
static const UINT AppBarCallback = WM_USER + 2;

// The meter: a top-level window, or a child of the host's desktop (Z-Order 0).
static HWND FindMeter() {
    HWND meter = FindWindowA(MeterClass, nullptr);
    for (HWND top = GetTopWindow(nullptr); !meter && top; top = GetWindow(top, GW_HWNDNEXT))
        meter = FindWindowExA(top, nullptr, MeterClass, nullptr);
    return meter;
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
    char title[64] = {};
    GetWindowTextA(GetForegroundWindow(), title, sizeof title);
    printf("foreground %s\n", title);
    return 0;
}

// The meter's window region, in window coordinates: "region N" and one
// "rect L T R B" per rectangle ("region none" without one).
static int Region() {
    HWND meter = FindMeter();
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (!meter || GetWindowRgn(meter, region) == ERROR) {
        puts("region none");
        DeleteObject(region);
        return meter ? 0 : 1;
    }
    DWORD size = GetRegionData(region, 0, nullptr);
    std::vector<char> data(size);
    RGNDATA* rects = reinterpret_cast<RGNDATA*>(data.data());
    GetRegionData(region, size, rects);
    const RECT* r = reinterpret_cast<const RECT*>(rects->Buffer);
    printf("region %lu\n", rects->rdh.nCount);
    for (DWORD i = 0; i < rects->rdh.nCount; ++i)
        printf("rect %ld %ld %ld %ld\n", r[i].left, r[i].top, r[i].right, r[i].bottom);
    DeleteObject(region);
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

enum class ProbeWindow { FullScreen, Closable, ShellDesktop };

static int OpenWindow(ProbeWindow kind) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const char className[] = "MeterProbeWindow";
    RegisterWindowClass(instance, className, PlainProc, 0, LoadCursorA(nullptr, IDC_ARROW),
                        static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HWND window = nullptr;
    if (kind == ProbeWindow::FullScreen)
        window = CreateWindowExA(0, className, "Full-screen program", WS_POPUP | WS_VISIBLE, 0, 0,
                                 GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                                 nullptr, nullptr, instance, nullptr);
    if (kind == ProbeWindow::Closable)
        window = CreateWindowExA(0, className, "Closable", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600,
                                 400, 200, 150, nullptr, nullptr, instance, nullptr);
    if (kind == ProbeWindow::ShellDesktop) {
        // Small and in a corner, so that it hides nothing the tests click.
        window = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, className,
                                 "Restarted shell desktop", WS_POPUP, 1220, 20, 40, 40, nullptr,
                                 nullptr, instance, nullptr);
        if (window) {
            ShowWindow(window, SW_SHOWNOACTIVATE);
            SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            SendNotifyMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
        }
    }
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

// Explorer's desktop as far as the kit meets it. Wine has no Explorer, and
// its own desktop window is no shell window. On Windows the shell window
// (GetShellWindow) is Explorer's "Progman"; from Windows 8 on a "WorkerW"
// holds the icons and the wallpaper, and Show desktop (Win+D, the taskbar's
// corner, Aero Peek) brings it to the front as the foreground window; on
// Windows 10 and 11 the Start menu's and search's hosts stay visible and
// full-screen while cloaked (DWMWA_CLOAKED). Wine's window manager cannot
// cloak a window, so that one is a tool window here, which the kit passes
// over as well.
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-getshellwindow
// https://learn.microsoft.com/windows/win32/api/dwmapi/ne-dwmapi-dwmwindowattribute
const COLORREF SeeThrough = RGB(3, 1, 2);
const UINT ShowDesktopMsg = WM_APP + 1, ProgramMsg = WM_APP + 2;

static DWORD WINAPI ExplorerCommands(LPVOID thread) {
    const DWORD id = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(thread));
    char line[64];
    while (fgets(line, sizeof line, stdin)) {
        if (!strncmp(line, "showdesktop", 11)) PostThreadMessageA(id, ShowDesktopMsg, 0, 0);
        if (!strncmp(line, "program", 7)) PostThreadMessageA(id, ProgramMsg, 0, 0);
    }
    PostThreadMessageA(id, WM_QUIT, 0, 0);
    return 0;
}

static HWND ExplorerWindow(const char* className, const char* title, DWORD exStyle, int x, int y,
                           int width, int height, HBRUSH brush) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    RegisterWindowClass(instance, className, DefWindowProcA, 0, LoadCursorA(nullptr, IDC_ARROW),
                        brush);
    return CreateWindowExA(exStyle, className, title, WS_POPUP, x, y, width, height, nullptr,
                           nullptr, instance, nullptr);
}

// Shown at the bottom, without activation, and not drawn: the colour key
// leaves none of its pixels on the screen or in the pointer's way, as the
// system's desktop behind the icons and a cloaked window are not in the way
// of the tests' screen.
static void ShowSeeThrough(HWND window) {
    SetWindowLongA(window, GWL_EXSTYLE, GetWindowLongA(window, GWL_EXSTYLE) | WS_EX_LAYERED);
    SetLayeredWindowAttributes(window, SeeThrough, 0, LWA_COLORKEY);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SetWindowPos(window, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Windows tells every program that asked (SetWinEventHook) of each change of
// the foreground window with EVENT_SYSTEM_FOREGROUND; the Wine of the tests
// (8.0) sends none, so the stand-in sends it as the system would. Where Wine
// sends it too, the kit hears of the same window twice.
// https://learn.microsoft.com/windows/win32/winauto/event-constants
static void BringToFront(HWND window, const char* said) {
    ShowWindow(window, SW_SHOW);
    SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    SetForegroundWindow(window);
    NotifyWinEvent(EVENT_SYSTEM_FOREGROUND, window, OBJID_WINDOW, CHILDID_SELF);
    puts(said);
    fflush(stdout);
}

static int Explorer() {
    const int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    HBRUSH key = CreateSolidBrush(SeeThrough);
    HBRUSH desktop = reinterpret_cast<HBRUSH>(COLOR_DESKTOP + 1);
    HWND progman = ExplorerWindow("Progman", "Program Manager", 0, x, y, w, h, key);
    HWND start = ExplorerWindow("Windows.UI.Core.CoreWindow", "Start",
                                WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, x, y, w, h, key);
    HWND worker = ExplorerWindow("WorkerW", "WorkerW", WS_EX_TOOLWINDOW, x, y, w, h, desktop);
    HWND program = ExplorerWindow("MeterProbeProgram", "Program", WS_EX_APPWINDOW, 600, 400, 200,
                                  150, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (!progman || !start || !worker || !program) return 1;
    ShowSeeThrough(progman);
    typedef BOOL(WINAPI * SetShellWindowProc)(HWND);
    auto setShellWindow = reinterpret_cast<SetShellWindowProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("user32.dll"), "SetShellWindow")));
    if (setShellWindow) setShellWindow(progman);
    printf("shell %d\n", GetShellWindow() == progman ? 1 : 0);
    ShowSeeThrough(start);
    puts("ready");
    fflush(stdout);
    CreateThread(nullptr, 0, ExplorerCommands,
                 reinterpret_cast<LPVOID>(static_cast<UINT_PTR>(GetCurrentThreadId())), 0, nullptr);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (message.message == ShowDesktopMsg) BringToFront(worker, "desktop shown");
        if (message.message == ProgramMsg) BringToFront(program, "program shown");
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

static int Quit() {
    HWND meter = FindMeter();
    if (!meter) return 1;
    PostThreadMessageA(GetWindowThreadProcessId(meter, nullptr), WM_QUIT, 0, 0);
    puts("posted");
    return 0;
}

static std::string OneLine(const std::string& text) {
    std::string line;
    for (char c : text) {
        if (c == '\r') continue;
        if (c == '\n')
            line += "\\n";
        else
            line += c;
    }
    return line;
}

static std::string TextOf(HWND window) {
    char text[8192] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return OneLine(text);
}

// The entries of a list box or a drop-down, asked across the process boundary
// (as wide texts: Wine hands the narrow form of these back cut after one
// character).
static void PrintItems(HWND control, int id, bool combo) {
    const UINT count = combo ? CB_GETCOUNT : LB_GETCOUNT;
    const UINT get = combo ? CB_GETLBTEXT : LB_GETTEXT;
    const UINT current = combo ? CB_GETCURSEL : LB_GETCURSEL;
    LRESULT n = SendMessageA(control, count, 0, 0);
    LRESULT selected = SendMessageA(control, current, 0, 0);
    for (LRESULT i = 0; i < n && i < 256; ++i) {
        wchar_t wide[512] = {};
        SendMessageW(control, get, WPARAM(i), reinterpret_cast<LPARAM>(wide));
        char text[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        printf("item %d %d %d %s\n", id, int(i), i == selected ? 1 : 0, OneLine(text).c_str());
    }
}

static BOOL CALLBACK PrintControl(HWND control, LPARAM) {
    if (!IsWindowVisible(control)) return TRUE;
    char cls[64] = {};
    GetClassNameA(control, cls, sizeof cls);
    RECT r;
    GetWindowRect(control, &r);
    const int id = GetDlgCtrlID(control);
    const LRESULT checked =
        strcmp(cls, "Button") == 0 ? SendMessageA(control, BM_GETCHECK, 0, 0) : 0;
    printf("control %d %s %ld %ld %ld %ld %d %s\n", id, cls, r.left, r.top, r.right, r.bottom,
           int(checked), TextOf(control).c_str());
    if (!_stricmp(cls, "ListBox")) {
        printf("itemheight %d %d\n", id, int(SendMessageA(control, LB_GETITEMHEIGHT, 0, 0)));
        PrintItems(control, id, false);
    }
    if (!_stricmp(cls, "ComboBox")) PrintItems(control, id, true);
    return TRUE;
}

static BOOL CALLBACK PrintDialog(HWND window, LPARAM) {
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (strcmp(cls, "#32770") != 0 || !IsWindowVisible(window)) return TRUE;
    RECT r;
    GetWindowRect(window, &r);
    printf("dialog %ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom, TextOf(window).c_str());
    EnumChildWindows(window, PrintControl, 0);
    return TRUE;
}

static int Dialogs() {
    EnumWindows(PrintDialog, 0);
    return 0;
}

static int Descriptor(const char* path) {
    HMODULE plugin = LoadLibraryExA(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (!plugin) return 1;
    typedef const PluginInfo*(__stdcall * GetInfo)();
    GetInfo get =
        reinterpret_cast<GetInfo>(reinterpret_cast<void*>(GetProcAddress(plugin, "GetPluginInfo")));
    const PluginInfo* info = get ? get() : nullptr;
    if (!info) return 1;
    printf("info %d %s\n", int(info->RowCount), info->Name);
    for (int i = 0; i < info->RowCount; ++i) {
        const SettingRow& row = info->Rows[i];
        const bool list = row.Type == 0x10;
        printf("row %d %X %d %d %d %s|%s\n", i, unsigned(row.Type), int(row.Default),
               int(row.MinOrLast), list ? 0 : int(row.MaxOrList), row.Key ? row.Key : "",
               row.Caption ? row.Caption : "");
        const char* const* names = reinterpret_cast<const char* const*>(row.MaxOrList);
        for (int j = 0; list && names && j <= row.MinOrLast; ++j)
            printf("option %d %d %s\n", i, j, names[j]);
    }
    return 0;
}

// The host's windows, found by their classes.
static const char TrayClass[] = "VorlametHostTray";
static const char ShellClass[] = "VorlametHostShell";
static const UINT TrayCallback = WM_APP + 10;

static int Tray(const char* what) {
    HWND tray = FindWindowA(TrayClass, nullptr);
    if (!tray) {
        puts("notray");
        return 1;
    }
    // Posted, as the notification area does: the menu's loop must not hold the probe.
    PostMessageA(tray, TrayCallback, 1, !strcmp(what, "menu") ? WM_RBUTTONUP : WM_LBUTTONDBLCLK);
    puts("posted");
    return 0;
}

static int EndSession() {
    HWND shell = FindWindowA(ShellClass, nullptr);
    if (!shell) {
        puts("noshell");
        return 1;
    }
    printf("query %d\n", int(SendMessageA(shell, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF)));
    SendMessageA(shell, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    puts("ended");
    return 0;
}

// The desktop's background colour, which shows where no wallpaper is.
static int Desktop() {
    COLORREF c = GetSysColor(COLOR_DESKTOP);
    printf("desktop %d %d %d\n", GetRValue(c), GetGValue(c), GetBValue(c));
    return 0;
}

static int Colours() {
    INT element = COLOR_DESKTOP;
    COLORREF colour = GetSysColor(COLOR_DESKTOP);
    puts(SetSysColors(1, &element, &colour) ? "set" : "failed");
    return 0;
}

static int Display(int width, int height) {
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    mode.dmPelsWidth = DWORD(width);
    mode.dmPelsHeight = DWORD(height);
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    ChangeDisplaySettingsA(&mode, 0);
    printf("display %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}

static BOOL CALLBACK PrintMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM primary) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoA(monitor, &info)) return TRUE;
    if (((info.dwFlags & MONITORINFOF_PRIMARY) != 0) != (primary != 0)) return TRUE;
    const RECT& m = info.rcMonitor;
    const RECT& w = info.rcWork;
    printf("monitor %ld %ld %ld %ld work %ld %ld %ld %ld\n", m.left, m.top, m.right, m.bottom,
           w.left, w.top, w.right, w.bottom);
    return TRUE;
}

static int Monitors() {
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 1);
    EnumDisplayMonitors(nullptr, nullptr, PrintMonitor, 0);
    return 0;
}

static int Wallpaper(const char* path, const char* style, const char* tile) {
    HKEY key;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0, KEY_SET_VALUE,
                        nullptr, &key, nullptr))
        return 1;
    RegSetValueExA(key, "WallpaperStyle", 0, REG_SZ, reinterpret_cast<const BYTE*>(style),
                   DWORD(strlen(style) + 1));
    RegSetValueExA(key, "TileWallpaper", 0, REG_SZ, reinterpret_cast<const BYTE*>(tile),
                   DWORD(strlen(tile) + 1));
    RegCloseKey(key);
    const BOOL set = SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path),
                                           SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    puts(set ? "set" : "failed");
    return 0;
}

static int Write(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        puts("failed");
        return 1;
    }
    puts("open");
    char line[1024];
    while (fgets(line, sizeof line, stdin)) {
        size_t n = strcspn(line, "\r\n");
        strcpy(line + n, "\r\n");
        DWORD written = 0;
        WriteFile(file, line, DWORD(n + 2), &written, nullptr);
        FlushFileBuffers(file);
        puts("wrote");
    }
    CloseHandle(file);
    puts("closed");
    return 0;
}

static int Close(const char* title) {
    HWND window = FindWindowA(nullptr, title);
    if (!window || !IsWindowVisible(window)) {
        puts("nowindow");
        return 1;
    }
    PostMessageA(window, WM_CLOSE, 0, 0);
    puts("closed");
    return 0;
}

static int RunKey(bool lock) {
    HKEY run;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      WRITE_DAC, &run) != ERROR_SUCCESS) {
        puts("noaccess");
        return 1;
    }
    // Everyone: read and change the permissions (to unlock); or everything.
    PSECURITY_DESCRIPTOR sd = nullptr;
    ConvertStringSecurityDescriptorToSecurityDescriptorA(
        lock ? "D:P(A;;KR;;;WD)(A;;WD;;;WD)" : "D:P(A;;KA;;;WD)", SDDL_REVISION_1, &sd, nullptr);
    LONG status = RegSetKeySecurity(run, DACL_SECURITY_INFORMATION, sd);
    LocalFree(sd);
    RegCloseKey(run);
    puts(status != ERROR_SUCCESS ? "failed" : lock ? "locked" : "unlocked");
    return status == ERROR_SUCCESS ? 0 : 1;
}

int main(int argc, char** argv) {
    setvbuf(stdout, nullptr, _IONBF, 0);
    if (argc >= 2 && !strcmp(argv[1], "state")) return State();
    if (argc >= 2 && !strcmp(argv[1], "region")) return Region();
    if (argc >= 3 && !strcmp(argv[1], "notice")) return Notice(!strcmp(argv[2], "on"));
    if (argc >= 2 && !strcmp(argv[1], "fullscreen")) return OpenWindow(ProbeWindow::FullScreen);
    if (argc >= 2 && !strcmp(argv[1], "closable")) return OpenWindow(ProbeWindow::Closable);
    if (argc >= 2 && !strcmp(argv[1], "shellrestart")) return OpenWindow(ProbeWindow::ShellDesktop);
    if (argc >= 2 && !strcmp(argv[1], "explorer")) return Explorer();
    if (argc >= 2 && !strcmp(argv[1], "quit")) return Quit();
    if (argc >= 2 && !strcmp(argv[1], "dialogs")) return Dialogs();
    if (argc >= 3 && !strcmp(argv[1], "descriptor")) return Descriptor(argv[2]);
    if (argc >= 3 && !strcmp(argv[1], "tray")) return Tray(argv[2]);
    if (argc >= 2 && !strcmp(argv[1], "endsession")) return EndSession();
    if (argc >= 2 && !strcmp(argv[1], "desktop")) return Desktop();
    if (argc >= 2 && !strcmp(argv[1], "colours")) return Colours();
    if (argc >= 4 && !strcmp(argv[1], "display")) return Display(atoi(argv[2]), atoi(argv[3]));
    if (argc >= 2 && !strcmp(argv[1], "monitors")) return Monitors();
    if (argc >= 5 && !strcmp(argv[1], "wallpaper")) return Wallpaper(argv[2], argv[3], argv[4]);
    if (argc >= 3 && !strcmp(argv[1], "write")) return Write(argv[2]);
    if (argc >= 3 && !strcmp(argv[1], "close")) return Close(argv[2]);
    if (argc >= 3 && !strcmp(argv[1], "runkey")) return RunKey(!strcmp(argv[2], "lock"));
    fputs("usage: meter_probe state|notice on|off|fullscreen|closable|quit|dialogs|"
          "descriptor FILE|tray menu|dblclick|endsession|desktop|colours|display W H|"
          "monitors|wallpaper FILE STYLE TILE|write FILE|close TITLE|runkey lock|unlock\n",
          stderr);
    return 2;
}
