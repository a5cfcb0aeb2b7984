#include "window/lock_rules.h"
#include "window/properties_text.h"

#include <gtest/gtest.h>
#include <string>

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
