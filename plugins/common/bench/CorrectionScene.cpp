// The correction filter's pipeline with every correction step off: the split into work planes,
// the histogram, the reduced copies, the output planes, the average level and their events, on
// YUY2 frames of a bright block moving over a dark picture.
#include "PluginBenchScene.h"

#include "TestVideoFrames.h"

#include <array>

namespace {

class CorrectionOffScene : public PluginBenchScene
{
public:
    const char* Name() const override { return "correction-off"; }

    HRESULT Prepare(ObjectDataPath1& filter, int width, int height) override
    {
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetBool(false);
        const HRESULT disabled = filter.CallInterfaceFunction(IID_IControlCorrectVideoData, 0, &params);
        if (FAILED(disabled))
            return disabled;
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
    std::array<InfoDataBufferPath1, kSteps> m_frames;
};

} // namespace

std::unique_ptr<PluginBenchScene> MakeCorrectionOffScene()
{
    return std::make_unique<CorrectionOffScene>();
}
