// SSE2 conversions: 8 pixels (one 16-byte word vector) a step with loads and stores of any
// alignment; the rest of a row goes through the plain row code.
#include "sword_convert_rows.h"

#include <emmintrin.h>

#include <cstring>

namespace {

__m128i Load(const void* address)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(address));
}

void Store(void* address, __m128i value)
{
    _mm_storeu_si128(static_cast<__m128i*>(address), value);
}

int Load32(const BYTE* address)
{
    int value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

__m128i LowWords()
{
    return _mm_set1_epi32(0x0000FFFF);
}

__m128i PackToBytes(__m128i words)
{
    return _mm_packus_epi16(words, words);
}

__m128i ClampToByteRange(__m128i words)
{
    return _mm_unpacklo_epi8(PackToBytes(words), _mm_setzero_si128());
}

__m128i Luma(__m128i r, __m128i g, __m128i b)
{
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(r, _mm_set1_epi16(33)), _mm_mullo_epi16(g, _mm_set1_epi16(65)));
    sum = _mm_add_epi16(sum, _mm_mullo_epi16(b, _mm_set1_epi16(13)));
    return _mm_add_epi16(_mm_srai_epi16(sum, 7), _mm_set1_epi16(16));
}

// Average of the pixel pairs of 8 words, one per 32-bit lane (high word 0).
__m128i PairAverage(__m128i words)
{
    return _mm_srli_epi32(_mm_add_epi32(_mm_and_si128(words, LowWords()), _mm_srli_epi32(words, 16)), 1);
}

// Valid in the low word of each lane.
__m128i Chroma(__m128i r, __m128i g, __m128i b, short wr, short wg, short wb)
{
    __m128i sum = _mm_add_epi16(_mm_mullo_epi16(r, _mm_set1_epi16(wr)), _mm_mullo_epi16(g, _mm_set1_epi16(wg)));
    sum = _mm_add_epi16(sum, _mm_mullo_epi16(b, _mm_set1_epi16(wb)));
    return _mm_add_epi16(_mm_srai_epi16(sum, 7), _mm_set1_epi16(128));
}

__m128i Channel(__m128i pixels, int shift)
{
    return _mm_and_si128(_mm_srl_epi32(pixels, _mm_cvtsi32_si128(shift)), _mm_set1_epi32(0xFF));
}

// 8 RGB24 pixels (24 bytes) to 16 YUY2 bytes.
__m128i Rgb24ToYuy2Step(const BYTE* input)
{
    // The last pixel is read from the byte before it, so nothing past the 24 bytes is touched.
    const __m128i first = _mm_set_epi32(Load32(input + 9), Load32(input + 6), Load32(input + 3), Load32(input));
    const __m128i second =
        _mm_set_epi32(static_cast<int>(static_cast<unsigned>(Load32(input + 20)) >> 8), Load32(input + 18),
                      Load32(input + 15), Load32(input + 12));
    const __m128i b = _mm_packs_epi32(Channel(first, 0), Channel(second, 0));
    const __m128i g = _mm_packs_epi32(Channel(first, 8), Channel(second, 8));
    const __m128i r = _mm_packs_epi32(Channel(first, 16), Channel(second, 16));
    const __m128i luma = Luma(r, g, b);
    const __m128i ar = PairAverage(r), ag = PairAverage(g), ab = PairAverage(b);
    const __m128i u = Chroma(ar, ag, ab, -19, -37, 56);
    const __m128i v = Chroma(ar, ag, ab, 56, -47, -9);
    const __m128i chroma = _mm_or_si128(_mm_and_si128(u, LowWords()), _mm_slli_epi32(v, 16));
    return _mm_unpacklo_epi8(PackToBytes(luma), PackToBytes(chroma));
}

__m128i PlanesToRgb16Step(__m128i first, __m128i second, __m128i third, bool layout555)
{
    first = ClampToByteRange(first);
    second = ClampToByteRange(second);
    third = ClampToByteRange(third);
    __m128i high, middle;
    if (layout555) {
        high = _mm_and_si128(_mm_slli_epi16(first, 7), _mm_set1_epi16(0x7C00));
        middle = _mm_and_si128(_mm_slli_epi16(second, 2), _mm_set1_epi16(0x03E0));
    } else {
        high = _mm_and_si128(_mm_slli_epi16(first, 8), _mm_set1_epi16(static_cast<short>(0xF800)));
        middle = _mm_and_si128(_mm_slli_epi16(second, 3), _mm_set1_epi16(0x07E0));
    }
    return _mm_or_si128(_mm_or_si128(high, middle), _mm_srli_epi16(third, 3));
}

} // namespace

HRESULT ConvertYUY2toY16UV16_sse2(SWORD* planeY, void* planeUV, const void* source, void*, const SWORD*,
                                  int planeStride, int sourceStride, int width, int height, int, const SWORD*,
                                  const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckYuy2ToPlanes(planeY, planeUV, source, planeStride, sourceStride, width, height,
                                            alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        SWORD* uv = RowAt(static_cast<SWORD*>(planeUV), planeStride, row);
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m128i pixels = Load(in + 2 * x);
            Store(y + x, _mm_and_si128(pixels, lowBytes));
            Store(uv + x, _mm_srli_epi16(pixels, 8));
        }
        Yuy2ToY16UV16Row_c(in, y, uv, x, width);
    }
    return S_OK;
}

HRESULT ConvertY8toY16_sse2(SWORD* planeY, void*, const void* source, void*, const SWORD*, int planeStride,
                            int sourceStride, int width, int height, int, const SWORD*, const SWORD*,
                            int* alignmentOut)
{
    const HRESULT check =
        CheckY8ToY16(planeY, source, planeStride, sourceStride, width, height, alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const __m128i zero = _mm_setzero_si128();
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(static_cast<const BYTE*>(source), sourceStride, row);
        SWORD* y = RowAt(planeY, planeStride, row);
        int x = 0;
        for (; x + 16 <= width; x += 16) {
            const __m128i bytes = Load(in + x);
            Store(y + x, _mm_unpacklo_epi8(bytes, zero));
            Store(y + x + 8, _mm_unpackhi_epi8(bytes, zero));
        }
        // Half a step: 8 source bytes still fill one whole word vector.
        if (x + 8 <= width) {
            Store(y + x, _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(in + x)), zero));
            x += 8;
        }
        Y8ToY16Row_c(in, y, x, width);
    }
    return S_OK;
}

HRESULT SpliteUVImageToU_V_sse2(const SWORD* planeUV, SWORD* planeU, SWORD* planeV, int stride, int widthInWords,
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
        for (; x + 8 <= widthInWords; x += 8) {
            const __m128i pairs = Load(uv + x);
            const __m128i us = _mm_and_si128(pairs, LowWords());
            const __m128i vs = _mm_srli_epi32(pairs, 16);
            Store(u + x, _mm_or_si128(us, _mm_slli_epi32(us, 16)));
            Store(v + x, _mm_or_si128(vs, _mm_slli_epi32(vs, 16)));
        }
        SplitUVRow_c(uv, u, v, x, widthInWords);
    }
    return S_OK;
}

HRESULT JoinU_VImageToUV_sse2(SWORD* planeUV, const SWORD* planeU, const SWORD* planeV, int stride,
                              int widthInWords, int height)
{
    const HRESULT check = CheckSplitJoin(planeUV, planeU, planeV, stride, widthInWords, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        SWORD* uv = RowAt(planeUV, stride, row);
        const SWORD* u = RowAt(planeU, stride, row);
        const SWORD* v = RowAt(planeV, stride, row);
        int x = 0;
        for (; x + 8 <= widthInWords; x += 8)
            Store(uv + x, _mm_or_si128(_mm_and_si128(Load(u + x), LowWords()), _mm_slli_epi32(Load(v + x), 16)));
        JoinUVRow_c(uv, u, v, x, widthInWords);
    }
    return S_OK;
}

HRESULT r16g16b16_to_rgb32_sse2(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                                int capacity, int planeStride, int* outputStride, int width, int height)
{
    const HRESULT prepared =
        PreparePlanesToRgb(first, second, third, output, capacity, planeStride, outputStride, width, height, 4);
    if (prepared != S_OK)
        return prepared;
    const __m128i zero = _mm_setzero_si128();
    for (int row = 0; row < height; ++row) {
        const SWORD* a = RowAt(first, planeStride, row);
        const SWORD* b = RowAt(second, planeStride, row);
        const SWORD* c = RowAt(third, planeStride, row);
        BYTE* out = RowAt(output, *outputStride, row);
        int x = 0;
        for (; x + 8 <= width; x += 8) {
            const __m128i thirdAndFirst = _mm_packus_epi16(Load(c + x), Load(a + x));
            const __m128i secondAndZero = _mm_packus_epi16(Load(b + x), zero);
            const __m128i blueGreen = _mm_unpacklo_epi8(thirdAndFirst, secondAndZero);
            const __m128i redZero = _mm_unpackhi_epi8(thirdAndFirst, secondAndZero);
            Store(out + 4 * x, _mm_unpacklo_epi16(blueGreen, redZero));
            Store(out + 4 * x + 16, _mm_unpackhi_epi16(blueGreen, redZero));
        }
        PlanesToRgb32Row_c(a, b, c, out, x, width);
    }
    return S_OK;
}

HRESULT r16g16b16_to_rgb16_sse2(const SWORD* first, const SWORD* second, const SWORD* third, BYTE* output,
                                int capacity, int planeStride, int* outputStride, int width, int height,
                                int layout555)
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
        for (; x + 8 <= width; x += 8)
            Store(out + 2 * x, PlanesToRgb16Step(Load(a + x), Load(b + x), Load(c + x), is555));
        PlanesToRgb16Row_c(a, b, c, out, x, width, is555);
    }
    return S_OK;
}

HRESULT ConvertRGB24ToYUY2_sse2(BYTE* output, const BYTE* input, int outputStride, int inputStride, int width,
                                int height)
{
    const HRESULT check = CheckRgb24ToYuy2(output, input, outputStride, inputStride, width, height);
    if (check != S_OK)
        return check;
    for (int row = 0; row < height; ++row) {
        const BYTE* in = RowAt(input, inputStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 8 <= width; x += 8)
            Store(out + 2 * x, Rgb24ToYuy2Step(in + 3 * x));
        Rgb24ToYuy2Row_c(in, out, x, width);
    }
    return S_OK;
}

HRESULT ConvertY16UV16ToYUY2_sse2(const SWORD* planeY, const SWORD* planeUV, int sourceStride, BYTE* output,
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
        for (; x + 8 <= width; x += 8)
            Store(out + 2 * x, _mm_unpacklo_epi8(PackToBytes(Load(y + x)), PackToBytes(Load(uv + x))));
        Y16UV16ToYuy2Row_c(y, uv, out, x, width);
    }
    return S_OK;
}

HRESULT ConvertY16ToYUY2_sse2(const SWORD* planeY, int sourceStride, BYTE* output, int outputStride, int width,
                              int height)
{
    const HRESULT check = CheckPlanesToYuy2(planeY, planeY, sourceStride, output, outputStride, width, height);
    if (check != S_OK)
        return check;
    const __m128i grey = _mm_set1_epi8(static_cast<char>(128));
    for (int row = 0; row < height; ++row) {
        const SWORD* y = RowAt(planeY, sourceStride, row);
        BYTE* out = RowAt(output, outputStride, row);
        int x = 0;
        for (; x + 8 <= width; x += 8)
            Store(out + 2 * x, _mm_unpacklo_epi8(PackToBytes(Load(y + x)), grey));
        Y16ToYuy2Row_c(y, out, x, width);
    }
    return S_OK;
}
