// The meter texts as the plug-in composes them with wvsprintfA, against the
// platform-free forms that the native tests pin down.
#include "host/host_library.h"
#include "render_gdi_hooks.h"
#include "sampling/meter_text.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The library reads TOLVRIC_CALL_LOG once, at its first call.
const std::string CallLogPath = [] {
    std::string path = TempPath("format_calls", ".log");
    SetEnvironmentVariableA("TOLVRIC_CALL_LOG", path.c_str());
    return path;
}();

// A meter's configuration and its reading side by side, with a guard after
// the text that no formatting may reach.
struct MeterUnderTest : Meter, MeterReading {
    int32_t Guard = 0;
};

void FormatTraffic(MeterUnderTest* meter, uint32_t bytes) {
    FormatTraffic(*meter, meter, bytes);
}
void FormatPlain(MeterUnderTest* meter, uint32_t value) {
    FormatPlain(*meter, meter, value);
}

MeterUnderTest MakeMeter(const char* prefix, const char* postfix, bool hasNumber) {
    MeterUnderTest meter = {};
    lstrcpyA(meter.Prefix, prefix);
    lstrcpyA(meter.Postfix, postfix);
    meter.HasNumber = hasNumber;
    meter.TextEnabled = true;
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
    MeterUnderTest meters[] = {MakeMeter("", "", true), MakeMeter("in: ", "/s", true),
                               MakeMeter("net ", "", true), MakeMeter("[", "]", false)};
    for (MeterUnderTest& meter : meters) {
        for (uint32_t count : Counts()) {
            FormatTraffic(&meter, count);
            ASSERT_EQ(PureTraffic(meter, count), meter.Text) << count;
        }
    }
}

TEST(FormatTraffic, Examples) {
    MeterUnderTest meter = MakeMeter("", "/s", true);
    FormatTraffic(&meter, 1572864);
    EXPECT_STREQ(meter.Text, "1.5 M/s");
    FormatTraffic(&meter, 512);
    EXPECT_STREQ(meter.Text, "512 /s");
    MeterUnderTest bare = MakeMeter("", "", true);
    FormatTraffic(&bare, 4294967295u);
    EXPECT_STREQ(bare.Text, "3.1 G");
    FormatTraffic(&bare, 2047);
    EXPECT_STREQ(bare.Text, "1.1 K");
}

TEST(FormatPlain, NumberBetweenTheAffixes) {
    MeterUnderTest meter = MakeMeter("(memory: ", " Mb)", true);
    FormatPlain(&meter, 212);
    EXPECT_STREQ(meter.Text, "(memory: 212 Mb)");
    FormatPlain(&meter, 4294967295u);
    EXPECT_STREQ(meter.Text, "(memory: 4294967295 Mb)");
    MeterUnderTest noNumber = MakeMeter("a", "b", false);
    FormatPlain(&noNumber, 7);
    EXPECT_STREQ(noNumber.Text, "ab");
}

// Affixes filled to their last byte: the line still ends inside Text.
TEST(FormatPlain, FullAffixesStayWithinText) {
    MeterUnderTest meter = MakeMeter("", "", true);
    std::memset(meter.Prefix, 'p', sizeof meter.Prefix);
    std::memset(meter.Postfix, 's', sizeof meter.Postfix);
    FormatPlain(&meter, 4294967295u);
    EXPECT_EQ(std::strlen(meter.Text), 2 * sizeof meter.Prefix + 10);
    EXPECT_EQ(meter.Guard, 0) << "nothing written past Text";
}

// A host library may count a text of blanks as empty; the traffic text then
// leaves out the space it puts before a non-empty postfix. Our own library
// counts only "" as empty.
BOOL __stdcall BlanksAreEmpty(const char* text) {
    while (text && *text == ' ')
        ++text;
    return !text || !*text;
}

TEST(FormatTraffic, TheHostDecidesWhetherThePostfixIsEmpty) {
    struct Case {
        bool blanksAreEmpty;
        const char* postfix;
        uint32_t count;
        const char* text;
    } cases[] = {
        {true, " ", 512, "512 "},        {false, " ", 512, "512  "},
        {true, "  ", 1000, "1000  "},    {false, "", 512, "512"},
        {true, "/s", 512, "512 /s"},     {true, " ", 1572864, "1.5 M "},
        {false, " ", 1572864, "1.5 M "},
    };
    HMODULE self = GetModuleHandleA(nullptr);
    void* library =
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("tolvric.dll"), "IsPSTREmpty"));
    ASSERT_NE(library, nullptr);
    void* hook = reinterpret_cast<void*>(&BlanksAreEmpty);
    for (const Case& c : cases) {
        if (c.blanksAreEmpty) {
            ASSERT_GT(gdi_hooks::PatchImport(self, library, hook), 0);
        }
        MeterUnderTest meter = MakeMeter("", c.postfix, true);
        FormatTraffic(&meter, c.count);
        if (c.blanksAreEmpty) gdi_hooks::PatchImport(self, hook, library);
        EXPECT_STREQ(meter.Text, c.text) << "\"" << c.postfix << "\" " << c.count;
    }
    // Our library is asked at every traffic text, and says so in its call log.
    MeterUnderTest meter = MakeMeter("", "/s", true);
    FormatTraffic(&meter, 512);
    EXPECT_NE(ReadTextFile(CallLogPath).find("IsPSTREmpty /s\n"), std::string::npos);
}

} // namespace
