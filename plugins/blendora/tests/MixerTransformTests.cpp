// The mixer's transform: input switches, the level gate and the driver-state events, with the
// driver's side of the shared buffer in this process.
#include "MixerTestSupport.h"

#include "ManualTestClock.h"
#include "MediaSubtypeGuids.h"
#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

namespace {

bool KernelObjectExists(const char* mapping, const char* mutex)
{
    HANDLE section = OpenFileMappingA(FILE_MAP_READ, FALSE, mapping);
    HANDLE lock = OpenMutexA(SYNCHRONIZE, FALSE, mutex);
    const bool exists = section != nullptr || lock != nullptr;
    for (HANDLE handle : {section, lock})
        if (handle != nullptr)
            CloseHandle(handle);
    return exists;
}

bool DriverObjectsExist(int32_t kind)
{
    const PlexamoDriverObjectNames names = GetPlexamoDriverObjectNames(kind);
    return KernelObjectExists(names.mapping, names.mutex);
}

// A mixer serving the standard driver on input 0, with the driver's side in this process.
class MixerWithDriver : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mixer.IsLoaded());
        ASSERT_EQ(m_mixer.EnableInput(0), S_OK);
        ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverStandard), S_OK);
        ASSERT_EQ(m_driver.Open(kPlexamoDriverStandard), S_OK);
        ASSERT_EQ(m_driver.SetLargestSize(640, 480), S_OK);
        MakePatternFrame(m_frame, 640, 480);
    }

    // The flag, after taking the frame when one was waiting.
    int TakeFrame()
    {
        VirtualCameraFrameReport report;
        EXPECT_EQ(m_driver.ReadFrame(report, true), S_OK);
        return report.flag;
    }

    MixerFilter m_mixer;
    VirtualCameraDriverDouble m_driver;
    InfoDataBufferPath1 m_frame;
};

template <class Event>
Event* AppendEvent(ListEventsDataPath1& events)
{
    auto* event = new Event();
    EXPECT_EQ(AppendEventDataPath1(&events, event), S_OK);
    return event;
}

} // namespace

TEST(MixerTransform, NewInstanceOpensNothingAndDropsEveryFrame)
{
    MixerFilter mixer;
    ASSERT_TRUE(mixer.IsLoaded());
    EXPECT_EQ(mixer.State().m_options.GetElement(1), kPlexamoDriverNone);
    EXPECT_EQ(mixer.State().m_mapping, nullptr);
    EXPECT_EQ(mixer.State().m_mutex, nullptr);
    EXPECT_FALSE(DriverObjectsExist(kPlexamoDriverStandard));
    EXPECT_FALSE(DriverObjectsExist(kPlexamoDriverPro));

    InfoDataBufferPath1 frame;
    for (int32_t input : {0, 7, 15}) {
        SCOPED_TRACE(input);
        MakePatternFrame(frame, 64, 48);
        EXPECT_EQ(mixer.Transform(frame, input), S_FALSE);
        EXPECT_EQ(frame.IsVirtualFrame(), 0);
    }
    // Kinds other than the two drivers open nothing either.
    for (int32_t kind : {3, -1, 2}) {
        EXPECT_EQ(mixer.SetOption(1, kind), S_FALSE);
        EXPECT_EQ(mixer.State().m_mapping, nullptr);
    }
}

TEST(MixerTransform, RefusesBadArguments)
{
    MixerFilter mixer;
    ASSERT_TRUE(mixer.IsLoaded());
    InfoDataBufferPath1 frame;
    MakePatternFrame(frame, 64, 48);
    ListEventsDataPath1 events;
    ObjectDataPath1& proxy = mixer.Proxy();
    EXPECT_EQ(proxy.TransformFilter(nullptr, sizeof(frame), nullptr, 0, &events, 0), E_INVALIDARG);
    EXPECT_EQ(proxy.TransformFilter(&frame, 0, nullptr, 0, &events, 0), E_UNEXPECTED);
    EXPECT_EQ(proxy.TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 16), E_FAIL);
    EXPECT_EQ(proxy.TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, -1), E_FAIL);
    EXPECT_EQ(frame.IsVirtualFrame(), 1) << "untouched";
}

TEST_F(MixerWithDriver, EnabledInputFrameReachesTheDriver)
{
    EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_frame.IsVirtualFrame(), 1);
    EXPECT_EQ(TakeFrame(), 1);

    // Another input that is not enabled drops its frame.
    EXPECT_EQ(m_mixer.Transform(m_frame, 1), S_FALSE);
    EXPECT_EQ(m_frame.IsVirtualFrame(), 0);
    EXPECT_EQ(TakeFrame(), 0);
}

TEST_F(MixerWithDriver, LevelEventsOutsideTheirRangesKeepTheFrameFromTheDriver)
{
    struct Case
    {
        TypeEventDataFrame1 type;
        float value;
        int expectedFlag;
    };
    ASSERT_EQ(m_mixer.SetLevel(3, 0.2f), S_OK);
    const Case cases[] = {{ted1AverageVideoLevel, 1.5f, 0},  {ted1AverageVideoLevel, -0.1f, 0},
                          {ted1AverageVideoLevel, 1.0f, 1},  {ted1AverageVideoLevel, 0.0f, 1},
                          {ted1VideoDetectEvent, 0.1f, 0},   {ted1VideoDetectEvent, 0.2f, 1},
                          {ted1FirstAverageVideoLevel, 1.5f, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.type << " " << c.value);
        ListEventsDataPath1 events;
        if (c.type == ted1AverageVideoLevel)
            AppendEvent<InfoEventDataFrame_ted1AverageVideoLevel>(events)->m_level1 = c.value;
        else if (c.type == ted1FirstAverageVideoLevel)
            AppendEvent<InfoEventDataFrame_ted1FirstAverageVideoLevel>(events)->m_level1 = c.value;
        else
            AppendEvent<InfoEventDataFrame_ted1VideoDetectEvent>(events)->m_area_sum = c.value;
        EXPECT_EQ(m_mixer.TransformWithEvents(m_frame, 0, events), S_OK);
        EXPECT_EQ(TakeFrame(), c.expectedFlag);
        DeleteEvents(events);
    }
}

TEST_F(MixerWithDriver, FramesOfOtherMajorTypesAreLeftAlone)
{
    m_frame.m_info.m_major_type = media_guids::MEDIATYPE_Audio;
    EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(TakeFrame(), 0);
}

// A frame is without data by its virtual mark first: a dropped frame still holding its old data
// is never written.
TEST_F(MixerWithDriver, VirtualFrameIsWithoutDataAndReportsAReadingDriver)
{
    m_frame.SetVirtualFrame();
    ASSERT_GT(m_frame.m_size_data, 0);
    EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_mixer.DriverStates(), std::vector<int>{1});
    EXPECT_EQ(TakeFrame(), 0);

    // While a frame waits, the driver is not known to read: no event.
    MakePatternFrame(m_frame, 640, 480);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    m_frame.SetVirtualFrame();
    EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_TRUE(m_mixer.DriverStates().empty());
    EXPECT_EQ(TakeFrame(), 1);
}

TEST_F(MixerWithDriver, DriverThatNeverTakesFramesIsReportedStoppedOnce)
{
    ManualTestClock clock;
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK) << "written; the driver never takes it";
    // 30 blocked frames over 20 seconds: not yet.
    for (int k = 1; k <= 30; ++k) {
        clock.Advance(k == 1 ? 0 : 689);
        ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
        ASSERT_TRUE(m_mixer.DriverStates().empty()) << k;
    }
    clock.Advance(1);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_mixer.DriverStates(), std::vector<int>{0}) << "the 31st, more than 15 s after the first";
    EXPECT_EQ(m_mixer.Events().GetElement(0).m_event->m_filter, m_mixer.State().m_owner);

    // The count starts again: 31 more blocked frames, quickly, raise nothing; once 15 s have
    // passed since the first of them, the next one does.
    for (int k = 1; k <= 31; ++k) {
        ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
        ASSERT_TRUE(m_mixer.DriverStates().empty()) << k;
    }
    clock.Advance(15001);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_mixer.DriverStates(), std::vector<int>{0});
}

TEST_F(MixerWithDriver, WrittenFrameRestartsTheStallCount)
{
    ManualTestClock clock;
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    for (int k = 0; k < 20; ++k)
        ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(TakeFrame(), 1);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK) << "written";
    clock.Advance(20000);
    for (int k = 0; k < 30; ++k) {
        ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
        ASSERT_TRUE(m_mixer.DriverStates().empty()) << k;
    }
}
