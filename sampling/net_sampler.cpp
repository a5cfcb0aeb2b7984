// The network sampler: the interface table read through IPHLPAPI.DLL's
// GetIfTable into one static buffer, summed by SumIfTable. The sampler holds
// the library from StartNetSampler to StopNetSampler.
#include "sampling/sampling.h"
#include "sampling/net_sampler.h"
#include "sampling/net_traffic.h"

#include <iprtrmib.h>

typedef DWORD(WINAPI* GetIfTableProc)(PMIB_IFTABLE table, PULONG size, BOOL order);

static_assert(sizeof(MIB_IFROW) == sizeof(IfRowLayout), "rows match MIB_IFROW");
static_assert(offsetof(MIB_IFTABLE, table) == offsetof(IfTableLayout, Rows), "rows at 4");
static_assert(offsetof(MIB_IFROW, dwType) == offsetof(IfRowLayout, Type), "dwType");
static_assert(offsetof(MIB_IFROW, dwSpeed) == offsetof(IfRowLayout, Speed), "dwSpeed");
static_assert(offsetof(MIB_IFROW, dwInOctets) == offsetof(IfRowLayout, InOctets), "dwInOctets");
static_assert(offsetof(MIB_IFROW, dwOutOctets) == offsetof(IfRowLayout, OutOctets), "dwOutOctets");
static_assert(offsetof(MIB_IFROW, bDescr) == offsetof(IfRowLayout, Descr), "bDescr");
static_assert(sizeof(NetSampleRecord) == sizeof(NetReading), "one sample's fields");

NetSampleRecord NetSample;
HMODULE IpHelperModule;
static GetIfTableProc GetIfTable; // 0 when IPHLPAPI.DLL lacks it
static NetStateRecord NetState;
static IfTableLayout IfTableBuffer;

// IPHLPAPI.DLL is required; a missing GetIfTable only silences the network meters.
bool StartNetSampler() {
    IpHelperModule = LoadLibraryA("IPHLPAPI.DLL");
    if (!IpHelperModule) return false;
    GetIfTable = reinterpret_cast<GetIfTableProc>(
        reinterpret_cast<void*>(GetProcAddress(IpHelperModule, "GetIfTable")));
    if (!GetIfTable) {
        FreeLibrary(IpHelperModule);
        IpHelperModule = nullptr;
    }
    return true;
}

void StopNetSampler() {
    if (!IpHelperModule) return;
    FreeLibrary(IpHelperModule);
    IpHelperModule = nullptr;
    GetIfTable = nullptr;
}

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
