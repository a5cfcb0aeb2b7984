#include "sampling/meter_readings.h"

#include <initializer_list>

namespace {
ReadingsRecord Record;
} // namespace

const ReadingsRecord& Readings = Record;

ReadingsRecord& ReadingsToRenew() {
    return Record;
}

void ResetReadings() {
    for (MeterReading* reading : {&Record.Cpu, &Record.Mem, &Record.NetIn, &Record.NetOut}) {
        reading->Headroom = 100;
        reading->Text[0] = 0;
    }
}
