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

// One row of the table that GetIfTable2 (Vista and later) answers, byte for
// byte MIB_IF_ROW2 as 32-bit and 64-bit Windows lay it out; only the index,
// the type and the status flags are read.
struct alignas(8) IfRow2Layout {
    uint64_t InterfaceLuid;
    uint32_t InterfaceIndex; // the number GetIfTable's rows carry as dwIndex
    uint8_t Before[1116];    // GUID, alias, description, addresses, MTU
    uint32_t Type;
    uint8_t Kinds[20];   // tunnel, media, physical medium, access and direction types
    uint8_t StatusFlags; // InterfaceAndOperStatusFlags: IfFlag... bits
    uint8_t After[199];  // the operational states and the 64-bit counters
};
static_assert(sizeof(IfRow2Layout) == 1352, "an interface row of GetIfTable2 is 1352 bytes");
static_assert(offsetof(IfRow2Layout, InterfaceIndex) == 8, "InterfaceIndex at 8");
static_assert(offsetof(IfRow2Layout, Type) == 1128, "Type at 1128");
static_assert(offsetof(IfRow2Layout, StatusFlags) == 1152, "InterfaceAndOperStatusFlags at 1152");
const uint8_t IfFlagHardware = 0x01; // HardwareInterface
const uint8_t IfFlagFilter = 0x02;   // FilterInterface

// MIB_IF_TABLE2: the row count, then the rows from offset 8.
struct IfTable2Layout {
    uint32_t NumEntries;
    IfRow2Layout Rows[1];
};
static_assert(offsetof(IfTable2Layout, Rows) == 8, "rows at 8");

// Which interfaces count, by index, as the last successful GetIfTable2 told.
// A filter driver's row repeats its adapter's bytes, and a tunnel or a virtual
// switch repeats bytes a physical link carries: where a physical link exists,
// only physical links count. All zero: nothing classified yet, the classic
// rule (every row but the loopback) applies.
const uint32_t IfClassRoom = 512;
struct IfClassification {
    bool Known;        // a table was classified
    bool HardwareOnly; // it had a hardware interface: only those count
    uint32_t Count;
    uint32_t Indexes[IfClassRoom]; // ascending
    bool Counted[IfClassRoom];     // beside each index
};

// Classifies a GetIfTable2 table's rows into `out`, replacing what it held.
// Rows beyond the room are still looked at for hardware but not listed.
void ClassifyInterfaces(const IfRow2Layout* rows, uint32_t count, IfClassification* out);

// Whether a GetIfTable row counts: never the loopback; before any
// classification every other row; an interface the classification does not
// list counts as a plain one would (not where only hardware counts).
bool IfRowCounted(const IfClassification* kinds, const IfRowLayout* row);

// The interface indexes of a table's rows, the loopback left out, in table
// order: two samples' sums are comparable only when they cover the same
// interfaces.
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
    IfIndexList Seen; // the interfaces of the table that PrevIn and PrevOut come from
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

// Caps the table at 63 rows in place and tells whether the next SumIfTable
// will only prime: before the first sample, and when the table's interfaces
// are not the previous sample's (one came or went, or a filter was bound).
bool InterfacesChanged(const NetStateRecord* state, IfTableLayout* table);

// Sums a freshly read table's counted rows against the state. Caps the table
// at 63 rows in place. The first call only primes the state and leaves the
// reading zero; so does a call whose interfaces are not the previous call's,
// since the difference of sums over other interfaces is no traffic.
void SumIfTable(NetStateRecord* state, IfTableLayout* table, const IfClassification* kinds,
                int32_t maxNetSpeed, NetReading* reading);
