// A threaded object as the system builds them: its own thread with a hidden window and a message
// loop, driven by registered operation messages whose records live on the sender's stack.
#pragma once

#include "FunctWorkWithHWND.h"
#include "ObjectWindowMessage1.h"
#include "TimedSendGuard.h"

#include <atomic>
#include <thread>

struct InfoMessageForAddNumbers : GeneralParentForMessageStruct
{
    InfoMessageForAddNumbers() : GeneralParentForMessageStruct("InfoMessageForAddNumbers") {}

    int m_first = 0;
    int m_second = 0;
    HRESULT m_answer = S_OK; // what the owner answers
    bool m_holdUntilRelease = false; // the owner waits for Release inside the operation
    int m_sum = 0;
    DWORD m_handledOnThread = 0;
};

class OwnerThread
{
public:
    enum Operation : uint32_t
    {
        AddNumbers = 0,
        WaitForRelease = 1, // keeps the owner busy until Release
        Unregistered = 2,   // a null name in the list
        GuardedAddNumbers = 3,
    };

    OwnerThread();
    ~OwnerThread();
    OwnerThread(const OwnerThread&) = delete;
    OwnerThread& operator=(const OwnerThread&) = delete;

    HWND Window() const { return m_window; }
    DWORD ThreadId() const { return m_threadId; }
    const ObjectWindowMessage1& Messages() const { return m_messages; }
    // AddNumbers sent through the owner's guard: S_OK with the owner's answer, or not delivered.
    // A blocking sender answers no message sent to its own thread until the send is over.
    HRESULT SendGuarded(InfoMessageForAddNumbers& record, int32_t timeoutMs, HRESULT* answer, bool block = false);
    uint32_t CountWaitingSenders() const { return m_guard.GetCountWaitingSenders(); }
    void Release() { SetEvent(m_release); }
    // Waits until the owner has entered WaitForRelease (sent messages overtake posted ones).
    bool WaitUntilBusy(DWORD timeoutMs) const { return WaitForSingleObject(m_busy, timeoutMs) == WAIT_OBJECT_0; }
    // Waits until the owner's thread has ended (its window destroyed).
    bool WaitForEnd(DWORD timeoutMs) const { return WaitForSingleObject(m_ended, timeoutMs) == WAIT_OBJECT_0; }

    int OperationsHandled() const { return m_operationsHandled; }
    bool ClosedWithAllOnes() const { return m_closedWithAllOnes; }

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT AddNumbersOnRecord(LPARAM lParam);
    void Run(HANDLE ready);

    ObjectWindowMessage1 m_messages;
    TimedSendGuard m_guard;
    HANDLE m_release = nullptr;
    HANDLE m_busy = nullptr;
    HANDLE m_ended = nullptr;
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    std::atomic<int> m_operationsHandled{0};
    std::atomic<bool> m_closedWithAllOnes{false};
    std::thread m_thread;
};
