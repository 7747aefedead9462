// SSE2 histogram and block averages: 8 words a vector, loads and stores of any alignment.
#include "sword_histogram_vector.h"
#include "sword_vector_sse2.h"

#include <emmintrin.h>

namespace {

__m128i Load(const void* address)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(address));
}

void Store(void* address, __m128i value)
{
    _mm_storeu_si128(static_cast<__m128i*>(address), value);
}

// Sums of 8 rows of two 8 x 8 blocks side by side, in the order of the 4-lane code: the low
// half of each 64-bit lane holds block one, the high half block two.
__m128i BlockPairLanes(const SWORD* first, const SWORD* second, int stride)
{
    __m128i lanes = _mm_setzero_si128();
    for (int r = 0; r < 8; ++r) {
        const __m128i a = Load(WordRow(first, stride, r)), b = Load(WordRow(second, stride, r));
        lanes = _mm_adds_epi16(lanes, _mm_unpacklo_epi64(a, b));
        lanes = _mm_adds_epi16(lanes, _mm_unpackhi_epi64(a, b));
    }
    lanes = _mm_adds_epi16(lanes, _mm_srli_epi64(lanes, 32));
    lanes = _mm_adds_epi16(lanes, _mm_srli_epi64(lanes, 16));
    return _mm_srai_epi16(lanes, 6);
}

// Four 2 x 2 steps (16 source words of two rows) to 8 output words. Each output is the
// saturated sum of two column sums: the multiply-add by ones forms Y16's neighbouring pairs in
// 32 bits and the signed pack saturates them; UV16's pairs lie two words apart, so the shuffle of
// lanes puts every first pair beside its second for one saturating add.
__m128i Average2x2Vector(const SWORD* row0, const SWORD* row1, PairLayout layout)
{
    const __m128i low = _mm_adds_epi16(Load(row0), Load(row1));
    const __m128i high = _mm_adds_epi16(Load(row0 + 8), Load(row1 + 8));
    __m128i pairs;
    if (layout == PairLayout::Y16) {
        const __m128i ones = _mm_set1_epi16(1);
        pairs = _mm_packs_epi32(_mm_madd_epi16(low, ones), _mm_madd_epi16(high, ones));
    } else {
        const __m128 lowLanes = _mm_castsi128_ps(low), highLanes = _mm_castsi128_ps(high);
        const __m128i first = _mm_castps_si128(_mm_shuffle_ps(lowLanes, highLanes, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i second = _mm_castps_si128(_mm_shuffle_ps(lowLanes, highLanes, _MM_SHUFFLE(3, 1, 3, 1)));
        pairs = _mm_adds_epi16(first, second);
    }
    return _mm_srai_epi16(pairs, 2);
}

// The step means (a + b) >> 1 of 8 output words, as unsigned 32-bit lanes.
__m128i StepMeans(__m128i averages)
{
    const __m128i means = _mm_srai_epi16(_mm_add_epi16(averages, _mm_srli_epi32(averages, 16)), 1);
    return _mm_and_si128(means, _mm_set1_epi32(0xFFFF));
}

uint32_t SumLanes(__m128i lanes)
{
    alignas(16) uint32_t words[4];
    _mm_store_si128(reinterpret_cast<__m128i*>(words), lanes);
    return words[0] + words[1] + words[2] + words[3];
}

// The step means cost a third of the work: they are summed only when the mean is asked for.
template <bool kWithMean>
HRESULT Average2x2(SWORD* output, void* meanOut, const void* source, int strideA, int strideB, int width,
                   int height, int* alignmentOut, PairLayout layout)
{
    const HRESULT check = CheckAverages(output, source, width, height, 4, 2, alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(source);
    const int steps = width / 4, rows = height / 2, vectorSteps = steps / 4 * 4;
    __m128i lanes = _mm_setzero_si128();
    uint32_t total = 0;
    for (int r = 0; r < rows; ++r) {
        const SWORD* row0 = WordRow(in, strideB, 2 * r);
        const SWORD* row1 = WordRow(in, strideB, 2 * r + 1);
        SWORD* out = WordRow(output, strideA, r);
        for (int s = 0; s < vectorSteps; s += 4) {
            const __m128i averages = Average2x2Vector(row0 + 4 * s, row1 + 4 * s, layout);
            Store(out + 2 * s, averages);
            if constexpr (kWithMean)
                lanes = _mm_add_epi32(lanes, StepMeans(averages));
        }
        total += Average2x2Row(out, row0, row1, vectorSteps, steps, layout, false);
    }
    WriteMean(meanOut, total + SumLanes(lanes), static_cast<int64_t>(rows) * steps);
    return S_OK;
}

HRESULT Average2x2(SWORD* output, void* meanOut, const void* source, int strideA, int strideB, int width,
                   int height, int* alignmentOut, PairLayout layout)
{
    return meanOut != nullptr
               ? Average2x2<true>(output, meanOut, source, strideA, strideB, width, height, alignmentOut, layout)
               : Average2x2<false>(output, meanOut, source, strideA, strideB, width, height, alignmentOut, layout);
}

} // namespace

HRESULT GetGistogramFromImage_sse2(const SWORD* plane, int stride, int width, int height, uint32_t* counters,
                                   int counterCount)
{
    return histogram::Histogram<sword_vector::Sse2Unaligned>(plane, stride, width, height, counters, counterCount);
}

HRESULT Average8x8SWord_sse2(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                             int strideB, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckAverages(planeA, planeB, width, height, 8, 8, alignmentOut, kSwordAlignmentSse2);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(planeB);
    const int across = width / 8, down = height / 8;
    uint32_t total = 0;
    for (int by = 0; by < down; ++by) {
        const SWORD* blocks = WordRow(in, strideB, 8 * by);
        SWORD* out = WordRow(planeA, strideA, by);
        int bx = 0;
        for (; bx + 2 <= across; bx += 2) {
            const __m128i averages = BlockPairLanes(blocks + 8 * bx, blocks + 8 * bx + 8, strideB);
            out[bx] = static_cast<SWORD>(_mm_extract_epi16(averages, 0));
            out[bx + 1] = static_cast<SWORD>(_mm_extract_epi16(averages, 4));
            total += static_cast<uint16_t>(out[bx]) + static_cast<uint32_t>(static_cast<uint16_t>(out[bx + 1]));
        }
        if (bx < across) {
            out[bx] = Average8x8Block(blocks + 8 * bx, strideB);
            total += static_cast<uint16_t>(out[bx]);
        }
    }
    WriteMean(meanOut, total, static_cast<int64_t>(across) * down);
    return S_OK;
}

HRESULT Average2x2Y16SWord_sse2(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                                int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::Y16);
}

HRESULT Average2x2UV16SWord_sse2(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*,
                                 int strideA, int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                 int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::UV16);
}
