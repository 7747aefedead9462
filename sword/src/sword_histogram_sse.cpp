// SSE-integer 2 x 2 averages: the MMX code with the word shuffle picking the averages and the
// rounded average forming each step's mean ((a + b + 1) >> 1). Ends with _mm_empty.
#include "sword_arith_vector.h"
#include "sword_filter_rows.h"
#include "sword_vector_sse.h"

using arith::LoadAt;
using sword_vector::MmxSse;

namespace {

// One 2 x 2 step: 4 words of two rows to 2 output words in the low 32 bits.
__m64 Average2x2Step(const SWORD* row0, const SWORD* row1, PairLayout layout)
{
    const __m64 sum = _mm_adds_pi16(LoadAt<MmxSse>(row0), LoadAt<MmxSse>(row1));
    if (layout == PairLayout::UV16)
        return _mm_srai_pi16(_mm_adds_pi16(sum, _mm_srli_si64(sum, 32)), 2);
    const __m64 pairs = _mm_srai_pi16(_mm_adds_pi16(sum, _mm_srli_pi32(sum, 16)), 2);
    return _mm_shuffle_pi16(pairs, _MM_SHUFFLE(3, 1, 2, 0));
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
            const int pair = _mm_cvtsi64_si32(averages);
            std::memcpy(out + 2 * s, &pair, sizeof(pair));
            total += static_cast<uint32_t>(_mm_extract_pi16(_mm_avg_pu16(averages, _mm_srli_si64(averages, 16)), 0));
        }
    }
    _mm_empty();
    WriteMean(meanOut, total, static_cast<int64_t>(rows) * steps);
    return S_OK;
}

} // namespace

HRESULT Average2x2Y16SWord_sse(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                               int strideB, int width, int height, int, const SWORD*, const SWORD*,
                               int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::Y16);
}

HRESULT Average2x2UV16SWord_sse(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                                int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                int* alignmentOut)
{
    return Average2x2(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut, PairLayout::UV16);
}
