#include "tests/wine/full_screen_program.h"

namespace {

const char ClassName[] = "VorlametTestFullScreenProgram";
// Making or closing the window takes well under a second, even in an emulated
// machine; a thread that has not done so by then never will.
const DWORD ReadyWaitMs = 30000;

LRESULT CALLBACK FullScreenProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

} // namespace

DWORD WINAPI FullScreenProgram::Run(void* self) {
    FullScreenProgram* program = static_cast<FullScreenProgram*>(self);
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA c = {};
    c.lpfnWndProc = FullScreenProc;
    c.hInstance = instance;
    c.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    c.lpszClassName = ClassName;
    RegisterClassA(&c); // fails harmlessly when an earlier one registered it
    HWND window =
        CreateWindowExA(WS_EX_TOPMOST, ClassName, "Full-screen program", WS_POPUP | WS_VISIBLE, 0,
                        0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                        nullptr, instance, nullptr);
    if (window) SetForegroundWindow(window);
    program->window = window;
    SetEvent(program->ready);
    if (!window) return 1;
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}

FullScreenProgram::FullScreenProgram() {
    ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread = CreateThread(nullptr, 0, Run, this, 0, &threadId);
    if (thread) WaitForSingleObject(ready, ReadyWaitMs);
}

FullScreenProgram::~FullScreenProgram() {
    if (thread) {
        // WM_CLOSE destroys the window, which ends the loop; WM_QUIT ends it
        // should the window be gone already.
        if (window) PostMessageA(window, WM_CLOSE, 0, 0);
        PostThreadMessageA(threadId, WM_QUIT, 0, 0);
        WaitForSingleObject(thread, ReadyWaitMs);
        CloseHandle(thread);
    }
    if (ready) CloseHandle(ready);
}
