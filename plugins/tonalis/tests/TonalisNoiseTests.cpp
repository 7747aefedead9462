// Noise removal on small frames: the references the temporal passes keep, the constants each pass
// hands the filters, and the passes of the edge-aware smoothing.
#include "TonalisStepTestSupport.h"

#include "MessageForObjectsDataPath1.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

namespace {

HRESULT FirstPass(StepState& step, StepFrame& frame)
{
    return HelperFunction_RemoveNoise(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples, true, false);
}

TEST(TonalisNoiseRemoval, FirstFramesAfterAChangeOnlyStoreTheirReference)
{
    StepState step;
    StepFrame first(TestFrameFormat::Y8, 16, 8, UniformLuma(100));
    EXPECT_EQ(S_OK, FirstPass(step, first));
    EXPECT_EQ(100, PlaneSample(first.Luma(), 3, 3));
    EXPECT_EQ(100, PlaneSample(step.state.m_stored_frames[kStoredLumaFirstPass], 3, 3));

    StepFrame second(TestFrameFormat::Y8, 16, 8, UniformLuma(104));
    FirstPass(step, second);
    const int16_t filtered = PlaneSample(second.Luma(), 3, 3);
    EXPECT_GT(filtered, 100);
    EXPECT_LT(filtered, 104);

    struct Change
    {
        const char* name;
        int width;
        void (*apply)(StepState&);
    };
    const Change changes[] = {
        {"another size", 24, [](StepState&) {}},
        {"a new brightness", 16, [](StepState& s) { s.Value(kValueBrightness, 60.0f); }},
        {"another edge-map setting", 16, [](StepState& s) { s.Param(kParamEdgeMapPerPass, 0); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        StepState fresh;
        StepFrame before(TestFrameFormat::Y8, 16, 8, UniformLuma(100));
        FirstPass(fresh, before);
        change.apply(fresh);
        StepFrame after(TestFrameFormat::Y8, change.width, 8, UniformLuma(110));
        FirstPass(fresh, after);
        EXPECT_EQ(110, PlaneSample(after.Luma(), 3, 3));
    }
}

// The constants each pass hands the temporal filter: limits, then weights (and for the motion
// form its condition limit and weight).
TEST(TonalisNoiseRemoval, EachPassTakesItsConstants)
{
    struct Case
    {
        const char* name;
        float level; // negative: never set
        bool firstPass;
        std::vector<int> words;
    };
    const std::vector<int> conditions = {1, 0, 0, 0, 0, 0, 0, 0, 12, 0, 0, 0, 0, 0, 0, 0};
    std::vector<int> secondDefault = {20, 50, 115, -38, -38};
    secondDefault.insert(secondDefault.end(), conditions.begin(), conditions.end());
    std::vector<int> secondAt100 = {65, 110, 115, 0, -12};
    secondAt100.insert(secondAt100.end(), conditions.begin(), conditions.end());
    const Case cases[] = {
        {"first pass, level 0", 0.0f, true, {5, 10, 12, -6, -3}},
        {"first pass, level 100", 100.0f, true, {20, 35, 51, -19, -16}},
        {"second pass, defaults", -1.0f, false, secondDefault},
        {"second pass, level 100", 100.0f, false, secondAt100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StepState step;
        if (c.level >= 0)
            step.Value(kValueNoiseLevel, c.level);
        step.state.m_operations.removeNoise2 = RecordingRemoveNoise2;
        step.state.m_operations.removeNoise3 = RecordingRemoveNoise3;
        StepFrame frame(TestFrameFormat::Y8, 16, 8, UniformLuma(80));
        for (int n = 0; n < 2; ++n)
            HelperFunction_RemoveNoise(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples,
                                       c.firstPass, true);
        RecordedCalls().clear();
        HelperFunction_RemoveNoise(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples, c.firstPass,
                                   true);
        ASSERT_EQ(1u, RecordedCalls().size());
        EXPECT_EQ(c.words, RecordedCalls()[0].words);
    }
}

TEST(TonalisNoiseRemoval, SecondPassFiltersTheChromaOnlyOnceALevelIsSet)
{
    for (const bool levelSet : {false, true}) {
        SCOPED_TRACE(levelSet ? "level set" : "no level");
        StepState step;
        if (levelSet)
            step.Value(kValueNoiseLevel, 30.0f);
        step.state.m_operations.removeNoise3 = RecordingRemoveNoise3;
        StepFrame frame(TestFrameFormat::Yuy2, 16, 8, UniformLuma(80));
        for (int n = 0; n < 2; ++n)
            HelperFunction_RemoveNoise(step.state, frame.frame, frame.Luma(), frame.Chroma(), kTonalisAllSamples,
                                       false, true);
        RecordedCalls().clear();
        HelperFunction_RemoveNoise(step.state, frame.frame, frame.Luma(), frame.Chroma(), kTonalisAllSamples, false,
                                   true);
        EXPECT_EQ(levelSet ? 2u : 1u, RecordedCalls().size());
    }
}

// A moving block marks the motion mask around it: 255 inside, fading to its neighbours.
TEST(TonalisNoiseRemoval, MotionMaskMarksWhatMovedSinceThePreviousFrame)
{
    StepState step;
    StepFrame still(TestFrameFormat::Y8, 32, 16, UniformLuma(60));
    HelperFunction_RemoveNoise(step.state, still.frame, still.Luma(), nullptr, kTonalisAllSamples, false, true);
    StepFrame moved(TestFrameFormat::Y8, 32, 16, BlockLuma(60, 160, 8, 4, 16, 12));
    HelperFunction_RemoveNoise(step.state, moved.frame, moved.Luma(), nullptr, kTonalisAllSamples, false, true);
    InfoDataBufferPath1& mask = *GetFrameChildPlane(moved.frame, TonalisWorkSlot::kMotionMask);
    EXPECT_EQ(255, PlaneSample(mask, 12, 8));
    EXPECT_EQ(0, PlaneSample(mask, 24, 8));
    EXPECT_EQ(0, PlaneSample(mask, 2, 2));
    // Next to the block: 3 of 8 neighbours marked by the first stage (95), then the 3 x 3 mean of
    // the second stage over three such columns and three of the border column's (159).
    EXPECT_EQ((3 * 95 + 3 * 159) * 1821 >> 14, PlaneSample(mask, 7, 8));
    // The work planes carry every row, so later copies and exchanges of them move the whole plane.
    for (const int slot : {TonalisWorkSlot::kDifference, TonalisWorkSlot::kMotionMask})
        EXPECT_EQ(moved.Luma().m_size_data, GetFrameChildPlane(moved.frame, slot)->m_size_data) << slot;
    EXPECT_EQ(PlaneSample(moved.Luma(), 12, 8), PlaneSample(step.state.m_stored_frames[kStoredPreviousLuma], 12, 8));
}

// The mask is the marks spread to their 8 neighbours and then smoothed over 3 x 3 samples, the
// edge samples repeated beyond the borders, sample for sample in every kernel column, from the
// narrowest plane the borders take to a full-width one. (The widths are whole 8-sample vectors:
// the threshold's vector form, like the rest of its family, leaves a partial last vector out.)
TEST(TonalisNoiseRemoval, MotionMaskSpreadsAndSmoothsTheMarksAtEverySize)
{
    struct Size
    {
        int width;
        int height;
    };
    // A quarter of the samples moves by 40 between the frames, scattered.
    const auto scattered = [](int x, int y) { return static_cast<uint32_t>(x * 7919 + y * 104729) * 2654435761u >> 24; };
    const TestFrameLuma before = [&](int x, int y) { return static_cast<uint8_t>(scattered(x, y) % 200); };
    const TestFrameLuma after = [&](int x, int y) {
        return static_cast<uint8_t>(scattered(x, y) % 200 + (scattered(y, x) % 4 == 0 ? 40 : 0));
    };
    for (const SwordColumn column : {SwordColumn::Plain, SwordColumn::Mmx, SwordColumn::Sse2})
    for (const Size size : {Size{640, 99}, Size{1920, 40}, Size{24, 9}, Size{8, 3}}) {
        SCOPED_TRACE("column " + std::to_string(static_cast<int>(column)) + ", " + std::to_string(size.width) + " x " +
                     std::to_string(size.height));
        const int w = size.width, h = size.height;
        StepState step;
        step.state.m_operations = GetOptimFunctionTableSWORD(column);
        StepFrame first(TestFrameFormat::Y8, w, h, before);
        HelperFunction_RemoveNoise(step.state, first.frame, first.Luma(), nullptr, kTonalisAllSamples, false, true);
        StepFrame second(TestFrameFormat::Y8, w, h, after);
        HelperFunction_RemoveNoise(step.state, second.frame, second.Luma(), nullptr, kTonalisAllSamples, false, true);

        const auto at = [&](const std::vector<int>& plane, int x, int y) {
            return plane[std::clamp(y, 0, h - 1) * w + std::clamp(x, 0, w - 1)];
        };
        std::vector<int> marks(w * h), spread(w * h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                marks[y * w + x] = std::abs(PlaneSample(first.Luma(), x, y) - PlaneSample(second.Luma(), x, y)) > 10 ? 255 : 0;
        const auto sum3x3 = [&](const std::vector<int>& plane, int x, int y) {
            int sum = 0;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    sum += at(plane, x + dx, y + dy);
            return sum;
        };
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                spread[y * w + x] = (sum3x3(marks, x, y) - marks[y * w + x]) * 2048 >> 14;
        InfoDataBufferPath1& mask = *GetFrameChildPlane(second.frame, TonalisWorkSlot::kMotionMask);
        int differences = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                differences += PlaneSample(mask, x, y) != (sum3x3(spread, x, y) * 1821 >> 14);
        EXPECT_EQ(0, differences);
    }
}

// At half size the second pass filters against the halved motion mask and rebuilds it.
TEST(TonalisNoiseRemoval, MotionPassRunsOnHalfSizeWork)
{
    StepState step;
    step.Param(kParamSplitView, 0);
    step.Param(kParamHalfSize, 1);
    step.state.m_operations.removeNoise3 = RecordingRemoveNoise3;
    RecordedCalls().clear();
    for (int n = 0; n < 3; ++n) {
        InfoDataBufferPath1 frame;
        ASSERT_EQ(S_OK, MakeTestFrame(frame, TestFrameFormat::Yuy2, 336, 16, BlockLuma(40, 200, 0, 0, 8 + 8 * n, 16)));
        ListEventsDataPath1 events;
        step.filter.CorrectImageFunction(&step.state, frame.m_data + frame.m_offset_data, frame.m_size_data, &events,
                                         &frame);
        for (uint32_t i = 0; i < events.GetCount(); ++i)
            delete events.GetElement(i).m_event;
        InfoDataBufferPath1& mask = *GetFrameChildPlane(frame, TonalisWorkSlot::kMotionMask);
        EXPECT_EQ(168, PlaneWidth(mask));
        if (n == 2) { // where the block grew since the last frame
            EXPECT_EQ(255, PlaneSample(mask, 10, 4));
        }
    }
    EXPECT_EQ(2u, RecordedCalls().size());
}

// Each smoothing pass records kernel A, kernel B, the factor and the edge threshold.
TEST(TonalisEdgeSmoothing, TheSettingGivesThePasses)
{
    const auto pass = [](bool below, int k, int threshold) {
        const int factor = (16384 + k + 7) / (k + 8); // rounded up
        std::vector<int> plain(9, below ? 0 : 1), keeping(9, below ? 1 : 0);
        plain[4] = below ? k + 8 : k;
        keeping[4] = below ? k : k + 8;
        std::vector<int> words = plain;
        words.insert(words.end(), keeping.begin(), keeping.end());
        words.push_back(factor);
        words.push_back(threshold);
        return words;
    };
    struct Case
    {
        const char* name;
        float value;
        std::vector<std::vector<int>> passes;
    };
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    const Case cases[] = {
        {"neutral", 51.0f, {}},
        {"76", 76.0f, {pass(false, 0, 97)}},
        {"90", 90.0f, {pass(false, 0, 97), pass(false, 11, 53)}},
        {"40", 40.0f, {pass(true, 14, 150)}},
        {"5, the default", 5.0f, {pass(true, 0, 10), pass(true, 4, 50)}},
        {"1000 held to 101", 1000.0f, {pass(false, 0, 97), pass(false, 0, 97)}},
        {"not a number, read as the default", notANumber, {pass(true, 0, 10), pass(true, 4, 50)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StepState step;
        step.state.m_correction_values.GetElement(kValueEdgeSmoothing) = c.value;
        step.state.m_operations.conditionalConvolution = RecordingConditionalConvolution;
        StepFrame frame(TestFrameFormat::Yuy2, 16, 8, UniformLuma(70));
        RecordedCalls().clear();
        EXPECT_EQ(S_OK,
                  EdgeSmoothingFunction(step.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples));
        ASSERT_EQ(c.passes.size(), RecordedCalls().size());
        for (size_t i = 0; i < c.passes.size(); ++i)
            EXPECT_EQ(c.passes[i], RecordedCalls()[i].words) << "pass " << i;
    }
}

// With the factor rounded to the nearest, the default setting took a level off every flat picture.
TEST(TonalisEdgeSmoothing, FlatPicturesStayFlatAndChromaIsSmoothedToo)
{
    for (const float value : {5.0f, 30.0f, 76.0f, 90.0f, 101.0f}) {
        SCOPED_TRACE(value);
        StepState step;
        step.state.m_correction_values.GetElement(kValueEdgeSmoothing) = value;
        StepFrame frame(TestFrameFormat::Yuy2, 24, 8, UniformLuma(70));
        StepFrame::Fill(*frame.Chroma(), [](int x, int) { return static_cast<uint8_t>(x % 2 == 0 ? 90 : 170); });
        EXPECT_EQ(S_OK, EdgeSmoothingFunction(step.state, frame.frame, frame.Luma(), frame.Chroma(),
                                              kTonalisAllSamples));
        for (const int16_t sample : PlaneSamples(frame.Luma()))
            ASSERT_EQ(70, sample);
        const std::vector<int16_t> chroma = PlaneSamples(*frame.Chroma());
        for (size_t i = 0; i < chroma.size(); ++i)
            ASSERT_EQ(i % 2 == 0 ? 90 : 170, chroma[i]) << i;
    }
    StepState off;
    off.Param(kParamEdgeSmoothing, 0);
    off.state.m_operations.conditionalConvolution = RecordingConditionalConvolution;
    StepFrame frame(TestFrameFormat::Y8, 16, 8, BlockLuma(0, 200, 4, 0, 8, 8));
    RecordedCalls().clear();
    EXPECT_EQ(S_OK, EdgeSmoothingFunction(off.state, frame.frame, frame.Luma(), nullptr, kTonalisAllSamples));
    EXPECT_TRUE(RecordedCalls().empty());
}

} // namespace
