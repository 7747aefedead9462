// SSE2 gradient correction (any alignment) and gradient fill (aligned and any-alignment twins):
// whole 8-word vectors per row.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <emmintrin.h>

namespace {

__m128i LoadAny(const SWORD* address)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(address));
}

template <bool Aligned>
void Store(SWORD* address, __m128i value)
{
    if constexpr (Aligned)
        _mm_store_si128(reinterpret_cast<__m128i*>(address), value);
    else
        _mm_storeu_si128(reinterpret_cast<__m128i*>(address), value);
}

// Every word is 0..255, so it indexes the curve directly.
__m128i LookUp(__m128i indexes, const SWORD* curve)
{
    __m128i result = indexes;
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 0)], 0);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 1)], 1);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 2)], 2);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 3)], 3);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 4)], 4);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 5)], 5);
    result = _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 6)], 6);
    return _mm_insert_epi16(result, curve[_mm_extract_epi16(indexes, 7)], 7);
}

template <bool Aligned>
HRESULT FillGradient(SWORD* planeA, int strideA, int width, int height, const SWORD* constant1, int* alignmentOut)
{
    // Aligned stores would fault on a plane off the vector boundary: it takes the any-address code.
    if constexpr (Aligned) {
        if (!IsOnVectorBoundary(planeA, strideA, 16))
            return FillGradient<false>(planeA, strideA, width, height, constant1, alignmentOut);
    }
    GradientRamp ramp{};
    const HRESULT prepared = PrepareGradientFill(planeA, width, height, constant1, alignmentOut, &ramp);
    if (prepared != S_OK)
        return prepared;
    const int vectors = VectorsPerRow(width, 8);
    SWORD first[8];
    for (int lane = 0; lane < 8; ++lane)
        first[lane] = SaturateToWord(lane * ramp.columnStep);
    // Unshifted column accumulators of the first vector, and the saturated step of one vector.
    const __m128i firstColumns = LoadAny(first);
    const __m128i vectorStep = _mm_set1_epi16(SaturateToWord(8 * ramp.columnStep));
    const __m128i base = _mm_set1_epi16(ramp.base);
    for (int row = 0; row < height; ++row) {
        const __m128i rowTerm = _mm_set1_epi16(GradientTerm(ramp.rowStep, row));
        __m128i columns = firstColumns;
        SWORD* words = RowAt(planeA, strideA, row);
        for (int v = 0; v < vectors; ++v, words += 8) {
            // The two terms are within +-256, so only the base can saturate the sum.
            Store<Aligned>(words, _mm_adds_epi16(_mm_add_epi16(_mm_srai_epi16(columns, 7), rowTerm), base));
            columns = _mm_adds_epi16(columns, vectorStep);
        }
    }
    return S_OK;
}

} // namespace

HRESULT GradientCorrectImage_sse2(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                  int curveEntries)
{
    try {
        const HRESULT check = CheckGradientCorrect(plane, stride, widthInWords, height, curve, curveEntries);
        if (check != S_OK)
            return check;
        const int vectors = VectorsPerRow(widthInWords, 8);
        const __m128i low = _mm_setzero_si128();
        const __m128i high = _mm_set1_epi16(255);
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(plane, stride, row);
            for (int v = 0; v < vectors; ++v, words += 8)
                Store<false>(words, LookUp(_mm_min_epi16(_mm_max_epi16(LoadAny(words), low), high), curve));
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT gradient_fill_sword_funct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                       int width, int height, int, const SWORD* constant1, const SWORD*,
                                       int* alignmentOut)
{
    try {
        return FillGradient<true>(planeA, strideA, width, height, constant1, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT gradient_fill_sword_funct_sse2u(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                        int width, int height, int, const SWORD* constant1, const SWORD*,
                                        int* alignmentOut)
{
    try {
        return FillGradient<false>(planeA, strideA, width, height, constant1, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
