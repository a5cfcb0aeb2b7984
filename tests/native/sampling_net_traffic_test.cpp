#include "sampling/net_traffic.h"

#include <gtest/gtest.h>

#include <cstring>
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
    void Sample(int32_t maxNetSpeed = 0) { SumIfTable(&state, table.get(), maxNetSpeed, &reading); }
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
            SumIfTable(&state, table.get(), 0, &reading);
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
