// A test copy of IPHLPAPI.DLL: GetIfTable answers whatever interface table the
// test scripted through ScriptIfTable, so that traffic is known exactly.
#include <windows.h>
#include <iprtrmib.h>

namespace {

const DWORD RowRoom = 600; // more than the plug-in's buffer holds, to script its overflow
struct ScriptedTable {
    DWORD NumEntries;
    MIB_IFROW Rows[RowRoom];
};
ScriptedTable Scripted;
DWORD ScriptedError = NO_ERROR;
LONG Calls;

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

} // extern "C"
