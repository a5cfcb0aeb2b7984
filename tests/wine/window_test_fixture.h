// A real meter window driven by MeterWindowProc, a shell window that records
// what the plug-in sends it, and real key states, for the window tests.
#pragma once

#include "tests/wine/plugin_internals.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

struct ShellEvent {
    UINT Message;
    WPARAM WParam;
    std::string Text;      // HostMsgShowProperties: the text, copied while it lives
    bool MenuOpen = false; // a menu window was on screen when it arrived
};

inline std::vector<ShellEvent> ShellEvents;

// A posted message that the shell handles while the menu is tracked.
const UINT ShellWhileMenu = WM_APP + 1;
// What the shell does with the menu once it is open: close it, or choose the
// first item with the keyboard.
enum class MenuAction { Close, ChooseFirst };
inline MenuAction MenuActionWanted = MenuAction::Close;
inline bool MenuSeenOpen;
inline RECT MenuSeenRect; // where the open menu was

inline bool MenuWindowVisible() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu);
}

inline LRESULT CALLBACK RecordingShellProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    switch (message) {
    case HostMsgMenuEnter:
        ShellEvents.push_back({message, wParam, "", MenuWindowVisible()});
        PostMessageA(window, ShellWhileMenu, 0, 0);
        return 0;
    case HostMsgMenuLeave:
        ShellEvents.push_back({message, wParam, "", MenuWindowVisible()});
        return 0;
    case HostMsgShowProperties:
        ShellEvents.push_back({message, wParam, reinterpret_cast<const char*>(lParam)});
        return 0;
    case ShellWhileMenu:
        MenuSeenOpen = MenuWindowVisible();
        GetWindowRect(FindWindowA("#32768", nullptr), &MenuSeenRect);
        if (MenuActionWanted == MenuAction::Close) {
            EndMenu();
        } else {
            HWND menu = FindWindowA("#32768", nullptr);
            PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 1);
            PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 1);
        }
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

inline void PumpPending() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// The physical SHIFT key as the system sees it (asynchronous state), through
// real keyboard input. Pending window-system events go first: a focus change
// makes Wine take the key state from the X server again.
inline void SetAsyncShift(bool down) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        PumpPending();
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = VK_SHIFT;
        input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(VK_SHIFT, 0));
        input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
        SendInput(1, &input, sizeof input);
        if (((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == down) return;
    }
}

// SHIFT as this thread's messages have seen it (GetKeyState).
inline void SetThreadShift(bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = down ? 0x80 : 0;
    keys[VK_LSHIFT] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

// Both states at once: Wine may take the key state from the X server again
// between the two, so they are set again until they hold together.
inline void SetShift(bool asyncDown, bool threadDown) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        SetAsyncShift(asyncDown);
        SetThreadShift(threadDown);
        if (((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0) == asyncDown &&
            ((GetKeyState(VK_SHIFT) & 0x8000) != 0) == threadDown)
            break;
    }
    ASSERT_EQ((GetAsyncKeyState(VK_SHIFT) & 0x8000) != 0, asyncDown);
    ASSERT_EQ((GetKeyState(VK_SHIFT) & 0x8000) != 0, threadDown);
}

// Runs the thread's messages until done() or about five seconds have passed.
template <typename Done> bool PumpUntil(Done done) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > 5000) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return true;
}

const int MeterLeft = 200, MeterTop = 150, MeterWidth = 80, MeterHeight = 40;
const POINT FarFromMeter = {700, 600};

class WindowTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSA meterClass = {};
        meterClass.style = CS_HREDRAW | CS_VREDRAW;
        meterClass.lpfnWndProc = MeterWindowProc;
        meterClass.hInstance = GetModuleHandleA(nullptr);
        meterClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        meterClass.lpszClassName = "MeterUnderTest";
        RegisterClassA(&meterClass);
        WNDCLASSA shellClass = {};
        shellClass.lpfnWndProc = RecordingShellProc;
        shellClass.hInstance = GetModuleHandleA(nullptr);
        shellClass.lpszClassName = "ShellUnderTest";
        RegisterClassA(&shellClass);
        LoadWindowCursors();
    }

    void SetUp() override {
        ShellEvents.clear();
        MenuSeenOpen = false;
        MenuSeenRect = RECT{};
        ResetSettings();
        SettingsForLoading().LockMode = LockUnlocked;
        SettingsForLoading().ZOrder = ZOrderNormal;
        SurfaceForTests().PaintMode = SurfacePainted;
        ResetLockState();
        shell = CreateWindowExA(0, "ShellUnderTest", nullptr, WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
        record = PluginShellRecord{};
        record.PropertiesName = "Vorlamet";
        HostContextRecord context = {};
        context.PluginRecord = &record;
        context.ShellWindow = shell;
        KeepHostContext(&context);
        SetCursorPos(FarFromMeter.x, FarFromMeter.y);
        SetShift(false, false);
    }

    void TearDown() override {
        if (meter) DestroyWindow(meter);
        DestroyWindow(shell);
        PluginWindow = nullptr;
        SetShift(false, false);
        PumpPending();
    }

    // The meter as a tool popup at (MeterLeft, MeterTop), shown.
    HWND MakeMeter(DWORD exStyle = WS_EX_TOOLWINDOW, DWORD style = WS_POPUP, HWND parent = nullptr,
                   int x = MeterLeft, int y = MeterTop) {
        meter = CreateWindowExA(exStyle, "MeterUnderTest", nullptr, style, x, y, MeterWidth,
                                MeterHeight, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        PluginWindow = meter;
        ShowWindow(meter, SW_SHOWNOACTIVATE);
        ValidateRect(meter, nullptr);
        return meter;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(meter, message, wParam, lParam);
    }

    bool NeedsRepaint() { return GetUpdateRect(meter, nullptr, FALSE) != FALSE; }

    HWND shell = nullptr;
    HWND meter = nullptr;
    PluginShellRecord record;
};
