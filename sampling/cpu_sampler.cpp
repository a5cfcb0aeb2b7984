// The CPU samplers: the usage device and the dynamic registry statistics on
// the 95/98/Me family, the native system-information query on NT.
#include "sampling/cpu_sampler.h"

#include "sampling/cpu_load.h"
#include "settings/host_context.h"
#include "settings/settings_record.h"
#include "win32/proc_address.h"

#include <cstring>

typedef LONG(WINAPI* NtQuerySystemInformationProc)(ULONG infoClass, PVOID buffer, ULONG length,
                                                   PULONG returned);
typedef DWORD(WINAPI* GetActiveProcessorCountProc)(WORD group);
typedef void(WINAPI* GetNativeSystemInfoProc)(LPSYSTEM_INFO info);

const ULONG BasicInformationClass = 0;
const ULONG PerformanceInformationClass = 2;
const ULONG TimeOfDayInformationClass = 3;
const WORD AllProcessorGroups = 0xFFFF; // ALL_PROCESSOR_GROUPS
const DWORD VxdCpuUsageCode = 2;
const char CpuUsageValue[] = "KERNEL\\CPUUsage";

static uint8_t SampleCpuNone() {
    return 0;
}

// Never left empty, so that a tick before start-up reads full load, not a crash.
CpuSamplerProc SampleCpu = SampleCpuNone;
CpuMethod ChosenCpuMethod = CpuMethodNone;

static DWORD CpuReading;
static HANDLE VxdHandle;
static HKEY StatDataKey;
static bool StartedOnWindows9x; // platform 1: something to release at stop

static NtQuerySystemInformationProc NtQuery;
alignas(8) static uint8_t BasicInformation[44];
alignas(8) static uint8_t TimeOfDayInformation[32];
alignas(8) static uint8_t PerformanceInformation[316];
static uint64_t PrevIdleTime;
static uint64_t PrevSystemTime;
static uint32_t ProcessorCount; // the processors whose idle time class 2 sums

static uint64_t ReadUint64(const uint8_t* at) {
    uint64_t value;
    std::memcpy(&value, at, sizeof value);
    return value;
}
static uint8_t& NumberOfProcessors() {
    return BasicInformation[40];
}
static uint64_t CurrentTime() {
    return ReadUint64(TimeOfDayInformation + 8);
}
static uint64_t IdleTime() {
    return ReadUint64(PerformanceInformation);
}

static uint8_t SampleCpuNt() {
    if (NtQuery(TimeOfDayInformationClass, TimeOfDayInformation, sizeof TimeOfDayInformation,
                nullptr) != 0)
        return 0;
    if (NtQuery(PerformanceInformationClass, PerformanceInformation, sizeof PerformanceInformation,
                nullptr) != 0)
        return 0;
    uint8_t headroom =
        NtIdleHeadroom(IdleTime(), PrevIdleTime, CurrentTime(), PrevSystemTime, ProcessorCount);
    PrevIdleTime = IdleTime();
    PrevSystemTime = CurrentTime();
    return headroom;
}

static uint8_t SampleCpuVxd() {
    DWORD returned = 0;
    DeviceIoControl(VxdHandle, VxdCpuUsageCode, nullptr, 0, &CpuReading, sizeof CpuReading,
                    &returned, nullptr);
    return VxdHeadroom(CpuReading);
}

// Reads one statistic value into CpuReading; a failed read keeps the last one.
static void ReadStatistic(HKEY key) {
    // The size cell is set afresh each time: a value that once reported a
    // larger size must not let a later read run past the 4-byte cell.
    DWORD type = 0, size = sizeof CpuReading;
    DWORD reading = CpuReading;
    if (RegQueryValueExA(key, CpuUsageValue, nullptr, &type, reinterpret_cast<BYTE*>(&reading),
                         &size) == ERROR_SUCCESS &&
        size == sizeof reading)
        CpuReading = reading;
}

// Reading PerfStats\StartStat starts the collection, ...\StopStat ends it.
static void ReadStatisticOnce(const char* keyName) {
    HKEY key = nullptr;
    if (RegOpenKeyA(HKEY_DYN_DATA, keyName, &key) != ERROR_SUCCESS) return;
    ReadStatistic(key);
    RegCloseKey(key);
}

static uint8_t SampleCpuRegistry() {
    ReadStatistic(StatDataKey);
    return RegistryHeadroom(CpuReading);
}

// The device is loaded from the module's own directory, made current while it opens.
static HANDLE OpenCpuUsageDevice(HINSTANCE module) {
    char saved[MAX_PATH] = "";
    DWORD savedLength = GetCurrentDirectoryA(sizeof saved, saved);
    char path[MAX_PATH] = "";
    if (GetModuleFileNameA(module, path, sizeof path) == 0) path[0] = '\0';
    path[sizeof path - 1] = '\0';
    // Only a directory that can be restored afterwards is changed.
    const bool restorable = savedLength > 0 && savedLength < sizeof saved;
    char* slash = std::strrchr(path, '\\');
    if (slash && restorable) {
        *slash = '\0';
        SetCurrentDirectoryA(path);
    }
    HANDLE device =
        CreateFileA("\\\\.\\CPUUSAGE.VXD", 0, 0, nullptr, 0, FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (restorable) SetCurrentDirectoryA(saved);
    return device;
}

static void StartWindows9x(HINSTANCE module) {
    StartedOnWindows9x = true;
    if (Settings.UseVXD) {
        HANDLE device = OpenCpuUsageDevice(module);
        if (device != INVALID_HANDLE_VALUE) {
            VxdHandle = device;
            SampleCpu = SampleCpuVxd;
            ChosenCpuMethod = CpuMethodVxd;
            return;
        }
        VxdHandle = nullptr;
    }
    ReadStatisticOnce("PerfStats\\StartStat");
    StatDataKey = nullptr;
    RegOpenKeyA(HKEY_DYN_DATA, "PerfStats\\StatData", &StatDataKey);
    SampleCpu = SampleCpuRegistry;
    ChosenCpuMethod = CpuMethodRegistry;
}

// The idle time of class 2 covers every processor, while class 0 counts at
// most 32 for a 32-bit process on 64-bit Windows ("functions simulate a
// computer with 32 processors when called under WOW64") and at most the
// caller's processor group; the newer counts, where the system has them,
// reach further. Looked up once per start.
static uint32_t CountProcessors() {
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    auto activeCount = ProcAddress<GetActiveProcessorCountProc>(kernel, "GetActiveProcessorCount");
    auto nativeInfo = ProcAddress<GetNativeSystemInfoProc>(kernel, "GetNativeSystemInfo");
    uint32_t native = 0, allGroups = 0;
    if (nativeInfo) {
        SYSTEM_INFO info = {};
        nativeInfo(&info);
        native = info.dwNumberOfProcessors;
    }
    if (activeCount) allGroups = activeCount(AllProcessorGroups);
    return ProcessorsSummed(NumberOfProcessors(), native, allGroups);
}

static void StartNt() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    if (!ntdll) return;
    NtQuery = ProcAddress<NtQuerySystemInformationProc>(ntdll, "NtQuerySystemInformation");
    if (!NtQuery) return;
    NtQuery(BasicInformationClass, BasicInformation, sizeof BasicInformation, nullptr);
    NtQuery(TimeOfDayInformationClass, TimeOfDayInformation, sizeof TimeOfDayInformation, nullptr);
    NtQuery(PerformanceInformationClass, PerformanceInformation, sizeof PerformanceInformation,
            nullptr);
    if (NumberOfProcessors() == 0) NumberOfProcessors() = 1;
    ProcessorCount = CountProcessors();
    PrevIdleTime = IdleTime();
    PrevSystemTime = CurrentTime();
    SampleCpu = SampleCpuNt;
    ChosenCpuMethod = CpuMethodNt;
}

void StartCpuSampler(HINSTANCE module) {
    SampleCpu = SampleCpuNone;
    ChosenCpuMethod = CpuMethodNone;
    StartedOnWindows9x = false;
    DWORD platform = HostContext.OsVersion ? HostContext.OsVersion->dwPlatformId : 0;
    if (platform == VER_PLATFORM_WIN32_WINDOWS)
        StartWindows9x(module);
    else if (platform == VER_PLATFORM_WIN32_NT)
        StartNt();
}

void StopCpuSampler() {
    if (!StartedOnWindows9x) return;
    StartedOnWindows9x = false;
    if (VxdHandle) {
        CloseHandle(VxdHandle); // delete-on-close unloads the device
        VxdHandle = nullptr;
        return;
    }
    if (StatDataKey) RegCloseKey(StatDataKey);
    StatDataKey = nullptr;
    ReadStatisticOnce("PerfStats\\StopStat");
}
