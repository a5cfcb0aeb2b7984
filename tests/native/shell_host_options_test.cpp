// The host program's command line and the names of a running host.
#include "shell/kit/configuration/rules/host_identity.h"
#include "shell/kit/program/rules/host_options.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct OptionsCase {
    std::vector<const char*> Arguments;
    bool Parses;
    const char* Error; // part of the message when it does not
};

HostOptions Parse(const std::vector<const char*>& arguments, bool* parsed, std::string* error) {
    std::vector<const char*> argv = {"vorlamet_host"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    HostOptions options;
    *parsed = ParseHostOptions(int(argv.size()), argv.data(), &options, error);
    return options;
}

TEST(ShellHostOptions, AcceptsEachOptionAndRefusesWithOneClearLine) {
    const OptionsCase cases[] = {
        {{}, true, ""},
        {{"--demo-desktop", "--config", "a.ini", "--seconds", "5"}, true, ""},
        {{"--check", "a.ini"}, true, ""},
        {{"--version", "--seconds", "5"}, true, ""},
        {{"--skin-option", "4=-7"}, true, ""},
        {{"--seconds"}, false, "--seconds needs a number"},
        {{"--seconds", "-1"}, false, "--seconds needs a number"},
        {{"--seconds", "2147484"}, false, "--seconds needs a number"},
        {{"--config"}, false, "--config needs a file"},
        {{"--skin-option", "5=1"}, false, "K from 1 to 4"},
        {{"--desktop-demo"}, false, "unknown option --desktop-demo"},
        // The tests play a full-screen program themselves: the host has no stand-in.
        {{"--fullscreen-app"}, false, "unknown option --fullscreen-app"},
    };
    for (const OptionsCase& c : cases) {
        bool parsed = false;
        std::string error;
        Parse(c.Arguments, &parsed, &error);
        EXPECT_EQ(parsed, c.Parses) << (c.Arguments.empty() ? "" : c.Arguments[0]);
        if (!c.Parses) {
            EXPECT_NE(error.find(c.Error), std::string::npos) << error;
        }
    }
}

TEST(ShellHostOptions, TheRealDesktopUnlessTheDemoIsAskedFor) {
    bool parsed = false;
    std::string error;
    EXPECT_FALSE(Parse({"--config", "a.ini"}, &parsed, &error).DemoDesktop);
    HostOptions demo = Parse({"--demo-desktop", "--seconds", "5"}, &parsed, &error);
    EXPECT_TRUE(demo.DemoDesktop);
    EXPECT_EQ(demo.Seconds, 5);
    EXPECT_EQ(Parse({"--skin-option", "4=-7"}, &parsed, &error).SkinOption[3], -7);
}

TEST(ShellHostIdentity, OneLockPerFileWhateverTheSpelling) {
    const std::string name = SingleInstanceName("C:\\Kit\\skins\\default\\vorlamet.ini");
    for (const char* same :
         {"c:\\kit\\SKINS\\default\\VORLAMET.INI", "C:/Kit/skins/default/vorlamet.ini",
          "C:\\Kit\\\\skins\\default\\\\vorlamet.ini"})
        EXPECT_EQ(SingleInstanceName(same), name) << same;
    for (const char* other :
         {"C:\\Kit\\skins\\painted\\vorlamet.ini", "C:\\Kit\\skins\\default\\vorlamet.ini.bak",
          "D:\\Kit\\skins\\default\\vorlamet.ini"})
        EXPECT_NE(SingleInstanceName(other), name) << other;
    // A share keeps its two leading separators apart from a local path.
    EXPECT_NE(SingleInstanceName("\\\\server\\kit\\a.ini"),
              SingleInstanceName("\\server\\kit\\a.ini"));
}

TEST(ShellHostIdentity, LockNamesAreValidObjectNamesForAnyPath) {
    for (const std::string& path :
         {std::string("C:\\a.ini"), std::string(5000, 'x'), std::string("\\\\?\\C:\\a\\b.ini")}) {
        const std::string name = SingleInstanceName(path);
        ASSERT_EQ(name.compare(0, 6, "Local\\"), 0) << name;
        EXPECT_EQ(name.find('\\', 6), std::string::npos) << name;
        EXPECT_LT(name.size(), 64u);
    }
}

TEST(ShellHostIdentity, TipNamesTheSkinFolderAndFileAndFits) {
    struct Case {
        const char* Path;
        size_t Room;
        const char* Tip;
    };
    const Case cases[] = {
        {"C:\\Kit\\skins\\default\\vorlamet.ini", 127, "Vorlamet - default\\vorlamet.ini"},
        {"Z:/work/painted/my.ini", 127, "Vorlamet - painted/my.ini"},
        {"vorlamet.ini", 127, "Vorlamet - vorlamet.ini"},
        {"C:\\skins\\default\\vorlamet.ini", 24, "Vorlamet - ...rlamet.ini"},
        {"C:\\skins\\default\\vorlamet.ini", 5, "Vorla"},
    };
    for (const Case& c : cases) {
        const std::string tip = TrayTip(c.Path, c.Room);
        EXPECT_EQ(tip, c.Tip) << c.Path;
        EXPECT_LE(tip.size(), c.Room);
    }
}

} // namespace
