// What the system allows decides the z-order level, the lock mode and the
// transparency the meter starts with.
#include "settings/system_fit.h"
#include "settings/window_levels.h"

#include <gtest/gtest.h>

namespace {

TEST(FitToSystem, DropsWhatTheSystemCannotShow) {
    struct Case {
        const char* What;
        ShownSettings Loaded;
        SystemAllows System;
        ShownSettings Shown;
    } cases[] = {
        {"layered system keeps all",
         {ZOrderAlwaysOnTop, LockGhost, 40},
         {true, true},
         {ZOrderAlwaysOnTop, LockGhost, 40}},
        {"masked skin, layered system",
         {ZOrderNormal, LockGhost, 70},
         {false, true},
         {ZOrderNormal, LockGhost, 70}},
        {"alpha skin without layered windows goes to the desktop",
         {ZOrderAlwaysOnTop, LockGhost, 40},
         {true, false},
         {ZOrderDesktop, LockUnlocked, 0}},
        {"masked skin without layered windows keeps its level",
         {ZOrderNormal, LockGhost, 30},
         {false, false},
         {ZOrderNormal, LockUnlocked, 0}},
        {"the desktop has neither ghost mode nor transparency",
         {ZOrderDesktop, LockGhost, 50},
         {true, true},
         {ZOrderDesktop, LockUnlocked, 0}},
        {"other lock modes stay on the desktop",
         {ZOrderDesktop, LockHideOnMouseOver, 0},
         {false, false},
         {ZOrderDesktop, LockHideOnMouseOver, 0}},
        {"an unknown level is left for the start to refuse",
         {7, LockWindow, 20},
         {true, true},
         {7, LockWindow, 20}},
    };
    for (const Case& c : cases) {
        const ShownSettings shown = FitToSystem(c.Loaded, c.System);
        EXPECT_EQ(shown.ZOrder, c.Shown.ZOrder) << c.What;
        EXPECT_EQ(shown.LockMode, c.Shown.LockMode) << c.What;
        EXPECT_EQ(shown.Transparency, c.Shown.Transparency) << c.What;
    }
}

} // namespace
