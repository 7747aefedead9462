// The histogram written once over a vector type V of sword_vector_mmx.h or sword_vector_sse2.h.
// Included only by the MMX and SSE2 files, so every instantiation is compiled with its own
// instruction set.
#pragma once

#include "sword_arith_vector.h"
#include "sword_filter_rows.h"

namespace histogram {

using arith::Vec;

// Packs the whole vectors of a row (words: a multiple of V::kWords) to bytes saturated to 0..255
// and counts them straight from the register, two vectors a step; a last lone vector is packed
// with zeros, which are not counted. A step of one value throughout (flat areas) is counted in one
// addition instead of one increment a byte.
template <class V>
void CountRow(const SWORD* row, int words, SplitCounters& counters)
{
    for (int x = 0; x < words; x += 2 * V::kWords) {
        const bool two = x + 2 * V::kWords <= words;
        Vec<V> bytes = V::PackUS(V::Load(BytesOf(row + x)), two ? V::Load(BytesOf(row + x + V::kWords)) : V::Zero());
        if (two && V::AllBytesEqual(bytes)) {
            counters.sets[0][V::Low32(bytes) & 0xFF] += 2 * V::kWords;
            continue;
        }
        // Fixed trip counts, so both loops unroll.
        int q = 0;
        for (; q < V::kWords / 4; ++q, bytes = V::LanesDown(bytes))
            CountFourBytes(V::Low32(bytes), counters, 4 * (q % 2));
        if (two)
            for (; q < V::kWords / 2; ++q, bytes = V::LanesDown(bytes))
                CountFourBytes(V::Low32(bytes), counters, 4 * (q % 2));
    }
}

template <class V>
HRESULT Histogram(const SWORD* plane, int stride, int width, int height, uint32_t* counters, int counterCount)
{
    const HRESULT check = CheckHistogram(plane, stride, width, height, counters, counterCount);
    if (check != S_OK)
        return check;
    SplitCounters split;
    ClearCounters(split);
    const int words = GetSwordRowWalkRoundingUp(width, V::kWords, stride, stride).bytesPerRow / 2;
    for (int y = 0; y < height; ++y)
        CountRow<V>(WordRow(plane, stride, y), words, split);
    V::End();
    SumCounters(split, counters);
    return S_OK;
}

} // namespace histogram
