// The network sampler: the interface table read through IPHLPAPI.DLL's
// GetIfTable into one static buffer, summed by SumIfTable.
#include "sampling/sampling.h"
#include "sampling/net_traffic.h"
#include "plugin/plugin_state.h"

static_assert(sizeof(MIB_IFROW) == sizeof(IfRowLayout), "rows match MIB_IFROW");
static_assert(offsetof(MIB_IFTABLE, table) == offsetof(IfTableLayout, Rows), "rows at 4");
static_assert(offsetof(MIB_IFROW, dwType) == offsetof(IfRowLayout, Type), "dwType");
static_assert(offsetof(MIB_IFROW, dwSpeed) == offsetof(IfRowLayout, Speed), "dwSpeed");
static_assert(offsetof(MIB_IFROW, dwInOctets) == offsetof(IfRowLayout, InOctets), "dwInOctets");
static_assert(offsetof(MIB_IFROW, dwOutOctets) == offsetof(IfRowLayout, OutOctets), "dwOutOctets");
static_assert(offsetof(MIB_IFROW, bDescr) == offsetof(IfRowLayout, Descr), "bDescr");
static_assert(sizeof(NetSampleRecord) == sizeof(NetReading), "one sample's fields");

NetSampleRecord NetSample;
static NetStateRecord NetState;
static IfTableLayout IfTableBuffer;

void SampleNet(NetSampleRecord* sample) {
    *sample = NetSampleRecord{};
    if (!IpHelperModule || !GetIfTable) return;
    ULONG size = IfTableBytes;
    // A failed read leaves the sums alone: the next deltas cover both intervals.
    if (GetIfTable(reinterpret_cast<PMIB_IFTABLE>(&IfTableBuffer), &size, FALSE) != NO_ERROR)
        return;
    NetReading reading;
    SumIfTable(&NetState, &IfTableBuffer, MaxNetSpeed, &reading);
    sample->InPercent = reading.InPercent;
    sample->OutPercent = reading.OutPercent;
    sample->InBytes = reading.InBytes;
    sample->OutBytes = reading.OutBytes;
}
