// The per-pixel and per-frame rules of the drawing code on random buffers and
// values: the key mask and the mask alpha over buffers of exactly their
// pixel count, the frame of any level in any strip, and the surface numbers
// for any configured transparency.
#include "fuzz/fuzz_check.h"
#include "render/frame_select.h"
#include "render/key_mask.h"
#include "render/surface_rules.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t headroom = input.ConsumeIntegral<int32_t>();
    const int32_t frames = input.ConsumeIntegral<int32_t>();
    const int32_t stripWidth = input.ConsumeIntegral<int32_t>();
    const int32_t transparency = input.ConsumeIntegral<int32_t>();
    const int32_t zOrder = input.ConsumeIntegral<int32_t>();
    const bool hasAlpha = input.ConsumeBool();
    const bool layered = input.ConsumeBool();

    const int32_t index = FrameIndexFor(headroom, frames);
    const int32_t effectiveFrames = frames < 1 ? 1 : frames;
    FUZZ_CHECK(index >= 0 && index < effectiveFrames);
    if (headroom >= 100) FUZZ_CHECK(index == 0);
    if (headroom <= 0) FUZZ_CHECK(index == effectiveFrames - 1);
    const int32_t width = FrameWidthFor(stripWidth, frames);
    if (stripWidth >= 0) {
        // The frame that shows lies inside the strip.
        FUZZ_CHECK(width >= 0);
        FUZZ_CHECK(int64_t(index) * width + width <= int64_t(stripWidth));
    }

    const uint8_t level = LayeredStyleLevel(hasAlpha, transparency);
    if (hasAlpha && transparency == 0) FUZZ_CHECK(level == 1);
    if (transparency >= 0 && transparency <= 100) {
        FUZZ_CHECK(LayeredSourceAlpha(transparency) == 255 - transparency * 255 / 100);
        FUZZ_CHECK(ConstantWindowAlpha(transparency) == (100 - transparency) * 255 / 100);
    }
    const int32_t mode = PaintModeFor(hasAlpha, layered, zOrder);
    FUZZ_CHECK(mode == ((hasAlpha && layered && zOrder != 0) ? 1 : 0));

    std::vector<uint8_t> pixels = input.ConsumeRemainingBytes<uint8_t>();
    const int32_t count = int32_t(pixels.size() / 4);
    std::vector<uint8_t> picture(pixels.begin(), pixels.begin() + count * 4);
    std::vector<uint8_t> mask(size_t(count) * 4, 0x5A);
    FillKeyMask(picture.data(), mask.data(), count);
    for (int32_t i = 0; i < count; ++i) {
        uint32_t v;
        std::memcpy(&v, &mask[i * 4], 4);
        FUZZ_CHECK(v == (picture[i * 4 + 3] < 3 ? 0xFFFF00FFu : 0u));
    }
    std::vector<uint8_t> colour = picture;
    ApplyMaskAlpha(mask.data(), colour.data(), count);
    for (int32_t i = 0; i < count; ++i) {
        FUZZ_CHECK(colour[i * 4 + 3] == (picture[i * 4 + 3] < 3 ? 0 : 255));
        FUZZ_CHECK(std::memcmp(&colour[i * 4], &picture[i * 4], 3) == 0);
    }
    return 0;
}
