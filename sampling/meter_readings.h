// The meters' live values: each meter's level and text line, renewed by the
// ticks and read by the drawing. Owned by sampling/; the configured part of a
// meter is the settings' Meter.
#pragma once

#include "settings/sizes.h"

#include <cstdint>

struct MeterReading {
    int32_t Headroom; // 100 minus the usage in percent
    char Text[MeterTextRoom];
};

struct ReadingsRecord {
    MeterReading Cpu;
    MeterReading Mem;
    MeterReading NetIn;
    MeterReading NetOut;
};

extern const ReadingsRecord& Readings;

// Full headroom and no text, as at start before the first ticks.
void ResetReadings();
// The ticks' and the tests' way in; no other area writes the readings.
ReadingsRecord& ReadingsToRenew();
