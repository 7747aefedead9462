// The seven exports of the frame, called directly on the test plug-in as the host would.
#include "BaseClassObjectDataPath1.h"
#include "TestFilterKit.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FilterFrame : public testing::Test
{
protected:
    void SetUp() override
    {
        m_journal = std::make_unique<TestFilterJournal>(m_folder.Install("Motiscan4.vdd"));
        m_init = Bind<InitInfoFilterFunction>("InitInfoFilter");
        m_free = Bind<FreeInfoFilterFunction>("FreeInfoFilter");
        m_call = Bind<CallInterfaceFunctionFunction>("CallInterfaceFunction");
        m_query = Bind<QueryInterfaceFunctionFunction>("QueryInterfaceFunction");
        m_name = Bind<GetNameFilterFunction>("GetNameFilter");
        m_points = Bind<GetConnectionPointsFunction>("GetConnectionPoints");
    }
    void TearDown() override
    {
        for (InfoFilterObjectDataPath1* record : {&m_record, &m_other})
            if (record->m_in_use)
                m_free(record);
        m_journal.reset();
    }

    template <class Function>
    Function Bind(const char* name)
    {
        return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(m_journal->Module(), name)));
    }

    HRESULT Call(const GUID& iid, int32_t index, InfoFilterObjectDataPath1* record)
    {
        return m_call(CallInterfaceFunctionRecord{iid, index, &m_params, record});
    }

    TestFilterFolder m_folder;
    std::unique_ptr<TestFilterJournal> m_journal;
    InfoFilterObjectDataPath1 m_record;
    InfoFilterObjectDataPath1 m_other;
    ListParamsDataPath1 m_params;
    InitInfoFilterFunction m_init = nullptr;
    FreeInfoFilterFunction m_free = nullptr;
    CallInterfaceFunctionFunction m_call = nullptr;
    QueryInterfaceFunctionFunction m_query = nullptr;
    GetNameFilterFunction m_name = nullptr;
    GetConnectionPointsFunction m_points = nullptr;
};

} // namespace

TEST_F(FilterFrame, InitFillsTheRecordAndFreeClearsIt)
{
    ASSERT_EQ(m_init(&m_record, 1), S_OK);
    EXPECT_TRUE(m_record.m_in_use);
    EXPECT_NE(m_record.m_state, nullptr);
    EXPECT_STREQ(m_record.m_text_id.GetString(), "TextIDFilter::Motiscan4");
    EXPECT_EQ(m_record.m_version, 1.0f);
    EXPECT_EQ(m_record.m_points.m_count_inputs, 1u);
    EXPECT_EQ(m_record.m_points.m_count_outputs, 1u);
    const InfoConnectionPointDataPath1& input = m_record.m_points.m_inputs.GetElement(0);
    const InfoConnectionPointDataPath1& output = m_record.m_points.m_outputs.GetElement(0);
    EXPECT_STREQ(input.m_name.GetString(), "DataInput1");
    EXPECT_EQ(input.m_type, 256);
    EXPECT_TRUE(input.m_valid);
    EXPECT_STREQ(output.m_name.GetString(), "DataOutput1");
    EXPECT_EQ(output.m_type, 257);
    EXPECT_TRUE(output.m_valid);

    EXPECT_EQ(m_free(&m_record), S_OK);
    EXPECT_FALSE(m_record.m_in_use);
    EXPECT_EQ(m_record.m_state, nullptr);
}

TEST_F(FilterFrame, RefusesWrongInstanceStates)
{
    EXPECT_EQ(m_init(nullptr, 1), E_INVALIDARG);
    EXPECT_EQ(m_free(nullptr), E_INVALIDARG);
    EXPECT_EQ(m_free(&m_record), E_UNEXPECTED) << "never initialised";

    ASSERT_EQ(m_init(&m_record, 1), S_OK);
    void* firstState = m_record.m_state;
    EXPECT_EQ(m_init(&m_record, 1), E_UNEXPECTED);
    EXPECT_EQ(m_record.m_state, firstState);

    m_other.m_in_use = true;
    m_other.m_text_id = "TextIDFilter::Tonalis1";
    EXPECT_EQ(m_free(&m_other), E_UNEXPECTED) << "a record of another plug-in";
    m_other.m_in_use = false;
}

TEST_F(FilterFrame, CallChecksBeforeTheDispatcher)
{
    ASSERT_EQ(m_init(&m_record, 1), S_OK);
    m_params.SetNumberParams(1);
    m_journal->Clear();

    EXPECT_EQ(Call(GUID_NULL, 0, &m_record), E_UNEXPECTED);
    EXPECT_EQ(m_call(CallInterfaceFunctionRecord{IID_IControlOptimProcessor, 0, nullptr, &m_record}), E_INVALIDARG);
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, nullptr), E_INVALIDARG);

    m_other.m_text_id = "TextIDFilter::Tonalis1";
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, &m_other), E_FAIL);
    EXPECT_TRUE(m_journal->Lines().empty()) << "no call reached the dispatcher";

    // A record of this plug-in whose state another object made.
    InfoFilterStateDataPath1 foreign;
    foreign.m_owner = reinterpret_cast<BaseClassObjectDataPath1*>(&foreign);
    m_other.m_text_id = "TextIDFilter::Motiscan4";
    m_other.m_state = &foreign;
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, &m_other), E_UNEXPECTED);
    foreign.m_owner = nullptr;
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, &m_other), E_INVALIDARG);
    m_other.m_state = nullptr;
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, &m_other), E_INVALIDARG);
}

TEST_F(FilterFrame, DispatchesByInterfaceAndIndex)
{
    ASSERT_EQ(m_init(&m_record, 1), S_OK);
    m_params.SetNumberParams(1);
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 0, &m_record), S_OK);
    EXPECT_EQ(m_params.m_params.GetElement(0).m_type, 1u);
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 15);

    m_params.SetNumberParams(1);
    m_params.m_params.GetElement(0).SetInt(7);
    EXPECT_EQ(Call(IID_IControlOptimProcessor, 9, &m_record), S_OK) << "an index the interface does not serve";
    EXPECT_EQ(m_params.m_params.GetElement(0).GetInt(), 7) << "and nothing changed";

    EXPECT_EQ(Call(IID_IInfoCamera, 3, &m_record), E_FAIL) << "an interface Motiscan4 does not implement";
}

TEST_F(FilterFrame, QueryAnswersOneForOtherInterfaces)
{
    EXPECT_EQ(m_query(IID_IControlVideoDetector), S_OK);
    EXPECT_EQ(m_query(IID_IControlOptimProcessor), S_OK);
    EXPECT_EQ(m_query(IID_IControlStaticResultProcess), S_OK);
    EXPECT_EQ(m_query(IID_IInfoCamera), S_FALSE);
    EXPECT_EQ(m_query(GUID_NULL), S_FALSE);
}

TEST_F(FilterFrame, NameAndConnectionPoints)
{
    DynamicString name;
    float version = 0.0f;
    EXPECT_EQ(m_name(&name, nullptr), E_INVALIDARG);
    EXPECT_EQ(m_name(nullptr, &version), E_INVALIDARG);
    ASSERT_EQ(m_name(&name, &version), S_OK);
    EXPECT_STREQ(name.GetString(), "TextIDFilter::Motiscan4");
    EXPECT_EQ(version, 1.0f);

    ListConnectionPointsDataPath1 points;
    EXPECT_EQ(m_points(nullptr, 2824), E_INVALIDARG);
    for (int32_t size : {-1, 0, 1, 2823})
        EXPECT_EQ(m_points(&points, size), E_UNEXPECTED) << size;
    EXPECT_EQ(points.m_count_inputs, 0u);
    ASSERT_EQ(m_points(&points, 2824), S_OK);
    EXPECT_EQ(points.m_count_inputs, 1u);
    EXPECT_STREQ(points.m_outputs.GetElement(0).m_name.GetString(), "DataOutput1");
}
