// The mixer path recipes on the test plug-ins of the kit: the calls each plug-in gets, the links,
// the failures, and a whole run with three sources.
#include "ControllerTestSupport.h"

#include "MessageForObjectsDataPath1.h"
#include "need_interface.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <regex>

namespace {

const char* const kPlugins[] = {"Blendora1.vdd", "RendaraGeneral.vdd", "Intavo1.vdd",
                                "Tonalis1.vdd",  "Motiscan4.vdd",      "Camwell1.vdd"};

// Filter indexes in an empty table: the mixer path first, then each source's four filters.
constexpr int32_t kMixer = 0;
constexpr int32_t kOutput = 1;
struct SourceFilters
{
    int32_t source;
    int32_t camera;
    int32_t detector;
    int32_t correction;
};
constexpr SourceFilters SourceAt(int32_t first) { return {first, first + 1, first + 2, first + 3}; }

constexpr int32_t kMode = 4;

std::string WindowValue(HWND window)
{
    return std::to_string(static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)));
}

class MixerPathTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : kPlugins) {
            m_folder.Install(name);
            m_journals.emplace(name, std::make_unique<TestFilterJournal>(m_folder.Path() + "\\" + name));
        }
        m_controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    }
    void TearDown() override { m_controller.reset(); }

    const TestFilterJournal& Journal(const char* name) { return *m_journals.at(name); }

    // The interface calls a plug-in got, without the instance numbers.
    std::vector<std::string> Calls(const char* name)
    {
        static const std::regex instance(" instance=[0-9]+");
        std::vector<std::string> calls;
        for (const std::string& line : Journal(name).LinesStartingWith("CallInterfaceFunction "))
            calls.push_back(std::regex_replace(line.substr(22), instance, ""));
        return calls;
    }

    size_t Count(const char* name, const std::string& start) { return Journal(name).LinesStartingWith(start).size(); }

    void ClearJournals()
    {
        for (auto& entry : m_journals)
            entry.second->Clear();
    }

    HRESULT AddSource(int32_t slot, int32_t idCamera, const char* name = "Camera")
    {
        InfoNeedInterface record;
        record.m_name_device = name;
        record.m_id_camera = idCamera;
        return m_controller->AddDriverToMixerDataPathForTundrel(&record, 0, slot, kMode);
    }

    const InfoConnectionPointDataPath1& Point(int32_t index, bool input, uint32_t k)
    {
        const auto& points = m_controller->FilterAt(index)->GetInstanceRecord().m_points;
        return input ? points.m_inputs.GetElement(k) : points.m_outputs.GetElement(k);
    }

    // The link from output to input, recorded on both filters.
    void ExpectLink(int32_t from, uint32_t output, int32_t to, uint32_t input)
    {
        EXPECT_EQ(m_controller->FilterAt(to), Point(from, false, output).m_peer) << from << " -> " << to;
        EXPECT_EQ(static_cast<int32_t>(input), Point(from, false, output).m_peer_index) << from << " -> " << to;
        EXPECT_EQ(m_controller->FilterAt(from), Point(to, true, input).m_peer) << from << " -> " << to;
        EXPECT_EQ(static_cast<int32_t>(output), Point(to, true, input).m_peer_index) << from << " -> " << to;
    }

    void ExpectChainLinked(const SourceFilters& chain, uint32_t slot)
    {
        ExpectLink(chain.source, 0, chain.correction, 0);
        ExpectLink(chain.correction, 0, chain.detector, 0);
        ExpectLink(chain.detector, 0, chain.camera, 0);
        ExpectLink(chain.camera, 2, kMixer, slot);
    }

    // The input index of each transform the plug-in got, in order.
    std::vector<std::string> TransformIndexes(const char* name)
    {
        static const std::regex index(" index=(-?[0-9]+)$");
        std::vector<std::string> indexes;
        for (const std::string& line : Journal(name).LinesStartingWith("TransformFilter")) {
            std::smatch match;
            indexes.push_back(std::regex_search(line, match, index) ? match[1].str() : line);
        }
        return indexes;
    }

    uint32_t CountFilters()
    {
        DynamicBoundsObject<int32_t> ids;
        EXPECT_EQ(S_OK, m_controller->GetAllIDObjectsFromFilters(&ids));
        return ids.GetCount();
    }

    TestFilterFolder m_folder;
    std::map<std::string, std::unique_ptr<TestFilterJournal>> m_journals;
    std::unique_ptr<TestControlDataPath1> m_controller;
};

TEST_F(MixerPathTest, MixerPathConfiguresTheOutputAndLinksTheMixerToIt)
{
    TestClientWindow window;
    const std::string live = WindowValue(window.Handle());
    const std::vector<std::string> before = {
        "IID_IControlOptimProcessor method=1 [0x1:4]",
        "IID_IVideoOutputRender1 method=28 [0x1000005:null] [0x4:0]",
        "IID_IVideoOutputRender1 method=24 [0x4:1]",
        "IID_IVideoOutputRender1 method=23 [0x1000005:ptr]",
        "IID_IVideoOutputRender1 method=5 [0xC:100]",
        "IID_IVideoOutputRender1 method=16 [0x4:0]",
    };
    const std::vector<std::string> windowCalls = {
        "IID_IVideoOutputRender1 method=7 [0xA:" + live + "]",
        "IID_IVideoOutputRender1 method=9 [0x1:1140850688]",
        "IID_IVideoOutputRender1 method=14 [0xA:" + live + "]",
    };
    const std::vector<std::string> after = {
        "IID_IVideoOutputRender1 method=3 [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:0] [0x4:0] [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:1] [0x4:0] [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:2] [0x4:0] [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:3] [0x4:0] [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:4] [0x4:0] [0x4:0]",
        "IID_IVideoOutputRender1 method=15 [0x3:2] [0x4:0] [0x4:1]",
    };
    const struct
    {
        HWND window;
        bool live;
    } cases[] = {{window.Handle(), true}, {nullptr, false}, {reinterpret_cast<HWND>(-1), false}};
    for (const auto& c : cases) {
        ClearJournals();
        ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(c.window, 0, kMode)) << c.live;
        std::vector<std::string> expected = before;
        if (c.live)
            expected.insert(expected.end(), windowCalls.begin(), windowCalls.end());
        expected.insert(expected.end(), after.begin(), after.end());
        EXPECT_EQ(expected, Calls("RendaraGeneral.vdd")) << c.live;
        EXPECT_EQ(std::vector<std::string>{"IID_IControlOptimProcessor method=1 [0x1:4]"}, Calls("Blendora1.vdd"));
        EXPECT_EQ(1u, Count("Blendora1.vdd", "InitInfoFilter"));
        EXPECT_EQ(1u, Count("RendaraGeneral.vdd", "InitInfoFilter"));
        ExpectLink(kMixer, 0, kOutput, 0);
        ASSERT_EQ(S_OK, m_controller->DeleteAllGraph());
    }
}

TEST_F(MixerPathTest, AddedSourceGetsItsRecordAndItsChainFeedsTheMixerInputOfItsSlot)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    ClearJournals();
    ASSERT_EQ(S_OK, AddSource(3, 42, "Front door"));

    const std::vector<std::string> source = {
        "IID_IControlOptimProcessor method=1 [0x1:4]",
        "IID_IControlDriverDirectShow method=0 [0x1000005:ptr]",
    };
    EXPECT_EQ(source, Calls("Intavo1.vdd"));
    EXPECT_EQ(1u, Count("Intavo1.vdd", "SourceRecord name=Front door camera=42"));
    const std::vector<std::string> camera = {
        "IID_IControlOptimProcessor method=1 [0x1:4]",
        "IID_IInfoCamera method=4 [0x4:0]",
        "IID_IInfoCamera method=8 [0x1000005:ptr]",
        "IID_IInfoCamera method=0 [0x1000005:ptr] [0x3:5]",
        "IID_IInfoCamera method=2 [0x1:42] [0x1:1]",
        "IID_IInfoCamera method=7 [0x4:1]",
        "IID_IGrabberFrames method=0 [0x4:1]",
        "IID_IGrabberFrames method=1 [0x4:0]",
    };
    EXPECT_EQ(camera, Calls("Camwell1.vdd"));
    const std::vector<std::string> correction = {
        "IID_IControlOptimProcessor method=1 [0x1:4]",
        "IID_IControlCorrectVideoData method=0 [0x4:1]",
        "IID_IControlCorrectVideoData method=5 [0x4:0]",
        "IID_IControlCorrectVideoData method=7 [0x4:0]",
        "IID_IControlCorrectVideoData method=9 [0x1000005:ptr]",
        "IID_IControlCorrectVideoData method=10 [0x1:42] [0x1:1]",
    };
    EXPECT_EQ(correction, Calls("Tonalis1.vdd"));
    const std::vector<std::string> detector = {
        "IID_IControlOptimProcessor method=1 [0x1:4]",
        "IID_IControlVideoDetector method=6 [0x1000005:null] [0x3:10652]",
        "IID_IControlVideoDetector method=0 [0x4:0]",
    };
    EXPECT_EQ(detector, Calls("Motiscan4.vdd"));

    const SourceFilters chain = SourceAt(2);
    ExpectChainLinked(chain, 3);
    EXPECT_EQ(m_controller->FilterAt(chain.source), m_controller->MixerInput(3));
}

TEST_F(MixerPathTest, SourceAddedBeforeTheMixerIsRemovedAgain)
{
    EXPECT_EQ(E_FAIL, AddSource(0, 7));
    EXPECT_EQ(1u, Count("Intavo1.vdd", "SourceRecord"));
    EXPECT_EQ(1u, Count("Intavo1.vdd", "FreeInfoFilter"));
    EXPECT_EQ(0u, Count("Camwell1.vdd", "InitInfoFilter"));
    EXPECT_EQ(nullptr, m_controller->MixerInput(0));
    EXPECT_EQ(0u, CountFilters());
}

TEST_F(MixerPathTest, NoSourceRecordLoadsNothing)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    EXPECT_EQ(E_INVALIDARG, m_controller->AddDriverToMixerDataPathForTundrel(nullptr, 0, 0, kMode));
    EXPECT_EQ(0u, Count("Intavo1.vdd", "InitInfoFilter"));
    EXPECT_EQ(2u, CountFilters());
}

// Slots out of range are refused before the table is written; the new source filter goes.
TEST_F(MixerPathTest, SlotOutOfRangeRemovesTheNewSource)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    for (int32_t slot : {16, -1, 1000}) {
        EXPECT_EQ(E_FAIL, AddSource(slot, 7)) << slot;
        EXPECT_EQ(2u, CountFilters()) << slot;
    }
    EXPECT_EQ(0u, Count("Intavo1.vdd", "SourceRecord"));
    EXPECT_EQ(3u, Count("Intavo1.vdd", "FreeInfoFilter"));
    for (uint32_t slot = 0; slot < ObjectControlDataPath1::kNumberMixerInputs; ++slot)
        EXPECT_EQ(nullptr, m_controller->MixerInput(slot)) << slot;
}

// Mend: a second source for an occupied slot is refused; the chain already there stays linked and
// can still be removed.
TEST_F(MixerPathTest, OccupiedSlotRefusesTheNewSourceAndKeepsItsChain)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    ASSERT_EQ(S_OK, AddSource(4, 1));
    const SourceFilters chain = SourceAt(2);
    EXPECT_EQ(E_UNEXPECTED, AddSource(4, 2));
    EXPECT_EQ(6u, CountFilters());
    EXPECT_EQ(2u, Count("Intavo1.vdd", "InitInfoFilter"));
    EXPECT_EQ(1u, Count("Intavo1.vdd", "FreeInfoFilter"));
    EXPECT_EQ(1u, Count("Intavo1.vdd", "SourceRecord"));
    EXPECT_EQ(m_controller->FilterAt(chain.source), m_controller->MixerInput(4));
    ExpectChainLinked(chain, 4);

    EXPECT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(4));
    EXPECT_EQ(2u, CountFilters());
    EXPECT_EQ(nullptr, m_controller->MixerInput(4));
    EXPECT_EQ(nullptr, Point(kMixer, true, 4).m_peer);
}

// A source that refuses the driver interface or its record stays in its slot, unlinked, until
// it is deleted.
TEST_F(MixerPathTest, SourceThatRefusesStaysInItsSlotUntilDeleted)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    const struct
    {
        bool refuseQuery;
        HRESULT expected;
    } cases[] = {{true, S_FALSE}, {false, E_FAIL}};
    for (const auto& c : cases) {
        Journal("Intavo1.vdd").Clear();
        if (c.refuseQuery)
            Journal("Intavo1.vdd").SetQueryResult(IID_IControlDriverDirectShow, S_FALSE);
        else
            Journal("Intavo1.vdd").SetCallResult(IID_IControlDriverDirectShow, 0, E_FAIL);
        EXPECT_EQ(c.expected, AddSource(6, 9)) << c.refuseQuery;
        Journal("Intavo1.vdd").SetQueryResult(IID_IControlDriverDirectShow, S_OK);
        ObjectDataPath1* source = m_controller->MixerInput(6);
        ASSERT_NE(nullptr, source) << c.refuseQuery;
        EXPECT_EQ(nullptr, source->GetInstanceRecord().m_points.m_outputs.GetElement(0).m_peer);
        EXPECT_EQ(3u, CountFilters());
        EXPECT_EQ(0u, Count("Camwell1.vdd", "InitInfoFilter"));

        EXPECT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(6));
        EXPECT_EQ(nullptr, m_controller->MixerInput(6));
        EXPECT_EQ(2u, CountFilters());
        EXPECT_EQ(1u, Count("Intavo1.vdd", "FreeInfoFilter")) << c.refuseQuery;
    }
}

TEST_F(MixerPathTest, DeletingAnEmptySlotDisturbsNothing)
{
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(nullptr, 0, kMode));
    ASSERT_EQ(S_OK, AddSource(1, 5));
    EXPECT_EQ(E_INVALIDARG, m_controller->DeleteDriverFromMixerDataPathForTundrel(2));
    EXPECT_EQ(E_FAIL, m_controller->DeleteDriverFromMixerDataPathForTundrel(16));
    EXPECT_EQ(6u, CountFilters());
    ExpectChainLinked(SourceAt(2), 1);
    ExpectLink(kMixer, 0, kOutput, 0);
}

// Three sources run through their chains into the mixer and the output; one is removed while the
// others go on; at the end every plug-in instance is freed and every module unloaded.
TEST_F(MixerPathTest, ThreeSourcesRunAndOneIsRemovedWhileTheOthersGoOn)
{
    TestClientWindow client;
    TestClientWindow output;
    ASSERT_EQ(S_OK, m_controller->SetExternWindow(client.Handle()));
    ASSERT_EQ(S_OK, m_controller->CreateMixerDataPathForTundrel(output.Handle(), 0, kMode));
    const struct
    {
        int32_t slot;
        int32_t idCamera;
        SourceFilters filters;
    } sources[] = {{3, 30, SourceAt(2)}, {0, 10, SourceAt(6)}, {5, 50, SourceAt(10)}};
    for (const auto& s : sources)
        ASSERT_EQ(S_OK, AddSource(s.slot, s.idCamera)) << s.slot;
    ASSERT_EQ(S_OK, m_controller->ReportNextFrame(sources[0].filters.correction));

    // The pushes of one tick, in order, by plug-in name (the camera's unlinked outputs push to no filter).
    std::vector<std::string> pushes;
    m_controller->m_route_hook = [&](ObjectDataPath1* filter, InfoDataBufferPath1*, ObjectAllocatorBufferDataPath1*,
                                     ListEventsDataPath1*) {
        if (filter != nullptr)
            pushes.push_back(filter->GetInstanceRecord().m_text_id.GetString() + std::string("TextIDFilter::").size());
    };
    const size_t mark = Journal("Intavo1.vdd").Lines().size();
    ASSERT_GE(m_controller->PumpTicks(1), 0);
    m_controller->m_route_hook = nullptr;
    std::vector<std::string> chainOrder;
    for (size_t k = 0; k < 3; ++k)
        for (const char* name : {"Intavo1", "Tonalis1", "Motiscan4", "Camwell1", "Blendora1", "RendaraGeneral"})
            chainOrder.push_back(name);
    EXPECT_EQ(chainOrder, pushes);
    // Each source is fetched right before its own push.
    std::vector<std::string> intavo = Journal("Intavo1.vdd").Lines();
    intavo.erase(intavo.begin(), intavo.begin() + static_cast<std::ptrdiff_t>(mark));
    std::vector<std::string> fetchAndPush;
    for (const std::string& line : intavo)
        if (line.rfind("CallInterfaceFunction IID_ISourceFilterDataPath1 method=2", 0) == 0)
            fetchAndPush.push_back("fetch");
        else if (line.rfind("TransformFilter", 0) == 0)
            fetchAndPush.push_back("push");
    EXPECT_EQ((std::vector<std::string>{"fetch", "push", "fetch", "push", "fetch", "push"}), fetchAndPush);
    EXPECT_EQ((std::vector<std::string>{"3", "0", "5"}), TransformIndexes("Blendora1.vdd"));
    EXPECT_EQ((std::vector<std::string>{"0", "0", "0"}), TransformIndexes("RendaraGeneral.vdd"));

    MSG announced;
    ASSERT_TRUE(client.WaitForEither(ObjectControlDataPath1::GetEventMessageId(0),
                                     ObjectControlDataPath1::GetEventMessageId(1), &announced, 600000));
    EXPECT_EQ(ObjectControlDataPath1::GetEventMessageId(0), announced.message);
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_controller.get()), announced.wParam);
    EXPECT_EQ(1, announced.lParam);
    ListEventsDataPath1 fetched;
    EXPECT_EQ(1, m_controller->GetSincEvents(&fetched));
    for (uint32_t k = 0; k < fetched.GetCount(); ++k)
        delete fetched.GetElement(k).m_event;

    MemoryBlockClass<int32_t> cameras;
    ASSERT_EQ(S_OK, m_controller->GetAllIDCameraFromFilters(&cameras));
    ASSERT_EQ(3u, cameras.GetSize());
    for (uint32_t k = 0; k < 3; ++k)
        EXPECT_EQ(sources[k].idCamera, cameras.GetData()[k]);

    const size_t outputCalls = Calls("RendaraGeneral.vdd").size();
    EXPECT_EQ(S_OK, m_controller->CallSetOutputRectForIDCamera(10, 1, 2, 3, 4));
    EXPECT_EQ("IID_IVideoOutputRender1 method=5 [0xC:1]", Calls("RendaraGeneral.vdd").at(outputCalls));

    EXPECT_EQ(S_OK, m_controller->DeleteDriverFromMixerDataPathForTundrel(3));
    for (const char* name : {"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd"})
        EXPECT_EQ(1u, Count(name, "FreeInfoFilter")) << name;
    const SourceFilters& removed = sources[0].filters;
    for (int32_t index : {removed.source, removed.camera, removed.detector, removed.correction})
        EXPECT_EQ(nullptr, m_controller->FilterAt(index)) << index;
    EXPECT_EQ(nullptr, Point(kMixer, true, 3).m_peer);
    ExpectLink(kMixer, 0, kOutput, 0);
    ExpectChainLinked(sources[1].filters, 0);
    ExpectChainLinked(sources[2].filters, 5);
    ClearJournals();
    ASSERT_GE(m_controller->PumpTicks(1), 0);
    EXPECT_EQ((std::vector<std::string>{"0", "5"}), TransformIndexes("Blendora1.vdd"));
    EXPECT_EQ(2u, Count("RendaraGeneral.vdd", "TransformFilter"));

    const std::map<std::string, size_t> loaded = {{"Blendora1.vdd", 1}, {"RendaraGeneral.vdd", 1}, {"Intavo1.vdd", 2},
                                                  {"Tonalis1.vdd", 2},  {"Motiscan4.vdd", 2},      {"Camwell1.vdd", 2}};
    ClearJournals();
    ASSERT_GE(m_controller->Stop(), 0);
    ASSERT_EQ(S_OK, m_controller->DeleteAllGraph());
    m_controller.reset();
    for (const auto& entry : loaded)
        EXPECT_EQ(entry.second, Count(entry.first.c_str(), "FreeInfoFilter")) << entry.first;
    m_journals.clear();
    for (const char* name : kPlugins)
        EXPECT_EQ(nullptr, GetModuleHandleA((m_folder.Path() + "\\" + name).c_str())) << name;
}

} // namespace
