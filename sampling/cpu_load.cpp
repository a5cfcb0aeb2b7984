#include "sampling/cpu_load.h"

#include <cmath>

uint8_t NtIdleHeadroom(uint64_t idleTime, uint64_t prevIdleTime, uint64_t currentTime,
                       uint64_t prevSystemTime, uint32_t processors) {
    double idle = static_cast<double>(idleTime) - static_cast<double>(prevIdleTime);
    double span = static_cast<double>(currentTime) - static_cast<double>(prevSystemTime);
    if (span == 0.0) span = 1.0;
    if (processors == 0) processors = 1;
    double value = idle / span * 100.0 / processors;
    // Rounds under the current rounding mode, ties to even by default.
    double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded)) return 100;
    // The low 8 bits of the rounded integer, two's complement for negatives,
    // taken without converting a possibly huge double to an integer type.
    double low = std::fmod(rounded, 256.0);
    if (low < 0) low += 256.0;
    uint8_t byte = static_cast<uint8_t>(low);
    return byte > 100 ? 100 : byte;
}

uint32_t ProcessorsSummed(uint8_t basic, uint32_t native, uint32_t allGroups) {
    uint32_t count = basic;
    if (native > count) count = native;
    if (allGroups > count) count = allGroups;
    return count;
}

uint8_t VxdHeadroom(uint32_t reading) {
    if (reading > 100) return 100;
    return static_cast<uint8_t>(100 - reading);
}

uint8_t RegistryHeadroom(uint32_t reading) {
    if (reading > 100) return 0;
    return static_cast<uint8_t>(100 - reading);
}
