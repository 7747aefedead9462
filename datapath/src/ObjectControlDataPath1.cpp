// The controller's life: construction, the worker thread with its hidden window and timer, the
// registered operation names and the dispatcher that runs each operation on the worker.
#include "ObjectControlDataPath1.h"

#include "ObjectAllocatorBufferDataPath1.h"
#include "ObjectDataPath1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "MessageForObjectsDataPath1.h"
#include "TimedSendGuard.h"

#include <objbase.h>

#include <atomic>
#include <cstdio>
#include <cstring>

namespace {

const char g_window_class[] = "Class ObjectControlDataPath1 Window::D.U.R.M.I.X.::Harbury2005::12.10.2005";
const char g_event_name_sinc[] = "SincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::13.12.2003-03.26";
const char g_event_name_asinc[] = "ASincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::14.12.2003-04.06";
const char g_internal_event_suffix[] = "::Internal Sinc Object::D.U.R.M.I.X.::ObjectDataPath1Control::04.07.2005";
const char g_external_event_suffix[] = "::External Sinc Object::D.U.R.M.I.X.::ObjectDataPath1Control::04.07.2005";

constexpr DWORD kWorkerStopWaitMs = 60000;
constexpr size_t kOperationNameField = 112;
constexpr size_t kOperationNameFirstPart = 70;

struct OperationRow
{
    const char* m_operation;
    const char* m_stamp;
};

const OperationRow g_operation_rows[ObjectControlDataPath1::kNumberOperations] = {
    {"Run", "12.10.2003,13.00"},
    {"Stop", "25.10.2003,04.01"},
    {"GetStateObject", "25.10.2003,04.02"},
    {"DeleteAllObjects", "28.10.2003,11.03"},
    {"DeleteObject", "28.10.2003,14.04"},
    {"CreateNetworkCamera", "30.10.2003,18.05"},
    {"CreateLocalVideoCamera", "30.10.2003,18.06"},
    {"CreateCapturePathFromDriver", "03.11.2003,16.07"},
    {"CreateCapturePathFromFormat1", "04.11.2003,10.08"},
    {"DeleteGraphFromIDCamera", "05.11.2003,08.09"},
    {"DeleteAllGraph", "05.11.2003,08.10"},
    {"CallInterfaceFunctionForIDCamera", "05.11.2003,08.11"},
    {"GetAllFiltersWithInterface", "12.12.2003,20.12"},
    {"GetAllIDCameraFromFilters", "12.12.2003,20.13"},
    {"DeleteAllFiltersFromThis", "12.12.2003,20.14"},
    {"AddAsincEvents", "14.12.2003,03.15"},
    {"GetAsincEvents", "14.12.2003,06.16"},
    {"GetSincEvents", "14.12.2003,09.17"},
    {"CreateNetworkCapturePathFromFormat1", "02.02.2004,00.09"},
    {"SetHandleClientForComServer", "13.03.2004,11.58"},
    {"SetHandleConnectForReciveFromNetwork", "23.03.2004,13.48"},
    {"CreateNetworkDataPathForReciveArhive", "06.04.2004,16.25"},
    {"RefreshPathForNetworkArhive", "12.04.2004,15.00"},
    {"CallInterfaceFunctionForAllObjects", "19.04.2004,14.39"},
    {"SetExternWindow", "20.04.2004,22.53"},
    {"GetStaticInfoFromDataPath1", "05.06.2004,18.00"},
    {"CreateReciveDataPathForReciverServer", "17.06.2004,14.10"},
    {"RefreshForUserChange", "18.08.2004,17.37"},
    {"CreateMixerDataPathForTundrel", "21.11.2006,05.00"},
    {"AddDriverToMixerDataPathForTundrel", "21.11.2006,16.00"},
    {"DeleteDriverFromMixerDataPathForTundrel", "23.11.2006,07.00"},
    {"QueryInterfaceForIDObject", "24.11.2006,20.00"},
    {"GetAllIDObjectsFromFilters", "24.11.2006,22.00"},
    {"CallInterfaceFunctionForIDObject", "24.11.2006,23.00"},
};

// Rows 28 to 30 keep a single blank between the two parts; the others pad the first part to 70.
struct OperationNameTable
{
    OperationNameTable()
    {
        for (uint32_t code = 0; code < ObjectControlDataPath1::kNumberOperations; ++code) {
            char* field = m_names[code];
            std::memset(field, 0, kOperationNameField);
            int length = std::snprintf(field, kOperationNameField, "GWM_%s_ObjectControlDataPath1,",
                                       g_operation_rows[code].m_operation);
            const bool singleBlank = code >= 28 && code <= 30;
            const size_t padTo = singleBlank ? static_cast<size_t>(length) + 1 : kOperationNameFirstPart;
            while (static_cast<size_t>(length) < padTo)
                field[length++] = ' ';
            std::snprintf(field + length, kOperationNameField - length, "ObjectControlDataPath1, %s",
                          g_operation_rows[code].m_stamp);
            m_pointers[code] = field;
        }
    }

    char m_names[ObjectControlDataPath1::kNumberOperations][kOperationNameField];
    const char* m_pointers[ObjectControlDataPath1::kNumberOperations];
};

const OperationNameTable& OperationNames()
{
    static const OperationNameTable table;
    return table;
}

std::atomic<void (*)(uint32_t)> g_operation_hook{nullptr};
std::atomic<void (*)()> g_worker_start_hook{nullptr};

// The record of a message, when the sender gave one with the expected name.
template <class Record>
Record* TakeRecord(WPARAM wParam, const char* expectedName)
{
    auto* record = reinterpret_cast<Record*>(wParam);
    if (record == nullptr || record->CheckNameStruct(expectedName) != S_OK)
        return nullptr;
    return record;
}

} // namespace

// ---- Construction and destruction ----------------------------------------------------------

ObjectControlDataPath1::ObjectControlDataPath1(HINSTANCE instance, const char* pluginFolder)
    : m_requests(std::make_unique<TimedSendGuard>())
{
    try {
        m_instance = instance;
        m_plugin_folder = pluginFolder != nullptr ? pluginFolder : "";
        m_filters.Fill(nullptr);
        m_enabled.Fill(0);
        m_sources.Fill(-1);
        m_client_handles.Fill(-1);
        m_mixer_inputs.Fill(nullptr);
        m_reader_first_ids.Init(kMaxFilters, 128);
        m_reader_first_ids.Fill(0);
        m_reader_second_ids.Init(kMaxFilters, 128);
        m_reader_second_ids.Fill(0);
        m_sinc_events.Init(0, 128);
        m_asinc_events.Init(0, 128);
        m_tick_events.Init(0, 32);
        for (uint32_t k = 0; k < kMaxTimingEntries; ++k)
            m_timing.GetElement(k).Reset();
        m_pool = new ObjectAllocatorBufferDataPath1();

        CreateNamedEvents();
        m_messages.InitMessages(OperationNames().m_pointers, kNumberOperations);
        m_user.Reset();

        m_start_event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
        m_worker_thread = CreateThread(nullptr, 0, &ObjectControlDataPath1::WorkerThreadProc, this, 0,
                                       &m_worker_thread_id);
        WaitForWorkerStart(m_start_event);
        SAFE_CLOSE_HANDLE(m_start_event);
    }
    CATCH_ALL_RETHROW()
}

HRESULT ObjectControlDataPath1::CreateNamedEvents()
{
    DynamicString internalName;
    internalName += static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(this));
    DynamicString externalName(internalName);
    internalName += g_internal_event_suffix;
    externalName += g_external_event_suffix;
    m_internal_event = CreateEventA(nullptr, FALSE, TRUE, internalName.GetString());
    m_external_event = CreateEventA(nullptr, FALSE, FALSE, externalName.GetString());
    return m_internal_event != nullptr && m_external_event != nullptr ? S_OK : E_FAIL;
}

// The worker signals the start event once its window exists (or could not be made); a thread
// that ends without signalling must not hold the constructor for ever.
HRESULT ObjectControlDataPath1::WaitForWorkerStart(HANDLE startEvent)
{
    if (startEvent == nullptr || m_worker_thread == nullptr) {
        LOG_TEXT("ObjectControlDataPath1::worker thread not started");
        return E_FAIL;
    }
    HANDLE handles[2] = {startEvent, m_worker_thread};
    const DWORD answer = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
    if (answer == WAIT_OBJECT_0)
        return S_OK;
    LOG_TEXT("ObjectControlDataPath1::worker thread ended before its window existed");
    m_worker_window = nullptr;
    return E_FAIL;
}

ObjectControlDataPath1::~ObjectControlDataPath1()
{
    try {
        Shutdown();
        SAFE_CLOSE_HANDLE(m_external_event);
        SAFE_CLOSE_HANDLE(m_internal_event);
        // A worker that never made its window left the filters and the pool to us.
        if (m_pool != nullptr) {
            DeleteAllGraphReal();
            DeleteAllQueuedEvents();
            delete m_pool;
            m_pool = nullptr;
        }
    }
    CATCH_ALL_LOG()
}

HRESULT ObjectControlDataPath1::Shutdown()
{
    try {
        if (m_worker_thread == nullptr)
            return S_OK;
        if (GetCurrentThreadId() == m_worker_thread_id) {
            LOG_TEXT("ObjectControlDataPath1::Shutdown::called on the worker thread, refused");
            return E_UNEXPECTED;
        }
        if (m_worker_window != nullptr)
            SafeDestroyWindow(m_worker_window, "ObjectControlDataPath1::Shutdown");
        if (WaitForSingleObject(m_worker_thread, kWorkerStopWaitMs) != WAIT_OBJECT_0) {
            LOG_TEXT("ObjectControlDataPath1::Shutdown::worker thread did not end, terminated");
            TerminateThread(m_worker_thread, 0);
        }
        SAFE_CLOSE_HANDLE(m_worker_thread);
        m_worker_window = nullptr;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool ObjectControlDataPath1::IsOnWorkerThread(const char* operation) const
{
    if (m_worker_thread == nullptr || GetCurrentThreadId() == m_worker_thread_id)
        return true;
    DynamicString text(operation);
    text += "::not on the worker thread, refused";
    LOG_TEXT(text.GetString());
    return false;
}

// ---- Worker thread and window --------------------------------------------------------------

DWORD WINAPI ObjectControlDataPath1::WorkerThreadProc(void* parameter)
{
    if (auto hook = g_worker_start_hook.load())
        hook();
    return static_cast<ObjectControlDataPath1*>(parameter)->RunWorkerThread();
}

DWORD ObjectControlDataPath1::RunWorkerThread()
{
    const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(com)) {
        LOG_TEXT("ObjectControlDataPath1::CoInitializeEx failed");
        SetEvent(m_start_event);
        return static_cast<DWORD>(-1);
    }
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &ObjectControlDataPath1::WindowProcControlDataPath1;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = g_window_class;
    RegisterWindowClass(&windowClass);

    HWND window = SafeCreateWindow(0, g_window_class, nullptr, 0, 0, 0, 10, 10, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), this, "ObjectControlDataPath1 window");
    m_worker_window = window;
    SetEvent(m_start_event);
    if (FAILED(CheckIsWindow(window))) {
        m_worker_window = nullptr;
        CoUninitialize();
        return static_cast<DWORD>(-1);
    }

    MSG message;
    for (;;) {
        const BOOL answer = GetMessageA(&message, nullptr, 0, 0);
        if (answer == 0)
            break;
        if (answer == -1)
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    CoUninitialize();
    return 0;
}

// Only a window whose user data holds its controller is dispatched to it: messages before
// WM_CREATE and after WM_DESTROY go to default processing.
LRESULT CALLBACK ObjectControlDataPath1::WindowProcControlDataPath1(HWND window, UINT message, WPARAM wParam,
                                                                    LPARAM lParam)
{
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* controller = create != nullptr ? static_cast<ObjectControlDataPath1*>(create->lpCreateParams) : nullptr;
        if (controller == nullptr)
            return 0;
        SetWindowUserData(window, reinterpret_cast<LONG_PTR>(controller), "ObjectControlDataPath1::WM_CREATE");
        controller->m_timer_id = SetTimer(window, kTimerId, kTimerPeriodMs, nullptr);
        return 1;
    }
    auto* controller = reinterpret_cast<ObjectControlDataPath1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (controller == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return controller->HandleWindowMessage(window, message, wParam, lParam);
}

LRESULT ObjectControlDataPath1::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message != WM_TIMER) {
            bool handled = false;
            const HRESULT result = CatchRegisteredMessage(window, message, wParam, lParam, &handled);
            if (handled)
                return static_cast<LRESULT>(result);
        }
        switch (message) {
        case WM_TIMER:
            ProcessTimerTick(wParam, lParam);
            return 0;
        case WM_CLOSE:
            DestroyWindow(window);
            return 0;
        case WM_DESTROY:
            OnWorkerWindowDestroyed();
            ClearWindowUserData(window, "ObjectControlDataPath1::WM_DESTROY");
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
    CATCH_ALL_RETURN(0)
}

void ObjectControlDataPath1::OnWorkerWindowDestroyed()
{
    try {
        if (m_timer_id != 0)
            KillTimer(m_worker_window, m_timer_id);
        m_timer_id = 0;
        StopReal();
        DeleteAllGraphReal();
        m_worker_window = nullptr;
        delete m_pool;
        m_pool = nullptr;
        DeleteAllQueuedEvents();
        if (m_tick_events.GetCount() != 0)
            LOG_TEXT("ObjectControlDataPath1::OnWorkerWindowDestroyed::events of a tick left behind");
    }
    CATCH_ALL_LOG()
}

// ---- Operation names and messages ---------------------------------------------------------

const char* ObjectControlDataPath1::GetOperationName(uint32_t code)
{
    return code < kNumberOperations ? OperationNames().m_pointers[code] : nullptr;
}

UINT ObjectControlDataPath1::GetOperationMessage(uint32_t code) const
{
    try {
        return m_messages.GetMessageFromIndex(code);
    }
    CATCH_ALL_RETURN(0)
}

uint32_t ObjectControlDataPath1::GetCountWaitingSenders() const
{
    return m_requests->GetCountWaitingSenders();
}

UINT ObjectControlDataPath1::GetEventMessageId(int index)
{
    if (index == 0)
        return RegisterWindowMessageA(g_event_name_sinc);
    if (index == 1)
        return RegisterWindowMessageA(g_event_name_asinc);
    return 0;
}

void ObjectControlDataPath1::SetOperationHookForTest(void (*hook)(uint32_t code))
{
    g_operation_hook = hook;
}

void ObjectControlDataPath1::SetWorkerStartHookForTest(void (*hook)())
{
    g_worker_start_hook = hook;
}

// ---- Dispatcher ------------------------------------------------------------------------------

HRESULT ObjectControlDataPath1::CatchRegisteredMessage(HWND /*window*/, UINT message, WPARAM wParam, LPARAM lParam,
                                                       bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    const int32_t code = m_messages.GetIndexFromMessage(message);
    if (code < 0)
        return S_FALSE;
    // A message whose sender has given up, or that did not come through the guard, is answered
    // without reading anything it points at.
    TimedSendRequest* request = m_requests->BeginOperation(wParam, lParam);
    if (request == nullptr) {
        *handled = true;
        return E_FAIL;
    }
    const HRESULT result =
        RunOperationOnWorker(static_cast<uint32_t>(code), request->m_wparam, request->m_lparam, handled);
    m_requests->EndOperation(request, result);
    return result;
}

HRESULT ObjectControlDataPath1::RunOperationOnWorker(uint32_t code, WPARAM wParam, LPARAM lParam, bool* handled)
{
    try {
        if (auto hook = g_operation_hook.load())
            hook(code);
        return RunOperation(code, wParam, lParam, handled);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        *handled = true;
        return E_FAIL;
    }
}

HRESULT ObjectControlDataPath1::RunOperation(uint32_t code, WPARAM wParam, LPARAM lParam, bool* handled)
{
    using CallRecord = InfoMessageCallInterfaceFunction;
    using EventsRecord = InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1;
    using CaptureRecord = InfoCreateCapturePathFromFormat1;
    using MixerRecord = InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1;
    HRESULT result = S_OK;
    switch (code) {
    case 0:
        result = RunReal();
        break;
    case 1:
        result = StopReal();
        break;
    case 2:
        result = GetStateObjectReal(reinterpret_cast<int32_t*>(wParam));
        break;
    case 3:
    case 4:
    case 7:
    case 12:
        return S_FALSE;
    case 5:
        result = S_FALSE;
        break;
    case 6:
        result = CreateLocalVideoCameraReal(reinterpret_cast<InfoDriverForMixerDataPath1*>(wParam), lParam);
        break;
    case 8:
    case 18: {
        CaptureRecord* record = TakeRecord<CaptureRecord>(wParam, "InfoCreateCapturePathFromFormat1");
        if (record == nullptr)
            return E_UNEXPECTED;
        const CaptureRecord& r = *record;
        result = code == 8 ? CreateCapturePathFromFormat1Real(r.m_w1, r.m_w2, r.m_w3, r.m_w4, r.m_b1, r.m_b2, r.m_b3,
                                                              r.m_b4, r.m_w6, r.m_w7, r.m_b5, r.m_b6, r.m_w5, 0,
                                                              r.m_w8, r.m_w9)
                           : CreateNetworkCapturePathFromFormat1Real(r.m_w1, r.m_w2, r.m_w3, r.m_w4, r.m_b1, r.m_b2,
                                                                     r.m_b3, r.m_b4, r.m_w6, r.m_w7, r.m_b5, r.m_b6,
                                                                     r.m_w5, r.m_w8, r.m_w9);
        break;
    }
    case 9:
        LOG_TEXT("GWM_DeleteGraphFromIDCamera_ObjectControlDataPath1::begin");
        result = DeleteGraphFromIDCameraReal(static_cast<int32_t>(wParam));
        LOG_TEXT("GWM_DeleteGraphFromIDCamera_ObjectControlDataPath1::end");
        break;
    case 10:
        result = DeleteAllGraphReal();
        break;
    case 11:
    case 23:
    case 31:
    case 33: {
        CallRecord* record = TakeRecord<CallRecord>(wParam, "InfoMessageCallInterfaceFunction");
        if (record == nullptr)
            return E_UNEXPECTED;
        if (code == 11)
            result = CallInterfaceFunctionForIDCameraReal(record->m_id, record->m_sub_id, record->m_iid,
                                                          record->m_index_method, record->m_list);
        else if (code == 23)
            result = CallInterfaceFunctionForAllObjectsReal(record->m_iid, record->m_index_method, record->m_list);
        else if (code == 31)
            result = QueryInterfaceForIDObjectReal(record->m_id, record->m_sub_id, record->m_iid);
        else
            result = CallInterfaceFunctionForIDObjectReal(record->m_id, record->m_sub_id, record->m_iid,
                                                          record->m_index_method, record->m_list);
        if (code != 23)
            record->m_result = result;
        break;
    }
    case 13: {
        auto* record = TakeRecord<InfoMessageGetAllIDFromFilters>(wParam, "InfoMessageGetAllIDFromFilters");
        if (record == nullptr)
            return E_UNEXPECTED;
        result = GetAllIDCameraFromFiltersReal(record->m_list);
        break;
    }
    case 14:
        result = DeleteAllFiltersFromThisReal(reinterpret_cast<ObjectDataPath1*>(wParam));
        break;
    case 15:
        result = AddAsincEventsReal(reinterpret_cast<ListEventsDataPath1*>(wParam), static_cast<int32_t>(lParam));
        break;
    case 16:
    case 17: {
        EventsRecord* record = TakeRecord<EventsRecord>(wParam, "InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1");
        if (record == nullptr || record->m_result == nullptr)
            return E_UNEXPECTED;
        // The sender gets the number of events handed over.
        const uint32_t queued = (code == 16 ? m_asinc_events : m_sinc_events).GetCount();
        const HRESULT moved =
            code == 16 ? GetAsincEventsReal(record->m_events) : GetSincEventsReal(record->m_events);
        *record->m_result = SUCCEEDED(moved) ? static_cast<int32_t>(queued) : 0;
        result = S_FALSE;
        break;
    }
    case 19:
        result = SetHandleClientForComServerReal(static_cast<int32_t>(wParam), static_cast<int32_t>(lParam));
        break;
    case 20:
        result = SetHandleConnectForReciveFromNetworkReal(static_cast<int32_t>(wParam));
        break;
    case 21:
        result = CreateNetworkDataPathForReciveArhiveReal(wParam, lParam);
        break;
    case 22:
        result = RefreshPathForNetworkArhiveReal(reinterpret_cast<void*>(wParam));
        break;
    case 24:
        result = SetExternWindowReal(reinterpret_cast<HWND>(wParam));
        break;
    case 25: {
        auto* record = TakeRecord<InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1>(
            wParam, "InfoMessageGWM_GetStaticInfoFromDataPath1_ObjectControlDataPath1");
        if (record == nullptr)
            return E_UNEXPECTED;
        result = GetStaticInfoFromDataPath1Real(record->m_entries, record->m_capacity, record->m_count);
        break;
    }
    case 26: {
        auto* record = TakeRecord<InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1>(
            wParam, "InfoMessageGWM_CreateReciveDataPathForReciverServer_ObjectControlDataPath1");
        if (record == nullptr)
            return E_UNEXPECTED;
        const int32_t* w = record->m_words;
        result = CreateReciveDataPathForReciverServerReal(w[0], w[1], w[2], w[3], w[4], w[5]);
        break;
    }
    case 27:
        result = RefreshForUserChangeReal(reinterpret_cast<InfoUserKestrelUserServer*>(wParam), lParam);
        break;
    case 28: {
        auto* record = TakeRecord<InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1>(
            wParam, "InfoMessageGWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1");
        if (record == nullptr)
            return E_UNEXPECTED;
        result = CreateMixerDataPathForTundrelReal(record->m_output_window, record->m_reserved,
                                                   record->m_processor_mode);
        break;
    }
    case 29:
    case 30: {
        MixerRecord* record =
            TakeRecord<MixerRecord>(wParam, "InfoMessageGWM_AddDriverToMixerDataPathForTundrel_ObjectControlDataPath1");
        if (record == nullptr)
            return E_UNEXPECTED;
        if (code == 29) {
            result = AddDriverToMixerDataPathForTundrelReal(record->m_source, record->m_reserved, record->m_slot,
                                                            record->m_processor_mode);
        }
        else {
            LOG_TEXT("GWM_DeleteDriverFromMixerDataPathForTundrel_ObjectControlDataPath1::begin");
            result = DeleteDriverFromMixerDataPathForTundrelReal(record->m_slot);
            LOG_TEXT("GWM_DeleteDriverFromMixerDataPathForTundrel_ObjectControlDataPath1::end");
        }
        break;
    }
    case 32: {
        auto* record =
            TakeRecord<InfoMessageGetAllIDObjectsFromFilters>(wParam, "InfoMessageGetAllIDObjectsFromFilters");
        if (record == nullptr)
            return E_UNEXPECTED;
        result = GetAllIDObjectsFromFiltersReal(record->m_list);
        break;
    }
    default:
        return S_FALSE;
    }
    *handled = true;
    return result;
}
