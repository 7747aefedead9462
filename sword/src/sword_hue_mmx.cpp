// MMX hue rotation: (U, V) pairs in 32-bit lanes, the pairwise multiply-add against (m0, m1)
// and (m2, m3), then U' and V' interleaved again by unpacking. Ends with _mm_empty.
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

HRESULT CorrectHue_mmx(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    try {
        const HRESULT check = CheckCorrectHue(planeUV, matrix, stride, widthInWords, height);
        if (check != S_OK)
            return check;
        const SWORD* m = *matrix;
        const __m64 forU = _mm_set_pi16(m[1], m[0], m[1], m[0]);
        const __m64 forV = _mm_set_pi16(m[3], m[2], m[3], m[2]);
        const __m64 centre = _mm_set1_pi16(128);
        const __m64 centre32 = _mm_set1_pi32(128);
        const int vectors = VectorsPerRow(widthInWords, 4);
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(planeUV, stride, row);
            for (int v = 0; v < vectors; ++v, words += 4) {
                const __m64 uv = _mm_subs_pi16(Load(words), centre);
                const __m64 u = _mm_add_pi32(_mm_srai_pi32(_mm_madd_pi16(uv, forU), 12), centre32);
                const __m64 vv = _mm_add_pi32(_mm_srai_pi32(_mm_madd_pi16(uv, forV), 12), centre32);
                Store(words, _mm_unpacklo_pi16(_mm_packs_pi32(u, u), _mm_packs_pi32(vv, vv)));
            }
        }
        _mm_empty();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
