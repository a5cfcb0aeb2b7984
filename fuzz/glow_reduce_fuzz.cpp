// The 3:1 glow reduction over random coverage buffers of any measured text
// size: both buffers are of exactly the sizes the geometry gives, so a read
// or write past either is caught; every written pixel carries the text or
// shadow colour.
#include "fuzz/fuzz_check.h"
#include "render/glow_reduce.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    // DrawTextA measures from 0 up; wider texts than this are rare and only slower.
    const int32_t width = input.ConsumeIntegralInRange<int32_t>(0, 400);
    const int32_t height = input.ConsumeIntegralInRange<int32_t>(0, 120);
    const bool shadow = input.ConsumeBool();
    const uint32_t textColour = input.ConsumeIntegral<uint32_t>();
    const uint32_t shadowColour = input.ConsumeIntegral<uint32_t>() & 0x00FFFFFFu;

    const GlowGeometry g = GlowGeometryFor(width, height);
    FUZZ_CHECK(g.LargeWidth == width + 5 && g.LargeHeight == height + 5);
    FUZZ_CHECK(g.SmallWidth * 3 >= g.LargeWidth && g.SmallHeight * 3 >= g.LargeHeight);
    FUZZ_CHECK(g.HalfWidth >= 0 && g.HalfWidth < g.SmallWidth);
    FUZZ_CHECK(g.HalfHeight >= 0 && g.HalfHeight < g.SmallHeight);

    std::vector<uint8_t> large(size_t(g.LargeWidth) * g.LargeHeight * 4);
    std::vector<uint8_t> bytes = input.ConsumeRemainingBytes<uint8_t>();
    for (size_t i = 0; i < large.size() && !bytes.empty(); ++i)
        large[i] = bytes[i % bytes.size()];
    std::vector<uint32_t> small(size_t(g.SmallWidth) * g.SmallHeight, 0);
    ReduceGlow(g, large.data(), small.data(), shadow, textColour, shadowColour);

    for (uint32_t pixel : small) {
        const uint32_t rgb = pixel & 0x00FFFFFFu;
        FUZZ_CHECK(pixel == 0 || rgb == (textColour & 0x00FFFFFFu) || rgb == shadowColour);
        if (!shadow) FUZZ_CHECK(pixel == 0 || rgb == (textColour & 0x00FFFFFFu));
    }
    return 0;
}
