// SSE2 neighbourhood filters: 8 words a vector, loads and stores of any alignment. Blur, sharpen
// and the edge image see the neighbours within their own 8-word group only.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

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

// A pair of words (low, high) in every 32-bit lane, for the multiply-add.
__m128i WordPair(SWORD low, SWORD high)
{
    return _mm_set1_epi32(static_cast<int>(static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16)));
}

// The words of a group moved one lane up (each word sees its left neighbour) or down; 0 comes in.
__m128i LeftNeighbours(__m128i row)
{
    return _mm_slli_si128(row, 2);
}

__m128i RightNeighbours(__m128i row)
{
    return _mm_srli_si128(row, 2);
}

// 8 words times a per-lane 32-bit pair factor (lower half, upper half), arithmetic shift, 16-bit saturation.
__m128i MultiplyShift(__m128i words, __m128i factorLow, __m128i factorHigh, int shift)
{
    const __m128i low = _mm_srai_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(words, words), factorLow), shift);
    const __m128i high = _mm_srai_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(words, words), factorHigh), shift);
    return _mm_packs_epi32(low, high);
}

__m128i ClampToByteRange(__m128i words)
{
    return _mm_unpacklo_epi8(_mm_packus_epi16(words, words), _mm_setzero_si128());
}

// ---- Convolution ----------------------------------------------------------------------------

// The kernel as multiply-add pairs. The sums of the even and of the odd words of a vector are
// formed apart, so that the word pairs come straight from the loads at x - 1, x and x + 1: a
// 32-bit lane of the load at x - 1 holds the left and centre words of an even word, the same lane
// at x those of the following odd word, and the lane at x + 1 the right words of both.
struct KernelRowPairs
{
    __m128i leftCentre, rightOfEven, rightOfOdd;
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
    __m128i even = _mm_setzero_si128();
    __m128i odd = _mm_setzero_si128();

    // Adds the products of one kernel row with the source row loaded at x - 1, x and x + 1. The
    // 32-bit sums wrap like the plain code's.
    void AddRow(const SWORD* row, const KernelRowPairs& p)
    {
        const __m128i left = Load(row - 1), middle = Load(row), right = Load(row + 1);
        even = _mm_add_epi32(even, _mm_add_epi32(_mm_madd_epi16(left, p.leftCentre), _mm_madd_epi16(right, p.rightOfEven)));
        odd = _mm_add_epi32(odd, _mm_add_epi32(_mm_madd_epi16(middle, p.leftCentre), _mm_madd_epi16(right, p.rightOfOdd)));
    }
};

// The kernel sums of the 8 words at centre, saturated to 16 bits, in word order. Kept inline: a
// call would spill the sums and the kernel and, under Win64, save and restore xmm6..xmm15.
[[gnu::always_inline]] inline __m128i Convolve(const SWORD* centre, int stride, const KernelPairs& k)
{
    EvenOddSums sums;
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) - stride), k.rows[0]);
    sums.AddRow(centre, k.rows[1]);
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) + stride), k.rows[2]);
    const __m128i words = _mm_packs_epi32(sums.even, sums.odd); // the even words, then the odd ones
    return _mm_unpacklo_epi16(words, _mm_unpackhi_epi64(words, words));
}

template <class Step>
void ConvolveRows(SWORD* destination, int stride, int width, int height, Step step)
{
    const int words = ConvolutionWordsPerRow(width, 8);
    for (int y = 1; y + 1 < height; ++y)
        for (int x = 8; x < 8 + words; x += 8)
            Store(WordRow(destination, stride, y) + x, step(x, y));
}

// ---- Blur, sharpen and edge image -----------------------------------------------------------

struct GroupLoad
{
    GroupLoad(const BYTE* at, int strideAbove, int strideBelow)
        : above(Load(at - strideAbove)), centre(Load(at)), below(Load(at + strideBelow))
    {
    }
    __m128i above, centre, below;
};

// The eight neighbours in the order of the plain code.
template <class Combine>
__m128i FoldNeighbours(const GroupLoad& g, __m128i value, Combine combine)
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
__m128i GroupWeights(SWORD inner, SWORD end)
{
    return _mm_set_epi16(end, inner, inner, inner, inner, inner, inner, end);
}

struct BlurVector
{
    explicit BlurVector(const BlurWeights& w)
        : strength(_mm_set1_epi16(w.strength)), weights(GroupWeights(w.inner, w.end))
    {
    }
    __m128i operator()(const GroupLoad& g) const
    {
        const __m128i sum = FoldNeighbours(g, _mm_mullo_epi16(g.centre, strength),
                                         [](__m128i x, __m128i y) { return _mm_adds_epu16(x, y); });
        // (sum x weight) >> 10 of the unsigned 32-bit product; it is below 2^26.
        const __m128i low = _mm_mullo_epi16(sum, weights), high = _mm_mulhi_epu16(sum, weights);
        const __m128i value = _mm_or_si128(_mm_slli_epi16(high, 6), _mm_srli_epi16(low, 10));
        return _mm_sub_epi16(value, _mm_subs_epu16(value, _mm_set1_epi16(0x7FFF)));
    }
    __m128i strength, weights;
};

struct SharpenVector
{
    explicit SharpenVector(const SharpenWeights& w)
        : centreWeights(GroupWeights(w.inner, w.end)), normaliser(WordPair(w.normaliser, 0))
    {
    }
    __m128i operator()(const GroupLoad& g) const
    {
        const __m128i value = FoldNeighbours(g, _mm_mullo_epi16(g.centre, centreWeights),
                                           [](__m128i x, __m128i y) { return _mm_subs_epi16(x, y); });
        return ClampToByteRange(MultiplyShift(value, normaliser, normaliser, 10));
    }
    __m128i centreWeights, normaliser;
};

struct EdgeVector
{
    __m128i operator()(const GroupLoad& g) const
    {
        const __m128i neighbours = FoldNeighbours(g, _mm_setzero_si128(),
                                                [](__m128i x, __m128i y) { return _mm_adds_epi16(x, y); });
        const __m128i value = _mm_subs_epi16(_mm_mullo_epi16(g.centre, GroupWeights(8, 5)), neighbours);
        return ClampToByteRange(
            MultiplyShift(value, _mm_set_epi32(128, 128, 128, 205), _mm_set_epi32(205, 128, 128, 128), 10));
    }
};

// The in-place run, two vectors a step, then the odd vector alone.
template <class Filter>
void GroupRun(SWORD* plane, int stride, int height, const Filter& filter)
{
    const int vectors = GroupFilterVectors(stride, height, 16);
    BYTE* at = BytesOf(plane) + stride;
    int v = 0;
    for (; v + 2 <= vectors; v += 2, at += 32) {
        Store(at, filter(GroupLoad(at, stride, stride)));
        Store(at + 16, filter(GroupLoad(at + 16, stride, stride)));
    }
    if (v < vectors)
        Store(at, filter(GroupLoad(at, stride, stride)));
}

} // namespace

HRESULT Svertka_sse2(const SWORD* source, SWORD* destination, int stride, int width, int height,
                     const SwordWords& kernel, SWORD scale)
{
    try {
        if (CheckConvolution(source, destination, source) != S_OK)
            return E_UNEXPECTED;
        const KernelPairs k{Kernel3x3(kernel)};
        const __m128i factor = WordPair(scale, 0);
        ConvolveRows(destination, stride, width, height, [&](int x, int y) {
            const __m128i value = Convolve(WordRow(source, stride, y) + x, stride, k);
            return MultiplyShift(value, factor, factor, 14);
        });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConditionSvertka_sse2(const SWORD* source, SWORD* destination, const SWORD* condition, int stride,
                              int width, int height, SWORD scale, const SwordWords& kernelA,
                              const SwordWords& kernelB, SWORD threshold)
{
    try {
        if (CheckConvolution(source, destination, condition) != S_OK)
            return E_UNEXPECTED;
        const KernelPairs a{Kernel3x3(kernelA)}, b{Kernel3x3(kernelB)};
        const __m128i factor = WordPair(scale, 0), limit = _mm_set1_epi16(threshold);
        ConvolveRows(destination, stride, width, height, [&](int x, int y) {
            const SWORD* centre = WordRow(source, stride, y) + x;
            const __m128i useA = _mm_cmplt_epi16(Load(WordRow(condition, stride, y) + x), limit);
            const __m128i value =
                _mm_or_si128(_mm_and_si128(useA, Convolve(centre, stride, a)),
                             _mm_andnot_si128(useA, Convolve(centre, stride, b)));
            return MultiplyShift(value, factor, factor, 14);
        });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT blure_const_sword_funct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                     int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const BlurWeights weights = GetBlurWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    GroupRun(planeA, strideA, height, BlurVector(weights));
    return S_OK;
}

HRESULT sharp_const_sword_funct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                     int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const SharpenWeights weights = GetSharpenWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    GroupRun(planeA, strideA, height, SharpenVector(weights));
    return S_OK;
}

HRESULT edge_image_sword_funct_sse2(SWORD* planeA, void*, const void* planeB, void*, const SWORD*, int strideA,
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
        for (int x = 0; x < words; x += 8)
            Store(out + x, edge(GroupLoad(in + 2 * x, strideB, strideB)));
    }
    return S_OK;
}
