// The scale at which the kit shows the meter: the dots per inch of the
// monitor it shows on, decided at each start of the plug-in and handed to it
// through the service library's scaled view (shell/tolvric/scale_view.h), and
// followed when the meter moves to a monitor of another scale or the scale
// of its monitor changes.
#pragma once

#include <cstdint>
#include <windows.h>

// The dpi of the monitor that holds the point (the nearest one when none
// does). VORLAMET_MONITOR_DPI, when set ("96,192": one per monitor from left
// to right), stands in for the system's answer: Wine gives every monitor the
// same scale, so the tests play monitors of different scales with it.
int32_t MonitorDpiAt(POINT point);

// Sets the service library's view for the start about to happen and logs
// "Scale D (P %) at X,Y" (or "... primary monitor"): at the scale of the
// monitor of the meter's saved place (the primary one when the file saves
// none), or 96 when scaling is off. Then EndStartScale when the start is over.
void BeginStartScale();
void EndStartScale();
// The dpi of the last start.
int32_t StartedDpi();

// Whether the meter now shows on a monitor of another scale than the one it
// was started at (or at another scale than pixel for pixel while scaling is
// off); then the next start is at that scale. meter is the plug-in's window.
bool MeterScaleChanged(HWND meter);

// Watches the plug-in's windows on this thread for the end of a drag, a
// change of their scale and of the display, each posting KitMsgCheckScale
// to shell (never while a drag goes on: the meter is restarted once it
// ends). Costs one comparison per message sent to a window of the thread.
void StartFollowingScale(HWND shell);
void StopFollowingScale();
