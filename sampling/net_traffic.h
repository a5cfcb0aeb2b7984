// Network traffic sums over an interface table; no platform calls. The table
// layout mirrors the system's MIB_IFTABLE byte for byte, so the buffer that
// GetIfTable fills is read through it directly.
#pragma once

#include <cstddef>
#include <cstdint>

struct IfRowLayout {
    uint16_t Name[256];
    uint32_t Index;
    uint32_t Type;
    uint32_t Mtu;
    uint32_t Speed;
    uint32_t PhysAddrLen;
    uint8_t PhysAddr[8];
    uint32_t AdminStatus;
    uint32_t OperStatus;
    uint32_t LastChange;
    uint32_t InOctets;
    uint32_t InUcastPkts;
    uint32_t InNUcastPkts;
    uint32_t InDiscards;
    uint32_t InErrors;
    uint32_t InUnknownProtos;
    uint32_t OutOctets;
    uint32_t OutUcastPkts;
    uint32_t OutNUcastPkts;
    uint32_t OutDiscards;
    uint32_t OutErrors;
    uint32_t OutQLen;
    uint32_t DescrLen;
    char Descr[256];
};
static_assert(sizeof(IfRowLayout) == 860, "an interface row is 860 bytes");
static_assert(offsetof(IfRowLayout, Type) == 516, "dwType at 516");
static_assert(offsetof(IfRowLayout, Speed) == 524, "dwSpeed at 524");
static_assert(offsetof(IfRowLayout, InOctets) == 552, "dwInOctets at 552");
static_assert(offsetof(IfRowLayout, OutOctets) == 576, "dwOutOctets at 576");
static_assert(offsetof(IfRowLayout, Descr) == 604, "bDescr at 604");

const uint32_t IfTableRowRoom = 513;
struct IfTableLayout {
    uint32_t NumEntries;
    IfRowLayout Rows[IfTableRowRoom];
};
const uint32_t IfTableBytes = 441184;
static_assert(sizeof(IfTableLayout) == IfTableBytes, "the table buffer holds 513 rows");

const uint32_t IfRowsCounted = 63;          // rows beyond these are ignored
const uint32_t IfTypeSoftwareLoopback = 24; // IF_TYPE_SOFTWARE_LOOPBACK
extern const char LoopbackDescription[];    // "MS TCP Loopback interface"

// The interface indexes of the rows a sample counted, in table order: two
// samples' sums are comparable only when they cover the same interfaces.
struct IfIndexList {
    uint32_t Count;
    uint32_t Indexes[IfRowsCounted];
};

// Kept between samples: the baseline sums and each row position's running total.
struct NetStateRecord {
    bool Started; // the first sample primed the sums
    uint32_t PrevIn;
    uint32_t PrevOut;
    uint32_t LinkSpeed; // full scale chosen during the current sample
    uint32_t RowTotals[64];
    IfIndexList Counted; // the interfaces that PrevIn and PrevOut sum
};

// What one sample yields: the network meters' levels and the bytes behind them.
struct NetReading {
    int32_t InPercent;
    int32_t OutPercent;
    int32_t InBytes;
    int32_t OutBytes;
};

// Delta in bytes as 0-100 of a tenth of the link speed; 0 when below 1000.
int32_t TrafficPercent(int32_t delta, uint32_t linkSpeed);

// True for the loopback row, found by its type or its classic description.
bool IsLoopbackRow(const IfRowLayout* row);

// True when both lists hold the same indexes, in whatever order.
bool SameInterfaces(const IfIndexList* a, const IfIndexList* b);

// Sums a freshly read table against the state. Caps the table at 63 rows in
// place. The first call only primes the state and leaves the reading zero; so
// does a call whose counted interfaces are not the previous call's (one came
// or went), since the difference of sums over other interfaces is no traffic.
void SumIfTable(NetStateRecord* state, IfTableLayout* table, int32_t maxNetSpeed,
                NetReading* reading);
