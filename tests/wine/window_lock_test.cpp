// The lock modes with real key states: the hit test reads the physical SHIFT
// key (asynchronous state), the ghost poll the thread's key state, and the
// unhide poll the physical key again.
#include "tests/wine/window_test_fixture.h"

static bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static RECT MeterRect() {
    return RECT{MeterLeft, MeterTop, MeterLeft + MeterWidth, MeterTop + MeterHeight};
}

TEST_F(WindowTest, HitTestAnswersEachLockModeWithShiftUpAndDown) {
    struct {
        int32_t Mode;
        bool Shift;
        LRESULT Answer;
        bool Hides;
    } cases[] = {
        {0, false, HTCAPTION, false}, {0, true, HTCAPTION, false}, {1, false, HTCLIENT, false},
        {1, true, HTCAPTION, false},  {2, false, HTNOWHERE, true}, {2, true, HTCAPTION, false},
        {3, false, HTCAPTION, false}, {3, true, HTCAPTION, false}, {7, false, HTCAPTION, false},
        {7, true, HTCAPTION, false},
    };
    MakeMeter();
    for (const auto& c : cases) {
        SettingsForLoading().LockMode = c.Mode;
        // The thread's state says the opposite: only the physical key counts here.
        SetShift(c.Shift, !c.Shift);
        EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(MeterLeft + 5, MeterTop + 5)), c.Answer)
            << "mode " << c.Mode << " shift " << c.Shift;
        EXPECT_EQ(!IsWindowVisible(meter), c.Hides) << "mode " << c.Mode << " shift " << c.Shift;
        if (c.Hides) {
            EXPECT_TRUE(KillTimer(meter, TimerUnhide)) << "the unhide poll was started";
            ShowWindow(meter, SW_SHOWNOACTIVATE);
        }
    }
}

TEST_F(WindowTest, HideOnMouseOverStaysHiddenWhileThePointerIsOverItsPlace) {
    SettingsForLoading().LockMode = 2;
    MakeMeter();
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(MeterLeft + 5, MeterTop + 5)), HTNOWHERE);
    EXPECT_FALSE(IsWindowVisible(meter));
    EXPECT_TRUE(SameRect(LockState.SavedRect, MeterRect()));

    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    EXPECT_EQ(Send(WM_TIMER, TimerUnhide), 0);
    EXPECT_FALSE(IsWindowVisible(meter)) << "pointer inside, SHIFT up";
    // The right and bottom edges lie outside the rectangle.
    SetCursorPos(MeterLeft + MeterWidth, MeterTop + 5);
    EXPECT_EQ(Send(WM_TIMER, TimerUnhide), 0);
    EXPECT_TRUE(IsWindowVisible(meter));
    EXPECT_FALSE(KillTimer(meter, TimerUnhide)) << "the poll stopped itself";
}

TEST_F(WindowTest, HideOnMouseOverComesBackWithShiftHeld) {
    SettingsForLoading().LockMode = 2;
    MakeMeter();
    Send(WM_NCHITTEST, 0, MAKELPARAM(MeterLeft + 5, MeterTop + 5));
    ASSERT_FALSE(IsWindowVisible(meter));
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(false, true); // the thread's state does not count here
    Send(WM_TIMER, TimerUnhide);
    EXPECT_FALSE(IsWindowVisible(meter));
    SetShift(true, false);
    EXPECT_EQ(Send(WM_TIMER, TimerUnhide), 0);
    EXPECT_TRUE(IsWindowVisible(meter));
    EXPECT_FALSE(KillTimer(meter, TimerUnhide));
}

TEST_F(WindowTest, HideOnMouseOverReturnsAtTheUnhidePollAfterThePointerLeft) {
    SettingsForLoading().LockMode = 2;
    MakeMeter();
    Send(WM_NCHITTEST, 0, MAKELPARAM(MeterLeft + 5, MeterTop + 5));
    DWORD hidden = GetTickCount();
    ASSERT_FALSE(IsWindowVisible(meter));
    // The pointer is far away already: the first real poll shows the window.
    EXPECT_TRUE(PumpUntil([&] { return IsWindowVisible(meter) != FALSE; }));
    EXPECT_GE(GetTickCount() - hidden, 300u) << "not before the 400 ms poll";
    EXPECT_FALSE(KillTimer(meter, TimerUnhide));
}

class GhostTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        SettingsForLoading().LockMode = 3;
        MakeMeter(WS_EX_TOOLWINDOW | WS_EX_LAYERED | WS_EX_TRANSPARENT);
        SetLayeredWindowAttributes(meter, 0, 255, LWA_ALPHA);
        ValidateRect(meter, nullptr);
    }
    bool ClickThrough() { return (GetWindowLongA(meter, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0; }
};

TEST_F(GhostTest, ShiftOverTheWindowMakesItInteractiveUntilReleased) {
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(false, true);
    EXPECT_EQ(Send(WM_TIMER, TimerGhost), DefWindowProcA(meter, WM_TIMER, TimerGhost, 0));
    EXPECT_FALSE(ClickThrough());
    EXPECT_NE(LockState.GhostInteractive, 0);
    EXPECT_TRUE(SameRect(LockState.SavedRect, MeterRect()));
    EXPECT_TRUE(NeedsRepaint());
    EXPECT_EQ(GetCursor(), LockState.MoveCursor);
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(MeterLeft + 5, MeterTop + 5)), HTCAPTION);

    ValidateRect(meter, nullptr);
    Send(WM_TIMER, TimerGhost); // still held: nothing changes
    EXPECT_FALSE(ClickThrough());
    EXPECT_FALSE(NeedsRepaint());

    SetShift(false, false);
    Send(WM_TIMER, TimerGhost);
    EXPECT_TRUE(ClickThrough());
    EXPECT_EQ(LockState.GhostInteractive, 0);
    EXPECT_TRUE(NeedsRepaint());
    EXPECT_EQ(GetCursor(), LockState.ArrowCursor);
}

TEST_F(GhostTest, ThePointerLeavingMakesItClickThroughAgain) {
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(false, true);
    Send(WM_TIMER, TimerGhost);
    ASSERT_FALSE(ClickThrough());
    SetCursorPos(MeterLeft + MeterWidth, MeterTop + 5); // just past the right edge
    Send(WM_TIMER, TimerGhost);
    EXPECT_TRUE(ClickThrough());
    EXPECT_EQ(LockState.GhostInteractive, 0);
}

TEST_F(GhostTest, OnlyTheThreadKeyStateCounts) {
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(true, false);
    Send(WM_TIMER, TimerGhost);
    EXPECT_TRUE(ClickThrough());
    EXPECT_EQ(LockState.GhostInteractive, 0);
    EXPECT_FALSE(NeedsRepaint());
}

TEST_F(GhostTest, ShiftAwayFromTheWindowChangesNothing) {
    SetShift(false, true); // pointer far from the window
    Send(WM_TIMER, TimerGhost);
    EXPECT_TRUE(ClickThrough());
    EXPECT_FALSE(NeedsRepaint());
}

TEST_F(GhostTest, EveryTimerMessagePollsWhateverItsId) {
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(false, true);
    EXPECT_EQ(Send(WM_TIMER, 4242), DefWindowProcA(meter, WM_TIMER, 4242, 0));
    EXPECT_FALSE(ClickThrough());
    SetShift(false, false);
    // The unhide poll's id too; a shown window stays shown.
    EXPECT_EQ(Send(WM_TIMER, TimerUnhide), 0);
    EXPECT_TRUE(ClickThrough());
    EXPECT_TRUE(IsWindowVisible(meter));
}

TEST_F(GhostTest, OtherModesDoNotPoll) {
    SettingsForLoading().LockMode = 0;
    SetCursorPos(MeterLeft + 5, MeterTop + 5);
    SetShift(false, true);
    Send(WM_TIMER, TimerGhost);
    EXPECT_TRUE(ClickThrough());
    EXPECT_TRUE(SameRect(LockState.SavedRect, RECT{0, 0, 0, 0}));
}
