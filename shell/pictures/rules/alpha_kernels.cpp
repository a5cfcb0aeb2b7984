#include "shell/pictures/rules/alpha_kernels.h"

#include <cstring>

#if defined(__i386__) || defined(__x86_64__)
#include <emmintrin.h>
#define ALPHA_KERNELS_SSE2 1
#endif

namespace {

uint8_t* RowAt(const PixelBuffer& buffer, int32_t rowFromTop) {
    int32_t row = buffer.BottomUp ? buffer.Height - 1 - rowFromTop : rowFromTop;
    return buffer.Bits + int64_t(row) * buffer.Stride;
}

// Cuts [start, start + length) of one axis to [0, limit), moving the other
// side's start along; lengths and positions are kept in 64 bits so that no
// argument can overflow.
void ClipAxis(int64_t* start, int64_t* otherStart, int64_t* length, int64_t limit) {
    if (*start < 0) {
        *otherStart -= *start;
        *length += *start;
        *start = 0;
    }
    if (*start + *length > limit) *length = limit - *start;
}

// MulDiv255 on two bytes at once, one in each 16-bit half of `pair` (bits
// 0-7 and 16-23): each product plus 128 stays below 2^16, so the halves never
// carry into each other and the rounding is MulDiv255's exactly.
inline uint32_t MulDiv255Pair(uint32_t pair, uint32_t a) {
    uint32_t t = pair * a + 0x00800080u;
    return ((t + ((t >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
}

// Two byte sums of at most 510 in the halves of `pair`, each capped at 255.
inline uint32_t CapPair(uint32_t pair) {
    return (pair | (((pair >> 8) & 0x00010001u) * 0xFFu)) & 0x00FF00FFu;
}

} // namespace

void PremultiplyPixels(uint8_t* bits, uint32_t pixelCount) {
    if (!bits) return;
    for (uint32_t i = 0; i < pixelCount; ++i, bits += 4) {
        uint32_t a = bits[3];
        if (a == 255) continue;
        bits[0] = uint8_t(MulDiv255(bits[0], a));
        bits[1] = uint8_t(MulDiv255(bits[1], a));
        bits[2] = uint8_t(MulDiv255(bits[2], a));
    }
}

bool ClipBlendRequest(const BlendRequest& request, int32_t sourceWidth, int32_t sourceHeight,
                      int32_t targetWidth, int32_t targetHeight, ClippedBlock* block) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || targetWidth <= 0 || targetHeight <= 0)
        return false;
    int64_t width = request.Width, height = request.Height;
    if (height > sourceHeight) height = sourceHeight;
    int64_t sourceX = request.SourceX, sourceY = 0;
    int64_t targetX = request.X, targetY = request.Y;
    // Inside the source first, then inside the target.
    ClipAxis(&sourceX, &targetX, &width, sourceWidth);
    ClipAxis(&targetX, &sourceX, &width, targetWidth);
    ClipAxis(&targetY, &sourceY, &height, targetHeight);
    if (width <= 0 || height <= 0) return false;
    block->SourceX = int32_t(sourceX);
    block->SourceY = int32_t(sourceY);
    block->TargetX = int32_t(targetX);
    block->TargetY = int32_t(targetY);
    block->Width = int32_t(width);
    block->Height = int32_t(height);
    return true;
}

namespace {

// One pixel by the rule of BlendBlock.
inline void BlendPixel(const uint8_t* from, uint8_t* to) {
    uint32_t s;
    std::memcpy(&s, from, 4);
    if (s == 0) return; // nothing to add, nothing covered
    const uint32_t a = s >> 24;
    if (a == 255) {
        std::memcpy(to, &s, 4);
        return;
    }
    // Blue with red and green with alpha, each pair in one word:
    // source + target * (255 - alpha) / 255, capped at 255.
    uint32_t t;
    std::memcpy(&t, to, 4);
    const uint32_t keep = 255 - a;
    const uint32_t br = CapPair((s & 0x00FF00FFu) + MulDiv255Pair(t & 0x00FF00FFu, keep));
    const uint32_t ga =
        CapPair(((s >> 8) & 0x00FF00FFu) + MulDiv255Pair((t >> 8) & 0x00FF00FFu, keep));
    t = br | (ga << 8);
    std::memcpy(to, &t, 4);
}

#ifdef ALPHA_KERNELS_SSE2
// Four pixels at a time, each byte in a 16-bit lane. The rule is the same
// for every pixel without exceptions: a zero source adds nothing and keeps
// the whole target, an opaque one keeps none of it. The division rounds as
// MulDiv255 does: for t = c * keep + 128 below 2^16, (t * 257) >> 16 equals
// (t + (t >> 8)) >> 8. Answers how many pixels it did (a multiple of four).
__attribute__((target("sse2"))) int32_t BlendRowSse2(const uint8_t* from, uint8_t* to,
                                                     int32_t count) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i full = _mm_set1_epi16(255);
    const __m128i half = _mm_set1_epi16(128);
    const __m128i scale = _mm_set1_epi16(257);
    int32_t done = 0;
    for (; done + 4 <= count; done += 4, from += 16, to += 16) {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
        const __m128i sLow = _mm_unpacklo_epi8(s, zero), sHigh = _mm_unpackhi_epi8(s, zero);
        // 255 - alpha in all four lanes of each pixel.
        const __m128i keepLow =
            _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sLow, 0xFF), 0xFF));
        const __m128i keepHigh =
            _mm_sub_epi16(full, _mm_shufflehi_epi16(_mm_shufflelo_epi16(sHigh, 0xFF), 0xFF));
        __m128i low = _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(t, zero), keepLow), half);
        __m128i high = _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(t, zero), keepHigh), half);
        low = _mm_mulhi_epu16(low, scale);
        high = _mm_mulhi_epu16(high, scale);
        const __m128i kept = _mm_packus_epi16(low, high);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), _mm_adds_epu8(s, kept));
    }
    return done;
}

// Four pixels at a time: the colour where the mask is black, else the target.
__attribute__((target("sse2"))) int32_t PutMaskedRowSse2(const uint8_t* colour, const uint8_t* mask,
                                                         uint8_t* to, int32_t count) {
    const __m128i colourBytes = _mm_set1_epi32(0x00FFFFFF);
    int32_t done = 0;
    for (; done + 4 <= count; done += 4, colour += 16, mask += 16, to += 16) {
        const __m128i m = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask));
        const __m128i black = _mm_cmpeq_epi32(_mm_and_si128(m, colourBytes), _mm_setzero_si128());
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(colour));
        const __m128i t = _mm_loadu_si128(reinterpret_cast<const __m128i*>(to));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to),
                         _mm_or_si128(_mm_and_si128(black, c), _mm_andnot_si128(black, t)));
    }
    return done;
}

bool CanUseSse2() {
#ifdef __x86_64__
    return true;
#else
    return __builtin_cpu_supports("sse2");
#endif
}
#endif

} // namespace

void BlendBlock(const PixelBuffer& source, const PixelBuffer& target, const ClippedBlock& block) {
#ifdef ALPHA_KERNELS_SSE2
    static const bool sse2 = CanUseSse2();
#endif
    for (int32_t row = 0; row < block.Height; ++row) {
        const uint8_t* from = RowAt(source, block.SourceY + row) + block.SourceX * 4;
        uint8_t* to = RowAt(target, block.TargetY + row) + block.TargetX * 4;
        int32_t done = 0;
#ifdef ALPHA_KERNELS_SSE2
        if (sse2) done = BlendRowSse2(from, to, block.Width);
#endif
        for (int32_t column = done; column < block.Width; ++column)
            BlendPixel(from + column * 4, to + column * 4);
    }
}

void PutMaskedBlock(const PixelBuffer& colour, const PixelBuffer& mask, const PixelBuffer& target,
                    const ClippedBlock& block) {
#ifdef ALPHA_KERNELS_SSE2
    static const bool sse2 = CanUseSse2();
#endif
    for (int32_t row = 0; row < block.Height; ++row) {
        const uint8_t* from = RowAt(colour, block.SourceY + row) + block.SourceX * 4;
        const uint8_t* shape = RowAt(mask, block.SourceY + row) + block.SourceX * 4;
        uint8_t* to = RowAt(target, block.TargetY + row) + block.TargetX * 4;
        int32_t done = 0;
#ifdef ALPHA_KERNELS_SSE2
        if (sse2) done = PutMaskedRowSse2(from, shape, to, block.Width);
#endif
        for (int32_t column = done; column < block.Width; ++column) {
            uint32_t m;
            std::memcpy(&m, shape + column * 4, 4);
            if ((m & 0x00FFFFFFu) == 0) std::memcpy(to + column * 4, from + column * 4, 4);
        }
    }
}

void BlendPremultiplied(const PixelBuffer& source, const PixelBuffer& target,
                        const BlendRequest& request) {
    if (!source.Bits || !target.Bits) return;
    ClippedBlock block;
    if (ClipBlendRequest(request, source.Width, source.Height, target.Width, target.Height, &block))
        BlendBlock(source, target, block);
}
