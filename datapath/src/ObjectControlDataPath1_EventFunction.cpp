// The event relay: filters' events are cloned into the synchronous queue after each source's
// push, other threads add to the asynchronous queue, and the client window is told the counts
// and fetches the events, which then belong to it. Worker thread only.
#include "ObjectControlDataPath1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "MessageForObjectsDataPath1.h"

namespace {

// Grows the list by count places, each null, and answers the index of the first new place.
uint32_t GrowWithNullPlaces(ListEventsDataPath1& list, uint32_t count)
{
    const uint32_t first = list.GetCount();
    if (FAILED(list.SetSize(first + count)))
        throw 240;
    for (uint32_t k = first; k < first + count; ++k)
        list.GetElement(k) = InfoEventItemDataPath1{};
    return first;
}

// A private copy of the event, or null for a type the event library cannot copy (logged).
InfoEventDataFrame1* CloneEvent(const InfoEventDataFrame1* event)
{
    if (event == nullptr)
        return nullptr;
    try {
        return InfoEventDataFrame1::CheckAndCreateNewObjectFromCurrent(event);
    }
    CATCH_ALL_RETURN(nullptr)
}

void DeleteEvent(InfoEventDataFrame1* event)
{
    try {
        delete event;
    }
    CATCH_ALL_LOG()
}

// Appends the copy behind the filled places; a failed copy leaves no hole.
void StoreClone(ListEventsDataPath1& queue, uint32_t& filled, const InfoEventDataFrame1* event)
{
    if (InfoEventDataFrame1* copy = CloneEvent(event))
        queue.GetElement(filled++).m_event = copy;
}

} // namespace

HRESULT ObjectControlDataPath1::MoveTickEventsToSincQueue()
{
    uint32_t filled = m_sinc_events.GetCount();
    try {
        const uint32_t count = m_tick_events.GetCount();
        if (count == 0)
            return S_OK;
        uint32_t room = count;
        if (FAILED(CheckIsWindow(m_client_window))) {
            const uint32_t queued = m_sinc_events.GetCount();
            room = queued >= kMaxSincEventsWithoutClient ? 0 : kMaxSincEventsWithoutClient - queued;
            if (room < count)
                LOG_TEXT("ObjectControlDataPath1::no client window, filter events dropped");
            else
                room = count;
        }
        filled = GrowWithNullPlaces(m_sinc_events, room);
        for (uint32_t j = 0; j < count; ++j) {
            InfoEventItemDataPath1& item = m_tick_events.GetElement(j);
            InfoEventDataFrame1* event = item.m_event;
            item.m_event = nullptr;
            if (j < room)
                StoreClone(m_sinc_events, filled, event);
            DeleteEvent(event);
        }
        m_sinc_events.SetSize(filled);
        return m_tick_events.SetSize(0);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        // Events the filters raised are ours to delete, whatever happened.
        for (uint32_t j = 0; j < m_tick_events.GetCount(); ++j)
            DeleteEvent(m_tick_events.GetElement(j).m_event);
        m_tick_events.SetSize(0);
        m_sinc_events.SetSize(filled);
        return E_FAIL;
    }
}

HRESULT ObjectControlDataPath1::AddAsincEventsReal(ListEventsDataPath1* events, int32_t count)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::AddAsincEventsReal"))
        return E_UNEXPECTED;
    if (events == nullptr)
        return E_INVALIDARG;
    // More events than the caller's list holds: refused before the queue grows.
    if (count <= 0 || static_cast<uint32_t>(count) > events->GetCount())
        return E_UNEXPECTED;
    uint32_t filled = m_asinc_events.GetCount();
    try {
        for (uint32_t j = 0; j < static_cast<uint32_t>(count); ++j)
            if (events->GetElement(j).m_event == nullptr) {
                LOG_TEXT("ObjectControlDataPath1::AddAsincEventsReal::a place of the list holds no event");
                return E_FAIL;
            }
        filled = GrowWithNullPlaces(m_asinc_events, static_cast<uint32_t>(count));
        for (uint32_t j = 0; j < static_cast<uint32_t>(count); ++j) {
            InfoEventItemDataPath1& item = events->GetElement(j);
            StoreClone(m_asinc_events, filled, item.m_event);
            DeleteEvent(item.m_event);
            item.m_event = nullptr;
        }
        m_asinc_events.SetSize(filled);
        return events->SetSize(0);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        // The copies made so far stay queued; the places grown for the rest are given back.
        m_asinc_events.SetSize(filled);
        return E_FAIL;
    }
}

namespace {

// Moves every queued event behind the caller's events; from then on the caller owns them.
HRESULT HandOverEvents(ListEventsDataPath1& queue, ListEventsDataPath1* events)
{
    if (events == nullptr)
        return E_INVALIDARG;
    try {
        const uint32_t count = queue.GetCount();
        if (count == 0)
            return S_OK;
        const uint32_t first = GrowWithNullPlaces(*events, count);
        for (uint32_t k = 0; k < count; ++k) {
            events->GetElement(first + k).m_event = queue.GetElement(k).m_event;
            queue.GetElement(k).m_event = nullptr;
        }
        return queue.SetSize(0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

} // namespace

HRESULT ObjectControlDataPath1::GetAsincEventsReal(ListEventsDataPath1* events)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetAsincEventsReal"))
        return E_UNEXPECTED;
    return HandOverEvents(m_asinc_events, events);
}

HRESULT ObjectControlDataPath1::GetSincEventsReal(ListEventsDataPath1* events)
{
    if (!IsOnWorkerThread("ObjectControlDataPath1::GetSincEventsReal"))
        return E_UNEXPECTED;
    return HandOverEvents(m_sinc_events, events);
}

HRESULT ObjectControlDataPath1::DeleteAllQueuedEvents()
{
    try {
        for (ListEventsDataPath1* queue : {&m_sinc_events, &m_asinc_events}) {
            for (uint32_t k = 0; k < queue->GetCount(); ++k) {
                DeleteEvent(queue->GetElement(k).m_event);
                queue->GetElement(k).m_event = nullptr;
            }
            queue->SetSize(0);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ObjectControlDataPath1::PostEventMessages(uint32_t countSinc, uint32_t countAsinc)
{
    if (FAILED(CheckIsWindow(m_client_window)))
        return;
    const WPARAM controller = reinterpret_cast<WPARAM>(this);
    if (countSinc > 0)
        PostMessageA(m_client_window, GetEventMessageId(0), controller, static_cast<LPARAM>(countSinc));
    if (countAsinc > 0)
        PostMessageA(m_client_window, GetEventMessageId(1), controller, static_cast<LPARAM>(countAsinc));
}
