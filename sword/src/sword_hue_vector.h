// Hue rotation written once over a vector type V of sword_vector_mmx.h or sword_vector_sse2.h:
// (U, V) pairs in 32-bit lanes, the pairwise multiply-add against (m0, m1) and (m2, m3), then U'
// and V' interleaved again by unpacking. Included only by the MMX and SSE2 files, so every
// instantiation is compiled with its own instruction set.
#pragma once

#include "sword_arith_vector.h"
#include "sword_effects.h"

#include "CatchAllLog.h"

namespace hue {

using arith::Vec;

template <class V>
HRESULT CorrectHue(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    try {
        const HRESULT check = CheckCorrectHue(planeUV, matrix, stride, widthInWords, height);
        if (check != S_OK)
            return check;
        const SWORD* m = *matrix;
        const Vec<V> forU = arith::WordPair<V>(m[0], m[1]), forV = arith::WordPair<V>(m[2], m[3]);
        const Vec<V> centre = V::Set1(128), centre32 = V::Set1Lanes(128);
        const int vectors = VectorsPerRow(widthInWords, V::kWords);
        for (int row = 0; row < height; ++row) {
            BYTE* words = reinterpret_cast<BYTE*>(RowAt(planeUV, stride, row));
            for (int v = 0; v < vectors; ++v, words += V::kBytes) {
                const Vec<V> uv = V::SubS(V::Load(words), centre);
                const Vec<V> u = V::AddLanes(V::SraLanesBy(V::MulAddPairs(uv, forU), 12), centre32);
                const Vec<V> vv = V::AddLanes(V::SraLanesBy(V::MulAddPairs(uv, forV), 12), centre32);
                V::Store(words, V::UnpackLoWords(V::PackLanes(u, u), V::PackLanes(vv, vv)));
            }
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

} // namespace hue
