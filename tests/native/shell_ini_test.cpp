#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

// The value of key in [Quilbex], or "<missing>".
std::string Get(const std::string& text, const char* key, const char* section = "Quilbex") {
    IniValue value;
    if (!FindIniValue(text.data(), text.size(), section, key, &value)) return "<missing>";
    return std::string(value.Text, value.Length);
}

TEST(ShellIniText, FindsValuesWithBothLineEndsAndBlanks) {
    const char* texts[] = {
        "[Quilbex]\nSkin=a.png\nX = 12 \n", "[Quilbex]\r\nSkin=a.png\r\nX = 12 \r\n",
        "  [ Quilbex ]  \r\n\tSkin\t=\ta.png\r\nX=12",
        "[quilbex]\nskin=a.png\nx=12\n", // names and keys ignore case
    };
    for (const char* text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(Get(text, "Skin"), "a.png");
        EXPECT_EQ(Get(text, "X"), "12");
        EXPECT_EQ(Get(text, "Y"), "<missing>");
    }
}

TEST(ShellIniText, KeysOfOtherSectionsCommentsAndMissingSectionsDoNotCount) {
    std::string text = "X=1\n[Other]\nY=2\n[Quilbex]\n;Z=3\n# W=4\nbroken line\n[Next]\nV=5\n";
    EXPECT_EQ(Get(text, "X"), "<missing>");
    EXPECT_EQ(Get(text, "Y"), "<missing>");
    EXPECT_EQ(Get(text, "Z"), "<missing>");
    EXPECT_EQ(Get(text, "W"), "<missing>");
    EXPECT_EQ(Get(text, "V"), "<missing>");
    EXPECT_EQ(Get(text, "Y", "Other"), "2");
    EXPECT_EQ(Get("", "X"), "<missing>");
    EXPECT_TRUE(HasIniSection(text.data(), text.size(), "quilbex"));
    EXPECT_FALSE(HasIniSection(text.data(), text.size(), "Quil"));
}

TEST(ShellIniText, FirstOccurrenceWinsAndQuotesKeepBlanks) {
    std::string text = "[Quilbex]\nX=1\nX=2\n[Quilbex]\nX=3\nY=4\n"
                       "T=\" CPU %i% \"\nU=\"\nS=a;b=c\nE=\n";
    EXPECT_EQ(Get(text, "X"), "1");
    EXPECT_EQ(Get(text, "Y"), "4"); // a later occurrence of the section still counts
    EXPECT_EQ(Get(text, "T"), " CPU %i% ");
    EXPECT_EQ(Get(text, "U"), "\""); // a lone quote is kept
    EXPECT_EQ(Get(text, "S"), "a;b=c");
    EXPECT_EQ(Get(text, "E"), "");
}

TEST(ShellIniText, SetKeepsEverythingElseAndRoundTrips) {
    struct Case {
        const char* Before;
        const char* Key;
        const char* After;
    } cases[] = {
        // Existing key: only its value changes, key spelling and ending stay.
        {"; c\r\n[Quilbex]\r\n  x = 5 \r\nY=6\r\n", "X", "; c\r\n[Quilbex]\r\n  x =120\r\nY=6\r\n"},
        // Missing key: added after the section's last entry, before the next section.
        {"[Quilbex]\nY=6\n\n[Other]\nX=1\n", "X", "[Quilbex]\nY=6\nX=120\n\n[Other]\nX=1\n"},
        // Section at the end of a file without a final line end.
        {"[Quilbex]\r\nY=6", "X", "[Quilbex]\r\nY=6\r\nX=120\r\n"},
        // A file cut after the CR of its last line end: Y keeps its value.
        {"[Quilbex]\r\nY=6\r", "X", "[Quilbex]\r\nY=6\r\nX=120\r\n"},
        // Missing section: appended, in the file's own line ending.
        {"[Other]\nA=1", "X", "[Other]\nA=1\n[Quilbex]\nX=120\n"},
        // Empty file: CRLF.
        {"", "X", "[Quilbex]\r\nX=120\r\n"},
        // Duplicate keys: the first (the one that is read) is rewritten.
        {"[Quilbex]\nX=1\nX=2\n", "X", "[Quilbex]\nX=120\nX=2\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Before);
        std::string after = SetIniValue(c.Before, "Quilbex", c.Key, "120");
        EXPECT_EQ(after, c.After);
        EXPECT_EQ(Get(after, c.Key), "120");
        EXPECT_EQ(Get(after, "Y"), Get(c.Before, "Y"));
    }
}

TEST(ShellIniText, RepeatedSetsDoNotGrowTheFile) {
    std::string text = "[Quilbex]\r\nX=1\r\n";
    for (int i = 0; i < 5; ++i)
        text = SetIniValue(text, "Quilbex", "Y", std::to_string(i).c_str());
    EXPECT_EQ(text, "[Quilbex]\r\nX=1\r\nY=4\r\n");
}

TEST(ShellIniValues, Integers) {
    struct Case {
        const char* Text;
        bool Ok;
        int32_t Value;
    } cases[] = {
        {"0", true, 0},
        {"120", true, 120},
        {" -7 ", true, -7},
        {"+5", true, 5},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"2147483648", false, 0},
        {"99999999999999", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"12abc", false, 0},
        {"1 2", false, 0},
        {"0x10", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        int32_t value = 0;
        EXPECT_EQ(ParseIniInt(c.Text, std::strlen(c.Text), &value), c.Ok);
        if (c.Ok) {
            EXPECT_EQ(value, c.Value);
        }
    }
}

TEST(ShellIniValues, HexWithAndWithoutPrefix) {
    struct Case {
        const char* Text;
        bool Ok;
        uint32_t Value;
    } cases[] = {
        {"FFFFFF", true, 0xFFFFFF},
        {"0x00ff00", true, 0xFF00},
        {"0XAbC", true, 0xABC},
        {"$10", true, 0x10},
        {" ffffffff ", true, 0xFFFFFFFFu},
        {"123456789", false, 0},
        {"0x", false, 0},
        {"$", false, 0},
        {"", false, 0},
        {"GG", false, 0},
        {"-1", false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        uint32_t value = 0;
        EXPECT_EQ(ParseIniHex(c.Text, std::strlen(c.Text), &value), c.Ok);
        if (c.Ok) {
            EXPECT_EQ(value, c.Value);
        }
    }
}

TEST(ShellIniValues, Booleans) {
    const char* yes[] = {"1", "TRUE", "yes", "On"};
    const char* no[] = {"0", "false", "No", "off"};
    bool value = false;
    for (const char* text : yes)
        EXPECT_TRUE(ParseIniBool(text, std::strlen(text), &value) && value);
    for (const char* text : no)
        EXPECT_TRUE(ParseIniBool(text, std::strlen(text), &value) && !value);
    EXPECT_FALSE(ParseIniBool("2", 1, &value));
    EXPECT_FALSE(ParseIniBool("", 0, &value));
}

TEST(ShellIniValues, Fonts) {
    struct Case {
        const char* Text;
        bool Usable;
        const char* Face;
        int32_t Size;
        int32_t Weight;
        bool Italic;
    } cases[] = {
        {"Tahoma,8,bold", true, "Tahoma", 8, 700, false},
        {" Arial , 12 , italic, bold ", true, "Arial", 12, 700, true},
        {"Verdana,10,600", true, "Verdana", 10, 600, false},
        {"Verdana", true, "Verdana", 8, 400, false},
        {",9", false, "Tahoma", 9, 400, false},
        {"Arial,0", false, "Arial", 8, 400, false},
        {"Arial,big,bold", false, "Arial", 8, 700, false},
        {"Arial,10,wavy", false, "Arial", 10, 400, false},
        {"", false, "Tahoma", 8, 400, false},
        {"A very long face name that goes on and on,7", true, "A very long face name that goes", 7,
         400, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Text);
        FontSpec font;
        DefaultFontSpec(&font);
        EXPECT_EQ(ParseFontSpec(c.Text, std::strlen(c.Text), &font), c.Usable);
        EXPECT_STREQ(font.Face, c.Face);
        EXPECT_EQ(font.Size, c.Size);
        EXPECT_EQ(font.Weight, c.Weight);
        EXPECT_EQ(font.Italic, c.Italic);
    }
}

} // namespace
