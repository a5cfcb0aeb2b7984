#include <gtest/gtest.h>

#include <vector>

#include "render/glow_reduce.h"

namespace {

// A large buffer with every first byte set by a function of (column, storage
// row), the other bytes noise that must never be read.
struct LargeBuffer {
    GlowGeometry g;
    std::vector<uint8_t> bytes;
    explicit LargeBuffer(const GlowGeometry& geometry)
        : g(geometry), bytes(static_cast<size_t>(geometry.LargeWidth) * geometry.LargeHeight * 4) {
        for (size_t i = 0; i < bytes.size(); ++i)
            bytes[i] = (i % 4) ? 0xA5 : 0;
    }
    void Set(int32_t x, int32_t y, uint8_t v) { bytes[(y * g.LargeWidth + x) * 4] = v; }
    // Fills the 3x3 block whose lower-left is (3k, 3j) with one value.
    void Block(int32_t k, int32_t j, uint8_t v) {
        for (int dy = 0; dy < 3; ++dy)
            for (int dx = 0; dx < 3; ++dx)
                Set(3 * k + dx, 3 * j + dy, v);
    }
};

struct Reduced {
    GlowGeometry g;
    std::vector<uint32_t> px;
    uint32_t At(int32_t k, int32_t j) const { return px[j * g.SmallWidth + k]; }
};

Reduced Reduce(const LargeBuffer& large, bool shadow, uint32_t text = 0x00336699,
               uint32_t shade = 0) {
    Reduced r{large.g, std::vector<uint32_t>(large.g.SmallWidth * large.g.SmallHeight, 0)};
    ReduceGlow(large.g, large.bytes.data(), r.px.data(), shadow, text, shade);
    return r;
}

} // namespace

TEST(GlowGeometry, TenByTwelveText) {
    const GlowGeometry g = GlowGeometryFor(10, 12);
    EXPECT_EQ(g.LargeWidth, 15);
    EXPECT_EQ(g.LargeHeight, 17);
    EXPECT_EQ(g.SmallWidth, 11);
    EXPECT_EQ(g.SmallHeight, 11);
    EXPECT_EQ(g.HalfWidth, 4); // blit at (centreX - 4, centreY - 4)
    EXPECT_EQ(g.HalfHeight, 4);
}

TEST(GlowReduce, TenByTwelveTouchesOnlyItsOutputCells) {
    // Full coverage everywhere: every cell the walk reaches is written.
    LargeBuffer large(GlowGeometryFor(10, 12));
    for (int32_t y = 0; y < 17; ++y)
        for (int32_t x = 0; x < 15; ++x)
            large.Set(x, y, 255);
    const Reduced plain = Reduce(large, false);
    for (int32_t j = 0; j < 11; ++j)
        for (int32_t k = 0; k < 11; ++k) {
            const bool text = j <= 4 && k <= 3; // rows from y = 0..12, columns from x = 0..9
            EXPECT_EQ(plain.At(k, j), text ? 0xFF336699u : 0u) << k << "," << j;
        }
    const Reduced shaded = Reduce(large, true);
    for (int32_t j = 0; j < 11; ++j)
        for (int32_t k = 0; k < 11; ++k) {
            uint32_t expected = 0;
            if (j <= 4 && k <= 3) expected = 0xFF336699u;
            // rows 3 and 4 cast into rows 2 and 3; only cells beyond the text
            // (columns 4 and 5) are fainter than the shadow of alpha 63.
            else if ((j == 2 || j == 3) && (k == 4 || k == 5))
                expected = 63u << 24;
            EXPECT_EQ(shaded.At(k, j), expected) << k << "," << j;
        }
}

TEST(GlowReduce, AverageReadsOnlyTheFirstByteAndTruncates) {
    LargeBuffer large(GlowGeometryFor(10, 12));
    large.Set(3, 3, 100); // block (1,1): sum 100 -> 11
    large.Set(4, 5, 8);   // sum 108 -> 12
    large.Set(6, 0, 8);   // block (2,0): 8 / 9 -> 0
    const Reduced r = Reduce(large, false, 0xFF0000FF);
    EXPECT_EQ(r.At(1, 1), (12u << 24) | 0x0000FFu); // text colour's top byte replaced
    EXPECT_EQ(r.At(2, 0), 0x000000FFu);             // coverage 0 still takes the colour
}

TEST(GlowReduce, ShadowLandsOneRowBelowTwoRight) {
    LargeBuffer large(GlowGeometryFor(30, 30));
    large.Block(4, 6, 255);
    const Reduced r = Reduce(large, true, 0x00FFFFFF, 0x00102030);
    EXPECT_EQ(r.At(4, 6), 0xFFFFFFFFu);
    EXPECT_EQ(r.At(6, 5), (63u << 24) | 0x102030u);
    // Nothing else carries alpha.
    for (int32_t j = 0; j < r.g.SmallHeight; ++j)
        for (int32_t k = 0; k < r.g.SmallWidth; ++k) {
            if ((k == 4 && j == 6) || (k == 6 && j == 5)) continue;
            EXPECT_EQ(r.At(k, j) >> 24, 0u) << k << "," << j;
        }
}

TEST(GlowReduce, ShadowOnlyCoversFainterPixels) {
    // Coverage of the caster, of the pixel below-right, and what remains there.
    struct Case {
        uint8_t caster;
        uint8_t under;
        uint32_t expectedAlpha;
        bool shadowWins;
    };
    const Case cases[] = {
        {255, 0, 63, true},  {255, 62, 63, true},  {255, 63, 63, false}, {255, 64, 64, false},
        {100, 24, 25, true}, {100, 25, 25, false}, {3, 0, 0, false}, // coverage 3 casts alpha 0:
                                                                     // nothing changes
    };
    for (const Case& c : cases) {
        LargeBuffer large(GlowGeometryFor(30, 30));
        large.Block(3, 6, c.caster);
        large.Block(5, 5, c.under);
        const Reduced r = Reduce(large, true, 0x00AABBCC, 0x00000000);
        const uint32_t below = r.At(5, 5);
        EXPECT_EQ(below >> 24, c.expectedAlpha) << int(c.caster) << " over " << int(c.under);
        EXPECT_EQ(below & 0xFFFFFF, c.shadowWins ? 0u : 0xAABBCCu);
    }
}

TEST(GlowReduce, BottomRowsCastNoShadowAndLowestRowsReceiveNone) {
    LargeBuffer large(GlowGeometryFor(30, 30));
    for (int32_t y = 0; y < 35; ++y)
        for (int32_t x = 0; x < 35; ++x)
            large.Set(x, y, 255);
    const Reduced r = Reduce(large, true);
    const int32_t lastText = (35 - 5) / 3; // last column written by text
    for (int32_t j = 0; j < r.g.SmallHeight; ++j) {
        const uint32_t beyond = r.At(lastText + 1, j);
        const bool shaded = j >= 2 && j <= (35 - 5) / 3 - 1;
        EXPECT_EQ(beyond >> 24, shaded ? 63u : 0u) << "row " << j;
    }
}

TEST(GlowReduce, WithoutShadowNothingRightOfTheText) {
    LargeBuffer large(GlowGeometryFor(20, 14));
    for (int32_t y = 0; y < 19; ++y)
        for (int32_t x = 0; x < 25; ++x)
            large.Set(x, y, 200);
    const Reduced r = Reduce(large, false);
    for (int32_t j = 0; j < r.g.SmallHeight; ++j)
        for (int32_t k = (25 - 5) / 3 + 1; k < r.g.SmallWidth; ++k)
            EXPECT_EQ(r.At(k, j), 0u);
}

TEST(GlowReduce, ShadowColourTopByteIsOredIn) {
    LargeBuffer large(GlowGeometryFor(30, 30));
    large.Block(4, 6, 255);
    const Reduced r = Reduce(large, true, 0, 0x80000000u);
    EXPECT_EQ(r.At(6, 5), 0x80000000u | (63u << 24));
}

TEST(GlowReduce, SmallestMeasureStaysInside) {
    // An empty text may measure 0 x 0: W = H = 5, one output cell.
    for (int32_t w : {0, 1, 2, 3})
        for (int32_t h : {0, 1, 2, 3}) {
            LargeBuffer large(GlowGeometryFor(w, h));
            for (auto& b : large.bytes)
                b = 255;
            const Reduced r = Reduce(large, true);
            EXPECT_EQ(r.At(0, 0), 0xFF336699u);
        }
}
