// The network sampler: GetIfTable into one static buffer, summed by SumIfTable
// over the interfaces that GetIfTable2 (Vista and later) says carry bytes of
// their own.
#include "sampling/net_sampler.h"

#include "settings/settings_record.h"
#include "win32/proc_address.h"

#include <iprtrmib.h>

typedef DWORD(WINAPI* GetIfTableProc)(PMIB_IFTABLE table, PULONG size, BOOL order);
typedef DWORD(WINAPI* GetIfTable2Proc)(IfTable2Layout** table); // PMIB_IF_TABLE2*
typedef void(WINAPI* FreeMibTableProc)(void* memory);

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
// Both or neither: 0 before Vista, and the classic rule stands.
static GetIfTable2Proc GetIfTable2;
static FreeMibTableProc FreeMibTable;
static NetStateRecord NetState;
static IfTableLayout IfTableBuffer;
static IfClassification Kinds;
static bool ClassifyAtNextSample; // the priming sample after a start classifies

// IPHLPAPI.DLL is required; a missing GetIfTable only silences the network meters.
bool StartNetSampler() {
    IpHelperModule = LoadLibraryA("IPHLPAPI.DLL");
    if (!IpHelperModule) return false;
    GetIfTable = ProcAddress<GetIfTableProc>(IpHelperModule, "GetIfTable");
    if (!GetIfTable) {
        FreeLibrary(IpHelperModule);
        IpHelperModule = nullptr;
        return true;
    }
    GetIfTable2 = ProcAddress<GetIfTable2Proc>(IpHelperModule, "GetIfTable2");
    FreeMibTable = ProcAddress<FreeMibTableProc>(IpHelperModule, "FreeMibTable");
    if (!GetIfTable2 || !FreeMibTable) {
        GetIfTable2 = nullptr;
        FreeMibTable = nullptr;
    }
    // Each start begins with the classic rule until its priming sample classifies.
    Kinds = IfClassification{};
    ClassifyAtNextSample = true;
    return true;
}

void StopNetSampler() {
    if (!IpHelperModule) return;
    FreeLibrary(IpHelperModule);
    IpHelperModule = nullptr;
    GetIfTable = nullptr;
    GetIfTable2 = nullptr;
    FreeMibTable = nullptr;
}

// Renews the classification from GetIfTable2, whose table the system
// allocates and FreeMibTable releases at once. A failure keeps the last one.
static void ClassifyInterfacesNow() {
    if (!GetIfTable2) return;
    IfTable2Layout* table = nullptr;
    const DWORD status = GetIfTable2(&table);
    if (status == NO_ERROR && table) ClassifyInterfaces(table->Rows, table->NumEntries, &Kinds);
    if (table) FreeMibTable(table);
}

void SampleNet() {
    LastSample = NetReading{};
    if (!IpHelperModule || !GetIfTable) return;
    ULONG size = IfTableBytes;
    // A failed read leaves the sums alone: the next deltas cover both intervals.
    if (GetIfTable(reinterpret_cast<PMIB_IFTABLE>(&IfTableBuffer), &size, FALSE) != NO_ERROR)
        return;
    // Classified only where the sums start again anyway: never on a tick
    // whose interfaces are the last tick's.
    if (InterfacesChanged(&NetState, &IfTableBuffer) || ClassifyAtNextSample) {
        ClassifyAtNextSample = false;
        ClassifyInterfacesNow();
    }
    SumIfTable(&NetState, &IfTableBuffer, &Kinds, Settings.MaxNetSpeed, &LastSample);
}
