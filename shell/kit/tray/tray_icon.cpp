#include "shell/kit/tray/tray_icon.h"

#include "shell/kit/desktop/menu_closing_click.h"
#include "shell/kit/log/host_log.h"
#include "shell/kit/session/kit_messages.h"
#include "shell/kit/session/plugin_session.h"
#include "shell/kit/tray/kit_menu.h"
#include "win32/scoped_handle.h"
#include "win32/window_class.h"

#include <shellapi.h>

#include <cstring>

namespace {

const UINT IconId = 1;
NOTIFYICONDATAA Icon;
bool IconShown;
HWND ShellWindow;
UINT TaskbarCreated;
HINSTANCE Instance;
ScopedIcon Picture; // the icon's picture in the size asked for
int IconSize;       // of Picture; 0 when the system's stand-in is shown

// The icon in the size the notification area asks for now (16 pixels at
// 100 %, 20 at 125 %, 24 at 150 %, ...): the resource holds 16, 20, 24, 32
// and 48, and the system scales the nearest for any other size.
void LoadIconPicture() {
    const int size = GetSystemMetrics(SM_CXSMICON);
    HICON icon = static_cast<HICON>(
        LoadImageA(Instance, MAKEINTRESOURCEA(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    Picture.Reset(icon);
    Icon.hIcon = icon ? icon : LoadIconA(nullptr, MAKEINTRESOURCEA(32512)); // IDI_APPLICATION
    IconSize = icon ? size : 0;
    HostLog("TrayIcon size %d", size);
}

void AddIcon() {
    IconShown = Shell_NotifyIconA(NIM_ADD, &Icon) != FALSE;
    HostLog("TrayIcon added %d", IconShown ? 1 : 0);
}

// After a change of the system's metrics or scale: a new picture when the
// size asked for changed.
void FollowIconSize() {
    if (GetSystemMetrics(SM_CXSMICON) == IconSize) return;
    LoadIconPicture();
    if (IconShown) Shell_NotifyIconA(NIM_MODIFY, &Icon);
}

// The menu at the pointer. The window comes to the front first and gets a
// message afterwards, or the menu would not close when clicked beside it.
void ShowMenu(HWND window) {
    ScopedMenu owned(CreatePopupMenu());
    const HMENU menu = owned.handle;
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, TrayProperties, "&Properties...");
    AppendMenuA(menu, MF_STRING, TrayReload, "&Reload");
    AppendKitMenuItems(menu);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, TrayExit, "E&xit");
    SetMenuDefaultItem(menu, TrayProperties, FALSE);
    POINT at;
    GetCursorPos(&at);
    SetForegroundWindow(window);
    HostLog("TrayMenu");
    TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN | TPM_RIGHTALIGN, at.x, at.y, 0, window,
                   nullptr);
    DropMenuClosingClick();
    PostMessageA(window, WM_NULL, 0, 0);
}

void RunCommand(WPARAM command) {
    switch (command) {
    case TrayProperties:
        HostLog("Tray Properties");
        PostMessageA(ShellWindow, KitMsgOpenProperties, 0, 0);
        break;
    case TrayReload:
        HostLog("Tray Reload");
        PostMessageA(ShellWindow, KitMsgRestartPlugin, 0, 0);
        break;
    case TrayExit:
        HostLog("Tray Exit");
        PostMessageA(ShellWindow, KitMsgEnd, HostEndExit, 0);
        break;
    }
}

LRESULT CALLBACK TrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TrayCallback) {
        if (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ShowMenu(window);
        if (lParam == WM_LBUTTONDBLCLK) RunCommand(TrayProperties);
        return 0;
    }
    if (message == TaskbarCreated && TaskbarCreated) {
        FollowIconSize();
        AddIcon();
        return 0;
    }
    switch (message) {
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
    case WM_DPICHANGED:
        FollowIconSize();
        break;
    case WM_COMMAND:
        if (!RunKitCommand(window, LOWORD(wParam))) RunCommand(LOWORD(wParam));
        return 0;
    case WM_CLOSE: // the shell window answers for the host
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

HWND CreateTrayIcon(HINSTANCE instance, HWND shell, const char* tip) {
    ShellWindow = shell;
    Instance = instance;
    TaskbarCreated = RegisterWindowMessageA("TaskbarCreated");
    const char className[] = "VorlametHostTray";
    RegisterWindowClass(instance, className, TrayProc);
    HWND window = CreateWindowExA(0, className, "Vorlamet", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (!window) return nullptr;
    // The size of the record that every system since Windows 2000 reads.
    Icon = NOTIFYICONDATAA{};
    Icon.cbSize = NOTIFYICONDATAA_V2_SIZE;
    Icon.hWnd = window;
    Icon.uID = IconId;
    Icon.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    Icon.uCallbackMessage = TrayCallback;
    LoadIconPicture();
    strncpy(Icon.szTip, tip, sizeof Icon.szTip - 1);
    AddIcon();
    return window;
}

bool ShowTrayBalloon(const char* title, const char* text) {
    if (!IconShown) {
        HostLog("TrayBalloon 0");
        return false;
    }
    NOTIFYICONDATAA balloon = Icon;
    balloon.uFlags = NIF_INFO;
    lstrcpynA(balloon.szInfoTitle, title, sizeof balloon.szInfoTitle);
    lstrcpynA(balloon.szInfo, text, sizeof balloon.szInfo);
    balloon.dwInfoFlags = NIIF_WARNING;
    const bool shown = Shell_NotifyIconA(NIM_MODIFY, &balloon) != FALSE;
    HostLog("TrayBalloon %d", shown ? 1 : 0);
    return shown;
}

void RemoveTrayIcon() {
    if (!IconShown) return;
    IconShown = false;
    HostLog("TrayIcon removed %d", Shell_NotifyIconA(NIM_DELETE, &Icon) ? 1 : 0);
    Icon.hIcon = nullptr;
    Picture.Reset();
    IconSize = 0;
}
