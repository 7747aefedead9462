// The correction filter's pipeline on YUY2 frames of a bright block moving over a dark picture,
// under settings that add one kind of step after another, so that each kind's share of the time
// is the difference between two scenes:
//   correction-off             every correction step off: the split into work planes, the
//                              histogram, the reduced copies, the output planes, the average level
//                              and their events
//   correction-colour          the colour steps (the default brightness, hue, saturation, gamma)
//   correction-colour-gradient and the animated gradient effect 3
//   correction-chain           and the temporal noise removal in both passes: the configuration of
//                              the source chain (sharpness and edge smoothing neutral, split view off)
//   correction-defaults        every setting at its default
#include "PluginBenchScene.h"

#include "TestVideoFrames.h"

#include <array>
#include <initializer_list>
#include <vector>

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

struct CorrectionSetting
{
    int32_t method;
    int32_t index; // unused by the enable method
    float value;
};

// Every scene states each setting another scene changes, since the scenes share one instance.
std::vector<CorrectionSetting> ChainSettings(bool colour, bool gradient, bool noise)
{
    return {{kSetEnable, 0, colour ? 1.0f : 0.0f},
            {kSetValue, kSharpness, 51},
            {kSetValue, kEdgeSmoothing, 51},
            {kSetParam, kSplitView, 0},
            {kSetParam, kGradientEffect, static_cast<float>(gradient ? kAnimatedInversion : 0)},
            {kSetParam, kTemporalNoise, noise ? 1.0f : 0.0f},
            {kSetParam, kMotionAdaptiveNoise, noise ? 1.0f : 0.0f}};
}

std::vector<CorrectionSetting> DefaultSettings()
{
    return {{kSetEnable, 0, 1},
            {kSetValue, kSharpness, 1},
            {kSetValue, kEdgeSmoothing, 5},
            {kSetParam, kSplitView, 1},
            {kSetParam, kGradientEffect, 0},
            {kSetParam, kTemporalNoise, 1},
            {kSetParam, kMotionAdaptiveNoise, 1}};
}

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

class CorrectionScene : public PluginBenchScene
{
public:
    CorrectionScene(const char* name, std::vector<CorrectionSetting> settings)
        : m_name(name), m_settings(std::move(settings))
    {
    }

    const char* Name() const override { return m_name; }

    HRESULT Prepare(ObjectDataPath1& filter, int width, int height) override
    {
        for (const CorrectionSetting& setting : m_settings) {
            const HRESULT applied = Apply(filter, setting);
            if (FAILED(applied))
                return applied;
        }
        for (int k = 0; k < kSteps; ++k) {
            const int left = width / 8 + k * width / 16;
            const HRESULT result = MakeTestFrame(m_frames[k], TestFrameFormat::Yuy2, width, height,
                                                 BlockLuma(30, 220, left, height / 4, left + width / 4, height / 2), k);
            if (FAILED(result))
                return result;
        }
        return S_OK;
    }

    int StepCount() const override { return kSteps; }

    PluginBenchInput Step(int k) override { return {&m_frames[k % kSteps], 0}; }

private:
    static constexpr int kSteps = 4;
    const char* m_name;
    std::vector<CorrectionSetting> m_settings;
    std::array<InfoDataBufferPath1, kSteps> m_frames;
};

} // namespace

std::vector<std::unique_ptr<PluginBenchScene>> MakeCorrectionScenes()
{
    std::vector<std::unique_ptr<PluginBenchScene>> scenes;
    scenes.push_back(std::make_unique<CorrectionScene>("correction-off", ChainSettings(false, false, false)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-colour", ChainSettings(true, false, false)));
    scenes.push_back(
        std::make_unique<CorrectionScene>("correction-colour-gradient", ChainSettings(true, true, false)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-chain", ChainSettings(true, true, true)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-defaults", DefaultSettings()));
    return scenes;
}
