// Noise removal: the temporal passes against the stored references and the edge-aware smoothing.
#include "Tonalis1_StepKernels.h"

#include <cmath>

namespace {

constexpr float kNeutralSmoothing = 51.0f;
constexpr float kDefaultSmoothing = 5.0f;
constexpr float kStrongestPass = 25.0f;
constexpr SWORD kUnitFactor = 16384;
constexpr SWORD kMotionThreshold = 10;
constexpr SWORD kMotionCentres[2] = {0, 1};
constexpr SWORD kMotionMark = 255;

int32_t Param(const Tonalis1State& state, TonalisParam index)
{
    return state.m_params_int.GetElement(index);
}

SWORD ClampedWord(float value, int32_t low, int32_t high)
{
    const int32_t truncated = static_cast<int32_t>(value);
    return static_cast<SWORD>(truncated < low ? low : (truncated > high ? high : truncated));
}

struct NoiseSettings
{
    SWORD limits[2];
    SWORD weights[3];
};

// The first pass follows the noise level directly, gentler than the second pass's stored values.
NoiseSettings FirstPassSettings(const Tonalis1State& state)
{
    const float m = state.m_correction_values.GetElement(kValueNoiseLevel) / 100.0f;
    return {{static_cast<SWORD>(m * 15 + 5), static_cast<SWORD>(m * 25 + 10)},
            {ClampedWord((m * 0.3f + 0.1f) * 128, 0, 128), ClampedWord((m * 0.1f + 0.05f) * -128, -128, 0),
             ClampedWord((m * 0.1f + 0.03f) * -128, -128, 0)}};
}

NoiseSettings SecondPassSettings(const Tonalis1State& state)
{
    return {{state.m_noise_limits[0], state.m_noise_limits[1]},
            {state.m_noise_weights[0], state.m_noise_weights[1], state.m_noise_weights[2]}};
}

bool MatchesPlane(const InfoDataBufferPath1& reference, const InfoDataBufferPath1& plane)
{
    return reference.m_data != nullptr && PlaneWidth(reference) == PlaneWidth(plane) &&
           PlaneHeight(reference) == PlaneHeight(plane) && reference.m_stride == plane.m_stride;
}

// Blends the plane with its reference, which keeps the result. A reference of another size starts
// the filter again from this plane, which is left as it is.
HRESULT FilterAgainstReference(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& plane,
                               InfoDataBufferPath1& reference, const NoiseSettings& settings, bool withMotion)
{
    if (!MatchesPlane(reference, plane)) {
        reference = plane;
        return S_OK;
    }
    if (Param(state, kParamTemporalNoise) == 0)
        return S_OK;
    const SwordWords& limits = FillStepWords(StepWordList::Limits, {settings.limits[0], settings.limits[1]});
    const SwordWords& weights =
        FillStepWords(StepWordList::Weights, {settings.weights[0], settings.weights[1], settings.weights[2]});
    if (!withMotion)
        return state.m_operations.removeNoise2(PlaneWords(reference), PlaneWords(plane), plane.m_stride,
                                               PlaneWidth(plane), PlaneHeight(plane), limits, weights);
    InfoDataBufferPath1* motionMask = GetFrameChildPlane(frame, TonalisWorkSlot::kMotionMask);
    if (motionMask == nullptr || !HasSameLayout(*motionMask, plane))
        return E_UNEXPECTED;
    // Where the mask marks motion the new sample takes the larger weight.
    const SwordWords& conditionLimit = FillStepWords(StepWordList::ConditionLimit, {1, 0, 0, 0, 0, 0, 0, 0});
    const SwordWords& conditionWeight = FillStepWords(StepWordList::ConditionWeight, {12, 0, 0, 0, 0, 0, 0, 0});
    return state.m_operations.removeNoise3(PlaneWords(reference), PlaneWords(plane), PlaneWords(*motionMask),
                                           plane.m_stride, PlaneWidth(plane), PlaneHeight(plane), limits, weights,
                                           conditionLimit, conditionWeight);
}

// The motion mask for the next frame: where the luminance moved more than a little since the
// previous frame, spread to the neighbours and smoothed. Blocks are exchanged rather than copied
// where the planes end up the same: the difference is taken in the previous frame's block, which
// the luminance replaces afterwards, and the second stage starts from the first stage's mask (its
// threshold at 255 would clear a plane that is replaced at once, so it is left out).
HRESULT UpdateMotionMask(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                         const SWORD* mask)
{
    InfoDataBufferPath1& previous = state.m_stored_frames[kStoredPreviousLuma];
    if (!MatchesPlane(previous, luma))
        previous = luma;
    InfoDataBufferPath1* difference = GetFrameChildPlane(frame, TonalisWorkSlot::kDifference);
    InfoDataBufferPath1* motionMask = GetFrameChildPlane(frame, TonalisWorkSlot::kMotionMask);
    if (difference == nullptr || motionMask == nullptr || !HasSameLayout(previous, *difference))
        return E_UNEXPECTED;
    const OptimFunctionTableSWORD& operations = state.m_operations;
    ApplyToPlane(operations.absoluteDifference, previous, mask, nullptr, nullptr, 0, &luma);
    HRESULT result = previous.ExchangeBuffersAndDataFromCurrent(*difference);
    const SwordVector threshold(kMotionThreshold), mark(kMotionMark);
    ApplyToPlane(operations.thresholdSelect, *difference, mask, threshold.words, mark.words);
    for (int stage = 0; stage < 2 && SUCCEEDED(result); ++stage) {
        if (stage == 1)
            result = difference->ExchangeBuffersAndDataFromCurrent(*motionMask);
        // The borders hold what the plane was made from, not the mask.
        if (SUCCEEDED(result))
            result = difference->FillBoardBufferForSvertka(true);
        const SwordWords& kernel = FillKernel(StepWordList::KernelA, 1, kMotionCentres[stage]);
        if (SUCCEEDED(result))
            result = ConvolvePlane(operations, *difference, *motionMask, kernel, UnitGainFactor(kernel));
    }
    previous = luma;
    return result;
}

// How far the smoothing setting lies from its neutral value 51, and on which side. A value the
// setting stored unchecked is read as the default when it is not a number and held to 1..101, so
// the distance never exceeds 50.
struct SmoothingSetting
{
    float distance;
    bool belowNeutral;
};
SmoothingSetting ReadSmoothingSetting(const Tonalis1State& state)
{
    float value = state.m_correction_values.GetElement(kValueEdgeSmoothing);
    CheckFloatValue(&value, kDefaultSmoothing);
    value = value < 1.0f ? 1.0f : (value > 101.0f ? 101.0f : value);
    return {std::fabs(value - kNeutralSmoothing), value < kNeutralSmoothing};
}

HRESULT EdgeMap(Tonalis1State& state, InfoDataBufferPath1& plane, InfoDataBufferPath1& edgeMap)
{
    HRESULT result = plane.FillBoardBufferForSvertka(true);
    if (FAILED(result))
        return result;
    const SwordWords& edge = FillStepWords(StepWordList::KernelA, {-1, -2, -1, -2, 12, -2, -1, -2, -1});
    return ConvolvePlane(state.m_operations, plane, edgeMap, edge, kUnitFactor);
}

// One smoothing pass of the strength. Below the neutral value the samples on strong edges are
// averaged and the rest kept; above it the flat areas are averaged and the edges kept.
HRESULT SmoothingPass(Tonalis1State& state, InfoDataBufferPath1& plane, InfoDataBufferPath1& edgeMap,
                      InfoDataBufferPath1& work, float strength, bool belowNeutral)
{
    if (Param(state, kParamEdgeMapPerPass) != 0) {
        const HRESULT mapped = EdgeMap(state, plane, edgeMap);
        if (FAILED(mapped))
            return mapped;
    }
    const SWORD k = static_cast<SWORD>(25.0f - strength);
    const SWORD plainCentre = static_cast<SWORD>(k + 8);
    const SwordWords& kernelA = belowNeutral ? FillKernel(StepWordList::KernelA, 0, plainCentre)
                                       : FillKernel(StepWordList::KernelA, 1, k);
    const SwordWords& kernelB = belowNeutral ? FillKernel(StepWordList::KernelB, 1, k)
                                       : FillKernel(StepWordList::KernelB, 0, plainCentre);
    int32_t threshold = static_cast<int32_t>(belowNeutral ? 260.0f - strength * 10.0f : strength * 4.0f - 3.0f);
    threshold = threshold <= 0 ? 1 : (threshold > 250 ? 250 : threshold);
    HRESULT result = edgeMap.FillBoardBufferForSvertka(true);
    if (SUCCEEDED(result))
        result = plane.FillBoardBufferForSvertka(true);
    if (FAILED(result))
        return result;
    result = state.m_operations.conditionalConvolution(
        BorderedOrigin(plane), BorderedOrigin(work), BorderedOrigin(edgeMap), plane.m_stride, PlaneWidth(plane) + 16,
        PlaneHeight(plane) + 2, UnitGainFactor(kernelA), kernelA, kernelB,
        static_cast<SWORD>(threshold));
    if (FAILED(result))
        return result;
    TakeDataRange(work, plane);
    return plane.ExchangeBuffersAndDataFromCurrent(work);
}

HRESULT SmoothPlane(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& plane,
                    const SmoothingSetting& setting)
{
    InfoDataBufferPath1* edgeMap = GetFrameChildPlane(frame, TonalisWorkSlot::kEdgeMap);
    InfoDataBufferPath1* work = GetFrameChildPlane(frame, TonalisWorkSlot::kDifference);
    if (edgeMap == nullptr || work == nullptr || !HasSameLayout(plane, *edgeMap) || !HasSameLayout(plane, *work))
        return E_UNEXPECTED;
    HRESULT result = S_OK;
    if (Param(state, kParamEdgeMapPerPass) == 0)
        result = EdgeMap(state, plane, *edgeMap);
    const float d = setting.distance;
    if (SUCCEEDED(result))
        result = SmoothingPass(state, plane, *edgeMap, *work, d <= kStrongestPass ? d : kStrongestPass,
                               setting.belowNeutral);
    if (SUCCEEDED(result) && d > kStrongestPass)
        result = SmoothingPass(state, plane, *edgeMap, *work, d - kStrongestPass, setting.belowNeutral);
    return result;
}

HRESULT SmoothChroma(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& chroma,
                     const SmoothingSetting& setting)
{
    const OptimFunctionTableSWORD& operations = state.m_operations;
    InfoDataBufferPath1& u = state.m_work_u;
    InfoDataBufferPath1& v = state.m_work_v;
    HRESULT result = u.AllocBufferEqualCurrent(chroma);
    if (SUCCEEDED(result))
        result = v.AllocBufferEqualCurrent(chroma);
    if (FAILED(result))
        return result;
    u.m_size_data = v.m_size_data = chroma.m_size_data;
    result = operations.splitUV(PlaneWords(chroma), PlaneWords(u), PlaneWords(v), chroma.m_stride,
                                PlaneWidth(chroma), PlaneHeight(chroma));
    if (SUCCEEDED(result))
        result = SmoothPlane(state, frame, u, setting);
    if (SUCCEEDED(result))
        result = SmoothPlane(state, frame, v, setting);
    if (FAILED(result))
        return result;
    return operations.joinUV(PlaneWords(chroma), PlaneWords(u), PlaneWords(v), chroma.m_stride, PlaneWidth(chroma),
                             PlaneHeight(chroma));
}

} // namespace

HRESULT HelperFunction_RemoveNoise(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                   InfoDataBufferPath1* chroma, const SWORD* mask, bool firstPass, bool motion)
{
    if (state.m_enable == 0)
        return S_OK;
    const NoiseSettings settings = firstPass ? FirstPassSettings(state) : SecondPassSettings(state);
    const bool withMotion = !firstPass && motion;
    // As everywhere in the pipeline, each operation's result gives way to the next one's.
    InfoDataBufferPath1* references = state.m_stored_frames;
    FilterAgainstReference(state, frame, luma,
                           references[firstPass ? kStoredLumaFirstPass : kStoredLumaSecondPass], settings, withMotion);
    if (!firstPass && state.m_noise_chroma != 0 && chroma != nullptr)
        FilterAgainstReference(state, frame, *chroma, references[kStoredChromaSecondPass], settings, withMotion);
    if (withMotion)
        UpdateMotionMask(state, frame, luma, mask);
    // A mask value of all ones (the only one the settings make) leaves every sample as it is.
    if (state.m_noise_mask == -1)
        return S_OK;
    const SwordVector maskValue(state.m_noise_mask);
    return ApplyToPlane(state.m_operations.andConstant, luma, mask, maskValue.words);
}

HRESULT EdgeSmoothingFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                              InfoDataBufferPath1* chroma, const SWORD* /*mask*/)
{
    if (state.m_enable == 0 || Param(state, kParamEdgeSmoothing) == 0)
        return S_OK;
    const SmoothingSetting setting = ReadSmoothingSetting(state);
    if (setting.distance == 0.0f)
        return S_OK;
    HRESULT result = SmoothPlane(state, frame, luma, setting);
    if (Param(state, kParamEdgeSmoothingChroma) != 0 && chroma != nullptr)
        result = SmoothChroma(state, frame, *chroma, setting);
    return result;
}
