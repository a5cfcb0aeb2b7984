#include "sampling/meter_text.h"

#include <cstdio>
#include <cstring>

TrafficForm TrafficFormOf(uint32_t count, bool postfixEmpty) {
    uint32_t whole, r;
    const char* format;
    if (count > 1000000000u) {
        whole = count >> 30;
        r = (count - (whole << 30)) >> 20;
        format = "%i.%i G";
    } else if (count > 1000000u) {
        whole = count >> 20;
        r = (count - (whole << 20)) >> 10;
        format = "%i.%i M";
    } else if (count > 1000u) {
        whole = count >> 10;
        r = (count - (whole << 10)) / 102;
        format = "%i.%i K";
    } else {
        return TrafficForm{postfixEmpty ? "%i" : "%i ", static_cast<int32_t>(count), 0};
    }
    while (r > 9)
        r /= 10; // the leading decimal digit
    return TrafficForm{format, static_cast<int32_t>(whole), static_cast<int32_t>(r)};
}

void TrafficNumberText(uint32_t count, bool postfixEmpty, char* number) {
    TrafficForm form = TrafficFormOf(count, postfixEmpty);
    std::snprintf(number, NumberTextRoom, form.Format, form.Whole, form.Digit);
}

void PlainNumberText(uint32_t value, char* number) {
    std::snprintf(number, NumberTextRoom, "%u", static_cast<unsigned>(value));
}

static size_t Append(char* text, size_t used, const char* part, size_t room) {
    size_t length = strnlen(part, room);
    if (length > MeterTextRoom - 1 - used) length = MeterTextRoom - 1 - used;
    std::memcpy(text + used, part, length);
    return used + length;
}

void ComposeMeterText(char* text, const char* prefix, const char* number, const char* postfix) {
    size_t used = Append(text, 0, prefix, MeterAffixRoom);
    if (number) used = Append(text, used, number, NumberTextRoom);
    used = Append(text, used, postfix, MeterAffixRoom);
    text[used] = '\0';
}
