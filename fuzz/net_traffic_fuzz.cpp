// The traffic sums over a sequence of random interface tables: any row count
// (the table is capped at 63 rows before it is read), any counters, speeds
// interface indexes and descriptions, with or without a fixed full scale,
// counted by the classic rule or by a classification of random GetIfTable2
// rows. Percentages stay in 0..100; the first sample, and any sample whose
// interfaces are not the previous sample's, only primes; otherwise the byte
// counts are the wrapped differences of the counted rows' sums, and the
// loopback is never counted.
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

// Rows as GetIfTable2 describes them: few indexes, any type and status flags.
void Classify(FuzzedDataProvider* input, IfClassification* kinds) {
    IfRow2Layout rows[8] = {};
    const uint32_t count = input->ConsumeIntegralInRange<uint32_t>(0, 8);
    for (uint32_t i = 0; i < count; ++i) {
        rows[i].InterfaceIndex = input->ConsumeIntegralInRange<uint32_t>(0, 5);
        rows[i].Type =
            input->ConsumeBool() ? IfTypeSoftwareLoopback : input->ConsumeIntegral<uint8_t>();
        rows[i].StatusFlags = input->ConsumeIntegral<uint8_t>();
    }
    ClassifyInterfaces(rows, count, kinds);
    FUZZ_CHECK(kinds->Known && kinds->Count == count);
    for (uint32_t i = 1; i < kinds->Count; ++i)
        FUZZ_CHECK(kinds->Indexes[i - 1] <= kinds->Indexes[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    IfTableLayout* table = Table();
    std::memset(table, 0, sizeof *table);
    NetStateRecord state = {};
    static IfClassification kinds;
    kinds = IfClassification{};
    const int32_t maxNetSpeed = input.ConsumeIntegral<int32_t>();
    uint32_t prevIn = 0, prevOut = 0;
    std::vector<uint32_t> prevSet;
    for (int sample = 0; sample < 4 && input.remaining_bytes() > 0; ++sample) {
        if (input.ConsumeBool()) Classify(&input, &kinds);
        FillTable(&input, table);
        const uint32_t declared = table->NumEntries;
        uint32_t in = 0, out = 0;
        std::vector<uint32_t> set;
        const uint32_t counted = declared < IfRowsCounted ? declared : IfRowsCounted;
        for (uint32_t i = 0; i < counted; ++i)
            if (!IsLoopbackRow(&table->Rows[i])) {
                set.push_back(table->Rows[i].Index);
                if (!IfRowCounted(&kinds, &table->Rows[i])) continue;
                in += table->Rows[i].InOctets;
                out += table->Rows[i].OutOctets;
            } else {
                FUZZ_CHECK(!IfRowCounted(&kinds, &table->Rows[i]));
            }
        NetReading reading;
        const bool changed = InterfacesChanged(&state, table);
        SumIfTable(&state, table, &kinds, maxNetSpeed, &reading);
        FUZZ_CHECK(table->NumEntries == counted);
        FUZZ_CHECK(reading.InPercent >= 0 && reading.InPercent <= 100);
        FUZZ_CHECK(reading.OutPercent >= 0 && reading.OutPercent <= 100);
        std::sort(set.begin(), set.end());
        FUZZ_CHECK(changed == (sample == 0 || set != prevSet));
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
