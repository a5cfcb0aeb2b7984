// The sampling of the real plug-in code, started with InitGlobalModule in this
// process and driven by WM_TIMER messages. The network sampler reads scripted
// interface tables from the test copy of IPHLPAPI.DLL in bin/iphlpapi_stub/,
// loaded here by full path before start-up, so that the plug-in's own
// LoadLibraryA("IPHLPAPI.DLL") finds that already loaded copy (ctest runs this
// program with WINEDLLOVERRIDES=iphlpapi=n so that Wine accepts it).
//
// Where Wine cannot show what Windows does, the test answers the plug-in's
// run-time lookups itself (through the GetProcAddress entry of this program's
// import table, which the plug-in code linked in here calls): GetIfTable2
// missing, as before Vista, and the processor counts of machines with more
// processors than a 32-bit process is shown.
#include "sampling/cpu_sampler.h"
#include "sampling/net_sampler.h"
#include "tests/wine/iphlpapi_stub/iphlpapi_script.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/render_gdi_hooks.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <iprtrmib.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

typedef void(__stdcall* ScriptIfTableProc)(const MIB_IFTABLE* table, DWORD error);
typedef LONG(__stdcall* IfTableCallsProc)();
typedef void(__stdcall* ScriptIfTable2Proc)(const ScriptedInterface* interfaces, DWORD count,
                                            DWORD error);
typedef LONG(WINAPI* NtQueryProc)(ULONG infoClass, PVOID buffer, ULONG length, PULONG returned);

// ---- The plug-in's run-time lookups, answered by the test where it says so ----

decltype(&GetProcAddress) RealGetProcAddress;
bool HideIfTable2; // as on 95 to XP

// A machine as the processor counts and the native query describe it; a
// count of 0 stands for a call the system lacks.
struct StandInProcessors {
    bool active;
    uint8_t basic;      // class 0's NumberOfProcessors
    uint32_t native;    // GetNativeSystemInfo
    uint32_t allGroups; // GetActiveProcessorCount(ALL_PROCESSOR_GROUPS)
};
StandInProcessors Processors;
uint64_t StandInTime = 132000000000000000ull, StandInIdle;
int NativeInfoCalls, ActiveCountCalls;
WORD ActiveCountGroup;

LONG WINAPI StandInNtQuery(ULONG infoClass, PVOID buffer, ULONG length, PULONG) {
    auto bytes = static_cast<uint8_t*>(buffer);
    std::memset(buffer, 0, length);
    if (infoClass == 0 && length >= 44) bytes[40] = Processors.basic;
    if (infoClass == 3 && length >= 16) std::memcpy(bytes + 8, &StandInTime, 8);
    if (infoClass == 2 && length >= 8) std::memcpy(bytes, &StandInIdle, 8);
    return 0;
}
void WINAPI StandInNativeInfo(LPSYSTEM_INFO info) {
    ++NativeInfoCalls;
    std::memset(info, 0, sizeof *info);
    info->dwNumberOfProcessors = Processors.native;
}
DWORD WINAPI StandInActiveCount(WORD group) {
    ++ActiveCountCalls;
    ActiveCountGroup = group;
    return Processors.allGroups;
}

FARPROC WINAPI LookUp(HMODULE module, LPCSTR name) {
    const bool byName = reinterpret_cast<uintptr_t>(name) > 0xFFFF;
    auto answer = [](auto proc) {
        return reinterpret_cast<FARPROC>(reinterpret_cast<void*>(proc));
    };
    if (byName && HideIfTable2 && !strcmp(name, "GetIfTable2")) return nullptr;
    if (byName && Processors.active) {
        if (!strcmp(name, "NtQuerySystemInformation")) return answer(StandInNtQuery);
        if (!strcmp(name, "GetNativeSystemInfo"))
            return Processors.native ? answer(StandInNativeInfo) : nullptr;
        if (!strcmp(name, "GetActiveProcessorCount"))
            return Processors.allGroups ? answer(StandInActiveCount) : nullptr;
    }
    return RealGetProcAddress(module, name);
}

struct ScriptedRows {
    DWORD NumEntries;
    MIB_IFROW Rows[600];
};
ScriptedRows Interfaces;

HMODULE Stub;
ScriptIfTableProc ScriptIfTable;
IfTableCallsProc IfTableCalls;
ScriptIfTable2Proc ScriptIfTable2;
IfTableCallsProc IfTable2Calls, LiveIfTables;

std::string StubPath() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path);
    return dir.substr(0, dir.rfind('\\')) + "\\iphlpapi_stub\\IPHLPAPI.DLL";
}

void Script(DWORD error = NO_ERROR) {
    ScriptIfTable(reinterpret_cast<const MIB_IFTABLE*>(&Interfaces), error);
}

// Row 0 is the loopback (by type; its description is Wine's), row 1 a 10 Mbit/s Ethernet.
void ScriptTwoInterfaces() {
    Interfaces = ScriptedRows{};
    Interfaces.NumEntries = 2;
    Interfaces.Rows[0].dwIndex = 1;
    Interfaces.Rows[0].dwType = 24;
    Interfaces.Rows[0].dwSpeed = 10000000;
    lstrcpyA(reinterpret_cast<char*>(Interfaces.Rows[0].bDescr), "lo");
    Interfaces.Rows[1].dwIndex = 2;
    Interfaces.Rows[1].dwType = 6;
    Interfaces.Rows[1].dwSpeed = 10000000;
    lstrcpyA(reinterpret_cast<char*>(Interfaces.Rows[1].bDescr), "eth0");
    Interfaces.Rows[1].dwInOctets = 1000;
    Interfaces.Rows[1].dwOutOctets = 500;
    Script();
}

LRESULT CALLBACK ShellProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class SamplingInPlugin : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        Stub = LoadLibraryA(StubPath().c_str());
        ASSERT_NE(Stub, nullptr) << StubPath();
        ScriptIfTable = reinterpret_cast<ScriptIfTableProc>(
            reinterpret_cast<void*>(GetProcAddress(Stub, "ScriptIfTable")));
        IfTableCalls = reinterpret_cast<IfTableCallsProc>(
            reinterpret_cast<void*>(GetProcAddress(Stub, "IfTableCalls")));
        ScriptIfTable2 = reinterpret_cast<ScriptIfTable2Proc>(
            reinterpret_cast<void*>(GetProcAddress(Stub, "ScriptIfTable2")));
        IfTable2Calls = reinterpret_cast<IfTableCallsProc>(
            reinterpret_cast<void*>(GetProcAddress(Stub, "IfTable2Calls")));
        LiveIfTables = reinterpret_cast<IfTableCallsProc>(
            reinterpret_cast<void*>(GetProcAddress(Stub, "LiveIfTables")));
        ASSERT_TRUE(ScriptIfTable && IfTableCalls && ScriptIfTable2 && IfTable2Calls &&
                    LiveIfTables);
        gdi_hooks::Lookup(GetModuleHandleA("kernel32.dll"), "GetProcAddress", &RealGetProcAddress);
        ASSERT_GE(gdi_hooks::PatchImport(GetModuleHandleA(nullptr),
                                         reinterpret_cast<void*>(RealGetProcAddress),
                                         reinterpret_cast<void*>(LookUp)),
                  1);
        WNDCLASSA c = {};
        c.lpfnWndProc = ShellProc;
        c.hInstance = GetModuleHandleA(nullptr);
        c.lpszClassName = "SamplingTestShell";
        RegisterClassA(&c);
    }

    void SetUp() override {
        ASSERT_NE(Stub, nullptr);
        ModuleInstance = GetModuleHandleA(nullptr);
        shell = CreateWindowExA(0, "SamplingTestShell", "", WS_OVERLAPPED, 0, 0, 0, 0, nullptr,
                                nullptr, ModuleInstance, nullptr);
        desktop = CreateWindowExA(0, "SamplingTestShell", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480,
                                  nullptr, nullptr, ModuleInstance, nullptr);
        version.dwOSVersionInfoSize = sizeof version;
        GetVersionExA(&version);
        HideIfTable2 = false;
        Processors = StandInProcessors{};
        ScriptIfTable2(nullptr, 0, NO_ERROR); // no interface described
        ScriptTwoInterfaces();
    }

    void TearDown() override {
        if (started) DoneModule();
        DestroyWindow(shell);
        DestroyWindow(desktop);
    }

    // Starts the plug-in as a Desktop-level (painted) meter on the given platform.
    void Start(DWORD platform, const std::string& extra = "",
               const std::string& netInFormat = "in %i/s") {
        std::string ini = "[Quilbex]\r\nSkin=" + TestDataPath("settings/background.png") +
                          "\r\nZ-Order=0\r\nX=10\r\nY=10\r\n"
                          "CPUTextFormat=CPU %i%\r\nMEMTextFormat=%i Mb\r\n"
                          "NetInTextFormat=" +
                          netInFormat + "\r\nNetOutTextFormat=out %i\r\n" + extra;
        configPath = TempPath("sampling", ".ini");
        ASSERT_TRUE(WriteTextFile(configPath, ini));
        version.dwPlatformId = platform;
        record = PluginShellRecord{};
        record.PropertiesName = "Vorlamet";
        context = HostContextRecord{};
        context.PluginRecord = &record;
        context.OsVersion = &version;
        context.ShellWindow = shell;
        context.DesktopParent = desktop;
        context.ConfigHandle = const_cast<char*>(configPath.c_str());
        callsBefore = IfTableCalls();
        InitGlobalModule(&context);
        started = true;
        ASSERT_NE(PluginWindow, nullptr);
        ASSERT_EQ(Surface.PaintMode, 0);
    }

    LRESULT Tick(UINT_PTR id) { return SendMessageA(PluginWindow, WM_TIMER, id, 0); }
    bool NeedsRepaint() { return GetUpdateRect(PluginWindow, nullptr, FALSE) != FALSE; }

    HWND shell = nullptr, desktop = nullptr;
    OSVERSIONINFOA version = {};
    PluginShellRecord record = {};
    HostContextRecord context = {};
    std::string configPath;
    LONG callsBefore = 0;
    bool started = false;
};

std::string CpuText(int32_t headroom) {
    return "CPU " + std::to_string(100 - headroom) + "%";
}

TEST_F(SamplingInPlugin, StartUpLoadsTheStubPrimesAndTicksOnce) {
    Start(VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(IpHelperModule, Stub);
    // The priming sample and the synthetic network tick.
    EXPECT_EQ(IfTableCalls() - callsBefore, 2);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 100);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 0 /s");
    EXPECT_STREQ(ReadingsToRenew().NetOut.Text, "out 0");
    EXPECT_EQ(CpuText(ReadingsToRenew().Cpu.Headroom), ReadingsToRenew().Cpu.Text)
        << "the synthetic update tick ran";
    EXPECT_EQ(ChosenCpuMethod, CpuMethodNt);
}

TEST_F(SamplingInPlugin, NetworkTickShowsScriptedTrafficWithoutRedrawing) {
    Start(VER_PLATFORM_WIN32_NT);
    Interfaces.Rows[0].dwInOctets += 900000000; // loopback traffic never counts
    Interfaces.Rows[0].dwOutOctets += 900000000;
    Interfaces.Rows[1].dwInOctets += 250000;
    Interfaces.Rows[1].dwOutOctets += 1536;
    Script();
    ValidateRect(PluginWindow, nullptr);
    LONG calls = IfTableCalls();
    EXPECT_EQ(Tick(TimerNet), DefWindowProcA(PluginWindow, WM_TIMER, TimerNet, 0));
    EXPECT_EQ(IfTableCalls() - calls, 1);
    EXPECT_EQ(NetSample.InBytes, 250000);
    EXPECT_EQ(NetSample.OutBytes, 1536);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 75);
    EXPECT_EQ(ReadingsToRenew().NetOut.Headroom, 100);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 244.1 K/s");
    EXPECT_STREQ(ReadingsToRenew().NetOut.Text, "out 1.5 K");
    EXPECT_FALSE(NeedsRepaint()) << "a network tick draws nothing";

    EXPECT_EQ(Tick(TimerUpdate), 0);
    EXPECT_EQ(IfTableCalls() - calls, 1) << "the update tick does not sample the network";
    EXPECT_TRUE(NeedsRepaint()) << "the update tick renews the picture";
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 244.1 K/s") << "kept for the renewal";

    Interfaces.Rows[1].dwInOctets += 5000000;
    Script();
    Tick(TimerNet);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 0);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 4.7 M/s");
    EXPECT_STREQ(ReadingsToRenew().NetOut.Text, "out 0");
}

TEST_F(SamplingInPlugin, FailedTableReadsZeroAndTheNextCoversBothIntervals) {
    Start(VER_PLATFORM_WIN32_NT);
    Interfaces.Rows[1].dwInOctets += 100000;
    Interfaces.NumEntries = 514; // more rows than the plug-in's buffer holds
    Script();
    Tick(TimerNet);
    EXPECT_EQ(NetSample.InBytes, 0);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 100);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 0 /s");
    Interfaces.NumEntries = 2;
    Interfaces.Rows[1].dwInOctets += 150000;
    Script(ERROR_NOT_SUPPORTED);
    Tick(TimerNet);
    EXPECT_EQ(NetSample.InBytes, 0);
    Script();
    Tick(TimerNet);
    EXPECT_EQ(NetSample.InBytes, 250000);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 75);
}

// An adapter with gigabytes on its counters goes (only the loopback is left)
// and comes back: neither tick shows traffic, and the one after counts again.
TEST_F(SamplingInPlugin, AdapterThatComesAndGoesShowsNoSpike) {
    Interfaces.Rows[1].dwInOctets = 3000000000u;
    Interfaces.Rows[1].dwOutOctets = 1200000000u;
    Script();
    Start(VER_PLATFORM_WIN32_NT, "MaxNetSpeed=10000000\r\n");
    const MIB_IFROW adapter = Interfaces.Rows[1];
    const struct {
        const char* name;
        DWORD rows;
    } steps[] = {{"the adapter vanishes", 1}, {"the adapter returns", 2}};
    for (const auto& step : steps) {
        Interfaces.NumEntries = step.rows;
        Interfaces.Rows[0].dwInOctets += 4096; // loopback traffic never counts
        Script();
        Tick(TimerNet);
        EXPECT_EQ(NetSample.InBytes, 0) << step.name;
        EXPECT_EQ(NetSample.OutBytes, 0) << step.name;
        EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 100) << step.name;
        EXPECT_EQ(ReadingsToRenew().NetOut.Headroom, 100) << step.name;
        EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 0 /s") << step.name;
        EXPECT_STREQ(ReadingsToRenew().NetOut.Text, "out 0") << step.name;
    }
    EXPECT_EQ(Interfaces.Rows[1].dwInOctets, adapter.dwInOctets);
    Interfaces.Rows[1].dwInOctets += 50000;
    Script();
    Tick(TimerNet);
    EXPECT_EQ(NetSample.InBytes, 50000);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 95);
}

TEST_F(SamplingInPlugin, MaxNetSpeedScalesAgainstItsOwnFullScale) {
    Start(VER_PLATFORM_WIN32_NT, "MaxNetSpeed=64000\r\n");
    Interfaces.Rows[1].dwInOctets += 3200;
    Interfaces.Rows[1].dwOutOctets += 640;
    Script();
    Tick(TimerNet);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 50);
    EXPECT_EQ(ReadingsToRenew().NetOut.Headroom, 90);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 3.1 K/s");
    EXPECT_STREQ(ReadingsToRenew().NetOut.Text, "out 640");
}

TEST_F(SamplingInPlugin, CpuTextIsTheLoadEveryTick) {
    Start(VER_PLATFORM_WIN32_NT);
    for (int i = 0; i < 6; i++) {
        ASSERT_EQ(Tick(TimerUpdate), 0);
        EXPECT_GE(ReadingsToRenew().Cpu.Headroom, 0);
        EXPECT_LE(ReadingsToRenew().Cpu.Headroom, 100);
        EXPECT_EQ(CpuText(ReadingsToRenew().Cpu.Headroom), ReadingsToRenew().Cpu.Text) << i;
        Sleep(0);
    }
}

// The memory level and text, read around the tick: other processes may
// change the figures at any moment, so a tick whose neighbours disagree is
// taken again. The figures are the full 64-bit ones: GlobalMemoryStatus alone
// caps them at 2 GB and would show a large machine's memory in use as 0.
TEST_F(SamplingInPlugin, MemoryFollowsTheSystemFigures) {
    Start(VER_PLATFORM_WIN32_NT);
    bool settled = false;
    for (int attempt = 0; attempt < 20 && !settled; attempt++) {
        MEMORYSTATUSEX before = {}, after = {};
        before.dwLength = after.dwLength = sizeof before;
        ASSERT_TRUE(GlobalMemoryStatusEx(&before));
        Tick(TimerUpdate);
        ASSERT_TRUE(GlobalMemoryStatusEx(&after));
        if (before.dwMemoryLoad != after.dwMemoryLoad || before.ullAvailPhys != after.ullAvailPhys)
            continue;
        settled = true;
        EXPECT_EQ(ReadingsToRenew().Mem.Headroom, 100 - static_cast<int32_t>(after.dwMemoryLoad));
        uint64_t used = (after.ullTotalPhys - after.ullAvailPhys) >> 20;
        EXPECT_EQ(std::to_string(used) + " Mb", ReadingsToRenew().Mem.Text);
        EXPECT_GT(used, 0u);
    }
    EXPECT_TRUE(settled) << "memory figures never held still across one tick";
}

TEST_F(SamplingInPlugin, UnknownPlatformAnswersFullLoad) {
    for (DWORD platform : {0ul, 3ul}) {
        Start(platform);
        EXPECT_EQ(ChosenCpuMethod, CpuMethodNone) << platform;
        Tick(TimerUpdate);
        EXPECT_EQ(ReadingsToRenew().Cpu.Headroom, 0) << platform;
        EXPECT_STREQ(ReadingsToRenew().Cpu.Text, "CPU 100%") << platform;
        DoneModule();
        started = false;
    }
}

// Platform 1: the usage device does not open here, so the registry statistics
// serve, from the module's directory back to the caller's own.
TEST_F(SamplingInPlugin, Windows9xFallsBackToTheRegistryStatistics) {
    for (const char* useVxd : {"UseVXD=1\r\n", "UseVXD=0\r\n"}) {
        char temp[MAX_PATH], before[MAX_PATH], after[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        ASSERT_TRUE(SetCurrentDirectoryA(temp));
        GetCurrentDirectoryA(sizeof before, before);
        Start(VER_PLATFORM_WIN32_WINDOWS, useVxd);
        GetCurrentDirectoryA(sizeof after, after);
        EXPECT_STREQ(before, after) << useVxd;
        EXPECT_EQ(ChosenCpuMethod, CpuMethodRegistry) << useVxd;
        Tick(TimerUpdate);
        // Wine keeps no CPU statistic, so the reading stays at its start value 0.
        EXPECT_EQ(ReadingsToRenew().Cpu.Headroom, 100) << useVxd;
        EXPECT_STREQ(ReadingsToRenew().Cpu.Text, "CPU 0%") << useVxd;
        DoneModule();
        started = false;
    }
}

TEST_F(SamplingInPlugin, OtherTimersOnlyReachTheDefaultProcedure) {
    Start(VER_PLATFORM_WIN32_NT);
    Interfaces.Rows[1].dwInOctets += 250000;
    Script();
    ValidateRect(PluginWindow, nullptr);
    LONG calls = IfTableCalls();
    lstrcpyA(ReadingsToRenew().Cpu.Text, "untouched");
    EXPECT_EQ(Tick(TimerGhost), 0);
    EXPECT_EQ(Tick(777), 0);
    EXPECT_EQ(IfTableCalls(), calls);
    EXPECT_STREQ(ReadingsToRenew().Cpu.Text, "untouched");
    EXPECT_FALSE(NeedsRepaint());
}

TEST_F(SamplingInPlugin, MeterWithoutTextKeepsItsTextButFollowsTheSamples) {
    Start(VER_PLATFORM_WIN32_NT, "", "");
    ASSERT_FALSE(SettingsForLoading().NetInMeter.TextEnabled);
    Interfaces.Rows[1].dwInOctets += 250000;
    Script();
    Tick(TimerNet);
    EXPECT_EQ(ReadingsToRenew().NetIn.Headroom, 75);
    EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "");
}

// ---- Each byte counted once: the interfaces as Windows 10 lists them ----

// A Wi-Fi adapter beside three of its filter rows, a VPN tunnel and the host
// side of a virtual switch, and the loopback (GetIfTable2 describes each;
// GetIfTable lists the same rows with their octet counters).
const ScriptedInterface Windows10[] = {
    {1, 24, FALSE, FALSE, "Loopback Pseudo-Interface 1"},
    {12, 71, TRUE, FALSE, "Intel(R) Wi-Fi 6 AX201 160MHz"},
    {13, 71, FALSE, TRUE,
     "Intel(R) Wi-Fi 6 AX201 160MHz-WFP Native MAC Layer LightWeight Filter-0000"},
    {14, 71, FALSE, TRUE, "Intel(R) Wi-Fi 6 AX201 160MHz-QoS Packet Scheduler-0000"},
    {15, 71, FALSE, TRUE,
     "Intel(R) Wi-Fi 6 AX201 160MHz-WFP 802.3 MAC Layer LightWeight Filter-0000"},
    {31, 53, FALSE, FALSE, "WireGuard Tunnel"},
    {42, 6, FALSE, FALSE, "Hyper-V Virtual Ethernet Adapter"},
};
const DWORD TenMegabytes = 10u << 20;

void ScriptInterfaces(const std::vector<ScriptedInterface>& interfaces, DWORD table2Error) {
    Interfaces = ScriptedRows{};
    Interfaces.NumEntries = static_cast<DWORD>(interfaces.size());
    for (size_t i = 0; i < interfaces.size(); i++) {
        MIB_IFROW& row = Interfaces.Rows[i];
        row.dwIndex = interfaces[i].Index;
        row.dwType = interfaces[i].Type;
        row.dwSpeed = 100000000;
        lstrcpynA(reinterpret_cast<char*>(row.bDescr), interfaces[i].Description,
                  sizeof row.bDescr);
    }
    Script();
    ScriptIfTable2(interfaces.data(), static_cast<DWORD>(interfaces.size()), table2Error);
}

// 10 MB through the adapter: its filter rows show the same bytes, and the
// VPN's traffic shows on the tunnel too; the virtual switch is quiet.
void SendTenMegabytes() {
    for (DWORD i = 0; i < Interfaces.NumEntries; i++)
        if (Interfaces.Rows[i].dwIndex != 1 && Interfaces.Rows[i].dwIndex != 42)
            Interfaces.Rows[i].dwInOctets += TenMegabytes;
    Script();
}

TEST_F(SamplingInPlugin, Windows10TableCountsEachByteOnce) {
    const struct {
        const char* name;
        bool hideIfTable2;
        DWORD table2Error;
        LONG classifications; // GetIfTable2 calls at start-up
        const char* text;
    } cases[] = {
        {"classified by GetIfTable2", false, NO_ERROR, 1, "in 10.0 M/s"},
        {"without GetIfTable2: every row but the loopback", true, NO_ERROR, 0, "in 50.0 M/s"},
        {"GetIfTable2 failing from the start: the same", false, ERROR_NOT_SUPPORTED, 1,
         "in 50.0 M/s"},
    };
    for (const auto& c : cases) {
        HideIfTable2 = c.hideIfTable2;
        ScriptInterfaces({std::begin(Windows10), std::end(Windows10)}, c.table2Error);
        const LONG before = IfTable2Calls();
        Start(VER_PLATFORM_WIN32_NT);
        EXPECT_EQ(IfTable2Calls() - before, c.classifications) << c.name << ": the priming sample";
        SendTenMegabytes();
        Tick(TimerNet);
        EXPECT_STREQ(ReadingsToRenew().NetIn.Text, c.text) << c.name;
        EXPECT_EQ(IfTable2Calls() - before, c.classifications) << c.name << ": nothing changed";
        EXPECT_EQ(LiveIfTables(), 0) << c.name << ": every table released";
        DoneModule();
        started = false;
    }
}

// A capture tool binds its filter to the adapter while the meter runs: that
// tick classifies again and shows no traffic, and the next shows the adapter's.
// When the classification then fails, the last one stays in force.
TEST_F(SamplingInPlugin, InterfacesChangingWhileRunningAreClassifiedAgain) {
    std::vector<ScriptedInterface> interfaces(std::begin(Windows10), std::end(Windows10));
    ScriptInterfaces(interfaces, NO_ERROR);
    Start(VER_PLATFORM_WIN32_NT);
    const LONG before = IfTable2Calls();
    const ScriptedInterface npcap = {
        16, 71, FALSE, TRUE, "Intel(R) Wi-Fi 6 AX201 160MHz-Npcap Packet Driver (NPCAP)-0000"};
    const ScriptedInterface vpn = {32, 53, FALSE, FALSE, "TAP-Windows Adapter V9"};
    const struct {
        const char* name;
        ScriptedInterface added;
        DWORD table2Error;
    } steps[] = {{"a filter bound", npcap, NO_ERROR},
                 {"a VPN while GetIfTable2 fails", vpn, ERROR_NOT_SUPPORTED}};
    LONG classifications = 0;
    for (const auto& step : steps) {
        interfaces.push_back(step.added);
        static ScriptedRows counters;
        counters = Interfaces;
        ScriptInterfaces(interfaces, step.table2Error);
        for (DWORD i = 0; i + 1 < Interfaces.NumEntries; i++)
            Interfaces.Rows[i].dwInOctets = counters.Rows[i].dwInOctets;
        // The newcomer's counters start where its adapter's stand.
        Interfaces.Rows[Interfaces.NumEntries - 1].dwInOctets = 3000000000u;
        SendTenMegabytes();
        Tick(TimerNet);
        EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 0 /s") << step.name;
        EXPECT_EQ(IfTable2Calls() - before, ++classifications) << step.name;
        SendTenMegabytes();
        Tick(TimerNet);
        EXPECT_STREQ(ReadingsToRenew().NetIn.Text, "in 10.0 M/s") << step.name;
        EXPECT_EQ(IfTable2Calls() - before, classifications) << step.name;
    }
    EXPECT_EQ(LiveIfTables(), 0);
}

// ---- Every processor counted: machines with more than a 32-bit process sees ----

TEST_F(SamplingInPlugin, ProcessorCountAgreesWithTheIdleTimeSummed) {
    const struct {
        const char* name;
        StandInProcessors machine;
        uint32_t idleProcessors; // of the idle time summed over one second
        const char* text;
    } cases[] = {
        {"64 processors, Windows 10", {true, 32, 64, 64}, 32, "CPU 50%"},
        {"128 processors in two groups", {true, 32, 64, 128}, 96, "CPU 25%"},
        {"48 processors, Vista: no count of groups", {true, 32, 48, 0}, 24, "CPU 50%"},
        {"2 processors, 2000: the basic count alone", {true, 2, 0, 0}, 1, "CPU 50%"},
        {"32 processors: every count agrees", {true, 32, 32, 32}, 8, "CPU 75%"},
    };
    for (const auto& c : cases) {
        Processors = c.machine;
        NativeInfoCalls = ActiveCountCalls = 0;
        ActiveCountGroup = 0;
        Start(VER_PLATFORM_WIN32_NT);
        ASSERT_EQ(ChosenCpuMethod, CpuMethodNt) << c.name;
        for (int second = 0; second < 3; second++) {
            StandInTime += 10000000;
            StandInIdle += uint64_t(c.idleProcessors) * 10000000;
            Tick(TimerUpdate);
            EXPECT_STREQ(ReadingsToRenew().Cpu.Text, c.text) << c.name << ", second " << second;
        }
        EXPECT_EQ(NativeInfoCalls, c.machine.native ? 1 : 0) << c.name << ": once per start";
        EXPECT_EQ(ActiveCountCalls, c.machine.allGroups ? 1 : 0) << c.name << ": once per start";
        if (c.machine.allGroups) {
            EXPECT_EQ(ActiveCountGroup, 0xFFFF) << c.name;
        }
        DoneModule();
        started = false;
    }
}

} // namespace
