// MMX gradient correction and gradient fill: whole 4-word vectors per row. Ends with _mm_empty.
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

} // namespace

HRESULT GradientCorrectImage_mmx(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                 int curveEntries)
{
    try {
        const HRESULT check = CheckGradientCorrect(plane, stride, widthInWords, height, curve, curveEntries);
        if (check != S_OK)
            return check;
        const int vectors = VectorsPerRow(widthInWords, 4);
        const __m64 zero = _mm_setzero_si64();
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(plane, stride, row);
            for (int v = 0; v < vectors; ++v, words += 4) {
                // MMX cannot move single words out of a register: clamp in the vector, look up in memory.
                const __m64 clamped = _mm_unpacklo_pi8(_mm_packs_pu16(Load(words), zero), zero);
                SWORD index[4];
                Store(index, clamped);
                for (int i = 0; i < 4; ++i)
                    words[i] = curve[index[i]];
            }
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT gradient_fill_sword_funct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                      int width, int height, int, const SWORD* constant1, const SWORD*,
                                      int* alignmentOut)
{
    try {
        GradientRamp ramp{};
        const HRESULT prepared = PrepareGradientFill(planeA, width, height, constant1, alignmentOut, &ramp);
        if (prepared != S_OK)
            return prepared;
        const int vectors = VectorsPerRow(width, 4);
        const SWORD step = ramp.columnStep;
        // Unshifted column accumulators of the first vector, and the saturated step of one vector.
        const __m64 firstColumns = _mm_set_pi16(SaturateToWord(3 * step), SaturateToWord(2 * step), step, 0);
        const __m64 vectorStep = _mm_set1_pi16(SaturateToWord(4 * step));
        const __m64 base = _mm_set1_pi16(ramp.base);
        for (int row = 0; row < height; ++row) {
            const __m64 rowTerm = _mm_set1_pi16(GradientTerm(ramp.rowStep, row));
            __m64 columns = firstColumns;
            SWORD* words = RowAt(planeA, strideA, row);
            for (int v = 0; v < vectors; ++v, words += 4) {
                // The two terms are within +-256, so only the base can saturate the sum.
                Store(words, _mm_adds_pi16(_mm_add_pi16(_mm_srai_pi16(columns, 7), rowTerm), base));
                columns = _mm_adds_pi16(columns, vectorStep);
            }
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
