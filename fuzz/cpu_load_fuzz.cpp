// The processor headroom from any pair of counter readings, any processor
// count, and any device or registry reading: always 0..100, and no
// conversion that the sanitizers object to.
#include "fuzz/fuzz_check.h"
#include "sampling/cpu_load.h"

#include <fuzzer/FuzzedDataProvider.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const uint64_t idle = input.ConsumeIntegral<uint64_t>();
    const uint64_t prevIdle = input.ConsumeIntegral<uint64_t>();
    const uint64_t now = input.ConsumeIntegral<uint64_t>();
    const uint64_t prevNow = input.ConsumeIntegral<uint64_t>();
    const uint8_t processors = input.ConsumeIntegral<uint8_t>();
    const uint32_t reading = input.ConsumeIntegral<uint32_t>();

    const uint8_t headroom = NtIdleHeadroom(idle, prevIdle, now, prevNow, processors);
    FUZZ_CHECK(headroom <= 100);
    // A plain sample (idle within the span, counters moving forward, below
    // 2^53 like any counter of 100 ns ticks within 28 years) gives its own
    // share exactly, to the nearest percent.
    const uint64_t exact = 1ull << 53;
    if (idle < exact && prevIdle < exact && now < exact && prevNow < exact && now > prevNow &&
        idle >= prevIdle && idle - prevIdle <= now - prevNow && now - prevNow < (1ull << 50) &&
        processors == 1) {
        const double share = double(idle - prevIdle) * 100.0 / double(now - prevNow);
        FUZZ_CHECK(headroom >= share - 0.5001 && headroom <= share + 0.5001);
    }
    FUZZ_CHECK(VxdHeadroom(reading) <= 100);
    FUZZ_CHECK(RegistryHeadroom(reading) <= 100);
    if (reading <= 100) {
        FUZZ_CHECK(VxdHeadroom(reading) == 100 - reading);
        FUZZ_CHECK(RegistryHeadroom(reading) == 100 - reading);
    }
    return 0;
}
