// The plug-in's identity and exports, as the data path binds them.
#include "Intavo1Fixture.h"

#include <cstring>

namespace {

constexpr GUID kZeroGuid = {};

const GUID kEveryInterface[] = {
    IID_ISourceFilterDataPath1,    IID_IControlNetworkSend1,       IID_IVideoOutputRender1,
    IID_IInfoCamera,               IID_IControlRateData,           IID_IControlCoderVideoData,
    IID_IControlCorrectVideoData,  IID_IControlOptimProcessor,     IID_IGrabberFrames,
    IID_IControlStream1,           IID_IControlVideoDetector,      IID_IWriteInFileForWriteServer2,
    IID_IReadFromFileForWriteServer2, IID_IFilter_VideoCompress,   IID_ISinkwell1,
    IID_IControlDriverDirectShow,  IID_IFilter_GeneralCompress,    IID_MixerDataTundrel,
    IID_IControlStaticResultProcess, kZeroGuid};

bool Offered(const GUID& iid)
{
    return IsEqualGUID(iid, IID_ISourceFilterDataPath1) || IsEqualGUID(iid, IID_IControlDriverDirectShow) ||
           IsEqualGUID(iid, IID_IControlOptimProcessor);
}

uint32_t Bits(float value)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

// Whether the graph thread has ended.
bool ThreadEnded(DWORD threadId)
{
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    if (thread == nullptr)
        return true;
    const bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    return ended;
}

} // namespace

TEST_F(Intavo1Test, NameVersionAndRecordOfAnInitialisedInstance)
{
    DynamicString name;
    float version = 0.0f;
    ASSERT_EQ(m_exports.name(&name, &version), S_OK);
    EXPECT_STREQ(name.GetString(), "Intavo1");
    EXPECT_EQ(Bits(version), 0x3FC147AEu);
    EXPECT_EQ(m_exports.name(&name, nullptr), E_INVALIDARG);

    EXPECT_TRUE(m_record.m_in_use);
    EXPECT_STREQ(m_record.m_text_id.GetString(), "Intavo1");
    EXPECT_EQ(Bits(m_record.m_version), 0x3FC147AEu);
    EXPECT_EQ(m_record.m_points.m_count_inputs, 0u);
    EXPECT_EQ(m_record.m_points.m_count_outputs, 1u);
    InfoFilterIntavo1& state = State();
    EXPECT_STREQ(state.m_name.GetString(), "INTAVO_FILTER1");
    ASSERT_TRUE(state.m_driver);
    ASSERT_NE(state.m_driver->GetGraphObject(), nullptr);
    EXPECT_NE(state.m_driver->GetGraphObject()->GetThreadIdObject(), 0u);
    EXPECT_EQ(state.m_optim.GetModeValue(), 1u);
    for (uint32_t k = 0; k < InfoFilterIntavo1::kNumberOptions; ++k)
        EXPECT_EQ(state.m_options.GetElement(k), 0) << k;
}

TEST_F(Intavo1Test, ConnectionPointsBySize)
{
    const int32_t whole = static_cast<int32_t>(sizeof(ListConnectionPointsDataPath1));
    const struct
    {
        int32_t size;
        HRESULT expected;
    } cases[] = {{0, E_UNEXPECTED}, {-1, E_UNEXPECTED}, {1, E_UNEXPECTED},
                 {whole - 1, E_UNEXPECTED}, {whole, S_OK}, {whole + 100, S_OK}};
    for (const auto& c : cases) {
        ListConnectionPointsDataPath1 points;
        points.m_count_inputs = 7;
        EXPECT_EQ(m_exports.points(&points, c.size), c.expected) << c.size;
        if (c.expected != S_OK) {
            EXPECT_EQ(points.m_count_inputs, 7u) << c.size;
            continue;
        }
        EXPECT_EQ(points.m_count_inputs, 0u);
        ASSERT_EQ(points.m_count_outputs, 1u);
        const InfoConnectionPointDataPath1& output = points.m_outputs.GetElement(0);
        EXPECT_STREQ(output.m_name.GetString(), "DataOutput1");
        EXPECT_EQ(output.m_type, 257);
        EXPECT_TRUE(output.m_valid);
    }
    EXPECT_EQ(m_exports.points(nullptr, whole), E_INVALIDARG);
}

TEST_F(Intavo1Test, AnswersExactlyThreeInterfaces)
{
    for (const GUID& iid : kEveryInterface)
        EXPECT_EQ(m_exports.query(iid), Offered(iid) ? S_OK : S_FALSE) << iid.Data1;
}

TEST_F(Intavo1Test, TransformDoesNothing)
{
    InfoDataBufferPath1 frame;
    frame.m_number_frame = 77;
    ListEventsDataPath1 events;
    EXPECT_EQ(m_exports.transform(&frame, sizeof(frame), nullptr, 0, &m_record, &events, 0), S_OK);
    EXPECT_EQ(m_exports.transform(nullptr, 0, nullptr, 0, nullptr, nullptr, -1), S_OK);
    EXPECT_EQ(frame.m_number_frame, 77);
    EXPECT_EQ(frame.m_info.m_state, kStateEmptyFrame);
    EXPECT_EQ(events.GetCount(), 0u);
}

TEST_F(Intavo1Test, InitialisingARecordInUseChangesNothing)
{
    void* state = m_record.m_state;
    const DWORD thread = State().m_driver->GetGraphObject()->GetThreadIdObject();
    EXPECT_EQ(m_exports.init(&m_record, 1), S_OK);
    EXPECT_EQ(m_record.m_state, state);
    EXPECT_EQ(State().m_driver->GetGraphObject()->GetThreadIdObject(), thread);
    EXPECT_EQ(m_exports.init(nullptr, 1), E_INVALIDARG);
}

// A record of another plug-in is refused and keeps its state; freeing ours ends its graph thread.
TEST_F(Intavo1Test, FreeingRefusesAForeignRecordAndEndsTheGraphThread)
{
    InfoFilterIntavo1* state = &State();
    m_record.m_text_id = "TextIDFilter::Camwell1";
    EXPECT_EQ(m_exports.free(&m_record), E_FAIL);
    EXPECT_EQ(m_record.m_state, state);
    EXPECT_TRUE(m_record.m_in_use);
    m_record.m_text_id = "Intavo1";

    const DWORD thread = state->m_driver->GetGraphObject()->GetThreadIdObject();
    EXPECT_EQ(m_exports.free(&m_record), S_OK);
    EXPECT_EQ(m_record.m_state, nullptr);
    EXPECT_FALSE(m_record.m_in_use);
    EXPECT_TRUE(ThreadEnded(thread));
    EXPECT_EQ(m_exports.free(nullptr), E_INVALIDARG);
}

TEST_F(Intavo1Test, CallRecordChecks)
{
    ListParamsDataPath1 params;
    InfoFilterObjectDataPath1 foreign;
    foreign.m_text_id = "TextIDFilter::Motiscan4";
    const struct
    {
        const char* name;
        CallInterfaceFunctionRecord call;
        HRESULT expected;
    } cases[] = {
        {"zero interface", {kZeroGuid, 0, &params, &m_record}, E_FAIL},
        {"zero interface before null arguments", {kZeroGuid, 0, nullptr, nullptr}, E_FAIL},
        {"null list", {IID_ISourceFilterDataPath1, 0, nullptr, &m_record}, E_INVALIDARG},
        {"null record", {IID_ISourceFilterDataPath1, 0, &params, nullptr}, E_INVALIDARG},
        {"foreign record", {IID_ISourceFilterDataPath1, 0, &params, &foreign}, E_FAIL},
        {"interface not offered", {IID_IInfoCamera, 0, &params, &m_record}, E_FAIL},
        {"own record", {IID_ISourceFilterDataPath1, 0, &params, &m_record}, S_OK},
    };
    for (const auto& c : cases)
        EXPECT_EQ(m_exports.call(c.call), c.expected) << c.name;
}
