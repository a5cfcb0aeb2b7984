// The host kit's rules for Start with Windows (the Run value's name and text)
// and for following a skin as it is edited (when a burst has settled, and
// which changes are the kit's own).
#include "shell/kit/autostart/rules/autostart_rules.h"
#include "shell/kit/configuration/rules/host_identity.h"
#include "shell/kit/configuration/rules/path_spelling.h"
#include "shell/kit/skin_follow/rules/change_settle.h"
#include "shell/kit/skin_follow/rules/skin_edit_rules.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

const std::string Ini = "C:\\Skins\\Mine\\vorlamet.ini";

TEST(ShellAutostart, OneValuePerFileNamedLikeItsLock) {
    const std::string name = AutostartValueName(Ini);
    EXPECT_EQ("Local\\" + name, SingleInstanceName(Ini));
    EXPECT_EQ(AutostartValueName("c:/skins/MINE//Vorlamet.INI"), name);
    EXPECT_NE(AutostartValueName("C:\\Skins\\Other\\vorlamet.ini"), name);
    EXPECT_EQ(name.compare(0, 9, "Vorlamet-"), 0) << name;
    EXPECT_EQ(name.size(), 25u);
}

// The file system of these rows: each existing path, by its stored spelling
// in capitals, and the stored name of its last part.
bool StoredName(const std::string& path, std::string* name) {
    static const std::map<std::string, std::string> stored = {
        {"C:\\SKINS", "Skins"},
        {"C:\\SKINS\\MINE", "Mine"},
        {"C:\\SKINS\\MINE\\VORLAMET.INI", "vorlamet.ini"},
        {"C:\\SKINS\\MINE~1", "My Skin"},
        {"C:\\SKINS\\MY SKIN", "My Skin"},
        {"C:\\SKINS\\MY SKIN\\VORLAM~1.INI", "vorlamet.ini"},
        {"C:\\SKINS\\MY SKIN\\VORLAMET.INI", "vorlamet.ini"},
        {"\\\\NAS\\SHARE\\SKINS", "Skins"},
    };
    std::string key = path;
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    auto found = stored.find(key);
    if (found == stored.end()) return false;
    *name = found->second;
    return true;
}

TEST(ShellAutostart, TheRunValueNamesTheFileInOneSpelling) {
    struct Case {
        const char* given;
        const char* written;
    } cases[] = {
        {"C:\\Skins\\Mine\\vorlamet.ini", "C:\\Skins\\Mine\\vorlamet.ini"},
        {"c:/SKINS//mine\\VORLAMET.INI", "C:\\Skins\\Mine\\vorlamet.ini"},
        {"C:\\SKINS\\MINE~1\\VORLAM~1.INI", "C:\\Skins\\My Skin\\vorlamet.ini"},
        {"c:\\skins\\my skin\\Vorlamet.Ini", "C:\\Skins\\My Skin\\vorlamet.ini"},
        // Not there (yet): what can be found in its spelling, the rest as given.
        {"c:\\skins\\Gone\\VORLAMET.ini", "C:\\Skins\\Gone\\VORLAMET.ini"},
        {"c:\\skins\\mine\\*.ini", "C:\\Skins\\Mine\\*.ini"},
        {"\\\\NAS\\share\\skins\\a.ini", "\\\\NAS\\share\\Skins\\a.ini"},
        {"//NAS//share/skins", "\\\\NAS\\share\\Skins"},
        {"vorlamet.ini", "vorlamet.ini"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(StoredSpelling(c.given, StoredName), c.written) << c.given;
}

TEST(ShellAutostart, CommandLinesWrittenAndRead) {
    EXPECT_EQ(
        AutostartCommand("C:\\Program Files\\Kit\\vorlamet.exe", Ini),
        "\"C:\\Program Files\\Kit\\vorlamet.exe\" --config \"C:\\Skins\\Mine\\vorlamet.ini\"");
    struct Case {
        const char* Text;
        bool Parses;
        const char* Program;
        const char* Config;
    } cases[] = {
        {"\"C:\\A B\\vorlamet.exe\" --config \"C:\\S T\\v.ini\"", true, "C:\\A B\\vorlamet.exe",
         "C:\\S T\\v.ini"},
        {"C:\\Kit\\vorlamet.exe --config C:\\S\\v.ini", true, "C:\\Kit\\vorlamet.exe",
         "C:\\S\\v.ini"},
        {"  \"C:\\Kit\\vorlamet.exe\"\t--demo-desktop --config   \"C:\\S\\v.ini\" --seconds 5 ",
         true, "C:\\Kit\\vorlamet.exe", "C:\\S\\v.ini"},
        {"\"C:\\Kit\\vorlamet.exe\" --config \"C:\\S\\v.ini", true, "C:\\Kit\\vorlamet.exe",
         "C:\\S\\v.ini"}, // an unclosed quote ends at the end
        {"\"C:\\Kit\\vorlamet.exe\"", false, "", ""},
        {"\"C:\\Kit\\vorlamet.exe\" --config", false, "", ""},
        {"\"C:\\Kit\\vorlamet.exe\" --config \"\"", false, "", ""},
        {"", false, "", ""},
        {"   ", false, "", ""},
        {"\"\" --config a.ini", false, "", ""},
    };
    for (const Case& c : cases) {
        AutostartParts parts;
        ASSERT_EQ(ParseAutostartCommand(c.Text, &parts), c.Parses) << c.Text;
        if (!c.Parses) continue;
        EXPECT_EQ(parts.Program, c.Program) << c.Text;
        EXPECT_EQ(parts.Config, c.Config) << c.Text;
    }
    AutostartParts parts;
    ASSERT_TRUE(ParseAutostartCommand(AutostartCommand("C:\\Kit\\vorlamet.exe", Ini), &parts));
    EXPECT_EQ(parts.Config, Ini);
}

TEST(ShellAutostart, ThePeoplesProgramStartsEvenFromTheConsoleOne) {
    struct Case {
        const char* Running;
        bool WindowedBeside;
        const char* Program;
    } cases[] = {
        {"C:\\Kit\\vorlamet.exe", true, "C:\\Kit\\vorlamet.exe"},
        {"C:\\Kit\\vorlamet.exe", false, "C:\\Kit\\vorlamet.exe"},
        {"C:\\Kit\\vorlamet_host.exe", true, "C:\\Kit\\vorlamet.exe"},
        {"C:\\Kit\\VORLAMET_HOST.EXE", true, "C:\\Kit\\vorlamet.exe"},
        {"C:\\Kit\\vorlamet_host.exe", false, "C:\\Kit\\vorlamet_host.exe"},
        {"C:\\Kit\\meter.exe", true, "C:\\Kit\\meter.exe"}, // renamed: itself
    };
    for (const Case& c : cases)
        EXPECT_EQ(AutostartProgram(c.Running, c.WindowedBeside), c.Program) << c.Running;
    EXPECT_EQ(WindowedBeside("C:\\Kit\\vorlamet_host.exe"), "C:\\Kit\\vorlamet.exe");
}

bool OnlyKitExists(const std::string& path) {
    return path == "C:\\Kit\\vorlamet.exe";
}

TEST(ShellAutostart, TheMarkTellsWhatTheValueStarts) {
    struct Case {
        const char* Text; // null: no value
        AutostartState State;
    } cases[] = {
        {nullptr, AutostartState::Off},
        {"\"C:\\Kit\\vorlamet.exe\" --config \"C:\\Skins\\Mine\\vorlamet.ini\"",
         AutostartState::On},
        {"\"C:\\Kit\\vorlamet.exe\" --config \"c:/skins/mine/VORLAMET.ini\"", AutostartState::On},
        {"\"C:\\Old Kit\\vorlamet.exe\" --config \"C:\\Skins\\Mine\\vorlamet.ini\"",
         AutostartState::Moved},
        {"\"C:\\Kit\\vorlamet.exe\" --config \"C:\\Skins\\Other\\vorlamet.ini\"",
         AutostartState::Other},
        {"\"C:\\Kit\\vorlamet.exe\"", AutostartState::Other},
        {"", AutostartState::Other},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeAutostart(c.Text, Ini, OnlyKitExists), c.State)
            << (c.Text ? c.Text : "(none)");
}

TEST(ShellFollowSkin, ABurstSettlesOnceItHasBeenStillForAThirdOfASecond) {
    // Each step: at time T either a change is noticed or the wait is asked for.
    struct Step {
        uint32_t At;
        bool Change;
        uint32_t Wait; // expected when asked
    };
    const uint32_t never = SettleNever;
    struct Case {
        const char* Name;
        uint32_t Start;
        Step Steps[6];
        int Count;
    } cases[] = {
        {"idle", 0, {{0, false, never}, {5000, false, never}}, 2},
        {"one save", 0, {{100, true, 0}, {100, false, 330}, {300, false, 130}, {430, false, 0}}, 4},
        {"a burst restarts the stillness",
         0,
         {{0, true, 0},
          {200, true, 0},
          {400, true, 0},
          {500, false, 230},
          {729, false, 1},
          {730, false, 0}},
         6},
        {"across the clock's wrap",
         0xFFFFFF00u,
         {{0, true, 0}, {0x100, false, 74}, {0x14A, false, 0}},
         3},
        {"a clock that runs back counts as settled", 1000, {{900, true, 0}, {0, false, 0}}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        SettleClock clock = {};
        for (int i = 0; i < c.Count; ++i) {
            const uint32_t now = c.Start + c.Steps[i].At;
            if (c.Steps[i].Change)
                NoteChange(&clock, now);
            else
                EXPECT_EQ(SettleWait(clock, now), c.Steps[i].Wait) << "step " << i;
        }
    }
    SettleClock clock = {};
    NoteChange(&clock, 10);
    SettleDone(&clock);
    EXPECT_EQ(SettleWait(clock, 1000), SettleNever);
}

const SkinEditKeys Keys = {"Quilbex", "X", "Y"};

SkinSnapshot Snapshot(const std::string& ini, uint64_t backgroundHash = 1) {
    SkinSnapshot s;
    s.IniExists = true;
    s.IniText = ini;
    s.PicturePaths[0] = "C:\\Skins\\Mine\\background.png";
    s.Pictures[0] = {true, 100, backgroundHash};
    for (int32_t i = 1; i < SkinPictureCount; ++i)
        s.Pictures[i] = {false, 0, 0};
    return s;
}

TEST(ShellFollowSkin, OwnWritesAreNoEdit) {
    const std::string running =
        "; my skin\r\n[Quilbex]\r\nX = 40\r\nY=40\r\nElapse=800\r\n[Other]\r\nX=1\r\n";
    const MeterPlace at140 = {true, 140, 90};
    struct Case {
        const char* Name;
        SkinSnapshot Now;
        MeterPlace Place;
        SkinEdit Verdict;
    } cases[] = {
        {"the same files (the dialog's Apply, which restarted the plug-in)", Snapshot(running),
         at140, SkinEdit::Unchanged},
        {"the position saved after a drag, where the meter is (the key kept as written)",
         Snapshot("; my skin\r\n[Quilbex]\r\nX =140\r\nY=90\r\nElapse=800\r\n[Other]\r\nX=1\r\n"),
         at140, SkinEdit::OwnPlace},
        {"a position typed in by hand moves the meter",
         Snapshot("; my skin\r\n[Quilbex]\r\nX=300\r\nY=90\r\nElapse=800\r\n[Other]\r\nX=1\r\n"),
         at140, SkinEdit::Edited},
        {"no meter runs: a position is an edit",
         Snapshot("; my skin\r\n[Quilbex]\r\nX=140\r\nY=90\r\nElapse=800\r\n[Other]\r\nX=1\r\n"),
         {false, 140, 90},
         SkinEdit::Edited},
        {"the save and another key at once",
         Snapshot("; my skin\r\n[Quilbex]\r\nX=140\r\nY=90\r\nElapse=500\r\n[Other]\r\nX=1\r\n"),
         at140, SkinEdit::Edited},
        {"Elapse",
         Snapshot("; my skin\r\n[Quilbex]\r\nX = 40\r\nY=40\r\nElapse=500\r\n"
                  "[Other]\r\nX=1\r\n"),
         at140, SkinEdit::Edited},
        {"a comment",
         Snapshot("; her skin\r\n[Quilbex]\r\nX = 40\r\nY=40\r\nElapse=800\r\n"
                  "[Other]\r\nX=1\r\n"),
         at140, SkinEdit::Edited},
        {"X of another section",
         Snapshot("; my skin\r\n[Quilbex]\r\nX = 40\r\nY=40\r\nElapse=800\r\n[Other]\r\nX=140\r\n"),
         at140, SkinEdit::Edited},
        {"the position removed",
         Snapshot("; my skin\r\n[Quilbex]\r\nElapse=800\r\n[Other]\r\nX=1\r\n"), at140,
         SkinEdit::Edited},
        {"a position that is no number",
         Snapshot("; my skin\r\n[Quilbex]\r\nX=14O\r\nY=90\r\nElapse=800\r\n[Other]\r\nX=1\r\n"),
         at140, SkinEdit::Edited},
        {"a picture's content", Snapshot(running, 2), at140, SkinEdit::Edited},
        {"the file half written", Snapshot("; my skin\r\n[Quilbex]\r\nX = 4"), at140,
         SkinEdit::Edited},
    };
    for (const Case& c : cases)
        EXPECT_EQ(JudgeSkinEdit(Snapshot(running), c.Now, Keys, c.Place), c.Verdict) << c.Name;

    // A first save adds the keys the file did not have, where the service
    // library adds them.
    const std::string bare = "[Quilbex]\nElapse=800\n";
    EXPECT_EQ(JudgeSkinEdit(Snapshot(bare), Snapshot("[Quilbex]\nElapse=800\nX=140\nY=90\n"), Keys,
                            at140),
              SkinEdit::OwnPlace);
    // A picture that appears, goes, or is named otherwise.
    SkinSnapshot gone = Snapshot(running);
    gone.Pictures[0].Exists = false;
    SkinSnapshot renamed = Snapshot(running);
    renamed.PicturePaths[0] = "C:\\Skins\\Mine\\back.png";
    SkinSnapshot noIni = Snapshot(running);
    noIni.IniExists = false;
    // A picture made for 200 % saved beside the background.
    SkinSnapshot drawn = Snapshot(running);
    drawn.PicturePaths[2] = "C:\\Skins\\Mine\\background@2x.png";
    drawn.Pictures[2] = {true, 400, 7};
    for (const SkinSnapshot* now : {&gone, &renamed, &noIni, &drawn})
        EXPECT_EQ(JudgeSkinEdit(Snapshot(running), *now, Keys, at140), SkinEdit::Edited);
}

TEST(ShellFollowSkin, FileNamesCompareAsTheSystemComparesThem) {
    EXPECT_TRUE(SameFileName("CPU.PNG", "cpu.png"));
    EXPECT_TRUE(SameFileName("C:\\Skins/Mine\\cpu.png", "c:/skins\\mine/CPU.png"));
    EXPECT_FALSE(SameFileName("cpu.png", "cpu.png.new"));
    EXPECT_FALSE(SameFileName("cpu.png", "cpu.pnh"));
}

} // namespace
