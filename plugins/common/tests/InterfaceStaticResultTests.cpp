#include "interface_static_result.h"

#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

namespace {

class StaticResult : public testing::Test
{
protected:
    ~StaticResult() override
    {
        for (uint32_t i = 0; i < m_events.GetCount(); ++i)
            delete m_events.GetElement(i).m_event;
    }

    void Frames(int count, uint64_t elapsed)
    {
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(m_statistics.AddProcessedFrame(elapsed, &m_events, m_filter, "TextIDFilter::Motiscan4", 40 + i),
                      S_OK);
    }

    InfoStaticResultProcessDataPath1 Read(uint32_t flags, int32_t period = 0)
    {
        InfoStaticResultProcessDataPath1 record;
        record.m_flags = flags;
        record.m_period_report = period;
        ListParamsDataPath1 params;
        params.SetNumberParams(1);
        params.m_params.GetElement(0).SetPointer(&record, sizeof(record), false);
        EXPECT_EQ(m_statistics.Dispatch(ObjectStaticResultProcessDataPath1::kMethodGetStatistics, &params), S_OK);
        return record;
    }

    ObjectStaticResultProcessDataPath1 m_statistics;
    ListEventsDataPath1 m_events;
    BaseClassObjectDataPath1* m_filter = reinterpret_cast<BaseClassObjectDataPath1*>(0x1234);
};

} // namespace

TEST_F(StaticResult, ReadsWithoutAndWithReset)
{
    Frames(3, 5);
    const InfoStaticResultProcessDataPath1 first = Read(0);
    const InfoStaticResultProcessDataPath1 second = Read(InfoStaticResultProcessDataPath1::kFlagReset);
    EXPECT_EQ(first.m_count_frames, 3u);
    EXPECT_EQ(first.m_total_time, 15u);
    EXPECT_EQ(second.m_count_frames, 3u) << "the values before the reset";
    EXPECT_EQ(second.m_total_time, 15u);
    const InfoStaticResultProcessDataPath1 third = Read(0);
    EXPECT_EQ(third.m_count_frames, 0u);
    EXPECT_EQ(third.m_total_time, 0u);
}

TEST_F(StaticResult, RaisesOneEventWhenTheCountReachesThePeriod)
{
    Frames(5, 1);
    EXPECT_EQ(m_events.GetCount(), 0u) << "period -1 never raises";

    Read(InfoStaticResultProcessDataPath1::kFlagReset | InfoStaticResultProcessDataPath1::kFlagSetPeriod, 3);
    EXPECT_EQ(m_statistics.GetPeriodReport(), 3);
    Frames(2, 0x100000000ull);
    EXPECT_EQ(m_events.GetCount(), 0u);
    Frames(1, 0x100000000ull);
    ASSERT_EQ(m_events.GetCount(), 1u);
    Frames(4, 1);
    EXPECT_EQ(m_events.GetCount(), 1u) << "the counters are not reset by the event";

    auto* event = static_cast<InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess*>(m_events.GetElement(0).m_event);
    EXPECT_EQ(event->GetTypeEvent(), ted1ChangeStaticInfoAboutProcess);
    EXPECT_EQ(event->m_filter, m_filter);
    EXPECT_EQ(event->m_controller, nullptr);
    EXPECT_STREQ(event->m_text_id.GetString(), "TextIDFilter::Motiscan4");
    EXPECT_EQ(event->m_count_frames, 3u);
    EXPECT_EQ(event->m_period_report, 3);
    EXPECT_EQ(event->m_time_low, 0u);
    EXPECT_EQ(event->m_time_high, 3u);
    EXPECT_EQ(event->m_number_frame, 40) << "the number of the frame that reached the period";
}

TEST_F(StaticResult, RefusesAMissingRecord)
{
    EXPECT_EQ(m_statistics.GetStatistics(nullptr), E_INVALIDARG);
    ListParamsDataPath1 params;
    params.SetNumberParams(1);
    EXPECT_EQ(m_statistics.Dispatch(ObjectStaticResultProcessDataPath1::kMethodGetStatistics, &params), E_INVALIDARG);
}
