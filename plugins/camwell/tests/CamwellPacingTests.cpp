// The camera filter's timing on a clock the test moves: output pacing, the weekly schedule's
// modes, the motion window, the keep-alive of the second output and unusable rates.
#include "CamwellFixture.h"

#include "LogCapture.h"
#include "ManualTestClock.h"
#include "MediaSubtypeGuids.h"

#include <limits>
#include <string>

using namespace media_guids;

namespace {

// The clock is moved by hand from before the instance is made.
class CamwellPacingTest : public CamwellTest
{
protected:
    struct Counts
    {
        int32_t outputs[3] = {};
        int32_t detections = 0;
    };

    // `count` frames, one every `stepMs`; how often each output and the internal detection came.
    Counts Run(int32_t count, int64_t stepMs)
    {
        Counts counts;
        for (int32_t i = 0; i < count; ++i) {
            m_clock.Advance(stepMs);
            EXPECT_EQ(Transform(*m_frame), S_OK);
            for (int32_t k = 0; k < 3; ++k)
                counts.outputs[k] += Outputs()[k];
            counts.detections += CountEvents(ted1InternalVideoDetectEvent);
            ClearEvents();
        }
        return counts;
    }

    // One frame `stepMs` later, with a detection event of the camera when one is given.
    void Step(int64_t stepMs, int32_t eventCamera, bool output0, bool detection, const char* what)
    {
        if (eventCamera >= 0)
            AddDetectionEvent(eventCamera);
        m_clock.Advance(stepMs);
        ASSERT_EQ(Transform(*m_frame), S_OK) << what;
        EXPECT_EQ(Outputs()[0], output0) << what;
        EXPECT_EQ(CountEvents(ted1InternalVideoDetectEvent), detection ? 1 : 0) << what;
        ClearEvents();
    }

    ManualTestClock m_clock;
    std::unique_ptr<InfoDataBufferPath1> m_frame = MakeVideoFrame(MEDIASUBTYPE_YUY2, 16, 4, 2, 0x40);
};

} // namespace

// The first elapsed times count from the instance's own clock reading.
TEST_F(CamwellPacingTest, NewInstanceRecordsAtOneFramePerSecond)
{
    m_clock.Advance(999);
    ASSERT_EQ(Transform(*m_frame), S_OK);
    EXPECT_FALSE(Outputs()[0]) << "999 ms after the start";
    m_clock.Advance(1);
    ASSERT_EQ(Transform(*m_frame), S_OK);
    EXPECT_TRUE(Outputs()[0]) << "one second after the start";

    const Counts counts = Run(40, 250);
    EXPECT_EQ(counts.outputs[0], 10);
    EXPECT_EQ(counts.outputs[1], 0) << "the second output is off in every row";
    EXPECT_EQ(counts.outputs[2], 40) << "view rate 0: every frame";
    EXPECT_EQ(counts.detections, 0);
}

TEST_F(CamwellPacingTest, ModeNoneLeavesOnlyTheSecondOutput)
{
    ASSERT_EQ(SetSchedule(0x21), S_OK) << "row 1, no recording";
    ASSERT_EQ(SetRateRow(1, {5, 5, 2, 1, 0}), S_OK);
    Counts counts = Run(16, 250);
    EXPECT_EQ(counts.outputs[0], 0);
    EXPECT_EQ(counts.outputs[1], 0) << "the second output is off in row 1";

    ASSERT_EQ(SetRateRow(1, {5, 5, 2, 1, 0}, true), S_OK);
    Run(16, 250); // spends the time carried since the start, at most one interval and a second
    counts = Run(16, 250);
    EXPECT_EQ(counts.outputs[0], 0);
    EXPECT_EQ(counts.outputs[1], 8) << "rate [2] of row 1: two frames a second";
}

TEST_F(CamwellPacingTest, ViewLimiterPacesTheView)
{
    ASSERT_EQ(SetRateRow(0, {1, 1, 1, 1, 2}), S_OK);
    EXPECT_EQ(Run(16, 250).outputs[2], 8);
}

TEST_F(CamwellPacingTest, MotionTriggeredRecording)
{
    ASSERT_EQ(SetSchedule(0x14), S_OK);
    ASSERT_EQ(SetCameraId(5), S_OK);
    Step(6000, -1, false, false, "6 s after the start: the window has closed");
    Step(1000, 9, false, false, "motion of another camera");
    Step(1000, 5, true, true, "motion: the next frame goes out at once");
    Step(1000, -1, true, true, "1 s after the motion");
    Step(4000, -1, true, true, "5 s after the motion, at the time-out");
    Step(1000, -1, false, false, "6 s after the motion");

    bool open = true;
    ASSERT_EQ(Call(IID_IControlRateData, 3, 1, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetBoolPointer(&open, 1, true);
              }),
              S_OK);
    EXPECT_FALSE(open);
    ASSERT_EQ(Call(IID_IControlRateData, 2), S_OK) << "a motion notice through the interface";
    ASSERT_EQ(Call(IID_IControlRateData, 3, 1, [&](ListParamsDataPath1& p) {
                  p.m_params.GetElement(0).SetBoolPointer(&open, 1, true);
              }),
              S_OK);
    EXPECT_TRUE(open);
    Step(0, -1, true, true, "right after the notice");
}

TEST_F(CamwellPacingTest, RecordingFasterWhileMotionIsRecent)
{
    ASSERT_EQ(SetSchedule(0x13), S_OK);
    ASSERT_EQ(SetCameraId(5), S_OK);
    ASSERT_EQ(SetRateRow(0, {1, 4, 1, 1, 0}), S_OK);
    Counts counts = Run(20, 250);
    EXPECT_EQ(counts.outputs[0], 20) << "window open from the start: rate [1]";
    EXPECT_EQ(counts.detections, 20);
    counts = Run(20, 250);
    EXPECT_EQ(counts.outputs[0], 5) << "window closed: rate [0]";
    EXPECT_EQ(counts.detections, 0);
    Step(250, 5, true, true, "motion opens the window again");
}

TEST_F(CamwellPacingTest, PausedRecordsNothing)
{
    ASSERT_EQ(CallOneBool(IID_IControlRateData, 1, true), S_OK);
    const Counts counts = Run(8, 1000);
    EXPECT_EQ(counts.outputs[0], 0);
    EXPECT_EQ(counts.outputs[2], 8);
    ASSERT_EQ(CallOneBool(IID_IControlRateData, 1, false), S_OK);
    EXPECT_EQ(Run(8, 1000).outputs[0], 8);
}

TEST_F(CamwellPacingTest, KeepAliveOncePerThirtySeconds)
{
    LogCapture log;
    ASSERT_EQ(SetRateRow(0, {1, 1, 0, 1, 0}, true), S_OK) << "second output on, never paced";
    const Counts counts = Run(95, 1000);
    EXPECT_EQ(counts.outputs[1], 3);
    int32_t lines = 0;
    for (const std::string& line : log.Lines())
        lines += line.find("correct needed send compress frame by time, fake") != std::string::npos;
    EXPECT_EQ(lines, 3);

    ASSERT_EQ(SetRateRow(0, {1, 1, 1, 1, 0}, true), S_OK);
    log.Clear();
    EXPECT_EQ(Run(65, 1000).outputs[1], 65) << "paced at 1 per second";
    EXPECT_FALSE(log.Contains("fake")) << "a paced output needs no keep-alive";
}

TEST_F(CamwellPacingTest, UnusableRatesAreReplacedOrNeverPace)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct Case
    {
        const char* name;
        float rate;
        int32_t outputs; // over 10 s of frames every 250 ms
    };
    const Case cases[] = {{"0", 0.0f, 0},   {"negative", -3.0f, 0}, {"not a number", nan, 10},
                          {"2", 2.0f, 20},  {"above 200", 1e6f, 40}};
    for (const Case& c : cases) {
        ASSERT_EQ(SetRateRow(0, {c.rate, 1, 1, 1, 0}), S_OK) << c.name;
        Run(1, 60000);
        Run(40, 250); // spends the carried time, at most one interval and a second
        EXPECT_EQ(Run(40, 250).outputs[0], c.outputs) << c.name;
    }
}

TEST_F(CamwellPacingTest, MotionNoticeWithZeroRateLeavesTheTime)
{
    ASSERT_EQ(SetSchedule(0x14), S_OK);
    ASSERT_EQ(SetRateRow(0, {1, 0, 1, 1, 0}), S_OK);
    Step(6000, -1, false, false, "the window has closed");
    Step(1000, 0, false, true, "motion, but rate [1] is 0");
    ASSERT_EQ(SetRateRow(0, {1, 1, 1, 1, 0}), S_OK);
    Step(1000, -1, true, true, "rate [1] 1: the time since the last recorded frame counts");
}
