// The graph object's thread, window, operations, run and stop, watchdog and teardown.
#include "ObjectControlGraph1.h"

#include "ObjectControlGraphFunction.h"
#include "Sinkwell1Interfaces.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"
#include "TimedSendGuard.h"

namespace {

enum CodeOperationGraph : uint32_t
{
    CodeSafeRemoveAndDeleteAllFiltersFromGraph = 0,
    CodeSafeCreateGraphFromFormat1 = 1,
    CodeSafeGetBuffer = 2,
    CodeSafeSetCPUUsing = 3,
    CodeSafeUpdateExtInfoForReciver = 4,
    CodeApplayPropertyToVideoDriver = 5,
    CodeSetFrameRateToVideoDriver = 6,
    CodeSafeUpdateInternalVar = 7,
};

constexpr uint32_t kStateStopped = 1;
constexpr uint32_t kStateRunning = 3;
constexpr float kMinFrameRate = 1.0f;
constexpr float kMaxFrameRate = 200.0f;

} // namespace

float ClampFrameRateToVideoDriver(float framesPerSecond)
{
    if (framesPerSecond < kMinFrameRate)
        return kMinFrameRate;
    return framesPerSecond > kMaxFrameRate ? kMaxFrameRate : framesPerSecond;
}

const char* const ObjectControlGraph1::kWindowClassName = "WindowObjectControlGraph1::D.U.R.M.I.X.2005::01::01::2005";

// Registered process-wide: every module that drives graph objects registers the same names.
const char* const ObjectControlGraph1::kOperationNames[kNumberOperations] = {
    "GWM_SafeRemoveAndDeleteAllFiltersFromGraph_ControlGraph1,            D.U.R.M.I.X., 07.12.2003-18.50.00",
    "GWM_SafeCreateGraphFromFormat1_ControlGraph1,                        D.U.R.M.I.X., 07.12.2003-18.50.01",
    "GWM_SafeGetBuffer_ControlGraph1,                                     D.U.R.M.I.X., 07.12.2003-18.50.02",
    "GWM_SafeSetCPUUsing_ControlGraph1,                                   D.U.R.M.I.X., 31.08.2004-22.22.00",
    "GWM_SafeUpdateExtInfoForReciver_ControlGraph1,                       D.U.R.M.I.X., 27.01.2005-02.22.00",
    "GWM_ApplayPropertyToVideoDriver_ControlGraph1,                       D.U.R.M.I.X., 26.11.2006-03.00.00",
    "GWM_SetFrameRateToVideoDriver_ControlGraph1,                         D.U.R.M.I.X., 02.02.2007-04.00.00",
    "GWM_SafeUpdateInternalVar_ControlGraph1,                             D.U.R.M.I.X., 22.10.2007-09.20.00",
};

// ---- Construction and destruction ----------------------------------------------------------

ObjectControlGraph1::ObjectControlGraph1(void* moduleInstance) : aObjectBaseForGlobalObject(moduleInstance)
{
    try {
        m_name_object = "ObjectControlGraph1";
        SetBlockingSend(true);
        m_messages_graph.InitMessages(kOperationNames, kNumberOperations);
        m_time_server.Initialize();
        m_time_last_restart = m_time_server.GetTime();
        m_internal_var.m_array_uint.GetElement(InternalVarGraphClock) = 1;
        m_internal_var.m_array_uint.GetElement(InternalVarPictureInterval) = 1000;
        m_internal_var.m_array_double.GetElement(InternalVarRate) = 1.0;
    }
    CATCH_ALL_RETHROW()
}

ObjectControlGraph1::~ObjectControlGraph1()
{
    try {
        // The thread uses the members below: it ends before they go.
        if (GetThreadIdObject() != 0)
            DestroyDependThreadObject();
    }
    CATCH_ALL_LOG()
}

UINT ObjectControlGraph1::GetGraphOperationMessage(uint32_t code) const
{
    try {
        return code < kNumberOperations ? m_messages_graph.GetMessageFromIndex(code) : 0;
    }
    CATCH_ALL_RETURN(0)
}

// ---- Thread window and graph ---------------------------------------------------------------

HRESULT ObjectControlGraph1::InitThreadProc()
{
    try {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = CS_DBLCLKS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
        windowClass.lpfnWndProc = &ObjectControlGraph1::WindowProcedure;
        windowClass.hInstance = static_cast<HINSTANCE>(m_create_param);
        windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClassName;
        RegisterWindowClass(&windowClass);
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_NORMAL);
        m_hwnd = SafeCreateWindow(WS_EX_TOOLWINDOW, kWindowClassName, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, 10,
                                  10, nullptr, nullptr, windowClass.hInstance, this,
                                  "Window for reciving asic message from graph");
        // Without its window the object could never be reached.
        if (m_hwnd == nullptr)
            return E_FAIL;
        return CreateGraphInterfaces();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::CreateGraphInterfaces()
{
    HRESULT result = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                      m_graph.ReceiveVoidSlot());
    if (FAILED(result)) {
        m_graph_notify_message = kGraphNotifyMessage;
        m_signal_flag = true;
        return E_FAIL;
    }
    result = m_graph->QueryInterface(IID_IMediaControl, m_media_control.ReceiveVoidSlot());
    if (FAILED(result))
        return result;
    result = m_graph->QueryInterface(IID_IMediaEventEx, m_media_event.ReceiveVoidSlot());
    if (FAILED(result))
        return result;
    m_graph->QueryInterface(IID_IMediaSeeking, m_media_seeking.ReceiveVoidSlot());
    result = m_graph->QueryInterface(IID_IMediaFilter, m_media_filter.ReceiveVoidSlot());
    m_graph_notify_message = kGraphNotifyMessage;
    result = m_media_event->SetNotifyWindow(reinterpret_cast<OAHWND>(m_hwnd), static_cast<long>(m_graph_notify_message),
                                            reinterpret_cast<LONG_PTR>(this));
    result = m_media_event->SetNotifyFlags(0);
    if (m_media_seeking)
        result = m_media_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME);
    m_signal_flag = true;
    return result;
}

LRESULT CALLBACK ObjectControlGraph1::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE) {
        auto* object = static_cast<ObjectControlGraph1*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowUserData(window, reinterpret_cast<LONG_PTR>(object), "ObjectControlGraph1::WM_CREATE");
        if (object != nullptr)
            object->m_timer_id = SetTimer(window, kWatchdogTimerId, kWatchdogPeriodMs, nullptr);
        return 0;
    }
    // Messages that come before the object is known get default processing.
    auto* object = reinterpret_cast<ObjectControlGraph1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);
    return object->HandleWindowMessage(window, message, wParam, lParam);
}

LRESULT ObjectControlGraph1::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_TIMER) {
        bool handled = false;
        const HRESULT answer = CatchRegisteredMessage(window, message, wParam, lParam, &handled);
        if (handled)
            return answer;
    }
    if (m_graph_notify_message != 0 && message == m_graph_notify_message &&
        lParam == reinterpret_cast<LPARAM>(this)) {
        TakeGraphEvents();
        return 0;
    }
    switch (message) {
    case WM_DESTROY:
        WindowProcObject_WM_DESTROY();
        ClearWindowUserData(window, "ObjectControlGraph1::WM_DESTROY");
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        SafeDestroyWindow(window, "ObjectControlGraph1::WM_CLOSE");
        return 0;
    case WM_TIMER:
        WindowProcObject_WM_TIMER(wParam);
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ObjectControlGraph1::TakeGraphEvents()
{
    try {
        if (!m_media_event)
            return;
        long code = 0;
        LONG_PTR first = 0;
        LONG_PTR second = 0;
        while (SUCCEEDED(m_media_event->GetEvent(&code, &first, &second, 0))) {
            m_event_text.GetTextFromEvent(code, first, second, m_last_event_text.GetString(),
                                          static_cast<int32_t>(m_last_event_text.GetMaxSizeBuffer()),
                                          &m_restart_requested);
            m_media_event->FreeEventParams(code, first, second);
        }
        // The watchdog restarts at once instead of at its next tick.
        if (m_restart_requested != 0)
            PostMessageA(m_hwnd, WM_TIMER, m_timer_id, 0);
    }
    CATCH_ALL_LOG()
}

// ---- Dispatcher ----------------------------------------------------------------------------

HRESULT ObjectControlGraph1::CatchRegisteredMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                    bool* handled)
{
    const HRESULT base = aObjectBaseForGlobalObject::CatchRegisteredMessage(window, message, wParam, lParam, handled);
    if (handled == nullptr || *handled)
        return base;
    const int32_t code = m_messages_graph.GetIndexFromMessage(message);
    if (code < 0)
        return S_FALSE;
    *handled = true;
    // A message whose sender gave up is answered without reading what it points at.
    TimedSendRequest* request = BeginGuardedOperation(wParam, lParam);
    if (request == nullptr)
        return E_FAIL;
    HRESULT result = E_FAIL;
    try {
        result = RunGraphOperation(static_cast<uint32_t>(code), request);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    // An operation that answered its sender early has already ended the request.
    if (request != nullptr)
        EndGuardedOperation(request, result);
    return result;
}

HRESULT ObjectControlGraph1::RunGraphOperation(uint32_t code, TimedSendRequest*& request)
{
    const WPARAM wParam = request->m_wparam;
    const LPARAM lParam = request->m_lparam;
    switch (code) {
    case CodeSafeRemoveAndDeleteAllFiltersFromGraph:
        if (m_state_run != kStateStopped || IsGraphRebuildRefused("SafeRemoveAndDeleteAllFiltersFromGraph"))
            return S_FALSE;
        return RemoveAndDeleteAllFiltersFromGraph();
    case CodeSafeCreateGraphFromFormat1: {
        const auto* record = reinterpret_cast<const InfoMessageSafeCreateGraphFromFormat1*>(wParam);
        if (m_state_run != kStateStopped || record == nullptr || record->m_need_interface == nullptr ||
            IsGraphRebuildRefused("SafeCreateGraphFromFormat1"))
            return S_FALSE;
        return CreateGraphFromFormat1Real(record->m_need_interface);
    }
    case CodeSafeGetBuffer:
        return GetBufferReal(reinterpret_cast<InfoDataBufferPath1*>(wParam));
    case CodeSafeSetCPUUsing:
        return SetCPUUsingReal(static_cast<int32_t>(wParam));
    case CodeSafeUpdateExtInfoForReciver:
        return UpdateExtInfoForReciverReal(static_cast<int32_t>(wParam), static_cast<LONG_PTR>(lParam));
    case CodeApplayPropertyToVideoDriver:
        if (IsGraphRebuildRefused("ApplayPropertyToVideoDriver"))
            return S_FALSE;
        return ApplayPropertyToVideoDriverReal(reinterpret_cast<const InfoNeedInterface*>(wParam));
    case CodeSetFrameRateToVideoDriver:
        return SetFrameRateToVideoDriverReal(reinterpret_cast<const InfoMessageSetFrameRateToVideoDriver*>(wParam));
    default:
        return UpdateInternalVarReal(static_cast<uint32_t>(lParam), reinterpret_cast<ExtStateVideoDriver*>(wParam),
                                     &request);
    }
}

bool ObjectControlGraph1::IsGraphRebuildRefused(const char* operation) const
{
    // The modal property frame answers sent messages: a rebuild would pull the filter it shows
    // from under it.
    if (!m_property_pages_open)
        return false;
    DynamicString text("ObjectControlGraph1::");
    text += operation;
    text += "::refused while the property pages are open";
    LOG_TEXT(text.GetString());
    return true;
}

// ---- Public operations ---------------------------------------------------------------------

HRESULT ObjectControlGraph1::SafeRemoveAndDeleteAllFiltersFromGraph()
{
    return SendGuardedOperation(m_messages_graph, CodeSafeRemoveAndDeleteAllFiltersFromGraph, 0, 0,
                                "ObjectControlGraph1::SafeRemoveAndDeleteAllFiltersFromGraph");
}

HRESULT ObjectControlGraph1::SafeCreateGraphFromFormat1(float valueFloat, uint32_t value,
                                                        const InfoNeedInterface* needInterface)
{
    InfoMessageSafeCreateGraphFromFormat1 record;
    record.m_value_float = valueFloat;
    record.m_value = value;
    record.m_need_interface = needInterface;
    return SendGuardedOperation(m_messages_graph, CodeSafeCreateGraphFromFormat1, reinterpret_cast<WPARAM>(&record),
                                0, "ObjectControlGraph1::SafeCreateGraphFromFormat1");
}

HRESULT ObjectControlGraph1::SafeGetBuffer(InfoDataBufferPath1* frame)
{
    try {
        if (frame == nullptr)
            return E_INVALIDARG;
        bool delivered = false;
        const HRESULT result = SendGuardedOperationWithin(m_messages_graph, CodeSafeGetBuffer,
                                                          reinterpret_cast<WPARAM>(frame), 0,
                                                          "ObjectControlGraph1::SafeGetBuffer", kFrameFetchTimeoutMs,
                                                          &delivered);
        if (delivered)
            return result;
        // The graph thread never reads a request it did not take in time: the frame is ours again.
        frame->SetNULLFrame();
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::SafeSetCPUUsing(int32_t value)
{
    return SendGuardedOperation(m_messages_graph, CodeSafeSetCPUUsing, static_cast<WPARAM>(value), 0,
                                "ObjectControlGraph1::SafeSetCPUUsing");
}

HRESULT ObjectControlGraph1::SafeUpdateExtInfoForReciver(int32_t index, LONG_PTR value)
{
    return SendGuardedOperation(m_messages_graph, CodeSafeUpdateExtInfoForReciver, static_cast<WPARAM>(index),
                                static_cast<LPARAM>(value), "ObjectControlGraph1::SafeUpdateExtInfoForReciver");
}

HRESULT ObjectControlGraph1::ApplayPropertyToVideoDriver(const InfoNeedInterface* needInterface)
{
    return SendGuardedOperation(m_messages_graph, CodeApplayPropertyToVideoDriver,
                                reinterpret_cast<WPARAM>(needInterface), 0,
                                "ObjectControlGraph1::ApplayPropertyToVideoDriver");
}

HRESULT ObjectControlGraph1::SafeSetFrameRateToVideoDriver(float framesPerSecond)
{
    InfoMessageSetFrameRateToVideoDriver record;
    record.m_frame_rate = ClampFrameRateToVideoDriver(framesPerSecond);
    return SendGuardedOperation(m_messages_graph, CodeSetFrameRateToVideoDriver, reinterpret_cast<WPARAM>(&record), 0,
                                "ObjectControlGraph1::SetFrameRateToVideoDriver");
}

HRESULT ObjectControlGraph1::SafeUpdateInternalVar(uint32_t code, ExtStateVideoDriver* state)
{
    return SendGuardedOperation(m_messages_graph, CodeSafeUpdateInternalVar, reinterpret_cast<WPARAM>(state),
                                static_cast<LPARAM>(code), "ObjectControlGraph1::SafeUpdateInternalVar");
}

// ---- Handlers that talk to the sink --------------------------------------------------------

template <class Interface>
HRESULT ObjectControlGraph1::GetFirstSinkInterface(const IID& iid, SmartComPointer<Interface>& sink)
{
    ListFiltersGraph sinks;
    const HRESULT listed = GetFiltersWithInterface(m_graph.Get(), sinks, IID_ISinkwellSampleExchange);
    if (FAILED(listed) || sinks.GetCount() == 0)
        return listed;
    return sinks.GetElement(0)->QueryInterface(iid, sink.ReceiveVoidSlot());
}

HRESULT ObjectControlGraph1::GetBufferReal(InfoDataBufferPath1* frame)
{
    if (frame == nullptr)
        return E_INVALIDARG;
    frame->SetNULLFrame();
    if (m_state_run != kStateRunning)
        return S_FALSE;
    switch (m_need_interface.m_type_driver) {
    case TypeSourceCaptureDevice:
    case TypeSourceVideoFile: {
        if (!m_sink_exchange) {
            SmartComPointer<ISinkwellSampleExchange> sink;
            const HRESULT found = GetFirstSinkInterface(IID_ISinkwellSampleExchange, sink);
            if (!sink)
                return found;
            m_sink_exchange.Attach(sink.Get());
            sink.Get()->AddRef();
        }
        return static_cast<ISinkwellSampleExchange*>(m_sink_exchange.Get())->GetData(frame);
    }
    case TypeSourcePictureFile:
        return FillBufferForPicterFileDriver(*frame);
    case TypeSourceDesktop:
        return FillBufferForDesktopDriver(*frame);
    default:
        return S_FALSE;
    }
}

HRESULT ObjectControlGraph1::SetCPUUsingReal(int32_t value)
{
    if (!m_graph)
        return E_INVALIDARG;
    SmartComPointer<ISinkwellProcessorMode> sink;
    const HRESULT found = GetFirstSinkInterface(IID_ISinkwellProcessorMode, sink);
    if (!sink)
        return found;
    return sink->SetCPUUsing(value);
}

HRESULT ObjectControlGraph1::UpdateExtInfoForReciverReal(int32_t index, LONG_PTR value)
{
    if (!m_graph)
        return E_INVALIDARG;
    if (m_state_run != kStateRunning)
        return E_UNEXPECTED;
    SmartComPointer<ISinkwellSampleExchange> sink;
    const HRESULT found = GetFirstSinkInterface(IID_ISinkwellSampleExchange, sink);
    if (!sink)
        return found;
    return sink->SetOption(index + 1, static_cast<int>(value));
}

HRESULT ObjectControlGraph1::SetFrameRateToVideoDriverReal(const InfoMessageSetFrameRateToVideoDriver* record)
{
    if (record == nullptr || record->CheckNameStruct("InfoMessageSetFrameRateToVideoDriver") != S_OK)
        return E_UNEXPECTED;
    if (!m_graph)
        return E_INVALIDARG;
    SmartComPointer<ISinkwellSampleExchange> sink;
    const HRESULT found = GetFirstSinkInterface(IID_ISinkwellSampleExchange, sink);
    if (!sink)
        return found;
    return sink->SetFrameRate(ClampFrameRateToVideoDriver(record->m_frame_rate));
}

// ---- Run and stop --------------------------------------------------------------------------

HRESULT ObjectControlGraph1::RealRun()
{
    try {
        if (m_state_run == kStateRunning)
            return S_OK;
        return ChangeGraphState(State_Running, InternalVarWrite | InternalVarCurrentPosition,
                                "ObjectControlGraph1::RealRun::failed end wait cycle::2");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::RealStop()
{
    try {
        if (m_state_run == kStateStopped)
            return S_OK;
        return ChangeGraphState(State_Stopped, InternalVarRead | InternalVarCurrentPosition,
                                "ObjectControlGraph1::RealStop::failed end wait cycle::2");
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::ChangeGraphState(OAFilterState goal, uint32_t seekCode, const char* failureText)
{
    m_busy = true;
    if (!m_media_control) {
        m_busy = false;
        return E_INVALIDARG;
    }
    // Each look at the state waits briefly, so that a graph that never gets there holds this
    // thread for seconds, not for the minutes DirectShow's own time-outs would add up to.
    HRESULT result = S_OK;
    bool reached = false;
    for (int32_t attempt = 0; attempt < kStateChangeAttempts && !reached; ++attempt) {
        OAFilterState state = State_Stopped;
        result = m_media_control->GetState(kGetStateWaitMs, &state);
        if (FAILED(result) || (state == goal && result != VFW_S_STATE_INTERMEDIATE)) {
            reached = true;
            break;
        }
        // Run resumes at the remembered position; stop remembers where it was.
        if (attempt == 0)
            UpdateInternalVarReal(seekCode, &m_internal_var, nullptr);
        result = goal == State_Running ? m_media_control->Run() : m_media_control->Stop();
        if (attempt > 0)
            Sleep(10);
    }
    m_busy = false;
    if (!reached) {
        LOG_TEXT(failureText);
        return E_FAIL;
    }
    if (SUCCEEDED(result))
        m_state_run = goal == State_Running ? kStateRunning : kStateStopped;
    return result;
}

// ---- Watchdog ------------------------------------------------------------------------------

HRESULT ObjectControlGraph1::WindowProcObject_WM_TIMER(WPARAM timerId)
{
    try {
        if (m_timer_id == 0 || timerId != m_timer_id || !m_graph || m_state_run != kStateRunning)
            return S_FALSE;
        const bool requested = m_restart_requested != 0;
        m_restart_requested = 0;
        if (!requested && !IsSinkStarved())
            return S_OK;
        return RestartGraph();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool ObjectControlGraph1::IsSinkStarved()
{
    // The desktop always has a frame to give; a restart is tried at most once a minute.
    if (m_need_interface.m_type_driver == TypeSourceDesktop)
        return false;
    const int64_t sinceRestart = static_cast<int64_t>(m_time_server.GetTime() - m_time_last_restart);
    if (sinceRestart <= static_cast<int64_t>(kRestartIntervalMs))
        return false;
    ListFiltersGraph sinks;
    if (FAILED(GetFiltersWithInterface(m_graph.Get(), sinks, IID_ISinkwellSampleExchange)))
        return false;
    for (uint32_t k = 0; k < sinks.GetCount(); ++k) {
        SmartComPointer<ISinkwellSampleExchange> sink;
        int64_t sinceFrame = 0;
        if (SUCCEEDED(sinks.GetElement(k)->QueryInterface(IID_ISinkwellSampleExchange, sink.ReceiveVoidSlot())) &&
            SUCCEEDED(sink->GetTimeSinceLastSample(&sinceFrame)) && sinceFrame > kNoFrameRestartMs)
            return true;
    }
    return false;
}

HRESULT ObjectControlGraph1::RestartGraph()
{
    LOG_TEXT("ObjectControlGraph1::RestartGraph::stop and run the graph again");
    // A file starts again from its beginning and plays to its end.
    ExtStateVideoDriver positions;
    UpdateInternalVarReal(InternalVarWrite | InternalVarCurrentPosition, &positions, nullptr);
    UpdateInternalVarReal(InternalVarRead | InternalVarDuration, &positions, nullptr);
    positions.m_array_longlong.GetElement(InternalVarStopPosition) =
        positions.m_array_longlong.GetElement(InternalVarDuration);
    UpdateInternalVarReal(InternalVarWrite | InternalVarStopPosition, &positions, nullptr);
    RealStop();
    // Run resumes at the rewound start, not where the stopped graph says it is: after the end of
    // the stream some graphs report the stop position.
    m_internal_var.m_array_longlong.GetElement(InternalVarCurrentPosition) =
        positions.m_array_longlong.GetElement(InternalVarCurrentPosition);
    const HRESULT result = RealRun();
    m_time_last_restart = m_time_server.GetTime();
    return result;
}

// ---- Teardown ------------------------------------------------------------------------------

HRESULT ObjectControlGraph1::WindowProcObject_WM_DESTROY()
{
    try {
        if (m_timer_id != 0)
            KillTimer(m_hwnd, m_timer_id);
        m_timer_id = 0;
        if (m_state_run != kStateStopped) {
            LOG_TEXT("ObjectControlGraph1::WindowProcObject_WM_DESTROY::error::delete thread for control one graph< "
                     "without stop object");
            RealStop();
        }
        RemoveAndDeleteAllFiltersFromGraph();
        if (m_media_event) {
            m_media_event->SetNotifyFlags(1);
            m_media_event->SetNotifyWindow(0, static_cast<long>(m_graph_notify_message), 0);
        }
        m_media_event.ReleasePointer("m_media_event.ReleasePointer::1");
        m_media_control.ReleasePointer("m_media_control.ReleasePointer::1");
        m_media_seeking.ReleasePointer("m_media_seeking.ReleasePointer::1");
        m_media_filter.ReleasePointer("m_media_filter.ReleasePointer::1");
        m_graph.ReleasePointer("m_graph.ReleasePointer::1");
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::RealDestroyDependThreadObject()
{
    try {
        RealStop();
        return SafeDestroyWindow(m_hwnd, "ObjectControlGraph1::RealDestroyDependThreadObject");
    }
    CATCH_ALL_RETURN(E_FAIL)
}
