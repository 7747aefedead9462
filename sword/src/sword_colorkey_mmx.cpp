// MMX colour key and band generation: whole 4-word vectors per row. Ends with _mm_empty.
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

HRESULT key_source_sword_funct_mmx(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                   int strideA, int strideB, int width, int height, int, const SWORD*,
                                   const SWORD*, int* alignmentOut)
{
    try {
        const HRESULT check = CheckColourKey(planeA, planeB, laneMask, alignmentOut, kSwordAlignmentMmx);
        if (check != S_OK)
            return check;
        const __m64 mask = Load(laneMask);
        const __m64 zero = _mm_setzero_si64();
        const int vectors = VectorsPerRow(width, 4);
        for (int row = 0; row < height; ++row) {
            SWORD* lower = RowAt(planeA, strideA, row);
            const SWORD* upper = RowAt(static_cast<const SWORD*>(planeB), strideB, row);
            for (int v = 0; v < vectors; ++v, lower += 4, upper += 4) {
                const __m64 b = Load(upper);
                const __m64 transparent = _mm_cmpeq_pi16(b, zero);
                const __m64 chosen = _mm_or_si64(_mm_and_si64(transparent, Load(lower)), _mm_andnot_si64(transparent, b));
                Store(lower, _mm_and_si64(chosen, mask));
            }
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GenerateImageFunct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                               int height, int, const SWORD* constant1, const SWORD* constant2, int* alignmentOut)
{
    try {
        const HRESULT check = CheckGenerateImage(planeA, constant1, constant2, alignmentOut, kSwordAlignmentNone);
        if (check != S_OK)
            return check;
        const __m64 centres = Load(constant1);
        const __m64 peaks = Load(constant2);
        const int vectors = VectorsPerRow(width, 4);
        for (int row = 0; row < height; ++row) {
            const __m64 distance = _mm_subs_pi16(_mm_set1_pi16(static_cast<SWORD>(row)), centres);
            const __m64 square = _mm_mullo_pi16(distance, distance);
            const __m64 value = _mm_subs_pu16(peaks, _mm_add_pi16(square, square));
            SWORD* words = RowAt(planeA, strideA, row);
            for (int v = 0; v < vectors; ++v, words += 4)
                Store(words, value);
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
