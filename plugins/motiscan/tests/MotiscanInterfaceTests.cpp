// The detector's identity and interfaces, through the exports of "Motiscan4.vdd".
#include "MotiscanTestSupport.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>

namespace {

using MotiscanInterface = MotiscanFixture;

uint32_t FloatBits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

} // namespace

TEST_F(MotiscanInterface, IdentityPointsAndInterfaces)
{
    DynamicString name;
    float version = 0.0f;
    ASSERT_EQ(m_exports->name(&name, &version), S_OK);
    EXPECT_STREQ(name.GetString(), "TextIDFilter::Motiscan4");
    EXPECT_EQ(FloatBits(version), 0x3F9AE148u);
    EXPECT_STREQ(m_record.m_text_id.GetString(), "TextIDFilter::Motiscan4");
    EXPECT_EQ(FloatBits(m_record.m_version), 0x3F9AE148u);
    EXPECT_STREQ(State().m_name.GetString(), "MOTISCAN_FILTER4");

    ListConnectionPointsDataPath1 points;
    EXPECT_EQ(m_exports->points(&points, sizeof(points) - 1), E_UNEXPECTED);
    ASSERT_EQ(m_exports->points(&points, sizeof(points)), S_OK);
    ASSERT_EQ(points.m_count_inputs, 1u);
    ASSERT_EQ(points.m_count_outputs, 1u);
    EXPECT_STREQ(points.m_inputs.GetElement(0).m_name.GetString(), "DataInput1");
    EXPECT_EQ(points.m_inputs.GetElement(0).m_type, kTypeInputPointDataPath1);
    EXPECT_STREQ(points.m_outputs.GetElement(0).m_name.GetString(), "DataOutput1");
    EXPECT_EQ(points.m_outputs.GetElement(0).m_type, kTypeOutputPointDataPath1);

    for (const GUID& iid : {IID_IControlVideoDetector, IID_IControlOptimProcessor, IID_IControlStaticResultProcess})
        EXPECT_EQ(m_exports->query(iid), S_OK);
    EXPECT_EQ(m_exports->query(IID_IInfoCamera), S_FALSE);
    m_params.SetNumberParams(1);
    EXPECT_EQ(Call(IID_IInfoCamera, 0, m_params), E_FAIL);
}

TEST_F(MotiscanInterface, StateStartsWithTheDefaults)
{
    const Motiscan4State& state = State();
    EXPECT_TRUE(state.m_detection_enabled);
    EXPECT_FALSE(state.m_full_frame);
    EXPECT_EQ(state.m_forced_level, -1);
    EXPECT_EQ(state.m_optim.GetModeValue(), 1u);
    EXPECT_EQ(state.m_statistics.GetPeriodReport(), -1);
    EXPECT_EQ(state.m_rebuild_zone, 1);
    EXPECT_EQ(state.m_work.Capacity(), 0u);
    EXPECT_EQ(state.m_settings.kind, StructFormatGraph1::kKindCapture);
    EXPECT_EQ(state.m_settings.m_capture.m_values1[0], 5.0f);
    EXPECT_EQ(state.m_settings.m_capture.m_bounds[0].m_upper2, 100.0f);
}

// Each method of the detector interface: its parameters, its answer and what it leaves in the state.
TEST_F(MotiscanInterface, DetectorMethods)
{
    bool bufferByte = false;
    StructFormatGraph1 settings;
    settings.cameraId = 77;
    ASSERT_EQ(LoadSettings(settings), S_OK);
    State().m_rebuild_zone = 0;

    struct Case
    {
        const char* what;
        int32_t index;
        std::function<void(InfoParamDataPath1&, InfoParamDataPath1&)> set;
        HRESULT result;
        std::function<void(Motiscan4State&, InfoParamDataPath1&)> check;
    };
    const auto none = [](Motiscan4State&, InfoParamDataPath1&) {};
    const Case cases[] = {
        {"detection off", 0, [](auto& p0, auto&) { p0.SetBool(false); }, S_OK,
         [](auto& s, auto&) { EXPECT_FALSE(s.m_detection_enabled); }},
        {"asked back", 3, [](auto& p0, auto&) { p0.SetPointer(nullptr, 0, false); }, S_OK,
         [](auto&, auto& p0) {
             EXPECT_EQ(p0.m_type, TypeParamBool);
             EXPECT_FALSE(p0.GetBool());
         }},
        {"caller value", 1, [](auto& p0, auto&) { p0.SetInt(-42); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_caller_value, -42); }},
        {"caller value asked back", 2, [](auto& p0, auto&) { p0.SetPointer(nullptr, 0, false); }, S_OK,
         [](auto&, auto& p0) {
             EXPECT_EQ(p0.m_type, TypeParamInt);
             EXPECT_EQ(p0.GetInt(), -42);
         }},
        {"buffer check without buffer", 5, [](auto& p0, auto& p1) { p0.SetPointer(nullptr, 0, false), p1.SetUInt(64); },
         E_INVALIDARG, none},
        {"buffer check, 31 bytes", 5, [&](auto& p0, auto& p1) { p0.SetPointer(&bufferByte, 0, false), p1.SetUInt(31); },
         E_UNEXPECTED, none},
        {"buffer check, 32 bytes", 5, [&](auto& p0, auto& p1) { p0.SetPointer(&bufferByte, 0, false), p1.SetUInt(32); },
         S_OK, none},
        {"settings one byte short", 6,
         [&](auto& p0, auto& p1) {
             settings.cameraId = 99;
             p0.SetPointer(&settings, 0, false);
             p1.SetUInt(sizeof(StructFormatGraph1) - 1);
         },
         E_UNEXPECTED,
         [](auto& s, auto&) {
             EXPECT_EQ(s.m_settings.cameraId, 77) << "the old settings kept";
             EXPECT_EQ(s.m_rebuild_zone, 0);
         }},
        {"settings without record", 6, [](auto& p0, auto& p1) { p0.SetPointer(nullptr, 0, false), p1.SetUInt(10652); },
         E_INVALIDARG, [](auto& s, auto&) { EXPECT_EQ(s.m_settings.cameraId, 77); }},
        {"settings whole", 6,
         [&](auto& p0, auto& p1) {
             p0.SetPointer(&settings, 0, false);
             p1.SetUInt(10652);
         },
         S_OK,
         [](auto& s, auto&) {
             EXPECT_EQ(s.m_settings.cameraId, 99);
             EXPECT_EQ(s.m_rebuild_zone, 1);
         }},
        {"caller flag", 7, [](auto& p0, auto&) { p0.SetBool(true); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_caller_flag, 1); }},
        {"mark time", 10, [](auto&, auto&) {}, S_OK, [](auto& s, auto&) { EXPECT_EQ(s.m_time_marked, 1); }},
        {"forced level 7", 12, [](auto& p0, auto&) { p0.SetUInt(7); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_forced_level, 2); }},
        {"forced level -5", 12, [](auto& p0, auto&) { p0.SetUInt(static_cast<uint32_t>(-5)); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_forced_level, 0); }},
        {"back to the schedule", 12, [](auto& p0, auto&) { p0.SetUInt(static_cast<uint32_t>(-1)); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_forced_level, -1); }},
        {"option 8", 13, [](auto& p0, auto& p1) { p0.SetUInt(8), p1.SetInt(1); }, E_UNEXPECTED, none},
        {"option -1", 13, [](auto& p0, auto& p1) { p0.SetUInt(static_cast<uint32_t>(-1)), p1.SetInt(1); },
         E_UNEXPECTED, none},
        {"option 5", 13, [](auto& p0, auto& p1) { p0.SetUInt(5), p1.SetInt(9); }, S_OK,
         [](auto& s, auto&) { EXPECT_EQ(s.m_options[5], 1); }},
        {"full frame", 14, [](auto& p0, auto&) { p0.SetBool(true); }, S_OK,
         [](auto& s, auto&) { EXPECT_TRUE(s.m_full_frame); }},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Detector(c.index, c.set), c.result) << c.what;
        c.check(State(), m_params.m_params.GetElement(0));
    }
}

TEST_F(MotiscanInterface, UnservedMethodsAnswerZeroAndChangeNothing)
{
    for (int32_t index : {4, 8, 9, 11, 15, 31}) {
        EXPECT_EQ(Detector(index, [](auto& p0, auto& p1) { p0.SetInt(1), p1.SetInt(1); }), S_OK) << index;
        EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 1) << index;
    }
    const uint8_t noOptions[Motiscan4State::kOptionCount] = {};
    EXPECT_TRUE(State().m_detection_enabled);
    EXPECT_EQ(State().m_caller_value, 0);
    EXPECT_EQ(State().m_forced_level, -1);
    EXPECT_FALSE(State().m_full_frame);
    EXPECT_EQ(std::memcmp(State().m_options, noOptions, sizeof(noOptions)), 0);
}

TEST_F(MotiscanInterface, OptionTwoFreesTheWorkBuffersUntilTheNextFrame)
{
    ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, 320, 240, UniformLuma(16)), S_OK);
    ASSERT_GT(State().m_work.Capacity(), 0u);
    ASSERT_EQ(Detector(13, [](auto& p0, auto& p1) { p0.SetUInt(2), p1.SetInt(1); }), S_OK);
    EXPECT_EQ(State().m_work.Capacity(), 0u);
    EXPECT_EQ(State().m_work.Previous(), nullptr);
    EXPECT_LE(State().m_zone_plane.m_capacity, 256);

    ASSERT_EQ(TransformNew(TestFrameFormat::Yuy2, 320, 240, UniformLuma(16)), S_OK);
    EXPECT_GT(State().m_work.Capacity(), 0u);
    EXPECT_EQ(EventsOfType(ted1VideoDetectEvent).size(), 1u);
}

TEST_F(MotiscanInterface, SettingsThatAreNoNumbersAreNormalisedOnLoad)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    StructFormatGraph1 settings;
    settings.m_capture.m_bounds[0].m_lower1 = nan;
    settings.m_capture.m_bounds[0].m_upper1 = std::numeric_limits<float>::infinity();
    settings.m_capture.m_bounds[0].m_upper2 = nan;
    settings.m_capture.m_values1[0] = nan;
    ASSERT_EQ(LoadSettings(settings), S_OK);
    const InfoVideoDetectBounds& bounds = State().m_settings.m_capture.m_bounds[0];
    EXPECT_EQ(bounds.m_lower1, 2.0f);
    EXPECT_EQ(bounds.m_upper1, 60.0f);
    EXPECT_EQ(bounds.m_upper2, 100.0f);

    // A sensitivity that is no number counts as the default 5: a change of 10 is found.
    ASSERT_EQ(TransformNew(TestFrameFormat::Y8, 96, 72, UniformLuma(16)), S_OK);
    ASSERT_EQ(TransformNew(TestFrameFormat::Y8, 96, 72, BlockLuma(16, 26, 40, 30, 50, 40)), S_OK);
    auto* detection = OnlyEvent<InfoEventDataFrame_ted1VideoDetectEvent>(ted1VideoDetectEvent);
    ASSERT_NE(detection, nullptr);
    EXPECT_NEAR(detection->m_area_max, 100.0f / (96 * 72), 1e-6);
}

TEST_F(MotiscanInterface, ProcessorModes)
{
    m_params.SetNumberParams(1);
    m_params.m_params.GetElement(0).SetPointer(nullptr, 0, false);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 0, m_params), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 15);

    ASSERT_EQ(SetMode(8), S_OK);
    EXPECT_EQ(State().m_optim.GetColumn(), SwordColumn::Sse2) << "mode 8 selects SSE2";
    m_params.SetNumberParams(1);
    m_params.m_params.GetElement(0).SetPointer(nullptr, 0, false);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 2, m_params), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 8);
    ASSERT_EQ(SetMode(0), S_OK);
    EXPECT_EQ(State().m_optim.GetColumn(), SwordColumn::Mmx);
}
