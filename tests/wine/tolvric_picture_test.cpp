// Pictures, drawing, the desktop skin and regions through the real tolvric.dll.
#include "host/host_library.h"
#include "shell/common/wallpaper.h"
#include "tests/wine/test_dib.h"
#include "tests/wine/wine_test_support.h"

#include <gtest/gtest.h>
#include <cstring>
#include <string>

namespace {

struct LoadedImage {
    ImageInfo Info;
    std::string Path;
    LoadedImage(const std::string& path, int flags = 0) : Path(path) {
        std::memset(&Info, 0, sizeof(Info));
        Info.Path = Path.c_str();
        Info.LoadFlags = flags;
        LoadImageEx(&Info);
    }
    ~LoadedImage() {
        if (Info.ColorBitmap) DeleteObject(Info.ColorBitmap);
        if (Info.MaskBitmap) DeleteObject(Info.MaskBitmap);
    }
};

TEST(TolvricPicture, AlphaPngGivesPremultipliedBottomUpDib) {
    LoadedImage image(TestDataPath("known_alpha.png"), 2);
    ASSERT_EQ(image.Info.Kind, ImageKindAlpha);
    EXPECT_EQ(image.Info.Width, 4);
    EXPECT_EQ(image.Info.Height, 2);
    EXPECT_EQ(image.Info.MaskBitmap, nullptr);
    EXPECT_EQ(image.Info.KeepBitmaps, 0);
    DIBSECTION section;
    ASSERT_EQ(GetObjectA(image.Info.ColorBitmap, sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBmih.biBitCount, 32);
    EXPECT_GT(section.dsBmih.biHeight, 0); // bottom-up
    EXPECT_EQ(section.dsBm.bmBits, image.Info.Bits);
    const uint32_t* bits = static_cast<const uint32_t*>(image.Info.Bits);
    // Bottom row first: blue, (200,100,50) at alpha 1 and 2, grey.
    EXPECT_EQ(bits[0], Pixel(255, 0, 0, 255));
    EXPECT_EQ(bits[1], Pixel(0, 0, 1, 1));
    EXPECT_EQ(bits[2], Pixel(0, 1, 2, 2));
    EXPECT_EQ(bits[3], Pixel(128, 128, 128, 255));
    // Top row: red, half green, clear, white.
    EXPECT_EQ(bits[4], Pixel(0, 0, 255, 255));
    EXPECT_EQ(bits[5], Pixel(0, 128, 0, 128));
    EXPECT_EQ(bits[6], Pixel(0, 0, 0, 0));
    EXPECT_EQ(bits[7], Pixel(255, 255, 255, 255));
}

TEST(TolvricPicture, PicturesWithoutAlphaGetAMagentaMask) {
    for (const char* name : {"known_masked.png", "known_masked.bmp"}) {
        SCOPED_TRACE(name);
        LoadedImage image(TestDataPath(name));
        ASSERT_EQ(image.Info.Kind, ImageKindMasked);
        ASSERT_NE(image.Info.ColorBitmap, nullptr);
        ASSERT_NE(image.Info.MaskBitmap, nullptr);
        EXPECT_EQ(image.Info.Width, 3);
        EXPECT_EQ(image.Info.Height, 2);
        // The mask, read top-down: white exactly on magenta (254,0,255 is not the key).
        TestDib mask(3, 2, false, 0);
        HDC source = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(source, image.Info.MaskBitmap);
        BitBlt(mask.Dc, 0, 0, 3, 2, source, 0, 0, SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        const bool white[2][3] = {{true, false, true}, {false, true, false}};
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(mask.At(x, y) & 0xFFFFFF, white[y][x] ? 0xFFFFFFu : 0u) << x << y;
        // The mask's region is the opaque shape.
        HRGN region = BitmapToRegion(image.Info.MaskBitmap, RGB(255, 255, 255), 0, 0);
        ASSERT_NE(region, nullptr);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_EQ(PtInRegion(region, x, y) != 0, !white[y][x]);
        DeleteObject(region);
    }
}

TEST(TolvricPicture, SkinPicturesLoad) {
    struct Case {
        const char* Name;
        int Kind, Width, Height;
    } cases[] = {
        {"background.png", ImageKindAlpha, 200, 100},
        {"cpu.png", ImageKindAlpha, 440, 20},
        {"mem.png", ImageKindAlpha, 440, 20},
        {"netin.png", ImageKindAlpha, 440, 20},
        {"netout.png", ImageKindAlpha, 440, 20},
        {"background_masked.png", 1, 200, 100},
        {"cpu_masked.png", 1, 440, 20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        LoadedImage image(std::string("Z:") + TEST_DATA_DIR + "/../../skins/test/" + c.Name, 2);
        EXPECT_EQ(image.Info.Kind, c.Kind);
        EXPECT_EQ(image.Info.Width, c.Width);
        EXPECT_EQ(image.Info.Height, c.Height);
    }
}

TEST(TolvricPicture, EveryFailureGivesKindMinusOneAndNothingElse) {
    std::string paths[] = {"",
                           TestDataPath("no_such_file.png"),
                           TestDataPath("empty.png"),
                           TestDataPath("truncated.png"),
                           TestDataPath("text.png"),
                           TestDataPath("huge.png"),
                           std::string("Z:") + TEST_DATA_DIR};
    for (const std::string& path : paths) {
        SCOPED_TRACE(path);
        ImageInfo info;
        std::memset(&info, 0, sizeof(info));
        info.Path = path.c_str();
        EXPECT_EQ(LoadImageEx(&info), 0);
        EXPECT_EQ(info.Kind, ImageKindFailed);
        EXPECT_EQ(info.ColorBitmap, nullptr);
        EXPECT_EQ(info.MaskBitmap, nullptr);
        EXPECT_EQ(info.Bits, nullptr);
        EXPECT_EQ(info.Width, 0);
    }
    ImageInfo info;
    std::memset(&info, 0, sizeof(info));
    EXPECT_EQ(LoadImageEx(&info), 0); // null path
    EXPECT_EQ(info.Kind, ImageKindFailed);
    EXPECT_EQ(LoadImageEx(nullptr), 0);
}

// The index part of a fresh GDI handle: Wine hands freed slots out again, last
// freed first, so an object left behind by a load moves the next fresh handle.
uintptr_t ProbeHandle() {
    HBITMAP probe = CreateBitmap(1, 1, 1, 32, nullptr);
    uintptr_t value = reinterpret_cast<uintptr_t>(probe) & 0xFFFF;
    DeleteObject(probe);
    return value;
}

TEST(TolvricPicture, FailedAndFreedLoadsLeaveNoGdiObjects) {
    std::string bad[] = {TestDataPath("truncated.png"), TestDataPath("text.png"),
                         TestDataPath("empty.png"), TestDataPath("huge.png")};
    // The first load brings in the decoder and its own lasting objects.
    { LoadedImage warm(TestDataPath("known_alpha.png")); }
    for (const std::string& path : bad) {
        LoadedImage warm(path);
    }
    uintptr_t before = ProbeHandle();
    for (int i = 0; i < 1000; ++i) {
        ImageInfo info;
        std::memset(&info, 0, sizeof(info));
        info.Path = bad[i % 4].c_str();
        ASSERT_EQ(LoadImageEx(&info), 0);
    }
    EXPECT_EQ(ProbeHandle(), before);
    for (int i = 0; i < 100; ++i) {
        ImageInfo info;
        std::memset(&info, 0, sizeof(info));
        std::string path = TestDataPath(i % 2 ? "known_alpha.png" : "known_masked.png");
        info.Path = path.c_str();
        ASSERT_EQ(LoadImageEx(&info), 1);
        HBITMAP color = info.ColorBitmap, mask = info.MaskBitmap;
        ASSERT_EQ(GetObjectType(color), DWORD(OBJ_BITMAP));
        DeleteObject(color);
        EXPECT_EQ(GetObjectType(color), 0u);
        if (mask) {
            ASSERT_EQ(GetObjectType(mask), DWORD(OBJ_BITMAP));
            DeleteObject(mask);
        }
    }
    EXPECT_EQ(ProbeHandle(), before);
    TestDib still(64, 64, false, 0);
    EXPECT_NE(still.Bitmap, nullptr);
}

TEST(TolvricDraw, AlphaPictureBlendsOverTheTarget) {
    LoadedImage image(TestDataPath("known_alpha.png"));
    ASSERT_EQ(image.Info.Kind, ImageKindAlpha);
    TestDib target(6, 4, false, Pixel(100, 100, 100, 255));
    EXPECT_TRUE(DrawPicture(target.Dc, target.Dc, 1, 1, &image.Info));
    EXPECT_EQ(target.At(0, 0), Pixel(100, 100, 100, 255));          // outside
    EXPECT_EQ(target.At(1, 1) & 0xFFFFFF, Pixel(0, 0, 255, 0));     // red, opaque
    EXPECT_EQ(target.At(3, 1) & 0xFFFFFF, Pixel(100, 100, 100, 0)); // clear
    uint32_t half = target.At(2, 1);                                // green at 128 over grey 100
    EXPECT_NEAR(int((half >> 8) & 0xFF), 128 + 100 * 127 / 255, 2);
    EXPECT_NEAR(int(half & 0xFF), 100 * 127 / 255, 2);
    EXPECT_EQ(target.At(1, 2) & 0xFFFFFF, Pixel(255, 0, 0, 0)); // blue
}

TEST(TolvricDraw, MaskedPictureLeavesKeyPixelsAlone) {
    LoadedImage image(TestDataPath("known_masked.png"));
    ASSERT_EQ(image.Info.Kind, ImageKindMasked);
    TestDib target(4, 3, false, Pixel(7, 8, 9, 255));
    EXPECT_TRUE(DrawPicture(target.Dc, target.Dc, 1, 1, &image.Info));
    EXPECT_EQ(target.At(1, 1) & 0xFFFFFF, Pixel(7, 8, 9, 0));
    EXPECT_EQ(target.At(2, 1) & 0xFFFFFF, Pixel(3, 2, 1, 0));
    EXPECT_EQ(target.At(3, 1) & 0xFFFFFF, Pixel(7, 8, 9, 0));
    EXPECT_EQ(target.At(1, 2) & 0xFFFFFF, Pixel(30, 20, 10, 0));
    EXPECT_EQ(target.At(2, 2) & 0xFFFFFF, Pixel(7, 8, 9, 0));
    EXPECT_EQ(target.At(3, 2) & 0xFFFFFF, Pixel(255, 0, 254, 0));
    EXPECT_EQ(target.At(0, 0), Pixel(7, 8, 9, 255));
    ImageInfo failed = {};
    failed.Kind = ImageKindFailed;
    EXPECT_FALSE(DrawPicture(target.Dc, target.Dc, 0, 0, &failed));
}

TEST(TolvricDraw, SkinIsTheWallpaperBehindTheWindow) {
    TestDib target(50, 30, false, 0);
    RECT client = {0, 0, 50, 30};
    RECT window = {100, 60, 150, 90};
    RECT screen = {0, 0, 1280, 800};
    EXPECT_TRUE(DrawSkin(target.Dc, target.Dc, &client, &window, &screen, 0, 0, 4 + 2));
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(target.At(x, y) & 0xFFFFFF,
                      WallpaperPixel(100 + x, 60 + y, 1280, 800) & 0xFFFFFF)
                << x << "," << y;
    // Another place shows another part of the wallpaper.
    RECT elsewhere = {900, 500, 950, 530};
    DrawSkin(target.Dc, target.Dc, &client, &elsewhere, &screen, 0, 0, 4);
    EXPECT_EQ(target.At(10, 10) & 0xFFFFFF, WallpaperPixel(910, 510, 1280, 800) & 0xFFFFFF);
}

TEST(TolvricRegion, RegionCoversExactlyThePixelsOffTheKey) {
    TestDib shape(10, 10, false, Pixel(255, 0, 255, 0)); // magenta everywhere
    for (int y = 5; y < 8; ++y)
        for (int x = 2; x < 6; ++x)
            shape.Bits[y * 10 + x] = Pixel(1, 2, 3, 0);
    shape.Bits[9 * 10 + 9] = Pixel(255, 0, 254, 0); // one off-key pixel
    GdiFlush();
    // The bitmap must not be selected anywhere while its pixels are read.
    SelectObject(shape.Dc, shape.Previous);
    HRGN region = BitmapToRegion(shape.Bitmap, RGB(255, 0, 255), 0, 0);
    shape.Previous = SelectObject(shape.Dc, shape.Bitmap);
    ASSERT_NE(region, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), COMPLEXREGION);
    EXPECT_EQ(box.left, 2);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(box.bottom, 10);
    int inside = 0;
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 10; ++x)
            inside += PtInRegion(region, x, y) ? 1 : 0;
    EXPECT_EQ(inside, 13);
    EXPECT_TRUE(PtInRegion(region, 9, 9));
    EXPECT_FALSE(PtInRegion(region, 6, 5));
    DeleteObject(region);
}

TEST(TolvricRegion, AllKeyGivesAnEmptyRegionAndNoBitmapGivesNone) {
    TestDib key(4, 4, false, Pixel(255, 255, 255, 0));
    SelectObject(key.Dc, key.Previous);
    HRGN region = BitmapToRegion(key.Bitmap, RGB(255, 255, 255), 0, 0);
    key.Previous = SelectObject(key.Dc, key.Bitmap);
    ASSERT_NE(region, nullptr);
    RECT box;
    EXPECT_EQ(GetRgnBox(region, &box), NULLREGION);
    DeleteObject(region);
    EXPECT_EQ(BitmapToRegion(nullptr, 0, 0, 0), nullptr);
    HBITMAP gone = CreateBitmap(2, 2, 1, 32, nullptr);
    DeleteObject(gone);
    EXPECT_EQ(BitmapToRegion(gone, 0, 0, 0), nullptr);
}

} // namespace
