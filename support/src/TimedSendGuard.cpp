#include "TimedSendGuard.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

HRESULT TimedSendGuard::Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs,
                             const char* label, bool block, HRESULT* answer)
{
    TimedSendRequest request(wParam, lParam);
    Link(request);
    bool delivered = false;
    LRESULT sent = E_FAIL;
    try {
        sent = SafeSendMessageTimeout(window, message, reinterpret_cast<WPARAM>(&request),
                                      static_cast<LPARAM>(request.m_serial), timeoutMs,
                                      label != nullptr ? label : "TimedSendGuard::Send", block,
                                      &delivered);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    std::unique_lock<std::mutex> lock(m_lock);
    if (request.m_state == TimedSendRequest::State::Running)
        WaitForOperationEnd(request, lock, block);
    const bool ran = delivered || request.m_state == TimedSendRequest::State::Ended;
    const HRESULT result = delivered ? static_cast<HRESULT>(sent) : request.m_result;
    Unlink(request);
    lock.unlock();
    if (!ran)
        return E_FAIL;
    if (answer != nullptr)
        *answer = result;
    return S_OK;
}

TimedSendRequest* TimedSendGuard::BeginOperation(WPARAM wParam, LPARAM lParam)
{
    {
        std::lock_guard<std::mutex> lock(m_lock);
        // The parameters are compared, never followed, until they name a request that is still here.
        for (TimedSendRequest* request = m_first; request != nullptr; request = request->m_next) {
            if (reinterpret_cast<WPARAM>(request) != wParam ||
                request->m_serial != static_cast<ULONG_PTR>(lParam) ||
                request->m_state != TimedSendRequest::State::Waiting)
                continue;
            request->m_state = TimedSendRequest::State::Running;
            return request;
        }
    }
    LOG_TEXT("TimedSendGuard::BeginOperation::no waiting sender for the message, skipped unread");
    return nullptr;
}

void TimedSendGuard::EndOperation(TimedSendRequest* request, HRESULT result)
{
    if (request == nullptr)
        return;
    std::lock_guard<std::mutex> lock(m_lock);
    request->m_result = result;
    request->m_state = TimedSendRequest::State::Ended;
    if (request->m_ended != nullptr)
        SetEvent(request->m_ended);
}

uint32_t TimedSendGuard::GetCountWaitingSenders() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_count;
}

void TimedSendGuard::Link(TimedSendRequest& request)
{
    std::lock_guard<std::mutex> lock(m_lock);
    request.m_serial = m_next_serial++;
    if (m_next_serial == 0)
        m_next_serial = 1;
    request.m_next = m_first;
    if (m_first != nullptr)
        m_first->m_previous = &request;
    m_first = &request;
    ++m_count;
}

void TimedSendGuard::Unlink(TimedSendRequest& request)
{
    if (request.m_previous != nullptr)
        request.m_previous->m_next = request.m_next;
    else
        m_first = request.m_next;
    if (request.m_next != nullptr)
        request.m_next->m_previous = request.m_previous;
    --m_count;
}

void TimedSendGuard::WaitForOperationEnd(TimedSendRequest& request, std::unique_lock<std::mutex>& lock, bool block)
{
    // Without an event (it could not be made) the wait looks again every 10 ms.
    request.m_ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    const DWORD count = request.m_ended != nullptr ? 1 : 0;
    const DWORD timeout = request.m_ended != nullptr ? INFINITE : 10;
    while (request.m_state != TimedSendRequest::State::Ended) {
        lock.unlock();
        if (block) {
            // A blocking sender takes no other request meanwhile: one arriving now could free
            // what the sender is in the middle of.
            if (count == 0 || WaitForSingleObject(request.m_ended, timeout) == WAIT_FAILED)
                Sleep(10);
        } else if (MsgWaitForMultipleObjects(count, &request.m_ended, FALSE, timeout, QS_SENDMESSAGE) ==
                   WAIT_OBJECT_0 + count) {
            // The operation may itself send to a window of this thread: answer while waiting.
            MSG message;
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
        lock.lock();
    }
    SAFE_CLOSE_HANDLE(request.m_ended);
}
