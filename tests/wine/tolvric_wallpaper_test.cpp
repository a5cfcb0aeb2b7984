// DrawSkin paints the system's wallpaper as the system places it: each
// placement checked at points worked out by hand, and centre and tile
// compared with the system's own PaintDesktop where it draws the wallpaper.
#include "host/host_library.h"
#include "shell/tolvric/desktop_skin.h"
#include "tests/wine/test_dib.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

const int PictureW = 200, PictureH = 150;

// Quadrants red, green, blue and yellow, with a one-pixel checker in the top
// right corner that shows any placement off by a pixel.
uint32_t PicturePixel(int x, int y) {
    if (x >= 180 && y < 20) return (x + y) % 2 ? 0x808080 : 0x000000;
    const bool right = x >= PictureW / 2, bottom = y >= PictureH / 2;
    return bottom ? (right ? 0xFFFF00 : 0x0000FF) : (right ? 0x00FF00 : 0xFF0000);
}

// The picture as a 24-bit bottom-up BMP file, which every system's desktop reads.
std::string WritePicture() {
    const std::string path = TempPath("wallpaper", ".bmp");
    const int stride = PictureW * 3;
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + stride * PictureH;
    info.biSize = sizeof info;
    info.biWidth = PictureW;
    info.biHeight = PictureH;
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<uint8_t> rows(size_t(stride) * PictureH);
    for (int y = 0; y < PictureH; ++y)
        for (int x = 0; x < PictureW; ++x) {
            const uint32_t c = PicturePixel(x, PictureH - 1 - y);
            uint8_t* p = &rows[size_t(y) * stride + x * 3];
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
        }
    FILE* f = fopen(path.c_str(), "wb");
    if (!f) return "";
    fwrite(&file, sizeof file, 1, f);
    fwrite(&info, sizeof info, 1, f);
    fwrite(rows.data(), rows.size(), 1, f);
    fclose(f);
    return path;
}

void SetDesktopText(const char* name, const char* value) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                   DWORD(strlen(value) + 1));
    RegCloseKey(key);
}

// The wallpaper and its placement, as the desktop settings set them; then the
// service library is told the desktop changed, as the host tells it.
void SetWallpaper(const std::string& path, const char* style, const char* tile) {
    SetDesktopText("WallpaperStyle", style);
    SetDesktopText("TileWallpaper", tile);
    SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(path.c_str()),
                          SPIF_UPDATEINIFILE);
    auto setDesktopSkin = reinterpret_cast<SetDesktopSkinProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("tolvric.dll"), "SetDesktopSkin")));
    ASSERT_NE(setDesktopSkin, nullptr);
    ASSERT_EQ(setDesktopSkin(DesktopSkinSystem), 1);
}

struct WallpaperTest : ::testing::Test {
    std::string Picture = WritePicture();
    const int ScreenW = GetSystemMetrics(SM_CXSCREEN), ScreenH = GetSystemMetrics(SM_CYSCREEN);
    void SetUp() override {
        ASSERT_FALSE(Picture.empty());
        ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1)
            << "the hand-worked places are for one monitor";
    }
    void TearDown() override { SetWallpaper("", "0", "0"); }
    // What DrawSkin paints behind a width x height window at (left, top).
    std::vector<uint32_t> Skin(int left, int top, int width, int height) {
        TestDib target(width, height, false, 0x12345678);
        RECT client = {0, 0, width, height}, window = {left, top, left + width, top + height};
        RECT screen = {0, 0, ScreenW, ScreenH};
        EXPECT_TRUE(DrawSkin(target.Dc, target.Dc, &client, &window, &screen, 0, 0, 4 + 2));
        GdiFlush();
        std::vector<uint32_t> pixels(size_t(width) * height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                pixels[size_t(y) * width + x] = target.At(x, y) & 0xFFFFFF;
        return pixels;
    }
};

int Distance(uint32_t a, uint32_t b) {
    int most = 0;
    for (int shift = 0; shift < 24; shift += 8)
        most = std::max(most, std::abs(int(a >> shift & 0xFF) - int(b >> shift & 0xFF)));
    return most;
}

// Where the system's PaintDesktop draws the wallpaper, DrawSkin paints the
// same pixels behind any place for the placements it knows (centre, tile).
// Measured: Wine 8.0's PaintDesktop draws no wallpaper at all (white at every
// point, whatever the wallpaper and colour), so there this compares nothing.
TEST_F(WallpaperTest, CentredAndTiledAsThePaintDesktopOfTheSystem) {
    for (const char* tile : {"0", "1"}) {
        SCOPED_TRACE(*tile == '1' ? "tile" : "centre");
        SetWallpaper(Picture, "0", tile);
        TestDib desktop(ScreenW, ScreenH, false, 0);
        PaintDesktop(desktop.Dc);
        if ((desktop.At(ScreenW / 2 - 50, ScreenH / 2 - 25) & 0xFFFFFF) != 0xFF0000)
            GTEST_SKIP() << "this system's PaintDesktop draws no wallpaper";
        const POINT places[] = {{ScreenW / 2 - 130, ScreenH / 2 - 90}, {190, 140}, {0, 0}};
        for (const POINT& at : places) {
            const std::vector<uint32_t> got = Skin(at.x, at.y, 260, 180);
            int off = 0;
            for (int y = 0; y < 180; ++y)
                for (int x = 0; x < 260; ++x)
                    off += Distance(got[size_t(y) * 260 + x],
                                    desktop.At(at.x + x, at.y + y) & 0xFFFFFF) > 2;
            EXPECT_EQ(off, 0) << "pixels unlike PaintDesktop's behind " << at.x << "," << at.y;
        }
    }
}

TEST_F(WallpaperTest, EachPlacementWhereTheSystemPutsIt) {
    const COLORREF background = GetSysColor(COLOR_DESKTOP);
    const uint32_t colour =
        GetRValue(background) << 16 | GetGValue(background) << 8 | GetBValue(background);
    const uint32_t red = 0xFF0000, yellow = 0xFFFF00, blue = 0x0000FF, grey = 0x808080;
    ASSERT_EQ(ScreenW, 1280);
    ASSERT_EQ(ScreenH, 800);
    // 200 x 150 on 1280 x 800. Centre: from (540, 325), its checker from
    // x 720. Tile: from (0, 0) on, every 200 x 150. Fit: by height, 1067 x
    // 800 from x 106. Fill and span: by width, 1280 x 960 from y -80.
    // Stretch: the whole screen. The picture's own size is exact to the
    // pixel; scaled ones are compared inside flat parts.
    const struct {
        const char* Name;
        const char* Style;
        const char* Tile;
        POINT At;
        uint32_t Want;
        int Tolerance;
    } points[] = {
        {"centre, left of it", "0", "0", {539, 400}, colour, 0},
        {"off every monitor", "0", "0", {-3, 400}, 0, 0},
        {"centre, corner", "0", "0", {540, 325}, red, 0},
        {"centre, checker", "0", "0", {720, 325}, 0, 0},
        {"centre, checker next", "0", "0", {721, 325}, grey, 0},
        {"centre, below it", "0", "0", {600, 475}, colour, 0},
        {"tile, checker", "0", "1", {1180, 0}, 0, 0},
        {"tile, checker next", "0", "1", {1181, 0}, grey, 0},
        {"tile, seam before", "0", "1", {399, 149}, yellow, 0},
        {"tile, seam after", "0", "1", {400, 150}, red, 0},
        {"fit, bar left", "6", "0", {100, 400}, colour, 0},
        {"fit, top left", "6", "0", {112, 6}, red, 8},
        {"fit, bar right", "6", "0", {1175, 400}, colour, 0},
        {"fit, bottom right", "6", "0", {1166, 794}, yellow, 8},
        {"fill, top left", "10", "0", {4, 4}, red, 8},
        {"fill, bottom left", "10", "0", {4, 795}, blue, 8},
        {"fill, bottom right", "10", "0", {1275, 795}, yellow, 8},
        {"span", "22", "0", {1275, 795}, yellow, 8},
        {"stretch, top left", "2", "0", {3, 3}, red, 8},
        {"stretch, bottom", "2", "0", {400, 796}, blue, 8},
    };
    for (const auto& p : points) {
        SetWallpaper(Picture, p.Style, p.Tile);
        const std::vector<uint32_t> got = Skin(p.At.x - 2, p.At.y - 2, 5, 5);
        EXPECT_LE(Distance(got[2 * 5 + 2], p.Want), p.Tolerance)
            << p.Name << ": " << std::hex << got[2 * 5 + 2] << " not " << p.Want;
    }
}

TEST_F(WallpaperTest, WithoutAPictureTheBackgroundColour) {
    SetWallpaper("", "2", "0");
    const COLORREF c = GetSysColor(COLOR_DESKTOP);
    for (uint32_t pixel : Skin(600, 400, 20, 10))
        ASSERT_EQ(pixel, uint32_t(GetRValue(c) << 16 | GetGValue(c) << 8 | GetBValue(c)));
}

} // namespace
