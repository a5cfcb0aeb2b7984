#include "shell/pictures/device_rows.h"
#include "win32/dib_info.h"

namespace {

// Logical coordinates are the bitmap's own pixels: what GetDIBits reads at a
// place is what SetDIBitsToDevice writes back there.
bool HasPlainMapping(HDC dc) {
    POINT viewport = {}, window = {};
    return GetMapMode(dc) == MM_TEXT && GetGraphicsMode(dc) == GM_COMPATIBLE &&
           GetViewportOrgEx(dc, &viewport) && GetWindowOrgEx(dc, &window) && !viewport.x &&
           !viewport.y && !window.x && !window.y;
}

} // namespace

bool WorkThroughRows(HDC target, int32_t sourceWidth, int32_t sourceHeight,
                     const BlendRequest& request, RowWork work, const void* context,
                     uint32_t* scratch, int32_t scratchPixels, int* result) {
    if (GetObjectType(target) != OBJ_MEMDC || !HasPlainMapping(target)) return false;
    HGDIOBJ bitmap = GetCurrentObject(target, OBJ_BITMAP);
    BITMAP shape;
    if (!bitmap || GetObjectA(bitmap, sizeof(shape), &shape) != sizeof(shape)) return false;
    if (shape.bmWidth <= 0 || shape.bmHeight <= 0 || shape.bmWidth > scratchPixels) return false;
    ClippedBlock block;
    if (!ClipBlendRequest(request, sourceWidth, sourceHeight, shape.bmWidth, shape.bmHeight,
                          &block)) {
        *result = 0;
        return true;
    }
    const int32_t bandRows = scratchPixels / shape.bmWidth;
    BITMAPINFO info = Dib32Info(shape.bmWidth, 0);
    for (int32_t done = 0; done < block.Height; done += bandRows) {
        const int32_t rows = block.Height - done < bandRows ? block.Height - done : bandRows;
        const int32_t top = block.TargetY + done;
        // Read with the bitmap's own height in the header, so that the scan
        // lines are counted in the bitmap (from its bottom row); the lines
        // land at the start of scratch, bottom row first.
        info.bmiHeader.biHeight = shape.bmHeight;
        info.bmiHeader.biSizeImage = 0;
        const UINT firstScan = UINT(shape.bmHeight - (top + rows));
        if (GetDIBits(target, static_cast<HBITMAP>(bitmap), firstScan, UINT(rows), scratch, &info,
                      DIB_RGB_COLORS) != rows) {
            if (done == 0) return false; // nothing drawn yet
            *result = 0;
            return true;
        }
        info.bmiHeader.biHeight = rows; // written back as a picture of the band's rows
        info.bmiHeader.biSizeImage = 0;
        PixelBuffer band = {reinterpret_cast<uint8_t*>(scratch), shape.bmWidth, rows,
                            shape.bmWidth * 4, true};
        ClippedBlock part = block;
        part.SourceY = block.SourceY + done;
        part.TargetY = 0;
        part.Height = rows;
        work(band, part, context);
        if (!SetDIBitsToDevice(target, block.TargetX, top, DWORD(block.Width), DWORD(rows),
                               block.TargetX, 0, 0, UINT(rows), scratch, &info, DIB_RGB_COLORS)) {
            *result = 0;
            return true;
        }
    }
    *result = 1;
    return true;
}
