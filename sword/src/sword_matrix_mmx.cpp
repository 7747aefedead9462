// MMX matrix effect (also the SSE-integer column's): two 4-word vectors per block row.
// Ends with _mm_empty.
#include "sword_effects.h"

#include "CatchAllLog.h"

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

// Unsigned |a - b| of every word.
__m64 AbsoluteDifference(__m64 a, __m64 b)
{
    return _mm_or_si64(_mm_subs_pu16(a, b), _mm_subs_pu16(b, a));
}

int BlockDifference(const SWORD* block, const SWORD* pattern, int stride)
{
    __m64 sums = _mm_setzero_si64();
    for (int row = 0; row < 8; ++row, pattern += 8) {
        const SWORD* words = RowAt(block, stride, row);
        sums = _mm_adds_pu16(sums, AbsoluteDifference(Load(words), Load(pattern)));
        sums = _mm_adds_pu16(sums, AbsoluteDifference(Load(words + 4), Load(pattern + 4)));
    }
    sums = _mm_adds_pu16(sums, _mm_srli_si64(sums, 32));
    sums = _mm_adds_pu16(sums, _mm_srli_si64(sums, 16));
    return _mm_cvtsi64_si32(sums) & 0xFFFF;
}

__m64 BlendWords(__m64 words, __m64 tile, __m64 kept, __m64 drawn)
{
    return _mm_add_pi16(_mm_srli_pi16(_mm_mullo_pi16(words, kept), 8), _mm_srli_pi16(_mm_mullo_pi16(tile, drawn), 8));
}

void BlendBlock(SWORD* block, const SWORD* tile, int stride, int h)
{
    const __m64 kept = _mm_set1_pi16(static_cast<short>(255 - h));
    const __m64 drawn = _mm_set1_pi16(static_cast<short>(h));
    for (int row = 0; row < 8; ++row, tile += 8) {
        SWORD* words = RowAt(block, stride, row);
        Store(words, BlendWords(Load(words), Load(tile), kept, drawn));
        Store(words + 4, BlendWords(Load(words + 4), Load(tile + 4), kept, drawn));
    }
}

} // namespace

HRESULT MatrixEffectImage_mmx(SWORD* plane1, SWORD* plane2, int stride, int widthInWords, int height,
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
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
