// The gradient step on a ramp of every 8-bit value: the mappings of the effects, when the table
// is rebuilt, the animation's speed on the manual clock, and the effects that map nothing.
#include "TonalisStepTestSupport.h"

#include "ManualTestClock.h"
#include "Tonalis1_GradientTables.h"

#include <string>

namespace {

// 16 x 16 samples holding 0 to 255 once each.
struct RampFrame : StepFrame
{
    RampFrame() : StepFrame(TestFrameFormat::Y8, 16, 16, [](int x, int y) { return static_cast<uint8_t>(16 * y + x); })
    {
    }
    int16_t Mapped(int value) { return PlaneSample(Luma(), value % 16, value / 16); }
};

HRESULT RunEffect(StepState& step, RampFrame& frame)
{
    return GraduentEffectsFunction(step.state, frame.frame, frame.Luma(), kTonalisAllSamples);
}

TEST(TonalisGradientEffect, EffectsMapTheLuminance)
{
    ManualTestClock clock;
    struct Case
    {
        int32_t effect;
        int (*expected)(int value);
    };
    const Case cases[] = {
        {3, [](int v) { return 255 - v; }},
        {9, [](int v) { return v < 50 ? 0 : 255; }},
        {2, [](int v) { return v / 30 * 30; }},
        {5, [](int v) { return v / 20 % 2 == 0 ? 0 : 255; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("effect " + std::to_string(c.effect));
        StepState step;
        step.Param(kParamGradientEffect, c.effect);
        RampFrame frame;
        EXPECT_EQ(S_OK, RunEffect(step, frame));
        for (int v = 0; v < 256; ++v)
            ASSERT_EQ(c.expected(v), frame.Mapped(v)) << v;
    }
}

TEST(TonalisGradientEffect, OnlyANewEffectNumberRebuildsTheTable)
{
    ManualTestClock clock;
    StepState step;
    step.Param(kParamGradientEffect, 3);
    RampFrame inverted;
    RunEffect(step, inverted);
    EXPECT_EQ(200, inverted.Mapped(55));

    step.Param(kParamGradientEffect, 9);
    RampFrame thresholded;
    RunEffect(step, thresholded);
    EXPECT_EQ(255, thresholded.Mapped(55));

    // The same number again keeps the table as it is, whatever it holds.
    step.state.m_gradient_table.Fill(42);
    step.Param(kParamGradientEffect, 9);
    RampFrame kept;
    RunEffect(step, kept);
    EXPECT_EQ(42, kept.Mapped(55));
}

TEST(TonalisGradientEffect, AnimatedTablesTurnWithTimeAndEffect5TurnsAtHalfSpeed)
{
    for (const int32_t effect : {3, 5}) {
        SCOPED_TRACE(effect);
        ManualTestClock clock(0);
        StepState step;
        step.Param(kParamGradientEffect, kGradientAnimate | effect);
        RampFrame first;
        RunEffect(step, first);
        EXPECT_EQ(0.0f, step.state.m_gradient_phase);
        clock.Advance(2000);
        RampFrame later;
        RunEffect(step, later);
        const float expected = effect == 5 ? 0.1f : 0.2f;
        EXPECT_FLOAT_EQ(expected, step.state.m_gradient_phase);
        const int shift = static_cast<int>(expected * 255.0f);
        const GradientTable& table = step.state.m_gradient_table;
        EXPECT_EQ(table.GetElement((100 + shift) % 256), later.Mapped(100));
        clock.Advance(effect == 5 ? 18000 : 8000);
        RampFrame wrapped;
        RunEffect(step, wrapped);
        EXPECT_NEAR(0.0f, step.state.m_gradient_phase, 1e-5f);
    }
}

TEST(TonalisGradientEffect, RandomEffectStaysSmall)
{
    ManualTestClock clock;
    StepState step;
    step.Param(kParamGradientEffect, 4);
    RampFrame frame;
    EXPECT_EQ(S_OK, RunEffect(step, frame));
    for (int v = 0; v < 256; ++v) {
        ASSERT_GE(frame.Mapped(v), 0);
        ASSERT_LE(frame.Mapped(v), v < 10 ? v : 10) << v;
    }
}

// Numbers without a table of their own, and a step switched off, leave the picture as it is.
TEST(TonalisGradientEffect, UnknownEffectsAndTheSwitchesChangeNothing)
{
    ManualTestClock clock;
    struct Case
    {
        const char* name;
        int32_t effect;
        int32_t effectsOff;
        int32_t enable;
    };
    const Case cases[] = {{"effect 0", 0, 0, 1},        {"effect 12", 12, 0, 1},  {"effect 19", 19, 0, 1},
                          {"effects off", 3, 1, 1},     {"corrections off", 3, 0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StepState step;
        step.Param(kParamGradientEffect, c.effect | kGradientSharpenFirst);
        step.Param(kParamEffectsOff, c.effectsOff);
        step.state.m_enable = c.enable;
        RampFrame frame;
        EXPECT_EQ(S_OK, RunEffect(step, frame));
        for (int v = 0; v < 256; ++v)
            ASSERT_EQ(v, frame.Mapped(v)) << v;
    }
}

} // namespace
