// The window procedure's answers to each message, the Properties text the
// shell receives, the context menu between MenuEnter and MenuLeave, position
// tracking and saving, and full-screen notices.
#include "tests/wine/window_test_fixture.h"
#include "tests/wine/wine_test_support.h"
#include "window/placement.h"

#include <shellapi.h>

TEST_F(WindowTest, CloseIsIgnoredAndTheWindowStays) {
    MakeMeter();
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_TRUE(IsWindow(meter));
    EXPECT_TRUE(IsWindowVisible(meter));
}

TEST_F(WindowTest, EraseBackgroundAnswersOne) {
    MakeMeter();
    HDC dc = GetDC(meter);
    EXPECT_EQ(Send(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc)), 1);
    ReleaseDC(meter, dc);
}

TEST_F(WindowTest, PaintAnswersZeroAndValidatesTheWindow) {
    MakeMeter();
    InvalidateRect(meter, nullptr, FALSE);
    ASSERT_TRUE(NeedsRepaint());
    EXPECT_EQ(Send(WM_PAINT), 0);
    EXPECT_FALSE(NeedsRepaint());
}

TEST_F(WindowTest, UnknownMessagesGoToTheDefaultProcedure) {
    MakeMeter();
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), DefWindowProcA(meter, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("meter")), TRUE);
    char title[16] = {};
    GetWindowTextA(meter, title, sizeof title);
    EXPECT_STREQ(title, "meter");
}

TEST_F(WindowTest, PropertiesSendsSlashAndName) {
    MakeMeter();
    EXPECT_EQ(Send(WM_COMMAND, CmdProperties), 0);
    ASSERT_EQ(ShellEvents.size(), 1u);
    EXPECT_EQ(ShellEvents[0].Message, HostMsgShowProperties);
    EXPECT_EQ(ShellEvents[0].WParam, 0u);
    EXPECT_EQ(ShellEvents[0].Text, "/Vorlamet");
}

TEST_F(WindowTest, PropertiesReadsOnlyTheLowWordOfTheCommand) {
    MakeMeter();
    EXPECT_EQ(Send(WM_COMMAND, MAKEWPARAM(CmdProperties, 1)), 0); // as from an accelerator
    ASSERT_EQ(ShellEvents.size(), 1u);
    EXPECT_EQ(ShellEvents[0].Text, "/Vorlamet");
}

TEST_F(WindowTest, PropertiesCutsALongNameToTheBuffer) {
    std::string name(400, 'x');
    for (size_t i = 0; i < name.size(); ++i)
        name[i] = static_cast<char>('a' + i % 26);
    record.PropertiesName = name.c_str();
    MakeMeter();
    Send(WM_COMMAND, CmdProperties);
    ASSERT_EQ(ShellEvents.size(), 1u);
    EXPECT_EQ(ShellEvents[0].Text, "/" + name.substr(0, 259));
}

TEST_F(WindowTest, PropertiesWithAnEmptyOrMissingNameSendsTheSlash) {
    MakeMeter();
    record.PropertiesName = "";
    Send(WM_COMMAND, CmdProperties);
    record.PropertiesName = nullptr;
    Send(WM_COMMAND, CmdProperties);
    ASSERT_EQ(ShellEvents.size(), 2u);
    EXPECT_EQ(ShellEvents[0].Text, "/");
    EXPECT_EQ(ShellEvents[1].Text, "/");
}

TEST_F(WindowTest, OtherCommandsAreIgnored) {
    MakeMeter();
    EXPECT_EQ(Send(WM_COMMAND, 502), 0);
    EXPECT_EQ(Send(WM_COMMAND, 0), 0);
    EXPECT_TRUE(ShellEvents.empty());
}

TEST_F(WindowTest, ContextMenuOpensBetweenMenuEnterAndMenuLeave) {
    for (UINT message : {UINT(WM_CONTEXTMENU), UINT(WM_NCRBUTTONUP)}) {
        MakeMeter();
        ShellEvents.clear();
        MenuSeenOpen = false;
        MenuActionWanted = MenuAction::Close;
        SetCursorPos(MeterLeft + 10, MeterTop + 10);
        EXPECT_EQ(Send(message, reinterpret_cast<WPARAM>(meter), MAKELPARAM(5, 5)), 0);
        ASSERT_EQ(ShellEvents.size(), 2u) << message;
        EXPECT_EQ(ShellEvents[0].Message, HostMsgMenuEnter);
        EXPECT_FALSE(ShellEvents[0].MenuOpen); // sent before the menu shows
        EXPECT_TRUE(MenuSeenOpen) << message;
        EXPECT_EQ(ShellEvents[1].Message, HostMsgMenuLeave);
        EXPECT_FALSE(ShellEvents[1].MenuOpen); // sent after it has closed
        PumpPending();
        EXPECT_EQ(ShellEvents.size(), 2u) << "closing the menu chose nothing";
        DestroyWindow(meter);
        meter = nullptr;
        SetCursorPos(FarFromMeter.x, FarFromMeter.y);
    }
}

TEST_F(WindowTest, ContextMenuAppearsAtThePointerNotAtTheMessagePosition) {
    MakeMeter();
    MenuActionWanted = MenuAction::Close;
    SetCursorPos(MeterLeft + 30, MeterTop + 20);
    Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(meter), MAKELPARAM(1, 1));
    EXPECT_EQ(MenuSeenRect.left, MeterLeft + 30);
    EXPECT_EQ(MenuSeenRect.top, MeterTop + 20);
}

TEST_F(WindowTest, RightPressOnTheDragAreaLeavesTheReleaseForTheMenu) {
    MakeMeter();
    // The release is already queued: a default handler would wait for it and
    // take it away, so WM_NCRBUTTONUP and the menu would never come.
    PostMessageA(meter, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(Send(WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(MeterLeft + 5, MeterTop + 5)), 0);
    EXPECT_EQ(GetCapture(), nullptr);
    MSG message;
    EXPECT_TRUE(PeekMessageA(&message, meter, WM_RBUTTONUP, WM_RBUTTONUP, PM_REMOVE));
    EXPECT_TRUE(ShellEvents.empty()) << "the press alone opens nothing";
}

TEST_F(WindowTest, ChoosingPropertiesInTheMenuAsksTheShell) {
    MakeMeter();
    MenuActionWanted = MenuAction::ChooseFirst;
    SetCursorPos(MeterLeft + 10, MeterTop + 10);
    EXPECT_EQ(Send(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(meter), -1), 0);
    EXPECT_TRUE(MenuSeenOpen);
    ASSERT_TRUE(PumpUntil([] { return ShellEvents.size() >= 3; }));
    EXPECT_EQ(ShellEvents[0].Message, HostMsgMenuEnter);
    EXPECT_EQ(ShellEvents[1].Message, HostMsgMenuLeave);
    EXPECT_EQ(ShellEvents[2].Message, HostMsgShowProperties);
    EXPECT_EQ(ShellEvents[2].Text, "/Vorlamet");
}

TEST_F(WindowTest, MovingTracksThePositionAndRepaintsAPaintedWindow) {
    struct {
        int32_t Mode;
        bool Repaints;
    } cases[] = {{0, true}, {1, false}};
    for (const auto& c : cases) {
        MakeMeter();
        SurfaceForTests().PaintMode = SurfaceMode(c.Mode);
        PlaceForTests().WindowX = PlaceForTests().WindowY = -1;
        RECT proposed = {321, 234, 321 + MeterWidth, 234 + MeterHeight};
        RECT copy = proposed;
        LRESULT expected =
            DefWindowProcA(meter, WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&copy));
        EXPECT_EQ(Send(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed)), expected);
        EXPECT_EQ(Place.WindowX, 321);
        EXPECT_EQ(Place.WindowY, 234);
        EXPECT_EQ(NeedsRepaint(), c.Repaints) << "PaintMode " << c.Mode;
        DestroyWindow(meter);
        meter = nullptr;
    }
}

class WindowSaveTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        ini = TempPath("window_save", ".ini");
        ASSERT_TRUE(WriteTextFile(ini, "[Quilbex]\r\nX=1\r\nY=2\r\nLockMode=0\r\n"));
        HostContextRecord context = HostContext;
        context.ConfigHandle = const_cast<char*>(ini.c_str());
        KeepHostContext(&context);
    }
    int Saved(const char* key) { return GetPrivateProfileIntA("Quilbex", key, -999, ini.c_str()); }
    std::string ini;
};

TEST_F(WindowSaveTest, TheEndOfADragSavesWhereItEndedInEitherDragMode) {
    // With the window's contents shown while dragging the window is already
    // at the last WM_MOVING place; without, the system moves it only after
    // WM_EXITSIZEMOVE. A click that moved nothing writes the saved place
    // again, wherever the window is shown.
    struct {
        const char* What;
        bool Moving, WindowFollows;
        int X, Y;
    } cases[] = {
        {"full-window drag", true, true, 260, 170},
        {"outline drag", true, false, 260, 170},
        {"click without a move", false, false, 1, 2},
    };
    for (const auto& c : cases) {
        MakeMeter();
        PlaceForTests().SavedPlaceX = 1;
        PlaceForTests().SavedPlaceY = 2;
        if (c.Moving) {
            RECT proposed = {260, 170, 260 + MeterWidth, 170 + MeterHeight};
            Send(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed));
        }
        if (c.WindowFollows) MoveWindow(meter, 260, 170, MeterWidth, MeterHeight, FALSE);
        ValidateRect(meter, nullptr);
        EXPECT_EQ(Send(WM_EXITSIZEMOVE), DefWindowProcA(meter, WM_EXITSIZEMOVE, 0, 0));
        EXPECT_EQ(Saved("X"), c.X) << c.What;
        EXPECT_EQ(Saved("Y"), c.Y) << c.What;
        EXPECT_EQ(Saved("LockMode"), 0) << "the other keys stay";
        EXPECT_TRUE(NeedsRepaint()) << c.What;
        DestroyWindow(meter);
        meter = nullptr;
    }
}

TEST_F(WindowSaveTest, MovingAloneWritesNothing) {
    MakeMeter();
    RECT proposed = {400, 300, 400 + MeterWidth, 300 + MeterHeight};
    Send(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(Saved("X"), 1);
    EXPECT_EQ(Saved("Y"), 2);
}

TEST_F(WindowSaveTest, ADesktopWindowSavesItsPlaceOnTheScreen) {
    HWND desktop = CreateWindowExA(0, "ShellUnderTest", nullptr, WS_POPUP | WS_VISIBLE, 50, 40, 600,
                                   400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    MakeMeter(0, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, desktop, 10, 20);
    RECT proposed = {160, 100, 160 + MeterWidth, 100 + MeterHeight}; // screen coordinates
    Send(WM_MOVING, WMSZ_TOP, reinterpret_cast<LPARAM>(&proposed));
    Send(WM_EXITSIZEMOVE);
    EXPECT_EQ(Saved("X"), 160);
    EXPECT_EQ(Saved("Y"), 100);
    DestroyWindow(meter);
    meter = nullptr;
    DestroyWindow(desktop);
}

TEST_F(WindowSaveTest, ADisplayChangeBringsALostWindowBackAndLaterToItsPlace) {
    // The saved place off every monitor (as after a monitor was unplugged):
    // the window goes wholly onto the nearest monitor, the file keeps its
    // place; once a monitor shows the saved place again, the window returns.
    // A Desktop-level window whose parent has moved is put back at the same
    // point of the screen.
    const int screenW = GetSystemMetrics(SM_CXSCREEN);
    HWND desktop = CreateWindowExA(0, "ShellUnderTest", nullptr, WS_POPUP | WS_VISIBLE, 50, 40, 600,
                                   400, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SettingsForLoading().Background.Width = MeterWidth;
    SettingsForLoading().Background.Height = MeterHeight;
    struct {
        const char* What;
        bool Child;
        POINT Saved, Now, Shown;
    } cases[] = {
        {"lost to the right",
         false,
         {screenW + 500, 100},
         {screenW + 500, 100},
         {screenW - MeterWidth, 100}},
        {"lost above and left", false, {-900, -700}, {-900, -700}, {0, 0}},
        {"the saved place shown again", false, {300, 200}, {screenW - MeterWidth, 200}, {300, 200}},
        {"partly on the screen: stays", false, {-20, 100}, {-20, 100}, {-20, 100}},
        {"a child whose parent moved", true, {300, 200}, {250, 160}, {300, 200}},
    };
    for (const auto& c : cases) {
        if (c.Child) {
            MakeMeter(0, WS_CHILD | WS_CLIPSIBLINGS, desktop, c.Now.x - 50, c.Now.y - 40);
        } else {
            MakeMeter(WS_EX_TOOLWINDOW, WS_POPUP, nullptr, c.Now.x, c.Now.y);
        }
        PlaceForTests().SavedPlaceX = c.Saved.x;
        PlaceForTests().SavedPlaceY = c.Saved.y;
        ValidateRect(meter, nullptr);
        const LPARAM size = MAKELPARAM(screenW, GetSystemMetrics(SM_CYSCREEN));
        EXPECT_EQ(Send(WM_DISPLAYCHANGE, 32, size),
                  DefWindowProcA(meter, WM_DISPLAYCHANGE, 32, size));
        RECT r;
        GetWindowRect(meter, &r);
        EXPECT_EQ(r.left, c.Shown.x) << c.What;
        EXPECT_EQ(r.top, c.Shown.y) << c.What;
        EXPECT_EQ(Place.WindowX, c.Shown.x) << c.What;
        EXPECT_EQ(Place.WindowY, c.Shown.y) << c.What;
        EXPECT_EQ(NeedsRepaint(), c.Now.x != c.Shown.x) << c.What << ": repainted when moved";
        EXPECT_EQ(Saved("X"), 1) << "nothing written";
        DestroyWindow(meter);
        meter = nullptr;
    }
    DestroyWindow(desktop);
    SettingsForLoading().Background = ImageInfo{};
}

static bool IsTopmost(HWND window) {
    return (GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}
static bool AtTheBottom(HWND window) {
    return GetWindow(window, GW_HWNDNEXT) == nullptr;
}

TEST_F(WindowTest, FullScreenNoticesMoveTheWindowDownAndAlwaysOnTopBackUp) {
    struct {
        int32_t ZOrder;
        DWORD ExStyle;
        bool TopmostAfterwards;
    } cases[] = {{2, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, true}, {1, WS_EX_TOOLWINDOW, false}};
    for (const auto& c : cases) {
        SettingsForLoading().ZOrder = c.ZOrder;
        MakeMeter(c.ExStyle);
        HWND other =
            CreateWindowExA(WS_EX_TOOLWINDOW, "ShellUnderTest", nullptr, WS_POPUP | WS_VISIBLE, 0,
                            0, 20, 20, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        SetWindowPos(meter, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        ASSERT_FALSE(AtTheBottom(meter));

        EXPECT_EQ(Send(AppBarCallbackMsg, ABN_FULLSCREENAPP, 1), 0);
        EXPECT_FALSE(IsTopmost(meter)) << "ZOrder " << c.ZOrder;
        EXPECT_TRUE(AtTheBottom(meter)) << "ZOrder " << c.ZOrder;

        ValidateRect(meter, nullptr);
        EXPECT_EQ(Send(AppBarCallbackMsg, ABN_FULLSCREENAPP, 0), 0);
        EXPECT_EQ(IsTopmost(meter), c.TopmostAfterwards) << "ZOrder " << c.ZOrder;
        EXPECT_EQ(AtTheBottom(meter), !c.TopmostAfterwards) << "ZOrder " << c.ZOrder;
        EXPECT_EQ(NeedsRepaint(), c.TopmostAfterwards) << "ZOrder " << c.ZOrder;
        DestroyWindow(other);
        DestroyWindow(meter);
        meter = nullptr;
    }
}

TEST_F(WindowTest, OtherApplicationBarNoticesChangeNothing) {
    SettingsForLoading().ZOrder = 2;
    MakeMeter(WS_EX_TOOLWINDOW | WS_EX_TOPMOST);
    EXPECT_EQ(Send(AppBarCallbackMsg, ABN_POSCHANGED, 1), 0);
    EXPECT_EQ(Send(AppBarCallbackMsg, ABN_STATECHANGE, 1), 0);
    EXPECT_TRUE(IsTopmost(meter));
}
