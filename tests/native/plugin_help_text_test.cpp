#include "plugin/help_text.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The lines of the help text, each without its CR LF; a line not ended by
// CR LF, or a lone CR or LF anywhere, fails the test that splits it.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "last line not ended by CR LF";
            break;
        }
        std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

bool StartsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

TEST(SettingsHelpText, HasTheShellsLengthAndLineCount) {
    EXPECT_EQ(strlen(HelpText), 2239u);
    EXPECT_EQ(SplitLines(HelpText).size(), 47u);
}

TEST(SettingsHelpText, OpensWithTitleAndRule) {
    const std::vector<std::string> lines = SplitLines(HelpText);
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "CPU, Memory and Net usage monitor ver. 1.2.1");
    EXPECT_EQ(lines[1], std::string(22, '-'));
    EXPECT_NE(lines[2].find("Zelvo Resource Monitor"), std::string::npos);
    for (const std::string& line : lines) {
        for (char c : line)
            EXPECT_TRUE(c >= 0x20 && c < 0x7F) << line;
    }
}

// After the heading come three groups, each an "o " line followed by "- "
// lines (a wrapped explanation continues on indented lines).
TEST(SettingsHelpText, ListsTheThreeGroupsAfterTheHeading) {
    const std::vector<std::string> lines = SplitLines(HelpText);
    size_t heading = 0;
    while (heading < lines.size() && lines[heading] != "Configuration.")
        ++heading;
    ASSERT_LT(heading, lines.size());

    std::vector<std::string> groups;
    std::vector<std::string> items;
    for (size_t i = heading + 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty()) {
            EXPECT_TRUE(groups.empty()) << "blank line inside the groups";
        } else if (StartsWith(line, "o ")) {
            groups.push_back(line.substr(2));
        } else if (StartsWith(line, "- ")) {
            EXPECT_FALSE(groups.empty()) << line;
            items.push_back(line.substr(2));
        } else {
            EXPECT_TRUE(StartsWith(line, "  ") && !items.empty()) << line;
        }
    }
    const std::vector<std::string> expectedGroups = {
        "Window Settings", "CPU/Memory/NetIn/NetOut Indicator Settings", "Other Settings"};
    EXPECT_EQ(groups, expectedGroups);

    const char* const itemStarts[] = {"Z-Order:",
                                      "X, Y:",
                                      "Lock mode:",
                                      "Skin:",
                                      "Skin:",
                                      "FramesCount:",
                                      "OffsetX, OffsetY:",
                                      "TextFormat:",
                                      "TextOffsetX, TextOffsetY:",
                                      "Font:",
                                      "Font Color:",
                                      "Elapse:",
                                      "Max Net Speed:",
                                      "Transparency:"};
    ASSERT_EQ(items.size(), sizeof itemStarts / sizeof itemStarts[0]);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_TRUE(StartsWith(items[i], itemStarts[i])) << items[i];
    }
}

TEST(SettingsHelpText, NamesTheChoicesAndTheTemplateExample) {
    const std::string text = HelpText;
    const char* const mentions[] = {"Desktop",
                                    "Normal",
                                    "Always on top",
                                    "Unlocked",
                                    "Lock Window",
                                    "Hide on mouse over",
                                    "Ghost mode",
                                    "\"(prefix %i postfix)\"",
                                    "\"(memory: %i Mb)\"",
                                    "hexadecimal",
                                    "milliseconds",
                                    "1000",
                                    "dial-up",
                                    "bits/s",
                                    "PNG"};
    for (const char* mention : mentions) {
        EXPECT_NE(text.find(mention), std::string::npos) << mention;
    }
}

} // namespace
