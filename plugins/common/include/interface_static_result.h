// The processing-statistics interface: processing time and frame count of one filter instance,
// with an event raised when the count reaches the report period.
#pragma once

#include "StructForInterfaceDataPath1.h"

#include <cstdint>

class BaseClassObjectDataPath1;
class ObjectControlDataPath1;

// The caller's record of the one method.
struct InfoStaticResultProcessDataPath1
{
    static constexpr uint32_t kFlagReset = 1;
    static constexpr uint32_t kFlagSetPeriod = 2;

    uint64_t m_total_time = 0; // written
    uint32_t m_count_frames = 0; // written
    uint32_t m_flags = 0; // read
    int32_t m_period_report = -1; // read with kFlagSetPeriod
};
static_assert(sizeof(InfoStaticResultProcessDataPath1) == 24, "the statistics record is 24 bytes");

class ObjectStaticResultProcessDataPath1
{
public:
    static constexpr int32_t kMethodGetStatistics = 0;
    static constexpr int32_t kNeverReport = -1;

    // One call of the interface; an index the interface does not serve does nothing and gives 0.
    HRESULT Dispatch(int32_t indexMethod, ListParamsDataPath1* params);
    HRESULT GetStatistics(InfoStaticResultProcessDataPath1* record);

    // Counts one completely processed frame; raises the statistics event into the list when the
    // count reaches the report period, addressed to the event owner and source index given.
    HRESULT AddProcessedFrame(uint64_t elapsedTime, ListEventsDataPath1* events, BaseClassObjectDataPath1* filter,
                              const char* textId, int32_t numberFrame, ObjectControlDataPath1* owner = nullptr,
                              int32_t sourceIndex = 0);

    uint64_t GetTotalTime() const { return m_total_time; }
    uint32_t GetCountFrames() const { return m_count_frames; }
    int32_t GetPeriodReport() const { return m_period_report; }

private:
    HRESULT RaiseStatisticsEvent(ListEventsDataPath1* events, BaseClassObjectDataPath1* filter, const char* textId,
                                 int32_t numberFrame, ObjectControlDataPath1* owner, int32_t sourceIndex) const;

    uint64_t m_total_time = 0;
    uint32_t m_count_frames = 0;
    int32_t m_period_report = kNeverReport;
};
