#include "shell/skin_files/rules/ini_text.h"

#include <cstring>

namespace {

// One line of the text, without its line ending.
struct IniLine {
    size_t Start;
    size_t End;  // end of content (before CR/LF)
    size_t Next; // start of the following line
};

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
}

bool NextLine(const char* text, size_t length, size_t start, IniLine* line) {
    if (start >= length) return false;
    size_t end = start;
    while (end < length && text[end] != '\n')
        ++end;
    line->Start = start;
    line->Next = end < length ? end + 1 : end;
    if (end > start && text[end - 1] == '\r') --end;
    line->End = end;
    return true;
}

void Trim(const char* text, size_t* start, size_t* end) {
    while (*start < *end && IsBlank(text[*start]))
        ++*start;
    while (*end > *start && IsBlank(text[*end - 1]))
        --*end;
}

bool SameName(const char* text, size_t start, size_t end, const char* name) {
    size_t length = std::strlen(name);
    if (end - start != length) return false;
    for (size_t i = 0; i < length; ++i)
        if (Lower(text[start + i]) != Lower(name[i])) return false;
    return true;
}

enum class LineKind { Other, Section, Entry };

// Classifies a line; for a section gives its name, for an entry its key and value.
LineKind ReadLine(const char* text, const IniLine& line, size_t* nameStart, size_t* nameEnd,
                  size_t* valueStart, size_t* valueEnd) {
    size_t start = line.Start, end = line.End;
    Trim(text, &start, &end);
    if (start == end || text[start] == ';' || text[start] == '#') return LineKind::Other;
    if (text[start] == '[') {
        const void* close = std::memchr(text + start, ']', end - start);
        if (!close) return LineKind::Other;
        *nameStart = start + 1;
        *nameEnd = size_t(static_cast<const char*>(close) - text);
        Trim(text, nameStart, nameEnd);
        return LineKind::Section;
    }
    const void* equals = std::memchr(text + start, '=', end - start);
    if (!equals) return LineKind::Other;
    size_t at = size_t(static_cast<const char*>(equals) - text);
    *nameStart = start;
    *nameEnd = at;
    Trim(text, nameStart, nameEnd);
    *valueStart = at + 1;
    *valueEnd = end;
    Trim(text, valueStart, valueEnd);
    return LineKind::Entry;
}

// Where a key sits, or where it would be added to its section.
struct KeyPlace {
    bool SectionFound;
    bool KeyFound;
    IniLine KeyLine;   // the key's line when found
    size_t ValueStart; // the key's value when found
    size_t ValueEnd;
    size_t InsertAt; // after the last entry of the section's first occurrence
};

KeyPlace LocateKey(const char* text, size_t length, const char* section, const char* key) {
    KeyPlace place = {};
    bool inSection = false, inFirstSection = false;
    IniLine line;
    for (size_t at = 0; NextLine(text, length, at, &line); at = line.Next) {
        size_t nameStart = 0, nameEnd = 0, valueStart = 0, valueEnd = 0;
        LineKind kind = ReadLine(text, line, &nameStart, &nameEnd, &valueStart, &valueEnd);
        if (kind == LineKind::Section) {
            inSection = SameName(text, nameStart, nameEnd, section);
            inFirstSection = inSection && !place.SectionFound;
            if (inFirstSection) {
                place.SectionFound = true;
                place.InsertAt = line.Next;
            }
        } else if (kind == LineKind::Entry && inSection) {
            if (inFirstSection) place.InsertAt = line.Next;
            if (SameName(text, nameStart, nameEnd, key)) {
                place.KeyFound = true;
                place.KeyLine = line;
                place.ValueStart = valueStart;
                place.ValueEnd = valueEnd;
                return place;
            }
        }
    }
    return place;
}

const char* LineEnding(const std::string& text) {
    size_t lf = text.find('\n');
    if (lf == std::string::npos) return "\r\n";
    return (lf > 0 && text[lf - 1] == '\r') ? "\r\n" : "\n";
}

// Ends the text's last line before another is added. A lone CR there is the
// start of the ending already: completing it keeps that line's value as read.
void EndLine(std::string* text, const char* newline) {
    if (text->empty() || text->back() == '\n') return;
    *text += text->back() == '\r' ? "\n" : newline;
}

} // namespace

bool FindIniValue(const char* text, size_t length, const char* section, const char* key,
                  IniValue* value) {
    if (!text || !section || !key) return false;
    KeyPlace place = LocateKey(text, length, section, key);
    if (!place.KeyFound) return false;
    size_t start = place.ValueStart, end = place.ValueEnd;
    if (end - start >= 2 && text[start] == '"' && text[end - 1] == '"') {
        ++start;
        --end;
    }
    value->Text = text + start;
    value->Length = end - start;
    return true;
}

bool HasIniSection(const char* text, size_t length, const char* section) {
    return text && section && LocateKey(text, length, section, "").SectionFound;
}

std::string SetIniValue(const std::string& text, const char* section, const char* key,
                        const char* value) {
    KeyPlace place = LocateKey(text.data(), text.size(), section, key);
    const char* newline = LineEnding(text);
    if (place.KeyFound) {
        // Keep the key as written and the line ending; only the value changes.
        size_t equals = text.find('=', place.KeyLine.Start);
        std::string result = text.substr(0, equals + 1);
        result += value;
        result += text.substr(place.KeyLine.End);
        return result;
    }
    std::string entry = std::string(key) + "=" + value + newline;
    if (place.SectionFound) {
        std::string result = text.substr(0, place.InsertAt);
        // The section's last line may be the file's last line, without an ending.
        EndLine(&result, newline);
        return result + entry + text.substr(place.InsertAt);
    }
    std::string result = text;
    EndLine(&result, newline);
    return result + "[" + section + "]" + newline + entry;
}
