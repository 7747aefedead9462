// A bright block moving over a dark YUY2 picture: every frame differs from the one before in two
// small regions, as a person walking through a still room does.
#include "PluginBenchScene.h"

#include "TestVideoFrames.h"

#include <array>

namespace {

class MovingBlockScene : public PluginBenchScene
{
public:
    const char* Name() const override { return "moving-block"; }

    HRESULT Prepare(ObjectDataPath1& /*filter*/, int width, int height) override
    {
        const int blockWidth = width / 8;
        const int blockHeight = height / 8;
        for (int k = 0; k < kSteps; ++k) {
            const int left = width / 8 + k * width / 32;
            const int top = height / 8 + k * height / 32;
            const HRESULT result =
                MakeTestFrame(m_frames[k], TestFrameFormat::Yuy2, width, height,
                              BlockLuma(16, 200, left, top, left + blockWidth, top + blockHeight), k);
            if (FAILED(result))
                return result;
        }
        return S_OK;
    }

    int StepCount() const override { return kSteps; }

    PluginBenchInput Step(int k) override { return {&m_frames[k % kSteps], 0}; }

private:
    static constexpr int kSteps = 8;
    std::array<InfoDataBufferPath1, kSteps> m_frames;
};

} // namespace

std::unique_ptr<PluginBenchScene> MakeMovingBlockScene()
{
    return std::make_unique<MovingBlockScene>();
}
