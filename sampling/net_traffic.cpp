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

void ClassifyInterfaces(const IfRow2Layout* rows, uint32_t count, IfClassification* out) {
    // Filter rows and the loopback never count; where any other interface
    // is a physical link, only physical links do.
    auto skipped = [](const IfRow2Layout& row) {
        return (row.StatusFlags & IfFlagFilter) != 0 || row.Type == IfTypeSoftwareLoopback;
    };
    bool hardware = false;
    for (uint32_t i = 0; i < count && !hardware; i++)
        hardware = !skipped(rows[i]) && (rows[i].StatusFlags & IfFlagHardware) != 0;
    out->Known = true;
    out->HardwareOnly = hardware;
    out->Count = 0;
    for (uint32_t i = 0; i < count && out->Count < IfClassRoom; i++) {
        const IfRow2Layout& row = rows[i];
        const bool counted =
            !skipped(row) && (!hardware || (row.StatusFlags & IfFlagHardware) != 0);
        // Kept in ascending order; the system lists its rows by index already.
        uint32_t at = out->Count++;
        for (; at > 0 && out->Indexes[at - 1] > row.InterfaceIndex; at--) {
            out->Indexes[at] = out->Indexes[at - 1];
            out->Counted[at] = out->Counted[at - 1];
        }
        out->Indexes[at] = row.InterfaceIndex;
        out->Counted[at] = counted;
    }
}

bool IfRowCounted(const IfClassification* kinds, const IfRowLayout* row) {
    if (IsLoopbackRow(row)) return false;
    if (!kinds->Known) return true;
    uint32_t low = 0, high = kinds->Count;
    while (low < high) {
        const uint32_t middle = low + (high - low) / 2;
        if (kinds->Indexes[middle] < row->Index)
            low = middle + 1;
        else
            high = middle;
    }
    if (low < kinds->Count && kinds->Indexes[low] == row->Index) return kinds->Counted[low];
    return !kinds->HardwareOnly;
}

// Caps the table and lists the interfaces of its rows, the loopback left out.
static void ListInterfaces(IfTableLayout* table, IfIndexList* seen) {
    if (table->NumEntries > IfRowsCounted) table->NumEntries = IfRowsCounted;
    seen->Count = 0;
    for (uint32_t i = 0; i < table->NumEntries; i++)
        if (!IsLoopbackRow(&table->Rows[i])) seen->Indexes[seen->Count++] = table->Rows[i].Index;
}

bool InterfacesChanged(const NetStateRecord* state, IfTableLayout* table) {
    IfIndexList seen;
    ListInterfaces(table, &seen);
    return !state->Started || !SameInterfaces(&seen, &state->Seen);
}

void SumIfTable(NetStateRecord* state, IfTableLayout* table, const IfClassification* kinds,
                int32_t maxNetSpeed, NetReading* reading) {
    *reading = NetReading{};
    uint32_t in = 0, out = 0, total = 0;
    IfIndexList seen;
    ListInterfaces(table, &seen);
    state->LinkSpeed = 0;
    for (uint32_t i = 0; i < table->NumEntries; i++) {
        const IfRowLayout* row = &table->Rows[i];
        if (!IfRowCounted(kinds, row)) continue;
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
    // after sleep, a phone plugged in, a capture tool's filter bound), start a
    // new baseline and read zero.
    const bool sameInterfaces = SameInterfaces(&seen, &state->Seen);
    state->Seen.Count = seen.Count;
    std::memcpy(state->Seen.Indexes, seen.Indexes, seen.Count * sizeof seen.Indexes[0]);
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
