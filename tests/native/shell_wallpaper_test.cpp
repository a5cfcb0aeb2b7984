#include "shell/pictures/rules/region_runs.h"
#include "shell/pictures/rules/wallpaper.h"

#include <gtest/gtest.h>
#include <set>
#include <vector>

namespace {

TEST(ShellWallpaper, SamePlaceSamePixelAndRowsMatchPixels) {
    std::vector<uint32_t> row(300);
    WallpaperRow(row.data(), 100, 40, 300, 1280, 800);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(row[i], WallpaperPixel(100 + i, 40, 1280, 800));
    EXPECT_EQ(WallpaperPixel(5, 5, 1280, 800), WallpaperPixel(5, 5, 1280, 800));
}

TEST(ShellWallpaper, OpaqueVariedAndSafeAnywhere) {
    std::set<uint32_t> colours;
    for (int y = -50; y < 900; y += 7)
        for (int x = -50; x < 1400; x += 11) {
            uint32_t pixel = WallpaperPixel(x, y, 1280, 800);
            ASSERT_EQ(pixel >> 24, 0xFFu);
            colours.insert(pixel);
        }
    EXPECT_GT(colours.size(), 50u);
    // Top-left and bottom-right differ clearly (a gradient, not a flat colour).
    uint32_t a = WallpaperPixel(2, 2, 1280, 800), b = WallpaperPixel(1277, 797, 1280, 800);
    EXPECT_GT(int((b >> 16) & 0xFF) - int((a >> 16) & 0xFF), 50);
    // Degenerate screens and far-off places give a colour, not a fault.
    WallpaperPixel(INT32_MIN, INT32_MAX, 0, -1);
    WallpaperPixel(INT32_MAX, INT32_MIN, 1, 1);
}

TEST(ShellRegionRuns, RunsOfNonKeyPixels) {
    const uint32_t k = 0x00FF00FF, o = 0x00123456;
    struct Case {
        std::vector<uint32_t> Row;
        std::vector<std::pair<int, int>> Runs;
    } cases[] = {
        {{k, k, k}, {}},
        {{o, o, o}, {{0, 3}}},
        {{k, o, o, k, o}, {{1, 3}, {4, 5}}},
        {{o, k, o, k}, {{0, 1}, {2, 3}}},
        {{0xFFFF00FF, 0x01FF00FF}, {}}, // the alpha byte is not compared
        {{}, {}},
    };
    for (const Case& c : cases) {
        PixelRun runs[8];
        int32_t count = FindRowRuns(c.Row.data(), int32_t(c.Row.size()), k, runs, 8);
        ASSERT_EQ(size_t(count), c.Runs.size());
        for (int32_t i = 0; i < count; ++i) {
            EXPECT_EQ(runs[i].Left, c.Runs[i].first);
            EXPECT_EQ(runs[i].Right, c.Runs[i].second);
        }
    }
    uint32_t row[] = {o, k, o, k, o};
    PixelRun one[1];
    EXPECT_EQ(FindRowRuns(row, 5, k, one, 1), 1); // never more than room for
    EXPECT_EQ(ColorRefToPixel(0x00FF00FF), 0x00FF00FFu);
    EXPECT_EQ(ColorRefToPixel(0x000000FF), 0x00FF0000u); // red
}

} // namespace
