// The network sampler: GetIfTable into one static buffer, summed by SumIfTable.
#include "sampling/net_sampler.h"

#include "settings/settings_record.h"
#include "win32/proc_address.h"

#include <iprtrmib.h>

typedef DWORD(WINAPI* GetIfTableProc)(PMIB_IFTABLE table, PULONG size, BOOL order);

static_assert(sizeof(MIB_IFROW) == sizeof(IfRowLayout), "rows match MIB_IFROW");
static_assert(offsetof(MIB_IFTABLE, table) == offsetof(IfTableLayout, Rows), "rows at 4");
static_assert(offsetof(MIB_IFROW, dwType) == offsetof(IfRowLayout, Type), "dwType");
static_assert(offsetof(MIB_IFROW, dwSpeed) == offsetof(IfRowLayout, Speed), "dwSpeed");
static_assert(offsetof(MIB_IFROW, dwInOctets) == offsetof(IfRowLayout, InOctets), "dwInOctets");
static_assert(offsetof(MIB_IFROW, dwOutOctets) == offsetof(IfRowLayout, OutOctets), "dwOutOctets");
static_assert(offsetof(MIB_IFROW, bDescr) == offsetof(IfRowLayout, Descr), "bDescr");
static NetReading LastSample;
const NetReading& NetSample = LastSample;
HMODULE IpHelperModule;
static GetIfTableProc GetIfTable; // 0 when IPHLPAPI.DLL lacks it
static NetStateRecord NetState;
static IfTableLayout IfTableBuffer;

// IPHLPAPI.DLL is required; a missing GetIfTable only silences the network meters.
bool StartNetSampler() {
    IpHelperModule = LoadLibraryA("IPHLPAPI.DLL");
    if (!IpHelperModule) return false;
    GetIfTable = ProcAddress<GetIfTableProc>(IpHelperModule, "GetIfTable");
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

void SampleNet() {
    LastSample = NetReading{};
    if (!IpHelperModule || !GetIfTable) return;
    ULONG size = IfTableBytes;
    // A failed read leaves the sums alone: the next deltas cover both intervals.
    if (GetIfTable(reinterpret_cast<PMIB_IFTABLE>(&IfTableBuffer), &size, FALSE) != NO_ERROR)
        return;
    SumIfTable(&NetState, &IfTableBuffer, Settings.MaxNetSpeed, &LastSample);
}
