#include "CorrectionSettings.h"

namespace {

// Interface methods of the correction interface the scenes call.
constexpr int32_t kSetEnable = 0;
constexpr int32_t kSetValue = 1;
constexpr int32_t kSetParam = 3;

// Correction values and integer parameters, as the interface numbers them.
constexpr int32_t kSharpness = 3;
constexpr int32_t kEdgeSmoothing = 6;
constexpr int32_t kGradientEffect = 1;
constexpr int32_t kSplitView = 7;
constexpr int32_t kTemporalNoise = 14;
constexpr int32_t kMotionAdaptiveNoise = 15;
constexpr int32_t kAnimatedInversion = 0x10000 | 3;

} // namespace

std::vector<CorrectionSetting> CorrectionChainSettings(bool colour, bool gradient, bool noise)
{
    return {{kSetEnable, 0, colour ? 1.0f : 0.0f},
            {kSetValue, kSharpness, 51},
            {kSetValue, kEdgeSmoothing, 51},
            {kSetParam, kSplitView, 0},
            {kSetParam, kGradientEffect, static_cast<float>(gradient ? kAnimatedInversion : 0)},
            {kSetParam, kTemporalNoise, noise ? 1.0f : 0.0f},
            {kSetParam, kMotionAdaptiveNoise, noise ? 1.0f : 0.0f}};
}

std::vector<CorrectionSetting> CorrectionDefaultSettings()
{
    return {{kSetEnable, 0, 1},
            {kSetValue, kSharpness, 1},
            {kSetValue, kEdgeSmoothing, 5},
            {kSetParam, kSplitView, 1},
            {kSetParam, kGradientEffect, 0},
            {kSetParam, kTemporalNoise, 1},
            {kSetParam, kMotionAdaptiveNoise, 1}};
}

namespace {

HRESULT Apply(ObjectDataPath1& filter, const CorrectionSetting& setting)
{
    ListParamsDataPath1 params;
    if (setting.method == kSetEnable) {
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetBool(setting.value != 0);
    } else {
        // The interface table types a value's index unsigned and a parameter's index signed.
        if (setting.method == kSetParam) {
            params.SetNumberParams(3);
            params.m_params.GetElement(0).SetInt(setting.index);
            params.m_params.GetElement(1).SetInt(static_cast<int32_t>(setting.value));
            params.m_params.GetElement(2).SetFloat(1.0f);
        } else {
            params.SetNumberParams(2);
            params.m_params.GetElement(0).SetUInt(static_cast<uint32_t>(setting.index));
            params.m_params.GetElement(1).SetFloat(setting.value);
        }
    }
    return filter.CallInterfaceFunction(IID_IControlCorrectVideoData, setting.method, &params);
}

} // namespace

HRESULT ApplyCorrectionSettings(ObjectDataPath1& filter, const std::vector<CorrectionSetting>& settings)
{
    for (const CorrectionSetting& setting : settings) {
        const HRESULT applied = Apply(filter, setting);
        if (FAILED(applied))
            return applied;
    }
    return S_OK;
}
