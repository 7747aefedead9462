#include "ObjectControlFrameRate.h"

#include "ManualTestClock.h"

#include <gtest/gtest.h>

namespace {

class FrameRateGate : public testing::Test
{
protected:
    void Advance(int64_t milliseconds) { m_clock.Advance(milliseconds); }

    // Frames let through while polling every step for the given span.
    int FramesOver(ObjectControlFrameRate& gate, int64_t span, int64_t step)
    {
        int frames = 0;
        for (int64_t t = 0; t < span; t += step) {
            Advance(step);
            if (gate.CheckTimeForNextFrame() == S_OK)
                ++frames;
        }
        return frames;
    }

    ManualTestClock m_clock;
};

} // namespace

TEST_F(FrameRateGate, NewGateLetsNothingThroughUntilARateIsSet)
{
    ObjectControlFrameRate gate;
    Advance(5000);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_FALSE);
    ASSERT_EQ(gate.SetFrameRate(10.0f), S_OK);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_OK);
}

TEST_F(FrameRateGate, FastPollingGetsTheSetRate)
{
    struct Case
    {
        float rate;
        int64_t pollStep;
        int expectedPerSecond;
    };
    for (const Case c : {Case{10.0f, 10, 10}, Case{25.0f, 10, 25}, Case{25.0f, 3, 25}, Case{1.0f, 10, 1}}) {
        ObjectControlFrameRate gate;
        gate.SetFrameRate(c.rate);
        FramesOver(gate, 1000, c.pollStep); // settle the start-up backlog
        const int frames = FramesOver(gate, 10000, c.pollStep);
        EXPECT_NEAR(frames, c.expectedPerSecond * 10, 1) << "rate " << c.rate << " step " << c.pollStep;
    }
}

TEST_F(FrameRateGate, SlowPollingTakesEveryPollAndTheBacklogIsBounded)
{
    ObjectControlFrameRate gate;
    gate.SetFrameRate(25.0f);
    Advance(2000);
    ASSERT_EQ(gate.CheckTimeForNextFrame(), S_OK);
    // The carry is capped at interval + 1 s = 1.04 s: about 26 more frames at once, not 49.
    int immediate = 0;
    while (gate.CheckTimeForNextFrame() == S_OK && immediate < 100)
        ++immediate;
    EXPECT_GE(immediate, 25);
    EXPECT_LE(immediate, 26);
}

TEST_F(FrameRateGate, ZeroRateKeepsTheIntervalButStopsFrames)
{
    ObjectControlFrameRate gate;
    gate.SetFrameRate(10.0f);
    gate.CheckTimeForNextFrame();
    gate.SetFrameRate(0.0f);
    Advance(1000);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_FALSE);
    // A negative rate counts as none.
    gate.SetFrameRate(-1.0f);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_FALSE);
}

TEST_F(FrameRateGate, TimeFromLastFrameAndReset)
{
    ObjectControlFrameRate gate;
    gate.SetFrameRate(10.0f);
    Advance(300);
    EXPECT_EQ(gate.GetTimeFromLastFrame(), 300);
    ASSERT_EQ(gate.CheckTimeForNextFrame(), S_OK);
    EXPECT_EQ(gate.GetTimeFromLastFrame(), 0);
    Advance(70);
    EXPECT_EQ(gate.GetTimeFromLastFrame(), 70);
    // A reset drops the carried 0.2 s: the next frame is a full interval away.
    EXPECT_EQ(gate.ResetFrameTime(), S_OK);
    EXPECT_EQ(gate.GetTimeFromLastFrame(), 0);
    Advance(99);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_FALSE);
    Advance(1);
    EXPECT_EQ(gate.CheckTimeForNextFrame(), S_OK);
}
