// The virtual-camera shared buffer with the driver double running as a process of its own: the
// object names, the size choice, the written data and the driver's mutex.
#include "MixerTestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool SectionExists(int32_t kind)
{
    HANDLE section = OpenFileMappingA(FILE_MAP_READ, FALSE, GetPlexamoDriverObjectNames(kind).mapping);
    HANDLE mutex = OpenMutexA(SYNCHRONIZE, FALSE, GetPlexamoDriverObjectNames(kind).mutex);
    const bool both = section != nullptr && mutex != nullptr;
    for (HANDLE handle : {section, mutex})
        if (handle != nullptr)
            CloseHandle(handle);
    return both;
}

std::string LargestCommand(int32_t width, int32_t height)
{
    return "largest " + std::to_string(width) + " " + std::to_string(height);
}

class DriverSharedBuffer : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_mixer.IsLoaded());
        ASSERT_TRUE(m_reader.IsRunning());
        ASSERT_EQ(m_mixer.EnableInput(0), S_OK);
    }

    // The mixer serves the standard driver; the reader opens it after the mixer.
    void OpenStandardDriver(int32_t largestWidth = 640, int32_t largestHeight = 480)
    {
        ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverStandard), S_OK);
        ASSERT_EQ(m_reader.Command("open 0"), "ok");
        ASSERT_EQ(m_reader.Command(LargestCommand(largestWidth, largestHeight)), "ok");
    }

    void ExpectLevelReceived(InfoDataBufferPath1& frame, int level, int32_t width, int32_t height, int32_t stride)
    {
        const VirtualCameraFrameReport report = m_reader.Read();
        EXPECT_EQ(report.flag, 1);
        EXPECT_EQ(report.width, width);
        EXPECT_EQ(report.height, height);
        EXPECT_EQ(report.stride, stride);
        EXPECT_EQ(report.digest, ExpectedDriverDigest(frame, level));
    }

    MixerFilter m_mixer;
    VirtualCameraReader m_reader;
    InfoDataBufferPath1 m_frame;
};

} // namespace

TEST_F(DriverSharedBuffer, EachKindOpensItsOwnNamesOnlyWhenItChanges)
{
    ASSERT_FALSE(SectionExists(kPlexamoDriverStandard));
    ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverStandard), S_OK);
    EXPECT_TRUE(SectionExists(kPlexamoDriverStandard));
    EXPECT_FALSE(SectionExists(kPlexamoDriverPro));
    EXPECT_EQ(m_mixer.State().m_section_size, kPlexamoSectionSize);

    // The Pro driver was there first and made its objects itself.
    ASSERT_EQ(m_reader.Command("open 1"), "ok");
    ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverPro), S_OK);
    EXPECT_FALSE(SectionExists(kPlexamoDriverStandard)) << "the standard pair was closed";
    EXPECT_TRUE(SectionExists(kPlexamoDriverPro));
    const HANDLE mapping = m_mixer.State().m_mapping;
    const HANDLE mutex = m_mixer.State().m_mutex;
    ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverPro), S_OK);
    EXPECT_EQ(m_mixer.State().m_mapping, mapping) << "the same kind reopens nothing";
    EXPECT_EQ(m_mixer.State().m_mutex, mutex);

    ASSERT_EQ(m_reader.Command(LargestCommand(640, 480)), "ok");
    MakePatternFrame(m_frame, 640, 480);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    ExpectLevelReceived(m_frame, 0, 640, 480, 1280);

    ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverNone), S_FALSE);
    EXPECT_EQ(m_mixer.State().m_mapping, nullptr);
    EXPECT_EQ(m_mixer.State().m_section_size, 0u);
}

TEST_F(DriverSharedBuffer, DriverReceivesTheLargestCopyItAcceptsAndTheSectionHolds)
{
    struct Case
    {
        int32_t frameWidth, frameHeight, largestWidth, largestHeight;
        int level;
        int32_t width, height, stride;
    };
    const Case cases[] = {
        {640, 480, 640, 480, 0, 640, 480, 1280},
        {640, 480, 639, 480, 1, 320, 240, 640},
        {640, 480, 0, 0, 3, 80, 60, 160},
        {720, 576, 0, 0, 3, 90, 72, 192},
        {640, 480, 40, 30, 3, 80, 60, 160}, // smaller than the eighth copy: still the eighth copy
        {640, 480, -640, 480, 3, 80, 60, 160},
        {640, 480, 65536, 65536, 0, 640, 480, 1280}, // the area needs 64 bits
        {1024, 1024, 1024, 1024, 1, 512, 512, 1024}, // 2 MiB + 288 bytes: never the full size
        {1920, 1080, 1920, 1080, 1, 960, 540, 1920},
    };
    ASSERT_EQ(m_mixer.SetOption(1, kPlexamoDriverStandard), S_OK);
    ASSERT_EQ(m_reader.Command("open 0"), "ok");
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.frameWidth << "x" << c.frameHeight << " largest " << c.largestWidth
                                        << "x" << c.largestHeight);
        ASSERT_EQ(m_reader.Command(LargestCommand(c.largestWidth, c.largestHeight)), "ok");
        MakePatternFrame(m_frame, c.frameWidth, c.frameHeight);
        ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
        ExpectLevelReceived(m_frame, c.level, c.width, c.height, c.stride);
    }
}

TEST_F(DriverSharedBuffer, GreyFrameArrivesWithNeutralChroma)
{
    OpenStandardDriver();
    MakePatternFrame(m_frame, 640, 480, TestFrameFormat::Y8);
    ASSERT_EQ(GetFrameChildPlane(m_frame, FrameChildSlot::Chroma(0)), nullptr);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    ExpectLevelReceived(m_frame, 0, 640, 480, 1280);
}

// A level whose luma is missing or empty, or whose chroma does not match it, is never read.
TEST_F(DriverSharedBuffer, SizeChoiceSkipsLevelsWithoutUsablePlanes)
{
    OpenStandardDriver();
    MakePatternFrame(m_frame, 640, 480);
    m_frame.m_index_child.GetElement(FrameChildSlot::Luma(0)) = -1;
    ASSERT_EQ(GetFrameChildPlane(m_frame, FrameChildSlot::Chroma(1))->UpdateSizeBuffer(100, 240), S_OK);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    ExpectLevelReceived(m_frame, 2, 160, 120, 320);

    // No usable level at all: nothing is written.
    GetFrameChildPlane(m_frame, FrameChildSlot::Luma(2))->m_info.m_bih.biHeight = 0;
    m_frame.m_index_child.GetElement(FrameChildSlot::Chroma(3)) = 20;
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_reader.Read().flag, 0);
}

TEST_F(DriverSharedBuffer, SectionMadeSmallerByAnotherProgramIsRefused)
{
    ASSERT_EQ(m_reader.Command("create 0 65536"), "ok");
    EXPECT_EQ(m_mixer.SetOption(1, kPlexamoDriverStandard), E_FAIL);
    EXPECT_EQ(m_mixer.State().m_mapping, nullptr);
    EXPECT_EQ(m_mixer.State().m_mutex, nullptr);
    MakePatternFrame(m_frame, 64, 48);
    ASSERT_EQ(m_reader.Command(LargestCommand(64, 48)), "ok");
    EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_reader.Read().flag, 0);
}

TEST_F(DriverSharedBuffer, SquattedMutexCostsTheFrameOnly)
{
    OpenStandardDriver();
    m_mixer.State().m_mutex_wait_milliseconds = 5;
    MakePatternFrame(m_frame, 640, 480);
    ASSERT_EQ(m_reader.Command("hold"), "ok");
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    EXPECT_EQ(m_reader.Read(false).flag, 0) << "nothing written while the driver held its mutex";
    ASSERT_EQ(m_reader.Command("release"), "ok");

    m_mixer.State().m_mutex_wait_milliseconds = InfoFilterStateBlendora1::kDriverMutexWaitMilliseconds;
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    ExpectLevelReceived(m_frame, 0, 640, 480, 1280);
}

TEST_F(DriverSharedBuffer, AbandonedMutexIsTakenAndReleased)
{
    OpenStandardDriver();
    ASSERT_EQ(m_reader.Command("exit-holding"), "ok");
    ASSERT_TRUE(m_reader.WaitForExit());

    MakePatternFrame(m_frame, 640, 480);
    ASSERT_EQ(m_mixer.Transform(m_frame, 0), S_OK);
    // A new driver process can take the mutex, so the mixer released it.
    VirtualCameraReader driver;
    ASSERT_EQ(driver.Command("open 0"), "ok");
    const VirtualCameraFrameReport report = driver.Read();
    EXPECT_EQ(report.flag, 1);
    EXPECT_EQ(report.digest, ExpectedDriverDigest(m_frame, 0));
}
