// MMX neighbourhood filters: 4 words a vector. Blur, sharpen and the edge image see the
// neighbours within their own 4-word group only. Every operation ends with _mm_empty so
// floating-point code can follow.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

#include <mmintrin.h>

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

// A pair of words (low, high) in both 32-bit lanes, for the multiply-add.
__m64 WordPair(SWORD low, SWORD high)
{
    return _mm_set1_pi32(static_cast<int>(static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16)));
}

// The words of a group moved one lane up (each word sees its left neighbour) or down; 0 comes in.
__m64 LeftNeighbours(__m64 row)
{
    return _mm_slli_si64(row, 16);
}

__m64 RightNeighbours(__m64 row)
{
    return _mm_srli_si64(row, 16);
}

// 4 words times a per-lane 32-bit pair factor (lower half, upper half), arithmetic shift, 16-bit saturation.
__m64 MultiplyShift(__m64 words, __m64 factorLow, __m64 factorHigh, int shift)
{
    const __m64 low = _mm_srai_pi32(_mm_madd_pi16(_mm_unpacklo_pi16(words, words), factorLow), shift);
    const __m64 high = _mm_srai_pi32(_mm_madd_pi16(_mm_unpackhi_pi16(words, words), factorHigh), shift);
    return _mm_packs_pi32(low, high);
}

__m64 ClampToByteRange(__m64 words)
{
    return _mm_unpacklo_pi8(_mm_packs_pu16(words, words), _mm_setzero_si64());
}

// ---- Convolution ----------------------------------------------------------------------------

// The kernel as multiply-add pairs. The sums of the even and of the odd words of a vector are
// formed apart, so that the word pairs come straight from the loads at x - 1, x and x + 1: a
// 32-bit lane of the load at x - 1 holds the left and centre words of an even word, the same lane
// at x those of the following odd word, and the lane at x + 1 the right words of both.
struct KernelRowPairs
{
    __m64 leftCentre, rightOfEven, rightOfOdd;
};

struct KernelPairs
{
    explicit KernelPairs(const Kernel3x3& kernel)
    {
        for (int i = 0; i < 3; ++i) {
            const SWORD* k = kernel.k + 3 * i;
            rows[i] = {WordPair(k[0], k[1]), WordPair(k[2], 0), WordPair(0, k[2])};
        }
    }
    KernelRowPairs rows[3];
};

struct EvenOddSums
{
    __m64 even = _mm_setzero_si64();
    __m64 odd = _mm_setzero_si64();

    // Adds the products of one kernel row with the source row loaded at x - 1, x and x + 1. The
    // 32-bit sums wrap like the plain code's.
    void AddRow(const SWORD* row, const KernelRowPairs& p)
    {
        const __m64 left = Load(row - 1), middle = Load(row), right = Load(row + 1);
        even = _mm_add_pi32(even, _mm_add_pi32(_mm_madd_pi16(left, p.leftCentre), _mm_madd_pi16(right, p.rightOfEven)));
        odd = _mm_add_pi32(odd, _mm_add_pi32(_mm_madd_pi16(middle, p.leftCentre), _mm_madd_pi16(right, p.rightOfOdd)));
    }
};

// The kernel sums of the 4 words at centre, saturated to 16 bits, in word order. Kept inline: a
// call would pass the sums and the kernel through memory.
[[gnu::always_inline]] inline __m64 Convolve(const SWORD* centre, int stride, const KernelPairs& k)
{
    EvenOddSums sums;
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) - stride), k.rows[0]);
    sums.AddRow(centre, k.rows[1]);
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) + stride), k.rows[2]);
    const __m64 words = _mm_packs_pi32(sums.even, sums.odd); // the even words, then the odd ones
    return _mm_unpacklo_pi16(words, _mm_srli_si64(words, 32));
}

template <class Step>
void ConvolveRows(SWORD* destination, int stride, int width, int height, Step step)
{
    const int words = ConvolutionWordsPerRow(width, 4);
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 8; x < 8 + words; x += 4)
            Store(WordRow(destination, stride, y) + x, step(x, y));
}

// ---- Blur, sharpen and edge image -----------------------------------------------------------

struct GroupLoad
{
    GroupLoad(const BYTE* at, int stride)
        : above(Load(at - stride)), centre(Load(at)), below(Load(at + stride))
    {
    }
    __m64 above, centre, below;
};

// The eight neighbours in the order of the plain code.
template <class Combine>
__m64 FoldNeighbours(const GroupLoad& g, __m64 value, Combine combine)
{
    value = combine(value, LeftNeighbours(g.above));
    value = combine(value, g.above);
    value = combine(value, RightNeighbours(g.above));
    value = combine(value, LeftNeighbours(g.centre));
    value = combine(value, RightNeighbours(g.centre));
    value = combine(value, LeftNeighbours(g.below));
    value = combine(value, g.below);
    return combine(value, RightNeighbours(g.below));
}

// Inner words take inner, the first and last word of the group take end.
__m64 GroupWeights(SWORD inner, SWORD end)
{
    return _mm_set_pi16(end, inner, inner, end);
}

struct BlurVector
{
    explicit BlurVector(const BlurWeights& w)
        : strength(_mm_set1_pi16(w.strength)), weights(GroupWeights(w.inner, w.end))
    {
    }
    __m64 operator()(const GroupLoad& g) const
    {
        const __m64 sum = FoldNeighbours(g, _mm_mullo_pi16(g.centre, strength),
                                         [](__m64 x, __m64 y) { return _mm_adds_pu16(x, y); });
        // (sum x weight) >> 10 of the unsigned 32-bit product (below 2^26); the signed high half
        // is corrected by the weight where the sum's top bit is set.
        const __m64 low = _mm_mullo_pi16(sum, weights);
        const __m64 high =
            _mm_add_pi16(_mm_mulhi_pi16(sum, weights), _mm_and_si64(weights, _mm_srai_pi16(sum, 15)));
        const __m64 value = _mm_or_si64(_mm_slli_pi16(high, 6), _mm_srli_pi16(low, 10));
        return _mm_sub_pi16(value, _mm_subs_pu16(value, _mm_set1_pi16(0x7FFF)));
    }
    __m64 strength, weights;
};

struct SharpenVector
{
    explicit SharpenVector(const SharpenWeights& w)
        : centreWeights(GroupWeights(w.inner, w.end)), normaliser(WordPair(w.normaliser, 0))
    {
    }
    __m64 operator()(const GroupLoad& g) const
    {
        const __m64 value = FoldNeighbours(g, _mm_mullo_pi16(g.centre, centreWeights),
                                           [](__m64 x, __m64 y) { return _mm_subs_pi16(x, y); });
        return ClampToByteRange(MultiplyShift(value, normaliser, normaliser, 10));
    }
    __m64 centreWeights, normaliser;
};

struct EdgeVector
{
    __m64 operator()(const GroupLoad& g) const
    {
        const __m64 neighbours =
            FoldNeighbours(g, _mm_setzero_si64(), [](__m64 x, __m64 y) { return _mm_adds_pi16(x, y); });
        const __m64 value = _mm_subs_pi16(_mm_mullo_pi16(g.centre, GroupWeights(8, 5)), neighbours);
        return ClampToByteRange(MultiplyShift(value, _mm_set_pi32(128, 205), _mm_set_pi32(205, 128), 10));
    }
};

// The in-place run, two vectors a step, then the odd vector alone.
template <class Filter>
void GroupRun(SWORD* plane, int stride, int height, const Filter& filter)
{
    const int vectors = GroupFilterVectors(stride, height, 8);
    BYTE* at = BytesOf(plane) + stride;
    int v = 0;
    for (; v + 2 <= vectors; v += 2, at += 16) {
        Store(at, filter(GroupLoad(at, stride)));
        Store(at + 8, filter(GroupLoad(at + 8, stride)));
    }
    if (v < vectors)
        Store(at, filter(GroupLoad(at, stride)));
}

} // namespace

HRESULT Svertka_mmx(const SWORD* source, SWORD* destination, int stride, int width, int height,
                    const SwordWords& kernel, SWORD scale)
{
    try {
        if (CheckConvolution(source, destination, source) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 kernel3x3(kernel);
        const KernelPairs k(kernel3x3);
        const __m64 factor = WordPair(scale, 0);
        ConvolveRows(destination, stride, width, height, [&](int x, int y) {
            const __m64 value = Convolve(WordRow(source, stride, y) + x, stride, k);
            return MultiplyShift(value, factor, factor, 14);
        });
        _mm_empty();
        return S_OK;
    }
    catch (...) {
        _mm_empty();
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

HRESULT ConditionSvertka_mmx(const SWORD* source, SWORD* destination, const SWORD* condition, int stride,
                             int width, int height, SWORD scale, const SwordWords& kernelA,
                             const SwordWords& kernelB, SWORD threshold)
{
    try {
        if (CheckConvolution(source, destination, condition) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 kernel3x3A(kernelA), kernel3x3B(kernelB);
        const KernelPairs a(kernel3x3A), b(kernel3x3B);
        const __m64 factor = WordPair(scale, 0), limit = _mm_set1_pi16(threshold);
        ConvolveRows(destination, stride, width, height, [&](int x, int y) {
            const SWORD* centre = WordRow(source, stride, y) + x;
            const __m64 useA = _mm_cmpgt_pi16(limit, Load(WordRow(condition, stride, y) + x));
            const __m64 value = _mm_or_si64(_mm_and_si64(useA, Convolve(centre, stride, a)),
                                            _mm_andnot_si64(useA, Convolve(centre, stride, b)));
            return MultiplyShift(value, factor, factor, 14);
        });
        _mm_empty();
        return S_OK;
    }
    catch (...) {
        _mm_empty();
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

HRESULT blure_const_sword_funct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                    int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const BlurWeights weights = GetBlurWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    GroupRun(planeA, strideA, height, BlurVector(weights));
    _mm_empty();
    return S_OK;
}

HRESULT sharp_const_sword_funct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                    int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const SharpenWeights weights = GetSharpenWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    GroupRun(planeA, strideA, height, SharpenVector(weights));
    _mm_empty();
    return S_OK;
}

HRESULT edge_image_sword_funct_mmx(SWORD* planeA, void*, const void* planeB, void*, const SWORD*, int strideA,
                                   int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                   int* alignmentOut)
{
    if (planeA == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (planeB == nullptr)
        return E_INVALIDARG;
    const EdgeVector edge;
    const int words = width / 8 * 8;
    for (int y = 1; y + 1 < height; ++y) {
        const BYTE* in = BytesOf(WordRow(static_cast<const SWORD*>(planeB), strideB, y));
        SWORD* out = WordRow(planeA, strideA, y);
        for (int x = 0; x < words; x += 4)
            Store(out + x, edge(GroupLoad(in + 2 * x, strideB)));
    }
    _mm_empty();
    return S_OK;
}
