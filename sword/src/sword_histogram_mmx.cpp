// MMX histogram and block averages: 4 words a vector. Every operation ends with _mm_empty so
// floating-point code can follow.
#include "sword_histogram_vector.h"
#include "sword_vector_mmx.h"

using arith::LoadAt;
using sword_vector::Mmx;

namespace {

void Store32(void* address, __m64 value)
{
    const int low = _mm_cvtsi64_si32(value);
    std::memcpy(address, &low, sizeof(low));
}

SWORD Average8x8Block(const SWORD* block, int stride, uint32_t& total)
{
    __m64 lanes = _mm_setzero_si64();
    for (int r = 0; r < 8; ++r) {
        const SWORD* row = WordRow(block, stride, r);
        lanes = _mm_adds_pi16(lanes, LoadAt<Mmx>(row));
        lanes = _mm_adds_pi16(lanes, LoadAt<Mmx>(row + 4));
    }
    lanes = _mm_adds_pi16(lanes, _mm_srli_si64(lanes, 32));
    lanes = _mm_adds_pi16(lanes, _mm_srli_si64(lanes, 16));
    const SWORD average = static_cast<SWORD>(_mm_cvtsi64_si32(_mm_srai_pi16(lanes, 6)));
    total += static_cast<uint16_t>(average);
    return average;
}

// One 2 x 2 step: 4 words of two rows to 2 output words in the low 32 bits.
__m64 Average2x2Step(const SWORD* row0, const SWORD* row1, PairLayout layout)
{
    const __m64 sum = _mm_adds_pi16(LoadAt<Mmx>(row0), LoadAt<Mmx>(row1));
    if (layout == PairLayout::UV16)
        return _mm_srai_pi16(_mm_adds_pi16(sum, _mm_srli_si64(sum, 32)), 2);
    const __m64 pairs = _mm_srai_pi16(_mm_adds_pi16(sum, _mm_srli_pi32(sum, 16)), 2);
    const __m64 extended = _mm_srai_pi32(_mm_slli_pi32(pairs, 16), 16);
    return _mm_packs_pi32(extended, extended);
}

HRESULT Average2x2(SWORD* output, void* meanOut, const void* source, int strideA, int strideB, int width,
                   int height, int* alignmentOut, PairLayout layout)
{
    const HRESULT check = CheckAverages(output, source, width, height, 4, 2, alignmentOut, kSwordAlignmentMmx);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(source);
    const int steps = width / 4, rows = height / 2;
    uint32_t total = 0;
    for (int r = 0; r < rows; ++r) {
        const SWORD* row0 = WordRow(in, strideB, 2 * r);
        const SWORD* row1 = WordRow(in, strideB, 2 * r + 1);
        SWORD* out = WordRow(output, strideA, r);
        for (int s = 0; s < steps; ++s) {
            const __m64 averages = Average2x2Step(row0 + 4 * s, row1 + 4 * s, layout);
            Store32(out + 2 * s, averages);
            const SWORD a = out[2 * s], b = out[2 * s + 1];
            total += static_cast<uint16_t>(static_cast<SWORD>((a + b) >> 1));
        }
    }
    _mm_empty();
    WriteMean(meanOut, total, static_cast<int64_t>(rows) * steps);
    return S_OK;
}

} // namespace

HRESULT GetGistogramFromImage_mmx(const SWORD* plane, int stride, int width, int height, uint32_t* counters,
                                  int counterCount)
{
    return histogram::Histogram<sword_vector::Mmx>(plane, stride, width, height, counters, counterCount);
}

HRESULT Average8x8SWord_mmx(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                            int strideB, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckAverages(planeA, planeB, width, height, 8, 8, alignmentOut, kSwordAlignmentMmx);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(planeB);
    const int across = width / 8, down = height / 8;
    uint32_t total = 0;
    for (int by = 0; by < down; ++by)
        for (int bx = 0; bx < across; ++bx)
            WordRow(planeA, strideA, by)[bx] = Average8x8Block(WordRow(in, strideB, 8 * by) + 8 * bx, strideB, total);
    _mm_empty();
    WriteMean(meanOut, total, static_cast<int64_t>(across) * down);
    return S_OK;
}

HRESULT Average2x2Y16SWord_mmx(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                               int strideB, int width, int height, int, const SWORD*, const SWORD*,
                               int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::Y16);
}

HRESULT Average2x2UV16SWord_mmx(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                                int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::UV16);
}
