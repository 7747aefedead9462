// Colour correction of the split planes: equalisation, brightness with its adaptive offset, gamma,
// sharpness, hue and saturation.
#include "Tonalis1_StepKernels.h"

#include <cmath>

namespace {

constexpr int32_t kNeutralSharpness = 51;
constexpr float kAdaptiveDeadZone = 0.001f;
constexpr int32_t kMostBrightness = 255;
constexpr SWORD kUnitSaturation = 32;

int32_t Clamp(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : (value > high ? high : value);
}

int32_t Param(const Tonalis1State& state, TonalisParam index)
{
    return state.m_params_int.GetElement(index);
}

// The brightness value with the adaptive offset, which moves one step a frame towards the target
// level and is left out of the sum while held.
int32_t BrightnessWithOffset(Tonalis1State& state)
{
    int32_t brightness = static_cast<int32_t>(state.m_correction_values.GetElement(kValueBrightness));
    if (Param(state, kParamAdaptiveBrightness) == 0)
        return brightness;
    const float distance = state.m_params_float.GetElement(0) - state.m_average_level;
    if (std::fabs(distance) > kAdaptiveDeadZone)
        state.m_adaptive_offset =
            Clamp(state.m_adaptive_offset + (distance > 0 ? 1 : -1), -kMostBrightness, kMostBrightness);
    if (state.m_hold_adaptive == 0)
        brightness = Clamp(brightness + state.m_adaptive_offset, -kMostBrightness, kMostBrightness);
    return brightness;
}

HRESULT MapThroughCurve(const Tonalis1State& state, InfoDataBufferPath1& plane, const TonalisCurve& curve)
{
    return state.m_operations.gradientCorrection(PlaneWords(plane), plane.m_stride, PlaneWidth(plane),
                                                 PlaneHeight(plane), &curve.GetElement(0), curve.GetCount());
}

// One 3 x 3 pass of the kernel sharpness through the work plane, which then holds the old samples.
HRESULT ConvolveLumaPass(Tonalis1State& state, InfoDataBufferPath1& luma, InfoDataBufferPath1& work, SWORD outer,
                         SWORD centre)
{
    HRESULT result = luma.FillBoardBufferForSvertka(true);
    if (FAILED(result))
        return result;
    const SwordWords& kernel = FillKernel(StepWordList::KernelA, outer, centre);
    result = ConvolvePlane(state.m_operations, luma, work, kernel, UnitGainFactor(kernel));
    if (FAILED(result))
        return result;
    return luma.ExchangeBuffersAndDataFromCurrent(work);
}

HRESULT KernelSharpness(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma, int32_t s)
{
    if (s == kNeutralSharpness)
        return S_FALSE;
    InfoDataBufferPath1* work = GetFrameChildPlane(frame, TonalisWorkSlot::kLumaWork);
    if (work == nullptr || !HasSameLayout(luma, *work))
        return E_UNEXPECTED;
    // Below the neutral value the outer weights are negative (sharpening), above it positive
    // (softening); a value far from neutral takes a second pass.
    const bool sharpen = s < kNeutralSharpness;
    const int32_t passes = (sharpen ? (50 - s) : (s - 52)) / 25;
    HRESULT result = S_OK;
    for (int32_t j = 0; j <= passes && SUCCEEDED(result); ++j) {
        const int32_t centre = sharpen ? (passes == 0 ? s - 17 : j * (s - 1) + 9)
                                       : (passes == 0 ? 76 - s : (101 - s) * j);
        result = ConvolveLumaPass(state, luma, *work, sharpen ? -1 : 1, static_cast<SWORD>(centre));
    }
    return result;
}

// The hue turn's result is followed by the saturation's, as every step's by the next.
HRESULT HueAndSaturation(Tonalis1State& state, InfoDataBufferPath1& chroma, const SWORD* mask)
{
    if (state.m_correction_values.GetElement(kValueHue) != 0.0f) {
        const SWORD* matrix = &state.m_hue_matrix.GetElement(0);
        state.m_operations.correctHue(PlaneWords(chroma), &matrix, chroma.m_stride, PlaneWidth(chroma),
                                      PlaneHeight(chroma));
    }
    // Saturation 1.0 is the multiplier 32: (c - 128) x 32 >> 5 leaves the chroma as it is.
    const SWORD multiplier = static_cast<SWORD>(state.m_correction_values.GetElement(kValueSaturation) * 32.0f);
    if (multiplier == kUnitSaturation)
        return S_OK;
    const SwordVector multipliers(multiplier);
    const SwordVector grey(128);
    return ApplyToPlane(state.m_operations.contrastAboutPivot, chroma, mask, multipliers.words, grey.words, 5);
}

} // namespace

HRESULT ColorCorrectionFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                                InfoDataBufferPath1* chroma, const SWORD* mask)
{
    if (state.m_enable == 0)
        return S_OK;
    const OptimFunctionTableSWORD& operations = state.m_operations;
    HRESULT result = S_OK;
    if (Param(state, kParamEqualiseHistogram) != 0)
        result = HelperFunction_Histogram(state, frame, luma, nullptr, false, true);
    const SwordVector brightness(static_cast<SWORD>(BrightnessWithOffset(state)));
    result = ApplyToPlane(operations.addConstant, luma, mask, brightness.words);
    // Gamma 1.0 makes the identity table: mapping through it changes nothing.
    if (state.m_correction_values.GetElement(kValueGamma) != 1.0f)
        result = MapThroughCurve(state, luma, state.m_gamma_table);
    result = ApplyToPlane(operations.clampTo255, luma, mask);
    const HRESULT sharpened = SharpnessFunction(
        state, frame, luma, mask, static_cast<int32_t>(state.m_correction_values.GetElement(kValueSharpness)));
    result = sharpened;
    if (chroma != nullptr)
        result = HueAndSaturation(state, *chroma, mask);
    // The luminance is clamped already unless the sharpness changed it.
    if (sharpened != S_FALSE)
        result = ApplyToPlane(operations.clampTo255, luma, mask);
    if (chroma != nullptr)
        result = ApplyToPlane(operations.clampTo255, *chroma, mask);
    return result;
}

HRESULT SharpnessFunction(Tonalis1State& state, InfoDataBufferPath1& frame, InfoDataBufferPath1& luma,
                          const SWORD* mask, int32_t sharpness)
{
    if (Param(state, kParamKernelSharpness) != 0)
        return KernelSharpness(state, frame, luma, sharpness);
    // 0 to 25 with 13 neutral: below it sharpens with the strength w, above it blurs with 25 - w
    // (a lower strength acts more strongly).
    const int32_t weight = static_cast<int32_t>(static_cast<float>(sharpness) / 101.0f * 25.0f);
    if (weight < 13) {
        const SwordVector strength(static_cast<SWORD>(weight));
        return ApplyToPlane(state.m_operations.sharpen, luma, mask, strength.words);
    }
    if (weight > 13) {
        const SwordVector strength(static_cast<SWORD>(25 - weight));
        return ApplyToPlane(state.m_operations.blur, luma, mask, strength.words);
    }
    return S_FALSE;
}

HRESULT EqualiseHistogram(Tonalis1State& state, InfoDataBufferPath1& luma, const uint32_t* bins)
{
    if (bins == nullptr)
        return E_INVALIDARG;
    const double samples = static_cast<double>(PlaneWidth(luma)) * PlaneHeight(luma);
    if (samples <= 0)
        return E_UNEXPECTED;
    TonalisCurve curve;
    double cumulative = 0.0;
    for (uint32_t i = 0; i < curve.GetCount(); ++i) {
        cumulative += bins[i] / samples;
        curve.GetElement(i) = static_cast<SWORD>(Clamp(static_cast<int32_t>(cumulative * 255.0), 0, 255));
    }
    return MapThroughCurve(state, luma, curve);
}
