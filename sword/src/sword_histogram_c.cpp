// Plain histogram and block averages: the reference for the vector variants, and the checks and
// block code they share.
#include "sword_filter_rows.h"

namespace {

constexpr int kCounters = 256;

HRESULT Average2x2Plain(SWORD* output, void* meanOut, const void* source, int strideA, int strideB, int width,
                        int height, int* alignmentOut, PairLayout layout)
{
    const HRESULT check = CheckAverages(output, source, width, height, 4, 2, alignmentOut, kSwordAlignmentPlain);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(source);
    const int steps = width / 4, rows = height / 2;
    uint32_t total = 0;
    for (int r = 0; r < rows; ++r)
        total += Average2x2Row(WordRow(output, strideA, r), WordRow(in, strideB, 2 * r),
                               WordRow(in, strideB, 2 * r + 1), 0, steps, layout, false);
    WriteMean(meanOut, total, static_cast<int64_t>(rows) * steps);
    return S_OK;
}

} // namespace

// ---- Histogram ------------------------------------------------------------------------------

HRESULT CheckHistogram(const SWORD* plane, int stride, int width, int height, const uint32_t* counters,
                       int counterCount)
{
    if (plane == nullptr || counters == nullptr || stride <= 0 || width <= 0 || height <= 0 ||
        static_cast<int64_t>(stride) < 2 * static_cast<int64_t>(width) || counterCount < kCounters)
        return E_UNEXPECTED;
    return S_OK;
}

void HistogramPlain(const SWORD* plane, int stride, int width, int height, uint32_t* counters, int vectorWords)
{
    std::memset(counters, 0, kCounters * sizeof(uint32_t));
    const int words = GetSwordRowWalkRoundingUp(width, vectorWords, stride, stride).bytesPerRow / 2;
    for (int y = 0; y < height; ++y) {
        const SWORD* row = WordRow(plane, stride, y);
        for (int x = 0; x < words; ++x)
            ++counters[SaturateToByteRange(row[x])];
    }
}

void ClearCounters(SplitCounters& counters)
{
    std::memset(&counters, 0, sizeof(counters));
}

void SumCounters(const SplitCounters& split, uint32_t* counters)
{
    for (int value = 0; value < kCounters; ++value) {
        uint32_t sum = 0;
        for (const auto& set : split.sets)
            sum += set[value];
        counters[value] = sum;
    }
}

HRESULT GetGistogramFromImage_c(const SWORD* plane, int stride, int width, int height, uint32_t* counters,
                                int counterCount)
{
    const HRESULT check = CheckHistogram(plane, stride, width, height, counters, counterCount);
    if (check != S_OK)
        return check;
    HistogramPlain(plane, stride, width, height, counters, 8);
    return S_OK;
}

// ---- Block averages -------------------------------------------------------------------------

HRESULT CheckAverages(const SWORD* output, const void* source, int width, int height, int minimumWidth,
                      int minimumHeight, int* alignmentOut, int alignment)
{
    if (output == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, alignment);
    if (source == nullptr)
        return E_INVALIDARG;
    if (static_cast<int64_t>(width) * height < 64 || width < minimumWidth || height < minimumHeight)
        return E_FAIL;
    return S_OK;
}

SWORD Average8x8Block(const SWORD* block, int stride)
{
    SWORD lanes[4] = {};
    for (int r = 0; r < 8; ++r) {
        const SWORD* row = WordRow(block, stride, r);
        for (int half = 0; half < 2; ++half)
            for (int j = 0; j < 4; ++j)
                lanes[j] = SaturateToWord(static_cast<int>(lanes[j]) + row[4 * half + j]);
    }
    const SWORD even = SaturateToWord(static_cast<int>(lanes[0]) + lanes[2]);
    const SWORD odd = SaturateToWord(static_cast<int>(lanes[1]) + lanes[3]);
    return static_cast<SWORD>(SaturateToWord(static_cast<int>(even) + odd) >> 6);
}

void WriteMean(void* meanOut, uint32_t total, int64_t count)
{
    if (meanOut != nullptr && count > 0)
        *static_cast<uint32_t*>(meanOut) = total / static_cast<uint32_t>(count);
}

uint32_t Average2x2Row(SWORD* output, const SWORD* row0, const SWORD* row1, int fromStep, int steps,
                       PairLayout layout, bool roundUp)
{
    uint32_t total = 0;
    for (int s = fromStep; s < steps; ++s) {
        SWORD t[4];
        for (int j = 0; j < 4; ++j)
            t[j] = SaturateToWord(static_cast<int>(row0[4 * s + j]) + row1[4 * s + j]);
        const bool y16 = layout == PairLayout::Y16;
        const SWORD a = static_cast<SWORD>(SaturateToWord(static_cast<int>(t[0]) + (y16 ? t[1] : t[2])) >> 2);
        const SWORD b = static_cast<SWORD>(SaturateToWord(static_cast<int>(y16 ? t[2] : t[1]) + t[3]) >> 2);
        output[2 * s] = a;
        output[2 * s + 1] = b;
        if (roundUp)
            total += (static_cast<uint32_t>(static_cast<uint16_t>(a)) + static_cast<uint16_t>(b) + 1) >> 1;
        else
            total += static_cast<uint16_t>(static_cast<SWORD>((a + b) >> 1));
    }
    return total;
}

HRESULT Average8x8SWord_c(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                          int strideB, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckAverages(planeA, planeB, width, height, 8, 8, alignmentOut, kSwordAlignmentPlain);
    if (check != S_OK)
        return check;
    const SWORD* in = static_cast<const SWORD*>(planeB);
    const int across = width / 8, down = height / 8;
    uint32_t total = 0;
    for (int by = 0; by < down; ++by)
        for (int bx = 0; bx < across; ++bx) {
            const SWORD average = Average8x8Block(WordRow(in, strideB, 8 * by) + 8 * bx, strideB);
            WordRow(planeA, strideA, by)[bx] = average;
            total += static_cast<uint16_t>(average);
        }
    WriteMean(meanOut, total, static_cast<int64_t>(across) * down);
    return S_OK;
}

HRESULT Average2x2Y16SWord_c(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                             int strideB, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    return Average2x2Plain(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut,
                                 PairLayout::Y16);
}

HRESULT Average2x2UV16SWord_c(SWORD* planeA, void* meanOut, const void* planeB, void*, const SWORD*, int strideA,
                              int strideB, int width, int height, int, const SWORD*, const SWORD*, int* alignmentOut)
{
    return Average2x2Plain(planeA, meanOut, planeB, strideA, strideB, width, height, alignmentOut,
                                 PairLayout::UV16);
}
