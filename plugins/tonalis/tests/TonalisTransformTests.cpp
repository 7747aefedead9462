// The correction filter's transform and pipeline, through its exports: which frames it processes,
// the planes it leaves on them and the events it raises.
#include "TonalisTestSupport.h"

#include "Tonalis1_Pipeline.h"

#include "ForcedProcessorFeatures.h"
#include "MediaSubtypeGuids.h"

#include <optional>

namespace {

constexpr uint8_t kFlat = 100;

const std::vector<int32_t> kYuy2Slots = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, -1, -1};
const std::vector<int32_t> kGreySlots = {1, -1, 3, -1, 5, -1, 7, -1, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, -1, -1};

InfoDataBufferPath1& Plane(InfoDataBufferPath1& frame, int slot)
{
    InfoDataBufferPath1* plane = GetFrameChildPlane(frame, slot);
    if (plane == nullptr)
        throw 2;
    return *plane;
}

struct Size
{
    int width;
    int height;
    bool operator==(const Size&) const = default;
};

Size SizeOf(const InfoDataBufferPath1& plane)
{
    return {plane.m_info.m_bih.biWidth, plane.m_info.m_bih.biHeight};
}

std::ostream& operator<<(std::ostream& out, const Size& size)
{
    return out << size.width << "x" << size.height;
}

class TonalisTransform : public TonalisFixture
{
protected:
    // Every step runs, but leaves a picture as it is: no brightness, sharpness or smoothing, and
    // no temporal blend (whose two truncated terms take a level or two off a still picture).
    void SetUp() override
    {
        TonalisFixture::SetUp();
        for (const int32_t index : {kValueBrightness, kValueSharpness, kValueEdgeSmoothing})
            ASSERT_EQ(SetValue(index, 51.0f), S_OK);
        ASSERT_EQ(SetParam(kParamTemporalNoise, 0), S_OK);
    }

    uint32_t FramesCounted()
    {
        InfoStaticResultProcessDataPath1 record;
        EXPECT_EQ(Call(IID_IControlStaticResultProcess, 0, {Pointer(&record)}), S_OK);
        return record.m_count_frames;
    }

    // The frame numbered 7, processed; its events stay in m_events.
    void ProcessFlatFrame(TestFrameFormat format, int width, int height)
    {
        ASSERT_EQ(MakeTestFrame(m_frame, format, width, height, UniformLuma(kFlat), 7), S_OK);
        ASSERT_EQ(Transform(m_frame), S_OK);
    }

    InfoDataBufferPath1 m_frame;
};

} // namespace

// The last step of a processed frame answers 1 (the text effects); the frame goes on all the same.
TEST_F(TonalisTransform, AProcessedFrameAnswersZeroAndCarriesItsPlanesAndEvents)
{
    auto* owner = reinterpret_cast<ObjectControlDataPath1*>(&m_frame);
    ASSERT_EQ(Correction(9, {Pointer(owner)}), S_OK);
    ASSERT_EQ(Correction(10, {Int(3), Int(0)}), S_OK);
    EXPECT_EQ(State().m_params_int.GetElement(kParamTextEffects), 1);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 64, 48);

    EXPECT_EQ(ChildSlots(m_frame), kYuy2Slots);
    for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
        const Size size{64 / FrameChildSlot::kDivisors[level], 48 / FrameChildSlot::kDivisors[level]};
        for (int slot : {FrameChildSlot::Luma(level), FrameChildSlot::Chroma(level), FrameChildSlot::Output(level)})
            EXPECT_EQ(SizeOf(Plane(m_frame, slot)), size) << "slot " << slot;
        EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(level)), size.width - 1, size.height - 1), kFlat);
        EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Chroma(level)), 1, 0), 128);
    }
    for (int slot : {12, 13, 17})
        EXPECT_EQ(SizeOf(Plane(m_frame, slot)), (Size{64, 48})) << "slot " << slot;

    const auto levels = EventsOfType(ted1AverageVideoLevel);
    ASSERT_EQ(levels.size(), 1u);
    const auto* level = static_cast<const InfoEventDataFrame_ted1AverageVideoLevel*>(levels[0]);
    EXPECT_FLOAT_EQ(level->m_level1, kFlat / 255.0f);
    EXPECT_EQ(level->m_level2, 0.0f);
    EXPECT_EQ(level->m_controller, owner);
    EXPECT_EQ(level->m_id_camera, 3);
    EXPECT_EQ(level->m_number_frame, 7);
    EXPECT_NE(level->m_filter, nullptr);
    const auto histograms = EventsOfType(ted1GistogramFullFrame);
    ASSERT_EQ(histograms.size(), 1u);
    const auto* histogram = static_cast<const InfoEventDataFrame_ted1GistogramFullFrame*>(histograms[0]);
    EXPECT_EQ(histogram->m_width, 64);
    EXPECT_EQ(histogram->m_height, 48);
    ASSERT_EQ(histogram->m_histogram.GetCount(), 256u);
    EXPECT_FLOAT_EQ(histogram->m_histogram.GetElement(kFlat), 1.0f);
    EXPECT_EQ(histogram->m_histogram.GetElement(kFlat + 1), 0.0f);
    EXPECT_EQ(histogram->m_controller, owner);
    EXPECT_EQ(histogram->m_id_camera, 3);
    EXPECT_EQ(m_events.GetCount(), 2u);

    float stored = 0.0f;
    ASSERT_EQ(Correction(6, {Pointer(&stored)}), S_OK);
    EXPECT_FLOAT_EQ(stored, kFlat / 255.0f);
    EXPECT_EQ(FramesCounted(), 1u);
    EXPECT_EQ(State().m_params_int.GetElement(kParamFrameCounter), 1);
    for (const InfoConnectionPointDataPath1* point = &m_record.m_points.m_outputs.GetElement(0);
         point != &m_record.m_points.m_outputs.GetElement(15); ++point)
        EXPECT_TRUE(point->m_valid);
}

TEST_F(TonalisTransform, AGreyFrameHasNoChromaSlots)
{
    ProcessFlatFrame(TestFrameFormat::Y8, 48, 32);
    EXPECT_EQ(ChildSlots(m_frame), kGreySlots);
    EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(3))), (Size{6, 4}));
    EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(0)), 47, 31), kFlat);
    EXPECT_EQ(EventsOfType(ted1AverageVideoLevel).size(), 1u);
}

TEST_F(TonalisTransform, OnlyVideoFramesAreProcessedAndCounted)
{
    ASSERT_EQ(MakeTestFrame(m_frame, TestFrameFormat::Yuy2, 32, 16, UniformLuma(kFlat)), S_OK);
    m_frame.m_index_child.Fill(-1);
    m_frame.m_info.m_major_type = media_guids::MEDIATYPE_Audio;
    EXPECT_EQ(Transform(m_frame), S_OK);
    EXPECT_EQ(m_events.GetCount(), 0u);
    EXPECT_EQ(ChildSlots(m_frame)[0], -1);

    m_frame.m_info.m_major_type = media_guids::MEDIATYPE_Video;
    m_frame.SetVirtualFrame();
    EXPECT_EQ(Transform(m_frame), S_OK);
    EXPECT_EQ(m_events.GetCount(), 0u);
    EXPECT_EQ(ChildSlots(m_frame)[0], -1);
    EXPECT_EQ(FramesCounted(), 0u);
    EXPECT_EQ(State().m_params_int.GetElement(kParamFrameCounter), 0);
}

// A frame of another subtype becomes a black standard frame, all of its bytes cleared.
TEST_F(TonalisTransform, AnotherSubtypeBecomesABlackStandardFrame)
{
    MakeRgb24Frame(m_frame, 100, 80);
    ASSERT_EQ(Transform(m_frame), S_OK);
    EXPECT_EQ(m_frame.m_info.m_state, 514u);
    EXPECT_TRUE(IsEqualGUID(m_frame.m_info.m_subtype, media_guids::MEDIASUBTYPE_YUY2));
    EXPECT_EQ(SizeOf(m_frame), (Size{80, 60}));
    EXPECT_EQ(m_frame.m_stride, 160);
    ASSERT_EQ(m_frame.m_size_data, 9600);
    for (int k = 0; k < 9600; ++k)
        ASSERT_EQ(m_frame.m_data[m_frame.m_offset_data + k], 0) << k;
    EXPECT_EQ(ChildSlots(m_frame), kYuy2Slots);
    EXPECT_EQ(EventsOfType(ted1AverageVideoLevel).size(), 1u);
    EXPECT_EQ(EventsOfType(ted1GistogramFullFrame).size(), 1u);
    EXPECT_EQ(FramesCounted(), 1u);
}

// With the corrections off the measurements still come: the histogram, the reduced copies and
// the level, Y / 255 on a flat frame.
TEST_F(TonalisTransform, WithTheCorrectionsOffTheMeasurementsStillCome)
{
    ASSERT_EQ(Correction(0, {Int(0)}), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 64, 48);
    EXPECT_EQ(EventsOfType(ted1GistogramFullFrame).size(), 1u);
    const auto levels = EventsOfType(ted1AverageVideoLevel);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_FLOAT_EQ(static_cast<const InfoEventDataFrame_ted1AverageVideoLevel*>(levels[0])->m_level1, kFlat / 255.0f);
    EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(3))), (Size{8, 6}));
    EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(3)), 7, 5), kFlat);
}

TEST_F(TonalisTransform, TheFirstLevelEventComesOnceAfterItsRequest)
{
    ASSERT_EQ(Correction(8), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 32, 16);
    const auto first = EventsOfType(ted1FirstAverageVideoLevel);
    ASSERT_EQ(first.size(), 1u);
    const auto* event = static_cast<const InfoEventDataFrame_ted1FirstAverageVideoLevel*>(first[0]);
    EXPECT_FLOAT_EQ(event->m_level1, kFlat / 255.0f);
    EXPECT_FLOAT_EQ(event->m_level2, kFlat / 255.0f);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 32, 16);
    EXPECT_TRUE(EventsOfType(ted1FirstAverageVideoLevel).empty());

    ASSERT_EQ(SetParam(kParamAdaptiveBrightness, 1, 0.75f), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 32, 16);
    const auto levels = EventsOfType(ted1AverageVideoLevel);
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(static_cast<const InfoEventDataFrame_ted1AverageVideoLevel*>(levels[0])->m_level2, 0.75f);
}

TEST_F(TonalisTransform, TheStatisticsEventComesAtTheReportCountAndTheFrameStillGoesOn)
{
    InfoStaticResultProcessDataPath1 record;
    record.m_flags = InfoStaticResultProcessDataPath1::kFlagSetPeriod;
    record.m_period_report = 2;
    ASSERT_EQ(Call(IID_IControlStaticResultProcess, 0, {Pointer(&record)}), S_OK);
    ASSERT_EQ(Correction(10, {Int(5), Int(0)}), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 32, 16);
    EXPECT_TRUE(EventsOfType(ted1ChangeStaticInfoAboutProcess).empty());
    ProcessFlatFrame(TestFrameFormat::Yuy2, 32, 16);
    const auto reports = EventsOfType(ted1ChangeStaticInfoAboutProcess);
    ASSERT_EQ(reports.size(), 1u);
    const auto* report = static_cast<const InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess*>(reports[0]);
    EXPECT_STREQ(report->m_text_id.GetString(), "TextIDFilter::Tonalis1");
    EXPECT_EQ(report->m_count_frames, 2u);
    EXPECT_EQ(report->m_id_camera, 5);
}

// Half-size work needs the split view off and a frame wider than 320.
TEST_F(TonalisTransform, HalfSizeWorkHalvesOnlyFramesWiderThan320)
{
    ASSERT_EQ(SetParam(kParamHalfSize, 1), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 640, 480);
    EXPECT_EQ(SizeOf(m_frame), (Size{640, 480}));

    ASSERT_EQ(SetParam(kParamSplitView, 0), S_OK);
    struct Case
    {
        Size frame;
        Size worked;
    };
    for (const Case& c : {Case{{640, 480}, {320, 240}}, Case{{320, 240}, {320, 240}}}) {
        SCOPED_TRACE(c.frame);
        ProcessFlatFrame(TestFrameFormat::Yuy2, c.frame.width, c.frame.height);
        EXPECT_EQ(SizeOf(m_frame), c.worked);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(0))), c.worked);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Chroma(0))), c.worked);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(1))), (Size{c.worked.width / 2, c.worked.height / 2}));
        EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(0)), c.worked.width - 1, c.worked.height - 1), kFlat);
        const auto histograms = EventsOfType(ted1GistogramFullFrame);
        ASSERT_EQ(histograms.size(), 1u);
        EXPECT_EQ(static_cast<const InfoEventDataFrame_ted1GistogramFullFrame*>(histograms[0])->m_width,
                  c.worked.width);
    }
}

struct ResizeCase
{
    int32_t width;
    int32_t height;
    Size result;
};

// A target the frame already has, or one no plane can be laid out at, leaves the frame's size.
TEST_F(TonalisTransform, TheResizeStepScalesThePlanesToAPossibleTarget)
{
    const ResizeCase cases[] = {
        {64, 48, {64, 48}},   {32, 24, {32, 24}},  {96, 40, {96, 40}},           {-32, 24, {64, 48}},
        {32, -24, {64, 48}},  {0, 24, {64, 48}},   {0x40000000, 0x40000000, {64, 48}}, {0x7FFFFFFF, 2, {64, 48}},
    };
    for (const ResizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
        ASSERT_EQ(SetParam(kParamResizeWidth, c.width), S_OK);
        ASSERT_EQ(SetParam(kParamResizeHeight, c.height), S_OK);
        ProcessFlatFrame(TestFrameFormat::Yuy2, 64, 48);
        EXPECT_EQ(SizeOf(m_frame), c.result);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(0))), c.result);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Chroma(0))), c.result);
        EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Output(3))), (Size{c.result.width / 8, c.result.height / 8}));
        EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(0)), c.result.width - 1, c.result.height - 1), kFlat);
    }
}

// Keeping the ratio, the picture lies centred in black (grey chroma) borders.
TEST_F(TonalisTransform, TheFittedPictureLiesInBorders)
{
    ASSERT_EQ(SetParam(kParamResizeWidth, 64), S_OK);
    ASSERT_EQ(SetParam(kParamResizeHeight, 64), S_OK);
    ASSERT_EQ(SetParam(kParamResizeKeepRatio, 1), S_OK);
    ProcessFlatFrame(TestFrameFormat::Yuy2, 64, 48);
    InfoDataBufferPath1& luma = Plane(m_frame, FrameChildSlot::Luma(0));
    InfoDataBufferPath1& chroma = Plane(m_frame, FrameChildSlot::Chroma(0));
    ASSERT_EQ(SizeOf(luma), (Size{64, 64}));
    for (int y = 0; y < 64; ++y) {
        const bool picture = y >= 8 && y < 56;
        ASSERT_EQ(PlaneSample(luma, 0, y), picture ? kFlat : 0) << y;
        ASSERT_EQ(PlaneSample(luma, 63, y), picture ? kFlat : 0) << y;
        ASSERT_EQ(PlaneSample(chroma, 63, y), 128) << y;
    }
}

// Half of each plane comes back as it was saved; the other half keeps what the steps made of it.
TEST_F(TonalisTransform, TheSplitViewPutsBackHalfOfThePlanes)
{
    ProcessFlatFrame(TestFrameFormat::Yuy2, 64, 16);
    InfoDataBufferPath1& luma = Plane(m_frame, FrameChildSlot::Luma(0));
    InfoDataBufferPath1& chroma = Plane(m_frame, FrameChildSlot::Chroma(0));
    ASSERT_EQ(SaveSplitView(State(), luma, &chroma), S_OK);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 64; ++x)
            PlaneSample(luma, x, y) = PlaneSample(chroma, x, y) = 7;
    ASSERT_EQ(RestoreSplitView(State(), luma, &chroma), S_OK);
    for (int y : {0, 15}) {
        EXPECT_EQ(PlaneSample(luma, 0, y), kFlat);
        EXPECT_EQ(PlaneSample(luma, 63, y), 7);
        EXPECT_EQ(PlaneSample(chroma, 1, y), 128);
        EXPECT_EQ(PlaneSample(chroma, 63, y), 7);
    }
}

// The rows of an output plane its edge image writes: all but the first and the last.
std::vector<int16_t> EdgeRows(InfoDataBufferPath1& plane)
{
    std::vector<int16_t> samples;
    for (int y = 1; y + 1 < plane.m_info.m_bih.biHeight; ++y)
        for (int x = 0; x < plane.m_info.m_bih.biWidth; ++x)
            samples.push_back(PlaneSample(plane, x, y));
    return samples;
}

// The planes the pipeline's own work leaves (the corrections off) come out the same in each kernel
// set, sample for sample; the edge images of the output planes see groups of 4 samples in the MMX
// set and of 8 in the others.
TEST_F(TonalisTransform, EveryKernelSetLeavesTheSamePlanes)
{
    ASSERT_EQ(Correction(0, {Int(0)}), S_OK);
    struct KernelSet
    {
        const char* name;
        uint32_t mode;
        bool plain;
        bool groupsOf8;
    };
    const KernelSet sets[] = {{"plain", 1, true, true}, {"mmx", 1, false, false}, {"sse2", 4, false, true}};
    const TestFrameLuma pattern = [](int x, int y) { return static_cast<uint8_t>((x * 37 + y * 11) % 251); };
    std::vector<std::vector<int16_t>> reference;
    for (const KernelSet& set : sets) {
        SCOPED_TRACE(set.name);
        std::optional<ForcedProcessorFeatures> forced;
        if (set.plain)
            forced.emplace(false, false, false);
        ASSERT_EQ(Call(IID_IControlOptimProcessor, 1, {Int(static_cast<int32_t>(set.mode))}), S_OK);
        ASSERT_EQ(MakeTestFrame(m_frame, TestFrameFormat::Yuy2, 72, 40, pattern), S_OK);
        ASSERT_EQ(Transform(m_frame), S_OK);
        std::vector<std::vector<int16_t>> planes;
        for (int level = 0; level < FrameChildSlot::kLevels; ++level) {
            planes.push_back(PlaneSamples(Plane(m_frame, FrameChildSlot::Luma(level))));
            planes.push_back(PlaneSamples(Plane(m_frame, FrameChildSlot::Chroma(level))));
            planes.push_back(EdgeRows(Plane(m_frame, FrameChildSlot::Output(level))));
        }
        if (reference.empty())
            reference = planes;
        for (size_t k = 0; k < planes.size(); ++k)
            if (k % 3 != 2 || set.groupsOf8) {
                EXPECT_EQ(planes[k], reference[k]) << "plane " << k;
            }
    }
}

struct FitCase
{
    Size source;
    Size target;
    bool keepRatio;
    PlaneFit fit;
};

TEST(TonalisFit, ThePictureKeepsItsRatioCentredOnWholeGroupsAcross)
{
    const FitCase cases[] = {
        {{640, 480}, {320, 240}, true, {320, 240, 320, 240, 0, 0}},
        {{640, 480}, {640, 360}, false, {640, 360, 640, 360, 0, 0}},
        {{640, 480}, {640, 360}, true, {640, 360, 480, 360, 80, 0}},
        {{640, 480}, {720, 360}, true, {720, 360, 480, 360, 112, 0}},
        {{640, 360}, {640, 480}, true, {640, 480, 640, 360, 0, 60}},
        {{320, 240}, {640, 400}, true, {640, 400, 533, 400, 48, 0}},
        {{100, 20}, {64, 64}, true, {64, 64, 64, 12, 0, 26}},
        {{1, 1000}, {64, 64}, true, {64, 64, 1, 64, 16, 0}},
    };
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.source << " into " << c.target << " keep " << c.keepRatio);
        const PlaneFit fit =
            FitPictureToTarget(c.source.width, c.source.height, c.target.width, c.target.height, c.keepRatio);
        EXPECT_EQ(fit.targetWidth, c.fit.targetWidth);
        EXPECT_EQ(fit.targetHeight, c.fit.targetHeight);
        EXPECT_EQ(fit.width, c.fit.width);
        EXPECT_EQ(fit.height, c.fit.height);
        EXPECT_EQ(fit.x, c.fit.x);
        EXPECT_EQ(fit.y, c.fit.y);
    }
}

TEST_F(TonalisTransform, BadCallsAreRefused)
{
    ASSERT_EQ(MakeTestFrame(m_frame, TestFrameFormat::Yuy2, 32, 16, UniformLuma(kFlat)), S_OK);
    InfoDataBufferPath1 output;
    EXPECT_EQ(m_exports->transform(nullptr, sizeof(m_frame), nullptr, 0, &m_record, &m_events, 0), E_INVALIDARG);
    EXPECT_EQ(m_exports->transform(&m_frame, 0, nullptr, 0, &m_record, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_exports->transform(&m_frame, sizeof(m_frame), &output, 0, &m_record, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_exports->transform(&m_frame, sizeof(m_frame), nullptr, 1, &m_record, &m_events, 0), E_UNEXPECTED);
    InfoFilterObjectDataPath1 stateless;
    EXPECT_EQ(m_exports->transform(&m_frame, sizeof(m_frame), nullptr, 0, &stateless, &m_events, 0), E_UNEXPECTED);
    EXPECT_EQ(m_exports->transform(&m_frame, sizeof(m_frame), nullptr, 0, nullptr, &m_events, 0), E_INVALIDARG);
    // A frame whose rows do not lie in its data is not read.
    m_frame.m_size_data = 100;
    EXPECT_EQ(Transform(m_frame), E_UNEXPECTED);
    m_frame.m_size_data = m_frame.m_capacity + 1;
    EXPECT_EQ(Transform(m_frame), E_INVALIDARG);
    // Without an event list the frame still goes on.
    ASSERT_EQ(MakeTestFrame(m_frame, TestFrameFormat::Yuy2, 32, 16, UniformLuma(kFlat)), S_OK);
    EXPECT_EQ(m_exports->transform(&m_frame, sizeof(m_frame), nullptr, 0, &m_record, nullptr, 0), S_OK);
}

TEST_F(TonalisTransform, FramesOfAnySizeAreProcessed)
{
    const Size sizes[] = {{1, 1}, {2, 2}, {7, 3}, {9, 9}, {33, 17}, {65, 1}, {1, 40}};
    for (TestFrameFormat format : {TestFrameFormat::Yuy2, TestFrameFormat::Y8})
        for (const Size& size : sizes) {
            SCOPED_TRACE(size);
            ProcessFlatFrame(format, size.width, size.height);
            EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Luma(0))), size);
            EXPECT_EQ(PlaneSample(Plane(m_frame, FrameChildSlot::Luma(0)), size.width - 1, size.height - 1), kFlat);
            EXPECT_EQ(SizeOf(Plane(m_frame, FrameChildSlot::Output(3))), (Size{size.width / 8, size.height / 8}));
            EXPECT_EQ(EventsOfType(ted1GistogramFullFrame).size(), 1u);
        }
}
