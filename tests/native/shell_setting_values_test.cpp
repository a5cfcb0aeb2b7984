// The settings dialog's rules on the plug-in's rows: which editor each row
// gets, what it starts from, what an edited text must be, and what it writes.
#include "shell/kit/settings_dialog/rules/setting_values.h"

#include "shell/skin_files/rules/setting_editors.h"
#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

const SettingRow& Row(const char* key, bool layered = true) {
    const PluginInfo& d = test_descriptor::Descriptor(layered);
    for (int32_t i = 0; i < d.RowCount; ++i)
        if (d.Rows[i].Key && !strcmp(d.Rows[i].Key, key)) return d.Rows[i];
    ADD_FAILURE() << "no row " << key;
    return d.Rows[0];
}

TEST(SettingEditors, EachTypeCodeGetsItsEditor) {
    struct Case {
        const char* Key;
        bool Layered;
        SettingEditor Kind;
        int32_t Min, Max, MaxLength, Options;
    } cases[] = {
        {"Z-Order", true, SettingEditor::Choice, INT32_MIN, INT32_MAX, 0, 3},
        {"LockMode", true, SettingEditor::Choice, INT32_MIN, INT32_MAX, 0, 4},
        {"LockMode", false, SettingEditor::Choice, INT32_MIN, INT32_MAX, 0, 3},
        {"X", true, SettingEditor::Number, INT32_MIN, INT32_MAX, 0, 0},
        {"MaxNetSpeed", true, SettingEditor::Number, INT32_MIN, INT32_MAX, 0, 0},
        {"Elapse", true, SettingEditor::RangedNumber, 200, 5000, 0, 0},
        {"Transparency", true, SettingEditor::RangedNumber, 0, 70, 0, 0},
        {"CPUTextFormat", true, SettingEditor::Text, INT32_MIN, INT32_MAX, 199, 0},
        {"Skin", true, SettingEditor::Picture, INT32_MIN, INT32_MAX, 259, 0},
        {"Font", true, SettingEditor::Font, INT32_MIN, INT32_MAX, 0, 0},
        {"FontColor", true, SettingEditor::Color, INT32_MIN, INT32_MAX, 0, 0},
        {"UseVXD", false, SettingEditor::Switch, INT32_MIN, INT32_MAX, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Key) + (c.Layered ? "" : " without layered windows"));
        const EditorSpec spec = EditorFor(Row(c.Key, c.Layered));
        EXPECT_EQ(spec.Kind, c.Kind);
        EXPECT_EQ(spec.Min, c.Min);
        EXPECT_EQ(spec.Max, c.Max);
        EXPECT_EQ(spec.MaxLength, c.MaxLength);
        EXPECT_EQ(spec.OptionCount, c.Options);
    }
    EXPECT_STREQ(OptionName(EditorFor(Row("LockMode")), 1), "Lock Window");
    EXPECT_STREQ(OptionName(EditorFor(Row("LockMode", false)), 3), "");
}

TEST(SettingEditors, BrokenRowsAreShownButNotEdited) {
    const char* const nameArray[] = {"a", nullptr};
    const intptr_t names = reinterpret_cast<intptr_t>(nameArray);
    const struct {
        SettingRow Row;
        SettingEditor Kind;
    } cases[] = {
        {{"L", 0x10, "L", 0, 1, 0}, SettingEditor::Unsupported},      // a list without names
        {{"L", 0x10, "L", 0, 1, names}, SettingEditor::Unsupported},  // a missing name
        {{"L", 0x10, "L", 0, -1, names}, SettingEditor::Unsupported}, // no options at all
        {{"Q", 0x99, "Q", 0, 0, 0}, SettingEditor::Unsupported},      // an unknown code
        {{nullptr, 0x02, "N", 0, 0, 0}, SettingEditor::Unsupported},  // no key
        {{"R", 0x103, "R", 0, 10, 5}, SettingEditor::Number},         // a range the wrong way round
        {{nullptr, 0x13, "G", 0, 0, 0}, SettingEditor::Heading},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EditorFor(c.Row).Kind, c.Kind) << c.Row.Type << " " << c.Row.MinOrLast;
}

TEST(SettingValues, StartFromTheFileOrTheRowsDefault) {
    const std::string ini = "; comment\r\n[Other]\r\nElapse=1\r\n[Quilbex]\r\nElapse=1000\r\n"
                            "CPUTextFormat=\" CPU %i% \"\r\nLockMode=abc\r\n";
    struct Case {
        const char* Key;
        const char* Shown;
        bool Present;
    } cases[] = {
        {"Elapse", "1000", true},       {"CPUTextFormat", " CPU %i% ", true},
        {"LockMode", "abc", true},      {"Z-Order", "1", false},
        {"Transparency", "0", false},   {"Font", "Tahoma,8", false},
        {"FontColor", "000000", false}, {"CPUSkin", "", false},
        {"CPUFramesCount", "0", false}, {"MaxNetSpeed", "0", false},
    };
    for (const Case& c : cases) {
        bool present = !c.Present;
        const SettingRow& row = Row(c.Key);
        EXPECT_EQ(
            InitialSettingText(row, EditorFor(row), ini.data(), ini.size(), "Quilbex", &present),
            c.Shown)
            << c.Key;
        EXPECT_EQ(present, c.Present) << c.Key;
    }
    const SettingRow& vxd = Row("UseVXD", false);
    EXPECT_EQ(InitialSettingText(vxd, EditorFor(vxd), "", 0, "Quilbex", nullptr), "1");
}

TEST(SettingValues, ChoicesAndSwitchesReadAsThePluginReadsThem) {
    const EditorSpec zOrder = EditorFor(Row("Z-Order"));
    EXPECT_EQ(ChoiceIndex(zOrder, "2"), 2);
    EXPECT_EQ(ChoiceIndex(zOrder, " 0 "), 0);
    EXPECT_EQ(ChoiceIndex(zOrder, "3"), -1); // offered as written
    EXPECT_EQ(ChoiceIndex(zOrder, "abc"), -1);

    const SettingRow& vxd = Row("UseVXD", false);
    struct Case {
        const char* Initial;
        bool On;
        const char* Text;
    } cases[] = {
        {"5", true, "5"},    {"5", false, "0"},    {"0", true, "1"},
        {"0", false, "0"},   {"abc", true, "abc"}, // no number: the default (on)
        {"abc", false, "0"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SwitchText(vxd, c.Initial, c.On), c.Text) << c.Initial << " " << c.On;
}

// What the dialog stores for an accepted text, or "!" and its whole message.
std::string Check(const char* key, const std::string& text, bool layered = true) {
    const SettingRow& row = Row(key, layered);
    std::string stored = "unchanged", message;
    return CheckSettingText(row, EditorFor(row), text, &stored, &message) ? stored : "!" + message;
}

TEST(SettingCheck, AcceptsOrNamesTheRowAndRule) {
    const std::string range = "; enter a whole number in the range 200-5000.";
    const std::string font = "\" is not a font; write Face,Size[,bold][,italic] with a size of "
                             "1-500 points, for example Tahoma,8,bold.";
    const std::string colour = "\" is not a colour; write six hexadecimal digits BBGGRR (blue, "
                               "green, red), for example 0000FF for red.";
    const std::string x199(199, 'x'), x259(259, 'x'), x32(32, 'x');
    struct Case {
        const char* Key;
        std::string Text, Result;
    };
    const Case accepted[] = {
        {"Elapse", "800", "800"},
        {"Elapse", " 0200 ", "200"},
        {"Elapse", "5000", "5000"},
        {"Transparency", "70", "70"},
        {"X", "-40", "-40"},
        {"X", "+7", "7"},
        {"X", "-2147483648", "-2147483648"},
        {"MaxNetSpeed", "0", "0"},
        {"CPUTextFormat", " CPU %i% ", " CPU %i% "},
        {"Font", "Tahoma,8,bold", "Tahoma,8,bold"},
        {"Font", " Arial , 12 , Italic ", "Arial,12,italic"},
        {"Font", "Tahoma,8,600,bold", "Tahoma,8,bold"},
        {"Font", "Tahoma,8,600", "Tahoma,8,600"},
        {"FontColor", "0000ff", "0000FF"},
        {"FontColor", "0xFF", "0000FF"},
        {"FontColor", "$ff00", "00FF00"},
        {"LockMode", "1", "1"},
    };
    const Case refused[] = {
        {"Elapse", "100", "Elapse: 100 is outside the range 200-5000" + range},
        {"Elapse", "5001", "Elapse: 5001 is outside the range 200-5000" + range},
        {"Elapse", "abc", "Elapse: \"abc\" is not a whole number" + range},
        {"Elapse", "  ", "Elapse: the field is empty" + range},
        {"Transparency", "-1",
         "Transparency: -1 is outside the range 0-70; enter a whole number in the range 0-70."},
        {"X", "2147483648", "X: \"2147483648\" is not a whole number; enter a whole number."},
        {"CPUFramesCount", "1.5",
         "FramesCount (CPUFramesCount): \"1.5\" is not a whole number; enter a whole number."},
        {"CPUTextFormat", x199 + "x",
         "TextFormat (CPUTextFormat): the text is 200 characters long; at most 199 fit."},
        {"MEMTextFormat", "a\r\nb",
         "TextFormat (MEMTextFormat): the text has a line break; it must be one line."},
        {"Skin", x259 + "x", "Skin: the path is 260 characters long; at most 259 fit."},
        {"Font", "Tahoma", "Font: \"Tahoma" + font},
        {"Font", "Tahoma,0", "Font: \"Tahoma,0" + font},
        {"Font", ",8", "Font: \",8" + font},
        {"Font", "Tahoma,8,heavy", "Font: \"Tahoma,8,heavy" + font},
        {"Font", x32 + ",8", "Font: the face name \"" + x32 + "\" is longer than 31 characters."},
        {"FontColor", "1000000", "FontColor: \"1000000" + colour},
        {"FontColor", "red", "FontColor: \"red" + colour}};
    for (const Case& c : accepted)
        EXPECT_EQ(Check(c.Key, c.Text), c.Result) << c.Key << " \"" << c.Text << "\"";
    EXPECT_EQ(Check("CPUTextFormat", x199), x199);
    EXPECT_EQ(Check("Skin", x259), x259);
    for (const Case& c : refused)
        EXPECT_EQ(Check(c.Key, c.Text), "!" + c.Result) << c.Key << " \"" << c.Text << "\"";
    // Without layered windows: three lock modes, and the driver switch.
    EXPECT_EQ(Check("LockMode", "3", false),
              "!LockMode: \"3\" cannot be written from this dialog.");
    EXPECT_EQ(Check("UseVXD", "0", false), "0");
}

} // namespace
