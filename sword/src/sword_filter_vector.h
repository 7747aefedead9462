// The neighbourhood filters written once over a vector type V of sword_vector_mmx.h or
// sword_vector_sse2.h. Blur, sharpen and the edge image see the neighbours within their own
// vector-wide group only. Included only by the MMX and SSE2 files, so every instantiation is
// compiled with its own instruction set; every operation ends with V::End().
#pragma once

#include "sword_arith_vector.h"
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

namespace filter {

using arith::Vec;
using arith::WordPair;

// The words times a per-lane 32-bit pair factor (lower half, upper half), arithmetic shift, 16-bit saturation.
template <class V>
Vec<V> MultiplyShift(Vec<V> words, Vec<V> factorLow, Vec<V> factorHigh, int shift)
{
    const Vec<V> low = V::SraLanesBy(V::MulAddPairs(V::UnpackLoWords(words, words), factorLow), shift);
    const Vec<V> high = V::SraLanesBy(V::MulAddPairs(V::UnpackHiWords(words, words), factorHigh), shift);
    return V::PackLanes(low, high);
}

// ---- Convolution ----------------------------------------------------------------------------

// The kernel as multiply-add pairs. The sums of the even and of the odd words of a vector are
// formed apart, so that the word pairs come straight from the loads at x - 1, x and x + 1: a
// 32-bit lane of the load at x - 1 holds the left and centre words of an even word, the same lane
// at x those of the following odd word, and the lane at x + 1 the right words of both.
template <class V>
struct KernelRowPairs
{
    Vec<V> leftCentre, rightOfEven, rightOfOdd;
};

template <class V>
struct KernelPairs
{
    explicit KernelPairs(const Kernel3x3& kernel)
    {
        for (int i = 0; i < 3; ++i) {
            const SWORD* k = kernel.k + 3 * i;
            rows[i] = {WordPair<V>(k[0], k[1]), WordPair<V>(k[2], 0), WordPair<V>(0, k[2])};
        }
    }
    KernelRowPairs<V> rows[3];
};

template <class V>
struct EvenOddSums
{
    Vec<V> even = V::Zero();
    Vec<V> odd = V::Zero();

    // Adds the products of one kernel row with the source row loaded at x - 1, x and x + 1. The
    // 32-bit sums wrap like the plain code's.
    void AddRow(const SWORD* row, const KernelRowPairs<V>& p)
    {
        const Vec<V> left = V::Load(BytesOf(row - 1)), middle = V::Load(BytesOf(row)),
                     right = V::Load(BytesOf(row + 1));
        even = V::AddLanes(even, V::AddLanes(V::MulAddPairs(left, p.leftCentre), V::MulAddPairs(right, p.rightOfEven)));
        odd = V::AddLanes(odd, V::AddLanes(V::MulAddPairs(middle, p.leftCentre), V::MulAddPairs(right, p.rightOfOdd)));
    }
};

// The kernel sums of the words at centre, saturated to 16 bits, in word order. Kept inline: a
// call would spill the sums and the kernel and, under Win64, save and restore xmm6..xmm15.
template <class V>
[[gnu::always_inline]] inline Vec<V> Convolve(const SWORD* centre, int stride, const KernelPairs<V>& k)
{
    EvenOddSums<V> sums;
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) - stride), k.rows[0]);
    sums.AddRow(centre, k.rows[1]);
    sums.AddRow(reinterpret_cast<const SWORD*>(BytesOf(centre) + stride), k.rows[2]);
    const Vec<V> words = V::PackLanes(sums.even, sums.odd); // the even words, then the odd ones
    return V::UnpackLoWords(words, V::HighHalf(words));
}

// Kept inline too: called, it would read the step's captured locals from memory on every vector.
template <class V, class Step>
[[gnu::always_inline]] inline void ConvolveRow(SWORD* destination, int stride, int words, int y, Step step)
{
    for (int x = 8; x < 8 + words; x += V::kWords)
        V::Store(BytesOf(WordRow(destination, stride, y) + x), step(x, y));
}

template <class V, class Step>
[[gnu::always_inline]] inline void ConvolveRows(SWORD* destination, int stride, int width, int height, Step step)
{
    const int words = ConvolutionWordsPerRow(width, V::kWords);
    for (int y = 1; y + 1 < height; ++y)
        ConvolveRow<V>(destination, stride, words, y, step);
}

// The sum of a unit kernel (see IsUnitKernel) at centre, by unsigned saturating additions of the
// words. Such sums only grow: a sum below 0x8000 saw no saturation and no negative word, so it is
// the exact kernel sum, the value the multiply-add pairs give.
template <class V>
[[gnu::always_inline]] inline Vec<V> UnitKernelSum(const SWORD* centre, int stride, bool withCentre)
{
    const BYTE* at = BytesOf(centre);
    const auto column = [&](const BYTE* middle) {
        return V::AddUS(V::AddUS(V::Load(middle - stride), V::Load(middle)), V::Load(middle + stride));
    };
    Vec<V> sum = V::AddUS(column(at - 2), column(at + 2));
    sum = V::AddUS(sum, V::AddUS(V::Load(at - stride), V::Load(at + stride)));
    return withCentre ? V::AddUS(sum, V::Load(at)) : sum;
}

// The sums of a unit kernel at centre and at the word below it, which share their two middle
// source rows: the columns beside the centre add those rows once for both.
template <class V>
struct SumPair
{
    Vec<V> upper, lower;
};

template <class V>
[[gnu::always_inline]] inline SumPair<V> UnitKernelSumPair(const SWORD* centre, int stride, bool withCentre)
{
    const BYTE* at = BytesOf(centre);
    const auto load = [&](int column, int row) { return V::Load(at + 2 * column + row * stride); };
    const Vec<V> left = V::AddUS(load(-1, 0), load(-1, 1)), right = V::AddUS(load(1, 0), load(1, 1));
    const Vec<V> centreUpper = load(0, 0), centreLower = load(0, 1);
    Vec<V> upper = V::AddUS(V::AddUS(load(-1, -1), left), V::AddUS(load(1, -1), right));
    Vec<V> lower = V::AddUS(V::AddUS(left, load(-1, 2)), V::AddUS(right, load(1, 2)));
    upper = V::AddUS(upper, V::AddUS(load(0, -1), centreLower));
    lower = V::AddUS(lower, V::AddUS(centreUpper, load(0, 2)));
    if (withCentre)
        return {V::AddUS(upper, centreUpper), V::AddUS(lower, centreLower)};
    return {upper, lower};
}

// Whether any word has a bit of mask set.
template <class V>
bool AnyWordHas(Vec<V> words, SWORD mask)
{
    alignas(16) SWORD stored[V::kWords];
    V::Store(BytesOf(stored), V::And(words, V::Set1(mask)));
    for (const SWORD word : stored)
        if (word != 0)
            return true;
    return false;
}

template <class V>
bool HasNegativeWord(Vec<V> words)
{
    return AnyWordHas<V>(words, static_cast<SWORD>(0x8000));
}

// The output rows from 1 on that the additions of a unit kernel give exactly: two at a time, the
// last one alone. Answers the first row they could not give, from which the caller goes on with
// the multiply-adds; scaled turns a sum into the output word.
template <class V, class Scaled>
[[gnu::always_inline]] inline int AddUnitKernelRows(const SWORD* source, SWORD* destination, int stride, int words,
                                                    int height, bool withCentre, Scaled scaled)
{
    int y = 1;
    for (; y + 2 < height; y += 2) {
        Vec<V> sums = V::Zero();
        for (int x = 8; x < 8 + words; x += V::kWords) {
            const SumPair<V> pair = UnitKernelSumPair<V>(WordRow(source, stride, y) + x, stride, withCentre);
            sums = V::Or(sums, V::Or(pair.upper, pair.lower));
            V::Store(BytesOf(WordRow(destination, stride, y) + x), scaled(pair.upper));
            V::Store(BytesOf(WordRow(destination, stride, y + 1) + x), scaled(pair.lower));
        }
        if (HasNegativeWord<V>(sums))
            return y;
    }
    if (y + 1 < height) {
        Vec<V> sums = V::Zero();
        ConvolveRow<V>(destination, stride, words, y, [&](int x, int row) {
            const Vec<V> sum = UnitKernelSum<V>(WordRow(source, stride, row) + x, stride, withCentre);
            sums = V::Or(sums, sum);
            return scaled(sum);
        });
        if (HasNegativeWord<V>(sums))
            return y;
        ++y;
    }
    return y;
}

template <class V>
HRESULT Convolution(const SWORD* source, SWORD* destination, int stride, int width, int height,
                    const SwordWords& kernel, SWORD scale)
{
    try {
        if (CheckConvolution(source, destination, source) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 kernel3x3(kernel);
        const KernelPairs<V> k{kernel3x3};
        const Vec<V> factor = WordPair<V>(scale, 0);
        const auto anyWords = [&](int x, int y) {
            const Vec<V> value = Convolve<V>(WordRow(source, stride, y) + x, stride, k);
            return MultiplyShift<V>(value, factor, factor, 14);
        };
        // Rows of small non-negative words, as masks are, take the additions; from the first row
        // whose sums leave that range on, the multiply-adds take every row, that one again, which
        // must then find its source rows as they were: not where the output overlaps them. A sum
        // below 0x8000 times a scale within 13 bits, shifted right by 14, is the high word of the
        // sum times 4 x scale, and stays inside 16 bits.
        const int words = ConvolutionWordsPerRow(width, V::kWords);
        int firstMultiplied = 1;
        if (IsUnitKernel(kernel3x3) && !PlanesOverlap(source, destination, stride, height)) {
            const bool shortScale = scale >= -8192 && scale < 8192;
            const Vec<V> scaleTimes4 = V::Set1(static_cast<short>(shortScale ? scale * 4 : 0));
            firstMultiplied = AddUnitKernelRows<V>(source, destination, stride, words, height, kernel3x3.k[4] != 0,
                                                   [&](Vec<V> sum) {
                                                       return shortScale ? V::MulHi(sum, scaleTimes4)
                                                                         : MultiplyShift<V>(sum, factor, factor, 14);
                                                   });
        }
        for (int y = firstMultiplied; y + 1 < height; ++y)
            ConvolveRow<V>(destination, stride, words, y, anyWords);
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

template <class V>
HRESULT ConditionConvolution(const SWORD* source, SWORD* destination, const SWORD* condition, int stride,
                             int width, int height, SWORD scale, const SwordWords& kernelA,
                             const SwordWords& kernelB, SWORD threshold)
{
    try {
        if (CheckConvolution(source, destination, condition) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 kernel3x3A(kernelA), kernel3x3B(kernelB);
        const KernelPairs<V> a(kernel3x3A), b(kernel3x3B);
        const Vec<V> factor = WordPair<V>(scale, 0), limit = V::Set1(threshold);
        ConvolveRows<V>(destination, stride, width, height, [&](int x, int y) {
            const SWORD* centre = WordRow(source, stride, y) + x;
            const Vec<V> useA = V::CmpGt(limit, V::Load(BytesOf(WordRow(condition, stride, y) + x)));
            const Vec<V> value = arith::Under<V>(Convolve<V>(centre, stride, a), Convolve<V>(centre, stride, b), useA);
            return MultiplyShift<V>(value, factor, factor, 14);
        });
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

// ---- Blur, sharpen and edge image -----------------------------------------------------------

template <class V>
struct GroupLoad
{
    GroupLoad(const BYTE* at, int stride)
        : above(V::Load(at - stride)), centre(V::Load(at)), below(V::Load(at + stride))
    {
    }
    Vec<V> above, centre, below;
};

// The eight neighbours in the order of the plain code.
template <class V, class Combine>
Vec<V> FoldNeighbours(const GroupLoad<V>& g, Vec<V> value, Combine combine)
{
    value = combine(value, V::WordsUp(g.above));
    value = combine(value, g.above);
    value = combine(value, V::WordsDown(g.above));
    value = combine(value, V::WordsUp(g.centre));
    value = combine(value, V::WordsDown(g.centre));
    value = combine(value, V::WordsUp(g.below));
    value = combine(value, g.below);
    return combine(value, V::WordsDown(g.below));
}

// Inner words take inner, the first and last word of the group take end.
template <class V>
Vec<V> GroupWeights(SWORD inner, SWORD end)
{
    SWORD words[V::kWords];
    for (SWORD& word : words)
        word = inner;
    words[0] = words[V::kWords - 1] = end;
    return V::LoadConstant(words);
}

template <class V>
struct BlurVector
{
    // Weights below 512 (every strength above -3) scaled by 64 stay below 0x8000: one high product
    // of the sum and the scaled weight is then (sum x weight) >> 10, which stays below 0x7FFF.
    static constexpr SWORD kLargestScaledWeight = 511;

    explicit BlurVector(const BlurWeights& w)
        : strength(V::Set1(w.strength)), weights(GroupWeights<V>(w.inner, w.end)),
          scaledWeights(GroupWeights<V>(static_cast<SWORD>(w.inner * 64), static_cast<SWORD>(w.end * 64))),
          top(V::Set1(0x7FFF)), scaled(w.inner <= kLargestScaledWeight && w.end <= kLargestScaledWeight),
          weighsCentre(w.strength != 0)
    {
    }
    // The neighbours are the column sums above + centre + below beside the word and above + below
    // in its own column. Unsigned saturating sums of unsigned words are the exact total held to
    // 0xFFFF in any order, so the columns give the plain code's sum with half the additions. A
    // strength of 0 adds nothing for the centre.
    Vec<V> operator()(const GroupLoad<V>& g) const
    {
        const Vec<V> aboveBelow = V::AddUS(g.above, g.below);
        const Vec<V> column = V::AddUS(aboveBelow, g.centre);
        Vec<V> sum = weighsCentre ? V::AddUS(V::MulLo(g.centre, strength), aboveBelow) : aboveBelow;
        sum = V::AddUS(sum, V::WordsUp(column));
        sum = V::AddUS(sum, V::WordsDown(column));
        return scaled ? V::MulHiUS(sum, scaledWeights) : ShiftedProduct(sum);
    }
    // (sum x weight) >> 10 of the unsigned 32-bit product (below 2^26), held to 0x7FFF.
    Vec<V> ShiftedProduct(Vec<V> sum) const
    {
        const Vec<V> low = V::MulLo(sum, weights), high = V::MulHiUS(sum, weights);
        const Vec<V> value = V::Or(V::SllBy(high, 6), V::SrlBy(low, 10));
        return V::Sub(value, V::SubUS(value, top));
    }
    Vec<V> strength, weights, scaledWeights, top;
    bool scaled, weighsCentre;
};

template <class V>
struct SharpenVector
{
    explicit SharpenVector(const SharpenWeights& w)
        : centreWeights(GroupWeights<V>(w.inner, w.end)), normaliser(WordPair<V>(w.normaliser, 0))
    {
    }
    Vec<V> operator()(const GroupLoad<V>& g) const
    {
        const Vec<V> value = FoldNeighbours<V>(g, V::MulLo(g.centre, centreWeights), [](Vec<V> x, Vec<V> y) { return V::SubS(x, y); });
        return V::ClampToByteRange(MultiplyShift<V>(value, normaliser, normaliser, 10));
    }
    Vec<V> centreWeights, normaliser;
};

// The end words of a group are scaled by 205/1024, the inner ones by 128/1024: the high word of
// the product with the factor times 64 is that product shifted right by 10, rounded down alike.
template <class V>
struct EdgeVector
{
    EdgeVector()
        : centreWeights(GroupWeights<V>(8, 5)), centreWeightsWithSelf(GroupWeights<V>(9, 6)),
          factors(GroupWeights<V>(128 * 64, 205 * 64))
    {
    }
    // The neighbours summed one by one, saturating after each as the plain code does.
    Vec<V> operator()(const GroupLoad<V>& g) const
    {
        const Vec<V> neighbours = FoldNeighbours<V>(g, V::Zero(), [](Vec<V> x, Vec<V> y) { return V::AddS(x, y); });
        return Scale(V::SubS(V::MulLo(g.centre, centreWeights), neighbours));
    }
    // Rows of words in the small range: no sum of up to nine words saturates, nor nine times the
    // centre wraps, so the neighbours are the nine-word total less the centre, and that total is
    // the column sums beside the word and in its own column.
    Vec<V> Unsaturated(const GroupLoad<V>& g) const
    {
        const Vec<V> column = V::Add(V::Add(g.above, g.below), g.centre);
        const Vec<V> total = V::Add(V::Add(column, V::WordsUp(column)), V::WordsDown(column));
        return Scale(V::SubS(V::MulLo(g.centre, centreWeightsWithSelf), total));
    }
    Vec<V> Scale(Vec<V> value) const { return V::ClampToByteRange(V::MulHi(value, factors)); }

    Vec<V> centreWeights, centreWeightsWithSelf, factors;
};

// Whether words lie in [-2048, 2047], the small range of EdgeVector: a word plus 2048 then has
// none of its top four bits set.
template <class V>
struct SmallRangeCheck
{
    void Add(Vec<V> words) { bits = V::Or(bits, V::Add(words, V::Set1(2048))); }
    bool Passed() const { return !AnyWordHas<V>(bits, static_cast<SWORD>(0xF000)); }
    Vec<V> bits = V::Zero();
};

// The words [0, words) of a row.
template <class V>
bool InEdgeSmallRange(const BYTE* row, int words)
{
    SmallRangeCheck<V> check;
    for (int x = 0; x < words; x += V::kWords)
        check.Add(V::Load(row + 2 * x));
    return check.Passed();
}

// Vector types with stores past the caches (SSE2; MMX has none).
template <class V>
concept StreamingStores = requires(BYTE* address, Vec<V> value) {
    V::StreamStore(address, value);
    V::EndStreaming();
};

// One output row, and whether the row ahead is in the small range: checked on the way, its loads
// overlap the arithmetic instead of waiting for memory in a pass of their own.
template <class V, bool kSmall, bool kStreamed>
bool EdgeRow(const EdgeVector<V>& edge, const BYTE* in, int strideB, SWORD* out, int words, const BYTE* ahead)
{
    SmallRangeCheck<V> check;
    for (int x = 0; x < words; x += V::kWords) {
        check.Add(V::Load(ahead + 2 * x));
        const GroupLoad<V> g(in + 2 * x, strideB);
        const Vec<V> value = kSmall ? edge.Unsaturated(g) : edge(g);
        if constexpr (kStreamed)
            V::StreamStore(BytesOf(out + x), value);
        else
            V::Store(BytesOf(out + x), value);
    }
    return check.Passed();
}

// The in-place run, two vectors a step, then the odd vector alone.
template <class V, class Filter>
void GroupRun(SWORD* plane, int stride, int height, const Filter& filter)
{
    const int vectors = GroupFilterVectors(stride, height, V::kBytes);
    BYTE* at = BytesOf(plane) + stride;
    int v = 0;
    for (; v + 2 <= vectors; v += 2, at += 2 * V::kBytes) {
        V::Store(at, filter(GroupLoad<V>(at, stride)));
        V::Store(at + V::kBytes, filter(GroupLoad<V>(at + V::kBytes, stride)));
    }
    if (v < vectors)
        V::Store(at, filter(GroupLoad<V>(at, stride)));
}

// Blur and sharpen: the strength in constant1[0] gives the weights the Filter is built from.
template <class V, class Filter, class Weights>
HRESULT WeightedGroupFilter(SWORD* planeA, int strideA, int height, const SWORD* constant1, int* alignmentOut,
                            Weights (*getWeights)(SWORD))
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const Weights weights = getWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    GroupRun<V>(planeA, strideA, height, Filter(weights));
    V::End();
    return S_OK;
}

template <class V, bool kStreamed>
void EdgeRows(const EdgeVector<V>& edge, SWORD* planeA, const SWORD* planeB, int strideA, int strideB, int width,
              int height)
{
    const int words = width / 8 * 8;
    const auto rowOf = [&](int y) { return BytesOf(WordRow(planeB, strideB, y)); };
    // Each row is checked once, two rows ahead of the output row. A row written over before it is
    // read again holds outputs of 0..255, inside the small range, so a flag never goes wrong.
    bool small[3] = {height > 2 && InEdgeSmallRange<V>(rowOf(0), words),
                     height > 2 && InEdgeSmallRange<V>(rowOf(1), words),
                     height > 2 && InEdgeSmallRange<V>(rowOf(2), words)};
    for (int y = 1; y + 1 < height; ++y) {
        // The last output row has no row two below: it checks its own row below again.
        const BYTE* ahead = rowOf(y + 2 < height ? y + 2 : y + 1);
        SWORD* out = WordRow(planeA, strideA, y);
        const bool aheadSmall = small[0] && small[1] && small[2]
                                    ? EdgeRow<V, true, kStreamed>(edge, rowOf(y), strideB, out, words, ahead)
                                    : EdgeRow<V, false, kStreamed>(edge, rowOf(y), strideB, out, words, ahead);
        small[0] = small[1];
        small[1] = small[2];
        small[2] = aheadSmall;
    }
}

// The edge image is an output plane of the frame: other filters read it, the steps after it do
// not, so it goes past the caches when every row starts on a vector boundary. Not when it shares
// bytes with its source, whose rows would then be read back from memory.
inline bool StreamsEdgeImage(const SWORD* planeA, const SWORD* planeB, int strideA, int strideB, int height)
{
    return reinterpret_cast<uintptr_t>(planeA) % 16 == 0 && strideA % 16 == 0 &&
           !PlanesOverlap(planeA, planeB, strideA > strideB ? strideA : strideB, height);
}

template <class V>
HRESULT EdgeImage(SWORD* planeA, const void* planeB, int strideA, int strideB, int width, int height,
                  int* alignmentOut)
{
    if (planeA == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (planeB == nullptr)
        return E_INVALIDARG;
    const EdgeVector<V> edge;
    const SWORD* source = static_cast<const SWORD*>(planeB);
    if constexpr (StreamingStores<V>) {
        if (StreamsEdgeImage(planeA, source, strideA, strideB, height)) {
            EdgeRows<V, true>(edge, planeA, source, strideA, strideB, width, height);
            V::EndStreaming();
            V::End();
            return S_OK;
        }
    }
    EdgeRows<V, false>(edge, planeA, source, strideA, strideB, width, height);
    V::End();
    return S_OK;
}

} // namespace filter

#define SWORD_FILTER_VARIANTS(V, suffix)                                                                        \
    HRESULT Svertka_##suffix(const SWORD* source, SWORD* destination, int stride, int width, int height,       \
                             const SwordWords& kernel, SWORD scale)                                            \
    {                                                                                                           \
        return filter::Convolution<V>(source, destination, stride, width, height, kernel, scale);              \
    }                                                                                                           \
    HRESULT ConditionSvertka_##suffix(const SWORD* source, SWORD* destination, const SWORD* condition,         \
                                      int stride, int width, int height, SWORD scale,                          \
                                      const SwordWords& kernelA, const SwordWords& kernelB, SWORD threshold)   \
    {                                                                                                           \
        return filter::ConditionConvolution<V>(source, destination, condition, stride, width, height, scale,   \
                                               kernelA, kernelB, threshold);                                    \
    }                                                                                                           \
    HRESULT blure_const_sword_funct_##suffix(SWORD* planeA, void*, const void*, void*, const SWORD*,            \
                                             int strideA, int, int, int height, int, const SWORD* constant1,   \
                                             const SWORD*, int* alignmentOut)                                  \
    {                                                                                                           \
        return filter::WeightedGroupFilter<V, filter::BlurVector<V>>(planeA, strideA, height, constant1,        \
                                                                     alignmentOut, GetBlurWeights);             \
    }                                                                                                           \
    HRESULT sharp_const_sword_funct_##suffix(SWORD* planeA, void*, const void*, void*, const SWORD*,            \
                                             int strideA, int, int, int height, int, const SWORD* constant1,   \
                                             const SWORD*, int* alignmentOut)                                  \
    {                                                                                                           \
        return filter::WeightedGroupFilter<V, filter::SharpenVector<V>>(planeA, strideA, height, constant1,     \
                                                                     alignmentOut, GetSharpenWeights);          \
    }                                                                                                           \
    HRESULT edge_image_sword_funct_##suffix(SWORD* planeA, void*, const void* planeB, void*, const SWORD*,      \
                                            int strideA, int strideB, int width, int height, int,              \
                                            const SWORD*, const SWORD*, int* alignmentOut)                     \
    {                                                                                                           \
        return filter::EdgeImage<V>(planeA, planeB, strideA, strideB, width, height, alignmentOut);            \
    }
