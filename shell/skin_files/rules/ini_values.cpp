#include "shell/skin_files/rules/ini_values.h"

#include <cstring>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

void Trim(const char** text, size_t* length) {
    while (*length > 0 && IsBlank(**text)) {
        ++*text;
        --*length;
    }
    while (*length > 0 && IsBlank((*text)[*length - 1]))
        --*length;
}

bool SameWord(const char* text, size_t length, const char* word) {
    if (std::strlen(word) != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (Lower(text[i]) != word[i]) return false;
    return true;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = Lower(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

} // namespace

bool ParseIniInt(const char* text, size_t length, int32_t* result) {
    if (!text) return false;
    Trim(&text, &length);
    bool negative = false;
    if (length > 0 && (*text == '-' || *text == '+')) {
        negative = *text == '-';
        ++text;
        --length;
    }
    if (length == 0) return false;
    int64_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) return false;
    }
    if (negative) value = -value;
    if (value > 2147483647LL) return false;
    *result = int32_t(value);
    return true;
}

bool ParseIniHex(const char* text, size_t length, uint32_t* result) {
    if (!text) return false;
    Trim(&text, &length);
    if (length >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text += 2;
        length -= 2;
    } else if (length >= 1 && text[0] == '$') {
        ++text;
        --length;
    }
    if (length == 0 || length > 8) return false;
    uint32_t value = 0;
    for (size_t i = 0; i < length; ++i) {
        int digit = HexDigit(text[i]);
        if (digit < 0) return false;
        value = (value << 4) | uint32_t(digit);
    }
    *result = value;
    return true;
}

bool ParseIniBool(const char* text, size_t length, bool* result) {
    if (!text) return false;
    Trim(&text, &length);
    static const char* const yes[] = {"1", "true", "yes", "on"};
    static const char* const no[] = {"0", "false", "no", "off"};
    for (int i = 0; i < 4; ++i) {
        if (SameWord(text, length, yes[i])) return *result = true, true;
        if (SameWord(text, length, no[i])) return *result = false, true;
    }
    return false;
}

void DefaultFontSpec(FontSpec* font) {
    std::memset(font, 0, sizeof(*font));
    std::strcpy(font->Face, DefaultFontFace);
    font->Size = DefaultFontSize;
    font->Weight = 400;
    font->Italic = false;
}

bool ParseFontSpec(const char* text, size_t length, FontSpec* font) {
    if (!text) return false;
    bool usable = true;
    for (int part = 0; length > 0 || part == 0; ++part) {
        const char* comma = static_cast<const char*>(std::memchr(text, ',', length));
        size_t partLength = comma ? size_t(comma - text) : length;
        const char* word = text;
        size_t wordLength = partLength;
        Trim(&word, &wordLength);
        if (part == 0) {
            if (wordLength == 0) {
                usable = false;
            } else {
                if (wordLength >= sizeof(font->Face)) wordLength = sizeof(font->Face) - 1;
                std::memcpy(font->Face, word, wordLength);
                font->Face[wordLength] = 0;
            }
        } else if (part == 1) {
            int32_t size = 0;
            if (ParseIniInt(word, wordLength, &size) && size > 0 && size <= FontSizeMax)
                font->Size = size;
            else
                usable = false;
        } else {
            int32_t weight = 0;
            if (SameWord(word, wordLength, "bold"))
                font->Weight = 700;
            else if (SameWord(word, wordLength, "normal"))
                font->Weight = 400;
            else if (SameWord(word, wordLength, "italic"))
                font->Italic = true;
            else if (ParseIniInt(word, wordLength, &weight) && weight >= 100 && weight <= 900)
                font->Weight = weight;
            else
                usable = false;
        }
        if (!comma) break;
        length -= partLength + 1;
        text = comma + 1;
    }
    return usable;
}
