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

#include "CorrectionSettings.h"

#include "TestVideoFrames.h"

#include <array>
#include <vector>

namespace {

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
        const HRESULT applied = ApplyCorrectionSettings(filter, m_settings);
        if (FAILED(applied))
            return applied;
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
    scenes.push_back(std::make_unique<CorrectionScene>("correction-off", CorrectionChainSettings(false, false, false)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-colour", CorrectionChainSettings(true, false, false)));
    scenes.push_back(
        std::make_unique<CorrectionScene>("correction-colour-gradient", CorrectionChainSettings(true, true, false)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-chain", CorrectionChainSettings(true, true, true)));
    scenes.push_back(std::make_unique<CorrectionScene>("correction-defaults", CorrectionDefaultSettings()));
    return scenes;
}
