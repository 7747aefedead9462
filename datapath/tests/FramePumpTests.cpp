// The frame pump and the event relay on a running controller with a hidden client window.
#include "ControllerTestSupport.h"

#include "MessageForObjectsDataPath1.h"
#include "ObjectAllocatorBufferDataPath1.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class FramePumpTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char* name : {"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "Camwell1.vdd", "RendaraGeneral.vdd"})
            m_folder.Install(name);
        m_controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    }
    void TearDown() override { m_controller.reset(); }

    TestFilterJournal Journal(const char* name) { return TestFilterJournal(m_folder.Path() + "\\" + name); }

    // Intavo1 -> Camwell1; Camwell1 output 0 -> Tonalis1 -> Motiscan4; output 1 -> RendaraGeneral.
    std::vector<int32_t> MakeBranchedPath()
    {
        std::vector<int32_t> made;
        EXPECT_EQ(S_OK, m_controller->MakeFilters(
                            {"Intavo1.vdd", "Camwell1.vdd", "Tonalis1.vdd", "Motiscan4.vdd", "RendaraGeneral.vdd"}, &made));
        EXPECT_EQ(S_OK, m_controller->Link(made[0], 0, made[1], 0));
        EXPECT_EQ(S_OK, m_controller->Link(made[1], 0, made[2], 0));
        EXPECT_EQ(S_OK, m_controller->Link(made[2], 0, made[3], 0));
        EXPECT_EQ(S_OK, m_controller->Link(made[1], 1, made[4], 0));
        return made;
    }

    // Runs for exactly that many ticks and stops.
    void Pump(int ticks = kTicks) { ASSERT_GE(m_controller->PumpTicks(ticks), 0); }

    static constexpr int kTicks = 3;

    static size_t Transforms(const TestFilterJournal& journal) { return journal.LinesStartingWith("TransformFilter").size(); }

    TestFilterFolder m_folder;
    std::unique_ptr<TestControlDataPath1> m_controller;
};

TEST_F(FramePumpTest, FramesTravelDepthFirstThroughEveryBranch)
{
    std::vector<int32_t> made = MakeBranchedPath();
    TestFilterJournal intavo = Journal("Intavo1.vdd"), camwell = Journal("Camwell1.vdd"), tonalis = Journal("Tonalis1.vdd"),
                      motiscan = Journal("Motiscan4.vdd"), rendara = Journal("RendaraGeneral.vdd");
    Pump();
    const size_t frames = Transforms(intavo);
    ASSERT_EQ(static_cast<size_t>(kTicks), frames);
    for (const TestFilterJournal* journal : {&camwell, &tonalis, &motiscan, &rendara})
        EXPECT_EQ(frames, Transforms(*journal));
    // The source's own transform gets the input index its output is linked to; no own output frame.
    EXPECT_NE(std::string::npos, intavo.LinesStartingWith("TransformFilter")[0].find("output=0"));

    InfoStaticWorkFilterDataPath1 timing[8];
    int32_t count = 0;
    EXPECT_EQ(S_OK, m_controller->GetStaticInfoFromDataPath1(timing, 8, &count));
    ASSERT_EQ(5, count);
    EXPECT_STREQ("TextIDFilter::Intavo1", timing[0].m_text_id.GetString());
    EXPECT_STREQ("TextIDFilter::Camwell1", timing[1].m_text_id.GetString());
    EXPECT_STREQ("TextIDFilter::Tonalis1", timing[2].m_text_id.GetString());
    EXPECT_STREQ("TextIDFilter::Motiscan4", timing[3].m_text_id.GetString());
    EXPECT_EQ(static_cast<int64_t>(frames), timing[0].m_calls);
    EXPECT_EQ(E_UNEXPECTED, m_controller->GetStaticInfoFromDataPath1(timing, 0, &count));
}

TEST_F(FramePumpTest, AnswerOneStopsOnlyItsBranch)
{
    MakeBranchedPath();
    TestFilterJournal tonalis = Journal("Tonalis1.vdd"), motiscan = Journal("Motiscan4.vdd"),
                      rendara = Journal("RendaraGeneral.vdd");
    tonalis.SetTransformResult(S_FALSE);
    Pump();
    EXPECT_GT(Transforms(tonalis), 0u);
    EXPECT_EQ(0u, Transforms(motiscan));
    EXPECT_EQ(Transforms(tonalis), Transforms(rendara));
}

TEST_F(FramePumpTest, FailureStopsTheLaterOutputsUpToTheSource)
{
    MakeBranchedPath();
    TestFilterJournal tonalis = Journal("Tonalis1.vdd"), motiscan = Journal("Motiscan4.vdd"),
                      rendara = Journal("RendaraGeneral.vdd");
    tonalis.SetTransformResult(E_FAIL);
    Pump();
    EXPECT_GT(Transforms(tonalis), 0u);
    EXPECT_EQ(0u, Transforms(motiscan));
    EXPECT_EQ(0u, Transforms(rendara));
}

struct FetchCase
{
    HRESULT answer;
    bool fills;
    bool pushed;
};

// A preset answer skips the kit's fill: the pump's frame stays empty.
TEST_F(FramePumpTest, OnlyAnExactZeroWithAFramePushes)
{
    const FetchCase cases[] = {{S_OK, true, true}, {S_OK, false, false}, {S_FALSE, false, false}, {E_FAIL, false, false}};
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd"}, &made));
    TestFilterJournal intavo = Journal("Intavo1.vdd");
    for (const FetchCase& c : cases) {
        intavo.Clear();
        if (!c.fills)
            intavo.SetCallResult(IID_ISourceFilterDataPath1, 2, c.answer);
        Pump();
        EXPECT_FALSE(intavo.LinesStartingWith("CallInterfaceFunction IID_ISourceFilterDataPath1 method=2").empty());
        EXPECT_EQ(c.pushed, Transforms(intavo) > 0) << c.answer << " " << c.fills;
    }
}

TEST_F(FramePumpTest, StoppedControllerFetchesNothing)
{
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd"}, &made));
    TestFilterJournal intavo = Journal("Intavo1.vdd");
    ASSERT_GE(m_controller->PumpTicks(kTicks, false), 0);
    EXPECT_TRUE(intavo.LinesStartingWith("CallInterfaceFunction IID_ISourceFilterDataPath1").empty());
}

// Events are announced synchronous first, with the controller and the whole queue's count,
// handed over once, and announced again while not fetched.
TEST_F(FramePumpTest, EventsAreAnnouncedFetchedInOrderAndHandedOverOnce)
{
    TestClientWindow client;
    ASSERT_EQ(S_OK, m_controller->SetExternWindow(client.Handle()));
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd"}, &made));
    ASSERT_EQ(S_OK, m_controller->Link(made[0], 0, made[1], 0));
    ASSERT_EQ(S_OK, m_controller->Link(made[1], 0, made[2], 0));
    ASSERT_EQ(S_OK, m_controller->ReportNextFrame(made[1]));
    ASSERT_EQ(S_OK, m_controller->ReportNextFrame(made[2]));

    ListEventsDataPath1 added;
    added.Init(1, 4);
    added.GetElement(0).m_event = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
    EXPECT_EQ(E_UNEXPECTED, m_controller->AddAsincEvents(&added, 0));
    EXPECT_EQ(S_OK, m_controller->AddAsincEvents(&added, 1));
    EXPECT_EQ(0u, added.GetCount());

    const UINT sinc = ObjectControlDataPath1::GetEventMessageId(0);
    const UINT asinc = ObjectControlDataPath1::GetEventMessageId(1);
    ASSERT_GE(m_controller->Run(), 0);
    MSG first;
    MSG second;
    // Minutes, not a time limit: the messages are posted on the first ticks.
    ASSERT_TRUE(client.WaitForEither(sinc, asinc, &first, 600000));
    ASSERT_TRUE(client.WaitForEither(sinc, asinc, &second, 600000));
    ASSERT_GE(m_controller->Stop(), 0);
    EXPECT_EQ(sinc, first.message);
    EXPECT_EQ(asinc, second.message);
    EXPECT_EQ(reinterpret_cast<WPARAM>(m_controller.get()), first.wParam);
    EXPECT_EQ(2, first.lParam);
    EXPECT_EQ(1, second.lParam);

    ListEventsDataPath1 fetched;
    fetched.Init(1, 4);
    fetched.GetElement(0).m_event = nullptr;
    EXPECT_EQ(2, m_controller->GetSincEvents(&fetched));
    ASSERT_EQ(3u, fetched.GetCount());
    const auto* tonalisEvent = static_cast<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess*>(fetched.GetElement(1).m_event);
    const auto* motiscanEvent = static_cast<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess*>(fetched.GetElement(2).m_event);
    ASSERT_NE(nullptr, tonalisEvent);
    ASSERT_NE(nullptr, motiscanEvent);
    EXPECT_STREQ("TextIDFilter::Tonalis1", tonalisEvent->m_text_id.GetString());
    EXPECT_STREQ("TextIDFilter::Motiscan4", motiscanEvent->m_text_id.GetString());
    EXPECT_EQ(0, m_controller->GetSincEvents(&fetched));
    EXPECT_EQ(3u, fetched.GetCount());
    EXPECT_EQ(1, m_controller->GetAsincEvents(&fetched));
    ASSERT_EQ(4u, fetched.GetCount());
    EXPECT_EQ(ted1ChangeWidthToHeightFrame, fetched.GetElement(3).m_event->GetTypeEvent());
    for (uint32_t k = 0; k < fetched.GetCount(); ++k)
        delete fetched.GetElement(k).m_event;
}

// Mend: a count far beyond the caller's list is refused; the events queued before stay queued
// and the caller's events stay the caller's.
TEST_F(FramePumpTest, AddingMoreEventsThanTheListHoldsLeavesTheQueueAsItWas)
{
    ListEventsDataPath1 two;
    two.Init(2, 4);
    two.GetElement(0).m_event = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
    two.GetElement(1).m_event = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
    ASSERT_EQ(S_OK, m_controller->AddAsincEvents(&two, 2));
    ListEventsDataPath1 one;
    one.Init(1, 4);
    InfoEventDataFrame1* kept = new InfoEventDataFrame_ted1ChangeWidthToHeightFrame();
    one.GetElement(0).m_event = kept;
    for (int32_t count : {2, 0x7FFFFFFF})
        EXPECT_EQ(E_UNEXPECTED, m_controller->AddAsincEvents(&one, count)) << count;
    ASSERT_EQ(1u, one.GetCount());
    EXPECT_EQ(kept, one.GetElement(0).m_event);
    delete kept;

    ListEventsDataPath1 fetched;
    EXPECT_EQ(2, m_controller->GetAsincEvents(&fetched));
    ASSERT_EQ(2u, fetched.GetCount());
    for (uint32_t k = 0; k < fetched.GetCount(); ++k) {
        ASSERT_NE(nullptr, fetched.GetElement(k).m_event) << k;
        EXPECT_EQ(ted1ChangeWidthToHeightFrame, fetched.GetElement(k).m_event->GetTypeEvent());
        delete fetched.GetElement(k).m_event;
    }
}

// Mend: without a client window nobody fetches; the queue keeps a bounded number of events.
TEST_F(FramePumpTest, WithoutClientWindowTheQueueStaysBounded)
{
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd"}, &made));
    m_controller->m_route_hook = [](ObjectDataPath1*, InfoDataBufferPath1*, ObjectAllocatorBufferDataPath1*,
                                    ListEventsDataPath1* events) {
        for (int k = 0; k < 600; ++k)
            AppendEventDataPath1(events, new InfoEventDataFrame_ted1ChangeWidthToHeightFrame());
    };
    LogCapture log;
    Pump();
    m_controller->m_route_hook = nullptr;
    ListEventsDataPath1 fetched;
    EXPECT_EQ(static_cast<int32_t>(ObjectControlDataPath1::kMaxSincEventsWithoutClient), m_controller->GetSincEvents(&fetched));
    ASSERT_EQ(ObjectControlDataPath1::kMaxSincEventsWithoutClient, fetched.GetCount());
    for (uint32_t k = 0; k < fetched.GetCount(); ++k) {
        ASSERT_NE(nullptr, fetched.GetElement(k).m_event) << k;
        delete fetched.GetElement(k).m_event;
    }
    EXPECT_TRUE(log.Contains("no client window, filter events dropped"));
}

// Mend: a filter that asks for its own output frame gets one without the previous user's data
// size and offset. The frame the next filter receives is that output frame.
TEST_F(FramePumpTest, OwnOutputFrameCarriesNothingOfThePreviousUser)
{
    std::vector<int32_t> made;
    ASSERT_EQ(S_OK, m_controller->MakeFilters({"Intavo1.vdd", "Tonalis1.vdd", "Motiscan4.vdd"}, &made));
    ASSERT_EQ(S_OK, m_controller->Link(made[0], 0, made[1], 0));
    ASSERT_EQ(S_OK, m_controller->Link(made[1], 0, made[2], 0));
    ObjectDataPath1* tonalis = m_controller->FilterAt(made[1]);
    ObjectDataPath1* motiscan = m_controller->FilterAt(made[2]);
    ASSERT_EQ(S_OK, m_controller->RunOnWorker([&] {
        auto& record = const_cast<InfoFilterObjectDataPath1&>(tonalis->GetInstanceRecord());
        record.m_points.m_inputs.GetElement(0).m_type |= kTypeOwnOutputBufferDataPath1;
        return S_OK;
    }));
    InfoDataBufferPath1* sourceFrame = nullptr;
    std::vector<std::pair<int32_t, int32_t>> seen;
    m_controller->m_route_hook = [&](ObjectDataPath1* filter, InfoDataBufferPath1* frame, ObjectAllocatorBufferDataPath1* pool,
                                     ListEventsDataPath1*) {
        if (filter == tonalis) {
            sourceFrame = frame;
            // Leave a used-looking frame at the place the output frame will come from.
            InfoDataBufferPath1* previous = pool->GetFreeBuffer(16, true);
            previous->m_size_data = 12345;
            previous->m_offset_data = 77;
            pool->ReleaseBuffer(previous);
        }
        if (filter == motiscan)
            seen.emplace_back(frame->m_size_data, frame->m_offset_data);
    };
    Pump();
    m_controller->m_route_hook = nullptr;
    ASSERT_FALSE(seen.empty());
    for (const auto& sizeAndOffset : seen) {
        EXPECT_EQ(0, sizeAndOffset.first);
        EXPECT_EQ(0, sizeAndOffset.second);
    }
    EXPECT_NE(nullptr, sourceFrame);
}

} // namespace
