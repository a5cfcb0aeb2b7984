// A test copy of IPHLPAPI.DLL: GetIfTable answers whatever interface table the
// test scripted through ScriptIfTable, so that traffic is known exactly, and
// GetIfTable2 the same interfaces as Windows Vista and later describe them
// (each adapter beside its filter rows, the physical ones marked as
// hardware), scripted through ScriptIfTable2.
#include <winsock2.h>
#include <windows.h>
#include <iprtrmib.h>
#include <netioapi.h>

#include "sampling/net_traffic.h"
#include "tests/wine/iphlpapi_stub/iphlpapi_script.h"

#include <cstddef>

// The plug-in reads GetIfTable2's rows through its own layout: it must be
// the SDK's MIB_IF_ROW2 byte for byte.
static_assert(sizeof(MIB_IF_ROW2) == sizeof(IfRow2Layout), "rows match MIB_IF_ROW2");
static_assert(offsetof(MIB_IF_ROW2, InterfaceIndex) == offsetof(IfRow2Layout, InterfaceIndex),
              "InterfaceIndex");
static_assert(offsetof(MIB_IF_ROW2, Type) == offsetof(IfRow2Layout, Type), "Type");
static_assert(offsetof(MIB_IF_ROW2, InterfaceAndOperStatusFlags) ==
                  offsetof(IfRow2Layout, StatusFlags),
              "InterfaceAndOperStatusFlags");
static_assert(offsetof(MIB_IF_TABLE2, Table) == offsetof(IfTable2Layout, Rows), "Table");

namespace {

const DWORD RowRoom = 600; // more than the plug-in's buffer holds, to script its overflow
struct ScriptedTable {
    DWORD NumEntries;
    MIB_IFROW Rows[RowRoom];
};
ScriptedTable Scripted;
DWORD ScriptedError = NO_ERROR;
LONG Calls;

ScriptedInterface Interfaces[ScriptedInterfaceRoom];
DWORD InterfaceCount;
DWORD Table2Error = NO_ERROR;
LONG Table2Calls;
LONG LiveTables; // tables GetIfTable2 handed out and FreeMibTable has not taken back

} // namespace

extern "C" {

// Copies the table the test built (rows beyond the room are dropped) and
// the error every following GetIfTable answers (NO_ERROR for success).
void __stdcall ScriptIfTable(const MIB_IFTABLE* table, DWORD error) {
    DWORD rows = table->dwNumEntries < RowRoom ? table->dwNumEntries : RowRoom;
    Scripted.NumEntries = rows;
    CopyMemory(Scripted.Rows, table->table, rows * sizeof(MIB_IFROW));
    ScriptedError = error;
}

LONG __stdcall IfTableCalls() {
    return Calls;
}

DWORD __stdcall GetIfTable(PMIB_IFTABLE table, PULONG size, BOOL order) {
    (void)order;
    InterlockedIncrement(&Calls);
    if (ScriptedError != NO_ERROR) return ScriptedError;
    if (!size) return ERROR_INVALID_PARAMETER;
    ULONG needed = sizeof(DWORD) + Scripted.NumEntries * sizeof(MIB_IFROW);
    if (!table || *size < needed) {
        *size = needed;
        return ERROR_INSUFFICIENT_BUFFER;
    }
    CopyMemory(table, &Scripted, needed);
    return NO_ERROR;
}

// The interfaces every following GetIfTable2 describes, and its answer.
void __stdcall ScriptIfTable2(const ScriptedInterface* interfaces, DWORD count, DWORD error) {
    InterfaceCount = count < ScriptedInterfaceRoom ? count : ScriptedInterfaceRoom;
    CopyMemory(Interfaces, interfaces, InterfaceCount * sizeof *interfaces);
    Table2Error = error;
}

LONG __stdcall IfTable2Calls() {
    return Table2Calls;
}

LONG __stdcall LiveIfTables() {
    return LiveTables;
}

// As documented: the table is allocated here and released by FreeMibTable;
// on failure nothing is handed out.
NETIO_STATUS NETIOAPI_API_ GetIfTable2(PMIB_IF_TABLE2* table) {
    InterlockedIncrement(&Table2Calls);
    if (!table) return ERROR_INVALID_PARAMETER;
    *table = nullptr;
    if (Table2Error != NO_ERROR) return Table2Error;
    const SIZE_T bytes =
        offsetof(MIB_IF_TABLE2, Table) + (InterfaceCount + 1) * sizeof(MIB_IF_ROW2);
    auto answer = static_cast<PMIB_IF_TABLE2>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, bytes));
    if (!answer) return ERROR_NOT_ENOUGH_MEMORY;
    answer->NumEntries = InterfaceCount;
    for (DWORD i = 0; i < InterfaceCount; i++) {
        MIB_IF_ROW2& row = answer->Table[i];
        row.InterfaceIndex = Interfaces[i].Index;
        row.InterfaceLuid.Value = Interfaces[i].Index;
        row.Type = Interfaces[i].Type;
        row.InterfaceAndOperStatusFlags.HardwareInterface = Interfaces[i].Hardware;
        row.InterfaceAndOperStatusFlags.FilterInterface = Interfaces[i].Filter;
        row.OperStatus = IfOperStatusUp;
        MultiByteToWideChar(CP_ACP, 0, Interfaces[i].Description, -1, row.Description,
                            IF_MAX_STRING_SIZE);
        // The 64-bit counters carry the bytes that GetIfTable's row of the same
        // interface shows; the plug-in reads only the classic ones.
        for (DWORD r = 0; r < Scripted.NumEntries; r++)
            if (Scripted.Rows[r].dwIndex == row.InterfaceIndex) {
                row.InOctets = Scripted.Rows[r].dwInOctets;
                row.OutOctets = Scripted.Rows[r].dwOutOctets;
            }
    }
    InterlockedIncrement(&LiveTables);
    *table = answer;
    return NO_ERROR;
}

VOID NETIOAPI_API_ FreeMibTable(PVOID memory) {
    if (!memory) return;
    HeapFree(GetProcessHeap(), 0, memory);
    InterlockedDecrement(&LiveTables);
}

} // extern "C"
