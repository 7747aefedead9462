// Plain neighbourhood filters: 3 x 3 convolution, conditional convolution, blur, sharpen and the
// edge image; the reference for the vector variants, and the checks and weights they share.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

namespace {

// The words of one vector group of a row, copied so that the in-place run reads a vector
// exactly as the vector code loads it.
struct GroupRows
{
    SWORD above[8];
    SWORD centre[8];
    SWORD below[8];
};

GroupRows LoadGroup(const BYTE* at, int stride, int groupWords)
{
    GroupRows rows{};
    const size_t bytes = 2 * static_cast<size_t>(groupWords);
    std::memcpy(rows.above, at - stride, bytes);
    std::memcpy(rows.centre, at, bytes);
    std::memcpy(rows.below, at + stride, bytes);
    return rows;
}

bool IsGroupEnd(int index, int groupWords)
{
    return index == 0 || index == groupWords - 1;
}

// Visits the neighbours of word i within its group: above-left, above, above-right, left, right,
// below-left, below, below-right (the order of the saturating steps of the vector code).
template <class Visit>
void ForEachNeighbour(const GroupRows& rows, int i, int groupWords, Visit visit)
{
    const bool hasLeft = i > 0, hasRight = i + 1 < groupWords;
    if (hasLeft)
        visit(rows.above[i - 1]);
    visit(rows.above[i]);
    if (hasRight)
        visit(rows.above[i + 1]);
    if (hasLeft)
        visit(rows.centre[i - 1]);
    if (hasRight)
        visit(rows.centre[i + 1]);
    if (hasLeft)
        visit(rows.below[i - 1]);
    visit(rows.below[i]);
    if (hasRight)
        visit(rows.below[i + 1]);
}

SWORD SubtractSaturating(SWORD a, SWORD b)
{
    return SaturateToWord(static_cast<int>(a) - b);
}

SWORD BlurWord(const GroupRows& rows, int i, int groupWords, const BlurWeights& weights)
{
    uint32_t sum = static_cast<uint16_t>(LowWord(weights.strength * rows.centre[i]));
    ForEachNeighbour(rows, i, groupWords, [&](SWORD n) {
        sum += static_cast<uint16_t>(n);
        if (sum > 0xFFFF)
            sum = 0xFFFF;
    });
    const uint32_t weight = static_cast<uint16_t>(IsGroupEnd(i, groupWords) ? weights.end : weights.inner);
    return SaturateToWord((sum * weight) >> 10);
}

SWORD SharpenWord(const GroupRows& rows, int i, int groupWords, const SharpenWeights& weights)
{
    const SWORD centreWeight = IsGroupEnd(i, groupWords) ? weights.end : weights.inner;
    SWORD value = LowWord(centreWeight * rows.centre[i]);
    ForEachNeighbour(rows, i, groupWords, [&](SWORD n) { value = SubtractSaturating(value, n); });
    return static_cast<SWORD>(SaturateToByteRange((value * weights.normaliser) >> 10));
}

SWORD EdgeWord(const GroupRows& rows, int i, int groupWords)
{
    const bool end = IsGroupEnd(i, groupWords);
    SWORD neighbours = 0;
    ForEachNeighbour(rows, i, groupWords, [&](SWORD n) { neighbours = SaturateToWord(static_cast<int>(neighbours) + n); });
    const SWORD value = SubtractSaturating(LowWord((end ? 5 : 8) * rows.centre[i]), neighbours);
    return static_cast<SWORD>(SaturateToByteRange((value * (end ? 205 : 128)) >> 10));
}

template <class Filter>
void GroupRun(SWORD* plane, int stride, int height, int groupWords, Filter filter)
{
    const int vectorBytes = 2 * groupWords;
    const int vectors = GroupFilterVectors(stride, height, vectorBytes);
    BYTE* at = BytesOf(plane) + stride;
    for (int v = 0; v < vectors; ++v, at += vectorBytes) {
        const GroupRows rows = LoadGroup(at, stride, groupWords);
        SWORD out[8];
        for (int i = 0; i < groupWords; ++i)
            out[i] = filter(rows, i);
        std::memcpy(at, out, vectorBytes);
    }
}

} // namespace

// ---- Convolution ----------------------------------------------------------------------------

Kernel3x3::Kernel3x3(const SwordWords& kernel)
{
    for (uint32_t i = 0; i < 9; ++i)
        k[i] = kernel.GetElement(i);
}

int ConvolutionWordsPerRow(int widthWithMargins, int vectorWords)
{
    const int visible = widthWithMargins - 16;
    return visible <= 0 ? 0 : (visible + vectorWords - 1) / vectorWords * vectorWords;
}

HRESULT CheckConvolution(const SWORD* source, const SWORD* destination, const SWORD* condition)
{
    return source == nullptr || destination == nullptr || condition == nullptr ? E_UNEXPECTED : S_OK;
}

bool IsUnitKernel(const Kernel3x3& kernel)
{
    for (int i = 0; i < 9; ++i)
        if (i != 4 && kernel.k[i] != 1)
            return false;
    return kernel.k[4] == 0 || kernel.k[4] == 1;
}

bool PlanesOverlap(const SWORD* first, const SWORD* second, int stride, int height)
{
    const uintptr_t a = reinterpret_cast<uintptr_t>(first), b = reinterpret_cast<uintptr_t>(second);
    const uint64_t rowBytes = stride < 0 ? -static_cast<int64_t>(stride) : stride;
    return a == b || (a > b ? a - b : b - a) < rowBytes * static_cast<uint64_t>(height < 1 ? 1 : height);
}

SWORD ConvolveWord(const SWORD* source, int stride, int x, int y, const Kernel3x3& kernel, SWORD scale)
{
    // 32-bit sum with the wrap of the vector code's multiply-add.
    uint32_t sum = 0;
    for (int i = 0; i < 3; ++i) {
        const SWORD* row = WordRow(source, stride, y - 1 + i);
        for (int j = 0; j < 3; ++j)
            sum += static_cast<uint32_t>(kernel.k[3 * i + j] * row[x - 1 + j]);
    }
    const SWORD value = SaturateToWord(static_cast<int32_t>(sum));
    return SaturateToWord((value * scale) >> 14);
}

namespace {

template <class PickKernel>
void ConvolvePlain(const SWORD* source, SWORD* destination, int stride, int width, int height, SWORD scale,
                   PickKernel pick)
{
    for (int y = 1; y + 1 < height; ++y) {
        SWORD* out = WordRow(destination, stride, y);
        for (int x = 8; x < width - 8; ++x)
            out[x] = ConvolveWord(source, stride, x, y, pick(x, y), scale);
    }
}

} // namespace

HRESULT Svertka_c(const SWORD* source, SWORD* destination, int stride, int width, int height,
                  const SwordWords& kernel, SWORD scale)
{
    try {
        if (CheckConvolution(source, destination, source) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 k(kernel);
        ConvolvePlain(source, destination, stride, width, height, scale, [&](int, int) -> const Kernel3x3& { return k; });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConditionSvertka_c(const SWORD* source, SWORD* destination, const SWORD* condition, int stride, int width,
                           int height, SWORD scale, const SwordWords& kernelA, const SwordWords& kernelB,
                           SWORD threshold)
{
    try {
        if (CheckConvolution(source, destination, condition) != S_OK)
            return E_UNEXPECTED;
        const Kernel3x3 a(kernelA), b(kernelB);
        ConvolvePlain(source, destination, stride, width, height, scale, [&](int x, int y) -> const Kernel3x3& {
            return WordRow(condition, stride, y)[x] < threshold ? a : b;
        });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Blur, sharpen and edge image -----------------------------------------------------------

BlurWeights GetBlurWeights(SWORD strength)
{
    const int k = strength;
    if (k + 8 <= 0 || k + 5 <= 0)
        return {false, strength, 0, 0};
    return {true, strength, static_cast<SWORD>(static_cast<int>(1024.0 / (k + 8))),
            static_cast<SWORD>(static_cast<int>(1024.0 / (k + 5)))};
}

SharpenWeights GetSharpenWeights(SWORD strength)
{
    const int x = strength + 3;
    if (x <= 0)
        return {false, 0, 0, 0};
    return {true, LowWord(x + 8), LowWord(x + 5), static_cast<SWORD>(1024 / x)};
}

HRESULT CheckBlurSharpen(const SWORD* plane, int height, const SWORD* constant1, int* alignmentOut)
{
    if (plane == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (constant1 == nullptr)
        return E_INVALIDARG;
    return height < 4 ? E_FAIL : S_OK;
}

int GroupFilterVectors(int stride, int height, int vectorBytes)
{
    if (stride <= 0 || height < 3)
        return 0;
    return static_cast<int>(static_cast<int64_t>(height - 2) * stride / vectorBytes);
}

void BlurPlain(SWORD* plane, int stride, int height, const BlurWeights& weights, int groupWords)
{
    GroupRun(plane, stride, height, groupWords,
             [&](const GroupRows& rows, int i) { return BlurWord(rows, i, groupWords, weights); });
}

void SharpenPlain(SWORD* plane, int stride, int height, const SharpenWeights& weights, int groupWords)
{
    GroupRun(plane, stride, height, groupWords,
             [&](const GroupRows& rows, int i) { return SharpenWord(rows, i, groupWords, weights); });
}

void EdgeImagePlain(SWORD* destination, const SWORD* source, int strideA, int strideB, int width, int height,
                    int groupWords)
{
    const int words = width / 8 * 8;
    for (int y = 1; y + 1 < height; ++y) {
        const BYTE* in = BytesOf(WordRow(source, strideB, y));
        SWORD* out = WordRow(destination, strideA, y);
        for (int x = 0; x < words; x += groupWords) {
            const GroupRows rows = LoadGroup(in + 2 * x, strideB, groupWords);
            for (int i = 0; i < groupWords; ++i)
                out[x + i] = EdgeWord(rows, i, groupWords);
        }
    }
}

HRESULT blure_const_sword_funct_c(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                  int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const BlurWeights weights = GetBlurWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    BlurPlain(planeA, strideA, height, weights, 8);
    return S_OK;
}

HRESULT sharp_const_sword_funct_c(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int,
                                  int height, int, const SWORD* constant1, const SWORD*, int* alignmentOut)
{
    const HRESULT check = CheckBlurSharpen(planeA, height, constant1, alignmentOut);
    if (check != S_OK)
        return check;
    const SharpenWeights weights = GetSharpenWeights(constant1[0]);
    if (!weights.valid)
        return E_UNEXPECTED;
    SharpenPlain(planeA, strideA, height, weights, 8);
    return S_OK;
}

HRESULT edge_image_sword_funct_c(SWORD* planeA, void*, const void* planeB, void*, const SWORD*, int strideA,
                                 int strideB, int width, int height, int, const SWORD*, const SWORD*,
                                 int* alignmentOut)
{
    if (planeA == nullptr)
        return AnswerSwordAlignmentQuery(alignmentOut, kSwordAlignmentNone);
    if (planeB == nullptr)
        return E_INVALIDARG;
    EdgeImagePlain(planeA, static_cast<const SWORD*>(planeB), strideA, strideB, width, height, 8);
    return S_OK;
}
