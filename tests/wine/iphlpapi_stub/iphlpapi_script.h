// How a test scripts the interfaces that the test copy of IPHLPAPI.DLL
// describes through GetIfTable2: what Windows marks on each of them.
#pragma once

#include <windows.h>

const DWORD ScriptedInterfaceRoom = 64;
struct ScriptedInterface {
    DWORD Index;   // the same as the dwIndex of its GetIfTable row
    DWORD Type;    // IF_TYPE_...
    BOOL Hardware; // InterfaceAndOperStatusFlags.HardwareInterface
    BOOL Filter;   // InterfaceAndOperStatusFlags.FilterInterface
    char Description[128];
};
