#include "shell/pictures/rules/wallpaper_placement.h"

namespace {

// Division rounded towards minus infinity, for places left of or above the
// main monitor.
int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// `size` pixels centred in [start, start + room).
int32_t Centred(int32_t start, int32_t room, int32_t size) {
    return int32_t(start + FloorDiv(int64_t(room) - size, 2));
}

PixelRect CentredRect(const PixelRect& area, int32_t width, int32_t height) {
    const int32_t left = Centred(area.Left, area.Right - area.Left, width);
    const int32_t top = Centred(area.Top, area.Bottom - area.Top, height);
    return PixelRect{left, top, left + width, top + height};
}

// The picture scaled by the smaller (fit) or larger (cover) of the two
// ratios area/picture, centred.
PixelRect Scaled(const PixelRect& area, int64_t pictureWidth, int64_t pictureHeight, bool cover) {
    const int64_t areaWidth = area.Right - area.Left, areaHeight = area.Bottom - area.Top;
    // Width-limited when areaWidth / pictureWidth <= areaHeight / pictureHeight.
    const bool byWidth = (areaWidth * pictureHeight <= areaHeight * pictureWidth) != cover;
    int64_t width, height;
    if (byWidth) {
        width = areaWidth;
        height = (pictureHeight * areaWidth * 2 + pictureWidth) / (pictureWidth * 2);
    } else {
        height = areaHeight;
        width = (pictureWidth * areaHeight * 2 + pictureHeight) / (pictureHeight * 2);
    }
    return CentredRect(area, int32_t(width), int32_t(height));
}

} // namespace

WallpaperFit WallpaperFitFromRegistry(int32_t wallpaperStyle, int32_t tileWallpaper) {
    switch (wallpaperStyle) {
    case 2:
        return WallpaperFit::Stretch;
    case 6:
        return WallpaperFit::Fit;
    case 10:
        return WallpaperFit::Fill;
    case 22:
        return WallpaperFit::Span;
    case 0:
        return tileWallpaper == 1 ? WallpaperFit::Tile : WallpaperFit::Centre;
    }
    return WallpaperFit::Centre;
}

WallpaperFit WallpaperFitFromPosition(int32_t position) {
    static const WallpaperFit fits[] = {WallpaperFit::Centre,  WallpaperFit::Tile,
                                        WallpaperFit::Stretch, WallpaperFit::Fit,
                                        WallpaperFit::Fill,    WallpaperFit::Span};
    return position >= 0 && position <= 5 ? fits[position] : WallpaperFit::Centre;
}

PixelRect PlaceWallpaper(WallpaperFit fit, const PixelRect& area, int32_t pictureWidth,
                         int32_t pictureHeight) {
    if (pictureWidth <= 0 || pictureHeight <= 0 || area.Right <= area.Left ||
        area.Bottom <= area.Top)
        return PixelRect{area.Left, area.Top, area.Left, area.Top};
    switch (fit) {
    case WallpaperFit::Tile:
        return PixelRect{area.Left, area.Top, area.Left + pictureWidth, area.Top + pictureHeight};
    case WallpaperFit::Stretch:
        return area;
    case WallpaperFit::Fit:
        return Scaled(area, pictureWidth, pictureHeight, false);
    case WallpaperFit::Fill:
    case WallpaperFit::Span:
        return Scaled(area, pictureWidth, pictureHeight, true);
    case WallpaperFit::Centre:
        break;
    }
    return CentredRect(area, pictureWidth, pictureHeight);
}

int32_t FirstTileAt(int32_t origin, int32_t from, int32_t size) {
    if (size <= 0) return origin;
    return int32_t(origin + FloorDiv(int64_t(from) - origin, size) * size);
}
