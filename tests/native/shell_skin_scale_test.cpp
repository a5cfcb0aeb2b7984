#include "shell/skin_files/rules/skin_scale.h"
#include "shell/skin_files/rules/strip_resample.h"

#include "tests/native/test_descriptor.h"

#include <gtest/gtest.h>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

const SettingRoles& Roles() {
    static SettingRoles roles;
    char reason[200] = "";
    EXPECT_TRUE(FindSettingRoles(test_descriptor::Descriptor(true), &roles, reason, sizeof reason))
        << reason;
    return roles;
}

TEST(SkinScale, LengthsRoundHalfAwayFromZero) {
    struct Row {
        int32_t Value, From, To, Expected;
    } rows[] = {
        {0, 96, 120, 0},
        {1, 96, 120, 1},
        {2, 96, 120, 3}, // 2.5 rounds up
        {-2, 96, 120, -3},
        {106, 96, 144, 159},
        {7, 96, 144, 11}, // 10.5
        {-7, 96, 144, -11},
        {5, 96, 96, 5},
        {13, 96, 192, 26},
        {101, 192, 96, 51},
        {100, 192, 144, 75},
        {3, 144, 120, 3}, // 2.5 from a 1.5x picture
        {INT_MAX, 96, 192, INT_MAX},
        {INT_MIN, 96, 192, INT_MIN},
        {9, 0, 192, 9},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ScaleLengthBetween(r.Value, r.From, r.To), r.Expected)
            << r.Value << " from " << r.From << " to " << r.To;
    EXPECT_EQ(UsableDpi(0), 96);
    EXPECT_EQ(UsableDpi(1000), 96);
    EXPECT_EQ(UsableDpi(120), 120);
}

const char Ini[] = "[Quilbex]\r\nX=-300\r\nY=40\r\nSkin=background.png\r\n"
                   "CPUSkin=cpu.png\r\nCPUFramesCount=21\r\nCPUOffsetX=106\r\nCPUOffsetY=17\r\n"
                   "CPUTextdX=56\r\nCPUTextdY=23\r\nMEMSkin=Bars\\mem.png\r\nMEMFramesCount=0\r\n"
                   "NetInSkin=netin.png\r\nNetOutFramesCount=5\r\nFont=Tahoma,8,bold\r\n"
                   "Elapse=800\r\n[Other]\r\nNetOutSkin=elsewhere.png\r\n";

TEST(SkinScale, SettingsMapByRole) {
    struct Row {
        const char* Key;
        int32_t Value, Dpi, Expected;
    } rows[] = {
        {"CPUOffsetX", 106, 144, 159},
        {"cpuoffsetx", 106, 144, 159},
        {"CPUOffsetY", 17, 120, 21},
        {"CPUTextdX", 56, 192, 112},
        {"CPUTextdY", 23, 144, 35},
        {"NetOutTextdY", 95, 144, 143},
        {"MEMOffsetX", -3, 144, -5},
        {"X", -300, 192, -300},
        {"Y", 40, 144, 40},
        {"CPUFramesCount", 21, 192, 21},
        {"Elapse", 800, 192, 800},
        {"Transparency", 20, 192, 20},
        {"MaxNetSpeed", 1000, 144, 1000},
        {"LockMode", 1, 192, 1},
        {"Z-Order", 2, 192, 2},
        {"CPUOffsetX", 106, 96, 106},
        {"", 7, 192, 7},
        {nullptr, 7, 192, 7},
    };
    for (const Row& r : rows) {
        SkinScaleView view;
        BuildSkinScaleView(Roles(), Ini, sizeof Ini - 1, r.Dpi, &view);
        EXPECT_EQ(ScaledSetting(view, r.Key, r.Value), r.Expected)
            << (r.Key ? r.Key : "(null)") << " at " << r.Dpi;
    }
    struct FontRow {
        const char* Key;
        int32_t Points, Dpi, Expected;
    } fonts[] = {{"Font", 8, 120, 10}, {"FONT", 8, 144, 12}, {"Font", 8, 192, 16},
                 {"Font", 9, 120, 11}, {"Font", 8, 96, 8},   {"CPUSkin", 8, 192, 8}};
    for (const FontRow& r : fonts) {
        SkinScaleView view;
        BuildSkinScaleView(Roles(), Ini, sizeof Ini - 1, r.Dpi, &view);
        EXPECT_EQ(ScaledFontSize(view, r.Key, r.Points), r.Expected) << r.Key << " at " << r.Dpi;
    }
}

TEST(SkinScale, PicturesKeepTheirFrameCounts) {
    SkinScaleView view;
    BuildSkinScaleView(Roles(), Ini, sizeof Ini - 1, 144, &view);
    struct Row {
        const char* Path;
        int32_t Frames;
    } rows[] = {
        {"background.png", 1}, {"cpu.png", 21},
        {"CPU.PNG", 21},       {"Bars\\mem.png", 1}, // 0 frames count as 1
        {"netin.png", 1},                            // not written: the row's default
        {"elsewhere.png", 1},                        // another section's key
        {"unknown.png", 1},    {nullptr, 1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FramesOfPicture(view, r.Path), r.Frames) << (r.Path ? r.Path : "(null)");
    EXPECT_EQ(view.PictureCount, 4);
    EXPECT_EQ(view.Dpi, 144);
}

TEST(SkinScale, PictureForTheScale) {
    struct Row {
        int32_t Dpi;
        bool Present[3]; // 1x, 1.5x, 2x
        int32_t Expected;
    } rows[] = {
        {96, {true, true, true}, 0},   {120, {true, true, true}, 1},
        {144, {true, true, true}, 1},  {168, {true, true, true}, 2},
        {192, {true, true, true}, 2},  {240, {true, true, true}, 2},
        {120, {true, false, true}, 2}, {144, {true, false, false}, 0},
        {192, {true, true, false}, 1}, {96, {false, false, true}, 2},
        {72, {true, true, true}, 0},   {96, {false, false, false}, -1},
    };
    for (const Row& r : rows)
        EXPECT_EQ(ChoosePictureScale(r.Dpi, r.Present), r.Expected) << r.Dpi;

    struct NameRow {
        const char* Path;
        const char* Suffix;
        const char* Expected;
    } names[] = {
        {"cpu.png", "@2x", "cpu@2x.png"},
        {"skins\\my.skin\\cpu.png", "@1.5x", "skins\\my.skin\\cpu@1.5x.png"},
        {"skins\\my.skin\\cpu", "@2x", "skins\\my.skin\\cpu@2x"},
        {"C:/a.b/c.d.png", "@2x", "C:/a.b/c.d@2x.png"},
        {"cpu.png", "", "cpu.png"},
    };
    for (const NameRow& r : names) {
        char out[64];
        EXPECT_TRUE(PictureNameForScale(r.Path, r.Suffix, out, sizeof out));
        EXPECT_STREQ(out, r.Expected);
    }
    char small[8];
    EXPECT_FALSE(PictureNameForScale("cpu.png", "@2x", small, sizeof small));
    EXPECT_STREQ(small, "");
}

TEST(SkinScale, StripSizesScaleEachFrame) {
    struct Row {
        int32_t Width, Height, Frames, From, To;
        bool Usable;
        int32_t SourceFrame, Frame, ScaledHeight;
    } rows[] = {
        {2100, 12, 21, 96, 120, true, 100, 125, 15},
        {2100, 12, 21, 96, 144, true, 100, 150, 18},
        {99, 7, 3, 96, 120, true, 33, 41, 9},    // 41.25, 8.75
        {99, 7, 3, 96, 144, true, 33, 50, 11},   // 49.5, 10.5
        {101, 10, 4, 96, 192, true, 25, 50, 20}, // the last column never shows
        {4200, 24, 21, 192, 120, true, 200, 125, 15},
        {1, 1, 1, 96, 48, true, 1, 1, 1},   // never below a pixel
        {3, 5, 0, 96, 192, true, 3, 6, 10}, // 0 frames count as 1
        {3, 5, 4, 96, 192, false, 0, 0, 0}, // no whole frame
        {0, 5, 1, 96, 192, false, 0, 0, 0},
    };
    for (const Row& r : rows) {
        StripSizes sizes;
        EXPECT_EQ(ScaledStripSizes(r.Width, r.Height, r.Frames, r.From, r.To, &sizes), r.Usable);
        EXPECT_EQ(sizes.SourceFrameWidth, r.SourceFrame) << r.Width << "x" << r.Height;
        EXPECT_EQ(sizes.FrameWidth, r.Frame) << r.Width << "x" << r.Height;
        EXPECT_EQ(sizes.Height, r.ScaledHeight) << r.Width << "x" << r.Height;
    }
}

// BGRA words.
uint32_t Pixel(uint32_t r, uint32_t g, uint32_t b, uint32_t a = 255) {
    return b | g << 8 | r << 16 | a << 24;
}

std::vector<uint32_t> Resample(const std::vector<uint32_t>& source, int32_t width, int32_t height,
                               int32_t frames, int32_t dpi, bool keyed, StripSizes* sizes) {
    EXPECT_TRUE(ScaledStripSizes(width, height, frames, 96, dpi, sizes));
    std::vector<uint32_t> target(size_t(sizes->Frames * sizes->FrameWidth * sizes->Height));
    EXPECT_TRUE(ResampleStrip(source.data(), width, height, *sizes, keyed, target.data()));
    return target;
}

TEST(StripResample, FramesStayApart) {
    // Frames of odd widths, each one colour: no pixel of a scaled frame may
    // take any of its neighbour's colour. The last column of the strip is a
    // remainder that never shows, coloured to be seen if it leaked.
    const uint32_t colours[] = {Pixel(255, 0, 0), Pixel(0, 0, 255), Pixel(0, 255, 0)};
    struct Row {
        int32_t FrameWidth, Height, Dpi;
    } rows[] = {{3, 5, 120}, {3, 5, 144}, {5, 3, 120}, {7, 7, 144}, {5, 3, 192}, {9, 5, 72}};
    for (const Row& r : rows) {
        const int32_t width = 3 * r.FrameWidth + 1;
        std::vector<uint32_t> source(size_t(width * r.Height));
        for (int32_t y = 0; y < r.Height; ++y)
            for (int32_t x = 0; x < width; ++x)
                source[size_t(y * width + x)] =
                    x < 3 * r.FrameWidth ? colours[x / r.FrameWidth] : Pixel(9, 9, 9);
        StripSizes sizes;
        std::vector<uint32_t> target = Resample(source, width, r.Height, 3, r.Dpi, false, &sizes);
        const int32_t targetWidth = 3 * sizes.FrameWidth;
        EXPECT_EQ(sizes.FrameWidth, ScaleLength(r.FrameWidth, r.Dpi));
        for (int32_t y = 0; y < sizes.Height; ++y)
            for (int32_t x = 0; x < targetWidth; ++x)
                ASSERT_EQ(target[size_t(y * targetWidth + x)], colours[x / sizes.FrameWidth])
                    << "frame width " << r.FrameWidth << " at " << r.Dpi << ": " << x << "," << y;
    }
}

TEST(StripResample, AreaAverages) {
    // One row of four pixels, values 0, 40, 80, 120 in every channel.
    std::vector<uint32_t> row;
    for (uint32_t v : {0u, 40u, 80u, 120u})
        row.push_back(Pixel(v, v, v, v));
    struct Case {
        int32_t Dpi;
        std::vector<uint32_t> Expected; // grey levels
    } cases[] = {
        {96, {0, 40, 80, 120}},                  // the same pixels
        {192, {0, 0, 40, 40, 80, 80, 120, 120}}, // blocks, nothing blended
        {48, {20, 100}},
        {144, {0, 20, 40, 80, 100, 120}}, // a pixel astride two takes a third of each
        {120, {0, 30, 60, 90, 120}},
    };
    for (const Case& c : cases) {
        StripSizes sizes;
        std::vector<uint32_t> target = Resample(row, 4, 1, 1, c.Dpi, false, &sizes);
        ASSERT_EQ(target.size(), c.Expected.size() * size_t(sizes.Height)) << c.Dpi;
        for (size_t i = 0; i < c.Expected.size(); ++i) {
            const uint32_t v = c.Expected[i];
            EXPECT_EQ(target[i], Pixel(v, v, v, v)) << c.Dpi << " pixel " << i;
        }
    }
}

TEST(StripResample, AlphaIsAveragedPremultiplied) {
    // Opaque white beside fully transparent (premultiplied zero), halved:
    // the result is white at half alpha, not grey.
    struct Row {
        uint32_t Left, Right, Expected;
    } rows[] = {
        {Pixel(255, 255, 255), Pixel(0, 0, 0, 0), Pixel(128, 128, 128, 128)},
        {Pixel(200, 100, 0), Pixel(0, 0, 0, 0), Pixel(100, 50, 0, 128)},
        {Pixel(60, 60, 60, 60), Pixel(255, 0, 0), Pixel(158, 30, 30, 158)},
    };
    for (const Row& r : rows) {
        StripSizes sizes;
        std::vector<uint32_t> target = Resample({r.Left, r.Right}, 2, 1, 1, 48, false, &sizes);
        ASSERT_EQ(target.size(), 1u);
        EXPECT_EQ(target[0], r.Expected);
    }
    // Every result stays premultiplied: no channel above its alpha.
    std::vector<uint32_t> source;
    for (uint32_t i = 0; i < 7 * 5; ++i) {
        const uint32_t a = (i * 37) % 256;
        source.push_back(Pixel(a * (i % 3) / 2, a * (i % 2), a, a));
    }
    for (int32_t dpi : {72, 120, 144, 192}) {
        StripSizes sizes;
        for (uint32_t p : Resample(source, 7, 5, 1, dpi, false, &sizes))
            for (int c = 0; c < 3; ++c)
                ASSERT_LE((p >> (8 * c)) & 0xFF, p >> 24) << dpi;
    }
}

TEST(StripResample, KeyPixelsStayExact) {
    const uint32_t K = ResampleKeyPixel, G = Pixel(0, 200, 0), W = Pixel(255, 255, 255);
    struct Case {
        const char* Name;
        std::vector<uint32_t> Source;
        int32_t Width, Dpi;
        std::vector<uint32_t> Expected;
    } cases[] = {
        // A key edge at 150 %: the pixel astride it is half key, half green:
        // it stays green, unblended.
        {"edge 150", {K, G}, 2, 144, {K, G, G}},
        {"edge 125", {K, K, G, G}, 4, 120, {K, K, G, G, G}},
        {"edge 200", {K, G}, 2, 192, {K, K, G, G}},
        // Halved: the key wins only with more than half of the square.
        {"half", {K, G, K, K, G, W}, 6, 48, {G, K, Pixel(128, 228, 128)}},
        // A blend of two colours near the key that lands on it is moved off it.
        {"near", {Pixel(254, 0, 255), Pixel(255, 0, 254)}, 2, 48, {ResampleNearKeyPixel}},
    };
    for (const Case& c : cases) {
        StripSizes sizes;
        std::vector<uint32_t> target = Resample(c.Source, c.Width, 1, 1, c.Dpi, true, &sizes);
        ASSERT_EQ(target.size(), c.Expected.size() * size_t(sizes.Height)) << c.Name;
        for (size_t i = 0; i < target.size(); ++i) // every row alike
            EXPECT_EQ(target[i], c.Expected[i % c.Expected.size()]) << c.Name << " pixel " << i;
    }
    // A key ring around a square at every scale: key pixels are exactly the
    // key, and no other pixel has the key colour or any of its blend.
    const int32_t size = 9;
    std::vector<uint32_t> source(size * size);
    for (int32_t y = 0; y < size; ++y)
        for (int32_t x = 0; x < size; ++x)
            source[size_t(y * size + x)] =
                (x < 2 || y < 2 || x >= size - 2 || y >= size - 2) ? K : Pixel(30, 90, 150);
    for (int32_t dpi : {72, 120, 144, 168, 192}) {
        StripSizes sizes;
        for (uint32_t p : Resample(source, size, size, 1, dpi, true, &sizes))
            ASSERT_TRUE(p == K || p == Pixel(30, 90, 150)) << std::hex << p << " at " << dpi;
    }
}

} // namespace

namespace {

TEST(SkinScale, SavedPlaceAndMonitorStandIn) {
    int32_t x = 0, y = 0;
    EXPECT_TRUE(SavedPlace(Roles(), Ini, sizeof Ini - 1, &x, &y));
    EXPECT_EQ(x, -300);
    EXPECT_EQ(y, 40);
    const char noY[] = "[Quilbex]\nX=5\n";
    EXPECT_FALSE(SavedPlace(Roles(), noY, sizeof noY - 1, &x, &y));
    const char badX[] = "[Quilbex]\nX=left\nY=3\n";
    EXPECT_FALSE(SavedPlace(Roles(), badX, sizeof badX - 1, &x, &y));

    struct Row {
        const char* Text;
        int32_t Count, First, Last;
    } rows[] = {
        {"96,192", 2, 96, 192}, {"144", 1, 144, 144},        {" 120 , 96 ", 2, 120, 96},
        {"", 0, 0, 0},          {"96,,192", 0, 0, 0},        {"96,9999", 0, 0, 0},
        {"96,abc", 0, 0, 0},    {"96,96,96,96,96", 0, 0, 0}, // more than room for
    };
    for (const Row& r : rows) {
        int32_t dpis[4] = {};
        const int32_t count = ParseMonitorDpis(r.Text, dpis, 4);
        EXPECT_EQ(count, r.Count) << r.Text;
        if (count > 0) {
            EXPECT_EQ(dpis[0], r.First) << r.Text;
            EXPECT_EQ(dpis[count - 1], r.Last) << r.Text;
        }
    }
}

} // namespace
