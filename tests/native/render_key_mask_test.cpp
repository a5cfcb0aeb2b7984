#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "render/key_mask.h"
#include "render/surface_rules.h"

TEST(KeyMask, AlphaBelowThreeIsOutside) {
    std::vector<uint8_t> picture;
    const uint8_t alphas[] = {0, 1, 2, 3, 4, 128, 255};
    for (uint8_t a : alphas) {
        const uint8_t px[4] = {0xFF, 0x00, 0xFF, a}; // colour bytes never matter
        picture.insert(picture.end(), px, px + 4);
    }
    std::vector<uint8_t> mask(picture.size(), 0x77); // stale content is overwritten
    FillKeyMask(picture.data(), mask.data(), 7);
    for (int i = 0; i < 7; ++i) {
        uint32_t v;
        std::memcpy(&v, &mask[i * 4], 4);
        EXPECT_EQ(v, alphas[i] < 3 ? 0xFFFF00FFu : 0u) << "alpha " << int(alphas[i]);
        if (alphas[i] < 3) {
            EXPECT_EQ(mask[i * 4 + 0], 255); // blue
            EXPECT_EQ(mask[i * 4 + 1], 0);   // green
            EXPECT_EQ(mask[i * 4 + 2], 255); // red
            EXPECT_EQ(mask[i * 4 + 3], 255);
        }
    }
}

TEST(MaskAlpha, FirstByteDecides) {
    const uint8_t mask[] = {0, 0, 0, 0, 1, 0, 0, 0, 0, 255, 255, 255, 255, 255, 255, 255};
    uint8_t colour[] = {10, 20, 30, 40, 11, 21, 31, 41, 12, 22, 32, 42, 13, 23, 33, 43};
    ApplyMaskAlpha(mask, colour, 4);
    const uint8_t expected[] = {10, 20, 30, 255, 11, 21, 31, 0, 12, 22, 32, 255, 13, 23, 33, 0};
    EXPECT_EQ(0, std::memcmp(colour, expected, sizeof expected));
}

TEST(SurfaceRules, TransparencyGivesEachPathItsOwnAlpha) {
    const int32_t t[] = {0, 10, 30, 50, 70};
    const uint8_t layered[] = {255, 230, 179, 128, 77};
    const uint8_t constant[] = {255, 229, 178, 127, 76};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(LayeredSourceAlpha(t[i]), layered[i]) << t[i];
        EXPECT_EQ(ConstantWindowAlpha(t[i]), constant[i]) << t[i];
    }
}

TEST(SurfaceRules, StyleLevelKeepsAnAlphaBackgroundLayered) {
    EXPECT_EQ(LayeredStyleLevel(true, 0), 1);
    EXPECT_EQ(LayeredStyleLevel(false, 0), 0);
    EXPECT_EQ(LayeredStyleLevel(true, 30), 30);
    EXPECT_EQ(LayeredStyleLevel(false, 70), 70);
    EXPECT_EQ(LayeredStyleLevel(false, 256), 0); // low byte only
}

TEST(SurfaceRules, LayeredOnlyWithAlphaLayeringAndAPopup) {
    for (int hasAlpha = 0; hasAlpha < 2; ++hasAlpha)
        for (int layered = 0; layered < 2; ++layered)
            for (int32_t z = 0; z < 3; ++z)
                EXPECT_EQ(PaintModeFor(hasAlpha, layered, z), hasAlpha && layered && z ? 1 : 0);
}
