#include "sampling/meter_format.h"

#include "host/host_library.h"
#include "sampling/meter_text.h"

// wvsprintfA reads its arguments as consecutive 32-bit stack slots.
static void FormatNumber(char* number, const char* format, int32_t first, int32_t second) {
    int32_t arguments[2] = {first, second};
    wvsprintfA(number, format, reinterpret_cast<va_list>(arguments));
}

void FormatPlain(const Meter& meter, MeterReading* reading, uint32_t value) {
    char number[NumberTextRoom];
    FormatNumber(number, "%u", static_cast<int32_t>(value), 0);
    ComposeMeterText(reading->Text, meter.Prefix, meter.HasNumber ? number : nullptr,
                     meter.Postfix);
}

void FormatTraffic(const Meter& meter, MeterReading* reading, uint32_t bytes) {
    char number[NumberTextRoom];
    // Whether the postfix counts as empty is the host library's call, as it
    // is for the whole template when the settings are read.
    TrafficForm form = TrafficFormOf(bytes, IsPSTREmpty(meter.Postfix) != 0);
    FormatNumber(number, form.Format, form.Whole, form.Digit);
    ComposeMeterText(reading->Text, meter.Prefix, meter.HasNumber ? number : nullptr,
                     meter.Postfix);
}
