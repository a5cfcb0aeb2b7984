#include "window/window_proc.h"

#include "render/surface.h"
#include "win32/scoped_gdi.h"
#include "window/context_menu.h"
#include "window/full_screen.h"
#include "window/lock_modes.h"
#include "window/placement.h"
#include "window/position.h"
#include "window/timer_dispatch.h"
#include "window/window_messages.h"

static void OnPaint(HWND window) {
    ScopedPaint paint(window);
    PaintSurface(window, paint.dc);
}

LRESULT CALLBACK MeterWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_CLOSE: // only DoneModule destroys the window
        return 0;
    case WM_ERASEBKGND: // painting covers the whole window
        return 1;
    case WM_CONTEXTMENU:
    case WM_NCRBUTTONUP:
        OnContextMenu(window);
        return 0;
    case WM_NCRBUTTONDOWN:
        // Wine's default handling of this message waits for the button-up
        // itself and drops it, so the WM_NCRBUTTONUP below would never come
        // and a draggable meter would have no menu. Nothing to do on the
        // press; the release opens the menu.
        return 0;
    case WM_NCHITTEST:
        return OnHitTest(window);
    case WM_COMMAND:
        OnCommand(wParam);
        return 0;
    case WM_TIMER:
        return DispatchTimer(window, message, wParam, lParam);
    case WM_MOVING:
        OnMoving(window, reinterpret_cast<const RECT*>(lParam));
        break;
    case WM_EXITSIZEMOVE:
        OnExitSizeMove(window);
        break;
    case WM_DISPLAYCHANGE:
        PlaceAfterDisplayChange(window);
        break;
    case AppBarCallbackMsg:
        OnAppBarNotice(window, wParam, lParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
