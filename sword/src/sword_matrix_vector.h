// The matrix effect written once over a vector type V of sword_vector_mmx.h or
// sword_vector_sse2.h: the 8-word block rows as 8 / V::kWords vectors. Included only by the MMX
// and SSE2 files, so every instantiation is compiled with its own instruction set.
#pragma once

#include "sword_arith_vector.h"
#include "sword_effects.h"
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

namespace matrix {

using arith::Vec;

// The saturated sum of the unsigned differences of an 8 x 8 block and its pattern.
template <class V>
int BlockDifference(const SWORD* block, const SWORD* pattern, int stride)
{
    Vec<V> sums = V::Zero();
    for (int row = 0; row < 8; ++row, pattern += 8) {
        const SWORD* words = RowAt(block, stride, row);
        for (int x = 0; x < 8; x += V::kWords)
            sums = V::AddUS(sums, arith::AbsDifference<V>(V::Load(BytesOf(words + x)), V::Load(BytesOf(pattern + x))));
    }
    sums = V::AddUS(sums, V::HighHalf(sums));
    if constexpr (V::kWords == 8)
        sums = V::AddUS(sums, V::LanesDown(sums));
    sums = V::AddUS(sums, V::WordsDown(sums));
    return static_cast<int>(V::Low32(sums) & 0xFFFF);
}

template <class V>
void BlendBlock(SWORD* block, const SWORD* tile, int stride, int h)
{
    const Vec<V> kept = V::Set1(static_cast<short>(255 - h)), drawn = V::Set1(static_cast<short>(h));
    for (int row = 0; row < 8; ++row, tile += 8) {
        SWORD* words = RowAt(block, stride, row);
        for (int x = 0; x < 8; x += V::kWords) {
            const Vec<V> mixed = V::Add(V::SrlBy(V::MulLo(V::Load(BytesOf(words + x)), kept), 8),
                                        V::SrlBy(V::MulLo(V::Load(BytesOf(tile + x)), drawn), 8));
            V::Store(BytesOf(words + x), mixed);
        }
    }
}

template <class V>
HRESULT MatrixEffectImage(const MatrixEffectCall& call)
{
    try {
        const HRESULT check = CheckMatrixEffect(call);
        if (check != S_OK)
            return check;
        ApplyMatrixEffect(
            call, [](const SWORD* block, const SWORD* pattern, int rowStride) { return BlockDifference<V>(block, pattern, rowStride); },
            [](SWORD* block, const SWORD* tile, int rowStride, int h) { BlendBlock<V>(block, tile, rowStride, h); });
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

} // namespace matrix

#define SWORD_MATRIX_VARIANT(V, name)                                                                           \
    HRESULT name(SWORD* plane1, SWORD* plane2, int stride, int widthInWords, int height,                       \
                 const SWORD* const* templates1, const SWORD* const* templates2, const SWORD* const* tiles1,   \
                 const SWORD* const* tiles2, int count, SWORD intensity, SWORD threshold)                      \
    {                                                                                                           \
        return matrix::MatrixEffectImage<V>({plane1, plane2, stride, widthInWords, height, templates1,         \
                                             templates2, tiles1, tiles2, count, intensity, threshold});        \
    }
