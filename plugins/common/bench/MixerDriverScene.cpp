// The mixer handing every frame of its input 0 to a virtual-camera driver that takes each frame
// before the next and accepts up to 1920x1080: the transform with the shared-buffer write. At
// 1920x1080 the half-size copy is written, since the whole frame does not fit the section.
#include "PluginBenchScene.h"

#include "MixerBenchCalls.h"

#include "TestVideoFrames.h"
#include "VirtualCameraDriverDouble.h"

#include <array>
#include <cstdio>

namespace {

class MixerDriverScene : public PluginBenchScene
{
public:
    const char* Name() const override { return "mixer-driver"; }

    HRESULT Prepare(ObjectDataPath1& filter, int width, int height) override
    {
        HRESULT result = CallMixerData(filter, 0, 0, true);
        if (SUCCEEDED(result))
            result = CallMixerData(filter, 2, 1, kPlexamoDriverStandard);
        if (SUCCEEDED(result))
            result = m_driver.Open(kPlexamoDriverStandard);
        if (SUCCEEDED(result))
            result = m_driver.SetLargestSize(1920, 1080);
        for (int k = 0; k < kSteps && SUCCEEDED(result); ++k)
            result = MakeTestFrame(m_frames[k], TestFrameFormat::Yuy2, width, height,
                                   BlockLuma(16, 200, k * width / 16, height / 4, k * width / 16 + width / 8,
                                             height / 2),
                                   k);
        m_reported = false;
        m_first = true;
        return result;
    }

    int StepCount() const override { return kSteps; }

    // The driver takes the previous frame, as it would between two frames.
    PluginBenchInput Step(int k) override
    {
        VirtualCameraFrameReport report;
        const bool previousSent = !m_first;
        m_first = false;
        if (SUCCEEDED(m_driver.ReadFrame(report, true)) && previousSent && report.flag == 0 && !m_reported) {
            std::printf("  the mixer wrote no frame for the driver\n");
            m_reported = true;
        }
        return {&m_frames[k % kSteps], 0};
    }

private:
    static constexpr int kSteps = 8;
    std::array<InfoDataBufferPath1, kSteps> m_frames;
    VirtualCameraDriverDouble m_driver;
    bool m_reported = false;
    bool m_first = true;
};

} // namespace

std::unique_ptr<PluginBenchScene> MakeMixerDriverScene()
{
    return std::make_unique<MixerDriverScene>();
}
