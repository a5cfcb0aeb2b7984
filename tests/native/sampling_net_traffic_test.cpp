#include "sampling/net_traffic.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

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
    EXPECT_EQ(-1, state.Started);
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

TEST_F(NetFixture, DroppedSumGivesZeroPercentAndWrappingBytes) {
    SetRows(2);
    Row(0).Speed = Row(1).Speed = 10000000;
    Row(0).InOctets = 1000;
    Row(1).InOctets = 5000;
    Sample();
    table->NumEntries = 1; // the second interface went away
    Sample();
    EXPECT_EQ(-5000, reading.InBytes);
    EXPECT_EQ(0, reading.InPercent);
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
