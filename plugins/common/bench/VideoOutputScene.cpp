// The video output showing every frame in a shown window 640 pixels wide: the choice of the
// scaled copy, its conversion to YUY2 and the upload into the render library's surfaces. The
// screen blit is not timed: it happens in the window's paint, and no message is handled while
// the transforms are timed.
#include "PluginBenchScene.h"

#include "TestVideoFrames.h"

#include <cstdio>

namespace {

class VideoOutputScene : public PluginBenchScene
{
public:
    const char* Name() const override { return "video-output"; }

    HRESULT Prepare(ObjectDataPath1& filter, int width, int height) override
    {
        HRESULT result = CallVideoOutput(filter, 5, [](InfoParamDataPath1& param) {
            param.SetRect(RECT{0, 0, kWindowWidth, kWindowWidth * 3 / 4});
        });
        if (SUCCEEDED(result))
            result = CallVideoOutput(filter, 3, [](InfoParamDataPath1& param) { param.SetBool(true); });
        HWND window = nullptr;
        if (SUCCEEDED(result))
            result = CallVideoOutput(
                filter, 13, [](InfoParamDataPath1& param) { param.SetWindowPointer(nullptr, 0, false); }, &window);
        // The first paint builds the render library's device; frames before it are not uploaded.
        if (SUCCEEDED(result) && !UpdateWindow(window))
            result = E_FAIL;
        if (SUCCEEDED(result))
            result = MakeTestFrame(m_source, TestFrameFormat::Yuy2, width, height,
                                   BlockLuma(16, 200, width / 4, height / 4, width / 2, height / 2));
        if (SUCCEEDED(result))
            result = MakeTestFrame(m_frame, TestFrameFormat::Yuy2, width, height, UniformLuma(0));
        return result;
    }

    int StepCount() const override { return 1; }

    // The output consumes its frame: each step gets the source frame again.
    PluginBenchInput Step(int /*k*/) override
    {
        try {
            m_frame = m_source;
        }
        catch (...) {
            std::printf("  the frame cannot be restored\n");
        }
        return {&m_frame, 0};
    }

private:
    static constexpr int kWindowWidth = 640;

    // One video output call of one parameter; an answered window is read back into *window.
    template <class SetParam>
    static HRESULT CallVideoOutput(ObjectDataPath1& filter, int32_t method, SetParam set, HWND* window = nullptr)
    {
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        set(params.m_params.GetElement(0));
        const HRESULT result = filter.CallInterfaceFunction(IID_IVideoOutputRender1, method, &params);
        if (window != nullptr)
            *window = params.m_params.GetElement(0).GetWindow();
        return result;
    }

    InfoDataBufferPath1 m_source;
    InfoDataBufferPath1 m_frame;
};

} // namespace

std::unique_ptr<PluginBenchScene> MakeVideoOutputScene()
{
    return std::make_unique<VideoOutputScene>();
}
