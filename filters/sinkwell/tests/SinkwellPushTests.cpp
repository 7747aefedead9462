#include "SinkwellGraphFixture.h"

#include "Sinkwell1.h"

#include "ManualTestClock.h"

#include <dvdmedia.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstring>
#include <set>
#include <utility>
#include <thread>

namespace {

constexpr int32_t kWidth = 32;
constexpr int32_t kHeight = 8;
constexpr long kYuy2Size = kWidth * kHeight * 2;
constexpr long kBufferSize = 4096;

std::vector<uint8_t> Pattern(long size, uint8_t seed)
{
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 3 + seed);
    return bytes;
}

// A running graph from the test push source into the sink, without a clock unless asked.
class PushGraph : public testing::Test
{
protected:
    void Start(const AM_MEDIA_TYPE& type, float frameRate, bool withClock = false)
    {
        ASSERT_EQ(m_graph.Status(), S_OK);
        ASSERT_EQ(m_graph.ConnectPushSource(type, kBufferSize), S_OK);
        if (!withClock) {
            ASSERT_EQ(m_graph.RemoveClock(), S_OK);
        }
        if (frameRate > 0.0f) {
            ASSERT_EQ(m_graph.Exchange()->SetFrameRate(frameRate), S_OK);
        }
        ASSERT_TRUE(SUCCEEDED(m_graph.Run()));
        // The placeholder the sink shows right after the start.
        ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    }
    // Moves the clock past the gate's interval at 200 frames a second before each push.
    HRESULT Push(const std::vector<uint8_t>& bytes)
    {
        m_clock.Advance(5);
        return m_graph.PushSource()->Push(bytes.data(), static_cast<long>(bytes.size()));
    }
    bool FrameHolds(const std::vector<uint8_t>& bytes) const
    {
        return m_frame.m_info.m_state == kFrameStateFrame &&
               m_frame.m_size_data == static_cast<int32_t>(bytes.size()) &&
               std::memcmp(m_frame.m_data + m_frame.m_offset_data, bytes.data(), bytes.size()) == 0;
    }

    ManualTestClock m_clock;
    SinkGraph m_graph;
    InfoDataBufferPath1 m_frame{false};
};

} // namespace

TEST_F(PushGraph, RunShowsTheSixteenByOnePlaceholder)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    ASSERT_EQ(m_graph.ConnectPushSource(type.type, kBufferSize), S_OK);
    ASSERT_EQ(m_graph.RemoveClock(), S_OK);
    ASSERT_TRUE(SUCCEEDED(m_graph.Run()));
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_EQ(m_frame.m_info.m_bih.biWidth, 16);
    EXPECT_EQ(m_frame.m_info.m_bih.biHeight, 1);
    EXPECT_EQ(m_frame.m_info.m_state, kFrameStateEmpty);
    EXPECT_GT(m_frame.m_size_data, 0);
}

TEST_F(PushGraph, NothingIsStoredBeforeAFrameRateIsSet)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 0.0f);
    ASSERT_EQ(Push(Pattern(kYuy2Size, 1)), S_OK);
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_EQ(m_frame.m_size_data, 0);
    EXPECT_EQ(m_frame.m_info.m_state, kFrameStateEmpty);
}

// The newest sample goes to the caller once; older samples are overwritten.
TEST_F(PushGraph, GetDataSwapsTheNewestSampleOutOnce)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 200.0f);
    const auto first = Pattern(kYuy2Size, 1);
    const auto second = Pattern(kYuy2Size, 2);
    const auto third = Pattern(kYuy2Size, 3);

    ASSERT_EQ(Push(Pattern(kYuy2Size, 9)), S_OK);
    ASSERT_EQ(Push(first), S_OK);
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_TRUE(FrameHolds(first));

    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_EQ(m_frame.m_info.m_state, kFrameStateEmpty);
    EXPECT_EQ(m_frame.m_size_data, 0);

    ASSERT_EQ(Push(second), S_OK);
    ASSERT_EQ(Push(third), S_OK);
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_TRUE(FrameHolds(third));
}

// Samples the sink cannot describe safely are dropped, never copied out of bounds; the upstream
// thread sees success either way.
TEST_F(PushGraph, StoresOnlySamplesThatFitTheirFormat)
{
    enum class Shape
    {
        VideoInfo,
        VideoInfo2,
        VideoInfoCut,     // block shorter than a VIDEOINFOHEADER
        VideoInfo2Cut,    // VIDEOINFOHEADER2 type with a VIDEOINFOHEADER-sized block
        NoFormat,
    };
    struct Case
    {
        const char* name;
        GUID subtype;
        int32_t width;
        int32_t height;
        WORD bitCount;
        Shape shape;
        long sampleSize;
        bool stored;
    };
    const Case cases[] = {
        {"whole YUY2 frame", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::VideoInfo, kYuy2Size, true},
        {"short sample", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::VideoInfo, 300, true},
        {"VIDEOINFOHEADER2", MEDIASUBTYPE_UYVY, kWidth, kHeight, 16, Shape::VideoInfo2, kYuy2Size, true},
        {"RGB24 with padded rows", MEDIASUBTYPE_RGB24, 30, 4, 24, Shape::VideoInfo, 92 * 4, true},
        {"sample larger than the frame", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::VideoInfo, kYuy2Size + 1, false},
        {"format block cut short", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::VideoInfoCut, kYuy2Size, false},
        {"VIDEOINFOHEADER2 block cut short", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::VideoInfo2Cut, kYuy2Size, false},
        {"no format block", MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, Shape::NoFormat, kYuy2Size, false},
        {"top-down rows", MEDIASUBTYPE_RGB24, 30, -4, 24, Shape::VideoInfo, 92 * 4, false},
        {"zero width", MEDIASUBTYPE_YUY2, 0, kHeight, 16, Shape::VideoInfo, kYuy2Size, false},
        {"size beyond 32 bits", MEDIASUBTYPE_YUY2, 40000, 40000, 16, Shape::VideoInfo, kYuy2Size, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestVideoType type(c.subtype, c.width, c.height, c.bitCount, 0);
        switch (c.shape) {
        case Shape::VideoInfo:
            break;
        case Shape::VideoInfo2:
            type.UseFormat(FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER2));
            break;
        case Shape::VideoInfoCut:
            type.UseFormat(FORMAT_VideoInfo, sizeof(VIDEOINFOHEADER) - 1);
            break;
        case Shape::VideoInfo2Cut:
            type.UseFormat(FORMAT_VideoInfo2, sizeof(VIDEOINFOHEADER));
            break;
        case Shape::NoFormat:
            type.UseFormat(FORMAT_None, 0);
            break;
        }
        ManualTestClock clock;
        SinkGraph graph;
        ASSERT_EQ(graph.ConnectPushSource(type.type, kBufferSize), S_OK);
        ASSERT_EQ(graph.RemoveClock(), S_OK);
        ASSERT_EQ(graph.Exchange()->SetFrameRate(200.0f), S_OK);
        ASSERT_TRUE(SUCCEEDED(graph.Run()));
        InfoDataBufferPath1 frame(false);
        ASSERT_EQ(graph.GetData(frame), S_OK);

        const auto bytes = Pattern(c.sampleSize, 5);
        clock.Advance(5);
        EXPECT_EQ(graph.PushSource()->Push(bytes.data(), c.sampleSize), S_OK);
        ASSERT_EQ(graph.GetData(frame), S_OK);
        if (c.stored) {
            EXPECT_EQ(frame.m_info.m_state, kFrameStateFrame);
            ASSERT_EQ(frame.m_size_data, c.sampleSize);
            EXPECT_EQ(std::memcmp(frame.m_data + frame.m_offset_data, bytes.data(), bytes.size()), 0);
            EXPECT_EQ(frame.m_info.m_bih.biWidth, c.width);
        } else {
            EXPECT_EQ(frame.m_info.m_state, kFrameStateEmpty);
            EXPECT_EQ(frame.m_size_data, 0);
        }
    }
}

// Mend: a dropped sample neither discards the frame not yet collected nor counts as a sample for
// the time since the last one, so a stream of unusable samples looks silent to the stall watchdog.
TEST_F(PushGraph, ADroppedSampleKeepsTheHeldFrameAndTheSilence)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 200.0f);
    const auto held = Pattern(kYuy2Size, 4);
    ASSERT_EQ(Push(held), S_OK);
    m_clock.Advance(500);
    EXPECT_EQ(m_graph.PushSource()->Push(Pattern(kYuy2Size + 1, 6).data(), kYuy2Size + 1), S_OK);
    int64_t sinceLast = -1;
    ASSERT_EQ(m_graph.Exchange()->GetTimeSinceLastSample(&sinceLast), S_OK);
    EXPECT_EQ(sinceLast, 500);
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_TRUE(FrameHolds(held));
}

// Mend: the exchange gives the caller's block to the filter for the next sample; in a steady
// stream of equal samples the caller's, the newest and the spare block take turns and none is
// reallocated.
TEST_F(PushGraph, ExchangesOfEqualSamplesReuseTheirBlocks)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 200.0f);
    std::set<std::pair<BYTE*, int32_t>> blocks;
    for (int i = 0; i < 12; ++i) {
        const auto bytes = Pattern(kYuy2Size, static_cast<uint8_t>(i));
        ASSERT_EQ(Push(bytes), S_OK);
        ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
        ASSERT_TRUE(FrameHolds(bytes)) << i;
        // The first exchanges settle the blocks' sizes.
        if (i >= 4)
            blocks.emplace(m_frame.m_data, m_frame.m_capacity);
    }
    EXPECT_LE(blocks.size(), 3u);
}

// The test source refuses what its one buffer cannot hold, and the sink is left untouched.
TEST_F(PushGraph, PushSourceRefusesLengthsOutsideItsBuffer)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 200.0f);
    const auto bytes = Pattern(kBufferSize, 1);
    for (const long length : {-1L, kBufferSize + 1})
        EXPECT_EQ(m_graph.PushSource()->Push(bytes.data(), length), E_INVALIDARG) << length;
    EXPECT_EQ(m_graph.PushSource()->Push(nullptr, 16), E_INVALIDARG);
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_EQ(m_frame.m_size_data, 0);
}

TEST_F(PushGraph, EndOfStreamWhileRunningCompletesTheGraph)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 30.0f);
    ASSERT_EQ(Push(Pattern(kYuy2Size, 1)), S_OK);
    EXPECT_EQ(m_graph.WaitForCompletion(0), 0);
    ASSERT_EQ(m_graph.PushSource()->PushEndOfStream(), S_OK);
    EXPECT_EQ(m_graph.WaitForCompletion(5000), EC_COMPLETE);
    // After the end of the stream a sample is refused.
    EXPECT_NE(Push(Pattern(kYuy2Size, 2)), S_OK);
}

// A sample stamped far ahead waits for its time without holding the sink's locks: the exchange
// stays usable meanwhile, and Stop releases the waiting upstream thread at once.
TEST_F(PushGraph, StopWithASampleInFlightReturnsPromptly)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 30.0f, true);
    std::atomic<bool> pushed = false;
    HRESULT pushResult = E_FAIL;
    std::thread upstream([&] {
        const auto bytes = Pattern(kYuy2Size, 1);
        const REFERENCE_TIME start = 600000000; // one minute into the stream
        const REFERENCE_TIME stop = start + 333333;
        pushResult = m_graph.PushSource()->Push(bytes.data(), kYuy2Size, &start, &stop);
        pushed = true;
    });
    while (m_graph.Renderer()->CountWaitingReceives() == 0)
        Sleep(1);
    EXPECT_FALSE(pushed);
    m_clock.Advance(250);
    int64_t sinceLast = -1;
    EXPECT_EQ(m_graph.Exchange()->GetTimeSinceLastSample(&sinceLast), S_OK);
    EXPECT_EQ(sinceLast, 250);
    EXPECT_EQ(m_graph.GetData(m_frame), S_OK);

    EXPECT_TRUE(SUCCEEDED(m_graph.Stop()));
    upstream.join();
    EXPECT_TRUE(pushed);
    EXPECT_TRUE(SUCCEEDED(pushResult));
    // Never stored: the stream stopped before its time came.
    EXPECT_EQ(m_frame.m_size_data, 0);
}

TEST_F(PushGraph, OptionsAndProcessorModeAreAcceptedAndTimeSinceLastSampleCounts)
{
    TestVideoType type(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16, MAKEFOURCC('Y', 'U', 'Y', '2'));
    Start(type.type, 200.0f);
    for (const int index : {0, 1, 5, -1})
        EXPECT_EQ(m_graph.Exchange()->SetOption(index, 1), S_OK) << index;
    EXPECT_EQ(m_graph.ProcessorMode()->SetCPUUsing(4), S_OK);
    EXPECT_EQ(m_graph.Exchange()->GetTimeSinceLastSample(nullptr), E_INVALIDARG);

    ASSERT_EQ(Push(Pattern(kYuy2Size, 1)), S_OK);
    int64_t sinceLast = -1;
    ASSERT_EQ(m_graph.Exchange()->GetTimeSinceLastSample(&sinceLast), S_OK);
    EXPECT_EQ(sinceLast, 0);
    m_clock.Advance(150);
    ASSERT_EQ(m_graph.Exchange()->GetTimeSinceLastSample(&sinceLast), S_OK);
    EXPECT_EQ(sinceLast, 150);
    // The options do not change how samples are handled.
    ASSERT_EQ(m_graph.GetData(m_frame), S_OK);
    EXPECT_TRUE(FrameHolds(Pattern(kYuy2Size, 1)));
}

TEST(SinkwellFrameRate, ClampsToOneTo200FramesPerSecond)
{
    struct Case
    {
        float requested;
        float set;
    };
    const Case cases[] = {{0.5f, 1.0f},  {500.0f, 200.0f}, {std::nanf(""), 1.0f}, {-3.0f, 1.0f},
                          {25.0f, 25.0f}, {1.0f, 1.0f},     {200.0f, 200.0f},      {HUGE_VALF, 200.0f}};
    for (const Case& c : cases)
        EXPECT_EQ(Sinkwell1::ClampFrameRate(c.requested), c.set) << c.requested;
}
