// The desktops the host offers the plug-in as the parent of a Desktop-level
// meter, and the other windows on the screen the host knows about.
#pragma once

#include <windows.h>

// The real desktop: a window over every monitor (the virtual screen) that
// shows nothing of its own and takes no clicks, kept below every other window,
// so that a Desktop-level meter sits on the user's wallpaper on any monitor.
// DrawSkin paints the system's desktop. A child's coordinates count from the
// virtual screen's corner, which is left of or above the main monitor's when a
// monitor lies there.
HWND CreateDesktopLayer(HINSTANCE instance);
// The demo desktop (--demo-desktop): a window over every monitor painted with
// the host's drawn wallpaper, which logs the clicks that reach it. DrawSkin paints
// the same wallpaper. For screenshots and tests that compare pixels.
HWND CreateDemoDesktop(HINSTANCE instance);
// After the wallpaper, the colours or the screen changed: the desktop covers
// the virtual screen as it is now (its children keep their places on the
// screen), the service library reads the desktop afresh, and the desktop
// and the meter on it are painted afresh.
void DesktopChanged();
// The host's hidden window, to which the desktop passes the activation
// whenever it gets it: a full-screen active window counts as a full-screen
// program (see OnHandActivationOn).
void SetDesktopHandOff(HWND window);

// Whether the window is one of the kit's own: any window of its process.
bool IsKitWindow(HWND window);

// Where the host's desktop is in the window order: right above the shell's
// desktop window that has come to the front (Show desktop), so that the
// meters on it stay on view and take clicks; at the bottom when null.
void PlaceDesktopInOrder(HWND shellDesktopInFront);

// While held, a press on a meter on the desktop does not activate it (the
// press is being dropped, see menu_closing_click.h).
void HoldDesktopActivation(bool held);
