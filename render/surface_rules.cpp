#include "render/surface_rules.h"

uint8_t LayeredStyleLevel(bool backgroundHasAlpha, int32_t transparency) {
    if (backgroundHasAlpha && transparency == 0) return 1;
    return static_cast<uint8_t>(transparency & 0xFF);
}

uint8_t LayeredSourceAlpha(int32_t transparency) {
    // 64-bit product: a wild configured value must not overflow; the
    // configured range 0..70 gives the same numbers either way.
    const int64_t dimming = static_cast<int64_t>(transparency) * 255 / 100;
    return static_cast<uint8_t>(255 - (dimming & 0xFF));
}

uint8_t ConstantWindowAlpha(int32_t transparency) {
    return static_cast<uint8_t>((100 - static_cast<int64_t>(transparency)) * 255 / 100);
}

SurfaceMode PaintModeFor(bool backgroundHasAlpha, bool layeredAvailable, int32_t zOrder) {
    return backgroundHasAlpha && layeredAvailable && zOrder != 0 ? SurfaceLayered : SurfacePainted;
}
