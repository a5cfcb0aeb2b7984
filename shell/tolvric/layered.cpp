// Layered windows: whether the system has them, and constant window alpha.
#include "host/host_library.h"
#include "shell/tolvric/call_log.h"
#include "win32/proc_address.h"

namespace {

typedef BOOL(WINAPI* SetLayeredWindowAttributesProc)(HWND, COLORREF, BYTE, DWORD);

// A system has layered windows when user32 exports UpdateLayeredWindow.
// TOLVRIC_NO_LAYERED=1 plays an older system without them (read at each call,
// so that a test can switch it).
bool SystemHasLayeredWindows() {
    char value[8];
    DWORD length = GetEnvironmentVariableA("TOLVRIC_NO_LAYERED", value, sizeof(value));
    if (length == 1 && value[0] == '1') return false;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 && GetProcAddress(user32, "UpdateLayeredWindow");
}

} // namespace

extern "C" {

// WS_EX_LAYERED when the low byte of level is nonzero and the system has
// layered windows, else 0. The DC is not needed (it may be 0).
DWORD __stdcall LayeredStyle(HDC dc, DWORD level) {
    (void)dc;
    CallLog("LayeredStyle %u", unsigned(level & 0xFF));
    if ((level & 0xFF) == 0 || !SystemHasLayeredWindows()) return 0;
    return WS_EX_LAYERED;
}

// Makes the window layered and gives it the colour key and constant alpha
// (low byte) with the LWA_ flags. Answers nonzero on success.
int __stdcall SetLayered(HWND window, COLORREF key, DWORD alpha, DWORD flags) {
    CallLog("SetLayered 0x%06X %u %u", unsigned(key), unsigned(alpha & 0xFF), unsigned(flags));
    if (!IsWindow(window) || !SystemHasLayeredWindows()) return 0;
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto setAttributes =
        ProcAddress<SetLayeredWindowAttributesProc>(user32, "SetLayeredWindowAttributes");
    if (!setAttributes) return 0;
    LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    if (!(style & WS_EX_LAYERED)) SetWindowLongA(window, GWL_EXSTYLE, style | WS_EX_LAYERED);
    return setAttributes(window, key, BYTE(alpha & 0xFF), flags) ? 1 : 0;
}

} // extern "C"
