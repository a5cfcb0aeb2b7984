// The descriptor as built inside this program: both variants, field by field,
// on repeated and alternating requests.
#include "tests/wine/descriptor_expected.h"

#include "host/host_library.h"

namespace {

TEST(DescriptorSchema, WithLayeredWindowsOffersTransparencyAndFourLockModes) {
    ExpectDescriptor(FillPluginInfo(true), true);
}

TEST(DescriptorSchema, WithoutLayeredWindowsOffersUseVXDAndThreeLockModes) {
    ExpectDescriptor(FillPluginInfo(false), false);
}

// Each request starts from the pristine schema, so a variant never leaks into
// the next answer and asking twice changes nothing.
TEST(DescriptorSchema, RepeatedAndAlternatingRequestsAgree) {
    const bool sequence[] = {false, false, true, true, false, true};
    const PluginInfo* first = FillPluginInfo(true);
    for (bool layered : sequence) {
        SCOPED_TRACE(layered);
        const PluginInfo* info = FillPluginInfo(layered);
        EXPECT_EQ(info, first);
        ExpectDescriptor(info, layered);
    }
}

TEST(DescriptorSchema, HeadersAreKeylessAndOnlyTheLastFourRowsCarryBit100) {
    const PluginInfo* info = FillPluginInfo(true);
    int headers = 0;
    for (int i = 0; i < 45; ++i) {
        const SettingRow& row = info->Rows[i];
        EXPECT_EQ((row.Type & 0x100) != 0, i >= 41) << i;
        if (row.Type != 0x13) continue;
        ++headers;
        EXPECT_EQ(row.Key, nullptr) << i;
        EXPECT_EQ(row.Default, 0) << i;
        EXPECT_EQ(row.MinOrLast, 0) << i;
        EXPECT_EQ(row.MaxOrList, 0) << i;
    }
    EXPECT_EQ(headers, 6);
}

// GetPluginInfo asks the service library; TOLVRIC_NO_LAYERED=1 makes it
// answer as a system without layered windows.
TEST(DescriptorSchema, ExportFollowsTheLibrarysLayeredAnswer) {
    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
    ASSERT_NE(LayeredStyle(nullptr, 1), 0u) << "Wine offers layered windows";
    ExpectDescriptor(GetPluginInfo(), true);
    ExpectDescriptor(GetPluginInfo(), true);

    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", "1");
    ExpectDescriptor(GetPluginInfo(), false);
    ExpectDescriptor(GetPluginInfo(), false);

    SetEnvironmentVariableA("TOLVRIC_NO_LAYERED", nullptr);
    ExpectDescriptor(GetPluginInfo(), true);
}

} // namespace
