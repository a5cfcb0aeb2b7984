// The configuration store's text rules on any text: a value read is a view
// into the text, a value written reads back as written, and writing one key
// changes no other key's value; the typed readings accept exactly what they
// document.
#include "fuzz/fuzz_check.h"
#include "shell/skin_files/rules/ini_text.h"
#include "shell/skin_files/rules/ini_values.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

namespace {

const char* const Keys[] = {"X", "Y", "Skin", "CPUTextFormat", "Z-Order", "Font", "a"};
const char* const Sections[] = {"Quilbex", "Other", "q"};

bool Read(const std::string& text, const char* section, const char* key, std::string* value) {
    IniValue found = {};
    if (!FindIniValue(text.data(), text.size(), section, key, &found)) return false;
    FUZZ_CHECK(found.Text >= text.data() && found.Text + found.Length <= text.data() + text.size());
    value->assign(found.Text, found.Length);
    return true;
}

// A value that a writer can put on one line and read back unchanged.
bool Writable(const std::string& value) {
    if (value.find_first_of(std::string("\r\n\"\0", 4)) != std::string::npos) return false;
    return value.empty() || (value.front() != ' ' && value.front() != '\t' && value.back() != ' ' &&
                             value.back() != '\t');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const size_t section = input.ConsumeIntegralInRange<size_t>(0, 2);
    const size_t key = input.ConsumeIntegralInRange<size_t>(0, 6);
    const size_t otherKey = input.ConsumeIntegralInRange<size_t>(0, 6);
    const std::string value = input.ConsumeRandomLengthString(64);
    const std::string text = input.ConsumeRemainingBytesAsString();

    std::string before, after;
    const bool hadOther = Read(text, Sections[0], Keys[otherKey], &before);
    HasIniSection(text.data(), text.size(), Sections[section]);

    if (Writable(value)) {
        const std::string edited = SetIniValue(text, Sections[section], Keys[key], value.c_str());
        std::string readBack;
        FUZZ_CHECK(Read(edited, Sections[section], Keys[key], &readBack));
        FUZZ_CHECK(readBack == value);
        FUZZ_CHECK(HasIniSection(edited.data(), edited.size(), Sections[section]));
        // Every other key of the plug-in's section keeps its value.
        if (section != 0 || otherKey != key) {
            const bool hasOther = Read(edited, Sections[0], Keys[otherKey], &after);
            FUZZ_CHECK(hasOther == hadOther);
            if (hadOther) FUZZ_CHECK(after == before);
        }
    }

    int32_t number = 0;
    if (ParseIniInt(value.data(), value.size(), &number)) {
        // Only decimal digits after an optional sign, within 32 bits.
        const std::string back = std::to_string(number);
        FUZZ_CHECK(value.find_first_not_of(" \t+-0123456789") == std::string::npos);
        FUZZ_CHECK(back.size() <= 11);
    }
    uint32_t hex = 0;
    if (ParseIniHex(value.data(), value.size(), &hex))
        FUZZ_CHECK(value.find_first_not_of(" \t0123456789abcdefABCDEFxX$") == std::string::npos);
    bool flag = false;
    ParseIniBool(value.data(), value.size(), &flag);

    FontSpec font;
    DefaultFontSpec(&font);
    ParseFontSpec(value.data(), value.size(), &font);
    FUZZ_CHECK(strnlen(font.Face, sizeof font.Face) < sizeof font.Face);
    FUZZ_CHECK(font.Size >= 1 && font.Size <= 500);
    FUZZ_CHECK(font.Weight >= 100 && font.Weight <= 900);
    return 0;
}
