#include "sampling/net_traffic.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

namespace {

// A fresh sampler state and a table buffer as GetIfTable would fill it.
struct NetFixture : ::testing::Test {
    NetStateRecord state{};
    std::unique_ptr<IfTableLayout> table{new IfTableLayout()};
    NetReading reading{};

    IfRowLayout& Row(uint32_t i) { return table->Rows[i]; }
    void SetRows(uint32_t count) {
        table->NumEntries = count;
        for (uint32_t i = 0; i < count; i++) {
            std::snprintf(Row(i).Descr, sizeof Row(i).Descr, "Ethernet adapter %u", i);
            Row(i).Type = 6; // ethernet
            Row(i).Index = i + 1;
        }
    }
    void MakeLoopback(uint32_t i, bool byType) {
        if (byType) {
            Row(i).Type = IfTypeSoftwareLoopback;
            std::strcpy(Row(i).Descr, "lo");
        } else {
            Row(i).Type = 6;
            std::strcpy(Row(i).Descr, LoopbackDescription);
        }
    }
    void Sample(int32_t maxNetSpeed = 0) {
        SumIfTable(&state, table.get(), &kinds, maxNetSpeed, &reading);
    }
    IfClassification kinds{}; // nothing classified: the classic rule
};

TEST_F(NetFixture, FirstCallPrimesAndReadsZero) {
    SetRows(1);
    Row(0).InOctets = 123456;
    Row(0).OutOctets = 654321;
    Row(0).Speed = 10000000;
    Sample();
    EXPECT_TRUE(state.Started);
    EXPECT_EQ(123456u, state.PrevIn);
    EXPECT_EQ(654321u, state.PrevOut);
    EXPECT_EQ(0, reading.InPercent);
    EXPECT_EQ(0, reading.OutPercent);
    EXPECT_EQ(0, reading.InBytes);
    EXPECT_EQ(0, reading.OutBytes);
    Sample(); // nothing moved since
    EXPECT_EQ(0, reading.InBytes);
    EXPECT_EQ(0u, state.LinkSpeed);
}

TEST_F(NetFixture, OnlyFirst63RowsCount) {
    SetRows(70);
    Sample();
    for (uint32_t i = 0; i < 70; i++) {
        Row(i).InOctets = 1;
        Row(i).Speed = 10000000;
    }
    table->NumEntries = 70;
    Sample();
    EXPECT_EQ(63, reading.InBytes);
    EXPECT_EQ(63u, table->NumEntries);
}

TEST_F(NetFixture, LoopbackIsSkippedByDescriptionOrType) {
    for (bool byType : {false, true}) {
        state = NetStateRecord{};
        SetRows(1);
        MakeLoopback(0, byType);
        Row(0).Speed = 10000000;
        Sample();
        Row(0).InOctets = 5000000;
        Row(0).OutOctets = 7000;
        Sample();
        EXPECT_EQ(0u, state.PrevIn) << byType;
        EXPECT_EQ(0u, state.LinkSpeed) << byType;
        EXPECT_EQ(0, reading.InBytes) << byType;
        EXPECT_EQ(0, reading.OutBytes) << byType;
        EXPECT_EQ(0, reading.InPercent) << byType;
    }
}

TEST_F(NetFixture, LoopbackBesideAnInterfaceCountsOnlyTheInterface) {
    SetRows(2);
    MakeLoopback(0, true);
    Row(1).Speed = 10000000;
    Sample();
    Row(0).InOctets = 999999;
    Row(1).InOctets = 250000;
    Row(1).OutOctets = 1000;
    Sample();
    EXPECT_EQ(250000, reading.InBytes);
    EXPECT_EQ(1000, reading.OutBytes);
    EXPECT_EQ(25, reading.InPercent);
    EXPECT_EQ(0, reading.OutPercent);
}

TEST_F(NetFixture, PercentOfTenMegabitLink) {
    SetRows(1);
    Row(0).Speed = 10000000;
    Sample();
    Row(0).InOctets += 250000;
    Sample();
    EXPECT_EQ(250000, reading.InBytes);
    EXPECT_EQ(25, reading.InPercent);
    Row(0).InOctets += 5000000;
    Sample();
    EXPECT_EQ(5000000, reading.InBytes);
    EXPECT_EQ(100, reading.InPercent);
}

TEST_F(NetFixture, WrappedCounter) {
    SetRows(1);
    Row(0).Speed = 10000000;
    Row(0).InOctets = 4294967000u;
    Sample();
    Row(0).InOctets = 200;
    Sample();
    EXPECT_EQ(496, reading.InBytes);
    EXPECT_EQ(0, reading.InPercent);
}

// An interface that comes or goes makes the two sums incomparable: that
// sample reads no traffic and becomes the baseline; the next one counts again.
TEST(NetInterfaceSet, ChangesStartANewBaseline) {
    struct Row {
        uint32_t index, in, out;
        bool loopback;
    };
    const struct {
        const char* name;
        std::vector<Row> before, after, next; // next: one more sample after `after`
        int32_t inBytes, outBytes, nextInBytes;
    } cases[] = {
        {"an interface appears",
         {{1, 1000, 500, false}},
         {{1, 1200, 600, false}, {7, 3000000000u, 1000000000u, false}},
         {{1, 1300, 600, false}, {7, 3000000100u, 1000000000u, false}},
         0,
         0,
         200},
        {"an interface vanishes",
         {{1, 1000, 500, false}, {2, 3000000000u, 3100000000u, false}},
         {{1, 1100, 500, false}},
         {{1, 1150, 500, false}},
         0,
         0,
         50},
        {"only the loopback is left",
         {{1, 1, 1, true}, {2, 3000000000u, 3100000000u, false}},
         {{1, 5, 5, true}},
         {{1, 9, 9, true}, {2, 3000000500u, 3100000000u, false}},
         0,
         0,
         0},
        {"replaced by another with the same count of rows",
         {{1, 1000, 500, false}, {2, 2000, 2000, false}},
         {{1, 1000, 500, false}, {3, 90000000, 70000, false}},
         {{1, 1000, 500, false}, {3, 90000400, 70000, false}},
         0,
         0,
         400},
        {"the same interfaces reordered",
         {{1, 1000, 500, false}, {2, 2000, 2000, false}},
         {{2, 2100, 2000, false}, {1, 1000, 530, false}},
         {{2, 2100, 2000, false}, {1, 1000, 540, false}},
         100,
         30,
         0},
        {"a counter wraps on a stable set",
         {{4, 4294967000u, 10, false}},
         {{4, 200, 20, false}},
         {{4, 300, 20, false}},
         496,
         10,
         100},
        {"the loopback comes and goes beside a stable set",
         {{1, 0, 0, true}, {2, 1000, 0, false}},
         {{2, 1250, 0, false}},
         {{1, 0, 0, true}, {2, 1300, 0, false}},
         250,
         0,
         50},
    };
    for (const auto& c : cases) {
        NetStateRecord state{};
        std::unique_ptr<IfTableLayout> table{new IfTableLayout()};
        NetReading reading{};
        const IfClassification classic{};
        auto sample = [&](const std::vector<Row>& rows) {
            table->NumEntries = static_cast<uint32_t>(rows.size());
            for (size_t i = 0; i < rows.size(); i++) {
                IfRowLayout& row = table->Rows[i];
                row = IfRowLayout{};
                row.Index = rows[i].index;
                row.Type = rows[i].loopback ? IfTypeSoftwareLoopback : 6;
                row.Speed = 10000000;
                row.InOctets = rows[i].in;
                row.OutOctets = rows[i].out;
            }
            SumIfTable(&state, table.get(), &classic, 0, &reading);
        };
        sample(c.before);
        sample(c.after);
        EXPECT_EQ(c.inBytes, reading.InBytes) << c.name;
        EXPECT_EQ(c.outBytes, reading.OutBytes) << c.name;
        if (c.inBytes == 0) {
            EXPECT_EQ(0, reading.InPercent) << c.name;
        }
        sample(c.next);
        EXPECT_EQ(c.nextInBytes, reading.InBytes) << c.name << ", next sample";
    }
}

TEST_F(NetFixture, MaxNetSpeedFixesFullScale) {
    SetRows(1);
    Row(0).Speed = 100000000;
    Sample(64000);
    EXPECT_EQ(64000u, state.LinkSpeed);
    Row(0).InOctets += 6400;
    Sample(64000);
    EXPECT_EQ(64000u, state.LinkSpeed);
    EXPECT_EQ(100, reading.InPercent);
    Row(0).InOctets += 3200;
    Sample(64000);
    EXPECT_EQ(50, reading.InPercent);
    MakeLoopback(0, false); // no counted row: the full scale stays 0
    Sample(64000);
    EXPECT_EQ(0u, state.LinkSpeed);
}

TEST_F(NetFixture, OnlyRowsFromTheFirstMovedOneChooseTheSpeed) {
    SetRows(2);
    Row(0).Speed = 100000000;
    Row(1).Speed = 10000000;
    Sample();
    Row(1).InOctets += 100000;
    Sample();
    EXPECT_EQ(10000000u, state.LinkSpeed);
    EXPECT_EQ(10, reading.InPercent);
    Row(0).InOctets += 100000; // now the first moved: every row after it counts
    Sample();
    EXPECT_EQ(100000000u, state.LinkSpeed);
    EXPECT_EQ(1, reading.InPercent);
}

TEST_F(NetFixture, FailedTableLeavesNoTrace) {
    // A failed read never reaches SumIfTable; the next deltas cover both intervals.
    SetRows(1);
    Row(0).Speed = 10000000;
    Sample();
    Row(0).InOctets += 100000; // read failed here: no call
    Row(0).InOctets += 150000;
    Sample();
    EXPECT_EQ(250000, reading.InBytes);
}

// ---- Interfaces classified as GetIfTable2 marks them ----

const uint32_t TypeEthernet = 6, TypeWifi = 71, TypeTunnel = 131, TypeVirtual = 53;

struct Interface {
    const char* descr;
    uint32_t index, type;
    uint8_t flags; // IfFlagHardware, IfFlagFilter
};

// A laptop on Windows 10: one Wi-Fi adapter with its four filter rows (one of
// them also marked as hardware, as the adapter it sits on), the loopback, a
// VPN tunnel and the host side of a virtual switch.
const Interface Windows10[] = {
    {"Loopback Pseudo-Interface 1", 1, IfTypeSoftwareLoopback, 0},
    {"Intel(R) Wi-Fi 6 AX201 160MHz", 12, TypeWifi, IfFlagHardware},
    {"Intel(R) Wi-Fi 6 AX201 160MHz-WFP Native MAC Layer LightWeight Filter-0000", 13, TypeWifi,
     IfFlagFilter},
    {"Intel(R) Wi-Fi 6 AX201 160MHz-Virtual WiFi Filter Driver-0000", 14, TypeWifi, IfFlagFilter},
    {"Intel(R) Wi-Fi 6 AX201 160MHz-QoS Packet Scheduler-0000", 15, TypeWifi,
     IfFlagFilter | IfFlagHardware},
    {"Intel(R) Wi-Fi 6 AX201 160MHz-WFP 802.3 MAC Layer LightWeight Filter-0000", 16, TypeWifi,
     IfFlagFilter},
    {"WireGuard Tunnel", 31, TypeTunnel, 0},
    {"Hyper-V Virtual Ethernet Adapter", 42, TypeEthernet, 0},
};

std::vector<IfRow2Layout> Rows2(const std::vector<Interface>& interfaces) {
    std::vector<IfRow2Layout> rows(interfaces.size());
    for (size_t i = 0; i < interfaces.size(); i++) {
        rows[i] = IfRow2Layout{};
        rows[i].InterfaceIndex = interfaces[i].index;
        rows[i].Type = interfaces[i].type;
        rows[i].StatusFlags = interfaces[i].flags;
    }
    return rows;
}

IfClassification Classify(const std::vector<Interface>& interfaces) {
    IfClassification kinds{};
    std::vector<IfRow2Layout> rows = Rows2(interfaces);
    ClassifyInterfaces(rows.data(), static_cast<uint32_t>(rows.size()), &kinds);
    return kinds;
}

// The classic table of the same interfaces, as GetIfTable answers it.
void FillIfTable(IfTableLayout* table, const std::vector<Interface>& interfaces) {
    table->NumEntries = static_cast<uint32_t>(interfaces.size());
    for (size_t i = 0; i < interfaces.size(); i++) {
        IfRowLayout& row = table->Rows[i];
        row = IfRowLayout{};
        row.Index = interfaces[i].index;
        row.Type = interfaces[i].type;
        row.Speed = 100000000;
        std::snprintf(row.Descr, sizeof row.Descr, "%s", interfaces[i].descr);
    }
}

IfRowLayout RowOf(uint32_t index, uint32_t type) {
    IfRowLayout row{};
    row.Index = index;
    row.Type = type;
    return row;
}

TEST(ClassifyInterfaces, WhichInterfacesCount) {
    std::vector<Interface> windows10(std::begin(Windows10), std::end(Windows10));
    std::vector<Interface> noHardware;
    for (Interface i : windows10)
        if (i.index < 12 || i.index > 16) noHardware.push_back(i); // a machine without the Wi-Fi
    noHardware.push_back({"Npcap Loopback Adapter-Npcap Packet Driver (NPCAP)-0000", 50,
                          TypeEthernet, IfFlagFilter});
    std::vector<Interface> unsorted = {windows10[6], windows10[1], windows10[7], windows10[2]};
    const struct {
        const char* name;
        const std::vector<Interface>& table;
        bool hardwareOnly;
        std::vector<uint32_t> counted; // the indexes of the table that count
    } cases[] = {
        {"Windows 10: only the adapter", windows10, true, {12}},
        {"no hardware: every link but filters and the loopback", noHardware, false, {31, 42}},
        {"rows out of index order", unsorted, true, {12}},
    };
    for (const auto& c : cases) {
        IfClassification kinds = Classify(c.table);
        EXPECT_TRUE(kinds.Known) << c.name;
        EXPECT_EQ(c.hardwareOnly, kinds.HardwareOnly) << c.name;
        ASSERT_EQ(c.table.size(), kinds.Count) << c.name;
        for (uint32_t i = 1; i < kinds.Count; i++)
            EXPECT_LT(kinds.Indexes[i - 1], kinds.Indexes[i]) << c.name;
        for (const Interface& i : c.table) {
            const bool expected =
                std::find(c.counted.begin(), c.counted.end(), i.index) != c.counted.end();
            IfRowLayout row = RowOf(i.index, i.type);
            EXPECT_EQ(expected, IfRowCounted(&kinds, &row)) << c.name << ": " << i.descr;
        }
    }
}

TEST(ClassifyInterfaces, InterfacesTheClassificationDoesNotList) {
    IfClassification none{};
    IfClassification hardware = Classify({Windows10[1], Windows10[6]});
    IfClassification virtualOnly = Classify({Windows10[6]});
    IfRowLayout newcomer = RowOf(77, TypeEthernet);
    IfRowLayout loopback = RowOf(1, IfTypeSoftwareLoopback);
    IfRowLayout loopbackByName = RowOf(2, TypeEthernet);
    std::strcpy(loopbackByName.Descr, LoopbackDescription);
    const struct {
        const char* name;
        const IfClassification& kinds;
        const IfRowLayout& row;
        bool counted;
    } cases[] = {
        {"nothing classified: the classic rule", none, newcomer, true},
        {"nothing classified: the loopback by type", none, loopback, false},
        {"nothing classified: the loopback by name", none, loopbackByName, false},
        {"unknown where only hardware counts", hardware, newcomer, false},
        {"unknown where every link counts", virtualOnly, newcomer, true},
        {"the loopback where every link counts", virtualOnly, loopbackByName, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.counted, IfRowCounted(&c.kinds, &c.row)) << c.name;
}

TEST(ClassifyInterfaces, MoreRowsThanTheRoomStillFindTheHardware) {
    std::vector<IfRow2Layout> rows(IfClassRoom + 40);
    for (uint32_t i = 0; i < rows.size(); i++) {
        rows[i] = IfRow2Layout{};
        rows[i].InterfaceIndex = 1000 - i; // descending: the worst order
        rows[i].Type = TypeTunnel;
    }
    rows.back().StatusFlags = IfFlagHardware;
    IfClassification kinds{};
    ClassifyInterfaces(rows.data(), static_cast<uint32_t>(rows.size()), &kinds);
    EXPECT_TRUE(kinds.HardwareOnly);
    EXPECT_EQ(IfClassRoom, kinds.Count);
    EXPECT_EQ(1000u - IfClassRoom + 1, kinds.Indexes[0]);
    IfRowLayout listed = RowOf(1000, TypeTunnel);
    EXPECT_FALSE(IfRowCounted(&kinds, &listed));
}

// 10 MB through the Wi-Fi adapter shows on its four filter rows too, and a
// VPN's traffic on the tunnel and on the adapter: the sum is the adapter's.
TEST(ClassifiedSums, EachByteCountedOnce) {
    std::vector<Interface> windows10(std::begin(Windows10), std::end(Windows10));
    const uint32_t tenMegabytes = 10u << 20;
    const struct {
        const char* name;
        bool classified;
        int32_t inBytes;
    } cases[] = {
        {"classified by GetIfTable2", true, int32_t(tenMegabytes)},
        {"the classic rule", false, int32_t(6 * tenMegabytes)},
    };
    for (const auto& c : cases) {
        NetStateRecord state{};
        std::unique_ptr<IfTableLayout> table{new IfTableLayout()};
        NetReading reading{};
        IfClassification kinds = c.classified ? Classify(windows10) : IfClassification{};
        FillIfTable(table.get(), windows10);
        EXPECT_TRUE(InterfacesChanged(&state, table.get())) << c.name;
        SumIfTable(&state, table.get(), &kinds, 0, &reading);
        EXPECT_FALSE(InterfacesChanged(&state, table.get())) << c.name;
        for (uint32_t i = 0; i < table->NumEntries; i++)
            if (table->Rows[i].Index != 42) table->Rows[i].InOctets += tenMegabytes;
        SumIfTable(&state, table.get(), &kinds, 0, &reading);
        EXPECT_EQ(c.inBytes, reading.InBytes) << c.name;
        EXPECT_EQ(100000000u, state.LinkSpeed) << c.name;
    }
}

// A capture tool binds its filter while the meter runs: the set changes, the
// interfaces are classified again, that one sample starts a new baseline, and
// the next counts the adapter alone again.
TEST(ClassifiedSums, FilterBoundWhileRunningReadsOneZeroSample) {
    std::vector<Interface> before(std::begin(Windows10), std::end(Windows10));
    std::vector<Interface> after = before;
    after.insert(after.begin() + 2,
                 Interface{"Intel(R) Wi-Fi 6 AX201 160MHz-Npcap Packet Driver (NPCAP)-0000", 17,
                           TypeWifi, IfFlagFilter});
    NetStateRecord state{};
    std::unique_ptr<IfTableLayout> table{new IfTableLayout()};
    NetReading reading{};
    IfClassification kinds = Classify(before);
    FillIfTable(table.get(), before);
    SumIfTable(&state, table.get(), &kinds, 0, &reading);
    // The filter arrives with counters far ahead of zero, as its adapter's are.
    FillIfTable(table.get(), after);
    for (uint32_t i = 0; i < table->NumEntries; i++)
        table->Rows[i].InOctets = table->Rows[i].Index == 1 ? 0 : 3000000000u;
    ASSERT_TRUE(InterfacesChanged(&state, table.get()));
    kinds = Classify(after);
    SumIfTable(&state, table.get(), &kinds, 0, &reading);
    EXPECT_EQ(0, reading.InBytes);
    EXPECT_EQ(0, reading.InPercent);
    for (uint32_t i = 0; i < table->NumEntries; i++)
        if (table->Rows[i].Index != 1) table->Rows[i].InOctets += 50000;
    ASSERT_FALSE(InterfacesChanged(&state, table.get()));
    SumIfTable(&state, table.get(), &kinds, 0, &reading);
    EXPECT_EQ(50000, reading.InBytes);
}

TEST(TrafficPercent, Cases) {
    const struct {
        int32_t delta;
        uint32_t link;
        int32_t percent;
    } cases[] = {
        {250000, 10000000, 25},
        {5000000, 10000000, 100},
        {10000, 10000000, 1},
        {9999, 10000000, 0},
        {-5, 10000000, 0},
        {100, 0, 0},
        {999, 999, 0},
        {500, 999, 0},
        {1000, 1000, 100},
        {2500000, 2500000000u, 1},
        {INT32_MAX, 4294967295u, 100},
        {INT32_MIN, 4294967295u, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.percent, TrafficPercent(c.delta, c.link)) << c.delta << " of " << c.link;
}

} // namespace
