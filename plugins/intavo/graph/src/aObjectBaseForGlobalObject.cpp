// The active-object base: its thread, the 13 registered operations and their dispatcher.
#include "aObjectBaseForGlobalObject.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "TimedSendGuard.h"

#include <objbase.h>

namespace {

// Registered process-wide: every module that uses active objects registers the same names.
const char* const g_operation_names[aObjectBaseForGlobalObject::kNumberOperations] = {
    "GWM_Run_aObjectBaseForGlobalObject,                       D.U.R.M.I.X., 02.12.2003-20.26.00",
    "GWM_Stop_aObjectBaseForGlobalObject,                      D.U.R.M.I.X., 02.12.2003-20.26.01",
    "GWM_Pause_aObjectBaseForGlobalObject,                     D.U.R.M.I.X., 02.12.2003-20.26.02",
    "GWM_DestroyDependThreadObject_aObjectBaseForGlobalObject, D.U.R.M.I.X., 02.12.2003-20.26.03",
    "GWM_SetParent_aObjectBaseForGlobalObject,                 D.U.R.M.I.X., 02.12.2003-20.26.04",
    "GWM_GetParent_aObjectBaseForGlobalObject,                 D.U.R.M.I.X., 02.12.2003-20.27.05",
    "GWM_GetHWND_aObjectBaseForGlobalObject,                   D.U.R.M.I.X., 02.12.2003-20.27.06",
    "GWM_GetLocInfo_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.00",
    "GWM_SetLocInfo_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.01",
    "GWM_GetNameObject_aObjectBaseForGlobalObject,             D.U.R.M.I.X., 08.05.2004-19.04.02",
    "GWM_LoadObject_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.03",
    "GWM_SaveObject_aObjectBaseForGlobalObject,                D.U.R.M.I.X., 08.05.2004-19.04.04",
    "GWM_CorrectInfo_aObjectBaseForGlobalObject,               D.U.R.M.I.X., 08.05.2004-19.04.05",
};

enum CodeOperationActiveObject : uint32_t
{
    CodeRun = 0,
    CodeStop = 1,
    CodePause = 2,
    CodeDestroyDependThreadObject = 3,
    CodeSetParent = 4,
    CodeGetParent = 5,
    CodeGetHWND = 6,
    CodeGetLocInfo = 7,
    CodeSetLocInfo = 8,
    CodeGetNameObject = 9,
    CodeLoadObject = 10,
    CodeSaveObject = 11,
    CodeCorrectInfo = 12,
};

} // namespace

// ---- Construction and destruction ----------------------------------------------------------

aObjectBaseForGlobalObject::aObjectBaseForGlobalObject(void* createParam)
    : m_create_param(createParam), m_guard_send(std::make_unique<TimedSendGuard>())
{
    try {
        m_name_object = "aObjectBaseForGlobalObject";
        m_messages_base.InitMessages(g_operation_names, kNumberOperations);
    }
    CATCH_ALL_RETHROW()
}

aObjectBaseForGlobalObject::~aObjectBaseForGlobalObject()
{
    try {
        if (SUCCEEDED(CheckIsWindow(m_hwnd)))
            SafeDestroyWindow(m_hwnd, "aObjectBaseForGlobalObject::~aObjectBaseForGlobalObject");
        if (m_thread != nullptr)
            ReclaimThread();
    }
    CATCH_ALL_LOG()
}

void aObjectBaseForGlobalObject::SetWaitTimesForTest(int32_t sendMs, DWORD readyMs, DWORD threadEndMs)
{
    m_timeout_send_ms = sendMs;
    m_wait_ready_ms = readyMs;
    m_wait_thread_end_ms = threadEndMs;
}

UINT aObjectBaseForGlobalObject::GetOperationMessage(uint32_t code) const
{
    try {
        return code < kNumberOperations ? m_messages_base.GetMessageFromIndex(code) : 0;
    }
    CATCH_ALL_RETURN(0)
}

// ---- The thread ----------------------------------------------------------------------------

HRESULT aObjectBaseForGlobalObject::CreateThreadObject()
{
    try {
        if (m_thread != nullptr)
            return E_UNEXPECTED;
        m_ready_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        if (m_ready_event == nullptr)
            return E_UNEXPECTED;
        m_creation_abandoned = false;
        m_result_init = E_FAIL;
        m_thread = CreateThread(nullptr, 0, &aObjectBaseForGlobalObject::GlobalObjectThreadProc, this, 0, &m_id_thread);
        if (m_thread == nullptr) {
            m_id_thread = 0;
            SAFE_CLOSE_HANDLE(m_ready_event);
            return E_FAIL;
        }
        // The thread may end before it is ready: wait for either.
        HANDLE handles[2] = {m_ready_event, m_thread};
        const DWORD answer = WaitForMultipleObjects(2, handles, FALSE, m_wait_ready_ms);
        const bool ready = answer == WAIT_OBJECT_0 && SUCCEEDED(m_result_init);
        if (!ready) {
            if (answer == WAIT_TIMEOUT) {
                LOG_TEXT("aObjectBaseForGlobalObject::CreateThreadObject::thread not ready in time");
                m_creation_abandoned = true;
                PostThreadMessageA(m_id_thread, WM_QUIT, 0, 0);
            } else {
                LOG_TEXT("aObjectBaseForGlobalObject::CreateThreadObject::thread ended or failed before it was ready");
            }
            // The event is closed only once the thread can no longer signal it.
            ReclaimThread();
        }
        SAFE_CLOSE_HANDLE(m_ready_event);
        return ready ? S_OK : E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT aObjectBaseForGlobalObject::ClearSignalFlag()
{
    m_signal_flag = false;
    return S_OK;
}

DWORD WINAPI aObjectBaseForGlobalObject::GlobalObjectThreadProc(void* parameter)
{
    auto* object = static_cast<aObjectBaseForGlobalObject*>(parameter);
    if (object == nullptr)
        return static_cast<DWORD>(-1);
    return object->RunObjectThread();
}

DWORD aObjectBaseForGlobalObject::RunObjectThread()
{
    // A queue from the start, so that a creator that stops waiting can always post WM_QUIT.
    MSG message;
    PeekMessageA(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        LOG_TEXT("aObjectBaseForGlobalObject::GlobalObjectThreadProc::CoInitializeEx failed");
        return static_cast<DWORD>(-1);
    }
    const HRESULT init = InitThreadInOrder();
    m_result_init = init;
    // From here on the creator may close the event: it is not touched again.
    SetEvent(m_ready_event);
    if (SUCCEEDED(init) && !m_creation_abandoned)
        RunMessageLoop();
    if (m_creation_abandoned && SUCCEEDED(CheckIsWindow(m_hwnd)))
        DestroyWindow(m_hwnd);
    CoUninitialize();
    return SUCCEEDED(init) ? 0 : static_cast<DWORD>(-1);
}

HRESULT aObjectBaseForGlobalObject::InitThreadInOrder()
{
    try {
        PreInitThreadProc();
        const HRESULT init = InitThreadProc();
        if (FAILED(init))
            return init;
        PostInitThreadProc();
        return init;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void aObjectBaseForGlobalObject::RunMessageLoop()
{
    MSG message;
    for (;;) {
        const BOOL answer = GetMessageA(&message, nullptr, 0, 0);
        if (answer == 0)
            break;
        if (answer == -1)
            continue;
        DispatchMessageA(&message);
    }
}

void aObjectBaseForGlobalObject::ReclaimThread()
{
    PostThreadMessageA(m_id_thread, WM_QUIT, 0, 0);
    if (WaitForSingleObject(m_thread, m_wait_thread_end_ms) != WAIT_OBJECT_0) {
        LOG_TEXT("aObjectBaseForGlobalObject::thread did not end in time, terminated");
        TerminateThread(m_thread, static_cast<DWORD>(-1));
        // Termination completes asynchronously; the thread is gone once its handle is signalled.
        WaitForSingleObject(m_thread, m_wait_thread_end_ms);
    }
    SAFE_CLOSE_HANDLE(m_thread);
    m_id_thread = 0;
    // The thread's windows ended with it.
    m_hwnd = nullptr;
}

HRESULT aObjectBaseForGlobalObject::PreInitThreadProc()
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::PostInitThreadProc()
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::InitThreadProc()
{
    LOG_TEXT("InitThreadProc::begin");
    m_name_object.DumpString();
    LOG_TEXT("InitThreadProc::end");
    return S_OK;
}

// ---- Public operations ---------------------------------------------------------------------

HRESULT aObjectBaseForGlobalObject::SendGuardedOperation(const ObjectWindowMessage1& table, uint32_t code,
                                                         WPARAM wParam, LPARAM lParam, const char* label)
{
    return SendGuardedOperationWithin(table, code, wParam, lParam, label, m_timeout_send_ms, nullptr);
}

HRESULT aObjectBaseForGlobalObject::SendGuardedOperationWithin(const ObjectWindowMessage1& table, uint32_t code,
                                                               WPARAM wParam, LPARAM lParam, const char* label,
                                                               int32_t timeoutMs, bool* delivered)
{
    try {
        if (delivered != nullptr)
            *delivered = false;
        const UINT message = table.GetMessageFromIndex(code);
        if (message == 0)
            return E_FAIL;
        HRESULT answer = E_FAIL;
        if (FAILED(m_guard_send->Send(m_hwnd, message, wParam, lParam, timeoutMs, label, m_block_send, &answer)))
            return E_FAIL;
        if (delivered != nullptr)
            *delivered = true;
        return answer;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

TimedSendRequest* aObjectBaseForGlobalObject::BeginGuardedOperation(WPARAM wParam, LPARAM lParam)
{
    return m_guard_send->BeginOperation(wParam, lParam);
}

void aObjectBaseForGlobalObject::EndGuardedOperation(TimedSendRequest* request, HRESULT result)
{
    m_guard_send->EndOperation(request, result);
}

HRESULT aObjectBaseForGlobalObject::SendOperation(uint32_t code, WPARAM wParam, LPARAM lParam,
                                                  const char* operationName)
{
    try {
        DynamicString label("aObjectBaseForGlobalObject::");
        label += operationName;
        return SendGuardedOperation(m_messages_base, code, wParam, lParam, label.GetString());
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT aObjectBaseForGlobalObject::Run()
{
    return SendOperation(CodeRun, 0, 0, "Run");
}

HRESULT aObjectBaseForGlobalObject::Stop()
{
    return SendOperation(CodeStop, 0, 0, "Stop");
}

HRESULT aObjectBaseForGlobalObject::Pause()
{
    return SendOperation(CodePause, 0, 0, "Pause");
}

HRESULT aObjectBaseForGlobalObject::DestroyDependThreadObject()
{
    try {
        const HRESULT result = SendOperation(CodeDestroyDependThreadObject, 0, 0, "DestroyDependThreadObject");
        if (m_thread != nullptr)
            ReclaimThread();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT aObjectBaseForGlobalObject::SetParent(LONG_PTR parent)
{
    return SendOperation(CodeSetParent, static_cast<WPARAM>(parent), 0, "SetParent");
}

LONG_PTR aObjectBaseForGlobalObject::GetParent()
{
    LONG_PTR parent = 0;
    const HRESULT result = SendOperation(CodeGetParent, reinterpret_cast<WPARAM>(&parent), 0, "GetParent");
    return SUCCEEDED(result) ? parent : 0;
}

HWND aObjectBaseForGlobalObject::GetHWND()
{
    HWND window = nullptr;
    const HRESULT result = SendOperation(CodeGetHWND, reinterpret_cast<WPARAM>(&window), 0, "GetHWND");
    return SUCCEEDED(result) ? window : nullptr;
}

HRESULT aObjectBaseForGlobalObject::GetLocInfo(void* buffer, int32_t size)
{
    return SendOperation(CodeGetLocInfo, reinterpret_cast<WPARAM>(buffer), static_cast<LPARAM>(size), "GetLocInfo");
}

HRESULT aObjectBaseForGlobalObject::SetLocInfo(void* buffer, int32_t size)
{
    return SendOperation(CodeSetLocInfo, reinterpret_cast<WPARAM>(buffer), static_cast<LPARAM>(size), "SetLocInfo");
}

HRESULT aObjectBaseForGlobalObject::GetNameObject(void* buffer)
{
    return SendOperation(CodeGetNameObject, reinterpret_cast<WPARAM>(buffer), 0, "GetNameObject");
}

HRESULT aObjectBaseForGlobalObject::LoadObject(void* buffer)
{
    return SendOperation(CodeLoadObject, reinterpret_cast<WPARAM>(buffer), 0, "LoadObject");
}

HRESULT aObjectBaseForGlobalObject::SaveObject(void* buffer)
{
    return SendOperation(CodeSaveObject, reinterpret_cast<WPARAM>(buffer), 0, "SaveObject");
}

HRESULT aObjectBaseForGlobalObject::CorrectInfo()
{
    return SendOperation(CodeCorrectInfo, 0, 0, "CorrectInfo");
}

// ---- Bodies on the object's thread ---------------------------------------------------------

HRESULT aObjectBaseForGlobalObject::RealSetParent(LONG_PTR parent)
{
    m_parent = parent;
    return S_OK;
}

LONG_PTR aObjectBaseForGlobalObject::RealGetParent()
{
    return m_parent;
}

HWND aObjectBaseForGlobalObject::RealGetHWND()
{
    return m_hwnd;
}

HRESULT aObjectBaseForGlobalObject::RealGetLocInfo(void* /*buffer*/, int32_t /*size*/)
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::RealSetLocInfo(void* /*buffer*/, int32_t /*size*/)
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::RealGetNameObject(void* /*buffer*/)
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::RealLoadObject(void* /*buffer*/)
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::RealSaveObject(void* /*buffer*/)
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::RealCorrectInfo()
{
    return S_OK;
}

HRESULT aObjectBaseForGlobalObject::CatchRegisteredMessage(HWND /*window*/, UINT message, WPARAM wParam,
                                                           LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_UNEXPECTED;
    *handled = false;
    const int32_t code = m_messages_base.GetIndexFromMessage(message);
    if (code < 0)
        return S_FALSE;
    *handled = true;
    // A message whose sender gave up is answered without reading what it points at.
    TimedSendRequest* request = BeginGuardedOperation(wParam, lParam);
    if (request == nullptr)
        return E_FAIL;
    HRESULT result = E_FAIL;
    try {
        result = RunOperation(static_cast<uint32_t>(code), request->m_wparam, request->m_lparam);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    EndGuardedOperation(request, result);
    return result;
}

HRESULT aObjectBaseForGlobalObject::RunOperation(uint32_t code, WPARAM wParam, LPARAM lParam)
{
    void* const record = reinterpret_cast<void*>(wParam);
    switch (code) {
    case CodeRun:
        return RealRun();
    case CodeStop:
        return RealStop();
    case CodePause:
        return RealPause();
    case CodeDestroyDependThreadObject:
        return RealDestroyDependThreadObject();
    case CodeSetParent:
        return RealSetParent(static_cast<LONG_PTR>(wParam));
    case CodeGetParent:
        if (record == nullptr)
            return E_INVALIDARG;
        *static_cast<LONG_PTR*>(record) = RealGetParent();
        return S_OK;
    case CodeGetHWND:
        if (record == nullptr)
            return E_INVALIDARG;
        *static_cast<HWND*>(record) = RealGetHWND();
        return S_OK;
    case CodeGetLocInfo:
        return RealGetLocInfo(record, static_cast<int32_t>(lParam));
    case CodeSetLocInfo:
        return RealSetLocInfo(record, static_cast<int32_t>(lParam));
    case CodeGetNameObject:
        return RealGetNameObject(record);
    case CodeLoadObject:
        return RealLoadObject(record);
    case CodeSaveObject:
        return RealSaveObject(record);
    default:
        return RealCorrectInfo();
    }
}
