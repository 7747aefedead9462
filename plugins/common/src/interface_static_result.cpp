#include "interface_static_result.h"

#include "MessageForObjectsDataPath1.h"

#include "CatchAllLog.h"

HRESULT ObjectStaticResultProcessDataPath1::Dispatch(int32_t indexMethod, ListParamsDataPath1* params)
{
    if (params == nullptr)
        return E_INVALIDARG;
    try {
        if (indexMethod != kMethodGetStatistics)
            return S_OK;
        void* record = params->m_params.GetElement(0).GetPointer();
        return GetStatistics(static_cast<InfoStaticResultProcessDataPath1*>(record));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectStaticResultProcessDataPath1::GetStatistics(InfoStaticResultProcessDataPath1* record)
{
    if (record == nullptr)
        return E_INVALIDARG;
    record->m_count_frames = m_count_frames;
    record->m_total_time = m_total_time;
    if (record->m_flags & InfoStaticResultProcessDataPath1::kFlagReset) {
        m_total_time = 0;
        m_count_frames = 0;
    }
    if (record->m_flags & InfoStaticResultProcessDataPath1::kFlagSetPeriod)
        m_period_report = record->m_period_report;
    return S_OK;
}

HRESULT ObjectStaticResultProcessDataPath1::AddProcessedFrame(uint64_t elapsedTime, ListEventsDataPath1* events,
                                                              BaseClassObjectDataPath1* filter, const char* textId,
                                                              int32_t numberFrame, ObjectControlDataPath1* owner,
                                                              int32_t sourceIndex)
{
    m_total_time += elapsedTime;
    m_count_frames += 1;
    if (m_period_report == kNeverReport || m_count_frames != static_cast<uint32_t>(m_period_report))
        return S_OK;
    return RaiseStatisticsEvent(events, filter, textId, numberFrame, owner, sourceIndex);
}

HRESULT ObjectStaticResultProcessDataPath1::RaiseStatisticsEvent(ListEventsDataPath1* events,
                                                                 BaseClassObjectDataPath1* filter,
                                                                 const char* textId, int32_t numberFrame,
                                                                 ObjectControlDataPath1* owner,
                                                                 int32_t sourceIndex) const
{
    if (events == nullptr)
        return E_INVALIDARG;
    InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess* event = nullptr;
    try {
        event = new InfoEventDataFrame_ted1ChangeStaticInfoAboutProcess();
        event->InitStruct(filter, owner, sourceIndex);
        event->m_text_id = textId;
        event->m_count_frames = m_count_frames;
        event->m_period_report = m_period_report;
        event->m_time_low = static_cast<uint32_t>(m_total_time);
        event->m_time_high = static_cast<uint32_t>(m_total_time >> 32);
        event->m_number_frame = numberFrame;
        const HRESULT result = AppendEventDataPath1(events, event);
        if (FAILED(result))
            delete event;
        return result;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        delete event;
        return E_FAIL;
    }
}
