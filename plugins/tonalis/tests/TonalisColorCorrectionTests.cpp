// The colour steps on small frames: brightness with the adaptive offset, equalisation,
// saturation, both forms of sharpness, and the whole pipeline on a flat picture.
#include "TonalisStepTestSupport.h"

#include "MessageForObjectsDataPath1.h"

#include <string>

namespace {

// A brightness user value of 51 adds nothing; the hue value 181 turns nothing.
void MakeNeutral(StepState& step)
{
    step.Value(kValueBrightness, 51.0f);
    step.Value(kValueHue, 181.0f);
    step.Value(kValueSharpness, 51.0f);
    step.Param(kParamKernelSharpness, 1);
}

TEST(TonalisColorCorrection, FlatPictureThroughThePipelineTakesTheBrightness)
{
    for (const TestFrameFormat format : {TestFrameFormat::Yuy2, TestFrameFormat::Y8}) {
        SCOPED_TRACE(format == TestFrameFormat::Yuy2 ? "YUY2" : "Y8");
        StepState step;
        step.Param(kParamSplitView, 0);
        step.Value(kValueBrightness, 76.5f);
        if (format == TestFrameFormat::Y8) // no chroma to turn or grey out
            step.Value(kValueSaturation, 0.0f);
        InfoDataBufferPath1 frame;
        ASSERT_EQ(S_OK, MakeTestFrame(frame, format, 32, 16, UniformLuma(50)));
        ListEventsDataPath1 events;
        step.filter.CorrectImageFunction(&step.state, frame.m_data + frame.m_offset_data, frame.m_size_data, &events,
                                         &frame);
        for (uint32_t i = 0; i < events.GetCount(); ++i)
            delete events.GetElement(i).m_event;
        for (const int16_t sample : PlaneSamples(*GetFrameChildPlane(frame, FrameChildSlot::Luma(0))))
            ASSERT_EQ(180, sample);
        InfoDataBufferPath1* chroma = GetFrameChildPlane(frame, FrameChildSlot::Chroma(0));
        EXPECT_EQ(format == TestFrameFormat::Y8, chroma == nullptr);
        if (chroma != nullptr) {
            for (const int16_t sample : PlaneSamples(*chroma))
                ASSERT_EQ(128, sample);
        }
    }
}

TEST(TonalisColorCorrection, SaturationZeroGreysTheChromaAndOneKeepsIt)
{
    for (const float saturation : {0.0f, 51.0f}) {
        StepState step;
        MakeNeutral(step);
        step.Value(kValueSaturation, saturation);
        StepFrame frame(TestFrameFormat::Yuy2, 16, 8, UniformLuma(90));
        StepFrame::Fill(*frame.Chroma(), [](int x, int y) { return static_cast<uint8_t>(40 + 11 * x + y); });
        const std::vector<int16_t> before = PlaneSamples(*frame.Chroma());
        ASSERT_EQ(S_OK, ColorCorrectionFunction(step.state, frame.frame, frame.Luma(), frame.Chroma(),
                                                kTonalisAllSamples));
        const std::vector<int16_t> after = PlaneSamples(*frame.Chroma());
        for (size_t i = 0; i < after.size(); ++i)
            ASSERT_EQ(saturation == 0.0f ? 128 : before[i], after[i]) << i;
    }
}

TEST(TonalisColorCorrection, EqualisingAFlatPlaneMapsItsValueTo255)
{
    StepState step;
    MakeNeutral(step);
    step.Param(kParamEqualiseHistogram, 1);
    StepFrame frame(TestFrameFormat::Y8, 24, 8, UniformLuma(77));
    ColorCorrectionFunction(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples);
    for (const int16_t sample : PlaneSamples(frame.Luma()))
        ASSERT_EQ(255, sample);
}

TEST(TonalisColorCorrection, AdaptiveOffsetStepsOncePerFrameWithinItsRange)
{
    struct Case
    {
        const char* name;
        float target;
        float level;
        int32_t offset;
        int32_t hold;
        int32_t offsetAfter;
        int luma; // of a flat 100 with brightness 0
    };
    const Case cases[] = {
        {"below the target", 0.8f, 0.5f, 3, 0, 4, 104},
        {"above the target", 0.2f, 0.5f, 3, 0, 2, 102},
        {"within 0.001", 0.501f, 0.5f, 3, 0, 3, 103},
        {"just past 0.001", 0.5011f, 0.5f, 3, 0, 4, 104},
        {"at the top", 1.0f, 0.0f, 255, 0, 255, 255},
        {"at the bottom", 0.0f, 1.0f, -255, 0, -255, 0},
        {"held", 0.8f, 0.5f, 3, 1, 4, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StepState step;
        MakeNeutral(step);
        step.Param(kParamAdaptiveBrightness, 1);
        step.state.m_params_float.GetElement(0) = c.target;
        step.state.m_average_level = c.level;
        step.state.m_adaptive_offset = c.offset;
        step.state.m_hold_adaptive = c.hold;
        StepFrame frame(TestFrameFormat::Y8, 16, 8, UniformLuma(100));
        ColorCorrectionFunction(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples);
        EXPECT_EQ(c.offsetAfter, step.state.m_adaptive_offset);
        EXPECT_EQ(c.luma, PlaneSample(frame.Luma(), 5, 5));
    }
}

// Without the kernel form the value picks a constant filter: sharpen (entry 1) below weight 13,
// blur (entry 2) above it, with these strengths.
TEST(TonalisColorCorrection, ConstantSharpnessPicksTheFilterAndStrength)
{
    struct Case
    {
        int32_t sharpness;
        std::vector<int> call; // entry, strength; empty: no filter
    };
    const Case cases[] = {{1, {1, 0}}, {51, {1, 12}}, {53, {}}, {60, {2, 11}}, {101, {2, 0}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sharpness);
        StepState step;
        step.Param(kParamKernelSharpness, 0);
        step.state.m_operations.sharpen = RecordingSharpen;
        step.state.m_operations.blur = RecordingBlur;
        StepFrame frame(TestFrameFormat::Y8, 16, 8, BlockLuma(20, 200, 4, 2, 12, 6));
        RecordedCalls().clear();
        EXPECT_EQ(c.call.empty() ? S_FALSE : S_OK,
                  SharpnessFunction(step.state, frame.frame, frame.Luma(), kTonalisAllSamples, c.sharpness));
        ASSERT_EQ(c.call.empty() ? 0u : 1u, RecordedCalls().size());
        if (!c.call.empty()) {
            EXPECT_EQ(c.call, RecordedCalls()[0].words);
        }
    }
}

// The kernel form runs one or two 3 x 3 passes; each call records the nine weights and the factor
// (16384 / the weights' sum, rounded up).
TEST(TonalisColorCorrection, KernelSharpnessRunsThePassesOfItsValue)
{
    const auto kernel = [](int outer, int centre, int factor) {
        return std::vector<int>{outer, outer, outer, outer, centre, outer, outer, outer, outer, factor};
    };
    struct Case
    {
        int32_t sharpness;
        std::vector<std::vector<int>> passes;
    };
    const Case cases[] = {
        {51, {}},
        {30, {kernel(-1, 13, 3277)}},                      // 16384 / 5
        {20, {kernel(-1, 9, 16384), kernel(-1, 28, 820)}}, // sums 1 and 20
        {1, {kernel(-1, 9, 16384), kernel(-1, 9, 16384)}},
        {60, {kernel(1, 16, 683)}},                        // sum 24
        {101, {kernel(1, 0, 2048), kernel(1, 0, 2048)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sharpness);
        StepState step;
        step.state.m_operations.convolution2 = RecordingConvolution;
        StepFrame frame(TestFrameFormat::Y8, 16, 8, BlockLuma(20, 200, 4, 2, 12, 6));
        RecordedCalls().clear();
        EXPECT_EQ(c.passes.empty() ? S_FALSE : S_OK,
                  SharpnessFunction(step.state, frame.frame, frame.Luma(), kTonalisAllSamples, c.sharpness));
        ASSERT_EQ(c.passes.size(), RecordedCalls().size());
        for (size_t i = 0; i < c.passes.size(); ++i)
            EXPECT_EQ(c.passes[i], RecordedCalls()[i].words) << "pass " << i;
    }
}

// A pass leaves the convolution in the luminance plane: softening a bright block over a dark
// background spreads it to its neighbours.
TEST(TonalisColorCorrection, KernelSofteningChangesTheLuminancePlane)
{
    StepState step;
    StepFrame frame(TestFrameFormat::Y8, 16, 8, BlockLuma(0, 180, 8, 0, 16, 8));
    EXPECT_EQ(S_OK, SharpnessFunction(step.state, frame.frame, frame.Luma(), kTonalisAllSamples, 60));
    EXPECT_EQ(0, PlaneSample(frame.Luma(), 5, 4));
    EXPECT_EQ(180 * 3 / 24, PlaneSample(frame.Luma(), 7, 4));
    EXPECT_LT(PlaneSample(frame.Luma(), 8, 4), 180);
    EXPECT_EQ(180, PlaneSample(frame.Luma(), 12, 4));
}

// Sharpening overshoots at the block's edges; the colour step leaves the samples within 0..255.
TEST(TonalisColorCorrection, SharpenedLuminanceIsClampedAgain)
{
    StepState step;
    MakeNeutral(step);
    step.Value(kValueSharpness, 20.0f);
    StepFrame frame(TestFrameFormat::Y8, 16, 8, BlockLuma(5, 250, 8, 0, 16, 8));
    ColorCorrectionFunction(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples);
    EXPECT_EQ(0, PlaneSample(frame.Luma(), 7, 4));
    EXPECT_EQ(255, PlaneSample(frame.Luma(), 8, 4));
}

// With the factor rounded to the nearest, sums such as 20 lost a level of every flat area.
TEST(TonalisColorCorrection, KernelPassesKeepAFlatPlane)
{
    for (const int32_t sharpness : {1, 20, 30, 45, 60, 80, 101}) {
        SCOPED_TRACE(sharpness);
        StepState step;
        StepFrame frame(TestFrameFormat::Y8, 16, 8, UniformLuma(201));
        EXPECT_EQ(S_OK, SharpnessFunction(step.state, frame.frame, frame.Luma(), kTonalisAllSamples, sharpness));
        for (const int16_t sample : PlaneSamples(frame.Luma()))
            ASSERT_EQ(201, sample);
    }
}

} // namespace
