// Both text compositions, the traffic form and the plain number, on any count
// and on affixes that fill their rooms without a terminator: the text always
// fits its 256 bytes and ends in a terminator.
#include "fuzz/fuzz_check.h"
#include "sampling/meter_text.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

// A part in a buffer of exactly `room` bytes, terminated only when it is shorter.
std::unique_ptr<char[]> Affix(FuzzedDataProvider* input, size_t room) {
    std::unique_ptr<char[]> part(new char[room]);
    std::string text = input->ConsumeRandomLengthString(room + 10);
    std::memset(part.get(), 0, room);
    std::memcpy(part.get(), text.data(), text.size() < room ? text.size() : room);
    return part;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const uint32_t count = input.ConsumeIntegral<uint32_t>();
    const bool postfixEmpty = input.ConsumeBool();
    const bool traffic = input.ConsumeBool();
    const bool withNumber = input.ConsumeBool();

    const TrafficForm form = TrafficFormOf(count, postfixEmpty);
    FUZZ_CHECK(form.Whole >= 0 && form.Digit >= 0 && form.Digit <= 9);
    if (count > 1000u) FUZZ_CHECK(form.Whole <= 1023 && std::strchr(form.Format, '.') != nullptr);

    std::unique_ptr<char[]> number(new char[NumberTextRoom]);
    if (traffic)
        TrafficNumberText(count, postfixEmpty, number.get());
    else
        PlainNumberText(count, number.get());
    const size_t numberLength = strnlen(number.get(), NumberTextRoom);
    FUZZ_CHECK(numberLength < NumberTextRoom && numberLength > 0);
    if (!traffic) FUZZ_CHECK(std::strtoul(number.get(), nullptr, 10) == count);

    std::unique_ptr<char[]> prefix = Affix(&input, MeterAffixRoom);
    std::unique_ptr<char[]> postfix = Affix(&input, MeterAffixRoom);
    std::unique_ptr<char[]> text(new char[MeterTextRoom]);
    ComposeMeterText(text.get(), prefix.get(), withNumber ? number.get() : nullptr, postfix.get());
    const size_t length = strnlen(text.get(), MeterTextRoom);
    FUZZ_CHECK(length < MeterTextRoom);
    const size_t prefixLength = strnlen(prefix.get(), MeterAffixRoom);
    const size_t postfixLength = strnlen(postfix.get(), MeterAffixRoom);
    const size_t whole = prefixLength + (withNumber ? numberLength : 0) + postfixLength;
    FUZZ_CHECK(length == (whole < MeterTextRoom ? whole : MeterTextRoom - 1));
    FUZZ_CHECK(std::memcmp(text.get(), prefix.get(), prefixLength) == 0);
    return 0;
}
