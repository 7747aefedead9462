// SSE-integer gradient correction: MMX registers with the word extract and insert of SSE.
// Ends with _mm_empty.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <xmmintrin.h>

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

// Every word is 0..255, so it indexes the curve directly.
__m64 LookUp(__m64 indexes, const SWORD* curve)
{
    __m64 result = indexes;
    result = _mm_insert_pi16(result, curve[_mm_extract_pi16(indexes, 0)], 0);
    result = _mm_insert_pi16(result, curve[_mm_extract_pi16(indexes, 1)], 1);
    result = _mm_insert_pi16(result, curve[_mm_extract_pi16(indexes, 2)], 2);
    return _mm_insert_pi16(result, curve[_mm_extract_pi16(indexes, 3)], 3);
}

} // namespace

HRESULT GradientCorrectImage_sse(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                 int curveEntries)
{
    try {
        const HRESULT check = CheckGradientCorrect(plane, stride, widthInWords, height, curve, curveEntries);
        if (check != S_OK)
            return check;
        const int vectors = VectorsPerRow(widthInWords, 4);
        const __m64 low = _mm_setzero_si64();
        const __m64 high = _mm_set1_pi16(255);
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(plane, stride, row);
            for (int v = 0; v < vectors; ++v, words += 4)
                Store(words, LookUp(_mm_min_pi16(_mm_max_pi16(Load(words), low), high), curve));
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
