// The three interfaces' dispatch: which index reaches what, and what each operation keeps.
#include "Intavo1Fixture.h"

#include "ForcedProcessorFeatures.h"

#include <cstring>
#include <vector>

namespace {

bool SameRoutines(const ConversionRoutinesIntavo1& a, const ConversionRoutinesIntavo1& b)
{
    return std::memcmp(&a, &b, sizeof(a)) == 0;
}

} // namespace

TEST_F(Intavo1Test, IndexesOutsideTheTablesFailAndTheReservedOnesDoNothing)
{
    const struct
    {
        GUID iid;
        int32_t index;
        HRESULT expected;
    } cases[] = {
        {IID_ISourceFilterDataPath1, 0, S_OK},    {IID_ISourceFilterDataPath1, 1, S_OK},
        {IID_ISourceFilterDataPath1, 5, E_FAIL},  {IID_ISourceFilterDataPath1, -1, E_FAIL},
        {IID_IControlDriverDirectShow, 4, E_FAIL}, {IID_IControlOptimProcessor, 3, E_FAIL},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Call(c.iid, c.index, 2), c.expected) << c.iid.Data1 << " " << c.index;
}

TEST_F(Intavo1Test, OptionsOutsideTheSixteenFailAndChangeNothing)
{
    EXPECT_EQ(SetOption(5, 42), S_OK);
    for (int32_t index : {16, 20, -1}) {
        EXPECT_EQ(SetOption(index, 9), E_FAIL) << index;
        for (uint32_t k = 0; k < InfoFilterIntavo1::kNumberOptions; ++k)
            EXPECT_EQ(State().m_options.GetElement(k), k == 5 ? 42 : 0) << index << " " << k;
    }
}

TEST_F(Intavo1Test, SupportedModesAreFifteenOnEveryProcessor)
{
    const bool none[3] = {false, false, false};
    const bool mmx[3] = {true, false, false};
    const bool all[3] = {true, true, true};
    for (const bool* features : {none, mmx, all}) {
        ForcedProcessorFeatures forced(features[0], features[1], features[2]);
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        ASSERT_EQ(m_exports.call({IID_IControlOptimProcessor, 0, &params, &m_record}), S_OK);
        EXPECT_EQ(params.m_params.GetElement(0).GetInt(), 15) << features[0] << features[1] << features[2];
    }
}

// The mode is kept whole, passed to the graph and chooses the instance's conversion set. The
// plug-in's routines live in its own file, so the sets are compared by which modes share one.
TEST_F(Intavo1Test, ModeSelectsTheConversionSet)
{
    const uint32_t modes[] = {1u, 2u, 4u, 8u, 16u, 32u, 64u, 128u, 0x10004u};
    std::vector<ConversionRoutinesIntavo1> chosen;
    std::vector<ConversionRoutinesIntavo1> expected;
    for (uint32_t mode : modes) {
        ASSERT_GE(SetMode(mode), 0) << mode;
        chosen.push_back(State().m_routines);
        expected.emplace_back();
        SelectConversionRoutines(expected.back(), mode);
        EXPECT_EQ(State().m_driver->GetCPUUsing(), static_cast<int32_t>(mode));
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        ASSERT_EQ(m_exports.call({IID_IControlOptimProcessor, 2, &params, &m_record}), S_OK);
        EXPECT_EQ(params.m_params.GetElement(0).GetUInt(), mode);
    }
    for (size_t a = 0; a < chosen.size(); ++a)
        for (size_t b = 0; b < chosen.size(); ++b)
            EXPECT_EQ(SameRoutines(chosen[a], chosen[b]), SameRoutines(expected[a], expected[b]))
                << modes[a] << " " << modes[b];
    // Three sets: plain (MMX), SSE and SSE2.
    EXPECT_FALSE(SameRoutines(expected[0], expected[1]));
    EXPECT_FALSE(SameRoutines(expected[0], expected[2]));
    EXPECT_FALSE(SameRoutines(expected[1], expected[2]));
}

TEST_F(Intavo1Test, RatesAreHeldToOneToAThousandAndTheDriverToTwoHundred)
{
    const struct
    {
        float asked;
        float gate;
        float driver;
    } cases[] = {{0.5f, 1.0f, 1.0f}, {5000.0f, 1000.0f, 200.0f}, {25.0f, 25.0f, 25.0f}, {-3.0f, 1.0f, 1.0f}};
    for (const auto& c : cases) {
        EXPECT_GE(SetRate(c.asked), 0) << c.asked;
        EXPECT_EQ(State().m_rate_gate.GetFrameRate(), c.gate) << c.asked;
        EXPECT_EQ(State().m_driver->GetDriverInfo().m_frame_rate, c.driver) << c.asked;
    }
}

TEST_F(Intavo1Test, CaptureFormatIsKeptAndReadBackWholeOnly)
{
    InfoNeedInterface source;
    source.m_type_driver = TypeSourceDesktop;
    source.m_id_camera = 31;
    source.m_name_device = "Desk";
    ASSERT_GE(SetSource(source), 0);
    EXPECT_EQ(State().m_need_interface.m_id_camera, 31);
    EXPECT_EQ(State().m_driver->GetDriverInfo().m_type_driver, TypeSourceDesktop);

    const auto read = [&](InfoNeedInterface* record, int32_t size) {
        return Call(IID_IControlDriverDirectShow, 2, 2, [&](ListParamsDataPath1& p) {
            p.m_params.GetElement(0).SetPointer(record, 0, true);
            p.m_params.GetElement(1).SetInt(size);
        });
    };
    InfoNeedInterface answer;
    EXPECT_EQ(read(&answer, static_cast<int32_t>(sizeof(answer)) - 1), E_INVALIDARG);
    EXPECT_EQ(answer.m_id_camera, 0);
    EXPECT_EQ(read(&answer, static_cast<int32_t>(sizeof(answer))), S_OK);
    EXPECT_EQ(answer.m_id_camera, 31);
    EXPECT_STREQ(answer.m_name_device.GetString(), "Desk");
    EXPECT_EQ(answer.m_type_driver, TypeSourceDesktop);
}

TEST_F(Intavo1Test, ReceiverValuesGoToTheDriver)
{
    // The graph answers for the sink filter; the driver keeps the value either way.
    Call(IID_IControlDriverDirectShow, 1, 2, [](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetInt(7);
        p.m_params.GetElement(1).SetInt(1234);
    });
    EXPECT_EQ(State().m_driver->GetExtInfoForReciver(7), 1234);
}

TEST_F(Intavo1Test, NullArgumentsAreRefused)
{
    const auto nullPointer = [](ListParamsDataPath1& p) {
        p.m_params.GetElement(0).SetPointer(nullptr, 0, false);
        p.m_params.GetElement(1).SetPointer(nullptr, 0, false);
    };
    EXPECT_EQ(Call(IID_ISourceFilterDataPath1, 2, 2, nullPointer), E_INVALIDARG);
    EXPECT_EQ(Call(IID_IControlDriverDirectShow, 0, 1, nullPointer), E_INVALIDARG);
    EXPECT_EQ(Call(IID_IControlDriverDirectShow, 2, 2, nullPointer), E_INVALIDARG);
    EXPECT_EQ(Call(IID_ISourceFilterDataPath1, 4, 2, nullPointer), E_INVALIDARG);
    // A record whose state is gone.
    InfoFilterObjectDataPath1 stateless;
    stateless.m_text_id = "Intavo1";
    EXPECT_EQ(Call(IID_IControlDriverDirectShow, 3, 1, {}, &stateless), E_INVALIDARG);
}

// The codes the program sends through the source interface reach the graph's internal variables.
TEST_F(Intavo1Test, InternalVariablesReachTheGraph)
{
    const auto update = [&](uint32_t code, ExtStateVideoDriver& data) {
        return Call(IID_ISourceFilterDataPath1, 4, 2, [&](ListParamsDataPath1& p) {
            p.m_params.GetElement(0).SetUInt(code);
            p.m_params.GetElement(1).SetPointer(&data, sizeof(data), true);
        });
    };
    ExtStateVideoDriver written;
    written.m_array_uint.GetElement(6) = 250;
    ASSERT_EQ(update(0x10006, written), S_OK);
    ExtStateVideoDriver read;
    ASSERT_EQ(update(0x20006, read), S_OK);
    EXPECT_EQ(read.m_array_uint.GetElement(6), 250u);
    // Without a graph that seeks, a position read leaves the record as it was.
    ExtStateVideoDriver position;
    position.m_array_longlong.GetElement(1) = 99;
    EXPECT_EQ(update(0x20001, position), S_OK);
    EXPECT_EQ(position.m_array_longlong.GetElement(1), 99);
}
