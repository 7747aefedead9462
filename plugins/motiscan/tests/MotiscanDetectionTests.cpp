// Detection per frame, through TransformFilter of "Motiscan4.vdd", on frames that carry the child
// planes of the correction filter.
#include "MotiscanTestSupport.h"

#include "MediaSubtypeGuids.h"

#include <cstring>

namespace {

// The worked case: on the 80 x 60 copy, a 20 x 20 block of 200 at columns 40-59, rows 30-49 on 16.
// A 320 x 240 frame is analysed at 1/4, so the block is four times as large there.
const TestFrameLuma kBackground = UniformLuma(16);
const TestFrameLuma kBlock = BlockLuma(16, 200, 160, 120, 240, 200);

class MotiscanDetection : public MotiscanFixture
{
protected:
    // Two frames, the second with the block; the events of the second stay.
    void BlockAppears(int width = 320, int height = 240, const TestFrameLuma& block = kBlock)
    {
        ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, width, height, kBackground, 1), S_OK);
        ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, width, height, block, 2), S_OK);
    }

    int32_t ContourCount()
    {
        auto* contours = OnlyEvent<InfoEventDataFrame_ted1InternalVideoConture>(ted1InternalVideoConture);
        return contours != nullptr ? contours->m_count_contours : -1;
    }

    void LoadSchedule(uint8_t hourByte, StructFormatGraph1& settings)
    {
        std::memset(settings.schedule, hourByte, sizeof(settings.schedule));
        ASSERT_EQ(LoadSettings(settings), S_OK);
    }

    // Marks every output invalid, so a transform that sets them shows.
    void InvalidateOutputs()
    {
        for (uint32_t i = 0; i < ListConnectionPointsDataPath1::kMaxPoints; ++i)
            m_record.m_points.m_outputs.GetElement(i).m_valid = false;
    }
    bool OutputValid() const { return m_record.m_points.m_outputs.GetElement(0).m_valid; }
};

} // namespace

TEST_F(MotiscanDetection, WorkedCaseInEveryProcessorMode)
{
    for (uint32_t mode : {1u, 2u, 4u}) {
        ASSERT_EQ(SetMode(mode), S_OK);
        BlockAppears();
        auto* contours = OnlyEvent<InfoEventDataFrame_ted1InternalVideoConture>(ted1InternalVideoConture);
        auto* detection = OnlyEvent<InfoEventDataFrame_ted1VideoDetectEvent>(ted1VideoDetectEvent);
        ASSERT_NE(contours, nullptr);
        ASSERT_NE(detection, nullptr);
        ASSERT_EQ(contours->m_count_contours, 1) << mode;
        const Class_InfoCountore& contour = contours->m_contours.GetElement(0);
        EXPECT_NEAR(contour.m_area, 0.0833333f, 1e-5) << mode;
        EXPECT_NEAR(contour.m_center_x, 0.61875f, 1e-5) << mode;
        EXPECT_NEAR(contour.m_center_y, 0.6583333f, 1e-5) << mode;
        EXPECT_EQ(contour.m_flags[0], 1) << "in range";
        EXPECT_EQ(contour.m_flags[2], 0) << "no zone";
        const DynamicBoundsObject<InfoCountorePoint>& outline = contour.m_points;
        ASSERT_GE(outline.GetCount(), 4u);
        const InfoCountorePoint first = outline.GetElement(0);
        const InfoCountorePoint last = outline.GetElement(outline.GetCount() - 1);
        EXPECT_FLOAT_EQ(first.m_x, 40.0f / 80);
        EXPECT_FLOAT_EQ(first.m_y, 30.0f / 60);
        EXPECT_EQ(first.m_x, last.m_x) << "closed";
        EXPECT_EQ(first.m_y, last.m_y) << "closed";

        EXPECT_EQ(detection->m_level, 0);
        EXPECT_NEAR(detection->m_area_max, 0.0833333f, 1e-5);
        EXPECT_NEAR(detection->m_area_sum, 0.0833333f, 1e-5);
        EXPECT_EQ(detection->m_zone[0], 0.0f);
        EXPECT_EQ(detection->m_zone[1], 1.0f);
        EXPECT_EQ(detection->m_values1[0], 25.0f);
        EXPECT_EQ(detection->m_values2[3], 25.0f);
        EXPECT_EQ(detection->m_filter, contours->m_filter);
        EXPECT_NE(detection->m_filter, nullptr);
        EXPECT_EQ(detection->m_controller, nullptr);
        EXPECT_EQ(detection->m_number_frame, 2);
    }
}

TEST_F(MotiscanDetection, EventsCarryTheObjectIdentifierAndTheZoneFlag)
{
    StructFormatGraph1 settings;
    settings.cameraId = 31;
    // The grid cell at row 64, column 64 lies on sample (40, 30) of the 80 x 60 copy.
    settings.m_capture.m_zones[0][64 * 16 + 8] = 0x01;
    ASSERT_EQ(LoadSettings(settings), S_OK);
    BlockAppears();
    auto* contours = OnlyEvent<InfoEventDataFrame_ted1InternalVideoConture>(ted1InternalVideoConture);
    ASSERT_NE(contours, nullptr);
    ASSERT_EQ(contours->m_count_contours, 1);
    EXPECT_EQ(contours->m_contours.GetElement(0).m_flags[2], 1);
    EXPECT_EQ(contours->m_id_camera, 31);
    EXPECT_EQ(OnlyEvent<InfoEventDataFrame1>(ted1VideoDetectEvent)->m_id_camera, 31);
}

TEST_F(MotiscanDetection, TheScheduleHighNibblePicksTheLevel)
{
    StructFormatGraph1 settings;
    // Level 2 sees nothing below 250; levels 0 and 1 keep 5.
    settings.m_capture.m_values1[2] = 250.0f;
    const struct
    {
        uint8_t hourByte;
        int32_t level;
        int32_t contours;
    } cases[] = {{0x04, 0, 1}, {0x13, 0, 1}, {0x20, 1, 1}, {0x31, 2, 0}, {0xF0, 2, 0}};
    for (const auto& c : cases) {
        LoadSchedule(c.hourByte, settings);
        BlockAppears();
        EXPECT_EQ(OnlyEvent<InfoEventDataFrame_ted1VideoDetectEvent>(ted1VideoDetectEvent)->m_level, c.level)
            << int{c.hourByte};
        EXPECT_EQ(ContourCount(), c.contours) << int{c.hourByte};
    }
}

TEST_F(MotiscanDetection, AForcedLevelReplacesTheSchedule)
{
    StructFormatGraph1 settings;
    settings.m_capture.m_values1[1] = 250.0f;
    LoadSchedule(0x30, settings);
    ASSERT_EQ(Detector(12, [](auto& p0, auto&) { p0.SetUInt(1); }), S_OK);
    BlockAppears();
    EXPECT_EQ(OnlyEvent<InfoEventDataFrame_ted1VideoDetectEvent>(ted1VideoDetectEvent)->m_level, 1);
    EXPECT_EQ(ContourCount(), 0);
}

TEST_F(MotiscanDetection, AreaOutsideTheLevelsBoundsIsNotInRange)
{
    StructFormatGraph1 settings;
    // Smallest 30 % of the side: areas below 0.09 are out of range.
    settings.m_capture.m_bounds[0].m_lower1 = 30.0f;
    ASSERT_EQ(LoadSettings(settings), S_OK);
    BlockAppears();
    auto* contours = OnlyEvent<InfoEventDataFrame_ted1InternalVideoConture>(ted1InternalVideoConture);
    ASSERT_EQ(contours->m_count_contours, 1);
    EXPECT_EQ(contours->m_contours.GetElement(0).m_flags[0], 0);
}

TEST_F(MotiscanDetection, ThePictureAnalysedDependsOnTheFrameSize)
{
    const struct
    {
        int width, height;
        int analysedWidth, analysedHeight;
    } cases[] = {{320, 240, 80, 60}, {640, 480, 80, 60}, {96, 72, 96, 72}, {16, 16, 16, 16}, {1920, 1080, 240, 135}};
    for (const auto& c : cases) {
        ASSERT_EQ(TransformNew(TestFrameFormat::Y8, c.width, c.height, kBackground), S_OK);
        EXPECT_EQ(State().m_picture_size.width, c.analysedWidth) << c.width;
        EXPECT_EQ(State().m_picture_size.height, c.analysedHeight) << c.width;
        EXPECT_EQ(EventsOfType(ted1VideoDetectEvent).size(), 1u) << c.width;
    }
    const uint64_t analysed = State().m_count_analysed;
    ASSERT_EQ(TransformNew(TestFrameFormat::Y8, 15, 15, kBackground), S_OK);
    EXPECT_EQ(State().m_count_analysed, analysed) << "15 x 15 is skipped";
    EXPECT_EQ(m_events.GetCount(), 0u);
}

TEST_F(MotiscanDetection, TheFirstFrameAfterASizeChangeFindsNothing)
{
    ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, 96, 72, kBackground), S_OK);
    ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    EXPECT_EQ(ContourCount(), 0);
    ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, 320, 240, kBackground), S_OK);
    EXPECT_EQ(ContourCount(), 1) << "the block went away";
}

TEST_F(MotiscanDetection, AChangeOnTheBorderIsNeverFound)
{
    for (int x : {0, 95}) {
        BlockAppears(96, 72, BlockLuma(16, 200, x, 10, x + 1, 11));
        EXPECT_EQ(ContourCount(), 0) << x;
    }
    BlockAppears(96, 72, BlockLuma(16, 200, 1, 10, 2, 11));
    EXPECT_EQ(ContourCount(), 1) << "one column in";
}

TEST_F(MotiscanDetection, OnlyVideoInfoVideoFramesAreAnalysed)
{
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    const GUID videoInfo2 = media_guids::FORMAT_VideoInfo2;
    const GUID audio = media_guids::MEDIATYPE_Audio;
    for (GUID* field : {&frame.m_info.m_major_type, &frame.m_info.m_format_type}) {
        const GUID kept = *field;
        *field = field == &frame.m_info.m_major_type ? audio : videoInfo2;
        InvalidateOutputs();
        EXPECT_EQ(Transform(frame), S_OK);
        EXPECT_EQ(m_events.GetCount(), 0u);
        EXPECT_FALSE(OutputValid()) << "the outputs keep their flags";
        *field = kept;
    }
    EXPECT_EQ(State().m_count_analysed, 0u);
}

TEST_F(MotiscanDetection, VirtualFramesAndDisabledDetectionPassTheFrameOn)
{
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    frame.SetVirtualFrame();
    InvalidateOutputs();
    EXPECT_EQ(Transform(frame), S_OK);
    EXPECT_TRUE(OutputValid());
    EXPECT_EQ(m_events.GetCount(), 0u);

    ASSERT_EQ(Detector(0, [](auto& p0, auto&) { p0.SetBool(false); }), S_OK);
    InvalidateOutputs();
    EXPECT_EQ(TransformNew(TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    EXPECT_TRUE(OutputValid());
    EXPECT_EQ(m_events.GetCount(), 0u);
    EXPECT_EQ(State().m_count_analysed, 0u);
}

TEST_F(MotiscanDetection, RefusesWrongTransformWords)
{
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    EXPECT_EQ(m_exports->transform(nullptr, 896, nullptr, 0, &m_record, &m_events, 0), E_INVALIDARG);
    EXPECT_EQ(m_exports->transform(&frame, 896, nullptr, 0, nullptr, &m_events, 0), E_INVALIDARG);
    EXPECT_EQ(m_exports->transform(&frame, 0, nullptr, 0, &m_record, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_exports->transform(&frame, 896, &frame, 896, &m_record, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_exports->transform(&frame, 896, nullptr, 896, &m_record, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_events.GetCount(), 0u);
}

TEST_F(MotiscanDetection, OneStatisticsEventWhenTheCountReachesThePeriod)
{
    InfoStaticResultProcessDataPath1 record;
    record.m_flags = InfoStaticResultProcessDataPath1::kFlagSetPeriod;
    record.m_period_report = 3;
    m_params.SetNumberParams(1);
    m_params.m_params.GetElement(0).SetPointer(&record, sizeof(record), false);
    ASSERT_EQ(Call(IID_IControlStaticResultProcess, 0, m_params), S_OK);
    for (int32_t number = 1; number <= 5; ++number) {
        ASSERT_EQ(TransformNew(TestFrameFormat::Y8, 96, 72, kBackground, number), S_OK);
        const std::vector<InfoEventDataFrame1*> statistics = EventsOfType(ted1ChangeStaticInfoAboutProcess);
        ASSERT_EQ(statistics.size(), number == 3 ? 1u : 0u) << number;
        if (number == 3) {
            auto* event = static_cast<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess*>(statistics[0]);
            EXPECT_STREQ(event->m_text_id.GetString(), "TextIDFilter::Motiscan4");
            EXPECT_EQ(event->m_count_frames, 3u);
            EXPECT_EQ(event->m_number_frame, 3);
        }
    }
}

// Mend: a frame whose scaled copies are missing is passed over without reading anything.
TEST_F(MotiscanDetection, MissingScaledCopiesArePassedOver)
{
    InfoDataBufferPath1 bare;
    ASSERT_EQ(MakeTestFrame(bare, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    bare.m_index_child.Fill(-1);
    InvalidateOutputs();
    EXPECT_EQ(Transform(bare), S_OK);
    EXPECT_EQ(m_events.GetCount(), 0u);
    EXPECT_TRUE(OutputValid());

    // An empty 1/4 copy gives way to the 1/8 one.
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    frame.m_child_buffers.GetElement(FrameChildSlot::Luma(2)).SetNULLFrame();
    EXPECT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(State().m_picture_size.width, 40);
    EXPECT_EQ(EventsOfType(ted1VideoDetectEvent).size(), 1u);

    // A copy whose rows would run past its block is not read.
    frame.m_child_buffers.GetElement(FrameChildSlot::Luma(3)).m_info.m_bih.biHeight = 100000;
    EXPECT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(m_events.GetCount(), 0u);
}

// Mend: the full-frame flag analyses the full-size luminance plane, not the packed frame.
TEST_F(MotiscanDetection, FullFrameAnalysesTheFullSizeLuminance)
{
    ASSERT_EQ(Detector(14, [](auto& p0, auto&) { p0.SetBool(true); }), S_OK);
    BlockAppears();
    EXPECT_EQ(State().m_picture_size.width, 320);
    auto* contours = OnlyEvent<InfoEventDataFrame_ted1InternalVideoConture>(ted1InternalVideoConture);
    ASSERT_EQ(contours->m_count_contours, 1);
    EXPECT_NEAR(contours->m_contours.GetElement(0).m_area, 0.0833333f, 1e-5);

    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 320, 240, kBlock), S_OK);
    frame.m_index_child.GetElement(FrameChildSlot::Luma(0)) = -1;
    EXPECT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(m_events.GetCount(), 0u) << "no full-size luminance, no analysis";
}
