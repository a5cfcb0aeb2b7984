// Where the system puts the desktop picture on a monitor: the arithmetic of
// the six placements a user picks in the desktop settings, on plain
// rectangles in screen pixels, so that a painter of the desktop behind a
// window puts every pixel where the system shows it.
#pragma once

#include <cstdint>

enum class WallpaperFit : int32_t {
    Centre,  // the picture's own size, centred on the monitor
    Tile,    // the picture's own size, repeated from the monitor's corner
    Stretch, // the monitor exactly, the picture's proportions lost
    Fit,     // as large as fits whole inside the monitor, centred
    Fill,    // as small as covers the whole monitor, centred
    Span,    // Fill over the rectangle around all monitors
};

struct PixelRect {
    int32_t Left, Top, Right, Bottom;
};

// The placement the values under HKCU\Control Panel\Desktop name:
// WallpaperStyle 0 centre (tiled when TileWallpaper is 1), 2 stretch, 6 fit,
// 10 fill, 22 span. A style the system does not know centres, as it does.
WallpaperFit WallpaperFitFromRegistry(int32_t wallpaperStyle, int32_t tileWallpaper);
// The placement a DESKTOP_WALLPAPER_POSITION names (0 centre, 1 tile,
// 2 stretch, 3 fit, 4 fill, 5 span).
WallpaperFit WallpaperFitFromPosition(int32_t position);

// The rectangle the whole picture is drawn into when placed on `area` (the
// monitor; for Span the rectangle around all monitors); parts outside the
// area are cut. For Tile, the tile at the area's corner. Centred pictures
// lean to the top-left by half a pixel when the room left is odd; scaled
// sizes are rounded to the nearest pixel. Empty for an empty picture.
PixelRect PlaceWallpaper(WallpaperFit fit, const PixelRect& area, int32_t pictureWidth,
                         int32_t pictureHeight);

// The first column (or row) of tiles of `size` pixels laid from `origin` that
// reaches `from`: the tile that starts at or before it.
int32_t FirstTileAt(int32_t origin, int32_t from, int32_t size);
