#include "window/lock_rules.h"
#include "window/placement_rules.h"
#include "window/properties_text.h"

#include <gtest/gtest.h>
#include <cstdint>
#include <string>
#include <vector>

struct HitCase {
    int32_t LockMode;
    bool ShiftDown;
    int32_t Answer;
    bool Hide;
};

TEST(LockModeHitTest, AnswersEachModeWithShiftUpAndDown) {
    const HitCase cases[] = {
        {LockUnlocked, false, HitCaption, false},
        {LockUnlocked, true, HitCaption, false},
        {LockWindow, false, HitClient, false},
        {LockWindow, true, HitCaption, false},
        {LockHideOnMouseOver, false, HitNowhere, true},
        {LockHideOnMouseOver, true, HitCaption, false},
        {LockGhost, false, HitCaption, false},
        {LockGhost, true, HitCaption, false},
        {7, false, HitCaption, false}, // unknown modes behave as Unlocked
        {-1, false, HitCaption, false},
    };
    for (const HitCase& c : cases) {
        HitDecision d = LockModeHitTest(c.LockMode, c.ShiftDown);
        EXPECT_EQ(d.Answer, c.Answer) << "mode " << c.LockMode << " shift " << c.ShiftDown;
        EXPECT_EQ(d.Hide, c.Hide) << "mode " << c.LockMode << " shift " << c.ShiftDown;
    }
}

TEST(GhostStep, InteractiveExactlyWhileShiftHeldOverTheWindow) {
    struct {
        bool Inside, Shift, Interactive;
        GhostChange Change;
    } cases[] = {
        {true, true, false, GhostToInteractive},  {true, true, true, GhostStay},
        {true, false, true, GhostToPassThrough},  {false, true, true, GhostToPassThrough},
        {false, false, true, GhostToPassThrough}, {true, false, false, GhostStay},
        {false, true, false, GhostStay},          {false, false, false, GhostStay},
    };
    for (const auto& c : cases)
        EXPECT_EQ(GhostStep(c.Inside, c.Shift, c.Interactive), c.Change)
            << c.Inside << c.Shift << c.Interactive;
}

TEST(StayHidden, OnlyWhilePointerInsideAndShiftUp) {
    EXPECT_TRUE(StayHidden(true, false));
    EXPECT_FALSE(StayHidden(true, true));
    EXPECT_FALSE(StayHidden(false, false));
    EXPECT_FALSE(StayHidden(false, true));
}

TEST(BuildPropertiesText, PutsASlashBeforeTheName) {
    char text[PropertiesTextSize];
    EXPECT_EQ(BuildPropertiesText(text, sizeof text, "Vorlamet"), 9u);
    EXPECT_STREQ(text, "/Vorlamet");
}

TEST(BuildPropertiesText, EmptyOrMissingNameGivesTheSlashAlone) {
    char text[PropertiesTextSize];
    EXPECT_EQ(BuildPropertiesText(text, sizeof text, ""), 1u);
    EXPECT_STREQ(text, "/");
    EXPECT_EQ(BuildPropertiesText(text, sizeof text, nullptr), 1u);
    EXPECT_STREQ(text, "/");
}

TEST(BuildPropertiesText, CutsLongNamesToFitTheBuffer) {
    // Heap buffers of the exact size so that AddressSanitizer sees any write past them.
    for (size_t nameLength : {258u, 259u, 260u, 400u}) {
        std::string name(nameLength, 'n');
        name[0] = 'A';
        char* text = new char[PropertiesTextSize];
        size_t length = BuildPropertiesText(text, PropertiesTextSize, name.c_str());
        size_t kept = nameLength < 259 ? nameLength : 259;
        EXPECT_EQ(length, kept + 1) << nameLength;
        EXPECT_EQ(std::string(text), "/" + name.substr(0, kept)) << nameLength;
        delete[] text;
    }
}

TEST(BuildPropertiesText, SmallestBufferHoldsTheSlash) {
    char* text = new char[2];
    EXPECT_EQ(BuildPropertiesText(text, 2, "Vorlamet"), 1u);
    EXPECT_STREQ(text, "/");
    delete[] text;
}

// Monitor layouts: (monitor, work area) each, the main one first.
const std::vector<MonitorArea> OneWithTaskBar = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
const std::vector<MonitorArea> TaskBarOnTheLeft = {{{0, 0, 1920, 1080}, {60, 0, 1920, 1080}}};
const std::vector<MonitorArea> SecondOnTheLeft = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                                  {{-1280, 0, 0, 1024}, {-1280, 0, 0, 1024}}};
const std::vector<MonitorArea> SecondAbove = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}},
                                              {{0, -1200, 1920, 0}, {0, -1200, 1920, 0}}};
// The test display of two monitors: the second one shorter, to the right.
const std::vector<MonitorArea> SecondShorter = {{{0, 0, 1024, 768}, {0, 0, 1024, 768}},
                                                {{1024, 0, 1824, 600}, {1024, 0, 1824, 600}}};
const std::vector<MonitorArea> SecondUnplugged = {SecondShorter[0]};
const std::vector<MonitorArea> CornerToCorner = {{{0, 0, 1920, 1080}, {0, 0, 1920, 1080}},
                                                 {{-1600, -900, 0, 0}, {-1600, -900, 0, 0}}};
const std::vector<MonitorArea> TwoEqual = {{{0, 0, 1000, 500}, {0, 0, 1000, 500}},
                                           {{1000, 0, 2000, 500}, {1000, 0, 2000, 500}}};
const std::vector<MonitorArea> Tiny = {{{0, 0, 200, 100}, {0, 0, 200, 100}}};
const std::vector<MonitorArea> NoMonitor = {};

TEST(PlaceOnMonitors, KeepsAPlaceAMonitorShowsAndBringsBackALostOne) {
    struct {
        const char* What;
        const std::vector<MonitorArea>& Layout;
        ScreenPoint Saved, Shown;
    } cases[] = {
        {"on the main monitor", OneWithTaskBar, {40, 40}, {40, 40}},
        {"partly off the corner", OneWithTaskBar, {1800, 1000}, {1800, 1000}},
        {"partly under the task bar", OneWithTaskBar, {100, 1000}, {100, 1000}},
        {"touching the right edge from outside", OneWithTaskBar, {1920, 100}, {1700, 100}},
        {"far right and below", OneWithTaskBar, {3000, 2000}, {1700, 920}},
        {"below the screen: above the task bar", OneWithTaskBar, {100, 1100}, {100, 920}},
        {"left of and above the screen", OneWithTaskBar, {-500, -500}, {0, 0}},
        {"left of a task bar on the left", TaskBarOnTheLeft, {-500, 50}, {60, 50}},
        {"on a monitor left of the main one", SecondOnTheLeft, {-1000, 200}, {-1000, 200}},
        {"beyond the left monitor", SecondOnTheLeft, {-2000, 200}, {-1280, 200}},
        {"left monitor unplugged", OneWithTaskBar, {-1000, 200}, {0, 200}},
        {"on a monitor above the main one", SecondAbove, {300, -700}, {300, -700}},
        {"above the upper monitor", SecondAbove, {300, -1500}, {300, -1200}},
        {"upper monitor unplugged", OneWithTaskBar, {300, -700}, {300, 0}},
        {"under the shorter monitor: nearest is it", SecondShorter, {1500, 700}, {1500, 480}},
        {"partly on the main one beside it", SecondShorter, {900, 700}, {900, 700}},
        {"on the second monitor", SecondShorter, {1240, 140}, {1240, 140}},
        {"second monitor unplugged", SecondUnplugged, {1240, 140}, {804, 140}},
        {"over the corner two monitors share", CornerToCorner, {-100, -100}, {-100, -100}},
        {"beyond the upper left one", CornerToCorner, {-3000, -3000}, {-1600, -900}},
        {"equally near two: the first", TwoEqual, {890, 700}, {780, 380}},
        {"larger than the work area", Tiny, {500, 500}, {0, 0}},
        {"no monitors: as saved", NoMonitor, {5000, -5000}, {5000, -5000}},
        {"the ends of the range", OneWithTaskBar, {INT32_MAX, INT32_MIN}, {1700, 0}},
        {"the other ends", OneWithTaskBar, {INT32_MIN, INT32_MAX}, {0, 920}},
    };
    for (const auto& c : cases) {
        ScreenPoint shown = PlaceOnMonitors(c.Saved, 220, 120, c.Layout.data(),
                                            static_cast<int32_t>(c.Layout.size()));
        EXPECT_EQ(shown.X, c.Shown.X) << c.What;
        EXPECT_EQ(shown.Y, c.Shown.Y) << c.What;
    }
}
