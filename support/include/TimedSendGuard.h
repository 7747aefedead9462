// Guards the records of operations sent to an owner thread against a send that times out.
//
// An object that owns a thread with a hidden window is driven by messages whose parameters point
// at records on the sender's stack. When SendMessageTimeout gives up, its message stays queued,
// and the owner would read the records later, after the sender has left. Through the guard the
// message carries the identity of the sender's request instead: the owner asks the guard for the
// request before it reads anything, and a message whose sender gave up is skipped unread. A sender
// whose operation is already running when its time-out passes waits for the operation's end,
// answering the messages sent to its thread meanwhile (a blocking sender answers none), and gets
// the operation's answer. Every
// request is a record of its own on its sender's stack, so two equal requests of two threads never
// stand for each other.
//
// One guard per owner object, made before its thread and kept until the thread has ended.
//
// Sender (any thread):
//     HRESULT answer = E_FAIL;
//     if (FAILED(m_guard.Send(window, message, wParam, lParam, timeoutMs, "Owner::Operation", false, &answer)))
//         return E_FAIL;   // not delivered: the operation did not run and never will
//     return answer;       // the operation's own answer, success or failure
//
// Window procedure of the owner (owner thread), for each of its operation messages:
//     TimedSendRequest* request = m_guard.BeginOperation(wParam, lParam);
//     if (request == nullptr)
//         return E_FAIL;   // its sender gave up, or it was not sent through the guard: read nothing
//     const HRESULT result = RunOperation(code, request->m_wparam, request->m_lparam);
//     m_guard.EndOperation(request, result);   // the request may be gone right after this
//     return result;
#pragma once

#include <windows.h>

#include <cstdint>
#include <mutex>

class TimedSendGuard;

// One request in flight; lives on the sender's stack for the whole send.
class TimedSendRequest
{
public:
    TimedSendRequest(WPARAM wParam, LPARAM lParam) : m_wparam(wParam), m_lparam(lParam) {}
    TimedSendRequest(const TimedSendRequest&) = delete;
    TimedSendRequest& operator=(const TimedSendRequest&) = delete;

    // The operation's own parameters.
    const WPARAM m_wparam;
    const LPARAM m_lparam;

private:
    friend class TimedSendGuard;
    enum class State : uint8_t { Waiting, Running, Ended };

    ULONG_PTR m_serial = 0;
    State m_state = State::Waiting;
    HRESULT m_result = E_FAIL;
    HANDLE m_ended = nullptr; // made only when the sender has to wait for a running operation
    TimedSendRequest* m_previous = nullptr;
    TimedSendRequest* m_next = nullptr;
};

class TimedSendGuard
{
public:
    TimedSendGuard() = default;
    TimedSendGuard(const TimedSendGuard&) = delete;
    TimedSendGuard& operator=(const TimedSendGuard&) = delete;

    // Sends the message to the window with the request's identity as its parameters. S_OK when the
    // operation ran (*answer holds its answer); 0x80004005 when the message was not delivered (the
    // window is gone, or the time-out passed before the owner began it; both logged with the label).
    HRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int32_t timeoutMs, const char* label,
                 bool block, HRESULT* answer);

    // Owner thread: the request the message's parameters name, marked running; null (logged) when
    // they name no request whose sender still waits.
    TimedSendRequest* BeginOperation(WPARAM wParam, LPARAM lParam);
    // Owner thread: stores the answer and releases a sender that waits for it.
    void EndOperation(TimedSendRequest* request, HRESULT result);

    // Requests whose senders wait now.
    uint32_t GetCountWaitingSenders() const;

private:
    void Link(TimedSendRequest& request);
    void Unlink(TimedSendRequest& request);
    // Until the running operation on the request has ended, answering messages sent to this thread
    // meanwhile unless the sender blocks them.
    void WaitForOperationEnd(TimedSendRequest& request, std::unique_lock<std::mutex>& lock, bool block);

    mutable std::mutex m_lock;
    TimedSendRequest* m_first = nullptr;
    uint32_t m_count = 0;
    ULONG_PTR m_next_serial = 1;
};
