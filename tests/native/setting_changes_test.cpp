// What Apply writes: the change set against the file, the file's other bytes
// kept, values that read back exactly; and the pages, paths and roles the
// dialog and the skin check take from the descriptor.
#include "shell/common/descriptor_roles.h"
#include "shell/common/ini_text.h"
#include "shell/common/setting_changes.h"
#include "shell/common/setting_editors.h"
#include "shell/common/setting_forms.h"
#include "shell/common/setting_pages.h"
#include "shell/common/setting_values.h"
#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

const PluginDescriptor& Layered() {
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
        const DescriptorRow& row = Layered().Rows[i];
        texts.push_back(
            InitialSettingText(row, EditorFor(row), ini.data(), ini.size(), "Quilbex", nullptr));
    }
    return texts;
}

const std::string Ini = "; my skin\r\n[Quilbex]\r\nZ-Order=1\r\nLockMode=0\r\n"
                        "; keep this\r\nElapse=100\r\nTransparency=0\r\nFont=Tahoma , 8\r\n"
                        "[Other]\r\nLockMode=0\r\n";

TEST(SettingChanges, WriteOnlyTheEditedKeysKeepingEveryOtherByte) {
    std::vector<std::string> initial = Initial(Ini), current = initial;
    current[size_t(RowOf("LockMode"))] = "1";
    current[size_t(RowOf("Transparency"))] = "30";
    current[size_t(RowOf("CPUTextFormat"))] = " CPU %i% "; // missing: added, quoted
    std::vector<SettingChange> changes;
    SettingProblem problem;
    ASSERT_TRUE(CollectSettingChanges(Layered(), initial, current, Ini, &changes, &problem))
        << problem.Message;
    ASSERT_EQ(changes.size(), 3u);
    // Elapse=100 is outside the dialog's range but untouched: neither checked nor written.
    EXPECT_EQ(WriteSettingChanges(Ini, "Quilbex", changes),
              "; my skin\r\n[Quilbex]\r\nZ-Order=1\r\nLockMode=1\r\n; keep this\r\n"
              "Elapse=100\r\nTransparency=30\r\nFont=Tahoma , 8\r\n"
              "CPUTextFormat=\" CPU %i% \"\r\n[Other]\r\nLockMode=0\r\n");
}

TEST(SettingChanges, NothingChangesWhenEditsComeBackToTheFilesValue) {
    std::vector<std::string> initial = Initial(Ini), current = initial;
    current[size_t(RowOf("Z-Order"))] = "01";       // reads as what the file holds
    current[size_t(RowOf("Font"))] = "Tahoma,8";    // the same font, written differently
    current[size_t(RowOf("Transparency"))] = " 0 "; // likewise
    std::vector<SettingChange> changes;
    SettingProblem problem;
    ASSERT_TRUE(CollectSettingChanges(Layered(), initial, current, Ini, &changes, &problem));
    ASSERT_EQ(changes.size(), 1u); // the font is stored in its canonical form
    EXPECT_STREQ(changes[0].Key, "Font");
    EXPECT_EQ(changes[0].Stored, "Tahoma,8");
    EXPECT_TRUE(CollectSettingChanges(Layered(), initial, initial, Ini, &changes, &problem));
    EXPECT_TRUE(changes.empty());
}

TEST(SettingChanges, OneBadRowStopsEverything) {
    std::vector<std::string> initial = Initial(Ini), current = initial;
    current[size_t(RowOf("LockMode"))] = "1";
    current[size_t(RowOf("Elapse"))] = "abc";
    std::vector<SettingChange> changes;
    SettingProblem problem;
    EXPECT_FALSE(CollectSettingChanges(Layered(), initial, current, Ini, &changes, &problem));
    EXPECT_TRUE(changes.empty());
    EXPECT_EQ(problem.Row, RowOf("Elapse"));
    EXPECT_NE(problem.Message.find("200-5000"), std::string::npos) << problem.Message;
}

TEST(SettingChanges, TextsReadBackExactlyFromANewSection) {
    const char* texts[] = {"plain", " lead", "trail ", "\"quoted\"", "\"",
                           "a;b=c", "",      "\"half", "\t",         "x\"y\""};
    for (const char* text : texts) {
        const std::string ini = WriteSettingChanges(
            "[Else]\nA=1", "Quilbex", {{RowOf("CPUTextFormat"), "CPUTextFormat", text}});
        IniValue value;
        ASSERT_TRUE(FindIniValue(ini.data(), ini.size(), "Quilbex", "CPUTextFormat", &value))
            << ini;
        EXPECT_EQ(std::string(value.Text, value.Length), text) << ini;
        EXPECT_EQ(ini.substr(0, 12), "[Else]\nA=1\n[") << "the file's own line ends";
    }
}

TEST(SettingForms, PicturePathsInsideTheFolderBecomeRelative) {
    struct Case {
        const char* Path;
        const char* Folder;
        const char* Stored;
    } cases[] = {
        {"C:\\skins\\mine\\bg.png", "C:\\skins\\mine", "bg.png"},
        {"C:\\skins\\mine\\bars\\cpu.png", "C:\\skins\\mine\\", "bars\\cpu.png"},
        {"c:\\SKINS\\Mine\\bg.png", "C:\\skins\\mine", "bg.png"},
        {"C:/skins/mine/bg.png", "C:\\skins\\mine", "bg.png"},
        {"C:\\skins\\mine2\\bg.png", "C:\\skins\\mine", "C:\\skins\\mine2\\bg.png"},
        {"D:\\other\\bg.png", "C:\\skins\\mine", "D:\\other\\bg.png"},
        {"C:\\skins\\mine\\", "C:\\skins\\mine", "C:\\skins\\mine\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathForConfig(c.Path, c.Folder), c.Stored) << c.Path;
    EXPECT_EQ(PathInFolder("bg.png", "C:\\skins"), "C:\\skins\\bg.png");
    EXPECT_EQ(PathInFolder("bg.png", "C:\\"), "C:\\bg.png");
    EXPECT_EQ(PathInFolder("D:\\bg.png", "C:\\skins"), "D:\\bg.png");
    EXPECT_EQ(PathInFolder("\\\\server\\bg.png", "C:\\skins"), "\\\\server\\bg.png");
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
    EXPECT_EQ(FormatColorHex(0x0000FF), "0000FF");
    EXPECT_EQ(FormatColorHex(0xAB123456u), "123456");
}

TEST(SettingPages, OnePagePerGroupSplitWhenLong) {
    SettingsPage pages[SettingsPagesMax];
    ASSERT_EQ(BuildSettingsPages(Layered(), 9, pages, SettingsPagesMax), 6);
    EXPECT_STREQ(pages[0].Title, "Window Settings");
    EXPECT_EQ(pages[0].HeaderRow, 0);
    EXPECT_EQ(pages[0].FirstRow, 1);
    EXPECT_EQ(pages[0].EndRow, 6);
    EXPECT_STREQ(pages[5].Title, "Other Settings");
    EXPECT_EQ(pages[5].EndRow, 44);

    ASSERT_EQ(BuildSettingsPages(Layered(), 3, pages, SettingsPagesMax), 16);
    EXPECT_STREQ(pages[2].Title, "CPU Indicator Settings");
    EXPECT_STREQ(pages[3].Title, "CPU Indicator Settings (2)");
    EXPECT_STREQ(pages[4].Title, "CPU Indicator Settings (3)");
    EXPECT_EQ(pages[4].FirstRow, 13);
    EXPECT_EQ(pages[4].EndRow, 14);

    // Rows before any group, and a group with no rows.
    const DescriptorRow rows[] = {{"A", 0x02, "A", 0, 0, 0}, {nullptr, 0x13, "Empty", 0, 0, 0}};
    const PluginDescriptor loose = {24, "n", "", "S", 2, rows};
    ASSERT_EQ(BuildSettingsPages(loose, 9, pages, SettingsPagesMax), 2);
    EXPECT_STREQ(pages[0].Title, "General");
    EXPECT_EQ(pages[0].HeaderRow, -1);
    EXPECT_STREQ(pages[1].Title, "Empty");
    EXPECT_EQ(pages[1].FirstRow, pages[1].EndRow);
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
    DescriptorRow rows[45];
    memcpy(rows, Layered().Rows, sizeof rows);
    PluginDescriptor d = Layered();
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
