// DrawMeter and DrawGlowText on real DIB sections: the right frame lands at
// the right place, masks cut exactly, texts land centred with their shadow.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>

#include "host/host_library.h"
#include "tests/wine/plugin_internals.h"
#include "tests/wine/render_fixtures.h"
#include "tests/wine/render_gdi_hooks.h"

namespace {

const uint32_t FrameColours[10] = {0xFF101010, 0xFF202020, 0xFF303030, 0xFF404040, 0xFF505050,
                                   0xFF606060, 0xFF707070, 0xFF808080, 0xFF909090, 0xFFA0A0A0};

// Every pixel of the target: the frame colour inside the frame's rectangle,
// the untouched fill outside it.
void ExpectFrameAt(Target& t, int32_t x0, int32_t y0, int32_t w, int32_t h, uint32_t colour,
                   uint32_t fill, const char* what) {
    int wrong = 0;
    for (int32_t y = 0; y < t.dib.height; ++y)
        for (int32_t x = 0; x < t.dib.width; ++x) {
            const bool inside = x >= x0 && x < x0 + w && y >= y0 && y < y0 + h;
            const uint32_t expected = inside ? colour : fill;
            if (t.At(x, y) != expected && wrong++ < 3)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex
                              << t.At(x, y) << " not " << expected;
        }
}

} // namespace

TEST(DrawMeter, ShowsTheFrameOfTheLevelAtItsOffset) {
    ImageInfo strip = MakeAlphaStrip(10, 8, 6, FrameColours);
    struct Case {
        int32_t headroom;
        int32_t frame;
    };
    const Case cases[] = {{100, 0}, {0, 9},   {1, 8},       {50, 4},  {99, 0},
                          {-1, 9},  {-70, 9}, {INT_MIN, 9}, {101, 0}, {INT_MAX, 0}};
    for (const Case& c : cases) {
        Target t(40, 30, 0x00000000);
        TestMeter meter;
        ResetMeter(&meter, strip, 10, c.headroom, 5, 7);
        DrawMeter(t.dc, &meter);
        ExpectFrameAt(t, 5, 7, 8, 6, FrameColours[c.frame], 0,
                      ("headroom " + std::to_string(c.headroom)).c_str());
    }
    FreeImageBitmaps(&strip);
}

TEST(DrawMeter, OneFrameShowsTheWholePictureAndTheRemainderNeverShows) {
    const uint32_t one[1] = {0xFF3366CC};
    ImageInfo whole = MakeAlphaStrip(1, 20, 4, one);
    for (int32_t headroom : {0, 37, 100}) {
        Target t(30, 10);
        TestMeter meter;
        ResetMeter(&meter, whole, 1, headroom, 2, 3);
        DrawMeter(t.dc, &meter);
        ExpectFrameAt(t, 2, 3, 20, 4, one[0], 0, "single frame");
    }
    FreeImageBitmaps(&whole);

    // 100 columns in 3 frames: frames are 33 wide and column 99 is never shown.
    ImageInfo strip = MakeAlphaStrip(3, 33, 5, FrameColours, 1, 0xFFFF00FF);
    ASSERT_EQ(strip.Width, 100);
    for (int32_t headroom : {0, -5}) {
        Target t(50, 10);
        TestMeter meter;
        ResetMeter(&meter, strip, 3, headroom, 0, 0);
        DrawMeter(t.dc, &meter);
        ExpectFrameAt(t, 0, 0, 33, 5, FrameColours[2], 0, "last of three");
    }
    FreeImageBitmaps(&strip);
}

TEST(DrawMeter, MaskPathGivesAlphaZeroExactlyWhereTheMaskIsWhite) {
    // Frame 1's mask is a checkerboard of 2x2 cells, frame 0's is all white.
    auto masked = [](int32_t x, int32_t y) { return x < 12 || ((x / 2 + y / 2) % 2) == 0; };
    ImageInfo strip = MakeMaskedStrip(2, 12, 10, FrameColours + 3, masked);
    Target t(30, 20, 0x00000000);
    TestMeter meter;
    ResetMeter(&meter, strip, 2, 0, 4, 6); // usage 100: frame 1
    DrawMeter(t.dc, &meter);
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 30; ++x) {
            const bool inFrame = x >= 4 && x < 16 && y >= 6 && y < 16;
            const bool white = inFrame && masked(12 + x - 4, y - 6);
            const uint32_t expected = inFrame && !white ? (FrameColours[4] | 0xFF000000u) : 0u;
            ASSERT_EQ(t.At(x, y), expected) << x << "," << y;
        }
    // Over an opaque target, the white mask pixels leave the target as it was.
    Target over(30, 20, 0xFF00FF00);
    DrawMeter(over.dc, &meter);
    EXPECT_EQ(over.At(4, 6), 0xFF00FF00u);     // (12, 0) of the strip is white
    EXPECT_EQ(over.At(6, 6), FrameColours[4]); // (14, 0) is black
    FreeImageBitmaps(&strip);
}

TEST(DrawMeter, PictureWithoutBitsOrMaskIsDrawnOpaque) {
    // Pixel data with alpha 0 that the direct path would treat as invisible.
    Dib32 colour = MakeDib(16, 4, 0x00224466);
    ImageInfo image = {};
    image.Kind = ImageKindAlpha;
    image.ColorBitmap = colour.bitmap;
    image.Width = 16;
    image.Height = 4;
    Target t(20, 10, 0xFF000000);
    TestMeter meter;
    ResetMeter(&meter, image, 2, 0, 1, 1);
    DrawMeter(t.dc, &meter);
    ExpectFrameAt(t, 1, 1, 8, 4, 0xFF224466, 0xFF000000, "opaque frame");
    FreeImageBitmaps(&image);
}

TEST(DrawMeter, FailedPictureDrawsNothingNotEvenItsText) {
    ImageInfo failed = {};
    failed.Kind = ImageKindFailed;
    Target t(60, 40, 0x11223344);
    TestMeter meter;
    ResetMeter(&meter, failed, 1, 0, 0, 0);
    SetMeterText(&meter, "99%", 30, 20);
    DrawMeter(t.dc, &meter);
    ExpectFrameAt(t, 0, 0, 0, 0, 0, 0x11223344, "failed picture");
}

TEST(DrawMeter, FreeImageBitmapsHonoursKeepAndKind) {
    gdi_hooks::Install(GetModuleHandleA(nullptr));
    const int before = gdi_hooks::LiveCount;
    ImageInfo masked = MakeMaskedStrip(1, 4, 4, FrameColours, [](int32_t, int32_t) { return 0; });
    ImageInfo alpha = MakeAlphaStrip(1, 4, 4, FrameColours);
    alpha.MaskBitmap = MakeDib(4, 4).bitmap; // not the picture's to delete
    ImageInfo kept = MakeAlphaStrip(1, 4, 4, FrameColours);
    kept.KeepBitmaps = -1;
    EXPECT_EQ(gdi_hooks::LiveCount, before + 5);
    FreeImageBitmaps(&masked);
    FreeImageBitmaps(&alpha);
    FreeImageBitmaps(&kept);
    EXPECT_EQ(gdi_hooks::LiveCount, before + 2); // the stray mask and the kept picture
    EXPECT_NE(GetObjectType(alpha.MaskBitmap), 0u);
    EXPECT_NE(GetObjectType(kept.ColorBitmap), 0u);
    EXPECT_EQ(GetObjectType(masked.MaskBitmap), 0u);
    EXPECT_EQ(masked.ColorBitmap != nullptr, true); // handles are left in the record
    DeleteObject(alpha.MaskBitmap);
    DeleteObject(kept.ColorBitmap);
}

// ---- Glow text ----

namespace {

struct TextBox {
    int32_t left = INT_MAX, top = INT_MAX, right = INT_MIN, bottom = INT_MIN;
    void Add(int32_t x, int32_t y) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    bool Empty() const { return left > right; }
};

// Size DrawTextA measures for the text with the meter font.
SIZE Measure(const char* text) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, SettingsForLoading().MeterFont.Handle);
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text, lstrlenA(text), &r, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    DeleteDC(dc);
    return SIZE{r.right, r.bottom};
}

struct GlowText : ::testing::Test {
    void SetUp() override { SettingsForLoading().MeterFont.Handle = MakeMeterFont(); }
    void TearDown() override { DeleteObject(SettingsForLoading().MeterFont.Handle); }
};

} // namespace

TEST_F(GlowText, LandsCentredOnItsPointWithItsShadowBelowRight) {
    const char* text = "88%";
    const SIZE m = Measure(text);
    ASSERT_GT(m.cx, 20);
    const int32_t W = m.cx + 5, H = m.cy + 5;
    const int32_t w3 = W / 3 + 6, h3 = H / 3 + 6;
    const int32_t cx = 60, cy = 40;
    const int32_t left = cx - (w3 / 2 - 1), top = cy - (h3 / 2 - 1);

    // Red text, black shadow, over opaque white.
    Target t(120, 80, 0xFFFFFFFF);
    DrawGlowText(t.dc, cx, cy, text, 1, 0x00FF0000, 0);
    TextBox red, grey, all;
    for (int32_t y = 0; y < 80; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const uint32_t p = t.At(x, y);
            if (p == 0xFFFFFFFF) continue;
            all.Add(x, y);
            const uint32_t r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
            if (r == 255 && g == b)
                red.Add(x, y); // text over white keeps red at 255
            else if (r == g && g == b)
                grey.Add(x, y); // only the shadow is grey
        }
    ASSERT_FALSE(red.Empty());
    ASSERT_FALSE(grey.Empty());
    // Everything lands inside the small buffer's rectangle centred on the point.
    EXPECT_GE(all.left, left);
    EXPECT_GE(all.top, top);
    EXPECT_LT(all.right, left + w3);
    EXPECT_LT(all.bottom, top + h3);
    // The glyphs start at the buffer's left; the buffer's lowest output row
    // (storage row 0) sits h3 - 1 rows below its top.
    EXPECT_LE(red.left, left + 1);
    EXPECT_LE(red.bottom, top + h3 - 1);
    EXPECT_LE(red.right, left + (W - 5) / 3);
    // The shadow reaches exactly two pixels right of and one row below the text.
    EXPECT_EQ(grey.right, red.right + 2);
    EXPECT_EQ(grey.bottom, red.bottom + 1);
    EXPECT_GT(grey.left, red.left);
}

TEST_F(GlowText, MovesExactlyWithItsPointAndKeepsTheTargetsSettings) {
    const char* text = "42 Kb/s";
    Target a(160, 60), b(160, 60);
    SetTextColor(b.dc, RGB(1, 2, 3));
    SetBkMode(b.dc, OPAQUE);
    DrawGlowText(a.dc, 50, 20, text, 1, 0x00FFFFFF, 0);
    DrawGlowText(b.dc, 57, 31, text, 1, 0x00FFFFFF, 0);
    EXPECT_EQ(GetTextColor(b.dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(b.dc), OPAQUE);
    int lit = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 160; ++x) {
            const uint32_t pa = a.At(x, y);
            lit += pa != 0;
            if (x + 7 >= 160 || y + 11 >= 60) continue;
            ASSERT_EQ(b.At(x + 7, y + 11), pa) << x << "," << y;
        }
    EXPECT_GT(lit, 50);
}

TEST_F(GlowText, WithoutShadowOnlyTextPixels) {
    Target t(120, 60, 0xFFFFFFFF);
    DrawGlowText(t.dc, 60, 30, "77", 0, 0x000000FF, 0);
    int blue = 0;
    for (int32_t y = 0; y < 60; ++y)
        for (int32_t x = 0; x < 120; ++x) {
            const uint32_t p = t.At(x, y);
            if (p == 0xFFFFFFFF) continue;
            // Blue over white: blue stays 255, red and green fall together.
            ASSERT_EQ(p & 0xFF, 0xFFu) << x << "," << y;
            ASSERT_EQ((p >> 8) & 255, (p >> 16) & 255);
            ++blue;
        }
    EXPECT_GT(blue, 10);
}

TEST_F(GlowText, MeterTextLiesOverItsFrameAndALaterMeterOverBoth) {
    ImageInfo strip = MakeAlphaStrip(1, 60, 30, FrameColours);
    Target t(80, 40);
    TestMeter first, second;
    ResetMeter(&first, strip, 1, 50, 0, 0);
    SetMeterText(&first, "123", 30, 15);
    SettingsForLoading().FontColor = 0x00FF0000;
    DrawMeter(t.dc, &first);
    int reddish = 0;
    for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < 60; ++x)
            reddish += ((t.At(x, y) >> 16) & 255) > 0x60;
    EXPECT_GT(reddish, 10); // the text shows on the frame
    ResetMeter(&second, strip, 1, 50, 0, 0);
    DrawMeter(t.dc, &second); // no text: covers the first meter entirely
    ExpectFrameAt(t, 0, 0, 60, 30, FrameColours[0], 0, "later meter");
    FreeImageBitmaps(&strip);
}

// ---- Failure paths: every creation that can fail, failed in turn ----

TEST_F(GlowText, NothingIsWrittenThroughAFailedBufferAndNothingLeaks) {
    ASSERT_GT(gdi_hooks::Install(GetModuleHandleA(nullptr)), 0);
    auto masked = [](int32_t x, int32_t) { return x % 3 == 0; };
    ImageInfo strip = MakeMaskedStrip(2, 12, 10, FrameColours, masked);
    TestMeter meter;
    ResetMeter(&meter, strip, 2, 0, 2, 2);
    SetMeterText(&meter, "50%", 40, 20);
    // One drawing makes 2 + 3 (frame) + 1 + 2 (text) creations; fail each.
    for (int failAt = 1; failAt <= 8; ++failAt) {
        Target t(80, 40, 0xFF808080);
        const int before = gdi_hooks::LiveCount;
        gdi_hooks::FailCountdown = failAt;
        DrawMeter(t.dc, &meter);
        EXPECT_EQ(gdi_hooks::FailCountdown, 0) << "creation " << failAt << " was not reached";
        gdi_hooks::FailCountdown = 0;
        EXPECT_EQ(gdi_hooks::LiveCount, before) << "leak when creation " << failAt << " fails";
        // A failed frame step leaves the frame area untouched, a failed text
        // step the text area: compare the two halves with a full drawing.
        Target full(80, 40, 0xFF808080);
        DrawMeter(full.dc, &meter);
        bool frameDrawn = t.At(3, 3) == full.At(3, 3);
        bool textDrawn = true;
        for (int32_t y = 12; y < 30; ++y)
            for (int32_t x = 20; x < 70; ++x)
                if (t.At(x, y) != full.At(x, y)) textDrawn = false;
        EXPECT_EQ(frameDrawn, failAt > 5) << failAt;
        EXPECT_EQ(textDrawn, failAt <= 5) << failAt;
    }
    FreeImageBitmaps(&strip);
}
