// The meter texts as the plug-in composes them with wvsprintfA, against the
// platform-free forms that the native tests pin down.
#include "sampling/meter_text.h"
#include "sampling/sampling.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

Meter MakeMeter(const char* prefix, const char* postfix, bool hasNumber) {
    Meter meter = {};
    lstrcpyA(meter.Prefix, prefix);
    lstrcpyA(meter.Postfix, postfix);
    meter.HasNumber = hasNumber ? -1 : 0;
    meter.TextEnabled = -1;
    return meter;
}

std::string PureTraffic(const Meter& meter, uint32_t count) {
    char number[NumberTextRoom], text[MeterTextRoom];
    TrafficNumberText(count, meter.Postfix[0] == '\0', number);
    ComposeMeterText(text, meter.Prefix, meter.HasNumber ? number : nullptr, meter.Postfix);
    return text;
}

std::vector<uint32_t> Counts() {
    std::vector<uint32_t> counts = {0,          1,          999,        1000,       1001,
                                    1023,       1024,       1536,       2047,       1000000,
                                    1000001,    1048576,    1100000,    1150000,    1572864,
                                    1000000000, 1000000001, 1073741824, 1610612736, 4294967295u};
    uint32_t x = 12345;
    for (int i = 0; i < 3000; i++) {
        x = x * 1103515245u + 12345u;
        counts.push_back(x >> (i % 32));
    }
    return counts;
}

TEST(FormatTraffic, MatchesThePlatformFreeForm) {
    Meter meters[] = {MakeMeter("", "", true), MakeMeter("in: ", "/s", true),
                      MakeMeter("net ", "", true), MakeMeter("[", "]", false)};
    for (Meter& meter : meters) {
        for (uint32_t count : Counts()) {
            FormatTraffic(&meter, count);
            ASSERT_EQ(PureTraffic(meter, count), meter.Text) << count;
        }
    }
}

TEST(FormatTraffic, Examples) {
    Meter meter = MakeMeter("", "/s", true);
    FormatTraffic(&meter, 1572864);
    EXPECT_STREQ(meter.Text, "1.5 M/s");
    FormatTraffic(&meter, 512);
    EXPECT_STREQ(meter.Text, "512 /s");
    Meter bare = MakeMeter("", "", true);
    FormatTraffic(&bare, 4294967295u);
    EXPECT_STREQ(bare.Text, "3.1 G");
    FormatTraffic(&bare, 2047);
    EXPECT_STREQ(bare.Text, "1.1 K");
}

TEST(FormatPlain, NumberBetweenTheAffixes) {
    Meter meter = MakeMeter("(memory: ", " Mb)", true);
    FormatPlain(&meter, 212);
    EXPECT_STREQ(meter.Text, "(memory: 212 Mb)");
    FormatPlain(&meter, 4294967295u);
    EXPECT_STREQ(meter.Text, "(memory: 4294967295 Mb)");
    Meter noNumber = MakeMeter("a", "b", false);
    FormatPlain(&noNumber, 7);
    EXPECT_STREQ(noNumber.Text, "ab");
}

// Affixes filled to their last byte: the line still ends inside Text.
TEST(FormatPlain, FullAffixesStayWithinText) {
    Meter meter = MakeMeter("", "", true);
    std::memset(meter.Prefix, 'p', sizeof meter.Prefix);
    std::memset(meter.Postfix, 's', sizeof meter.Postfix);
    std::memset(&meter.HasNumber, 0xFF, sizeof meter.HasNumber);
    FormatPlain(&meter, 4294967295u);
    EXPECT_EQ(std::strlen(meter.Text), 2 * sizeof meter.Prefix + 10);
    EXPECT_EQ(meter.TextdX, 0) << "nothing written past Text";
}

} // namespace
