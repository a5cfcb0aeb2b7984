// Pictures, drawing, the desktop skin and regions through the real tolvric.dll.
#include "host/host_library.h"
#include "shell/pictures/rules/wallpaper.h"
#include "shell/tolvric/desktop_skin.h"
#include "shell/tolvric/scale_view.h"
#include "tests/wine/test_dib.h"
#include "tests/wine/wine_test_support.h"
#include "win32/proc_address.h"

#include <gtest/gtest.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

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

// A 32-bit DIB section, bottom-up for a positive height.
HBITMAP MakeDib(int width, int height, void** bits) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

// A picture made in memory as LoadImageEx gives one: bottom-up DIB sections,
// with per-pixel alpha (premultiplied, every alpha somewhere) or opaque with a
// mask (white where the picture is transparent).
struct MadePicture {
    ImageInfo Info = {};
    MadePicture(int width, int height, bool masked) {
        void* maskBits = nullptr;
        Info.ColorBitmap = MakeDib(width, height, &Info.Bits);
        if (masked) Info.MaskBitmap = MakeDib(width, height, &maskBits);
        Info.Kind = masked ? ImageKindMasked : ImageKindAlpha;
        Info.Width = width;
        Info.Height = height;
        for (int i = 0; i < width * height; ++i) {
            const uint32_t a = masked ? 255 : (i * 7) % 256, c = (i * 13) % 256;
            static_cast<uint32_t*>(Info.Bits)[i] = Pixel(
                uint8_t(c * a / 255), uint8_t((255 - c) * a / 255), uint8_t(a / 2), uint8_t(a));
            if (masked) static_cast<uint32_t*>(maskBits)[i] = (i % 3 == 0) ? 0xFFFFFF : 0;
        }
        if (masked) Info.Bits = nullptr; // Bits are for per-pixel alpha only
    }
    ~MadePicture() {
        DeleteObject(Info.ColorBitmap);
        if (Info.MaskBitmap) DeleteObject(Info.MaskBitmap);
    }
};

// What the system's raster operations make of a picture: AlphaBlend, or the
// mask's three operations.
void DrawTheSystemsWay(HDC target, int x, int y, const ImageInfo& picture) {
    HDC colour = CreateCompatibleDC(target), mask = CreateCompatibleDC(target);
    HGDIOBJ oldColour = SelectObject(colour, picture.ColorBitmap);
    const int w = picture.Width, h = picture.Height;
    if (picture.MaskBitmap) {
        HGDIOBJ oldMask = SelectObject(mask, picture.MaskBitmap);
        SetTextColor(target, RGB(0, 0, 0));
        SetBkColor(target, RGB(255, 255, 255));
        BitBlt(target, x, y, w, h, colour, 0, 0, SRCINVERT);
        BitBlt(target, x, y, w, h, mask, 0, 0, SRCAND);
        BitBlt(target, x, y, w, h, colour, 0, 0, SRCINVERT);
        SelectObject(mask, oldMask);
    } else {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(target, x, y, w, h, colour, 0, 0, w, h, blend);
    }
    SelectObject(colour, oldColour);
    DeleteDC(colour);
    DeleteDC(mask);
}

// A memory DC over a device bitmap (kind 0) or a top-down (1) or bottom-up (2)
// DIB section, filled with a pattern; clipped (dc 1) or with a moved origin (2).
struct Target {
    HDC Dc = CreateCompatibleDC(nullptr);
    HBITMAP Bitmap;
    HGDIOBJ Previous;
    Target(int width, int height, int kind, int dc) {
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        Bitmap = kind == 0 ? CreateCompatibleBitmap(screen, width, height)
                           : MakeDib(width, kind == 1 ? -height : height, &bits);
        ReleaseDC(nullptr, screen);
        Previous = SelectObject(Dc, Bitmap);
        for (int y = 0; y < height; y += 8)
            for (int x = 0; x < width; x += 8) {
                RECT cell = {x, y, x + 8, y + 8};
                HBRUSH brush = CreateSolidBrush(RGB(x * 3 % 256, y * 5 % 256, (x + y) % 256));
                FillRect(Dc, &cell, brush);
                DeleteObject(brush);
            }
        if (dc == 1) IntersectClipRect(Dc, 20, 10, 70, 40);
        if (dc == 2) SetViewportOrgEx(Dc, 7, 3, nullptr);
    }
    ~Target() {
        SelectObject(Dc, Previous);
        DeleteDC(Dc);
        DeleteObject(Bitmap);
    }
    void CopyTo(TestDib& out) {
        SetViewportOrgEx(Dc, 0, 0, nullptr);
        BitBlt(out.Dc, 0, 0, out.Width, out.Height, Dc, 0, 0, SRCCOPY);
        GdiFlush();
    }
};

// Whatever way DrawPicture takes (the target's rows, in one band or several,
// or the system's raster operations for moved origins), the picture is what
// those operations make of it, within one level.
TEST(TolvricDraw, PicturesLookAsTheSystemDrawsThem) {
    const struct {
        const char* Name;
        bool Masked;
        int TargetKind, TargetW, TargetH, PictureW, PictureH, X, Y, Dc;
    } cases[] = {
        {"meter background on a device bitmap", false, 0, 220, 120, 220, 120, 0, 0, 0},
        {"on a top-down DIB", false, 1, 220, 120, 220, 120, 0, 0, 0},
        {"on a bottom-up DIB", false, 2, 220, 120, 220, 120, 0, 0, 0},
        {"larger than one band of rows", false, 0, 400, 400, 300, 290, 40, 50, 0},
        {"partly outside the target", false, 0, 100, 60, 80, 50, 50, 30, 0},
        {"clipped to a rectangle", false, 1, 120, 80, 100, 60, 5, 5, 1},
        {"with a moved origin", false, 1, 120, 80, 100, 60, 5, 5, 2},
        {"masked on a device bitmap", true, 0, 240, 84, 240, 84, 0, 0, 0},
        {"masked on a top-down DIB, partly outside", true, 1, 100, 60, 80, 50, 50, 30, 0},
        {"masked, clipped", true, 2, 120, 80, 100, 60, 5, 5, 1},
        {"masked, with a moved origin", true, 0, 120, 80, 100, 60, 5, 5, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        MadePicture picture(c.PictureW, c.PictureH, c.Masked);
        ASSERT_NE(picture.Info.ColorBitmap, nullptr);
        const int w = c.TargetW, h = c.TargetH;
        Target drawn(w, h, c.TargetKind, c.Dc), expected(w, h, 0, c.Dc);
        EXPECT_TRUE(DrawPicture(drawn.Dc, drawn.Dc, c.X, c.Y, &picture.Info));
        DrawTheSystemsWay(expected.Dc, c.X, c.Y, picture.Info);
        TestDib got(w, h, false, 0), want(w, h, false, 0);
        drawn.CopyTo(got);
        expected.CopyTo(want);
        int off = 0;
        for (int i = 0; i < w * h; ++i)
            for (int shift = 0; shift < 24; shift += 8)
                off += std::abs(int(got.Bits[i] >> shift & 0xFF) -
                                int(want.Bits[i] >> shift & 0xFF)) > 1;
        EXPECT_EQ(off, 0) << "colour bytes more than one level from the system's";
    }
}

// DrawSkin paints the desktop behind the window: the system's (here its
// background colour: the test prefix has no wallpaper) or the host's drawn
// wallpaper, as SetDesktopSkin says;
// it keeps the picture of the last place, and a new place or a change of
// desktop is painted afresh.
TEST(TolvricDraw, SkinIsTheDesktopBehindTheWindow) {
    auto setDesktopSkin = reinterpret_cast<SetDesktopSkinProc>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("tolvric.dll"), "SetDesktopSkin")));
    ASSERT_NE(setDesktopSkin, nullptr);
    const COLORREF colour = GetSysColor(COLOR_DESKTOP);
    const uint32_t system = Pixel(GetBValue(colour), GetGValue(colour), GetRValue(colour), 0);

    const struct {
        int Source, Left, Top;
    } steps[] = {{DesktopSkinWallpaper, 100, 60},
                 {DesktopSkinWallpaper, 900, 500},
                 {DesktopSkinSystem, 900, 500},
                 {DesktopSkinSystem, 100, 60},
                 {DesktopSkinWallpaper, 100, 60}};
    TestDib target(50, 30, false, 0);
    RECT client = {0, 0, 50, 30};
    RECT screen = {0, 0, 1280, 800};
    for (const auto& step : steps) {
        SCOPED_TRACE(step.Source == DesktopSkinSystem ? "system" : "wallpaper");
        ASSERT_EQ(setDesktopSkin(step.Source), 1);
        RECT window = {step.Left, step.Top, step.Left + 50, step.Top + 30};
        for (int twice = 0; twice < 2; ++twice) { // painted, then from the kept picture
            EXPECT_TRUE(DrawSkin(target.Dc, target.Dc, &client, &window, &screen, 0, 0, 4 + 2));
            for (int y = 0; y < 30; ++y)
                for (int x = 0; x < 50; ++x)
                    ASSERT_EQ(target.At(x, y) & 0xFFFFFF,
                              step.Source == DesktopSkinSystem
                                  ? system
                                  : WallpaperPixel(step.Left + x, step.Top + y, 1280, 800) &
                                        0xFFFFFF)
                        << x << "," << y;
        }
    }
    EXPECT_EQ(setDesktopSkin(7), 0);
    setDesktopSkin(DesktopSkinSystem);
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

// The scaled view the host sets around the plug-in's start: pictures and
// lengths at the view's scale, through the real decoder and bitmaps.
namespace {

std::string SkinFile(const char* skin, const char* name) {
    return std::string("Z:") + TEST_DATA_DIR + "/../../skins/" + skin + "/" + name;
}

struct ScaleScope {
    SetSkinScaleProc Set =
        ProcAddress<SetSkinScaleProc>(GetModuleHandleA("tolvric.dll"), "SetSkinScale");
    explicit ScaleScope(const SkinScaleView& view) {
        EXPECT_NE(Set, nullptr);
        if (Set) Set(&view);
    }
    ~ScaleScope() {
        if (Set) Set(nullptr);
    }
};

SkinScaleView ViewOf(int32_t dpi, const std::string& stripPath, int32_t frames) {
    SkinScaleView view;
    std::memset(&view, 0, sizeof view);
    view.Dpi = dpi;
    view.LengthKeyCount = 1;
    std::strcpy(view.LengthKeys[0], "CPUOffsetX");
    std::strcpy(view.FontKey, "Font");
    view.PictureCount = 1;
    std::snprintf(view.Pictures[0].Path, sizeof view.Pictures[0].Path, "%s", stripPath.c_str());
    view.Pictures[0].Frames = frames;
    return view;
}

std::vector<uint32_t> PixelsOf(const ImageInfo& image) {
    DIBSECTION section;
    if (GetObjectA(image.ColorBitmap, sizeof section, &section) != int(sizeof section)) return {};
    const uint32_t* bits = static_cast<const uint32_t*>(section.dsBm.bmBits);
    return std::vector<uint32_t>(bits, bits + image.Width * image.Height);
}

TEST(TolvricScale, PicturesComeAtTheViewsScale) {
    struct Case {
        const char* Skin;
        const char* Name;
        int32_t Frames, Dpi;
        int Kind, Width, Height;
        const char* DrawnFor; // the picture handed as it is, or null when resampled
    } cases[] = {
        {"default", "cpu.png", 21, 96, ImageKindAlpha, 2100, 12, "cpu.png"},
        {"default", "cpu.png", 21, 144, ImageKindAlpha, 3150, 18, "cpu@1.5x.png"},
        {"default", "cpu.png", 21, 192, ImageKindAlpha, 4200, 24, "cpu@2x.png"},
        {"default", "cpu.png", 21, 120, ImageKindAlpha, 2625, 15, nullptr},
        {"default", "background.png", 1, 168, ImageKindAlpha, 385, 210, nullptr},
        {"painted", "background.png", 1, 192, ImageKindMasked, 480, 168, "background@2x.png"},
        {"painted", "background.png", 1, 120, ImageKindMasked, 300, 105, nullptr},
        {"painted", "cpu.png", 21, 120, ImageKindMasked, 21 * 55, 55, nullptr},
        {"test", "cpu.png", 22, 120, ImageKindAlpha, 22 * 25, 25, nullptr}, // no @ pictures
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.Skin) + "/" + c.Name + " at " + std::to_string(c.Dpi));
        const std::string path = SkinFile(c.Skin, c.Name);
        std::vector<uint32_t> scaled;
        {
            ScaleScope scope(ViewOf(c.Dpi, path, c.Frames));
            LoadedImage image(path, 2);
            ASSERT_EQ(image.Info.Kind, c.Kind);
            EXPECT_EQ(image.Info.Width, c.Width);
            EXPECT_EQ(image.Info.Height, c.Height);
            EXPECT_EQ(image.Info.Bits != nullptr, c.Kind == ImageKindAlpha);
            scaled = PixelsOf(image.Info);
            if (c.Kind == ImageKindMasked) {
                // The mask is white exactly where the colour is the key.
                std::vector<uint32_t> mask;
                ImageInfo maskOnly = image.Info;
                maskOnly.ColorBitmap = image.Info.MaskBitmap;
                mask = PixelsOf(maskOnly);
                ASSERT_EQ(mask.size(), scaled.size());
                for (size_t i = 0; i < mask.size(); ++i)
                    ASSERT_EQ((mask[i] & 0xFFFFFF) == 0xFFFFFF, (scaled[i] & 0xFFFFFF) == 0xFF00FF)
                        << i;
            }
        }
        if (!c.DrawnFor) continue;
        LoadedImage drawn(SkinFile(c.Skin, c.DrawnFor), 2); // no view: the file as it is
        EXPECT_EQ(PixelsOf(drawn.Info), scaled);
    }
}

TEST(TolvricScale, LengthsAndFontAtTheViewsScaleXAndYNot) {
    const std::string ini = TempPath("scale", ".ini");
    ASSERT_TRUE(
        WriteTextFile(ini, "[Quilbex]\r\nX=40\r\nCPUOffsetX=106\r\nFont=Tahoma,8,bold\r\n"));
    auto read = [&](int32_t* x, int32_t* offset, int32_t* points) {
        ConfigCursor cursor;
        OpenCFGr(const_cast<char*>(ini.c_str()), &cursor);
        FindSection("Quilbex", 0, &cursor);
        *x = GetCFGInt("X", 0, &cursor);
        *offset = GetCFGInt("cpuoffsetx", 0, &cursor);
        FontInfo font;
        GetCFGFont("Font", &font, &cursor);
        *points = font.Size;
        CloseCFGr(&cursor);
    };
    int32_t x = 0, offset = 0, points = 0;
    {
        ScaleScope scope(ViewOf(144, "", 1));
        read(&x, &offset, &points);
        EXPECT_EQ(x, 40);
        EXPECT_EQ(offset, 159);
        EXPECT_EQ(points, 12);
    }
    read(&x, &offset, &points); // the view is gone: the file's own numbers
    EXPECT_EQ(offset, 106);
    EXPECT_EQ(points, 8);
    DeleteFileA(ini.c_str());
}

} // namespace
