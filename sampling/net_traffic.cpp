#include "sampling/net_traffic.h"

#include <cstring>

const char LoopbackDescription[] = "MS TCP Loopback interface";

int32_t TrafficPercent(int32_t delta, uint32_t linkSpeed) {
    uint32_t bytes = (delta < 0 || linkSpeed == 0) ? 0 : static_cast<uint32_t>(delta);
    if (bytes > linkSpeed) bytes = linkSpeed;
    uint32_t divisor = linkSpeed / 1000;
    if (divisor == 0) return 0;
    uint32_t result = bytes / divisor;
    return result > 100 ? 100 : static_cast<int32_t>(result);
}

bool IsLoopbackRow(const IfRowLayout* row) {
    if (row->Type == IfTypeSoftwareLoopback) return true;
    // Compared with its terminator, within the row's own description field.
    return std::memcmp(row->Descr, LoopbackDescription, sizeof LoopbackDescription) == 0;
}

static void SortIndexes(uint32_t* indexes, uint32_t count) {
    for (uint32_t i = 1; i < count; i++) {
        uint32_t index = indexes[i], at = i;
        for (; at > 0 && indexes[at - 1] > index; at--)
            indexes[at] = indexes[at - 1];
        indexes[at] = index;
    }
}

bool SameInterfaces(const IfIndexList* a, const IfIndexList* b) {
    if (a->Count != b->Count) return false;
    const size_t bytes = a->Count * sizeof a->Indexes[0];
    // The system keeps its table's order from one sample to the next, so the
    // sort is needed only when it did not.
    if (std::memcmp(a->Indexes, b->Indexes, bytes) == 0) return true;
    uint32_t sortedA[IfRowsCounted], sortedB[IfRowsCounted];
    std::memcpy(sortedA, a->Indexes, bytes);
    std::memcpy(sortedB, b->Indexes, bytes);
    SortIndexes(sortedA, a->Count);
    SortIndexes(sortedB, b->Count);
    return std::memcmp(sortedA, sortedB, bytes) == 0;
}

void SumIfTable(NetStateRecord* state, IfTableLayout* table, int32_t maxNetSpeed,
                NetReading* reading) {
    *reading = NetReading{};
    uint32_t in = 0, out = 0, total = 0;
    IfIndexList counted;
    counted.Count = 0;
    state->LinkSpeed = 0;
    if (table->NumEntries > IfRowsCounted) table->NumEntries = IfRowsCounted;
    for (uint32_t i = 0; i < table->NumEntries; i++) {
        const IfRowLayout* row = &table->Rows[i];
        if (IsLoopbackRow(row)) continue;
        counted.Indexes[counted.Count++] = row->Index; // at most 63 rows come here
        in += row->InOctets;
        out += row->OutOctets;
        total += row->InOctets + row->OutOctets;
        // From the first row whose running total moved onwards, the fastest
        // link counts as full scale, unless the user fixed one.
        if (maxNetSpeed > 0) {
            state->LinkSpeed = static_cast<uint32_t>(maxNetSpeed);
        } else if (total != state->RowTotals[i] && row->Speed > state->LinkSpeed) {
            state->LinkSpeed = row->Speed;
        }
        state->RowTotals[i] = total;
    }
    // The first sample, and one after an interface came or went (a VPN, Wi-Fi
    // after sleep, a phone plugged in), start a new baseline and read zero.
    const bool sameInterfaces = SameInterfaces(&counted, &state->Counted);
    state->Counted.Count = counted.Count;
    std::memcpy(state->Counted.Indexes, counted.Indexes, counted.Count * sizeof counted.Indexes[0]);
    if (!state->Started || !sameInterfaces) {
        state->PrevIn = in;
        state->PrevOut = out;
        state->Started = true;
        return;
    }
    reading->InBytes = static_cast<int32_t>(in - state->PrevIn);
    reading->OutBytes = static_cast<int32_t>(out - state->PrevOut);
    reading->InPercent = TrafficPercent(reading->InBytes, state->LinkSpeed);
    state->PrevIn = in;
    reading->OutPercent = TrafficPercent(reading->OutBytes, state->LinkSpeed);
    state->PrevOut = out;
}
