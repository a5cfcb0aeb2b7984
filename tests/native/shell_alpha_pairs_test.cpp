// The alpha kernels work on two bytes per word at once; these tests hold
// them to the plain per-byte rules for every alpha, including sources that
// are not properly premultiplied (where the cap at 255 matters).
#include "shell/pictures/rules/alpha_kernels.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

uint32_t BlendOneByte(uint32_t from, uint32_t to, uint32_t alpha) {
    const uint32_t value = from + MulDiv255(to, 255 - alpha);
    return value > 255 ? 255 : value;
}

// The blend of one pixel by the per-byte rule, zero sources leaving the target.
void ReferenceBlend(const uint8_t* from, uint8_t* to) {
    const uint32_t a = from[3];
    if (a == 0 && (from[0] | from[1] | from[2]) == 0) return;
    for (int c = 0; c < 4; ++c)
        to[c] = uint8_t(a == 255 ? (c == 3 ? 255 : from[c]) : BlendOneByte(from[c], to[c], a));
}

TEST(ShellAlphaPairs, BlendMatchesThePerByteRuleForEveryAlpha) {
    const uint8_t colours[] = {0, 1, 2, 63, 127, 128, 200, 254, 255};
    std::vector<uint8_t> source, target, expected;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint8_t s : colours)
            for (uint8_t t : colours) {
                // Colour bytes that differ per channel, so a mixed-up pair shows.
                const uint8_t from[4] = {s, uint8_t(255 - s), uint8_t(s / 2), uint8_t(a)};
                const uint8_t to[4] = {t, uint8_t(t / 3), uint8_t(255 - t), uint8_t(255 - t / 2)};
                source.insert(source.end(), from, from + 4);
                target.insert(target.end(), to, to + 4);
                uint8_t out[4];
                std::memcpy(out, to, 4);
                ReferenceBlend(from, out);
                expected.insert(expected.end(), out, out + 4);
            }
    const int32_t pixels = int32_t(source.size() / 4);
    PixelBuffer from = {source.data(), pixels, 1, pixels * 4, true};
    PixelBuffer to = {target.data(), pixels, 1, pixels * 4, true};
    BlendPremultiplied(from, to, {0, 0, pixels, 1, 0});
    for (int32_t i = 0; i < pixels * 4; ++i)
        ASSERT_EQ(target[i], expected[i]) << "pixel " << i / 4 << " byte " << i % 4;
}

// Rows are blended four pixels at a time where the processor can, and the
// rest one by one: every width, start column and target column gives the
// per-byte result, and nothing beside the block changes.
TEST(ShellAlphaPairs, EveryWidthAndPlaceMatchesThePerByteRule) {
    uint32_t seed = 12345;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return uint8_t(seed >> 16);
    };
    for (int32_t width = 1; width <= 13; ++width)
        for (int32_t sourceX = 0; sourceX < 4; ++sourceX)
            for (int32_t targetX = 0; targetX < 4; ++targetX) {
                const int32_t span = 20;
                std::vector<uint8_t> source(span * 4), target(span * 4);
                for (size_t i = 0; i < source.size(); ++i) {
                    source[i] = next();
                    target[i] = next();
                }
                // Some opaque and some empty pixels among the mixed ones.
                source[3] = 255;
                std::memset(&source[8], 0, 4);
                std::vector<uint8_t> expected = target;
                for (int32_t i = 0; i < width; ++i)
                    ReferenceBlend(&source[(sourceX + i) * 4], &expected[(targetX + i) * 4]);
                PixelBuffer from = {source.data(), span, 1, span * 4, true};
                PixelBuffer to = {target.data(), span, 1, span * 4, false};
                BlendPremultiplied(from, to, {targetX, 0, width, 1, sourceX});
                ASSERT_EQ(target, expected)
                    << "width " << width << " from " << sourceX << " to " << targetX;
            }
}

TEST(ShellAlphaPairs, PremultiplyMatchesThePerByteRuleForEveryPair) {
    std::vector<uint8_t> bits;
    for (uint32_t a = 0; a < 256; ++a)
        for (uint32_t c = 0; c < 256; ++c) {
            const uint8_t pixel[4] = {uint8_t(c), uint8_t(255 - c), uint8_t(c ^ 0x5A), uint8_t(a)};
            bits.insert(bits.end(), pixel, pixel + 4);
        }
    std::vector<uint8_t> original = bits;
    PremultiplyPixels(bits.data(), uint32_t(bits.size() / 4));
    for (size_t i = 0; i < bits.size(); i += 4) {
        const uint32_t a = original[i + 3];
        for (int c = 0; c < 3; ++c)
            ASSERT_EQ(bits[i + c], a == 255 ? original[i + c] : MulDiv255(original[i + c], a))
                << "pixel " << i / 4 << " byte " << c;
        ASSERT_EQ(bits[i + 3], a);
    }
}

} // namespace
