// SSE2 matrix effect: one 8-word vector per block row, loads and stores of any alignment.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <emmintrin.h>

namespace {

__m128i Load(const SWORD* address)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(address));
}

void Store(SWORD* address, __m128i value)
{
    _mm_storeu_si128(reinterpret_cast<__m128i*>(address), value);
}

// Unsigned |a - b| of every word.
__m128i AbsoluteDifference(__m128i a, __m128i b)
{
    return _mm_or_si128(_mm_subs_epu16(a, b), _mm_subs_epu16(b, a));
}

int BlockDifference(const SWORD* block, const SWORD* pattern, int stride)
{
    __m128i sums = _mm_setzero_si128();
    for (int row = 0; row < 8; ++row, pattern += 8)
        sums = _mm_adds_epu16(sums, AbsoluteDifference(Load(RowAt(block, stride, row)), Load(pattern)));
    sums = _mm_adds_epu16(sums, _mm_srli_si128(sums, 8));
    sums = _mm_adds_epu16(sums, _mm_srli_si128(sums, 4));
    sums = _mm_adds_epu16(sums, _mm_srli_si128(sums, 2));
    return _mm_extract_epi16(sums, 0);
}

void BlendBlock(SWORD* block, const SWORD* tile, int stride, int h)
{
    const __m128i kept = _mm_set1_epi16(static_cast<short>(255 - h));
    const __m128i drawn = _mm_set1_epi16(static_cast<short>(h));
    for (int row = 0; row < 8; ++row, tile += 8) {
        SWORD* words = RowAt(block, stride, row);
        const __m128i mixed = _mm_add_epi16(_mm_srli_epi16(_mm_mullo_epi16(Load(words), kept), 8),
                                            _mm_srli_epi16(_mm_mullo_epi16(Load(tile), drawn), 8));
        Store(words, mixed);
    }
}

} // namespace

HRESULT MatrixEffectImage_sse2(SWORD* plane1, SWORD* plane2, int stride, int widthInWords, int height,
                               const SWORD* const* templates1, const SWORD* const* templates2,
                               const SWORD* const* tiles1, const SWORD* const* tiles2, int count, SWORD intensity,
                               SWORD threshold)
{
    try {
        const MatrixEffectCall call{plane1, plane2, stride, widthInWords, height, templates1, templates2,
                                    tiles1, tiles2, count, intensity, threshold};
        const HRESULT check = CheckMatrixEffect(call);
        if (check != S_OK)
            return check;
        ApplyMatrixEffect(
            call, [](const SWORD* block, const SWORD* pattern, int rowStride) { return BlockDifference(block, pattern, rowStride); },
            [](SWORD* block, const SWORD* tile, int rowStride, int h) { BlendBlock(block, tile, rowStride, h); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
