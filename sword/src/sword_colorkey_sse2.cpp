// SSE2 colour key and band generation, each as an aligned kind and an any-alignment twin:
// whole 8-word vectors per row.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <emmintrin.h>

namespace {

template <bool Aligned>
__m128i Load(const SWORD* address)
{
    if constexpr (Aligned)
        return _mm_load_si128(reinterpret_cast<const __m128i*>(address));
    else
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

// Lane constants are the caller's vectors, aligned or not.
__m128i LoadConstant(const SWORD* address)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(address));
}

template <bool Aligned>
HRESULT KeySource(SWORD* planeA, const void* planeB, const SWORD* laneMask, int strideA, int strideB, int width,
                  int height, int* alignmentOut)
{
    // Aligned loads would fault on planes off the vector boundary: those take the any-address code.
    if constexpr (Aligned) {
        if (!IsOnVectorBoundary(planeA, strideA, 16) || !IsOnVectorBoundary(planeB, strideB, 16))
            return KeySource<false>(planeA, planeB, laneMask, strideA, strideB, width, height, alignmentOut);
    }
    const HRESULT check = CheckColourKey(planeA, planeB, laneMask, alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const __m128i mask = LoadConstant(laneMask);
    const __m128i zero = _mm_setzero_si128();
    const int vectors = VectorsPerRow(width, 8);
    for (int row = 0; row < height; ++row) {
        SWORD* lower = RowAt(planeA, strideA, row);
        const SWORD* upper = RowAt(static_cast<const SWORD*>(planeB), strideB, row);
        for (int v = 0; v < vectors; ++v, lower += 8, upper += 8) {
            const __m128i b = Load<Aligned>(upper);
            const __m128i transparent = _mm_cmpeq_epi16(b, zero);
            const __m128i chosen =
                _mm_or_si128(_mm_and_si128(transparent, Load<Aligned>(lower)), _mm_andnot_si128(transparent, b));
            Store<Aligned>(lower, _mm_and_si128(chosen, mask));
        }
    }
    return S_OK;
}

template <bool Aligned>
HRESULT GenerateBand(SWORD* planeA, int strideA, int width, int height, const SWORD* constant1,
                     const SWORD* constant2, int* alignmentOut)
{
    if constexpr (Aligned) {
        if (!IsOnVectorBoundary(planeA, strideA, 16))
            return GenerateBand<false>(planeA, strideA, width, height, constant1, constant2, alignmentOut);
    }
    const HRESULT check = CheckGenerateImage(planeA, constant1, constant2, alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const __m128i centres = LoadConstant(constant1);
    const __m128i peaks = LoadConstant(constant2);
    const int vectors = VectorsPerRow(width, 8);
    for (int row = 0; row < height; ++row) {
        const __m128i distance = _mm_subs_epi16(_mm_set1_epi16(static_cast<SWORD>(row)), centres);
        const __m128i square = _mm_mullo_epi16(distance, distance);
        const __m128i value = _mm_subs_epu16(peaks, _mm_add_epi16(square, square));
        SWORD* words = RowAt(planeA, strideA, row);
        for (int v = 0; v < vectors; ++v, words += 8)
            Store<Aligned>(words, value);
    }
    return S_OK;
}

} // namespace

HRESULT key_source_sword_funct_sse2(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                    int strideA, int strideB, int width, int height, int, const SWORD*,
                                    const SWORD*, int* alignmentOut)
{
    try {
        return KeySource<true>(planeA, planeB, laneMask, strideA, strideB, width, height, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT key_source_sword_funct_sse2u(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                     int strideA, int strideB, int width, int height, int, const SWORD*,
                                     const SWORD*, int* alignmentOut)
{
    try {
        return KeySource<false>(planeA, planeB, laneMask, strideA, strideB, width, height, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GenerateImageFunct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                int width, int height, int, const SWORD* constant1, const SWORD* constant2,
                                int* alignmentOut)
{
    try {
        return GenerateBand<true>(planeA, strideA, width, height, constant1, constant2, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GenerateImageFunct_sse2u(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                 int width, int height, int, const SWORD* constant1, const SWORD* constant2,
                                 int* alignmentOut)
{
    try {
        return GenerateBand<false>(planeA, strideA, width, height, constant1, constant2, alignmentOut);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
