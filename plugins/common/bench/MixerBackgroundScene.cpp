// The mixer's background effect as a base channel and two others feed it: a mask blend over the
// whole picture (op 11, softening 60) with a picture-in-picture (op 1) in the top-left quarter on
// top. Each cycle hands over a frame of both channels, which are scaled into their working frames,
// then the base frame they are mixed into; the figure is per base frame. No driver is served.
#include "PluginBenchScene.h"

#include "MixerBenchCalls.h"

#include "TestVideoFrames.h"
#include "InfoBackgroundEffectForMixerFilter.h"

#include <array>

namespace {

class MixerBackgroundScene : public PluginBenchScene
{
public:
    const char* Name() const override { return "mixer-background"; }

    HRESULT Prepare(ObjectDataPath1& filter, int width, int height) override
    {
        HRESULT result = S_OK;
        for (int32_t input = 0; input < kInputs && SUCCEEDED(result); ++input)
            result = CallMixerData(filter, 0, input, true);
        if (SUCCEEDED(result))
            result = CallMixerData(filter, 2, kOptionBackgroundEffect, 1);
        if (SUCCEEDED(result))
            result = LoadRecord(filter);
        for (int32_t input = 0; input < kInputs && SUCCEEDED(result); ++input)
            result = MakeTestFrame(m_frames[input], TestFrameFormat::Yuy2, width, height,
                                   BlockLuma(static_cast<uint8_t>(40 + 60 * input), 200, width / 4, height / 4,
                                             width / 2, height / 2));
        return result;
    }

    int StepCount() const override { return kInputs; }
    int FramesPerCycle() const override { return 1; }

    // The channels' frames first, the base frame last. A channel's frame leaves the mixer as a
    // virtual frame: it carries its picture again for the next cycle.
    PluginBenchInput Step(int k) override
    {
        const int32_t input = (k + 1) % kInputs;
        InfoDataBufferPath1& frame = m_frames[input];
        frame.m_info.m_state &= ~InfoCallInterfaceDataPath1::kStateVirtual;
        return {&frame, input};
    }

private:
    static constexpr int32_t kInputs = 3;
    static constexpr int32_t kOptionBackgroundEffect = 2;

    HRESULT LoadRecord(ObjectDataPath1& filter)
    {
        using Record = InfoBackgroundEffectForMixerFilter;
        m_record.m_base_channel = 0;
        // Channel 0: the mask blend over the whole base, fed by input 2.
        m_record.m_input.GetElement(0) = 2;
        m_record.m_enabled.GetElement(0) = 1;
        m_record.m_operation.GetElement(0) = 11;
        m_record.m_right.GetElement(0) = 1.0f;
        m_record.m_bottom.GetElement(0) = 1.0f;
        m_record.m_parameters.GetElement(Record::ParameterIndex(0, 11, 0)) = 100.0f;
        m_record.m_parameters.GetElement(Record::ParameterIndex(0, 11, 1)) = 60.0f;
        // Channel 1: the default picture-in-picture, fed by input 1.
        m_record.m_input.GetElement(1) = 1;
        m_record.m_enabled.GetElement(1) = 1;
        ListParamsDataPath1 params;
        params.SetNumberParams(3);
        params.m_params.GetElement(0).SetInt(1);
        params.m_params.GetElement(1).SetPointer(&m_record, 0, false);
        params.m_params.GetElement(2).SetInt(static_cast<int32_t>(sizeof(m_record)));
        return filter.CallInterfaceFunction(IID_MixerDataTundrel, 3, &params);
    }

    std::array<InfoDataBufferPath1, kInputs> m_frames;
    InfoBackgroundEffectForMixerFilter m_record;
};

} // namespace

std::unique_ptr<PluginBenchScene> MakeMixerBackgroundScene()
{
    return std::make_unique<MixerBackgroundScene>();
}
