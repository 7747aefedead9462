#include "TonalisStepTestSupport.h"

namespace {

const OptimFunctionTableSWORD& Plain()
{
    return GetOptimFunctionTableSWORD(SwordColumn::Plain);
}

void Record(std::initializer_list<const SwordWords*> lists, std::initializer_list<int> words = {})
{
    RecordedCall call;
    for (const SwordWords* list : lists)
        for (uint32_t i = 0; i < list->GetCount(); ++i)
            call.words.push_back(list->GetElement(i));
    call.words.insert(call.words.end(), words.begin(), words.end());
    RecordedCalls().push_back(call);
}

} // namespace

std::vector<RecordedCall>& RecordedCalls()
{
    static std::vector<RecordedCall> calls;
    return calls;
}

HRESULT RecordingSharpen(SWORD* a, void* extra, const void* b, void* unused, const SWORD* mask, int strideA,
                         int strideB, int width, int height, int count, const SWORD* k1, const SWORD* k2, int* out)
{
    RecordedCalls().push_back({{1, k1[0]}});
    return Plain().sharpen(a, extra, b, unused, mask, strideA, strideB, width, height, count, k1, k2, out);
}

HRESULT RecordingBlur(SWORD* a, void* extra, const void* b, void* unused, const SWORD* mask, int strideA, int strideB,
                      int width, int height, int count, const SWORD* k1, const SWORD* k2, int* out)
{
    RecordedCalls().push_back({{2, k1[0]}});
    return Plain().blur(a, extra, b, unused, mask, strideA, strideB, width, height, count, k1, k2, out);
}

HRESULT RecordingConvolution(const SWORD* source, SWORD* destination, int stride, int width, int height,
                             const SwordWords& kernel, SWORD factor)
{
    Record({&kernel}, {factor});
    return Plain().convolution2(source, destination, stride, width, height, kernel, factor);
}

HRESULT RecordingConditionalConvolution(const SWORD* source, SWORD* destination, const SWORD* condition, int stride,
                                        int width, int height, SWORD factor, const SwordWords& kernelA,
                                        const SwordWords& kernelB, SWORD threshold)
{
    Record({&kernelA, &kernelB}, {factor, threshold});
    return Plain().conditionalConvolution(source, destination, condition, stride, width, height, factor, kernelA,
                                          kernelB, threshold);
}

HRESULT RecordingRemoveNoise2(SWORD* reference, SWORD* plane, int stride, int width, int height,
                              const SwordWords& limits, const SwordWords& weights)
{
    Record({&limits, &weights});
    return Plain().removeNoise2(reference, plane, stride, width, height, limits, weights);
}

HRESULT RecordingRemoveNoise3(SWORD* reference, SWORD* plane, const SWORD* condition, int stride, int width,
                              int height, const SwordWords& limits, const SwordWords& weights,
                              const SwordWords& conditionLimit, const SwordWords& conditionWeight)
{
    Record({&limits, &weights, &conditionLimit, &conditionWeight});
    return Plain().removeNoise3(reference, plane, condition, stride, width, height, limits, weights, conditionLimit,
                                conditionWeight);
}

HRESULT RecordingMatrixEffect(SWORD* plane1, SWORD* plane2, int stride, int width, int height,
                              const SWORD* const* templates1, const SWORD* const* templates2,
                              const SWORD* const* tiles1, const SWORD* const* tiles2, int count, SWORD intensity,
                              SWORD threshold)
{
    RecordedCalls().push_back({{plane2 != nullptr, count, intensity, threshold, templates1[0] == tiles1[0]}});
    return Plain().matrixEffect(plane1, plane2, stride, width, height, templates1, templates2, tiles1, tiles2, count,
                                intensity, threshold);
}
