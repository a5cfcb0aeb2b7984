// The settings dialog's rules on the plug-in's rows: which editor each row
// gets, what it starts from, what an edited text must be, and what it writes.
#include "shell/common/setting_values.h"

#include "shell/common/setting_editors.h"
#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <cctype>
#include <cstring>
#include <string>

namespace {

const DescriptorRow& Row(const char* key, bool layered = true) {
    const PluginDescriptor& d = test_descriptor::Descriptor(layered);
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
    const char* const names[] = {"a", nullptr};
    const DescriptorRow rows[] = {
        {"L", 0x10, "L", 0, 1, 0},                                  // a list without names
        {"L", 0x10, "L", 0, 1, reinterpret_cast<intptr_t>(names)},  // a missing name
        {"L", 0x10, "L", 0, -1, reinterpret_cast<intptr_t>(names)}, // no options at all
        {"Q", 0x99, "Q", 0, 0, 0},                                  // an unknown code
        {nullptr, 0x02, "N", 0, 0, 0},                              // no key
    };
    for (const DescriptorRow& row : rows)
        EXPECT_EQ(EditorFor(row).Kind, SettingEditor::Unsupported) << row.Type;
    // A range the wrong way round gives a plain number.
    EXPECT_EQ(EditorFor(DescriptorRow{"R", 0x103, "R", 0, 10, 5}).Kind, SettingEditor::Number);
    EXPECT_EQ(EditorFor(DescriptorRow{nullptr, 0x13, "G", 0, 0, 0}).Kind, SettingEditor::Heading);
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
        const DescriptorRow& row = Row(c.Key);
        EXPECT_EQ(
            InitialSettingText(row, EditorFor(row), ini.data(), ini.size(), "Quilbex", &present),
            c.Shown)
            << c.Key;
        EXPECT_EQ(present, c.Present) << c.Key;
    }
    const DescriptorRow& vxd = Row("UseVXD", false);
    EXPECT_EQ(InitialSettingText(vxd, EditorFor(vxd), "", 0, "Quilbex", nullptr), "1");
}

TEST(SettingValues, ChoicesAndSwitchesReadAsThePluginReadsThem) {
    const EditorSpec zOrder = EditorFor(Row("Z-Order"));
    EXPECT_EQ(ChoiceIndex(zOrder, "2"), 2);
    EXPECT_EQ(ChoiceIndex(zOrder, " 0 "), 0);
    EXPECT_EQ(ChoiceIndex(zOrder, "3"), -1); // offered as written
    EXPECT_EQ(ChoiceIndex(zOrder, "abc"), -1);

    const DescriptorRow& vxd = Row("UseVXD", false);
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

// One table for every rule the dialog enforces before writing.
struct CheckCase {
    const char* Key;
    std::string Text;
    const char* Stored;  // nullptr: rejected
    const char* Message; // the whole message when rejected
    bool Layered = true;
};

std::string Long(size_t n) {
    return std::string(n, 'x');
}

const CheckCase CheckCases[] = {
    {"Elapse", "800", "800", nullptr},
    {"Elapse", " 0200 ", "200", nullptr},
    {"Elapse", "5000", "5000", nullptr},
    {"Elapse", "100", nullptr,
     "Elapse: 100 is outside the range 200-5000; enter a whole number in the range 200-5000."},
    {"Elapse", "5001", nullptr,
     "Elapse: 5001 is outside the range 200-5000; enter a whole number in the range 200-5000."},
    {"Elapse", "abc", nullptr,
     "Elapse: \"abc\" is not a whole number; enter a whole number in the range 200-5000."},
    {"Elapse", "  ", nullptr,
     "Elapse: the field is empty; enter a whole number in the range 200-5000."},
    {"Transparency", "70", "70", nullptr},
    {"Transparency", "-1", nullptr,
     "Transparency: -1 is outside the range 0-70; enter a whole number in the range 0-70."},
    {"X", "-40", "-40", nullptr},
    {"X", "+7", "7", nullptr},
    {"X", "-2147483648", "-2147483648", nullptr},
    {"X", "2147483648", nullptr, "X: \"2147483648\" is not a whole number; enter a whole number."},
    {"CPUFramesCount", "1.5", nullptr,
     "FramesCount (CPUFramesCount): \"1.5\" is not a whole number; enter a whole number."},
    {"MaxNetSpeed", "0", "0", nullptr},
    {"CPUTextFormat", " CPU %i% ", " CPU %i% ", nullptr},
    {"CPUTextFormat", Long(199), nullptr, nullptr},
    {"CPUTextFormat", Long(200), nullptr,
     "TextFormat (CPUTextFormat): the text is 200 characters long; at most 199 fit."},
    {"MEMTextFormat", "a\r\nb", nullptr,
     "TextFormat (MEMTextFormat): the text has a line break; it must be one line."},
    {"Skin", Long(259), nullptr, nullptr},
    {"Skin", Long(260), nullptr, "Skin: the path is 260 characters long; at most 259 fit."},
    {"Font", "Tahoma,8,bold", "Tahoma,8,bold", nullptr},
    {"Font", " Arial , 12 , Italic ", "Arial,12,italic", nullptr},
    {"Font", "Tahoma,8,600,bold", "Tahoma,8,bold", nullptr},
    {"Font", "Tahoma,8,600", "Tahoma,8,600", nullptr},
    {"Font", "Tahoma", nullptr,
     "Font: \"Tahoma\" is not a font; write Face,Size[,bold][,italic] with a size of 1-500 "
     "points, for example Tahoma,8,bold."},
    {"Font", "Tahoma,0", nullptr,
     "Font: \"Tahoma,0\" is not a font; write Face,Size[,bold][,italic] with a size of 1-500 "
     "points, for example Tahoma,8,bold."},
    {"Font", ",8", nullptr,
     "Font: \",8\" is not a font; write Face,Size[,bold][,italic] with a size of 1-500 "
     "points, for example Tahoma,8,bold."},
    {"Font", "Tahoma,8,heavy", nullptr,
     "Font: \"Tahoma,8,heavy\" is not a font; write Face,Size[,bold][,italic] with a size of "
     "1-500 points, for example Tahoma,8,bold."},
    {"Font", Long(32) + ",8", nullptr,
     "Font: the face name \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\" is longer than 31 characters."},
    {"FontColor", "0000ff", "0000FF", nullptr},
    {"FontColor", "0xFF", "0000FF", nullptr},
    {"FontColor", "$ff00", "00FF00", nullptr},
    {"FontColor", "1000000", nullptr,
     "FontColor: \"1000000\" is not a colour; write six hexadecimal digits BBGGRR (blue, "
     "green, red), for example 0000FF for red."},
    {"FontColor", "red", nullptr,
     "FontColor: \"red\" is not a colour; write six hexadecimal digits BBGGRR (blue, green, "
     "red), for example 0000FF for red."},
    {"LockMode", "1", "1", nullptr},
    {"LockMode", "3", nullptr, "LockMode: \"3\" cannot be written from this dialog.", false},
    {"UseVXD", "0", "0", nullptr, false},
};

class SettingCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(SettingCheck, AcceptsOrNamesTheRowAndRule) {
    const CheckCase& c = GetParam();
    const DescriptorRow& row = Row(c.Key, c.Layered);
    std::string stored = "unchanged", message;
    const bool ok = CheckSettingText(row, EditorFor(row), c.Text, &stored, &message);
    const bool wantOk = c.Stored || !c.Message;
    ASSERT_EQ(ok, wantOk) << message;
    if (ok)
        EXPECT_EQ(stored, c.Stored ? c.Stored : c.Text);
    else
        EXPECT_EQ(message, c.Message);
}

INSTANTIATE_TEST_SUITE_P(Table, SettingCheck, ::testing::ValuesIn(CheckCases),
                         [](const ::testing::TestParamInfo<CheckCase>& info) {
                             std::string name = info.param.Key;
                             for (char& c : name)
                                 if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name + "_" + std::to_string(info.index);
                         });

} // namespace
