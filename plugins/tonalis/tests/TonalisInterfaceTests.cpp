// The correction filter's identity, record checks and interfaces, through its exports.
#include "TonalisTestSupport.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr GUID kOtherInterface = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

// Entry i of the normalised gamma curve.
SWORD GammaEntry(int i, double gamma)
{
    return static_cast<SWORD>(static_cast<int>(255.0 * std::pow(i / 255.0, gamma)));
}

std::vector<SWORD> HueMatrixFor(float degrees)
{
    DynamicBoundsObject<int32_t> sine;
    DynamicBoundsObject<int32_t> cosine;
    StaticBoundsObject<SWORD, 8> matrix;
    sine.Init(256, 0);
    cosine.Init(256, 0);
    EXPECT_EQ(CreateTablesCorrectHue(sine, cosine, matrix, degrees), S_OK);
    std::vector<SWORD> words;
    for (uint32_t i = 0; i < 8; ++i)
        words.push_back(matrix.GetElement(i));
    return words;
}

std::vector<SWORD> HueMatrix(const Tonalis1State& state)
{
    std::vector<SWORD> words;
    for (uint32_t i = 0; i < 8; ++i)
        words.push_back(state.m_hue_matrix.GetElement(i));
    return words;
}

// Makes every stored frame hold a small plane.
void FillStoredFrames(Tonalis1State& state)
{
    for (InfoDataBufferPath1& stored : state.m_stored_frames) {
        stored.m_info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
        ASSERT_EQ(stored.UpdateSizeBuffer(32, 8), S_OK);
    }
}

bool StoredFramesEmpty(const Tonalis1State& state)
{
    for (const InfoDataBufferPath1& stored : state.m_stored_frames)
        if (stored.m_size_data != 0 || stored.m_stride != 0)
            return false;
    return true;
}

} // namespace

using TonalisIdentity = TonalisFixture;
using TonalisCorrection = TonalisFixture;

TEST_F(TonalisIdentity, NameVersionPointsAndInterfaces)
{
    DynamicString name;
    float version = 0.0f;
    ASSERT_EQ(m_exports->name(&name, &version), S_OK);
    EXPECT_TRUE(name == "TextIDFilter::Tonalis1");
    uint32_t bits = 0;
    std::memcpy(&bits, &version, sizeof(bits));
    EXPECT_EQ(bits, 0x40100000u);
    EXPECT_TRUE(m_record.m_text_id == "TextIDFilter::Tonalis1");
    EXPECT_TRUE(State().m_name == "TONALIS_FILTER1");

    ListConnectionPointsDataPath1 points;
    EXPECT_EQ(m_exports->points(&points, sizeof(points) - 1), E_UNEXPECTED);
    ASSERT_EQ(m_exports->points(&points, sizeof(points)), S_OK);
    ASSERT_EQ(points.m_count_inputs, 1u);
    ASSERT_EQ(points.m_count_outputs, 1u);
    EXPECT_STREQ(points.m_inputs.GetElement(0).m_name.GetString(), "DataInput1");
    EXPECT_EQ(points.m_inputs.GetElement(0).m_type, 256);
    EXPECT_TRUE(points.m_inputs.GetElement(0).m_valid);
    EXPECT_STREQ(points.m_outputs.GetElement(0).m_name.GetString(), "DataOutput1");
    EXPECT_EQ(points.m_outputs.GetElement(0).m_type, 257);
    EXPECT_TRUE(points.m_outputs.GetElement(0).m_valid);

    for (const GUID& iid : {IID_IControlCorrectVideoData, IID_IControlOptimProcessor, IID_IControlStaticResultProcess})
        EXPECT_EQ(m_exports->query(iid), S_OK);
    EXPECT_EQ(m_exports->query(kOtherInterface), S_FALSE);
}

TEST_F(TonalisIdentity, RecordsAreCheckedAndUnknownCallsDoNothing)
{
    InfoFilterObjectDataPath1 holding;
    int dummy = 0;
    holding.m_state = &dummy;
    EXPECT_EQ(m_exports->init(&holding, 1), E_UNEXPECTED);
    holding.m_state = nullptr;

    InfoFilterObjectDataPath1 stateless;
    stateless.m_in_use = true;
    stateless.m_text_id = "TextIDFilter::Tonalis1";
    EXPECT_EQ(m_exports->free(&stateless), E_UNEXPECTED);
    EXPECT_FALSE(stateless.m_in_use);
    ListParamsDataPath1 params;
    EXPECT_EQ(m_exports->call({IID_IControlCorrectVideoData, 0, &params, &stateless}), E_UNEXPECTED);

    EXPECT_EQ(Call(kOtherInterface, 0, {Int(7)}), S_OK);
    EXPECT_EQ(Correction(15, {Int(0)}), S_OK);
    EXPECT_EQ(Correction(-1, {Int(0)}), S_OK);
    EXPECT_EQ(State().m_enable, 1);
}

struct ValueCase
{
    int32_t index;
    float userValue;
    float stored;
};

TEST_F(TonalisCorrection, ValuesAreConvertedAndClamped)
{
    const ValueCase cases[] = {
        {0, 102.0f, 4.0f},     {0, 25.5f, 0.5f},     {0, 51.0f, 1.0f},      {1, 0.0f, -255.0f},
        {1, 102.0f, 255.0f},   {1, 76.5f, 130.05f},  {1, 1000.0f, 255.0f},  {2, 51.0f, 1.0f},
        {2, 0.0f, 0.65f},      {2, 1000.0f, 2.0f},   {3, 0.0f, 1.0f},       {3, 500.0f, 101.0f},
        {4, 250.0f, 100.0f},   {5, 181.0f, 0.0f},    {5, 500.0f, 180.0f},   {5, -20.0f, -180.0f},
        {6, 300.0f, 300.0f},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index << " value " << c.userValue);
        EXPECT_GE(SetValue(c.index, c.userValue), 0);
        EXPECT_NEAR(GetValue(c.index), c.stored, 1e-3);
    }
    float value = 0.0f;
    EXPECT_EQ(Correction(2, {Int(7), Pointer(&value)}), E_FAIL);
    EXPECT_EQ(SetValue(7, 1.0f), E_FAIL);
    EXPECT_EQ(SetValue(-1, 1.0f), E_FAIL);
    EXPECT_EQ(Correction(2, {Int(0), Pointer(nullptr)}), E_INVALIDARG);
}

// Values that are no number leave every value at its default.
TEST_F(TonalisCorrection, ValuesThatAreNoNumberGiveTheDefaults)
{
    const float defaults[] = {1.0f, 30.0f, 1.0f, 1.0f, 5.0f, 10.0f, 5.0f};
    for (int32_t index = 0; index < 7; ++index) {
        SCOPED_TRACE(index);
        ASSERT_GE(SetValue(index, 60.0f), 0);
        EXPECT_GE(SetValue(index, std::numeric_limits<float>::quiet_NaN()), 0);
        EXPECT_EQ(GetValue(index), defaults[index]);
        EXPECT_GE(SetValue(index, std::numeric_limits<float>::infinity()), 0);
        EXPECT_EQ(GetValue(index), defaults[index]);
    }
    for (int i : {0, 1, 128, 255})
        EXPECT_EQ(State().m_gamma_table.GetElement(static_cast<uint32_t>(i)), i);
    EXPECT_EQ(HueMatrix(State()), HueMatrixFor(10.0f));
    EXPECT_EQ(SetParam(2, 5, std::numeric_limits<float>::quiet_NaN()), S_OK);
    EXPECT_EQ(State().m_params_float.GetElement(2), 1.0f);
}

// The gamma curve keeps black and white where they are: gamma 1 is the identity.
TEST_F(TonalisCorrection, GammaTableIsNormalisedAndBuiltFromTheClampedValue)
{
    ASSERT_EQ(SetValue(2, 51.0f), S_OK);
    for (uint32_t i = 0; i < 256; ++i)
        ASSERT_EQ(State().m_gamma_table.GetElement(i), static_cast<SWORD>(i));
    struct Case
    {
        float userValue;
        double gamma;
    };
    for (const Case& c : {Case{0.0f, 0.65}, Case{201.0f, 2.0}, Case{-50.0f, 0.65}, Case{1e6f, 2.0}}) {
        SCOPED_TRACE(c.userValue);
        ASSERT_EQ(SetValue(2, c.userValue), S_OK);
        EXPECT_EQ(State().m_gamma_table.GetElement(0), 0);
        EXPECT_EQ(State().m_gamma_table.GetElement(255), 255);
        for (int i : {1, 64, 128, 200})
            EXPECT_EQ(State().m_gamma_table.GetElement(static_cast<uint32_t>(i)), GammaEntry(i, c.gamma));
    }
}

// The hue tables follow the stored angle, from the state's first frame on.
TEST_F(TonalisCorrection, HueTablesFollowTheClampedAngle)
{
    EXPECT_EQ(GetValue(5), 10.0f);
    EXPECT_EQ(HueMatrix(State()), HueMatrixFor(10.0f));
    ASSERT_EQ(SetValue(5, 500.0f), S_OK);
    EXPECT_EQ(HueMatrix(State()), HueMatrixFor(180.0f));
    ASSERT_EQ(SetValue(5, 151.0f), S_OK);
    EXPECT_EQ(HueMatrix(State()), HueMatrixFor(-30.0f));
}

TEST_F(TonalisCorrection, NoiseLevelSetsTheSecondPassAndKeepsTheStoredFrames)
{
    Tonalis1State& state = State();
    EXPECT_EQ(state.m_noise_chroma, 0);
    FillStoredFrames(state);
    ASSERT_EQ(SetValue(4, 100.0f), S_OK);
    EXPECT_EQ(GetValue(4), 100.0f);
    EXPECT_EQ(state.m_noise_limits[0], 65);
    EXPECT_EQ(state.m_noise_limits[1], 110);
    EXPECT_EQ(state.m_noise_weights[0], 115);
    EXPECT_EQ(state.m_noise_weights[1], 0);
    EXPECT_EQ(state.m_noise_weights[2], -12);
    EXPECT_EQ(state.m_noise_chroma, 1);
    EXPECT_FALSE(StoredFramesEmpty(state));

    // Another brightness starts the temporal steps again; the same one does not.
    ASSERT_EQ(SetValue(1, 51.0f + 30.0f * 50.0f / 255.0f + 10.0f), S_OK);
    EXPECT_TRUE(StoredFramesEmpty(state));
    FillStoredFrames(state);
    ASSERT_EQ(SetValue(1, 51.0f + 30.0f * 50.0f / 255.0f + 10.0f), S_OK);
    EXPECT_FALSE(StoredFramesEmpty(state));
}

TEST_F(TonalisCorrection, ParametersAreStoredAndSomeRestartTheTemporalSteps)
{
    Tonalis1State& state = State();
    const int32_t defaults[32] = {0, 0, 0, 255, 80, 1, 0, 1, 0, 0, 1, 1, 1, 1, 1, 1, 1};
    for (int32_t index = 0; index < 32; ++index) {
        int32_t value = -1;
        float valueFloat = 0.0f;
        ASSERT_EQ(Correction(4, {Int(index), Pointer(&value), Pointer(&valueFloat)}), S_OK);
        EXPECT_EQ(value, defaults[index]) << index;
        EXPECT_EQ(valueFloat, 1.0f) << index;
    }
    EXPECT_EQ(Correction(4, {Int(32), Pointer(&state), Pointer(&state)}), E_FAIL);
    EXPECT_EQ(SetParam(32, 1), E_FAIL);

    FillStoredFrames(state);
    ASSERT_EQ(SetParam(2, 9, 2.5f), S_OK);
    EXPECT_FALSE(StoredFramesEmpty(state));
    ASSERT_EQ(SetParam(14, 1, 2.5f), S_OK);
    EXPECT_TRUE(StoredFramesEmpty(state));

    state.m_curves_changed = 0;
    state.m_gradient_phase = 0.5f;
    ASSERT_EQ(SetParam(1, 3), S_OK);
    EXPECT_EQ(state.m_curves_changed, 1);
    EXPECT_EQ(state.m_gradient_phase, 0.0f);
    state.m_curves_changed = 0;
    ASSERT_EQ(SetParam(1, 3), S_OK);
    EXPECT_EQ(state.m_curves_changed, 0);

    FillStoredFrames(state);
    ASSERT_EQ(SetParam(21, 0, 1.0f), S_OK);
    for (const InfoDataBufferPath1& stored : state.m_stored_frames) {
        EXPECT_EQ(stored.m_info.m_bih.biWidth, 16);
        EXPECT_EQ(stored.m_info.m_bih.biHeight, 1);
    }
}

TEST_F(TonalisCorrection, UserCurvesCopyAtMostTheirTableAndNothingForANegativeCount)
{
    Tonalis1State& state = State();
    std::vector<SWORD> values(300);
    for (size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<SWORD>(1000 + i);
    state.m_curves_changed = 0;
    EXPECT_EQ(Correction(12, {Int(1), Pointer(values.data()), Int(-5)}), E_INVALIDARG);
    EXPECT_EQ(state.m_user_curves[1].GetElement(0), 0);
    EXPECT_EQ(state.m_curves_changed, 0);
    EXPECT_EQ(Correction(12, {Int(2), Pointer(values.data()), Int(10)}), S_OK);
    EXPECT_EQ(state.m_curves_changed, 0);

    ASSERT_EQ(Correction(12, {Int(1), Pointer(values.data()), Int(3)}), S_OK);
    EXPECT_EQ(state.m_user_curves[1].GetElement(2), 1002);
    EXPECT_EQ(state.m_user_curves[1].GetElement(3), 3);
    EXPECT_EQ(state.m_user_curves[0].GetElement(2), 2);
    EXPECT_EQ(state.m_curves_changed, 1);
    EXPECT_EQ(Correction(12, {Int(0), Pointer(values.data()), Int(300)}), E_FAIL);
    EXPECT_EQ(state.m_user_curves[0].GetElement(255), 1255);
    EXPECT_EQ(Correction(12, {Int(0), Pointer(nullptr), Int(3)}), E_INVALIDARG);
}

TEST_F(TonalisCorrection, TextAreasTakeTheFreeSlotsInTurn)
{
    float area[4] = {0.1f, 0.2f, 0.3f, 0.4f};
    const int32_t expected[][2] = {{1, S_OK}, {2, S_OK}, {3, S_OK}, {-1, S_OK}, {-1, S_OK}};
    for (const auto& e : expected) {
        int32_t position = -1;
        EXPECT_EQ(Correction(14, {Pointer(area), Pointer(&position)}), e[1]);
        EXPECT_EQ(position, e[0]);
        area[0] += 0.1f;
    }
    float read[4] = {};
    int32_t position = 2;
    ASSERT_EQ(Correction(14, {Pointer(read), Pointer(&position)}), S_OK);
    EXPECT_FLOAT_EQ(read[0], 0.2f);
    EXPECT_FLOAT_EQ(read[3], 0.4f);
    position = 0;
    ASSERT_EQ(Correction(14, {Pointer(read), Pointer(&position)}), S_OK);
    EXPECT_EQ(read[1], 0.5f);
    EXPECT_EQ(read[2], 1.0f);
    position = 4;
    EXPECT_EQ(Correction(14, {Pointer(read), Pointer(&position)}), E_FAIL);
    EXPECT_EQ(position, -1);
    EXPECT_EQ(Correction(14, {Pointer(nullptr), Pointer(&position)}), E_INVALIDARG);
}

TEST_F(TonalisCorrection, SettingsAreStoredForTheNextFrame)
{
    Tonalis1State& state = State();
    EXPECT_EQ(Correction(0, {Int(0)}), S_OK);
    EXPECT_EQ(state.m_enable, 0);
    EXPECT_EQ(Correction(5, {Int(42)}), S_OK);
    EXPECT_EQ(state.m_user_value, 42);
    EXPECT_EQ(Correction(7, {Int(1)}), S_OK);
    EXPECT_EQ(state.m_hold_adaptive, 1);
    state.m_hold_adaptive = 0;
    EXPECT_EQ(Correction(8), S_OK);
    EXPECT_EQ(state.m_first_average_request, 1);
    EXPECT_EQ(state.m_hold_adaptive, 1);
    // The owner is a controller: all of its address is kept.
    auto* owner = reinterpret_cast<ObjectControlDataPath1*>(static_cast<uintptr_t>(0x7654321012345678ull & UINTPTR_MAX));
    EXPECT_EQ(Correction(9, {Pointer(owner)}), S_OK);
    EXPECT_EQ(state.m_event_owner, owner);
    EXPECT_EQ(Correction(10, {Int(6), Int(99)}), S_OK);
    EXPECT_EQ(state.m_event_source_index, 6);
    float level = -1.0f;
    EXPECT_EQ(Correction(6, {Pointer(&level)}), S_OK);
    EXPECT_EQ(level, 0.5f);

    StructFormatGraph1 record(StructFormatGraph1::kKindCapture);
    record.cameraId = 77;
    record.kind = 99;
    EXPECT_EQ(Correction(11, {Pointer(&record)}), S_OK);
    EXPECT_EQ(state.m_format_graph.cameraId, 77);
    EXPECT_NE(state.m_format_graph.kind, 99);
    EXPECT_EQ(Correction(11, {Pointer(&state.m_format_graph)}), E_FAIL);
    EXPECT_EQ(Correction(11, {Pointer(nullptr)}), E_INVALIDARG);

    EXPECT_EQ(Correction(13, {Pointer(nullptr)}), S_OK);
    // The folder does not exist, so it yields no bitmap.
    EXPECT_EQ(Correction(13, {Pointer("Z:\\templates")}), S_FALSE);
    EXPECT_TRUE(state.m_template_folder == "Z:\\templates");
    EXPECT_EQ(Correction(13, {Pointer(nullptr)}), S_OK);
    EXPECT_EQ(state.m_template_folder.GetLenString(), 0);
}

TEST_F(TonalisCorrection, ProcessorAndStatisticsInterfaces)
{
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 0, {Int(0)}), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 15);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 2, {Int(0)}), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 1);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 1, {Int(0x10004)}), S_OK);
    ASSERT_EQ(Call(IID_IControlOptimProcessor, 2, {Int(0)}), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 0x10004);
    // The frames after it run on the kernels of that mode.
    InfoDataBufferPath1 frame;
    ASSERT_EQ(MakeTestFrame(frame, TestFrameFormat::Yuy2, 40, 24, UniformLuma(60)), S_OK);
    ASSERT_EQ(Transform(frame), S_OK);
    // The default brightness adds 30.
    EXPECT_EQ(PlaneSample(*GetFrameChildPlane(frame, FrameChildSlot::Luma(2)), 9, 5), 60 + 30);

    InfoStaticResultProcessDataPath1 record;
    ASSERT_EQ(Call(IID_IControlStaticResultProcess, 0, {Pointer(&record)}), S_OK);
    EXPECT_EQ(record.m_count_frames, 1u);
    EXPECT_EQ(Call(IID_IControlStaticResultProcess, 0, {Pointer(nullptr)}), E_INVALIDARG);
}
