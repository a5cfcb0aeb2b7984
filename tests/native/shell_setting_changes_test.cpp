// What Apply writes: the change set against the file, the file's other bytes
// kept, values that read back exactly; and the pages, paths and roles the
// dialog and the skin check take from the descriptor.
#include "shell/kit/settings_dialog/rules/setting_changes.h"
#include "shell/kit/settings_dialog/rules/setting_pages.h"
#include "shell/kit/settings_dialog/rules/setting_values.h"
#include "shell/skin_files/rules/descriptor_roles.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/setting_editors.h"
#include "shell/skin_files/rules/setting_forms.h"
#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

const PluginInfo& Layered() {
    return test_descriptor::Descriptor(true);
}

int32_t RowOf(const char* key) {
    for (int32_t i = 0; i < Layered().RowCount; ++i)
        if (Layered().Rows[i].Key && !strcmp(Layered().Rows[i].Key, key)) return i;
    return -1;
}

// The texts the dialog starts from for ini, as it opens.
std::vector<std::string> Initial(const std::string& ini) {
    std::vector<std::string> texts;
    for (int32_t i = 0; i < Layered().RowCount; ++i) {
        const SettingRow& row = Layered().Rows[i];
        texts.push_back(
            InitialSettingText(row, EditorFor(row), ini.data(), ini.size(), "Quilbex", nullptr));
    }
    return texts;
}

const std::string Ini = "; my skin\r\n[Quilbex]\r\nZ-Order=1\r\nLockMode=0\r\n"
                        "; keep this\r\nElapse=100\r\nTransparency=0\r\nFont=Tahoma , 8\r\n"
                        "[Other]\r\nLockMode=0\r\n";

// The changes Apply collects after edits to the dialog opened on Ini, as
// "Key=Stored;" each, or the first bad row and its message.
std::string Collect(const std::vector<std::pair<const char*, const char*>>& edits,
                    std::vector<SettingChange>* changes) {
    const std::vector<std::string> initial = Initial(Ini);
    std::vector<std::string> current = initial;
    for (const auto& edit : edits)
        current[size_t(RowOf(edit.first))] = edit.second;
    SettingProblem problem;
    std::string text;
    if (!CollectSettingChanges(Layered(), initial, current, Ini, changes, &problem))
        text = "row " + std::to_string(problem.Row) + ": " + problem.Message + ";";
    for (const SettingChange& change : *changes)
        text += std::string(change.Key) + "=" + change.Stored + ";";
    return text;
}

TEST(SettingChanges, OnlyEditedKeysThatDifferAreWrittenKeepingEveryOtherByte) {
    std::vector<SettingChange> changes;
    EXPECT_EQ(Collect({{"LockMode", "1"}, {"Transparency", "30"}, {"CPUTextFormat", " CPU %i% "}},
                      &changes),
              "LockMode=1;CPUTextFormat= CPU %i% ;Transparency=30;");
    // Elapse=100 is outside the dialog's range but untouched: neither checked nor written;
    // the missing key is added, quoted.
    EXPECT_EQ(WriteSettingChanges(Ini, "Quilbex", changes),
              "; my skin\r\n[Quilbex]\r\nZ-Order=1\r\nLockMode=1\r\n; keep this\r\n"
              "Elapse=100\r\nTransparency=30\r\nFont=Tahoma , 8\r\n"
              "CPUTextFormat=\" CPU %i% \"\r\n[Other]\r\nLockMode=0\r\n");
    // Edits that read as what the file holds change nothing, but the font is
    // stored in its canonical form.
    EXPECT_EQ(Collect({{"Z-Order", "01"}, {"Font", "Tahoma,8"}, {"Transparency", " 0 "}}, &changes),
              "Font=Tahoma,8;");
    EXPECT_EQ(Collect({}, &changes), "");
    // One bad row stops everything.
    EXPECT_EQ(Collect({{"LockMode", "1"}, {"Elapse", "abc"}}, &changes),
              "row " + std::to_string(RowOf("Elapse")) +
                  ": Elapse: \"abc\" is not a whole number; enter a whole number in the range "
                  "200-5000.;");
}

TEST(SettingChanges, TextsReadBackExactlyFromANewSection) {
    const int32_t row = RowOf("CPUTextFormat");
    for (const char* text :
         {"plain", " lead", "trail ", "\"quoted\"", "\"", "a;b=c", "", "\"half", "\t", "x\"y\""}) {
        const std::string ini =
            WriteSettingChanges("[Else]\nA=1", "Quilbex", {{row, "CPUTextFormat", text}});
        EXPECT_EQ(Initial(ini)[size_t(row)], text) << ini;
        EXPECT_EQ(ini.substr(0, 12), "[Else]\nA=1\n[") << "the file's own line ends";
    }
}

TEST(SettingForms, PicturePathsInsideTheFolderBecomeRelative) {
    const struct {
        std::string (*Function)(const std::string&, const std::string&);
        const char *Path, *Folder, *Result;
    } cases[] = {
        {PathForConfig, "C:\\skins\\mine\\bg.png", "C:\\skins\\mine", "bg.png"},
        {PathForConfig, "C:\\skins\\mine\\bars\\cpu.png", "C:\\skins\\mine\\", "bars\\cpu.png"},
        {PathForConfig, "c:\\SKINS\\Mine\\bg.png", "C:\\skins\\mine", "bg.png"},
        {PathForConfig, "C:/skins/mine/bg.png", "C:\\skins\\mine", "bg.png"},
        {PathForConfig, "C:\\skins\\mine2\\bg.png", "C:\\skins\\mine", "C:\\skins\\mine2\\bg.png"},
        {PathForConfig, "D:\\other\\bg.png", "C:\\skins\\mine", "D:\\other\\bg.png"},
        {PathForConfig, "C:\\skins\\mine\\", "C:\\skins\\mine", "C:\\skins\\mine\\"},
        {PathInFolder, "bg.png", "C:\\skins", "C:\\skins\\bg.png"},
        {PathInFolder, "bg.png", "C:\\", "C:\\bg.png"},
        {PathInFolder, "D:\\bg.png", "C:\\skins", "D:\\bg.png"},
        {PathInFolder, "\\\\server\\bg.png", "C:\\skins", "\\\\server\\bg.png"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.Function(c.Path, c.Folder), c.Result) << c.Path << " in " << c.Folder;
}

TEST(SettingForms, FolderAndNameOfAPath) {
    const struct {
        const char *Path, *Folder, *Name;
    } cases[] = {
        {"C:\\skins\\mine\\vorlamet.ini", "C:\\skins\\mine", "vorlamet.ini"},
        {"C:/skins/bg.png", "C:/skins", "bg.png"},
        {"C:\\bg.png", "C:", "bg.png"},
        {"bars\\cpu.png", "bars", "cpu.png"},
        {"bg.png", ".", "bg.png"},
        {"C:\\skins\\", "C:\\skins", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FolderOf(c.Path), c.Folder) << c.Path;
        EXPECT_EQ(FileNameOf(c.Path), c.Name) << c.Path;
    }
}

TEST(SettingForms, FontsAndColoursInTheFormThePluginReads) {
    FontSpec font;
    DefaultFontSpec(&font);
    EXPECT_EQ(FormatFontSpec(font), "Tahoma,8");
    font.Weight = 700;
    font.Italic = true;
    EXPECT_EQ(FormatFontSpec(font), "Tahoma,8,bold,italic");
    font.Weight = 300;
    EXPECT_EQ(FormatFontSpec(font), "Tahoma,8,300,italic");
    // What a font chooser answers (tenths of a point, any weight) in that form.
    const struct {
        int32_t Tenths, Weight;
        const char* Spec;
    } chosen[] = {
        {80, 400, "Arial,8"},        {85, 700, "Arial,9,bold"},  {84, 650, "Arial,8,bold"},
        {0, 400, "Arial,12"},        {5000, 400, "Arial,500"},   {5010, 400, "Arial,500"},
        {99999, 0, "Arial,500"},     {120, 49, "Arial,12"},      {120, 949, "Arial,12,900"},
        {120, 1000, "Arial,12,900"}, {120, 149, "Arial,12,100"},
    };
    for (const auto& c : chosen)
        EXPECT_EQ(FormatFontSpec(ChosenFontSpec("Arial", c.Tenths, 12, c.Weight, false)), c.Spec)
            << c.Tenths << " " << c.Weight;
    EXPECT_EQ(FormatFontSpec(ChosenFontSpec("Arial", 80, 12, 400, true)), "Arial,8,italic");
    EXPECT_EQ(FormatColorHex(0x0000FF), "0000FF");
    EXPECT_EQ(FormatColorHex(0xAB123456u), "123456");
}

// Page i of the pages of d at most perPage rows long, as "Title header first-end";
// "count N" for an i past them.
std::string Page(const PluginInfo& d, int32_t perPage, int32_t i) {
    SettingsPage pages[SettingsPagesMax];
    const int32_t count = BuildSettingsPages(d, perPage, pages, SettingsPagesMax);
    if (i >= count) return "count " + std::to_string(count);
    return std::string(pages[i].Title) + " " + std::to_string(pages[i].HeaderRow) + " " +
           std::to_string(pages[i].FirstRow) + "-" + std::to_string(pages[i].EndRow);
}

TEST(SettingPages, OnePagePerGroupSplitWhenLong) {
    EXPECT_EQ(Page(Layered(), 9, 6), "count 6");
    EXPECT_EQ(Page(Layered(), 9, 0), "Window Settings 0 1-6");
    EXPECT_EQ(Page(Layered(), 9, 5), "Other Settings 38 39-44");
    EXPECT_EQ(Page(Layered(), 3, 16), "count 16");
    EXPECT_EQ(Page(Layered(), 3, 2), "CPU Indicator Settings 6 7-10");
    EXPECT_EQ(Page(Layered(), 3, 3), "CPU Indicator Settings (2) 6 10-13");
    EXPECT_EQ(Page(Layered(), 3, 4), "CPU Indicator Settings (3) 6 13-14");
    // Rows before any group, and a group with no rows.
    const SettingRow rows[] = {{"A", 0x02, "A", 0, 0, 0}, {nullptr, 0x13, "Empty", 0, 0, 0}};
    const PluginInfo loose = {24, "n", "", "S", 2, rows};
    EXPECT_EQ(Page(loose, 9, 2), "count 2");
    EXPECT_EQ(Page(loose, 9, 0), "General -1 0-1");
    EXPECT_EQ(Page(loose, 9, 1), "Empty 1 2-2");
}

TEST(DescriptorRoles, FoundFromTheShapeInBothVariants) {
    for (bool layered : {true, false}) {
        SettingRoles roles;
        char reason[200] = "";
        ASSERT_TRUE(
            FindSettingRoles(test_descriptor::Descriptor(layered), &roles, reason, sizeof reason))
            << reason;
        EXPECT_STREQ(roles.Section, "Quilbex");
        EXPECT_STREQ(roles.ZOrder->Key, "Z-Order");
        EXPECT_STREQ(roles.LockMode->Key, "LockMode");
        EXPECT_STREQ(roles.X->Key, "X");
        EXPECT_STREQ(roles.Background->Key, "Skin");
        const char* names[] = {"CPU", "MEM", "NetIn", "NetOut"};
        for (int m = 0; m < 4; ++m) {
            EXPECT_STREQ(roles.Meters[m].Name, names[m]);
            EXPECT_EQ(std::string(roles.Meters[m].TextY->Key), std::string(names[m]) + "TextdY");
        }
        EXPECT_STREQ(roles.Elapse->Key, "Elapse");
        EXPECT_EQ(roles.Transparency != nullptr, layered);
        EXPECT_EQ(roles.UseVXD != nullptr, !layered);
    }
}

TEST(DescriptorRoles, AnotherShapeIsRefusedWithTheGroupNamed) {
    SettingRow rows[45];
    memcpy(rows, Layered().Rows, sizeof rows);
    PluginInfo d = Layered();
    d.Rows = rows;
    rows[12].Type = 0x07; // CPUTextdX as a text
    SettingRoles roles;
    char reason[200] = "";
    EXPECT_FALSE(FindSettingRoles(d, &roles, reason, sizeof reason));
    EXPECT_STREQ(reason, "the descriptor's group \"CPU Indicator Settings\" is not a meter's "
                         "(picture, three integers, text, two integers)");
    d.RowCount = 300;
    EXPECT_FALSE(FindSettingRoles(d, &roles, reason, sizeof reason));
    EXPECT_STREQ(reason, "the descriptor's row count is outside 0-256");
}

} // namespace
