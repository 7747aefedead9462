// SSE-integer hue rotation: the MMX steps, with the word shuffle spreading the matrix and
// interleaving U' and V'. Ends with _mm_empty.
#include "sword_arith_vector.h"
#include "sword_effects.h"
#include "sword_vector_sse.h"

#include "CatchAllLog.h"

using sword_vector::MmxSse;

HRESULT CorrectHue_sse(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    try {
        const HRESULT check = CheckCorrectHue(planeUV, matrix, stride, widthInWords, height);
        if (check != S_OK)
            return check;
        const __m64 rotation = arith::LoadAt<MmxSse>(*matrix);
        const __m64 forU = _mm_shuffle_pi16(rotation, _MM_SHUFFLE(1, 0, 1, 0));
        const __m64 forV = _mm_shuffle_pi16(rotation, _MM_SHUFFLE(3, 2, 3, 2));
        const __m64 centre = _mm_set1_pi16(128);
        const __m64 centre32 = _mm_set1_pi32(128);
        const int vectors = VectorsPerRow(widthInWords, 4);
        for (int row = 0; row < height; ++row) {
            SWORD* words = RowAt(planeUV, stride, row);
            for (int v = 0; v < vectors; ++v, words += 4) {
                const __m64 uv = _mm_subs_pi16(arith::LoadAt<MmxSse>(words), centre);
                const __m64 u = _mm_add_pi32(_mm_srai_pi32(_mm_madd_pi16(uv, forU), 12), centre32);
                const __m64 vv = _mm_add_pi32(_mm_srai_pi32(_mm_madd_pi16(uv, forV), 12), centre32);
                // U0 U1 V0 V1 to U0 V0 U1 V1.
                arith::StoreAt<MmxSse>(words, _mm_shuffle_pi16(_mm_packs_pi32(u, vv), _MM_SHUFFLE(3, 1, 2, 0)));
            }
        }
        _mm_empty();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(MmxSse)
}
