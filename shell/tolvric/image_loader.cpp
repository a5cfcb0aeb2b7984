// Pictures from files, decoded by the system's Windows Imaging Component
// (PNG, BMP and whatever else the system's WIC reads).
//
// A picture whose pixel format carries alpha (32-bit PNG, or a palette with
// transparent entries) gives Kind 8: ColorBitmap is a bottom-up 32-bit DIB
// section of premultiplied BGRA and Bits points at its pixels; MaskBitmap 0.
// Any other picture gives Kind 1: ColorBitmap holds the picture (alpha byte
// 255) and MaskBitmap, a 32-bit DIB section of the same size, is white where
// the picture has the key colour magenta RGB(255, 0, 255) and black elsewhere.
// Bitmaps belong to the caller (KeepBitmaps 0). LoadFlags is accepted and
// ignored: a background and a meter strip load alike.
//
// Any failure gives Kind -1 with every other field the loader fills left 0,
// and leaves no GDI object, COM object or memory behind.
//
// Under the host's scaled view (scale_view.h) the plug-in gets the picture at
// the view's scale: the one the skin made for the nearest scale at or above
// it (name@1.5x.png, name@2x.png, else name.png), resampled frame by frame
// to the view's scale (shell/skin_files/rules/strip_resample.h) when it was made for
// another. A picture made for the view's scale is handed as it is.
#include "shell/tolvric/image_loader.h"

#include "host/host_library.h"
#include "shell/pictures/rules/alpha_kernels.h"
#include "shell/skin_files/rules/strip_resample.h"
#include "shell/tolvric/call_log.h"
#include "shell/tolvric/scale_view.h"
#include "win32/com_scope.h"
#include "win32/scoped_gdi.h"

#include <wincodec.h>
#include <cstring>

namespace {

const uint32_t LargestSide = 16384;
const uint32_t LargestPixelCount = 1u << 24;
const uint32_t KeyPixel = 0x00FF00FF; // magenta, as BGRA without alpha

// Releases a COM interface when the scope ends.
template <class T> struct ComRef {
    T* Pointer = nullptr;
    ~ComRef() {
        if (Pointer) Pointer->Release();
    }
    T* operator->() const { return Pointer; }
};

bool FormatHasAlpha(const WICPixelFormatGUID& format) {
    static const GUID* const withAlpha[] = {
        &GUID_WICPixelFormat32bppBGRA,       &GUID_WICPixelFormat32bppRGBA,
        &GUID_WICPixelFormat32bppPBGRA,      &GUID_WICPixelFormat32bppPRGBA,
        &GUID_WICPixelFormat64bppRGBA,       &GUID_WICPixelFormat64bppBGRA,
        &GUID_WICPixelFormat64bppPRGBA,      &GUID_WICPixelFormat64bppPBGRA,
        &GUID_WICPixelFormat128bppRGBAFloat, &GUID_WICPixelFormat128bppPRGBAFloat,
    };
    for (const GUID* candidate : withAlpha)
        if (IsEqualGUID(format, *candidate)) return true;
    return false;
}

bool PaletteHasAlpha(IWICImagingFactory* factory, IWICBitmapFrameDecode* frame) {
    ComRef<IWICPalette> palette;
    if (FAILED(factory->CreatePalette(&palette.Pointer))) return false;
    if (FAILED(frame->CopyPalette(palette.Pointer))) return false;
    BOOL hasAlpha = FALSE;
    return SUCCEEDED(palette->HasAlpha(&hasAlpha)) && hasAlpha;
}

// WIC writes rows top-down; the DIB section wants the bottom row first.
void FlipRows(uint8_t* bits, uint32_t stride, uint32_t height) {
    for (uint32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint32_t* a = reinterpret_cast<uint32_t*>(bits + top * stride);
        uint32_t* b = reinterpret_cast<uint32_t*>(bits + bottom * stride);
        for (uint32_t i = 0; i < stride / 4; ++i) {
            uint32_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
}

// A 32-bit DIB section of the picture's size, white where the picture has the
// key colour and black elsewhere; null when the system makes none.
HBITMAP MakeKeyMask(const uint32_t* pixels, int32_t width, int32_t height) {
    ScopedDib mask(nullptr, Dib32Info(LONG(width), LONG(height)));
    uint32_t* maskPixels = static_cast<uint32_t*>(mask.bits);
    if (!maskPixels) return nullptr;
    const uint32_t count = uint32_t(width) * uint32_t(height);
    for (uint32_t i = 0; i < count; ++i)
        maskPixels[i] = (pixels[i] & 0x00FFFFFF) == KeyPixel ? 0xFFFFFFFFu : 0xFF000000u;
    return mask.Release();
}

} // namespace

// Fills image from the file; false on any failure, with nothing left behind.
bool DecodePicture(const wchar_t* widePath, ImageInfo* image) {
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (!GetFileAttributesExW(widePath, GetFileExInfoStandard, &attributes)) return false;
    if (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return false;
    if (attributes.nFileSizeLow == 0 && attributes.nFileSizeHigh == 0) return false;

    ComScope com;
    ComRef<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory,
                                reinterpret_cast<void**>(&factory.Pointer))))
        return false;
    ComRef<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(
            widePath, nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &decoder.Pointer)))
        return false;
    ComRef<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, &frame.Pointer))) return false;
    UINT width = 0, height = 0;
    if (FAILED(frame->GetSize(&width, &height))) return false;
    if (width == 0 || height == 0 || width > LargestSide || height > LargestSide ||
        uint64_t(width) * height > LargestPixelCount)
        return false;
    WICPixelFormatGUID format;
    if (FAILED(frame->GetPixelFormat(&format))) return false;
    bool hasAlpha = FormatHasAlpha(format) || PaletteHasAlpha(factory.Pointer, frame.Pointer);

    ComRef<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(&converter.Pointer))) return false;
    if (FAILED(converter->Initialize(frame.Pointer, GUID_WICPixelFormat32bppBGRA,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;

    ScopedDib color(nullptr, Dib32Info(LONG(width), LONG(height))); // bottom-up
    void* bits = color.bits;
    if (!bits) return false;
    uint32_t stride = width * 4;
    if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits))))
        return false;
    GdiFlush();
    FlipRows(static_cast<uint8_t*>(bits), stride, height);
    uint32_t pixelCount = width * height;

    if (hasAlpha) {
        PremultiplyPixels(static_cast<uint8_t*>(bits), pixelCount);
        image->Kind = ImageKindAlpha;
        image->ColorBitmap = color.Release();
        image->MaskBitmap = nullptr;
        image->Bits = bits;
    } else {
        uint32_t* pixels = static_cast<uint32_t*>(bits);
        for (uint32_t i = 0; i < pixelCount; ++i)
            pixels[i] |= 0xFF000000u;
        HBITMAP mask = MakeKeyMask(pixels, int32_t(width), int32_t(height));
        if (!mask) return false;
        image->Kind = ImageKindMasked;
        image->ColorBitmap = color.Release();
        image->MaskBitmap = mask;
        image->Bits = nullptr;
    }
    image->Width = int32_t(width);
    image->Height = int32_t(height);
    image->KeepBitmaps = 0;
    return true;
}

namespace {

bool Decode(const char* path, ImageInfo* image) {
    wchar_t widePath[MAX_PATH];
    return MultiByteToWideChar(CP_ACP, 0, path, -1, widePath, MAX_PATH) &&
           DecodePicture(widePath, image);
}

bool FileExists(const char* path) {
    const DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The picture's pixels, bottom-up BGRA: Bits for an alpha picture, the colour
// bitmap's own for a masked one.
const uint32_t* PixelsOf(const ImageInfo& image) {
    if (image.Bits) return static_cast<const uint32_t*>(image.Bits);
    DIBSECTION section;
    if (GetObjectA(image.ColorBitmap, sizeof section, &section) != sizeof section) return nullptr;
    return static_cast<const uint32_t*>(section.dsBm.bmBits);
}

// Replaces a decoded picture drawn for fromDpi by its frames resampled to
// toDpi. A picture that cannot be resampled (no whole frame, or too large for
// a bitmap) stays as it was: the plug-in then shows it unscaled.
void ResamplePicture(ImageInfo* image, int32_t frames, int32_t fromDpi, int32_t toDpi) {
    StripSizes sizes;
    if (fromDpi == toDpi ||
        !ScaledStripSizes(image->Width, image->Height, frames, fromDpi, toDpi, &sizes))
        return;
    const int32_t width = sizes.Frames * sizes.FrameWidth;
    if (int64_t(width) > LargestSide || int64_t(width) * sizes.Height > LargestPixelCount) return;
    const uint32_t* source = PixelsOf(*image);
    ScopedDib scaled(nullptr, Dib32Info(LONG(width), LONG(sizes.Height)));
    uint32_t* target = static_cast<uint32_t*>(scaled.bits);
    const bool keyed = image->Kind == ImageKindMasked;
    if (!source || !target ||
        !ResampleStrip(source, image->Width, image->Height, sizes, keyed, target))
        return;
    HBITMAP mask = nullptr;
    if (keyed && !(mask = MakeKeyMask(target, width, sizes.Height))) return;
    DeleteObject(image->ColorBitmap);
    if (image->MaskBitmap) DeleteObject(image->MaskBitmap);
    image->Bits = keyed ? nullptr : target;
    image->ColorBitmap = scaled.Release();
    image->MaskBitmap = mask;
    image->Width = width;
    image->Height = sizes.Height;
}

// The picture under a scaled view: the one made for the nearest scale at or
// above the view's (PictureScales), resampled to the view's scale.
bool DecodeScaled(const char* path, const SkinScaleView& view, ImageInfo* image) {
    bool present[PictureScaleCount] = {};
    char names[PictureScaleCount][MAX_PATH];
    for (int32_t i = 0; i < PictureScaleCount; ++i)
        present[i] = PictureNameForScale(path, PictureScales[i].Suffix, names[i], MAX_PATH) &&
                     FileExists(names[i]);
    // A picture that cannot be read gives way to the next best.
    for (int32_t chosen = ChoosePictureScale(view.Dpi, present); chosen >= 0;
         chosen = ChoosePictureScale(view.Dpi, present)) {
        if (Decode(names[chosen], image)) {
            ResamplePicture(image, FramesOfPicture(view, path), PictureScales[chosen].Dpi,
                            view.Dpi);
            return true;
        }
        present[chosen] = false;
    }
    return false;
}

} // namespace

extern "C" {

// Answers 1 when the picture was loaded, 0 when Kind is -1.
int __stdcall LoadImageEx(ImageInfo* image) {
    CallLog("LoadImageEx %s %d", image ? LogText(image->Path) : "(null)",
            image ? int(image->LoadFlags) : 0);
    if (!image) return 0;
    image->ColorBitmap = nullptr;
    image->MaskBitmap = nullptr;
    image->Width = 0;
    image->Height = 0;
    image->KeepBitmaps = 0;
    image->Bits = nullptr;
    const SkinScaleView* view = ActiveScaleView();
    if (image->Path && image->Path[0] &&
        (view ? DecodeScaled(image->Path, *view, image) : Decode(image->Path, image)))
        return 1;
    image->Kind = ImageKindFailed;
    return 0;
}

} // extern "C"
