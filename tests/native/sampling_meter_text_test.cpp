#include "sampling/meter_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// The composition FormatTraffic makes, on plain values.
std::string TrafficText(uint32_t count, const char* prefix, bool hasNumber, const char* postfix) {
    char prefixRoom[MeterAffixRoom] = {}, postfixRoom[MeterAffixRoom] = {};
    std::strncpy(prefixRoom, prefix, MeterAffixRoom - 1);
    std::strncpy(postfixRoom, postfix, MeterAffixRoom - 1);
    char number[NumberTextRoom];
    TrafficNumberText(count, postfixRoom[0] == '\0', number);
    char text[MeterTextRoom];
    ComposeMeterText(text, prefixRoom, hasNumber ? number : nullptr, postfixRoom);
    return text;
}

TEST(TrafficText, Examples) {
    const struct {
        uint32_t count;
        const char* postfix;
        const char* text;
    } cases[] = {
        {0, "", "0"},
        {0, "/s", "0 /s"},
        {512, "/s", "512 /s"},
        {1000, "", "1000"},
        {1001, "", "0.9 K"},
        {1536, "", "1.5 K"},
        {2047, "", "1.1 K"},
        {1000000, "", "976.5 K"},
        {1000001, "", "0.9 M"},
        {1572864, "", "1.5 M"},
        {1572864, "/s", "1.5 M/s"},
        {1100000, "", "1.5 M"},
        {1150000, "", "1.9 M"},
        {1000000001, "", "0.9 G"},
        {1610612736, "", "1.5 G"},
        {4294967295u, "", "3.1 G"},
        {4294967295u, "/s", "3.1 G/s"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.text, TrafficText(c.count, "", true, c.postfix)) << c.count;
}

TEST(TrafficText, PrefixAndNoNumber) {
    EXPECT_EQ("in: 1.5 K/s", TrafficText(1536, "in: ", true, "/s"));
    EXPECT_EQ("in: /s", TrafficText(1536, "in: ", false, "/s"));
    EXPECT_EQ("in: /s", TrafficText(0, "in: ", false, "/s"));
}

TEST(TrafficForm, UnitsAndArguments) {
    TrafficForm small = TrafficFormOf(512, false);
    EXPECT_STREQ("%i ", small.Format);
    EXPECT_EQ(512, small.Whole);
    TrafficForm giga = TrafficFormOf(4294967295u, true);
    EXPECT_STREQ("%i.%i G", giga.Format);
    EXPECT_EQ(3, giga.Whole);
    EXPECT_EQ(1, giga.Digit);
}

TEST(PlainText, NumberBetweenAffixes) {
    char number[NumberTextRoom];
    char text[MeterTextRoom];
    PlainNumberText(7, number);
    ComposeMeterText(text, "a", number, "b");
    EXPECT_STREQ("a7b", text);
    PlainNumberText(212, number);
    ComposeMeterText(text, "(memory: ", number, " Mb)");
    EXPECT_STREQ("(memory: 212 Mb)", text);
    PlainNumberText(4294967295u, number);
    ComposeMeterText(text, "", number, "");
    EXPECT_STREQ("4294967295", text);
    ComposeMeterText(text, "cpu ", nullptr, "%");
    EXPECT_STREQ("cpu %", text);
}

// Affixes without a terminator in their room: read only within it, and the
// line stays within Text (the sanitizer catches any read or write beyond).
TEST(ComposeMeterText, UnterminatedAffixesStayInBounds) {
    static char prefix[MeterAffixRoom];
    static char postfix[MeterAffixRoom];
    std::memset(prefix, 'p', sizeof prefix);
    std::memset(postfix, 's', sizeof postfix);
    char number[NumberTextRoom];
    PlainNumberText(4294967295u, number);
    char text[MeterTextRoom];
    ComposeMeterText(text, prefix, number, postfix);
    EXPECT_EQ(2 * MeterAffixRoom + 10, std::strlen(text));
    EXPECT_EQ(std::string(MeterAffixRoom, 'p') + "4294967295" + std::string(MeterAffixRoom, 's'),
              std::string(text));
}

} // namespace
