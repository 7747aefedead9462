// The filter proxy against the test plug-in kit, under the names the recipes load.
#include "ObjectDataPath1.h"
#include "StructForInterfaceDataPath1Table.h"
#include "TestFilterKit.h"

#include "LogCapture.h"
#include "MessageForObjectsDataPath1.h"
#include "interface_static_result.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FilterProxy : public testing::Test
{
protected:
    static void SetUpTestSuite() { ASSERT_EQ(FillStructForInterfaceDataPath1(), S_OK); }

    // Installs the role, keeps its journal and loads a proxy on it.
    std::unique_ptr<ObjectDataPath1> Load(const std::string& name)
    {
        const std::string path = m_folder.Install(name);
        m_journals.push_back(std::make_unique<TestFilterJournal>(path));
        return std::make_unique<ObjectDataPath1>(GetModuleHandleA(nullptr), path.c_str());
    }
    const TestFilterJournal& Journal() const { return *m_journals.back(); }

    TestFilterFolder m_folder;
    std::vector<std::unique_ptr<TestFilterJournal>> m_journals;
};

} // namespace

TEST_F(FilterProxy, EmptyFileNameGivesAnUnloadedProxy)
{
    ObjectDataPath1 proxy(GetModuleHandleA(nullptr), "");
    EXPECT_FALSE(proxy.IsLoaded());
    EXPECT_EQ(proxy.QueryInterfaceFunction(IID_IControlOptimProcessor), E_INVALIDARG);
    EXPECT_EQ(proxy.TransformFilter(nullptr, 0, nullptr, 0, nullptr, 0), E_INVALIDARG);
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetInt(1);
    EXPECT_EQ(proxy.CallInterfaceFunction(IID_IControlOptimProcessor, 1, &params), E_INVALIDARG);
    EXPECT_EQ(proxy.UnloadFilter(), S_OK);
}

TEST_F(FilterProxy, MissingFileIsLoggedWithTheSystemText)
{
    LogCapture log;
    const std::string path = m_folder.Path() + "\\Absent1.vdd";
    ObjectDataPath1 proxy(GetModuleHandleA(nullptr), path.c_str());
    EXPECT_FALSE(proxy.IsLoaded());
    EXPECT_TRUE(log.Contains("Absent1.vdd"));
    EXPECT_EQ(proxy.GetFileName().GetLenString(), 0u);
}

TEST_F(FilterProxy, PluginMissingAnExportIsRefusedAndUnloaded)
{
    const std::string path = m_folder.InstallMissingExport("Tonalis1.vdd");
    TestFilterJournal journal(path);
    LogCapture log;
    ObjectDataPath1 proxy(GetModuleHandleA(nullptr), path.c_str());
    EXPECT_FALSE(proxy.IsLoaded());
    EXPECT_EQ(proxy.GetFileName().GetLenString(), 0u);
    EXPECT_TRUE(log.Contains("Tonalis1.vdd"));
    EXPECT_EQ(journal.Lines(), std::vector<std::string>{"FreeInfoFilter in_use=0"})
        << "freed once with the never-initialised record, never initialised";
    EXPECT_EQ(proxy.QueryInterfaceFunction(IID_IControlOptimProcessor), E_INVALIDARG);
}

TEST_F(FilterProxy, FailingInitIsRefusedAndUnloaded)
{
    auto proxy = Load("FailInit.vdd");
    EXPECT_FALSE(proxy->IsLoaded());
    EXPECT_EQ(Journal().Lines(), (std::vector<std::string>{"InitInfoFilter mode=1 instance=0 result=0x80004005",
                                                            "FreeInfoFilter instance=0 result=0x8000FFFF"}));
}

TEST_F(FilterProxy, LoadInitialisesTheRecordAndUnloadFreesIt)
{
    auto proxy = Load("Camwell1.vdd");
    ASSERT_TRUE(proxy->IsLoaded());
    const InfoFilterObjectDataPath1& record = proxy->GetInstanceRecord();
    EXPECT_TRUE(record.m_in_use);
    EXPECT_STREQ(record.m_text_id.GetString(), "TextIDFilter::Camwell1");
    EXPECT_EQ(record.m_points.m_count_outputs, 3u);
    EXPECT_STREQ(record.m_points.m_outputs.GetElement(2).m_name.GetString(), "ViewDataOutput3");

    EXPECT_EQ(proxy->UnloadFilter(), S_OK);
    EXPECT_FALSE(proxy->IsLoaded());
    EXPECT_FALSE(record.m_in_use);
    EXPECT_EQ(record.m_state, nullptr);
    EXPECT_EQ(Journal().Lines(), (std::vector<std::string>{"InitInfoFilter mode=1 instance=1 result=0x00000000",
                                                            "FreeInfoFilter instance=1 result=0x00000000"}));
}

TEST_F(FilterProxy, CallsReachThePluginWithTheirArgumentsAndResults)
{
    auto proxy = Load("Camwell1.vdd");
    ASSERT_TRUE(proxy->IsLoaded());
    Journal().Clear();

    ListParamsDataPath1 params;
    params.SetNumberParams(2);
    params.m_params.GetElement(0).SetInt(17);
    params.m_params.GetElement(1).SetInt(1);
    EXPECT_EQ(proxy->CallInterfaceFunction(IID_IInfoCamera, 2, &params), S_OK);
    int32_t cameraId = -1;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetIntPointer(&cameraId, sizeof(cameraId), false);
    EXPECT_EQ(proxy->CallInterfaceFunction(IID_IInfoCamera, 3, &params), S_OK);
    EXPECT_EQ(cameraId, 17);

    Journal().SetCallResult(IID_IInfoCamera, 4, E_UNEXPECTED);
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetBool(true);
    EXPECT_EQ(proxy->CallInterfaceFunction(IID_IInfoCamera, 4, &params), E_UNEXPECTED) << "the plug-in's result";

    EXPECT_EQ(proxy->QueryInterfaceFunction(IID_IGrabberFrames), S_OK);
    EXPECT_EQ(proxy->QueryInterfaceFunction(IID_MixerDataTundrel), S_FALSE);

    InfoDataBufferPath1 frame;
    frame.m_number_frame = 5;
    ListEventsDataPath1 events;
    EXPECT_EQ(proxy->TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 0), S_OK);
    Journal().SetTransformResult(S_FALSE);
    EXPECT_EQ(proxy->TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 2), S_FALSE);

    const std::string size = std::to_string(sizeof(InfoDataBufferPath1));
    EXPECT_EQ(Journal().Lines(),
              (std::vector<std::string>{
                  "CallInterfaceFunction IID_IInfoCamera method=2 instance=1 [0x1:17] [0x1:1]",
                  "CallInterfaceFunction IID_IInfoCamera method=3 instance=1 [0x1000001:ptr]",
                  "CallInterfaceFunction IID_IInfoCamera method=4 instance=1 [0x4:1]",
                  "QueryInterfaceFunction IID_IGrabberFrames answer=0",
                  "QueryInterfaceFunction IID_MixerDataTundrel answer=1",
                  "TransformFilter frame=5 size=" + size + " output=0 outputSize=0 instance=1 index=0",
                  "TransformFilter frame=5 size=" + size + " output=0 outputSize=0 instance=1 index=2",
              }));
}

TEST_F(FilterProxy, CallRefusedByTheTableNeverReachesThePlugin)
{
    auto proxy = Load("Tonalis1.vdd");
    Journal().Clear();
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetUInt(4);
    EXPECT_EQ(proxy->CallInterfaceFunction(IID_IControlOptimProcessor, 1, &params), E_FAIL) << "the table expects int";
    EXPECT_EQ(proxy->CallInterfaceFunction(GUID_NULL, 1, &params), E_UNEXPECTED);
    EXPECT_EQ(proxy->CallInterfaceFunction(IID_IControlOptimProcessor, 1, nullptr), E_UNEXPECTED);
    EXPECT_TRUE(Journal().Lines().empty());
}

TEST_F(FilterProxy, LinksAreRecordedOnBothFilters)
{
    auto camera = Load("Camwell1.vdd");
    auto mixer = Load("Blendora1.vdd");
    ASSERT_TRUE(camera->IsLoaded() && mixer->IsLoaded());
    EXPECT_EQ(mixer->GetInstanceRecord().m_points.m_count_inputs, 16u);
    EXPECT_STREQ(mixer->GetInstanceRecord().m_points.m_inputs.GetElement(15).m_name.GetString(), "DataInput::15");

    ASSERT_EQ(camera->SetConnection(false, 2, mixer.get(), 3), S_OK);
    ASSERT_EQ(mixer->SetConnection(true, 3, camera.get(), 2), S_OK);
    const InfoConnectionPointDataPath1& out = camera->GetInstanceRecord().m_points.m_outputs.GetElement(2);
    const InfoConnectionPointDataPath1& in = mixer->GetInstanceRecord().m_points.m_inputs.GetElement(3);
    EXPECT_EQ(out.m_peer, mixer.get());
    EXPECT_EQ(out.m_peer_index, 3);
    EXPECT_EQ(in.m_peer, camera.get());
    EXPECT_EQ(in.m_peer_index, 2);

    struct Case
    {
        bool input;
        int32_t index;
        int32_t peerIndex;
        HRESULT result;
    };
    const Case cases[] = {
        {false, -1, 0, E_UNEXPECTED}, {false, 0, -1, E_UNEXPECTED}, {false, 3, 0, E_FAIL},
        {true, 1, 0, E_FAIL},         {true, 0, 0, S_OK},
    };
    for (const Case& c : cases)
        EXPECT_EQ(camera->SetConnection(c.input, c.index, mixer.get(), c.peerIndex), c.result)
            << c.input << " " << c.index << " " << c.peerIndex;

    ObjectDataPath1 unloaded(GetModuleHandleA(nullptr), "");
    EXPECT_EQ(unloaded.SetConnection(true, 0, camera.get(), 0), E_UNEXPECTED) << "record not in use";
}

TEST_F(FilterProxy, GetInfoFilterCopiesTheDescriptionOnly)
{
    auto proxy = Load("RendaraGeneral.vdd");
    ASSERT_TRUE(proxy->IsLoaded());
    InfoFilterObjectDataPath1 copy;
    int marker = 0;
    copy.m_state = &marker;
    ASSERT_EQ(proxy->GetInfoFilter(&copy), S_OK);
    EXPECT_STREQ(copy.m_text_id.GetString(), "TextIDFilter::RendaraGeneral");
    EXPECT_EQ(copy.m_version, 1.0f);
    EXPECT_EQ(copy.m_points.m_count_inputs, 1u);
    EXPECT_EQ(copy.m_points.m_count_outputs, 0u);
    EXPECT_FALSE(copy.m_in_use);
    EXPECT_EQ(copy.m_state, &marker) << "the state pointer is never handed out";
    copy.m_state = nullptr;
    EXPECT_EQ(proxy->GetInfoFilter(nullptr), E_FAIL) << "refused, not a processor fault";
}

TEST_F(FilterProxy, RunStateAndIdentifier)
{
    auto proxy = Load("Intavo1.vdd");
    int32_t state = -1;
    EXPECT_EQ(proxy->GetStateFilter(&state), S_OK);
    EXPECT_EQ(state, 0);
    proxy->RunFilter();
    proxy->GetStateFilter(&state);
    EXPECT_EQ(state, 1);
    proxy->StopFilter();
    proxy->GetStateFilter(&state);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(proxy->GetStateFilter(nullptr), S_OK);
    EXPECT_EQ(proxy->GetIDFilter(), 0);
}

TEST_F(FilterProxy, SourceRoleHandsOutNumberedFrames)
{
    auto proxy = Load("Intavo1.vdd");
    ASSERT_TRUE(proxy->IsLoaded());
    EXPECT_EQ(proxy->GetInstanceRecord().m_points.m_count_inputs, 0u);
    InfoDataBufferPath1 frame;
    ListParamsDataPath1 params;
    for (int32_t number = 1; number <= 2; ++number) {
        params.SetNumberParams(2);
        params.m_params.GetElement(0).SetInt(1);
        params.m_params.GetElement(1).SetPointer(&frame, 0, false);
        ASSERT_EQ(proxy->CallInterfaceFunction(IID_ISourceFilterDataPath1, 2, &params), S_OK);
        EXPECT_EQ(frame.m_number_frame, number);
        EXPECT_EQ(frame.m_info.m_state, 2u) << "holds a frame";
        EXPECT_GT(frame.m_size_data, 0);
    }
}

TEST_F(FilterProxy, StatisticsRoleRaisesItsEventIntoTheTransformList)
{
    auto proxy = Load("Motiscan4.vdd");
    InfoStaticResultProcessDataPath1 record;
    record.m_flags = InfoStaticResultProcessDataPath1::kFlagSetPeriod;
    record.m_period_report = 2;
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    params.m_params.GetElement(0).SetPointer(&record, 0, false);
    ASSERT_EQ(proxy->CallInterfaceFunction(IID_IControlStaticResultProcess, 0, &params), S_OK);

    InfoDataBufferPath1 frame;
    ListEventsDataPath1 events;
    proxy->TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 0);
    EXPECT_EQ(events.GetCount(), 0u);
    proxy->TransformFilter(&frame, sizeof(frame), nullptr, 0, &events, 0);
    ASSERT_EQ(events.GetCount(), 1u);
    InfoEventDataFrame1* event = events.GetElement(0).m_event;
    EXPECT_EQ(event->GetTypeEvent(), ted1ChangeStaticInfoAboutProcess);
    delete event;
}

TEST_F(FilterProxy, ListOfStaticInfoSkipsPluginsWithoutTheProbe)
{
    m_folder.Install("Tonalis1.vdd");
    m_folder.Install("Camwell1.vdd");
    DynamicBoundsObject<InfoStaticFilterItemDataPath1> list;
    uint32_t count = 99;
    ASSERT_EQ(ObjectDataPath1::GetListStaticInfoFilters(m_folder.Path().c_str(), list, 0, &count), S_OK);
    EXPECT_EQ(count, 0u);
    EXPECT_EQ(list.GetCount(), 2u);

    InfoStaticFilterDataPath1 info;
    EXPECT_EQ(ObjectDataPath1::ProbeStaticInfoFilter((m_folder.Path() + "\\Tonalis1.vdd").c_str(), &info), E_FAIL);
    EXPECT_EQ(ObjectDataPath1::ProbeStaticInfoFilter("Z:\\absent\\none.vdd", &info), E_FAIL);
    EXPECT_EQ(ObjectDataPath1::ProbeStaticInfoFilter("none.vdd", nullptr), E_INVALIDARG);
}

TEST(FilterInstanceRecord, DestroyingARecordThatStillHoldsAStateIsLoggedNotThrown)
{
    LogCapture log;
    {
        InfoFilterObjectDataPath1 record;
        int state = 0;
        record.m_state = &state;
    }
    EXPECT_FALSE(log.Lines().empty());
}

TEST(FilterInstanceRecord, StaticInfoOfAnotherSizeIsNotCopied)
{
    InfoStaticFilterDataPath1 source;
    InfoStaticFilterDataPath1 target;
    source.m_type = 4;
    source.m_size = 1;
    EXPECT_THROW(target = source, int);
    EXPECT_EQ(target.m_type, 0u);
}
