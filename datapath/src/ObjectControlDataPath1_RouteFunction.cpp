// The frame pump: on each tick of a running controller one frame from every source is pushed
// depth first through the filters linked behind it, with buffers from the controller's pool.
#include "ObjectControlDataPath1.h"

#include "ObjectAllocatorBufferDataPath1.h"
#include "ObjectDataPath1.h"

#include "CTimeServer.h"
#include "CatchAllLog.h"

namespace {

// Filter times in milliseconds of the system's clock.
int64_t NowMilliseconds()
{
    static CTimeServer clock;
    return static_cast<int64_t>(clock.GetTime());
}

constexpr uint32_t kSizeHintSourceFrame = 0x20000;
constexpr uint32_t kSizeHintOutputFrame = 16;

bool HoldsFrame(const InfoDataBufferPath1& frame)
{
    const uint32_t state = frame.m_info.m_state;
    if ((state & InfoCallInterfaceDataPath1::kStateFrame) == 0)
        return false;
    return frame.m_size_data > 0 || (state & InfoCallInterfaceDataPath1::kStateVirtual) != 0;
}

} // namespace

void InfoStaticWorkFilterDataPath1::AddMeasurement(int64_t measured)
{
    m_calls += 1;
    m_total += measured;
    if (measured > m_maximum)
        m_maximum = measured;
    if (measured < m_minimum || m_minimum == 0)
        m_minimum = measured;
    m_average = static_cast<double>(m_total) / static_cast<double>(m_calls);
}

HRESULT ObjectControlDataPath1::ProcessTimerTick(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::ProcessTimerTick"))
        return E_UNEXPECTED;
    try {
        if (m_run_state != 1)
            return S_FALSE;
        HRESULT result = E_FAIL;
        InfoDataBufferPath1* frame = m_pool != nullptr ? m_pool->GetFreeBuffer(kSizeHintSourceFrame, true) : nullptr;
        if (frame != nullptr)
            for (uint32_t place = 0; place < m_count_sources; ++place)
                result = PumpSource(m_sources.GetElement(place), frame);
        const uint32_t countSinc = m_sinc_events.GetCount();
        const uint32_t countAsinc = m_asinc_events.GetCount();
        if (m_pool != nullptr) {
            if (frame != nullptr)
                m_pool->ReleaseBuffer(frame);
            if (m_pool->GetCountUsedBuffers() != 0)
                m_pool->ReleaseAllBuffers();
        }
        PostEventMessages(countSinc, countAsinc);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlDataPath1::PumpSource(int32_t index, InfoDataBufferPath1* frame)
{
    HRESULT result = S_FALSE;
    try {
        ObjectDataPath1* source = GetFilterFromIndex(index);
        if (source != nullptr && AnswersInterface(source, IID_ISourceFilterDataPath1) &&
            m_enabled.GetElement(static_cast<uint32_t>(index)) == 1) {
            frame->SetNULLFrame();
            ListParamsDataPath1 params;
            params.SetNumberParams(2);
            params.m_params.GetElement(0).SetInt(1);
            params.m_params.GetElement(1).SetPointer(frame, sizeof(*frame), false);
            const int64_t start = NowMilliseconds();
            const HRESULT fetched = source->CallInterfaceFunction(IID_ISourceFilterDataPath1, 2, &params);
            const int64_t fetchTime = NowMilliseconds() - start;
            if (fetched == S_OK && HoldsFrame(*frame)) {
                int32_t step = 0;
                const int32_t inputIndex = source->GetInstanceRecord().m_points.m_outputs.GetElement(0).m_peer_index;
                result = RouteFrameThroughFilter(&step, fetchTime, source, frame, m_pool, &m_tick_events, inputIndex);
            }
        }
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    MoveTickEventsToSincQueue();
    return result;
}

InfoStaticWorkFilterDataPath1* ObjectControlDataPath1::FindTimingEntry(const DynamicString& textId)
{
    for (uint32_t k = 0; k < m_count_timing; ++k) {
        InfoStaticWorkFilterDataPath1& entry = m_timing.GetElement(k);
        if (entry.m_text_id == textId.GetString())
            return &entry;
    }
    if (m_count_timing >= kMaxTimingEntries)
        return nullptr;
    InfoStaticWorkFilterDataPath1& entry = m_timing.GetElement(m_count_timing++);
    entry.Reset();
    entry.m_text_id = textId.GetString();
    return &entry;
}

HRESULT ObjectControlDataPath1::RouteFrameThroughFilter(int32_t* step, int64_t sourceFetchTime, ObjectDataPath1* filter,
                                                        InfoDataBufferPath1* frame, ObjectAllocatorBufferDataPath1* pool,
                                                        ListEventsDataPath1* events, int32_t inputIndex)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::RouteFrameThroughFilter"))
        return E_UNEXPECTED;
    if (step == nullptr || frame == nullptr || pool == nullptr)
        return E_INVALIDARG;
    if (filter == nullptr)
        return S_FALSE;
    // Each filter of the table takes a frame at most once per source push along a tree of links.
    if (*step > static_cast<int32_t>(kMaxFilters)) {
        LOG_TEXT("ObjectControlDataPath1::RouteFrameThroughFilter::more pushes than filters, stopped");
        return E_FAIL;
    }
    InfoFilterObjectDataPath1 info;
    HRESULT result = filter->GetInfoFilter(&info);
    if (FAILED(result))
        return result;
    InfoDataBufferPath1* output = nullptr;
    try {
        const ListConnectionPointsDataPath1& points = info.m_points;
        if (points.m_count_inputs >= 1 && (points.m_inputs.GetElement(0).m_type & kTypeOwnOutputBufferDataPath1) != 0) {
            output = pool->GetFreeBuffer(kSizeHintOutputFrame, true);
            if (output == nullptr)
                return E_FAIL;
            // Nothing of the pool's previous user may reach this filter: only the input's description.
            output->SetNULLFrame();
            output->m_info = frame->m_info;
        }
        InfoStaticWorkFilterDataPath1* timing = FindTimingEntry(info.m_text_id);
        const int64_t start = NowMilliseconds();
        result = filter->TransformFilter(frame, frame->m_self_size, output, output != nullptr ? output->m_self_size : 0,
                                         events, inputIndex);
        if (result >= 0 && timing != nullptr)
            timing->AddMeasurement(*step == 0 ? sourceFetchTime : NowMilliseconds() - start);
        if (result >= 0 && result != S_FALSE) {
            filter->GetInfoFilter(&info);
            for (uint32_t k = 0; k < points.m_count_outputs && k < ListConnectionPointsDataPath1::kMaxPoints; ++k) {
                const InfoConnectionPointDataPath1& point = points.m_outputs.GetElement(k);
                if (!point.m_valid)
                    continue;
                ++*step;
                const HRESULT pushed = RouteFrameThroughFilter(step, sourceFetchTime, point.m_peer,
                                                               output != nullptr ? output : frame, pool, events,
                                                               point.m_peer_index);
                if (pushed < 0) {
                    result = pushed;
                    break;
                }
            }
        }
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    info.m_in_use = false;
    info.m_flag = 0;
    if (output != nullptr) {
        const HRESULT released = pool->ReleaseBuffer(output);
        if (result >= 0 && result != S_FALSE)
            result = released;
    }
    return result;
}

HRESULT ObjectControlDataPath1::GetStaticInfoFromDataPath1Real(InfoStaticWorkFilterDataPath1* entries, int32_t capacity,
                                                               int32_t* count)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetStaticInfoFromDataPath1Real"))
        return E_UNEXPECTED;
    if (entries == nullptr || count == nullptr)
        return E_INVALIDARG;
    if (capacity < 1)
        return E_UNEXPECTED;
    try {
        const uint32_t copied = static_cast<uint32_t>(capacity) < m_count_timing ? static_cast<uint32_t>(capacity)
                                                                                : m_count_timing;
        for (uint32_t k = 0; k < copied; ++k)
            entries[k] = m_timing.GetElement(k);
        *count = static_cast<int32_t>(copied);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
