// Active objects: an object that owns one thread with a message loop and is driven only through
// registered operation messages sent to the hidden window that its derived class creates on that
// thread, so that every operation runs on the object's own thread. Its own base names the object
// and keeps a block of the object's state in a ".sav" file named after it.
#pragma once

#include "ObjectWindowMessage1.h"

#include "KestrelDebugFunct.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

class TimedSendGuard;
class TimedSendRequest;

class ObjectBaseForGlobalObjects
{
public:
    ObjectBaseForGlobalObjects() = default;
    ObjectBaseForGlobalObjects(const ObjectBaseForGlobalObjects&) = delete;
    ObjectBaseForGlobalObjects& operator=(const ObjectBaseForGlobalObjects&) = delete;
    virtual ~ObjectBaseForGlobalObjects() = default;

    // The file <folder>\<object name>.sav: a 256-byte name block, then the state block of size
    // bytes. Loading refuses a file saved by another object and leaves the buffer untouched on
    // every failure; saving overwrites from the start and keeps a longer file's tail. 0 or 0x80004005.
    HRESULT LoadObjectFromFile(const char* folder, void* buffer, int32_t size);
    HRESULT SaveObjectToFile(const char* folder, const void* buffer, int32_t size);

    const DynamicString& GetObjectName() const { return m_name_object; }

protected:
    DynamicString m_name_object;
};

// The thread calls PreInitThreadProc, InitThreadProc (which creates the hidden window; a negative
// result ends the thread) and PostInitThreadProc, then runs the message loop until WM_QUIT. The
// derived window procedure offers every message to CatchRegisteredMessage first.
class aObjectBaseForGlobalObject : public ObjectBaseForGlobalObjects
{
public:
    static constexpr uint32_t kNumberOperations = 13;
    static constexpr int32_t kSendTimeoutMs = 120000;
    static constexpr DWORD kReadyWaitMs = 60000;
    static constexpr DWORD kThreadEndWaitMs = 30000;

    explicit aObjectBaseForGlobalObject(void* createParam);
    // Destroys a window that still exists and reclaims a thread that still runs. A derived class
    // ends its thread (DestroyDependThreadObject) before its own members go.
    ~aObjectBaseForGlobalObject() override;

    // Starts the thread and waits until it is ready. 0; 0x8000FFFF when the ready event cannot be
    // made or a thread already runs; 0x80004005 when the thread cannot be made, ends or fails
    // before it is ready, or is not ready in time (it is then ended).
    HRESULT CreateThreadObject();
    HRESULT ClearSignalFlag();

    // Public operations, callable from any thread: each runs on the object's thread and answers
    // its result, or the send's failure code when the thread does not answer in time.
    HRESULT Run();
    HRESULT Stop();
    HRESULT Pause();
    // Afterwards the thread is waited for, ended when it does not end in time, and forgotten.
    HRESULT DestroyDependThreadObject();
    HRESULT SetParent(LONG_PTR parent);
    // 0 when the thread does not answer.
    LONG_PTR GetParent();
    HWND GetHWND();
    HRESULT GetLocInfo(void* buffer, int32_t size);
    HRESULT SetLocInfo(void* buffer, int32_t size);
    HRESULT GetNameObject(void* buffer);
    HRESULT LoadObject(void* buffer);
    HRESULT SaveObject(void* buffer);
    HRESULT CorrectInfo();

    // The registered identifier of an operation code, 0 for a code outside the table.
    UINT GetOperationMessage(uint32_t code) const;
    DWORD GetThreadIdObject() const { return m_id_thread; }

    // Test seam: shorter waits for the operation send, the thread's readiness and its end.
    void SetWaitTimesForTest(int32_t sendMs, DWORD readyMs, DWORD threadEndMs);

protected:
    // Run on the object's thread before and after InitThreadProc; their results are not used.
    virtual HRESULT PreInitThreadProc();
    virtual HRESULT PostInitThreadProc();
    // Derived classes create their hidden window here.
    virtual HRESULT InitThreadProc();
    virtual HRESULT RealRun() = 0;
    virtual HRESULT RealStop() = 0;
    virtual HRESULT RealPause() = 0;
    virtual HRESULT RealDestroyDependThreadObject() = 0;
    virtual HRESULT RealSetParent(LONG_PTR parent);
    virtual LONG_PTR RealGetParent();
    virtual HWND RealGetHWND();
    virtual HRESULT RealGetLocInfo(void* buffer, int32_t size);
    virtual HRESULT RealSetLocInfo(void* buffer, int32_t size);
    virtual HRESULT RealGetNameObject(void* buffer);
    virtual HRESULT RealLoadObject(void* buffer);
    virtual HRESULT RealSaveObject(void* buffer);
    virtual HRESULT RealCorrectInfo();
    // Runs the operation of one of the 13 messages and sets *handled; any other message answers
    // 1 with *handled false. 0x8000FFFF for a null handled flag.
    virtual HRESULT CatchRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

    bool IsObjectThread() const { return GetCurrentThreadId() == m_id_thread; }
    // Set: a sender handles no other message while it waits (SMTO_BLOCK).
    void SetBlockingSend(bool block) { m_block_send = block; }

    // Operation messages carry the identity of a request on the sender's stack, so that the object's
    // thread never reads the records of a sender that gave up. Derived classes send and receive
    // their own operations the same way.
    // Sends an operation of the table to the object's window with the object's time-out and
    // blocking flag: the operation's answer, or 0x80004005 when it was not delivered in time.
    HRESULT SendGuardedOperation(const ObjectWindowMessage1& table, uint32_t code, WPARAM wParam, LPARAM lParam,
                                 const char* label);
    // The same with a time-out of its own; *delivered tells an operation that ran from one that
    // was not delivered in time.
    HRESULT SendGuardedOperationWithin(const ObjectWindowMessage1& table, uint32_t code, WPARAM wParam,
                                       LPARAM lParam, const char* label, int32_t timeoutMs, bool* delivered);
    // On the object's thread: the request the message names, holding the operation's own wParam
    // and lParam; null when its sender gave up (nothing may then be read).
    TimedSendRequest* BeginGuardedOperation(WPARAM wParam, LPARAM lParam);
    void EndGuardedOperation(TimedSendRequest* request, HRESULT result);

    HWND m_hwnd = nullptr;
    bool m_signal_flag = false;
    void* m_create_param = nullptr;
    LONG_PTR m_parent = 0;
    uint32_t m_state_object = 1;
    // Derived classes keep their run state here: 1 stopped.
    uint32_t m_state_run = 1;

private:
    static DWORD WINAPI GlobalObjectThreadProc(void* parameter);
    DWORD RunObjectThread();
    HRESULT InitThreadInOrder();
    static void RunMessageLoop();
    HRESULT SendOperation(uint32_t code, WPARAM wParam, LPARAM lParam, const char* operationName);
    HRESULT RunOperation(uint32_t code, WPARAM wParam, LPARAM lParam);
    // Waits for the thread to end (ending it when it does not), then forgets it and its window.
    void ReclaimThread();

    HANDLE m_ready_event = nullptr;
    uint32_t m_reserved = 0;
    ObjectWindowMessage1 m_messages_base;
    // Lives until the thread has ended.
    std::unique_ptr<TimedSendGuard> m_guard_send;
    HANDLE m_thread = nullptr;
    DWORD m_id_thread = 0;
    bool m_block_send = false;

    // Written by the thread before it signals the ready event.
    HRESULT m_result_init = E_FAIL;
    // Set by a creator that stopped waiting: the thread then ends instead of running its loop.
    std::atomic<bool> m_creation_abandoned{false};
    int32_t m_timeout_send_ms = kSendTimeoutMs;
    DWORD m_wait_ready_ms = kReadyWaitMs;
    DWORD m_wait_thread_end_ms = kThreadEndWaitMs;
};
