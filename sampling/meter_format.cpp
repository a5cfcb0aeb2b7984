// A meter's text after each sample: the number through wvsprintfA, the line
// composed within the meter's Text.
#include "host/host_library.h"
#include "sampling/sampling.h"
#include "sampling/meter_text.h"

static_assert(sizeof(Meter::Text) == MeterTextRoom, "Text room");
static_assert(sizeof(Meter::Prefix) == MeterAffixRoom, "Prefix room");
static_assert(sizeof(Meter::Postfix) == MeterAffixRoom, "Postfix room");

// wvsprintfA reads its arguments as consecutive 32-bit stack slots.
static void FormatNumber(char* number, const char* format, int32_t first, int32_t second) {
    int32_t arguments[2] = {first, second};
    wvsprintfA(number, format, reinterpret_cast<va_list>(arguments));
}

void FormatPlain(Meter* meter, uint32_t value) {
    char number[NumberTextRoom];
    FormatNumber(number, "%u", static_cast<int32_t>(value), 0);
    ComposeMeterText(meter->Text, meter->Prefix, meter->HasNumber ? number : nullptr,
                     meter->Postfix);
}

void FormatTraffic(Meter* meter, uint32_t bytes) {
    char number[NumberTextRoom];
    // Whether the postfix counts as empty is the host library's call, as it
    // is for the whole template when the settings are read.
    TrafficForm form = TrafficFormOf(bytes, IsPSTREmpty(meter->Postfix) != 0);
    FormatNumber(number, form.Format, form.Whole, form.Digit);
    ComposeMeterText(meter->Text, meter->Prefix, meter->HasNumber ? number : nullptr,
                     meter->Postfix);
}
