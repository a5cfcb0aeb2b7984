// Processor headroom arithmetic shared by the CPU samplers; no platform calls.
#pragma once

#include <cstdint>

// Share of the span during which the processors were idle, averaged over the
// processors, as a whole percentage: rounded to nearest (ties to even), the low
// 8 bits taken, and a byte above 100 read as 100. A zero span counts as 1 and a
// processor count of 0 as 1.
uint8_t NtIdleHeadroom(uint64_t idleTime, uint64_t prevIdleTime, uint64_t currentTime,
                       uint64_t prevSystemTime, uint32_t processors);

// How many processors the idle time of the performance information sums: the
// largest of the counts the system gives. Each may fall short, never over:
// the basic information's count (at most 32 for a 32-bit process on 64-bit
// Windows, at most the caller's processor group), the native count
// (GetNativeSystemInfo, XP and later: the caller's group) and the count of
// every group (GetActiveProcessorCount(ALL_PROCESSOR_GROUPS), Windows 7 and
// later). 0 stands for a count the system did not give.
uint32_t ProcessorsSummed(uint8_t basic, uint32_t native, uint32_t allGroups);

// The device answers the load; a reading above 100 gives 100 like a reading of 0.
uint8_t VxdHeadroom(uint32_t reading);

// The registry statistic is a load percentage; one above 100 reads as full load.
uint8_t RegistryHeadroom(uint32_t reading);
