// The filter table: creation all or nothing, links, lookups, deletion, interface calls and the
// user record, with the test plug-ins of the kit.
#include "ControllerTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FilterTableTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd", "RendaraGeneral.vdd",
                                 "FailInit.vdd"})
            m_folder.Install(name);
        m_controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    }
    void TearDown() override { m_controller.reset(); }

    // Intavo1 -> Tonalis1 -> Motiscan4 -> Camwell1 with the camera id.
    std::vector<int32_t> MakeCameraChain(int32_t idCamera)
    {
        std::vector<int32_t> made;
        EXPECT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd"}, &made));
        for (size_t k = 0; k + 1 < made.size(); ++k)
            EXPECT_EQ(S_OK, m_controller->Link(made[k], 0, made[k + 1], 0));
        ListParamsDataPath1 params;
        params.SetNumberParams(2);
        params.m_params.GetElement(0).SetInt(idCamera);
        params.m_params.GetElement(1).SetInt(0);
        EXPECT_EQ(S_OK, m_controller->CallInterfaceFunctionForIDObject(made[3], 0, IID_IInfoCamera, 2, &params));
        return made;
    }

    const InfoConnectionPointDataPath1& Point(int32_t index, bool input, uint32_t k)
    {
        const auto& points = m_controller->FilterAt(index)->GetInstanceRecord().m_points;
        return input ? points.m_inputs.GetElement(k) : points.m_outputs.GetElement(k);
    }

    TestFilterFolder m_folder;
    std::unique_ptr<TestControlDataPath1> m_controller;
};

TEST_F(FilterTableTest, CreatesFiltersAllOrNothing)
{
    TestFilterJournal journal(m_folder.Path() + "\\Intavo1.vdd");
    std::vector<int32_t> made;
    EXPECT_EQ(E_FAIL, m_controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd", "FailInit.vdd"}, &made));
    EXPECT_EQ((std::vector<int32_t>{-1, -1, -1}), made);
    DynamicBoundsObject<int32_t> ids;
    EXPECT_EQ(S_OK, m_controller->GetAllIDObjectsFromFilters(&ids));
    EXPECT_EQ(0u, ids.GetCount());
    EXPECT_EQ(1u, journal.LinesStartingWith("FreeInfoFilter").size());

    EXPECT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd"}, &made));
    EXPECT_EQ((std::vector<int32_t>{0, 1}), made);
    EXPECT_EQ(S_OK, m_controller->GetAllIDObjectsFromFilters(&ids));
    ASSERT_EQ(2u, ids.GetCount());
    EXPECT_EQ(1, ids.GetElement(1));
    EXPECT_EQ(E_FAIL, m_controller->MakeFilters({"Missing.vdd"}, &made));
}

TEST_F(FilterTableTest, LinksAreRecordedOnBothSides)
{
    std::vector<int32_t> made = MakeCameraChain(42);
    EXPECT_EQ(m_controller->FilterAt(made[1]), Point(made[0], false, 0).m_peer);
    EXPECT_EQ(m_controller->FilterAt(made[0]), Point(made[1], true, 0).m_peer);
    EXPECT_EQ(E_UNEXPECTED, m_controller->Link(made[0], -1, made[1], 0));
    EXPECT_EQ(E_FAIL, m_controller->Link(made[0], 1, made[1], 0));
    EXPECT_EQ(S_OK, m_controller->RunOnWorker([&] {
        return m_controller->DisconnectFilters(m_controller->FilterAt(made[0]),
                                               m_controller->FilterAt(made[1]));
    }));
    EXPECT_EQ(nullptr, Point(made[0], false, 0).m_peer);
    EXPECT_EQ(-1, Point(made[1], true, 0).m_peer_index);
}

// Mend: a link is checked at both ends before either is written (a refused link used to stay half
// made), and a filter linked to itself or a link that closes a cycle is refused.
TEST_F(FilterTableTest, RefusedLinksLeaveNothingBehind)
{
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd"}, &made));
    ASSERT_EQ(S_OK, m_controller->Link(made[0], 0, made[1], 0));
    ASSERT_EQ(S_OK, m_controller->Link(made[1], 0, made[2], 0));
    struct Case
    {
        int32_t source;
        int32_t output;
        int32_t target;
        int32_t input;
        HRESULT expected;
    };
    const Case cases[] = {
        {made[0], 0, made[2], 99, E_FAIL},    // no input 99
        {made[2], 7, made[0], 0, E_FAIL},     // no output 7
        {made[1], 0, made[1], 0, E_UNEXPECTED}, // itself
        {made[2], 0, made[0], 0, E_UNEXPECTED}, // closes a cycle
        {made[2], 0, made[1], 0, E_UNEXPECTED},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, m_controller->Link(c.source, c.output, c.target, c.input))
            << c.source << ":" << c.output << " -> " << c.target << ":" << c.input;
    EXPECT_EQ(m_controller->FilterAt(made[1]), Point(made[0], false, 0).m_peer);
    EXPECT_EQ(0, Point(made[0], false, 0).m_peer_index);
    EXPECT_EQ(nullptr, Point(made[0], true, 0).m_peer);
    EXPECT_EQ(m_controller->FilterAt(made[1]), Point(made[2], true, 0).m_peer);
    EXPECT_EQ(nullptr, Point(made[2], false, 0).m_peer);
}

TEST_F(FilterTableTest, FindsCamerasHeadsAndInterfacesAlongTheChain)
{
    std::vector<int32_t> made = MakeCameraChain(42);
    MemoryBlockClass<int32_t> cameras;
    EXPECT_EQ(S_OK, m_controller->GetAllIDCameraFromFilters(&cameras));
    ASSERT_EQ(1u, cameras.GetSize());
    EXPECT_EQ(42, cameras.GetData()[0]);
    EXPECT_EQ(S_OK, m_controller->RunOnWorker([&] {
        ObjectDataPath1* head = m_controller->GetHeadFilterFromIDCamera(42);
        EXPECT_EQ(m_controller->FilterAt(made[0]), head);
        EXPECT_EQ(nullptr, m_controller->GetFilterFromIDCamera(7));
        // Every filter of the chain offers the processor interface: the counter picks the occurrence.
        for (int32_t occurrence = 0; occurrence < 4; ++occurrence) {
            int32_t counter = -occurrence;
            EXPECT_EQ(m_controller->FilterAt(made[occurrence]),
                      m_controller->FindFilterWithInterface(head, &counter, IID_IControlOptimProcessor));
        }
        int32_t counter = -4;
        EXPECT_EQ(nullptr, m_controller->FindFilterWithInterface(head, &counter, IID_IControlOptimProcessor));
        counter = -1;
        EXPECT_EQ(m_controller->FilterAt(made[2]),
                  m_controller->FindFilterWithInterface(nullptr, &counter, IID_IControlStaticResultProcess));
        return S_OK;
    }));
}

// Mend: a deleted filter leaves no link behind, on the filters before and after it.
TEST_F(FilterTableTest, DeletingAFilterClearsEveryLinkToIt)
{
    std::vector<int32_t> made = MakeCameraChain(42);
    EXPECT_EQ(S_OK, m_controller->RunOnWorker([&] { return m_controller->DeleteFilter(m_controller->FilterAt(made[1])); }));
    EXPECT_EQ(nullptr, m_controller->FilterAt(made[1]));
    EXPECT_EQ(nullptr, Point(made[0], false, 0).m_peer);
    EXPECT_EQ(nullptr, Point(made[2], true, 0).m_peer);
    EXPECT_EQ(S_OK, m_controller->DeleteGraphFromIDCamera(42));
    EXPECT_EQ(nullptr, m_controller->FilterAt(made[2]));
    EXPECT_EQ(nullptr, m_controller->FilterAt(made[3]));
    EXPECT_NE(nullptr, m_controller->FilterAt(made[0]));
}

TEST_F(FilterTableTest, DeletingDownstreamRemovesTheWholeBranch)
{
    std::vector<int32_t> made = MakeCameraChain(42);
    EXPECT_EQ(S_OK, m_controller->RunOnWorker(
                        [&] { return m_controller->DeleteAllFiltersFromThisReal(m_controller->FilterAt(made[1])); }));
    EXPECT_NE(nullptr, m_controller->FilterAt(made[0]));
    EXPECT_EQ(nullptr, Point(made[0], false, 0).m_peer);
    for (size_t k = 1; k < made.size(); ++k)
        EXPECT_EQ(nullptr, m_controller->FilterAt(made[k]));
    EXPECT_EQ(S_OK, m_controller->DeleteAllGraph());
    EXPECT_EQ(0u, m_controller->GetCountUsedFilters());
}

TEST_F(FilterTableTest, StatesChangeOnlyForZeroAndOne)
{
    EXPECT_EQ(E_UNEXPECTED, m_controller->RunOnWorker([&] { return m_controller->SetStateAllFilters(2); }));
    EXPECT_EQ(E_UNEXPECTED, m_controller->RunOnWorker([&] {
        MemoryBlockClass<ObjectDataPath1*> list;
        return m_controller->GetAllFiltersWithInterfaceReal(GUID_NULL, &list);
    }));
}

TEST_F(FilterTableTest, TypedCallsReachOneCameraOneObjectOrAll)
{
    std::vector<int32_t> made = MakeCameraChain(42);
    TestFilterJournal camwell(m_folder.Path() + "\\Camwell1.vdd");
    TestFilterJournal tonalis(m_folder.Path() + "\\Tonalis1.vdd");
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetBool(true);
    EXPECT_EQ(S_OK, m_controller->CallInterfaceFunctionForIDCamera(42, 0, IID_IInfoCamera, 4, &params));
    EXPECT_EQ(1u, camwell.LinesStartingWith("CallInterfaceFunction IID_IInfoCamera method=4").size());
    // A camera nobody reports: no call, the answer of collecting the ids.
    EXPECT_EQ(S_OK, m_controller->CallInterfaceFunctionForIDCamera(9, 0, IID_IInfoCamera, 4, &params));
    EXPECT_EQ(1u, camwell.LinesStartingWith("CallInterfaceFunction IID_IInfoCamera method=4").size());
    EXPECT_EQ(S_OK, m_controller->CallInterfaceFunctionForAllObjects(IID_IControlCorrectVideoData, 0, &params));
    EXPECT_EQ(1u, tonalis.LinesStartingWith("CallInterfaceFunction IID_IControlCorrectVideoData method=0").size());
    EXPECT_EQ(S_OK, m_controller->QueryInterfaceForIDObject(made[1], 0, IID_IControlCorrectVideoData));
    EXPECT_EQ(S_FALSE, m_controller->QueryInterfaceForIDObject(made[1], 0, IID_IInfoCamera));
    EXPECT_EQ(S_FALSE, m_controller->QueryInterfaceForIDObject(900, 0, IID_IInfoCamera));
    EXPECT_EQ(E_FAIL, m_controller->QueryInterfaceForIDObject(1024, 0, IID_IInfoCamera));
    EXPECT_EQ(E_INVALIDARG, m_controller->CallInterfaceFunctionForAllObjects(IID_IInfoCamera, 4, nullptr));
    EXPECT_EQ(S_OK, m_controller->SetHandleClientForComServer(16, 5));
    // Typed calls go through the camera's chain; this one has no video output, so nothing is called.
    EXPECT_EQ(S_OK, m_controller->RunOnWorker([&] { return m_controller->CallSetOutputFlagForIDCamera(42, 1); }));
}

struct UserCase
{
    int32_t level;
    int32_t right;
    int32_t mode;
    int32_t value;
    int32_t expectedLevel;
    int32_t expectedRight;
    int32_t expectedRightFour;
    int32_t expectedMode;
    int32_t expectedValue;
};

TEST_F(FilterTableTest, UserRecordIsValidatedBeforeItIsHandedOn)
{
    const UserCase cases[] = {
        {7, 1, 3, 200, 4, 0, 0, 1, 128},
        {-3, 3, 9, 50, 0, 0, 0, 1, 50},
        {1, 0, 0, -5, 1, 1, 1, 2, 0},
        {3, 1, 4, 10, 3, 0, 0, 4, 10},
        {2, 1, 4, 10, 2, 1, 0, 4, 10},
    };
    for (const UserCase& c : cases) {
        InfoUserKestrelUserServer user;
        user.m_level = c.level;
        user.m_rights[0] = c.right;
        user.m_rights[4] = 1;
        user.m_mode = c.mode;
        user.m_value = c.value;
        ASSERT_GE(m_controller->RefreshForUserChange(&user, 0), 0);
        const InfoUserKestrelUserServer& kept = m_controller->GetUserRecord();
        EXPECT_EQ(c.expectedLevel, kept.m_level) << c.level;
        EXPECT_EQ(c.expectedRight, kept.m_rights[0]) << c.level;
        EXPECT_EQ(c.expectedRightFour, kept.m_rights[4]) << c.level;
        EXPECT_EQ(c.expectedMode, kept.m_mode) << c.level;
        EXPECT_EQ(c.expectedValue, kept.m_value) << c.level;
    }
    EXPECT_GE(m_controller->RefreshForUserChange(nullptr, 0), 0);
    EXPECT_EQ(5, m_controller->GetUserRecord().m_level);
}

TEST_F(FilterTableTest, UserRecordReachesTheVideoOutputs)
{
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"RendaraGeneral.vdd"}, &made));
    TestFilterJournal rendara(m_folder.Path() + "\\RendaraGeneral.vdd");
    EXPECT_EQ(S_OK, m_controller->RefreshForUserChange(nullptr, 0));
    EXPECT_EQ(1u, rendara.LinesStartingWith("CallInterfaceFunction IID_IVideoOutputRender1 method=29").size());
}

} // namespace
