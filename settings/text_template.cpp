#include "settings/text_template.h"

#include <cstring>

namespace {

// One part of the template being filled; characters beyond the limit are dropped
// so that nothing is ever written past the part's buffer.
struct TemplatePart {
    char* Buffer;
    int32_t Length;
};

void AppendChar(TemplatePart* part, char c) {
    if (c == 0 || part->Length >= TemplatePartMax) return;
    part->Buffer[part->Length++] = c;
}

bool IsNumberMarker(const char* at) {
    return at[0] == '%' && (at[1] == 'i' || at[1] == 'u');
}

} // namespace

int32_t SplitTextTemplate(const char* textFormat, char prefix[TemplatePartMax + 1],
                          char postfix[TemplatePartMax + 1]) {
    TemplatePart before = {prefix, 0};
    TemplatePart after = {postfix, 0};
    int32_t hasNumber = 0;
    const int32_t length = static_cast<int32_t>(strlen(textFormat));
    int32_t position = 0;
    // The last character is never the start of a marker, so the scan stops
    // before it and copies it (or nothing, after a closing marker) at the end.
    while (position < length - 1) {
        if (IsNumberMarker(textFormat + position)) {
            hasNumber = -1;
            position += 2;
        } else {
            AppendChar(hasNumber ? &after : &before, textFormat[position]);
            position += 1;
        }
    }
    AppendChar(hasNumber ? &after : &before, textFormat[position]);
    prefix[before.Length] = 0;
    postfix[after.Length] = 0;
    return hasNumber;
}

uint32_t ColorFromHex(uint32_t value) {
    const uint32_t red = value & 0xFF;
    const uint32_t green = (value >> 8) & 0xFF;
    const uint32_t blue = (value >> 16) & 0xFF;
    return (red << 16) | (green << 8) | blue;
}
