// The window in front, to the kit: a full-screen program (an Always on top
// meter starts below it), Show desktop (the desktop layer goes above the
// shell's desktop), and the click that closed a menu (dropped with its
// release and its double-click).
#include "shell/kit/desktop/rules/closing_click_rules.h"
#include "shell/kit/desktop/rules/front_window_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const ScreenBox Main = {0, 0, 1920, 1080};
const ScreenBox Second = {1920, 0, 3200, 1024};

// A program's window in the foreground, covering the main monitor.
WindowFacts Program() {
    WindowFacts w = {};
    w.Exists = w.Foreground = w.Visible = true;
    w.Place = Main;
    w.Monitor = Main;
    return w;
}

struct FrontRow {
    const char* What;
    WindowFacts Window;
    bool FullScreen;   // a full-screen program, by the window alone
    LayerPlace Layer;  // where the layer goes, from the bottom
    LayerPlace Raised; // where the layer goes, from above the desktop
};

std::vector<FrontRow> FrontRows() {
    std::vector<FrontRow> rows;
    const LayerPlace Bottom = LayerPlace::Bottom, Above = LayerPlace::AboveDesktop;
    WindowFacts w = Program();
    rows.push_back({"a full-screen program in the foreground", w, true, Bottom, Bottom});
    w = Program();
    w.Place = {-8, -8, 1928, 1088}; // a maximized window's frame hangs over the edges
    rows.push_back({"a window larger than its monitor", w, true, Bottom, Bottom});
    w = Program();
    w.Place = {0, 0, 1920, 1040};
    rows.push_back({"a maximized window above the taskbar", w, false, Bottom, Bottom});
    w = Program();
    w.Foreground = false;
    rows.push_back({"the same program not in the foreground", w, false, Bottom, Bottom});
    w = Program();
    w.Place = w.Monitor = Second;
    rows.push_back({"a program covering the second of two monitors", w, true, Bottom, Bottom});
    w = Program();
    w.Minimized = true;
    rows.push_back({"a minimized program", w, false, Bottom, Bottom});
    w = Program();
    w.Visible = false;
    rows.push_back({"a hidden window", w, false, Bottom, Bottom});
    w = Program();
    w.ShellDesktop = true;
    rows.push_back({"the shell window (Progman)", w, false, Above, Above});
    rows.push_back({"a WorkerW in front (Show desktop)", w, false, Above, Above});
    w = Program();
    w.Taskbar = true;
    w.Place = {0, 1040, 1920, 1080};
    rows.push_back({"the taskbar", w, false, Bottom, Above});
    w.Place = Main;
    rows.push_back({"the taskbar, full-screen", w, false, Bottom, Above});
    w = Program();
    w.Cloaked = true;
    rows.push_back({"a cloaked window (the Start menu's host)", w, false, Bottom, Above});
    w = Program();
    w.ToolWindow = true;
    rows.push_back({"a tool window", w, false, Bottom, Above});
    w = Program();
    w.KitOwn = true;
    rows.push_back({"the kit's own window (the desktop layer)", w, false, Bottom, Above});
    w = {};
    rows.push_back({"no foreground window", w, false, Bottom, Above});
    w = Program();
    w.Monitor = {};
    rows.push_back({"a window no monitor shows", w, false, Bottom, Bottom});
    return rows;
}

TEST(ShellFrontWindow, AFullScreenProgramIsTheForegroundWindowCoveringItsMonitor) {
    for (const FrontRow& row : FrontRows()) {
        EXPECT_EQ(IsFullScreenProgram(row.Window), row.FullScreen) << row.What;
        // Unknown to the system, and the meter's monitor unknown or its own.
        EXPECT_EQ(FullScreenProgramInFront(UserState::Unknown, row.Window, nullptr), row.FullScreen)
            << row.What;
        EXPECT_EQ(
            FullScreenProgramInFront(UserState::NothingInFront, row.Window, &row.Window.Monitor),
            row.FullScreen)
            << row.What;
    }
}

TEST(ShellFrontWindow, ShowDesktopRaisesTheLayerAndAProgramsReturnLowersIt) {
    for (const FrontRow& row : FrontRows()) {
        EXPECT_EQ(LayerPlaceAfter(row.Window, LayerPlace::Bottom), row.Layer) << row.What;
        EXPECT_EQ(LayerPlaceAfter(row.Window, LayerPlace::AboveDesktop), row.Raised) << row.What;
    }
}

TEST(ShellFrontWindow, TheSystemsAnswerAndTheMetersMonitor) {
    const WindowFacts onSecond = [] {
        WindowFacts w = Program();
        w.Place = w.Monitor = Second;
        return w;
    }();
    WindowFacts desktop = Program();
    desktop.ShellDesktop = true;
    const struct {
        const char* What;
        UserState State;
        WindowFacts Foreground;
        const ScreenBox* Meter;
        bool InFront;
    } rows[] = {
        {"a program full-screen on the meter's monitor", UserState::Unknown, onSecond, &Second,
         true},
        {"a program full-screen on the other monitor", UserState::Unknown, onSecond, &Main, false},
        {"the system: busy, the program on the meter's monitor", UserState::FullScreen, onSecond,
         &Second, true},
        {"the system: busy, the program on the other monitor", UserState::FullScreen, onSecond,
         &Main, false},
        // An exclusive game may show no window the host can read.
        {"the system: a Direct3D game, no window to tell where", UserState::Direct3D, desktop,
         &Main, true},
        {"the system: busy, the desktop in front", UserState::FullScreen, desktop, &Main, true},
        {"the system: presentation settings", UserState::Presentation, onSecond, &Main, true},
        {"the system: nothing, the desktop in front", UserState::NothingInFront, desktop, &Main,
         false},
        {"the system: nothing, a full-screen program in front", UserState::NothingInFront, onSecond,
         nullptr, true},
    };
    for (const auto& row : rows)
        EXPECT_EQ(FullScreenProgramInFront(row.State, row.Foreground, row.Meter), row.InFront)
            << row.What;
}

TEST(ShellFrontWindow, ExplorersClassNames) {
    for (const char* name : {"Progman", "WorkerW"})
        EXPECT_TRUE(IsShellDesktopClass(name)) << name;
    for (const char* name : {"Shell_TrayWnd", "Shell_SecondaryTrayWnd"})
        EXPECT_TRUE(IsTaskbarClass(name)) << name;
    for (const char* name : {"progman", "WorkerW2", "SHELLDLL_DefView", "", "Shell_TrayWnd"})
        EXPECT_FALSE(IsShellDesktopClass(name)) << name;
    for (const char* name : {"Shell_TrayWndX", "Progman", ""})
        EXPECT_FALSE(IsTaskbarClass(name));
    EXPECT_FALSE(IsShellDesktopClass(nullptr));
    EXPECT_FALSE(IsTaskbarClass(nullptr));
}

// One message after the press that closed a menu, and whether it is dropped.
struct ClickStep {
    ButtonAction Action;
    MouseButton Button;
    uint32_t Time;
    bool Dropped;
};

struct ClickRow {
    const char* What;
    MouseButton Closed; // the button whose press closed the menu, at time 1000
    std::vector<ClickStep> Steps;
};

TEST(ShellClosingClick, TheReleaseAndTheDoubleClickGoWithThePress) {
    const auto L = MouseButton::Left, R = MouseButton::Right, M = MouseButton::Middle;
    const auto Down = ButtonAction::Press, Double = ButtonAction::DoublePress,
               Up = ButtonAction::Release, Other = ButtonAction::Other;
    const uint32_t Dbl = 500; // the system's double-click time
    const ClickRow rows[] = {
        {"a right-click: its release would open the menu again", R, {{Up, R, 1090, true}}},
        {"a left click, then a drag",
         L,
         {{Up, L, 1080, true}, {Down, L, 2000, false}, {Up, L, 2300, false}}},
        {"a double-click",
         L,
         {{Up, L, 1080, true},
          {Double, L, 1200, true},
          {Up, L, 1280, true},
          {Down, L, 1350, false},
          {Up, L, 1400, false}}},
        {"a right double-click",
         R,
         {{Up, R, 1080, true}, {Double, R, 1200, true}, {Up, R, 1280, true}, {Up, R, 1290, false}}},
        {"a double-click whose first release was lost",
         L,
         {{Double, L, 1200, true}, {Up, L, 1280, true}, {Up, L, 1300, false}}},
        {"moves and keys in between pass",
         R,
         {{Other, MouseButton::None, 1010, false},
          {Up, R, 1090, true},
          {Other, MouseButton::None, 1100, false},
          {Double, R, 1150, true}}},
        {"another button's press and release pass, and end it",
         L,
         {{Down, M, 1050, false}, {Up, M, 1060, false}, {Up, L, 1090, false}}},
        {"another button's release passes", L, {{Up, R, 1050, false}, {Up, L, 1090, true}}},
        {"a double press of another button passes",
         L,
         {{Up, L, 1050, true}, {Double, R, 1100, false}, {Up, R, 1150, false}}},
        {"a double-click press after the double-click time passes",
         L,
         {{Up, L, 1080, true}, {Double, L, 1000 + Dbl + 1, false}}},
        {"at the double-click time, dropped",
         L,
         {{Up, L, 1080, true}, {Double, L, 1000 + Dbl, true}}},
        {"a release held long is still the click's",
         R,
         {{Up, R, 60000, true}, {Up, R, 60100, false}}},
    };
    for (const ClickRow& row : rows) {
        ClosingClick click = {};
        DropClosingPress(&click, row.Closed, 1000);
        for (size_t i = 0; i < row.Steps.size(); ++i) {
            const ClickStep& s = row.Steps[i];
            EXPECT_EQ(DropsWithClosingClick(&click, {s.Action, s.Button, s.Time}, Dbl), s.Dropped)
                << row.What << ", step " << i;
        }
    }
}

TEST(ShellClosingClick, NothingIsDroppedWithoutAClosedMenuAndAcrossTheClocksWrap) {
    ClosingClick none = {};
    for (auto action : {ButtonAction::Press, ButtonAction::DoublePress, ButtonAction::Release})
        EXPECT_FALSE(DropsWithClosingClick(&none, {action, MouseButton::Left, 5}, 500));
    ClosingClick click = {};
    DropClosingPress(&click, MouseButton::Left, 0xFFFFFF00u);
    EXPECT_TRUE(
        DropsWithClosingClick(&click, {ButtonAction::DoublePress, MouseButton::Left, 0x40}, 500));
}

} // namespace
