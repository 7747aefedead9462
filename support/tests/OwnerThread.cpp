#include "OwnerThread.h"

namespace {

const char g_className[] = "OwnerThreadForTests_Korvane";

const char* const g_operationNames[] = {
    "GWM_AddNumbers_OwnerThread_Korvane_2024_03_01",
    "GWM_WaitForRelease_OwnerThread_Korvane_2024_03_01",
    nullptr,
    "GWM_GuardedAddNumbers_OwnerThread_Korvane_2024_03_01",
};

} // namespace

OwnerThread::OwnerThread()
{
    m_messages.InitMessages(g_operationNames, 4);
    m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_busy = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_ended = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_thread = std::thread(&OwnerThread::Run, this, ready);
    WaitForSingleObject(ready, 10000);
    CloseHandle(ready);
}

OwnerThread::~OwnerThread()
{
    Release();
    SafeDestroyWindow(m_window, "~OwnerThread");
    m_thread.join();
    CloseHandle(m_release);
    CloseHandle(m_busy);
    CloseHandle(m_ended);
}

void OwnerThread::Run(HANDLE ready)
{
    m_threadId = GetCurrentThreadId();
    WNDCLASSEXA windowClass = {};
    windowClass.lpfnWndProc = &OwnerThread::WindowProcedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = g_className;
    RegisterWindowClass(&windowClass);
    m_window = SafeCreateWindow(0, g_className, "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                GetModuleHandleA(nullptr), this, "OwnerThread::Run");
    SetEvent(ready);
    MSG message;
    while (m_window != nullptr && GetMessageA(&message, nullptr, 0, 0) > 0)
        DispatchMessageA(&message);
    SetEvent(m_ended);
}

LRESULT CALLBACK OwnerThread::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowUserData(window, reinterpret_cast<LONG_PTR>(create->lpCreateParams), "OwnerThread::WM_CREATE");
    }
    auto* owner = reinterpret_cast<OwnerThread*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (owner == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return owner->Handle(window, message, wParam, lParam);
}

LRESULT OwnerThread::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        m_closedWithAllOnes = wParam == static_cast<WPARAM>(-1) && lParam == static_cast<LPARAM>(-1);
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        ClearWindowUserData(window, "OwnerThread::WM_DESTROY");
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    switch (m_messages.GetIndexFromMessage(message)) {
    case AddNumbers:
        return AddNumbersOnRecord(lParam);
    case GuardedAddNumbers: {
        TimedSendRequest* request = m_guard.BeginOperation(wParam, lParam);
        if (request == nullptr)
            return E_FAIL;
        const LRESULT answer = AddNumbersOnRecord(request->m_lparam);
        m_guard.EndOperation(request, static_cast<HRESULT>(answer));
        return answer;
    }
    case WaitForRelease:
        ++m_operationsHandled;
        SetEvent(m_busy);
        WaitForSingleObject(m_release, 10000);
        return S_OK;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

LRESULT OwnerThread::AddNumbersOnRecord(LPARAM lParam)
{
    ++m_operationsHandled;
    auto* record = reinterpret_cast<InfoMessageForAddNumbers*>(lParam);
    if (record->CheckNameStruct("InfoMessageForAddNumbers") != S_OK)
        return E_INVALIDARG;
    if (record->m_holdUntilRelease) {
        SetEvent(m_busy);
        WaitForSingleObject(m_release, 10000);
    }
    record->m_sum = record->m_first + record->m_second;
    record->m_handledOnThread = GetCurrentThreadId();
    return record->m_answer;
}

HRESULT OwnerThread::SendGuarded(InfoMessageForAddNumbers& record, int32_t timeoutMs, HRESULT* answer, bool block)
{
    return m_guard.Send(m_window, m_messages.GetMessageFromIndex(GuardedAddNumbers), 0,
                        reinterpret_cast<LPARAM>(&record), timeoutMs, "GuardedAddNumbers", block, answer);
}
