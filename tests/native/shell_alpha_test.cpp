#include "shell/pictures/rules/alpha_kernels.h"

#include <gtest/gtest.h>
#include <cmath>
#include <vector>

namespace {

uint32_t Pixel(uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
    return uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16 | uint32_t(a) << 24;
}

TEST(ShellAlpha, MulDiv255RoundsToNearestForEveryPair) {
    for (uint32_t c = 0; c < 256; ++c)
        for (uint32_t a = 0; a < 256; ++a)
            ASSERT_EQ(MulDiv255(c, a), uint32_t(std::lround(c * a / 255.0))) << c << " " << a;
}

TEST(ShellAlpha, PremultiplyKeepsAlphaAndScalesColour) {
    std::vector<uint32_t> pixels = {Pixel(255, 128, 1, 255), Pixel(255, 128, 1, 0),
                                    Pixel(255, 128, 1, 128), Pixel(200, 100, 50, 1)};
    PremultiplyPixels(reinterpret_cast<uint8_t*>(pixels.data()), uint32_t(pixels.size()));
    EXPECT_EQ(pixels[0], Pixel(255, 128, 1, 255));
    EXPECT_EQ(pixels[1], Pixel(0, 0, 0, 0));
    EXPECT_EQ(pixels[2], Pixel(128, 64, 1, 128)); // 64.25 -> 64, 0.50 -> 1
    EXPECT_EQ(pixels[3], Pixel(1, 0, 0, 1));
}

// A w x h buffer of 32-bit pixels; row 0 is the top row whatever the order in memory.
struct Image {
    std::vector<uint32_t> Pixels;
    PixelBuffer Buffer;
    Image(int w, int h, bool bottomUp, uint32_t fill) : Pixels(size_t(w) * h, fill) {
        Buffer = {reinterpret_cast<uint8_t*>(Pixels.data()), w, h, w * 4, bottomUp};
    }
    uint32_t& At(int x, int y) {
        int row = Buffer.BottomUp ? Buffer.Height - 1 - y : y;
        return Pixels[size_t(row) * Buffer.Width + x];
    }
};

TEST(ShellAlpha, BlendIsSourceOverPerChannelIncludingAlpha) {
    Image source(3, 1, true, 0);
    source.At(0, 0) = Pixel(10, 20, 30, 255);
    source.At(1, 0) = Pixel(64, 0, 32, 128); // premultiplied half-transparent
    source.At(2, 0) = Pixel(0, 0, 0, 0);
    Image target(3, 1, false, Pixel(200, 100, 50, 255));
    BlendPremultiplied(source.Buffer, target.Buffer, {0, 0, 3, 1, 0});
    EXPECT_EQ(target.At(0, 0), Pixel(10, 20, 30, 255));
    // 64 + 200 * 127 / 255 = 64 + 99.6 -> 164; 0 + 49.8 -> 50; 32 + 24.9 -> 57; 128 + 127.
    EXPECT_EQ(target.At(1, 0), Pixel(164, 50, 57, 255));
    EXPECT_EQ(target.At(2, 0), Pixel(200, 100, 50, 255));

    Image clear(1, 1, false, Pixel(0, 0, 0, 0));
    BlendPremultiplied(source.Buffer, clear.Buffer, {0, 0, 1, 1, 1});
    EXPECT_EQ(clear.At(0, 0), Pixel(64, 0, 32, 128));
}

TEST(ShellAlpha, RowOrderOfBothBuffersIsHonoured) {
    for (bool sourceBottomUp : {true, false}) {
        for (bool targetBottomUp : {true, false}) {
            Image source(2, 2, sourceBottomUp, 0);
            source.At(0, 0) = Pixel(1, 1, 1, 255);
            source.At(1, 0) = Pixel(2, 2, 2, 255);
            source.At(0, 1) = Pixel(3, 3, 3, 255);
            source.At(1, 1) = Pixel(4, 4, 4, 255);
            Image target(3, 3, targetBottomUp, 0);
            BlendPremultiplied(source.Buffer, target.Buffer, {1, 1, 2, 2, 0});
            EXPECT_EQ(target.At(1, 1), Pixel(1, 1, 1, 255));
            EXPECT_EQ(target.At(2, 1), Pixel(2, 2, 2, 255));
            EXPECT_EQ(target.At(1, 2), Pixel(3, 3, 3, 255));
            EXPECT_EQ(target.At(2, 2), Pixel(4, 4, 4, 255));
            EXPECT_EQ(target.At(0, 0), 0u);
        }
    }
}

TEST(ShellAlpha, ClippingTable) {
    // Source 10 x 4, target 8 x 6.
    struct Case {
        BlendRequest Request;
        bool Any;
        ClippedBlock Block;
    } cases[] = {
        {{0, 0, 4, 4, 2}, true, {2, 0, 0, 0, 4, 4}},
        {{0, 0, 4, 99, 0}, true, {0, 0, 0, 0, 4, 4}},  // height is the source's at most
        {{0, 0, 6, 4, 8}, true, {8, 0, 0, 0, 2, 4}},   // past the source's right edge
        {{0, 0, 6, 4, -2}, true, {0, 0, 2, 0, 4, 4}},  // before the source's left edge
        {{-3, -1, 5, 4, 0}, true, {3, 1, 0, 0, 2, 3}}, // left of and above the target
        {{6, 4, 5, 4, 0}, true, {0, 0, 6, 4, 2, 2}},   // past the target's corner
        {{0, 0, 4, 4, 10}, false, {}},                 // wholly right of the source
        {{8, 0, 4, 4, 0}, false, {}},                  // wholly right of the target
        {{0, 6, 4, 4, 0}, false, {}},                  // wholly below the target
        {{0, 0, 0, 4, 0}, false, {}},
        {{0, 0, -5, 4, 0}, false, {}},
        {{0, 0, 4, -1, 0}, false, {}},
        {{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX, INT32_MIN}, false, {}},
        {{INT32_MAX, 0, INT32_MAX, 4, 0}, false, {}},
        {{-5, 0, INT32_MAX, 4, INT32_MAX}, false, {}},
        {{0, 0, INT32_MAX, INT32_MAX, 0}, true, {0, 0, 0, 0, 8, 4}},
    };
    for (const Case& c : cases) {
        const BlendRequest& r = c.Request;
        SCOPED_TRACE(testing::Message() << r.X << "," << r.Y << " " << r.Width << "x" << r.Height
                                        << " from " << r.SourceX);
        ClippedBlock block = {};
        ASSERT_EQ(ClipBlendRequest(r, 10, 4, 8, 6, &block), c.Any);
        if (!c.Any) continue;
        EXPECT_EQ(block.SourceX, c.Block.SourceX);
        EXPECT_EQ(block.SourceY, c.Block.SourceY);
        EXPECT_EQ(block.TargetX, c.Block.TargetX);
        EXPECT_EQ(block.TargetY, c.Block.TargetY);
        EXPECT_EQ(block.Width, c.Block.Width);
        EXPECT_EQ(block.Height, c.Block.Height);
    }
}

TEST(ShellAlpha, WildRequestsStayInsideBothBuffers) {
    // Under AddressSanitizer any read or write outside the exact-size buffers fails.
    const int32_t values[] = {INT32_MIN, -100, -9, -1, 0, 1, 3, 7, 9, 10, 11, 100, INT32_MAX};
    Image source(10, 4, true, Pixel(9, 9, 9, 255));
    Image target(8, 6, false, 0);
    for (int32_t x : values)
        for (int32_t w : values)
            for (int32_t sx : values)
                for (int32_t y : {INT32_MIN, -2, 0, 5, 6, INT32_MAX})
                    BlendPremultiplied(source.Buffer, target.Buffer, {x, y, w, 4, sx});
    EXPECT_EQ(target.At(0, 0), Pixel(9, 9, 9, 255));
}

// A masked picture: the colour where the mask's colour bytes are black
// (whatever its alpha byte), the target elsewhere, at every width (four
// pixels at a time and the rest) and for both row orders.
TEST(ShellAlpha, MaskedPicturesShowTheirColourWhereTheMaskIsBlack) {
    const uint32_t masks[] = {0,
                              Pixel(0, 0, 0, 255),
                              Pixel(255, 255, 255, 0),
                              Pixel(255, 255, 255, 255),
                              Pixel(1, 0, 0, 0),
                              Pixel(0, 0, 1, 0)};
    const bool shows[] = {true, true, false, false, false, false};
    for (bool bottomUp : {true, false})
        for (int32_t width = 1; width <= 11; ++width) {
            Image colour(width, 2, true, 0), mask(width, 2, bottomUp, 0);
            Image target(width + 2, 3, !bottomUp, Pixel(7, 7, 7, 7));
            for (int32_t y = 0; y < 2; ++y)
                for (int32_t x = 0; x < width; ++x) {
                    colour.At(x, y) = Pixel(uint8_t(x), uint8_t(y), 200, 255);
                    mask.At(x, y) = masks[(x + 3 * y) % 6];
                }
            PutMaskedBlock(colour.Buffer, mask.Buffer, target.Buffer, {0, 0, 1, 1, width, 2});
            for (int32_t y = 0; y < 3; ++y)
                for (int32_t x = 0; x < width + 2; ++x) {
                    const bool shown =
                        x >= 1 && x <= width && y >= 1 && shows[(x - 1 + 3 * (y - 1)) % 6];
                    ASSERT_EQ(target.At(x, y), shown
                                                   ? Pixel(uint8_t(x - 1), uint8_t(y - 1), 200, 255)
                                                   : Pixel(7, 7, 7, 7))
                        << "width " << width << " at " << x << "," << y;
                }
        }
}

TEST(ShellAlpha, NullBuffersDoNothing) {
    Image target(2, 2, false, 7);
    PixelBuffer none = {nullptr, 2, 2, 8, true};
    BlendPremultiplied(none, target.Buffer, {0, 0, 2, 2, 0});
    BlendPremultiplied(target.Buffer, none, {0, 0, 2, 2, 0});
    PremultiplyPixels(nullptr, 4);
    EXPECT_EQ(target.At(1, 1), 7u);
}

} // namespace
