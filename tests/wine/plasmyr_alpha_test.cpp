// PreAlpha and AlphaBlt through the real plasmyr.dll, on real DIB sections.
#include "host/host_library.h"
#include "tests/wine/test_dib.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(PlasmyrAlpha, PreAlphaPremultipliesInPlace) {
    TestDib buffer(2, 2, true, 0);
    buffer.At(0, 0) = Pixel(255, 128, 1, 128);
    buffer.At(1, 0) = Pixel(200, 100, 50, 0);
    buffer.At(0, 1) = Pixel(200, 100, 50, 255);
    buffer.At(1, 1) = Pixel(255, 255, 255, 1);
    EXPECT_TRUE(PreAlpha(2, 2, buffer.Bits));
    EXPECT_EQ(buffer.At(0, 0), Pixel(128, 64, 1, 128));
    EXPECT_EQ(buffer.At(1, 0), Pixel(0, 0, 0, 0));
    EXPECT_EQ(buffer.At(0, 1), Pixel(200, 100, 50, 255));
    EXPECT_EQ(buffer.At(1, 1), Pixel(1, 1, 1, 1));
    EXPECT_FALSE(PreAlpha(2, 2, nullptr));
    EXPECT_FALSE(PreAlpha(-1, 2, buffer.Bits));
}

// A 3-frame strip of 2 x 2 frames, premultiplied, bottom-up; frame f, pixel
// (x, y) has blue 10 * f + x + 1 and green y + 1, opaque; frame 2 is half
// transparent black.
struct Strip : TestDib {
    Strip() : TestDib(6, 2, true, 0) {
        for (int f = 0; f < 2; ++f)
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 2; ++x)
                    At(f * 2 + x, y) = Pixel(uint8_t(10 * f + x + 1), uint8_t(y + 1), 0, 255);
        for (int y = 0; y < 2; ++y)
            for (int x = 4; x < 6; ++x)
                At(x, y) = Pixel(0, 0, 0, 128);
    }
};

TEST(PlasmyrAlpha, BlendsTheChosenFrameAtItsPlaceOnBothRowOrders) {
    Strip strip;
    for (bool bottomUp : {true, false}) {
        SCOPED_TRACE(bottomUp);
        TestDib target(5, 4, bottomUp, Pixel(200, 200, 200, 255));
        EXPECT_TRUE(AlphaBlt(target.Dc, 2, 1, 2, 2, strip.Bitmap, 2, 6, 2, strip.Bits));
        EXPECT_EQ(target.At(2, 1), Pixel(11, 1, 0, 255));
        EXPECT_EQ(target.At(3, 1), Pixel(12, 1, 0, 255));
        EXPECT_EQ(target.At(2, 2), Pixel(11, 2, 0, 255));
        EXPECT_EQ(target.At(3, 2), Pixel(12, 2, 0, 255));
        EXPECT_EQ(target.At(1, 1), Pixel(200, 200, 200, 255));
        EXPECT_EQ(target.At(4, 1), Pixel(200, 200, 200, 255));
        EXPECT_EQ(target.At(2, 0), Pixel(200, 200, 200, 255));
        EXPECT_EQ(target.At(2, 3), Pixel(200, 200, 200, 255));
        // The half-transparent frame darkens: 200 * 127 / 255 = 99.6 -> 100.
        EXPECT_TRUE(AlphaBlt(target.Dc, 0, 0, 2, 2, strip.Bitmap, 4, 6, 2, strip.Bits));
        EXPECT_EQ(target.At(0, 0), Pixel(100, 100, 100, 255));
        // Onto a clear target the source's alpha is kept.
        TestDib clear(2, 2, bottomUp, 0);
        AlphaBlt(clear.Dc, 0, 0, 2, 2, strip.Bitmap, 4, 6, 2, strip.Bits);
        EXPECT_EQ(clear.At(1, 1), Pixel(0, 0, 0, 128));
    }
}

TEST(PlasmyrAlpha, BlocksAreCutAtEveryEdge) {
    Strip strip;
    const uint32_t grey = Pixel(200, 200, 200, 255);
    struct Case {
        int X, Y, Width, SourceX;
        int Changed; // pixels of the 4 x 3 target that change
    } cases[] = {
        {-1, 0, 2, 0, 2},                      // half left of the target
        {3, 2, 2, 0, 1},                       // past the right and bottom edges
        {0, -1, 2, 0, 2},                      // above the target
        {0, 0, 4, 4, 4},                       // the last frame and past the strip's end: 2 columns
        {0, 0, 2, -1, 2},                      // before the strip's start: 1 column, placed at x 1
        {0, 0, 2, 6, 0},                       // wholly past the strip
        {4, 0, 2, 0, 0},                       // wholly right of the target
        {-100000, -100000, 200000, -50000, 0}, // the strip lands left of and above the target
        {0, 0, 0x7FFFFFFF, 0, 8},              // 4 columns of the 2 source rows
        {0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0x7FFFFFFF, 0},
        {-0x7FFFFFFF, 0, 0x7FFFFFFF, -0x7FFFFFFF, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.X << "," << c.Y << " w" << c.Width << " sx" << c.SourceX);
        TestDib target(4, 3, true, grey);
        AlphaBlt(target.Dc, c.X, c.Y, c.Width, 2, strip.Bitmap, c.SourceX, 6, 2, strip.Bits);
        int changed = 0;
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                changed += target.At(x, y) != grey;
        EXPECT_EQ(changed, c.Changed);
    }
    TestDib target(4, 3, true, grey);
    AlphaBlt(target.Dc, 0, 0, 2, 2, strip.Bitmap, -1, 6, 2, strip.Bits);
    EXPECT_EQ(target.At(1, 0), Pixel(1, 1, 0, 255)); // source column 0 lands at x 1
    EXPECT_EQ(target.At(0, 0), grey);
}

TEST(PlasmyrAlpha, NothingHappensWithoutPixelsOrTarget) {
    Strip strip;
    TestDib target(4, 3, true, 5);
    EXPECT_FALSE(AlphaBlt(target.Dc, 0, 0, 2, 2, strip.Bitmap, 0, 6, 2, nullptr));
    EXPECT_FALSE(AlphaBlt(target.Dc, 0, 0, 2, 2, nullptr, 0, 6, 2, strip.Bits));
    EXPECT_FALSE(AlphaBlt(nullptr, 0, 0, 2, 2, strip.Bitmap, 0, 6, 2, strip.Bits));
    EXPECT_FALSE(AlphaBlt(target.Dc, 0, 0, 2, 2, strip.Bitmap, 0, 0, 2, strip.Bits));
    EXPECT_EQ(target.At(0, 0), 5u);
}

TEST(PlasmyrAlpha, DeviceBitmapTargetsAreBlendedByTheSystem) {
    Strip strip;
    HDC screen = GetDC(nullptr);
    HBITMAP device = CreateCompatibleBitmap(screen, 4, 3);
    HDC dc = CreateCompatibleDC(screen);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, device);
    RECT all = {0, 0, 4, 3};
    HBRUSH brush = CreateSolidBrush(RGB(200, 200, 200));
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    EXPECT_TRUE(AlphaBlt(dc, 3, 1, 2, 2, strip.Bitmap, 0, 6, 2, strip.Bits));
    EXPECT_EQ(GetPixel(dc, 3, 1), RGB(0, 1, 1));
    EXPECT_EQ(GetPixel(dc, 3, 2), RGB(0, 2, 1));
    EXPECT_EQ(GetPixel(dc, 2, 1), RGB(200, 200, 200));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(device);
}

} // namespace
