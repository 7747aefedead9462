// What the correction steps share to call the image operations on the frame's planes.
#include "Tonalis1_StepKernels.h"

namespace {

constexpr uint32_t kMostWords = 9;

SwordWords& ThreadWordList(StepWordList list)
{
    thread_local SwordWords lists[static_cast<int>(StepWordList::Count)];
    SwordWords& words = lists[static_cast<int>(list)];
    if (!words.HasStorage() && FAILED(words.Init(kMostWords, 0)))
        throw 240;
    return words;
}

} // namespace

const SwordWords& FillStepWords(StepWordList list, std::initializer_list<SWORD> words)
{
    SwordWords& target = ThreadWordList(list);
    if (FAILED(target.SetSize(static_cast<uint32_t>(words.size()))))
        throw 240;
    uint32_t i = 0;
    for (const SWORD word : words)
        target.GetElement(i++) = word;
    return target;
}

const SwordWords& FillKernel(StepWordList list, SWORD outer, SWORD centre)
{
    return FillStepWords(list, {outer, outer, outer, outer, centre, outer, outer, outer, outer});
}

SWORD UnitGainFactor(const SwordWords& kernel)
{
    constexpr int32_t kUnit = 16384;
    int32_t sum = 0;
    for (uint32_t i = 0; i < 9; ++i)
        sum += kernel.GetElement(i);
    return static_cast<SWORD>(sum <= 0 ? kUnit : (kUnit + sum - 1) / sum);
}

HRESULT ApplyToPlane(UnifSwordFunction operation, InfoDataBufferPath1& plane, const SWORD* mask,
                     const SWORD* constant1, const SWORD* constant2, int count, InfoDataBufferPath1* planeB)
{
    return operation(PlaneWords(plane), nullptr, planeB != nullptr ? PlaneWords(*planeB) : nullptr, nullptr, mask,
                     plane.m_stride, planeB != nullptr ? planeB->m_stride : 0, PlaneWidth(plane), PlaneHeight(plane),
                     count, constant1, constant2, nullptr);
}

HRESULT ConvolvePlane(const OptimFunctionTableSWORD& operations, InfoDataBufferPath1& source,
                      InfoDataBufferPath1& destination, const SwordWords& kernel, SWORD factor)
{
    if (!HasSameLayout(source, destination))
        return E_UNEXPECTED;
    const HRESULT result = operations.convolution2(BorderedOrigin(source), BorderedOrigin(destination),
                                                   source.m_stride, PlaneWidth(source) + 16, PlaneHeight(source) + 2,
                                                   kernel, factor);
    TakeDataRange(destination, source);
    return result;
}

void TakeDataRange(InfoDataBufferPath1& destination, const InfoDataBufferPath1& source)
{
    destination.m_size_data = source.m_size_data;
    destination.m_offset_data = source.m_offset_data;
}

bool HasSameLayout(const InfoDataBufferPath1& first, const InfoDataBufferPath1& second)
{
    return HoldsBorderedPlane(first) && HoldsBorderedPlane(second) && first.m_stride == second.m_stride &&
           PlaneWidth(first) == PlaneWidth(second) && PlaneHeight(first) == PlaneHeight(second);
}

bool HoldsBorderedPlane(const InfoDataBufferPath1& plane)
{
    const int64_t width = PlaneWidth(plane), height = PlaneHeight(plane), stride = plane.m_stride;
    return plane.m_data != nullptr && width > 0 && height > 0 && stride >= 2 * width + 32 &&
           plane.m_offset_data == stride + 16 && plane.m_capacity >= (height + 2) * stride;
}
