// The traffic sums over a sequence of random interface tables: any row count
// (the table is capped at 63 rows before it is read), any counters, speeds
// interface indexes and descriptions, with or without a fixed full scale.
// Percentages stay in 0..100; the first sample, and any sample whose counted
// interfaces are not the previous sample's, only primes; otherwise the byte
// counts are the wrapped differences of the non-loopback sums.
#include "fuzz/fuzz_check.h"
#include "sampling/net_traffic.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// The system's table buffer, of exactly its size, made once.
IfTableLayout* Table() {
    static IfTableLayout* table = new IfTableLayout;
    return table;
}

void FillTable(FuzzedDataProvider* input, IfTableLayout* table) {
    table->NumEntries = input->ConsumeIntegral<uint32_t>();
    const uint32_t filled = input->ConsumeIntegralInRange<uint32_t>(0, 64);
    for (uint32_t i = 0; i < filled; ++i) {
        IfRowLayout& row = table->Rows[i];
        row.Index = input->ConsumeIntegralInRange<uint32_t>(0, 4); // few: sets often repeat
        row.Type =
            input->ConsumeBool() ? IfTypeSoftwareLoopback : input->ConsumeIntegral<uint8_t>();
        row.Speed = input->ConsumeIntegral<uint32_t>();
        row.InOctets = input->ConsumeIntegral<uint32_t>();
        row.OutOctets = input->ConsumeIntegral<uint32_t>();
        std::memset(row.Descr, 0, sizeof row.Descr);
        if (input->ConsumeBool())
            std::memcpy(row.Descr, LoopbackDescription, std::strlen(LoopbackDescription) + 1);
        else
            input->ConsumeData(row.Descr,
                               input->ConsumeIntegralInRange<size_t>(0, sizeof row.Descr));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    IfTableLayout* table = Table();
    std::memset(table, 0, sizeof *table);
    NetStateRecord state = {};
    static const IfClassification classic = {};
    const int32_t maxNetSpeed = input.ConsumeIntegral<int32_t>();
    uint32_t prevIn = 0, prevOut = 0;
    std::vector<uint32_t> prevSet;
    for (int sample = 0; sample < 4 && input.remaining_bytes() > 0; ++sample) {
        FillTable(&input, table);
        const uint32_t declared = table->NumEntries;
        uint32_t in = 0, out = 0;
        std::vector<uint32_t> set;
        const uint32_t counted = declared < IfRowsCounted ? declared : IfRowsCounted;
        for (uint32_t i = 0; i < counted; ++i)
            if (!IsLoopbackRow(&table->Rows[i])) {
                set.push_back(table->Rows[i].Index);
                in += table->Rows[i].InOctets;
                out += table->Rows[i].OutOctets;
            }
        NetReading reading;
        SumIfTable(&state, table, &classic, maxNetSpeed, &reading);
        FUZZ_CHECK(table->NumEntries == counted);
        FUZZ_CHECK(reading.InPercent >= 0 && reading.InPercent <= 100);
        FUZZ_CHECK(reading.OutPercent >= 0 && reading.OutPercent <= 100);
        std::sort(set.begin(), set.end());
        if (sample == 0 || set != prevSet) {
            FUZZ_CHECK(reading.InBytes == 0 && reading.OutBytes == 0);
            FUZZ_CHECK(reading.InPercent == 0 && reading.OutPercent == 0);
        } else {
            FUZZ_CHECK(uint32_t(reading.InBytes) == in - prevIn);
            FUZZ_CHECK(uint32_t(reading.OutBytes) == out - prevOut);
        }
        if (maxNetSpeed > 0 && counted > 0) FUZZ_CHECK(state.LinkSpeed <= uint32_t(maxNetSpeed));
        prevIn = in;
        prevOut = out;
        prevSet = set;
    }
    const int32_t delta = input.ConsumeIntegral<int32_t>();
    const uint32_t speed = input.ConsumeIntegral<uint32_t>();
    const int32_t percent = TrafficPercent(delta, speed);
    FUZZ_CHECK(percent >= 0 && percent <= 100);
    return 0;
}
