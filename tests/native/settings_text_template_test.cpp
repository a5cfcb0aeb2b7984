#include "settings/text_template.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

struct SplitCase {
    const char* Template;
    const char* Prefix;
    const char* Postfix;
    int32_t HasNumber;
};

// Parts are checked inside buffers guarded on both sides, so that a write
// past either part shows up as a changed guard byte.
struct GuardedParts {
    char GuardBefore[16];
    char Prefix[TemplatePartMax + 1];
    char GuardBetween[16];
    char Postfix[TemplatePartMax + 1];
    char GuardAfter[16];
};

const char Guard = 0x5A;

GuardedParts FreshParts() {
    GuardedParts parts;
    memset(&parts, Guard, sizeof parts);
    return parts;
}

void ExpectGuardsIntact(const GuardedParts& parts) {
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(parts.GuardBefore[i], Guard);
        EXPECT_EQ(parts.GuardBetween[i], Guard);
        EXPECT_EQ(parts.GuardAfter[i], Guard);
    }
}

TEST(SettingsTextTemplate, SplitsEveryKindOfTemplate) {
    const SplitCase cases[] = {
        {"(memory: %i Mb)", "(memory: ", " Mb)", -1},
        {"%i", "", "", -1},
        {"%u", "", "", -1},
        {"%u%", "", "%", -1},
        {"Load", "Load", "", 0},
        {"a%ib%uc", "a", "bc", -1},
        {"100%%i", "100%", "", -1},
        {"%d", "%d", "", 0},
        {"50%", "50%", "", 0},
        {"x", "x", "", 0},
        {"%I", "%I", "", 0},
        {"%U kB", "%U kB", "", 0},
        {"", "", "", 0},
        {"%", "%", "", 0},
        {"CPU %i%", "CPU ", "%", -1},
        {"%i%i%i", "", "", -1},
        {"in: %u/s", "in: ", "/s", -1},
        {"%%", "%%", "", 0},
    };
    for (const SplitCase& c : cases) {
        SCOPED_TRACE(c.Template);
        GuardedParts parts = FreshParts();
        const int32_t hasNumber = SplitTextTemplate(c.Template, parts.Prefix, parts.Postfix);
        EXPECT_EQ(hasNumber, c.HasNumber);
        EXPECT_STREQ(parts.Prefix, c.Prefix);
        EXPECT_STREQ(parts.Postfix, c.Postfix);
        ExpectGuardsIntact(parts);
    }
}

// Templates of up to 199 characters: a longer part is cut at 100 characters,
// whichever side of the marker it is on.
TEST(SettingsTextTemplate, CutsLongPartsAtOneHundredCharacters) {
    const std::string a100(100, 'a');
    const std::string b100(100, 'b');
    struct LongCase {
        std::string Template;
        std::string Prefix;
        std::string Postfix;
        int32_t HasNumber;
    };
    const LongCase cases[] = {
        {std::string(199, 'p'), std::string(100, 'p'), "", 0},
        {std::string(197, 'p') + "%i", std::string(100, 'p'), "", -1},
        {"%i" + std::string(197, 'q'), "", std::string(100, 'q'), -1},
        {"%u" + std::string(195, 'q') + "%i", "", std::string(100, 'q'), -1},
        {std::string(99, 'p') + "%i" + std::string(98, 'q'), std::string(99, 'p'),
         std::string(98, 'q'), -1},
        {a100 + "%i" + std::string(97, 'b'), a100, std::string(97, 'b'), -1},
        {std::string(97, 'a') + "%i" + b100, std::string(97, 'a'), b100, -1},
        {std::string(101, 'a') + "%i" + std::string(96, 'b'), a100, std::string(96, 'b'), -1},
        {std::string(199, '%'), std::string(100, '%'), "", 0},
    };
    for (const LongCase& c : cases) {
        SCOPED_TRACE(c.Template);
        ASSERT_LE(c.Template.size(), 199u);
        GuardedParts parts = FreshParts();
        EXPECT_EQ(SplitTextTemplate(c.Template.c_str(), parts.Prefix, parts.Postfix), c.HasNumber);
        EXPECT_EQ(std::string(parts.Prefix), c.Prefix);
        EXPECT_EQ(std::string(parts.Postfix), c.Postfix);
        ExpectGuardsIntact(parts);
    }
}

TEST(SettingsTextTemplate, RefillsPartsOnASecondTemplate) {
    GuardedParts parts = FreshParts();
    SplitTextTemplate("long prefix %i long postfix", parts.Prefix, parts.Postfix);
    EXPECT_EQ(SplitTextTemplate("ab", parts.Prefix, parts.Postfix), 0);
    EXPECT_STREQ(parts.Prefix, "ab");
    EXPECT_STREQ(parts.Postfix, "");
}

TEST(SettingsColorFromHex, ReversesRedAndBlue) {
    const struct {
        uint32_t Value;
        uint32_t Pixel;
    } cases[] = {
        {0x0000FF, 0xFF0000}, // red
        {0x00FF00, 0x00FF00}, // green
        {0xFF0000, 0x0000FF}, // blue
        {0x000000, 0x000000},   {0xFFFFFF, 0xFFFFFF},
        {0x123456, 0x563412},   {0xFF0000FF, 0xFF0000}, // bits above 23 are dropped
        {0xAB123456, 0x563412}, {0xFFFFFFFF, 0xFFFFFF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ColorFromHex(c.Value), c.Pixel) << std::hex << c.Value;
    }
}

} // namespace
