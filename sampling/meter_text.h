// The text line of a meter: prefix, number and postfix; no platform calls.
#pragma once

#include "settings/sizes.h"

#include <cstddef>
#include <cstdint>

const size_t NumberTextRoom = 16; // the longest number form is ten digits

// How a byte count is shown: a format for wvsprintfA-style formatting and its
// arguments. With a unit ("%i.%i K") both are used, without one only Whole.
struct TrafficForm {
    const char* Format;
    int32_t Whole;
    int32_t Digit;
};

// Unit by decimal thresholds, divisors by powers of 1024, one fraction digit.
TrafficForm TrafficFormOf(uint32_t count, bool postfixEmpty);

// The number of a traffic or plain meter as text, into NumberTextRoom bytes.
void TrafficNumberText(uint32_t count, bool postfixEmpty, char* number);
void PlainNumberText(uint32_t value, char* number);

// text := prefix, then number unless null, then postfix; never more than
// MeterTextRoom bytes, and the affixes are read only within their room.
void ComposeMeterText(char* text, const char* prefix, const char* number, const char* postfix);
