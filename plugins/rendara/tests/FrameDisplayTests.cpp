// The frame display path: the copy that fits the window, the frame rate, the frame consumed, the
// format flag, the ratio and contour events, and frames through a real controller on the screen.
#include "RendaraTestSupport.h"

#include "ControllerTestSupport.h"
#include "FrameChildPlanes.h"
#include "ManualTestClock.h"

#include <cmath>

using FrameDisplayTest = RendaraFixture;

TEST_F(FrameDisplayTest, TheLargestCopyNarrowerThanOneAndAHalfWindowsIsUploaded)
{
    struct Case
    {
        int window;
        TestFrameFormat format;
        int uploadedWidth;
    };
    const Case cases[] = {
        {400, TestFrameFormat::Yuy2, 320}, {100, TestFrameFormat::Yuy2, 80}, {640, TestFrameFormat::Yuy2, 640},
        {427, TestFrameFormat::Yuy2, 640}, {400, TestFrameFormat::Y8, 320},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.window);
        ShowAt(kShownX, kShownY, test.window, 30);
        InfoDataBufferPath1 frame;
        ASSERT_EQ(MakeTestFrame(frame, test.format, 640, 480, UniformLuma(90)), S_OK);
        const uint64_t uploads = Render()->m_frame_counter;
        ASSERT_EQ(Transform(frame), S_OK);
        EXPECT_EQ(Render()->m_frame_counter, uploads + 1);
        EXPECT_EQ(Render()->m_format.bmiHeader.biWidth, test.uploadedWidth);
        EXPECT_EQ(Render()->m_format.bmiHeader.biHeight, test.uploadedWidth * 3 / 4);
        EXPECT_EQ(Render()->m_format.bmiHeader.biCompression, static_cast<DWORD>(MAKEFOURCC('Y', 'U', 'Y', '2')));
        EXPECT_EQ(frame.IsNULLFrame(), 1);
    }
    ASSERT_EQ(VideoOutput(0, {Out(), Out()}), S_OK);
    EXPECT_EQ(Param(0).m_type, static_cast<uint32_t>(TypeParamUInt));
    EXPECT_EQ(Param(0).GetUInt(), 640u);
    EXPECT_EQ(Param(1).GetUInt(), 480u);
}

TEST_F(FrameDisplayTest, TwentyFiveFramesFortyMillisecondsApartGiveTwentySixPointZeroFour)
{
    ManualTestClock clock;
    InfoDataBufferPath1 frame;
    for (int k = 0; k < 25; ++k) {
        ASSERT_EQ(Transform(frame), S_OK);
        if (k == 0) {
            EXPECT_EQ(State().m_frame_rate, 0.0f);
        }
        clock.Advance(40);
    }
    EXPECT_NEAR(State().m_frame_rate, 25 / 0.96, 0.005);
    for (int k = 0; k < 5; ++k) {
        clock.Advance(60);
        ASSERT_EQ(Transform(frame), S_OK);
    }
    // The window slides: its 25 stamps now span 19 gaps of 40, one of 100 and four of 60 milliseconds.
    EXPECT_NEAR(State().m_frame_rate, 25 / 1.1, 0.005);
}

// A hidden window still measures and takes over contours, converts nothing, and ends the frame.
TEST_F(FrameDisplayTest, AFrameLeavesAsANullFrameAlsoWhenTheWindowIsHidden)
{
    ManualTestClock clock;
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 64, 48, UniformLuma(90)), S_OK);
    ASSERT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(frame.IsNULLFrame(), 1);
    EXPECT_EQ(Render()->m_frame_counter, 0u);
    EXPECT_EQ(State().m_frame_time_count, 1u);
    EXPECT_EQ(State().m_last_frame_time, 1000000u);

    ShowAt(kShownX, kShownY, 64, 48);
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 64, 48, UniformLuma(90)), S_OK);
    frame.m_info.m_params.GetElement(0).SetUInt(31);
    frame.m_info.m_params.GetElement(1).SetUInt(17);
    ASSERT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(frame.IsNULLFrame(), 1);
    EXPECT_EQ(Render()->m_frame_counter, 1u);
    // The statistics moved to the display record.
    EXPECT_EQ(State().m_display.m_info.m_params.GetElement(0).GetUInt(), 31u);
    EXPECT_EQ(State().m_display.m_info.m_params.GetElement(1).GetUInt(), 17u);
}

TEST_F(FrameDisplayTest, AFrameOfAnotherFormatIsNotShownAndRaisesTheFormatFlag)
{
    ShowAt(kShownX, kShownY, 64, 48);
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 64, 48, UniformLuma(90)), S_OK);
    frame.m_info.m_bih.biCompression = BI_RGB;
    ASSERT_EQ(Transform(frame), S_OK);
    EXPECT_NE(State().m_status_flags & RenderStatusBadFormat, 0u);
    EXPECT_EQ(Render()->m_frame_counter, 0u);
    EXPECT_EQ(frame.IsNULLFrame(), 1);

    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 64, 48, UniformLuma(90)), S_OK);
    ASSERT_EQ(Transform(frame), S_OK);
    EXPECT_EQ(State().m_status_flags & RenderStatusBadFormat, 0u);
    EXPECT_EQ(Render()->m_status_flags, State().m_status_flags);
}

TEST_F(FrameDisplayTest, TwoFramesOfOneSizeRaiseOneRatioEvent)
{
    ShowAt(kShownX, kShownY, 64, 48);
    ASSERT_EQ(VideoOutput(17, {Int(4), Int(0)}), S_OK);
    ListEventsDataPath1 events;
    for (int size : {64, 64, 48}) {
        InfoDataBufferPath1 frame;
        ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, size, 48, UniformLuma(90)), S_OK);
        ASSERT_EQ(Transform(frame, &events), S_OK);
    }
    const auto ratios = EventsOfType(events, ted1ChangeWidthToHeightFrame);
    ASSERT_EQ(ratios.size(), 2u);
    EXPECT_FLOAT_EQ(static_cast<const InfoEventDataFrame_ted1ChangeWidthToHeightFrame*>(ratios[0])->m_ratio, 64.0f / 48);
    EXPECT_FLOAT_EQ(static_cast<const InfoEventDataFrame_ted1ChangeWidthToHeightFrame*>(ratios[1])->m_ratio, 1.0f);
    EXPECT_EQ(ratios[0]->m_id_camera, 4);
    DeleteEvents(events);
}

TEST_F(FrameDisplayTest, TheLastContourEventOfTheChannelBecomesTheContour)
{
    ASSERT_EQ(VideoOutput(17, {Int(2), Int(0)}), S_OK);
    ListEventsDataPath1 events;
    for (const auto& [channel, count] : {std::pair{2, 3}, std::pair{7, 5}, std::pair{2, 2}}) {
        auto* contour = new InfoEventDataFrame_ted1InternalVideoConture();
        contour->m_id_camera = channel;
        contour->m_contours.SetSize(static_cast<uint32_t>(count));
        contour->m_count_contours = count;
        AppendEventDataPath1(&events, contour);
    }
    InfoDataBufferPath1 frame;
    ASSERT_EQ(Transform(frame, &events), S_OK);
    EXPECT_EQ(State().m_contour_count, 2);
    EXPECT_EQ(State().m_contours.GetCount(), 2u);

    auto* empty = new InfoEventDataFrame_ted1InternalVideoConture();
    empty->m_id_camera = 2;
    DeleteEvents(events);
    AppendEventDataPath1(&events, empty);
    ASSERT_EQ(Transform(frame, &events), S_OK);
    EXPECT_EQ(State().m_contour_count, 0);
    DeleteEvents(events);
}

// Frames from the path's worker, through the render library, appear in grey levels.
TEST(FrameDisplayOnScreen, FramesThroughAControllerAppearInTheShownWindowInGreyLevels)
{
    TestControlDataPath1 controller(".");
    std::vector<int32_t> indexes;
    ASSERT_EQ(controller.MakeFilters({"RendaraGeneral.vdd"}, &indexes), S_OK);
    ASSERT_EQ(indexes.size(), 1u);
    ObjectDataPath1* output = controller.FilterAt(indexes[0]);
    ASSERT_NE(output, nullptr);
    auto call = [&](int32_t method, const std::vector<ParamSetter>& setters) {
        return controller.RunOnWorker([&] {
            ListParamsDataPath1 params;
            params.SetNumberParams(static_cast<uint32_t>(setters.size()));
            for (uint32_t k = 0; k < setters.size(); ++k)
                setters[k](params.m_params.GetElement(k));
            return output->CallInterfaceFunction(IID_IVideoOutputRender1, method, &params);
        });
    };
    constexpr int kWidth = 160;
    constexpr int kHeight = 120;
    ASSERT_EQ(call(5, {Rect(kShownX, kShownY, kWidth, kHeight)}), S_OK);
    ASSERT_EQ(call(3, {Bool(true)}), S_OK);
    HWND window = static_cast<InfoFilterStateRendara1*>(output->GetInstanceRecord().m_state)->m_window;
    ASSERT_TRUE(IsWindowVisible(window));

    InfoDataBufferPath1 frame;
    auto pushFrame = [&] {
        MakeColouredFrame(frame, kWidth, kHeight, BlockLuma(40, 200, 40, 30, 120, 90));
        return controller.RunOnWorker([&] {
            ListEventsDataPath1 events;
            return output->TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 0);
        });
    };
    // The first paint builds the render object's device; frames before it are dropped.
    Picture picture(0, 0);
    for (int attempt = 0; attempt < 100; ++attempt) {
        ASSERT_EQ(pushFrame(), S_OK);
        picture = WaitForScreen(window, [](const Picture& shown) { return shown.Width() > 0; });
        if (picture.At(kWidth / 2, kHeight / 2) == Rgb(200, 200, 200))
            break;
    }
    EXPECT_EQ(picture.Count(Rgb(200, 200, 200), 40, 30, 120, 90), 80 * 60);
    EXPECT_EQ(picture.Count(Rgb(40, 40, 40), 0, 0, kWidth, kHeight), kWidth * kHeight - 80 * 60);
}
