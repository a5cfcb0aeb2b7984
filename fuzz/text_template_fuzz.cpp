// The template splitter on any text: nothing is written past either part, both
// parts are terminated, and the split agrees with the skin check's count of
// the parts (which does not cut them).
#include "fuzz/fuzz_check.h"
#include "settings/text_template.h"
#include "shell/kit/skin_check/rules/skin_rules.h"

#include <cstdint>
#include <cstring>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    uint32_t colour;
    std::memcpy(&colour, data, 4);
    const uint32_t pixel = ColorFromHex(colour);
    FUZZ_CHECK((pixel >> 24) == 0);
    FUZZ_CHECK(ColorFromHex(ColorFromHex(colour)) == (colour & 0xFFFFFFu));

    // The text as a zero-terminated string in a buffer of its exact size, and
    // parts of exactly their room, so that any stray byte is caught.
    std::unique_ptr<char[]> text(new char[size - 4 + 1]);
    std::memcpy(text.get(), data + 4, size - 4);
    text[size - 4] = 0;
    std::unique_ptr<char[]> prefix(new char[TemplatePartMax + 1]);
    std::unique_ptr<char[]> postfix(new char[TemplatePartMax + 1]);
    const int32_t hasNumber = SplitTextTemplate(text.get(), prefix.get(), postfix.get());

    FUZZ_CHECK(hasNumber == 0 || hasNumber == -1);
    const size_t prefixLength = strnlen(prefix.get(), TemplatePartMax + 1);
    const size_t postfixLength = strnlen(postfix.get(), TemplatePartMax + 1);
    FUZZ_CHECK(prefixLength <= size_t(TemplatePartMax));
    FUZZ_CHECK(postfixLength <= size_t(TemplatePartMax));

    int32_t fullPrefix = 0, fullPostfix = 0;
    TemplatePartLengths(text.get(), &fullPrefix, &fullPostfix);
    FUZZ_CHECK(prefixLength == size_t(fullPrefix < TemplatePartMax ? fullPrefix : TemplatePartMax));
    FUZZ_CHECK(postfixLength ==
               size_t(fullPostfix < TemplatePartMax ? fullPostfix : TemplatePartMax));

    // Without a marker the prefix is the template itself, cut to its room.
    if (!hasNumber) {
        FUZZ_CHECK(postfixLength == 0);
        FUZZ_CHECK(std::strncmp(prefix.get(), text.get(), TemplatePartMax) == 0);
    }
    // A marker anywhere sets the flag; the text before the first one is the prefix.
    const char* marker = text.get();
    while (*marker && !(marker[0] == '%' && (marker[1] == 'i' || marker[1] == 'u')))
        ++marker;
    FUZZ_CHECK((*marker != 0) == (hasNumber != 0));
    if (*marker && size_t(marker - text.get()) <= size_t(TemplatePartMax))
        FUZZ_CHECK(std::strncmp(prefix.get(), text.get(), marker - text.get()) == 0 &&
                   prefixLength == size_t(marker - text.get()));
    return 0;
}
