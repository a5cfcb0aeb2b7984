// The system's wallpaper placements, worked by hand: a 1600 x 1200 picture on
// the main 1920 x 1080 monitor and on a 1280 x 1024 monitor left of it and
// reaching above it, whose corner is at (-1280, -224).
#include "shell/pictures/rules/wallpaper_placement.h"

#include <gtest/gtest.h>

namespace {

const PixelRect Main = {0, 0, 1920, 1080};
const PixelRect Left = {-1280, -224, 0, 800};
const PixelRect Around = {-1280, -224, 1920, 1080}; // both monitors, for Span

struct Placement {
    const char* Name;
    WallpaperFit Fit;
    PixelRect Area;
    int32_t Width, Height;
    PixelRect Want;
};

TEST(WallpaperPlacement, EachStyleOnEachMonitor) {
    const Placement cases[] = {
        // 320 and -120 pixels left over: half of each on either side.
        {"centre", WallpaperFit::Centre, Main, 1600, 1200, {160, -60, 1760, 1140}},
        {"centre left", WallpaperFit::Centre, Left, 1600, 1200, {-1440, -312, 160, 888}},
        // 1179 and 973 left over: the odd pixel goes right and down.
        {"centre odd", WallpaperFit::Centre, Left, 101, 51, {-691, 262, -590, 313}},
        {"tile", WallpaperFit::Tile, Left, 1600, 1200, {-1280, -224, 320, 976}},
        {"stretch", WallpaperFit::Stretch, Left, 1600, 1200, Left},
        // 4:3 on 16:9 fits by height: 1440 x 1080, 240 each side.
        {"fit", WallpaperFit::Fit, Main, 1600, 1200, {240, 0, 1680, 1080}},
        // 4:3 on 5:4 fits by width: 1280 x 960, 32 above and below.
        {"fit left", WallpaperFit::Fit, Left, 1600, 1200, {-1280, -192, 0, 768}},
        // Fill covers by width: 1920 x 1440, 180 cut above and below.
        {"fill", WallpaperFit::Fill, Main, 1600, 1200, {0, -180, 1920, 1260}},
        // By height: 1365.33 rounds to 1365 wide, 85 cut: 43 left, 42 right.
        {"fill left", WallpaperFit::Fill, Left, 1600, 1200, {-1323, -224, 42, 800}},
        // Span fills 3200 x 1304 by width: 3200 x 2400, 548 cut above.
        {"span", WallpaperFit::Span, Around, 1600, 1200, {-1280, -772, 1920, 1628}},
        {"no picture", WallpaperFit::Fill, Left, 0, 1200, {-1280, -224, -1280, -224}},
    };
    for (const Placement& c : cases) {
        const PixelRect got = PlaceWallpaper(c.Fit, c.Area, c.Width, c.Height);
        EXPECT_EQ(got.Left, c.Want.Left) << c.Name;
        EXPECT_EQ(got.Top, c.Want.Top) << c.Name;
        EXPECT_EQ(got.Right, c.Want.Right) << c.Name;
        EXPECT_EQ(got.Bottom, c.Want.Bottom) << c.Name;
    }
}

TEST(WallpaperPlacement, TilesStartAtOrBeforeThePlace) {
    EXPECT_EQ(FirstTileAt(-1280, -100, 1600), -1280);
    EXPECT_EQ(FirstTileAt(-1280, 700, 64), 640); // 30 tiles of 64 after -1280
    EXPECT_EQ(FirstTileAt(0, -5, 64), -64);
    EXPECT_EQ(FirstTileAt(0, 128, 64), 128);
}

TEST(WallpaperPlacement, NamesFromTheRegistryAndTheWallpaperInterface) {
    const struct {
        int32_t Style, Tile;
        WallpaperFit Want;
    } registry[] = {{0, 0, WallpaperFit::Centre},  {0, 1, WallpaperFit::Tile},
                    {2, 0, WallpaperFit::Stretch}, {2, 1, WallpaperFit::Stretch},
                    {6, 0, WallpaperFit::Fit},     {10, 0, WallpaperFit::Fill},
                    {22, 0, WallpaperFit::Span},   {5, 1, WallpaperFit::Centre}};
    for (const auto& r : registry)
        EXPECT_EQ(WallpaperFitFromRegistry(r.Style, r.Tile), r.Want) << r.Style << " " << r.Tile;
    const WallpaperFit byPosition[] = {WallpaperFit::Centre,  WallpaperFit::Tile,
                                       WallpaperFit::Stretch, WallpaperFit::Fit,
                                       WallpaperFit::Fill,    WallpaperFit::Span};
    for (int32_t position = 0; position < 6; ++position)
        EXPECT_EQ(WallpaperFitFromPosition(position), byPosition[position]);
    EXPECT_EQ(WallpaperFitFromPosition(9), WallpaperFit::Centre);
}

} // namespace
