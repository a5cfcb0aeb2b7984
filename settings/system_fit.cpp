#include "settings/system_fit.h"

#include "settings/window_levels.h"

ShownSettings FitToSystem(ShownSettings loaded, SystemAllows system) {
    ShownSettings shown = loaded;
    if (system.BackgroundHasAlpha && !system.LayeredAvailable) shown.ZOrder = ZOrderDesktop;
    if (shown.ZOrder == ZOrderDesktop || !system.LayeredAvailable) {
        if (shown.LockMode == LockGhost) shown.LockMode = LockUnlocked;
        shown.Transparency = 0;
    }
    return shown;
}
