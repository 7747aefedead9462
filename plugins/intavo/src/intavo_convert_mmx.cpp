// MMX row routines: plain MMX instructions only (the set also runs on processors without the
// integer additions of SSE). Every routine empties the MMX state before it returns.
#include "intavo_convert_rows.h"

#include <mmintrin.h>

#include <cstring>

using namespace intavo;

namespace {

__m64 Load(const BYTE* from)
{
    __m64 value;
    std::memcpy(&value, from, sizeof(value));
    return value;
}

void Store(BYTE* to, __m64 value)
{
    std::memcpy(to, &value, sizeof(value));
}

__m64 LoadLow4(const BYTE* from)
{
    int32_t value;
    std::memcpy(&value, from, sizeof(value));
    return _mm_cvtsi32_si64(value);
}

__m64 LoadLow2(const BYTE* from)
{
    uint16_t value;
    std::memcpy(&value, from, sizeof(value));
    return _mm_cvtsi32_si64(value);
}

// Two pixels of 3 bytes in the low 6 bytes become one pixel per 32-bit lane (top byte 0).
__m64 SpreadPixels(__m64 packed)
{
    const __m64 lane0 = _mm_set_pi32(0, 0x00FFFFFF);
    const __m64 lane1 = _mm_set_pi32(0x00FFFFFF, 0);
    return _mm_or_si64(_mm_and_si64(packed, lane0), _mm_and_si64(_mm_slli_si64(packed, 8), lane1));
}

// B + G + R of the pixel in each 32-bit lane.
__m64 SumOfChannels(__m64 lanes)
{
    const __m64 blueRed = _mm_and_si64(lanes, _mm_set1_pi32(0x00FF00FF));
    const __m64 green = _mm_and_si64(_mm_srli_pi32(lanes, 8), _mm_set1_pi32(0xFF));
    return _mm_add_pi32(_mm_madd_pi16(blueRed, _mm_set1_pi16(1)), green);
}

__m64 LumaOfSums(__m64 sums01, __m64 sums23)
{
    const __m64 sums = _mm_packs_pi32(sums01, sums23);
    return _mm_srli_pi16(_mm_mullo_pi16(sums, _mm_set1_pi16(10)), 5);
}

// 8 pixels (24 bytes) a step, as four groups of two pixels.
void Rgb24ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step < steps; ++step, in += 24, out += 8) {
        const __m64 q0 = Load(in), q1 = Load(in + 8), q2 = Load(in + 16);
        const __m64 group0 = q0;
        const __m64 group1 = _mm_or_si64(_mm_srli_si64(q0, 48), _mm_slli_si64(q1, 16));
        const __m64 group2 = _mm_or_si64(_mm_srli_si64(q1, 32), _mm_slli_si64(q2, 32));
        const __m64 group3 = _mm_srli_si64(q2, 16);
        const __m64 luma0 = LumaOfSums(SumOfChannels(SpreadPixels(group0)), SumOfChannels(SpreadPixels(group1)));
        const __m64 luma1 = LumaOfSums(SumOfChannels(SpreadPixels(group2)), SumOfChannels(SpreadPixels(group3)));
        Store(out, _mm_packs_pu16(luma0, luma1));
    }
}

// 8 pixels (16 bytes) a step: the even bytes.
void Yuy2ToY8Steps(BYTE* out, const BYTE* in, int steps)
{
    const __m64 lowBytes = _mm_set1_pi16(0x00FF);
    for (int step = 0; step < steps; ++step, in += 16, out += 8)
        Store(out, _mm_packs_pu16(_mm_and_si64(Load(in), lowBytes), _mm_and_si64(Load(in + 8), lowBytes)));
}

// 4 pixels (8 bytes) a step.
void UyvyToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    for (int step = 0; step < steps; ++step, in += 8, out += 8) {
        const __m64 words = Load(in);
        Store(out, _mm_or_si64(_mm_slli_pi16(words, 8), _mm_srli_pi16(words, 8)));
    }
}

// 4 pixels (8 bytes) a step: the chroma words of a pair trade places by a 16-bit rotation.
void YvyuToYuy2Steps(BYTE* out, const BYTE* in, int steps)
{
    const __m64 lumaBytes = _mm_set1_pi32(0x00FF00FF);
    for (int step = 0; step < steps; ++step, in += 8, out += 8) {
        const __m64 pixels = Load(in);
        const __m64 chroma = _mm_andnot_si64(lumaBytes, pixels);
        const __m64 swapped = _mm_or_si64(_mm_slli_pi32(chroma, 16), _mm_srli_pi32(chroma, 16));
        Store(out, _mm_or_si64(_mm_and_si64(pixels, lumaBytes), swapped));
    }
}

// The reorders' step count: a width that is not a multiple of 8 is walked with (width + 7) / 4
// steps, so up to 7 pixels of padding are reordered too.
int ReorderSteps(int width)
{
    return width % 8 != 0 ? static_cast<int>((static_cast<int64_t>(width) + 7) / 4) : width / 4;
}

// 4 pixels of both rows a step; the rest of the row through the plain code.
void PlanarRowPair(BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u, const BYTE* v, int width)
{
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m64 chroma = _mm_unpacklo_pi8(LoadLow2(u + x / 2), LoadLow2(v + x / 2));
        Store(out0 + 2 * x, _mm_unpacklo_pi8(LoadLow4(y0 + x), chroma));
        if (out1 != nullptr)
            Store(out1 + 2 * x, _mm_unpacklo_pi8(LoadLow4(y1 + x), chroma));
    }
    _mm_empty();
    PlanarRowPair_c(out0, out1, y0, y1, u, v, x, width);
}

HRESULT ConvertPlanar(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                      int sourceCapacity, bool vFirst)
{
    return ConvertPlanarRows(destination, source, destinationStride, width, height, sourceCapacity, vFirst,
                             [width](BYTE* out0, BYTE* out1, const BYTE* y0, const BYTE* y1, const BYTE* u,
                                     const BYTE* v) { PlanarRowPair(out0, out1, y0, y1, u, v, width); });
}

// Runs a packed routine and leaves the MMX state empty on every path.
template <class RowSteps>
HRESULT ConvertPackedRowsMmx(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                             int width, int height, PackedKind kind, PackedStep step, int steps, RowSteps rowSteps)
{
    const HRESULT result = ConvertPackedRows(destination, source, destinationStride, sourceStride, width, height,
                                             kind, step, steps, rowSteps);
    _mm_empty();
    return result;
}

} // namespace

HRESULT ConvertRGB24ToY8_mmx(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                             int width, int height)
{
    return ConvertPackedRowsMmx(destination, source, destinationStride, sourceStride, width, height,
                                PackedKind::Rgb24ToY8, {8, 24, 8}, StepsRoundingUp(width, 8), Rgb24ToY8Steps);
}

HRESULT ConvertYUY2ToY8_mmx(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                            int width, int height)
{
    return ConvertPackedRowsMmx(destination, source, destinationStride, sourceStride, width, height,
                                PackedKind::Yuy2ToY8, {8, 16, 8}, StepsRoundingUp(width, 8), Yuy2ToY8Steps);
}

HRESULT ConvertUYVYToYUY2_mmx(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                              int width, int height)
{
    return ConvertPackedRowsMmx(destination, source, destinationStride, sourceStride, width, height,
                                PackedKind::Reorder, {4, 8, 8}, ReorderSteps(width), UyvyToYuy2Steps);
}

HRESULT ConvertYVYUToYUY2_mmx(BYTE* destination, const BYTE* source, int destinationStride, int sourceStride,
                              int width, int height)
{
    return ConvertPackedRowsMmx(destination, source, destinationStride, sourceStride, width, height,
                                PackedKind::Reorder, {4, 8, 8}, ReorderSteps(width), YvyuToYuy2Steps);
}

HRESULT ConvertI420ToYUY2_mmx(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                              int sourceCapacity)
{
    return ConvertPlanar(destination, source, destinationStride, width, height, sourceCapacity, false);
}

HRESULT ConvertYV12ToYUY2_mmx(BYTE* destination, const BYTE* source, int destinationStride, int width, int height,
                              int sourceCapacity)
{
    return ConvertPlanar(destination, source, destinationStride, width, height, sourceCapacity, true);
}
