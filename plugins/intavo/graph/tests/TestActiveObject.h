// An active object as derived classes build them: a hidden window made in InitThreadProc, a
// window procedure that offers every message to the base's dispatcher first, and bodies that
// count their calls. Hooks let a test make the thread start fail in each way it can.
#pragma once

#include "aObjectBaseForGlobalObject.h"

#include <windows.h>

#include <atomic>

class TestActiveObject : public aObjectBaseForGlobalObject
{
public:
    enum class Start
    {
        Normal,
        NoWindow,        // InitThreadProc cannot make its window
        ThrowAfterWindow, // InitThreadProc throws once the window exists
        EndThread,       // the thread ends in the hook before InitThreadProc
        Hang,            // the hook blocks until Unblock
    };

    explicit TestActiveObject(Start start = Start::Normal);
    ~TestActiveObject() override;

    // The last registered message the base did not take: its answer and handled flag.
    HRESULT LastUnknownAnswer() const { return m_unknown_answer; }
    bool LastUnknownHandled() const { return m_unknown_handled; }
    int RunCount() const { return m_run_count; }
    DWORD HookThreadId() const { return m_hook_thread_id; }
    HWND WindowMade() const { return m_window_made; }
    void SetName(const char* name) { m_name_object = name; }

    // Run blocks the object's thread until ReleaseRun; WaitUntilRunHolds waits until it does.
    void HoldRun() { m_hold_run = true; }
    bool WaitUntilRunHolds(DWORD timeoutMs) const;
    void ReleaseRun() { SetEvent(m_release_run); }
    void Unblock() { SetEvent(m_unblock); }

protected:
    HRESULT PreInitThreadProc() override;
    HRESULT InitThreadProc() override;
    HRESULT RealRun() override;
    HRESULT RealStop() override { return S_OK; }
    HRESULT RealPause() override { return S_OK; }
    HRESULT RealDestroyDependThreadObject() override;

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Start m_start;
    HANDLE m_unblock = nullptr;
    HANDLE m_run_holds = nullptr;
    HANDLE m_release_run = nullptr;
    std::atomic<bool> m_hold_run{false};
    std::atomic<int> m_run_count{0};
    std::atomic<DWORD> m_hook_thread_id{0};
    std::atomic<HWND> m_window_made{nullptr};
    std::atomic<HRESULT> m_unknown_answer{E_FAIL};
    std::atomic<bool> m_unknown_handled{true};
};
