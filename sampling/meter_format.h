// A meter's text after each sample: the number through wvsprintfA, the line
// composed from the meter's configured prefix and postfix into its reading.
#pragma once

#include "sampling/meter_readings.h"
#include "settings/settings_record.h"

void FormatPlain(const Meter& meter, MeterReading* reading, uint32_t value);
void FormatTraffic(const Meter& meter, MeterReading* reading, uint32_t bytes);
