// SSE2 row routines. Loads and stores take any alignment: a frame heap block or a scratch stride
// need not sit on 16 bytes, and on aligned data they cost the same.
#include "intavo_convert_rows.h"

#include <emmintrin.h>

#include <cstring>

using namespace intavo;

namespace {

__m128i Load(const BYTE* from)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
}

void Store(BYTE* to, __m128i value)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to), value);
}

__m128i LoadLow8(const BYTE* from)
{
    return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(from));
}

__m128i LoadLow4(const BYTE* from)
{
    int32_t value;
    std::memcpy(&value, from, sizeof(value));
    return _mm_cvtsi32_si128(value);
}

// Four pixels of 3 bytes in the low 12 bytes become one pixel per 32-bit lane (top byte 0):
// lane k takes bytes 3k..3k+2, shifted up by k bytes.
__m128i SpreadPixels(__m128i packed)
{
    const __m128i lane0 = _mm_set_epi32(0, 0, 0, 0x00FFFFFF);
    const __m128i lane1 = _mm_set_epi32(0, 0, 0x00FFFFFF, 0);
    const __m128i lane2 = _mm_set_epi32(0, 0x00FFFFFF, 0, 0);
    const __m128i lane3 = _mm_set_epi32(0x00FFFFFF, 0, 0, 0);
    __m128i lanes = _mm_and_si128(packed, lane0);
    lanes = _mm_or_si128(lanes, _mm_and_si128(_mm_slli_si128(packed, 1), lane1));
    lanes = _mm_or_si128(lanes, _mm_and_si128(_mm_slli_si128(packed, 2), lane2));
    return _mm_or_si128(lanes, _mm_and_si128(_mm_slli_si128(packed, 3), lane3));
}

// B + G + R of the pixel in each 32-bit lane.
__m128i SumOfChannels(__m128i lanes)
{
    const __m128i blueRed = _mm_and_si128(lanes, _mm_set1_epi32(0x00FF00FF));
    const __m128i green = _mm_and_si128(_mm_srli_epi32(lanes, 8), _mm_set1_epi32(0xFF));
    return _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi16(1)), green);
}

// (10 x sum) >> 5 of eight sums in words; 10 x 765 stays inside a word.
__m128i LumaOfSums(__m128i sums0123, __m128i sums4567)
{
    const __m128i sums = _mm_packs_epi32(sums0123, sums4567);
    return _mm_srli_epi16(_mm_mullo_epi16(sums, _mm_set1_epi16(10)), 5);
}

// 16 pixels (48 bytes) a step, as four groups of four pixels.
void Rgb24ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step < steps; ++step, in += 48, out += 16) {
        const __m128i v0 = Load(in), v1 = Load(in + 16), v2 = Load(in + 32);
        const __m128i group0 = v0;
        const __m128i group1 = _mm_or_si128(_mm_srli_si128(v0, 12), _mm_slli_si128(v1, 4));
        const __m128i group2 = _mm_or_si128(_mm_srli_si128(v1, 8), _mm_slli_si128(v2, 8));
        const __m128i group3 = _mm_srli_si128(v2, 4);
        const __m128i luma0 = LumaOfSums(SumOfChannels(SpreadPixels(group0)), SumOfChannels(SpreadPixels(group1)));
        const __m128i luma1 = LumaOfSums(SumOfChannels(SpreadPixels(group2)), SumOfChannels(SpreadPixels(group3)));
        Store(out, _mm_packus_epi16(luma0, luma1));
    }
}

// 16 pixels (32 bytes) a step: the even bytes.
void Yuy2ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (int step = 0; step < steps; ++step, in += 32, out += 16)
        Store(out, _mm_packus_epi16(_mm_and_si128(Load(in), lowBytes), _mm_and_si128(Load(in + 16), lowBytes)));
}

// 8 pixels (16 bytes) a step; the two bytes of every word trade places.
void UyvyToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step < steps; ++step, in += 16, out += 16) {
        const __m128i words = Load(in);
        Store(out, _mm_or_si128(_mm_slli_epi16(words, 8), _mm_srli_epi16(words, 8)));
    }
}

// 8 pixels (16 bytes) a step; the chroma words of each pair trade places (a 16-bit rotation of
// every 32-bit lane of chroma).
void YvyuToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    const __m128i lumaBytes = _mm_set1_epi32(0x00FF00FF);
    for (int step = 0; step < steps; ++step, in += 16, out += 16) {
        const __m128i pixels = Load(in);
        const __m128i chroma = _mm_andnot_si128(lumaBytes, pixels);
        const __m128i swapped = _mm_or_si128(_mm_slli_epi32(chroma, 16), _mm_srli_epi32(chroma, 16));
        Store(out, _mm_or_si128(_mm_and_si128(pixels, lumaBytes), swapped));
    }
}

// 8 pixels of both rows a step; the rest of the row through the plain code.
void PlanarRowPair(BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u, const BYTE* v, int width)
{
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m128i chroma = _mm_unpacklo_epi8(LoadLow4(u + x / 2), LoadLow4(v + x / 2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out0 + 2 * x), _mm_unpacklo_epi8(LoadLow8(y0 + x), chroma));
        if (out1 != nullptr)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out1 + 2 * x), _mm_unpacklo_epi8(LoadLow8(y1 + x), chroma));
    }
    PlanarRowPair_c(out0, out1, y0, y1, u, v, x, width);
}

HRESULT ConvertPlanar(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                      int sourceCapacity, bool vFirst)
{
    return ConvertPlanarRows(destination, source, destinationStride, width, height, sourceCapacity, vFirst,
                             [width](BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u,
                                     const BYTE* v) { PlanarRowPair(out0, out1, y0, y1, u, v, width); });
}

} // namespace

HRESULT ConvertRGB24ToY8_sse2(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                              int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Rgb24ToY8, {16, 48, 16}, StepsRoundingUp(width, 16), Rgb24ToY8Steps);
}

HRESULT ConvertYUY2ToY8_sse2(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                             int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Yuy2ToY8, {16, 32, 16}, StepsRoundingUp(width, 16), Yuy2ToY8Steps);
}

HRESULT ConvertUYVYToYUY2_sse2(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                               int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Reorder, {8, 16, 16}, StepsRoundingUp(width, 8), UyvyToYuy2Steps);
}

HRESULT ConvertYVYUToYUY2_sse2(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                               int width, int height)
{
    return ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                             PackedKind::Reorder, {8, 16, 16}, StepsRoundingUp(width, 8), YvyuToYuy2Steps);
}

HRESULT ConvertI420ToYUY2_sse2(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                               int sourceCapacity)
{
    return ConvertPlanar(destination, source, destinationStride, width, height, sourceCapacity, false);
}

HRESULT ConvertYV12ToYUY2_sse2(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                               int sourceCapacity)
{
    return ConvertPlanar(destination, source, destinationStride, width, height, sourceCapacity, true);
}
