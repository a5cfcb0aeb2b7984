// Resampling a strip to any scale: the result is exactly frames x the scaled
// frame size and never read outside the source; a keyed strip's key pixels
// are exactly the key and no other pixel has its colour; a premultiplied
// strip stays premultiplied; the picture name for a scale always fits.
#include "fuzz/fuzz_check.h"
#include "shell/skin_files/rules/skin_scale.h"
#include "shell/skin_files/rules/strip_resample.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int32_t width = input.ConsumeIntegralInRange<int32_t>(1, 48);
    const int32_t height = input.ConsumeIntegralInRange<int32_t>(1, 24);
    const int32_t frames = input.ConsumeIntegralInRange<int32_t>(-2, 8);
    const int32_t from = PictureScales[input.ConsumeIntegralInRange<int32_t>(0, 2)].Dpi;
    const int32_t to = input.ConsumeIntegralInRange<int32_t>(ScaleDpiMin, ScaleDpiMax);
    const bool keyed = input.ConsumeBool();
    std::vector<uint32_t> source(size_t(width) * height);
    for (uint32_t& pixel : source) {
        if (keyed) {
            pixel = input.ConsumeBool() ? ResampleKeyPixel
                                        : 0xFF000000u | input.ConsumeIntegral<uint32_t>();
        } else {
            const uint32_t a = input.ConsumeIntegral<uint8_t>();
            const uint32_t r = input.ConsumeIntegralInRange<uint32_t>(0, a);
            const uint32_t g = input.ConsumeIntegralInRange<uint32_t>(0, a);
            const uint32_t b = input.ConsumeIntegralInRange<uint32_t>(0, a);
            pixel = b | g << 8 | r << 16 | a << 24;
        }
    }
    StripSizes sizes;
    if (ScaledStripSizes(width, height, frames, from, to, &sizes)) {
        FUZZ_CHECK(sizes.FrameWidth >= 1 && sizes.Height >= 1);
        FUZZ_CHECK(sizes.Frames * sizes.SourceFrameWidth <= width);
        std::vector<uint32_t> target(size_t(sizes.Frames) * sizes.FrameWidth * sizes.Height);
        FUZZ_CHECK(ResampleStrip(source.data(), width, height, sizes, keyed, target.data()));
        for (uint32_t pixel : target) {
            if (keyed) {
                FUZZ_CHECK(!IsKeyPixel(pixel) || pixel == ResampleKeyPixel);
                FUZZ_CHECK(pixel >> 24 == 0xFF);
            } else {
                for (int c = 0; c < 3; ++c)
                    FUZZ_CHECK(((pixel >> (8 * c)) & 0xFF) <= pixel >> 24);
            }
        }
    }
    const std::string path = input.ConsumeRandomLengthString(80);
    char name[64];
    if (PictureNameForScale(path.c_str(), "@1.5x", name, sizeof name))
        FUZZ_CHECK(std::string(name).size() == std::string(path.c_str()).size() + 5);
    return 0;
}
