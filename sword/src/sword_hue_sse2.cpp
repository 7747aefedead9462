// SSE2 hue rotation: four (U, V) pairs a step, loads and stores of any alignment.
#include "sword_effects.h"

#include "CatchAllLog.h"

#include <emmintrin.h>

HRESULT CorrectHue_sse2(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    try {
        const HRESULT check = CheckCorrectHue(planeUV, matrix, stride, widthInWords, height);
        if (check != S_OK)
            return check;
        const SWORD* m = *matrix;
        const __m128i forU = _mm_set_epi16(m[1], m[0], m[1], m[0], m[1], m[0], m[1], m[0]);
        const __m128i forV = _mm_set_epi16(m[3], m[2], m[3], m[2], m[3], m[2], m[3], m[2]);
        const __m128i centre = _mm_set1_epi16(128);
        const __m128i centre32 = _mm_set1_epi32(128);
        const int vectors = VectorsPerRow(widthInWords, 8);
        for (int row = 0; row < height; ++row) {
            __m128i* words = reinterpret_cast<__m128i*>(RowAt(planeUV, stride, row));
            for (int v = 0; v < vectors; ++v, ++words) {
                const __m128i uv = _mm_subs_epi16(_mm_loadu_si128(words), centre);
                const __m128i u = _mm_add_epi32(_mm_srai_epi32(_mm_madd_epi16(uv, forU), 12), centre32);
                const __m128i vv = _mm_add_epi32(_mm_srai_epi32(_mm_madd_epi16(uv, forV), 12), centre32);
                _mm_storeu_si128(words, _mm_unpacklo_epi16(_mm_packs_epi32(u, u), _mm_packs_epi32(vv, vv)));
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
