// MMX conversions: 4 pixels (one 8-byte word vector) a step; the rest of a row goes through the
// plain row code. Every operation ends with _mm_empty so floating-point code can follow.
#include "sword_convert_rows.h"

#include <mmintrin.h>

#include <cstring>

namespace {

__m64 Load(const void* address)
{
    __m64 value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

void Store(void* address, __m64 value)
{
    std::memcpy(address, &value, sizeof(value));
}

int Load32(const BYTE* address)
{
    int value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

// Masks are built where they are used: a static vector would run MMX code before main without EMMS.
__m64 LowBytes()
{
    return _mm_set1_pi16(0x00FF);
}

__m64 LowWords()
{
    return _mm_set1_pi32(0x0000FFFF);
}

// Saturates words to 0..255 and packs them into the low 4 bytes.
__m64 PackToBytes(__m64 words)
{
    return _mm_packs_pu16(words, words);
}

// 4 words to 0..255, widened again.
__m64 ClampToByteRange(__m64 words)
{
    return _mm_unpacklo_pi8(PackToBytes(words), _mm_setzero_si64());
}

// Luma of 4 pixels given as words.
__m64 Luma(__m64 r, __m64 g, __m64 b)
{
    __m64 sum = _mm_add_pi16(_mm_mullo_pi16(r, _mm_set1_pi16(33)), _mm_mullo_pi16(g, _mm_set1_pi16(65)));
    sum = _mm_add_pi16(sum, _mm_mullo_pi16(b, _mm_set1_pi16(13)));
    return _mm_add_pi16(_mm_srai_pi16(sum, 7), _mm_set1_pi16(16));
}

// Average of the pixel pairs of 4 words, one per 32-bit lane (high word 0).
__m64 PairAverage(__m64 words)
{
    return _mm_srli_pi32(_mm_add_pi32(_mm_and_si64(words, LowWords()), _mm_srli_pi32(words, 16)), 1);
}

// Weighted sum of pair averages, shifted, plus 128; valid in the low word of each lane.
__m64 Chroma(__m64 r, __m64 g, __m64 b, short wr, short wg, short wb)
{
    __m64 sum = _mm_add_pi16(_mm_mullo_pi16(r, _mm_set1_pi16(wr)), _mm_mullo_pi16(g, _mm_set1_pi16(wg)));
    sum = _mm_add_pi16(sum, _mm_mullo_pi16(b, _mm_set1_pi16(wb)));
    return _mm_add_pi16(_mm_srai_pi16(sum, 7), _mm_set1_pi16(128));
}

// Channel of two B, G, R pixels held in the low bytes of the 32-bit lanes.
__m64 Channel(__m64 pixels, int shift)
{
    return _mm_and_si64(_mm_srli_pi32(pixels, shift), _mm_set1_pi32(0xFF));
}

// 4 RGB24 pixels (12 bytes) to 8 YUY2 bytes.
__m64 Rgb24ToYuy2Step(const BYTE* input)
{
    // The fourth pixel is read from the byte before it, so nothing past the 12 bytes is touched.
    const __m64 first = _mm_set_pi32(Load32(input + 3), Load32(input));
    const __m64 second = _mm_set_pi32(static_cast<int>(static_cast<unsigned>(Load32(input + 8)) >> 8),
                                      Load32(input + 6));
    const __m64 b = _mm_packs_pi32(Channel(first, 0), Channel(second, 0));
    const __m64 g = _mm_packs_pi32(Channel(first, 8), Channel(second, 8));
    const __m64 r = _mm_packs_pi32(Channel(first, 16), Channel(second, 16));
    const __m64 luma = Luma(r, g, b);
    const __m64 ar = PairAverage(r), ag = PairAverage(g), ab = PairAverage(b);
    const __m64 u = Chroma(ar, ag, ab, -19, -37, 56);
    const __m64 v = Chroma(ar, ag, ab, 56, -47, -9);
    const __m64 chroma = _mm_or_si64(_mm_and_si64(u, LowWords()), _mm_slli_pi32(v, 16));
    return _mm_unpacklo_pi8(PackToBytes(luma), PackToBytes(chroma));
}

// 4 pixels of three planes to 8 bytes of 16-bit RGB.
__m64 PlanesToRgb16Step(__m64 first, __m64 second, __m64 third, bool layout555)
{
    first = ClampToByteRange(first);
    second = ClampToByteRange(second);
    third = ClampToByteRange(third);
    __m64 high, middle;
    if (layout555) {
        high = _mm_and_si64(_mm_slli_pi16(first, 7), _mm_set1_pi16(0x7C00));
        middle = _mm_and_si64(_mm_slli_pi16(second, 2), _mm_set1_pi16(0x03E0));
    } else {
        high = _mm_and_si64(_mm_slli_pi16(first, 8), _mm_set1_pi16(static_cast<short>(0xF800)));
        middle = _mm_and_si64(_mm_slli_pi16(second, 3), _mm_set1_pi16(0x07E0));
    }
    return _mm_or_si64(_mm_or_si64(high, middle), _mm_srli_pi16(third, 3));
}

} // namespace

HRESULT ConvertYUY2toY16UV16_mmx(SWORD* planeY, void* planeUV, const void* source, void*, const SWORD*,
                                 int planeStride, int sourceStride, int width, int height, int, const SWORD*,
                                 const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckYuy2ToPlanes(planeY, planeUV, source, planeStride, sourceStride, width, height,
                                            alignmentOut, kSwordAlignmentMmx);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        SWORD* uv = RowAt(static_cast<SWORD*>(planeUV), planeStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            const __m64 pixels = Load(in + 2 * x);
            Store(y + x, _mm_and_si64(pixels, LowBytes()));
            Store(uv + x, _mm_srli_pi16(pixels, 8));
        }
        Yuy2ToY16UV16Row_c(in, y, uv, x, width);
    }
    _mm_empty();
    return S_OK;
}

HRESULT ConvertY8toY16_mmx(SWORD* planeY, void*, const void* source, void*, const SWORD*, int planeStride,
                           int sourceStride, int width, int height, int, const SWORD*, const SWORD*,
                           int* alignmentOut)
{
    const HRESULT check =
        CheckY8ToY16(planeY, source, planeStride, sourceStride, width, height, alignmentOut, kSwordAlignmentMmx);
    if (check != S_OK)
        return check;
    const __m64 zero = _mm_setzero_si64();
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m64 bytes = Load(in + x);
            Store(y + x, _mm_unpacklo_pi8(bytes, zero));
            Store(y + x + 4, _mm_unpackhi_pi8(bytes, zero));
        }
        Y8ToY16Row_c(in, y, x, width);
    }
    _mm_empty();
    return S_OK;
}

HRESULT rgb32_to_r16g16b16_mmx(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                               int sourceStride, int* planeStride, int width, int height)
{
    const HRESULT prepared =
        PrepareRgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height);
    if (prepared != S_OK)
        return prepared;
    const int stride = GetSwordPlaneStride(width);
    const __m64 zero = _mm_setzero_si64();
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(source, sourceStride, row);
        SWORD* r = RowAt(*planeR, stride, row);
        SWORD* g = RowAt(*planeG, stride, row);
        SWORD* b = RowAt(*planeB, stride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            const __m64 pixels01 = Load(in + 4 * x);
            const __m64 pixels23 = Load(in + 4 * x + 8);
            // Words B G R A per pixel, then a 4 x 4 transpose.
            const __m64 p0 = _mm_unpacklo_pi8(pixels01, zero), p1 = _mm_unpackhi_pi8(pixels01, zero);
            const __m64 p2 = _mm_unpacklo_pi8(pixels23, zero), p3 = _mm_unpackhi_pi8(pixels23, zero);
            const __m64 bg01 = _mm_unpacklo_pi16(p0, p1), ra01 = _mm_unpackhi_pi16(p0, p1);
            const __m64 bg23 = _mm_unpacklo_pi16(p2, p3), ra23 = _mm_unpackhi_pi16(p2, p3);
            Store(b + x, _mm_unpacklo_pi32(bg01, bg23));
            Store(g + x, _mm_unpackhi_pi32(bg01, bg23));
            Store(r + x, _mm_unpacklo_pi32(ra01, ra23));
        }
        Rgb32ToPlanesRow_c(in, r, g, b, x, width);
    }
    _mm_empty();
    *planeStride = stride;
    return FinishRgb32ToPlanes(*planeR, *planeG, *planeB, stride, width, height);
}

HRESULT SpliteUVImageToU_V_mmx(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride, int widthInWords,
                               int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        const SWORD* uv = RowAt(planeUV, stride, row);
        SWORD* u = RowAt(planeU, stride, row);
        SWORD* v = RowAt(planeV, stride, row);
        int x = 0;
        for (; x + 4 <= widthInWords; x += 4) {
            const __m64 pairs = Load(uv + x);
            const __m64 us = _mm_and_si64(pairs, LowWords());
            const __m64 vs = _mm_srli_pi32(pairs, 16);
            Store(u + x, _mm_or_si64(us, _mm_slli_pi32(us, 16)));
            Store(v + x, _mm_or_si64(vs, _mm_slli_pi32(vs, 16)));
        }
        SplitUVRow_c(uv, u, v, x, widthInWords);
    }
    _mm_empty();
    return S_OK;
}

HRESULT JoinU_VImageToUV_mmx(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride, int widthInWords,
                             int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        SWORD* uv = RowAt(planeUV, stride, row);
        const SWORD* u = RowAt(planeU, stride, row);
        const SWORD* v = RowAt(planeV, stride, row);
        int x = 0;
        for (; x + 4 <= widthInWords; x += 4)
            Store(uv + x, _mm_or_si64(_mm_and_si64(Load(u + x), LowWords()), _mm_slli_pi32(Load(v + x), 16)));
        JoinUVRow_c(uv, u, v, x, widthInWords);
    }
    _mm_empty();
    return S_OK;
}

HRESULT r16g16b16_to_rgb32_mmx(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                               int capacity, int planeStride, int* outputStride, int width, int height)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 4);
    if (prepared != S_OK)
        return prepared;
    const __m64 zero = _mm_setzero_si64();
    for (int row = 0; row < height; ++row) {
        const SWORD* a = RowAt(first, planeStride, row);
        const SWORD* b = RowAt(second, planeStride, row);
        const SWORD* c = RowAt(third, planeStride, row);
        BYTE* out = RowAt(output, *outputStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4) {
            const __m64 blueGreen = _mm_unpacklo_pi8(PackToBytes(Load(c + x)), PackToBytes(Load(b + x)));
            const __m64 redZero = _mm_unpacklo_pi8(PackToBytes(Load(a + x)), zero);
            Store(out + 4 * x, _mm_unpacklo_pi16(blueGreen, redZero));
            Store(out + 4 * x + 8, _mm_unpackhi_pi16(blueGreen, redZero));
        }
        PlanesToRgb32Row_c(a, b, c, out, x, width);
    }
    _mm_empty();
    return S_OK;
}

HRESULT r16g16b16_to_rgb16_mmx(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                               int capacity, int planeStride, int* outputStride, int width, int height, int layout555)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 2);
    if (prepared != S_OK)
        return prepared;
    const bool is555 = (layout555 & 0xFF) != 0;
    for (int row = 0; row < height; ++row) {
        const SWORD* a = RowAt(first, planeStride, row);
        const SWORD* b = RowAt(second, planeStride, row);
        const SWORD* c = RowAt(third, planeStride, row);
        BYTE* out = RowAt(output, *outputStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4)
            Store(out + 2 * x, PlanesToRgb16Step(Load(a + x), Load(b + x), Load(c + x), is555));
        PlanesToRgb16Row_c(a, b, c, out, x, width, is555);
    }
    _mm_empty();
    return S_OK;
}

HRESULT ConvertRGB24ToYUY2_mmx(BYTE* output, const BYTE* input, int outputStride, int inputStride, int width,
                               int height)
{
    const HRESULT check = CheckRgb24ToYuy2(output, input, outputStride, inputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(input, inputStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4)
            Store(out + 2 * x, Rgb24ToYuy2Step(in + 3 * x));
        Rgb24ToYuy2Row_c(in, out, x, width);
    }
    _mm_empty();
    return S_OK;
}

HRESULT ConvertY16UV16ToYUY2_mmx(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output,
                                 int outputStride, int width, int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeUV, sourceStride, output, outputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        const SWORD* y = RowAt(planeY, sourceStride, row);
        const SWORD* uv = RowAt(planeUV, sourceStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4)
            Store(out + 2 * x, _mm_unpacklo_pi8(PackToBytes(Load(y + x)), PackToBytes(Load(uv + x))));
        Y16UV16ToYuy2Row_c(y, uv, out, x, width);
    }
    _mm_empty();
    return S_OK;
}

HRESULT ConvertY16ToYUY2_mmx(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride, int width,
                             int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeY, sourceStride, output, outputStride, width, height);
    if (check != S_OK)
        return check;
    const __m64 grey = _mm_set1_pi8(static_cast<char>(128));
    for (int row = 0; row < height; ++row) {
        const SWORD* y = RowAt(planeY, sourceStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 4 <= width; x += 4)
            Store(out + 2 * x, _mm_unpacklo_pi8(PackToBytes(Load(y + x)), grey));
        Y16ToYuy2Row_c(y, out, x, width);
    }
    _mm_empty();
    return S_OK;
}
