// The stream network object: construction, its hidden window and dispatcher, socket events and
// the watchdog.
#include "ObjectNetwork1.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctWorkWithHWND.h"
#include "TimedSendGuard.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

const char kWindowClassName[] = "SimpleNetworkObject::D.U.R.M.I.X.2004::19.08.2004.21.30";
constexpr UINT kWindowClassStyle = CS_DBLCLKS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
constexpr int kWindowSize = 20;
// Sends to the object's own window run at once; the time-out only matters for a dead window.
constexpr int32_t kOwnSendTimeoutMs = 120000;
// Every event but FD_ACCEPT, once a connection stands.
constexpr long kConnectedEvents = 1015;

// Registered process-wide: every module holding the object registers the same names.
const char* const g_operation_names[ObjectNetwork1::kNumberOperations] = {
    "GWM_SetBestNetworkProtocol_NetworkObject1,       D.U.R.M.I.X., 06.12.2003-14.35.00",
    "GWM_SetNetworkProtocol_NetworkObject1,           D.U.R.M.I.X., 06.12.2003-14.35.01",
    "GWM_GetNetworkProtocol_NetworkObject1,           D.U.R.M.I.X., 06.12.2003-14.35.02",
    "GWM_SetSocketAddress_NetworkObject1,             D.U.R.M.I.X., 06.12.2003-14.35.03",
    "GWM_GetSocketAddress_NetworkObject1,             D.U.R.M.I.X., 06.12.2003-14.35.04",
    "GWM_SetConnectAddress_NetworkObject1,            D.U.R.M.I.X., 06.12.2003-14.35.05",
    "GWM_GetConnectAddress_NetworkObject1,            D.U.R.M.I.X., 06.12.2003-14.35.06",
    "GWM_SafeBindSocketToAddress_NetworkObject1,      D.U.R.M.I.X., 06.12.2003-14.35.07",
    "GWM_SetBufferForSend_NetworkObject1,             D.U.R.M.I.X., 06.12.2003-14.35.08",
    "GWM_SetBufferForRecive_NetworkObject1,           D.U.R.M.I.X., 06.12.2003-14.35.09",
    "GWM_GetBufferForSend_NetworkObject1,             D.U.R.M.I.X., 06.12.2003-14.36.10",
    "GWM_GetBufferForRecive_NetworkObject1,           D.U.R.M.I.X., 06.12.2003-14.36.11",
    "GWM_WaitForOperationComplite_NetworkObject1,     D.U.R.M.I.X., 06.12.2003-14.36.12",
    "GWM_RunNetworkOperation_NetworkObject1,          D.U.R.M.I.X., 06.12.2003-14.36.13",
    "GWM_RunSendNetworkOperation_NetworkObject1,      D.U.R.M.I.X., 06.12.2003-14.36.14",
    "GWM_RunRecvNetworkOperation_NetworkObject1,      D.U.R.M.I.X., 06.12.2003-14.36.15",
    "GWM_CreateSocket_NetworkObject1,                 D.U.R.M.I.X., 06.12.2003-14.36.16",
    "GWM_FreeSocket_NetworkObject1,                   D.U.R.M.I.X., 06.12.2003-14.36.17",
    "GWM_SetHWNDForNetworkMessage_NetworkObject1,     D.U.R.M.I.X., 06.12.2003-14.36.18",
    "GWM_Listen_NetworkObject1,                       D.U.R.M.I.X., 06.12.2003-14.36.19",
    "GWM_Connect_NetworkObject1,                      D.U.R.M.I.X., 06.12.2003-14.36.20",
    "GWM_Terminate_NetworkObject1,                    D.U.R.M.I.X., 06.12.2003-14.37.21",
    "GWM_GetSizeReciveInfo_NetworkObject1,            D.U.R.M.I.X., 06.12.2003-14.37.22",
    "GWM_GetSizeSendInfo_NetworkObject1,              D.U.R.M.I.X., 06.12.2003-14.37.23",
    "GWM_GetStatusNeworkObject_NetworkObject1,        D.U.R.M.I.X., 06.12.2003-14.37.24",
    "GWM_SetCallBackRecvFunct_NetworkObject1,         D.U.R.M.I.X., 06.12.2003-14.37.25",
    "GWM_IsSideOperation_NetworkObject1,              D.U.R.M.I.X., 06.12.2003-14.37.26",
    "GWM_GetNowNumberMessage_NetworkObject1,          D.U.R.M.I.X., 06.12.2003-14.37.27",
    "GWM_GetSizeUnSendData_NetworkObject1,            D.U.R.M.I.X., 10.06.2004-20.00.01",
    "GWM_GetSizeRecivedData_NetworkObject1,           D.U.R.M.I.X., 10.06.2004-20.00.02",
    "GWM_GetPeerAddress_NetworkObject1,               D.U.R.M.I.X., 08.09.2004-13.46.00",
};

// The module this code is linked into: the plug-in, or the test program.
HINSTANCE ModuleOfThisCode()
{
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&ModuleOfThisCode), &module);
    return module;
}

template <class T>
T* RecordOf(WPARAM wParam)
{
    return reinterpret_cast<T*>(wParam);
}

} // namespace

// ---- Construction and destruction ----------------------------------------------------------

ObjectNetwork1::ObjectNetwork1() : aObjectBaseForGlobalObject(nullptr)
{
    try {
        m_name_object = "ObjectNetwork1";
        // Without it every Winsock call of the process fails with WSANOTINITIALISED.
        WSADATA data = {};
        m_winsock_started = WSAStartup(MAKEWORD(2, 2), &data) == 0;
        if (!m_winsock_started)
            LOG_TEXT("ObjectNetwork1::ObjectNetwork1::WSAStartup failed");
        m_messages_network.InitMessages(g_operation_names, kNumberOperations);
        if (SUCCEEDED(SAFE_TASK_ALLOC(&m_recive_block, kInitialReceiveCapacity)))
            m_recive_capacity = kInitialReceiveCapacity;
    }
    CATCH_ALL_RETHROW()
}

ObjectNetwork1::~ObjectNetwork1()
{
    try {
        // The thread ends before the members it uses go.
        if (GetThreadIdObject() != 0)
            DestroyDependThreadObject();
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
        m_socket = INVALID_SOCKET;
        SAFE_TASK_FREE(&m_send_block);
        SAFE_TASK_FREE(&m_recive_block);
        if (m_winsock_started)
            WSACleanup();
    }
    CATCH_ALL_LOG()
}

UINT ObjectNetwork1::GetNetworkOperationMessage(uint32_t code) const
{
    try {
        return code < kNumberOperations ? m_messages_network.GetMessageFromIndex(code) : 0;
    }
    CATCH_ALL_RETURN(0)
}

// ---- Thread hooks --------------------------------------------------------------------------

HRESULT ObjectNetwork1::InitThreadProc()
{
    try {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = kWindowClassStyle;
        windowClass.lpfnWndProc = &ObjectNetwork1::WindowProcedure;
        windowClass.hInstance = ModuleOfThisCode();
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(1);
        windowClass.lpszClassName = kWindowClassName;
        RegisterWindowClass(&windowClass);
        m_hwnd = SafeCreateWindow(0, kWindowClassName, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT, kWindowSize,
                                  kWindowSize, nullptr, nullptr, windowClass.hInstance, this,
                                  "ObjectNetwork1::InitThreadProc");
        return m_hwnd != nullptr ? S_OK : E_UNEXPECTED;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Start-up on the object's thread: a protocol, a socket, and the local host's address.
HRESULT ObjectNetwork1::PostInitThreadProc()
{
    try {
        RealSetBestNetworkProtocol();
        const HRESULT result = RealCreateSocket();
        TakeLocalHostAddress();
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::TakeLocalHostAddress()
{
    try {
        char name[256] = {};
        if (gethostname(name, sizeof(name)) != 0)
            return E_FAIL;
        const hostent* host = gethostbyname(name);
        if (host == nullptr || host->h_addr_list == nullptr || host->h_addr_list[0] == nullptr)
            return E_UNEXPECTED;
        const size_t length = host->h_length < 0 ? 0 : static_cast<size_t>(host->h_length);
        memcpy(&m_socket_address.sin_addr, host->h_addr_list[0], std::min(length, sizeof(m_socket_address.sin_addr)));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::RealDestroyDependThreadObject()
{
    try {
        m_hwnd_notify = nullptr;
        const HRESULT result = RealFreeSocket();
        SafeDestroyWindow(m_hwnd, "ObjectNetwork1::RealDestroyDependThreadObject");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- The hidden window ---------------------------------------------------------------------

LRESULT CALLBACK ObjectNetwork1::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CREATE)
        return OnCreate(window, lParam);
    auto* object = reinterpret_cast<ObjectNetwork1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (object == nullptr)
        return message == WM_TIMER ? 1 : DefWindowProcA(window, message, wParam, lParam);
    return object->HandleMessage(window, message, wParam, lParam);
}

LRESULT ObjectNetwork1::OnCreate(HWND window, LPARAM lParam)
{
    try {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        auto* object = create != nullptr ? static_cast<ObjectNetwork1*>(create->lpCreateParams) : nullptr;
        if (object == nullptr || !SetWindowUserData(window, reinterpret_cast<LONG_PTR>(object), "ObjectNetwork1::WM_CREATE"))
            return 0;
        object->m_id_timer = SetTimer(window, kWatchdogTimerId, kWatchdogPeriodMs, nullptr);
        return 1;
    }
    CATCH_ALL_RETURN(0)
}

LRESULT ObjectNetwork1::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message != WM_TIMER) {
            bool handled = false;
            const HRESULT answer = CatchRegisteredMessage(window, message, wParam, lParam, &handled);
            if (handled)
                return answer;
            const int32_t code = m_messages_network.GetIndexFromMessage(message);
            if (HasBody(code))
                return DispatchNetworkOperation(static_cast<uint32_t>(code), wParam, lParam);
        }
        switch (message) {
        case WM_TIMER:
            if (wParam == kWatchdogTimerId)
                RealWatchdogStep();
            return 0;
        case WM_DESTROY:
            OnDestroy(window);
            return 0;
        case kNetworkMessageSendStep:
            return RealSendStep();
        case kNetworkMessageReceiveStep:
            return RealReceiveStep();
        case kNetworkMessageNothing:
            return 1;
        case kNetworkMessageSocketEvent:
        case kNetworkMessageConnectEvent:
            return RealSocketEvent(wParam, lParam);
        default:
            return DefWindowProcA(window, message, wParam, lParam);
        }
    }
    CATCH_ALL_RETURN(0)
}

void ObjectNetwork1::OnDestroy(HWND window)
{
    if (m_id_timer != 0 && !KillTimer(window, m_id_timer)) {
        DynamicString text;
        GetTextFromErrorCode(GetLastError(), text);
        LOG_TEXT(text.GetString());
    }
    m_id_timer = 0;
    SAFE_TASK_FREE(&m_send_block);
    SAFE_TASK_FREE(&m_recive_block);
    m_send_capacity = 0;
    m_recive_capacity = 0;
    m_state_connection = NetworkStateIdle;
    ClearWindowUserData(window, "ObjectNetwork1::WM_DESTROY");
    PostQuitMessage(0);
}

bool ObjectNetwork1::HasBody(int32_t code) const
{
    switch (code) {
    case 9:  // SetBufferForRecive
    case 10: // GetBufferForSend
    case 12: // WaitForOperationComplite
    case 13: // RunNetworkOperation
    case 22: // GetSizeReciveInfo
    case 23: // GetSizeSendInfo
        return false;
    default:
        return code >= 0 && code < static_cast<int32_t>(kNumberOperations);
    }
}

HRESULT ObjectNetwork1::DispatchNetworkOperation(uint32_t code, WPARAM wParam, LPARAM lParam)
{
    // A message whose sender gave up is answered without reading what it points at.
    TimedSendRequest* request = BeginGuardedOperation(wParam, lParam);
    if (request == nullptr)
        return E_FAIL;
    HRESULT result = E_FAIL;
    try {
        result = RunOperationBody(code, request->m_wparam);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    EndGuardedOperation(request, result);
    return result;
}

HRESULT ObjectNetwork1::RunOperationBody(uint32_t code, WPARAM wParam)
{
    switch (code) {
    case CodeSetBestNetworkProtocol:
        return RealSetBestNetworkProtocol();
    case CodeSetNetworkProtocol:
        return RealSetNetworkProtocol(RecordOf<const WSAPROTOCOL_INFOA>(wParam));
    case CodeGetNetworkProtocol:
        return RealGetNetworkProtocol(RecordOf<WSAPROTOCOL_INFOA>(wParam));
    case CodeSetSocketAddress:
        return RealSetSocketAddress(RecordOf<const sockaddr_in>(wParam));
    case CodeGetSocketAddress:
        return RealGetSocketAddress(RecordOf<sockaddr_in>(wParam));
    case CodeSetConnectAddress:
        return RealSetConnectAddress(RecordOf<const sockaddr_in>(wParam));
    case CodeGetConnectAddress:
        return RealGetConnectAddress(RecordOf<sockaddr_in>(wParam));
    case CodeSafeBindSocketToAddress:
        return RealSafeBindSocketToAddress();
    case CodeSetBufferForSend:
        return RealSetBufferForSend(RecordOf<const InfoMessageSetBufferForSend>(wParam));
    case CodeGetBufferForRecive:
        return RealGetBufferForRecive(RecordOf<InfoMessageGetBufferForRecive>(wParam));
    case CodeRunSendNetworkOperation:
        return RealRunSendNetworkOperation();
    case CodeRunRecvNetworkOperation:
        return RealRunRecvNetworkOperation();
    case CodeCreateSocket:
        return RealCreateSocket();
    case CodeFreeSocket:
        return RealFreeSocket();
    case CodeSetHWNDForNetworkMessage:
        return RealSetHWNDForNetworkMessage(reinterpret_cast<HWND>(wParam));
    case CodeListen:
        return RealListen();
    case CodeConnect:
        return RealConnect();
    case CodeTerminate:
        return RealTerminate();
    case CodeGetStatusNeworkObject:
        return RealGetStatusNeworkObject(RecordOf<int32_t>(wParam));
    case CodeSetCallBackRecvFunct:
        return RealSetCallBackRecvFunct(static_cast<LONG_PTR>(wParam));
    case CodeIsSideOperation:
        return RealIsSideOperation(RecordOf<int32_t>(wParam));
    case CodeGetNowNumberMessage:
        return RealGetNowNumberMessage(RecordOf<uint64_t>(wParam));
    case CodeGetSizeUnSendData:
        return RealGetSizeUnSendData(RecordOf<int32_t>(wParam));
    case CodeGetSizeRecivedData:
        return RealGetSizeRecivedData(RecordOf<int32_t>(wParam));
    case CodeGetPeerAddress:
        return RealGetPeerAddress(RecordOf<sockaddr_in>(wParam));
    default:
        return E_UNEXPECTED;
    }
}

void ObjectNetwork1::SendToOwnWindow(UINT message)
{
    SafeSendMessageTimeout(m_hwnd, message, 0, 0, kOwnSendTimeoutMs, DynamicString(""), false);
}

// ---- Socket events -------------------------------------------------------------------------

LRESULT ObjectNetwork1::RealSocketEvent(WPARAM socket, LPARAM event)
{
    try {
        if (m_socket == INVALID_SOCKET || static_cast<SOCKET>(socket) != m_socket) {
            LOG_TEXT("ObjectNetwork1::socket event of another socket, ignored");
            return 0;
        }
        const int what = WSAGETSELECTEVENT(event);
        const int error = WSAGETSELECTERROR(event);
        HRESULT result = S_OK;
        if (what == FD_READ && error == 0 && IsConnected()) {
            m_recive_pending = true;
            SendToOwnWindow(kNetworkMessageReceiveStep);
            MarkActivity();
        }
        if (what == FD_WRITE && error == 0 && IsConnected()) {
            m_send_pending = true;
            SendToOwnWindow(kNetworkMessageSendStep);
            MarkActivity();
        }
        if (what == FD_ACCEPT)
            result = OnAccept(error);
        if (what == FD_CONNECT)
            result = OnConnected(error);
        if (what == FD_CLOSE)
            result = SetUpConnectionAgain();
        return result;
    }
    CATCH_ALL_RETURN(0)
}

HRESULT ObjectNetwork1::OnAccept(int error)
{
    const bool listening = m_state_connection == NetworkStateListening ||
                           m_state_connection == NetworkStateServerNotConnected;
    if (!listening || m_socket == INVALID_SOCKET || error != 0) {
        m_state_connection = NetworkStateServerNotConnected;
        return S_OK;
    }
    sockaddr_in peer = {};
    int length = sizeof(peer);
    const SOCKET accepted = accept(m_socket, reinterpret_cast<sockaddr*>(&peer), &length);
    // The listening socket stays while nothing was accepted, so the watchdog can listen again.
    if (accepted == INVALID_SOCKET) {
        m_state_connection = NetworkStateServerNotConnected;
        return S_OK;
    }
    m_peer_address = peer;
    HRESULT result = S_OK;
    if (closesocket(m_socket) != 0) {
        LogNetworkError("ObjectNetwork1::FD_ACCEPT::closesocket", WSAGetLastError());
        result = E_FAIL;
    }
    m_socket = accepted;
    MarkActivity();
    RequestSocketEvents(kConnectedEvents, kNetworkMessageSocketEvent, "ObjectNetwork1::FD_ACCEPT");
    BeginConnection(NetworkStateServerConnected);
    return result;
}

HRESULT ObjectNetwork1::OnConnected(int error)
{
    const bool connecting = m_state_connection == NetworkStateConnecting ||
                            m_state_connection == NetworkStateClientNotConnected;
    if (!connecting || m_socket == INVALID_SOCKET || error != 0) {
        m_state_connection = NetworkStateClientNotConnected;
        return S_OK;
    }
    if (SUCCEEDED(RequestSocketEvents(kConnectedEvents, kNetworkMessageSocketEvent, "ObjectNetwork1::FD_CONNECT")))
        MarkActivity();
    BeginConnection(NetworkStateClientConnected);
    return S_OK;
}

// Counting starts again on a new connection, and a message still pending goes out whole from its
// header: the new peer never saw its beginning.
void ObjectNetwork1::BeginConnection(NetworkConnectionState state)
{
    m_count_sent = 0;
    m_number_message = 0;
    if (m_send_total > 0 && m_send_block != nullptr) {
        m_send_offset = 0;
        m_send_remaining = m_send_total;
        memcpy(m_send_block + offsetof(InfoHeaderNetworkObject1, m_number_message), &m_number_message,
               sizeof(m_number_message));
    }
    m_send_pending = true;
    m_recive_pending = true;
    m_state_connection = state;
}

HRESULT ObjectNetwork1::SetUpConnectionAgain()
{
    const int32_t remembered = m_state_connection;
    HRESULT result = RealCreateSocket();
    if (SUCCEEDED(result))
        result = RealSafeBindSocketToAddress();
    if (SUCCEEDED(result)) {
        m_state_connection = NetworkStateIdle;
        if (remembered == NetworkStateServerConnected || remembered == NetworkStateServerNotConnected)
            result = RealListen();
        else if (remembered == NetworkStateClientConnected || remembered == NetworkStateClientNotConnected)
            result = RealConnect();
    }
    if (FAILED(result)) {
        m_state_connection = remembered;
        if (remembered == NetworkStateServerConnected)
            m_state_connection = NetworkStateServerNotConnected;
        if (remembered == NetworkStateClientConnected)
            m_state_connection = NetworkStateClientNotConnected;
    }
    return result;
}

// ---- Watchdog ------------------------------------------------------------------------------

HRESULT ObjectNetwork1::RealWatchdogStep()
{
    try {
        const int32_t state = m_state_connection;
        const bool client = state == NetworkStateClientNotConnected || state == NetworkStateClientConnected;
        const bool server = state == NetworkStateServerConnected || state == NetworkStateServerNotConnected;
        if (m_socket == INVALID_SOCKET || !(client || server))
            return S_OK;
        if (m_recive_pending)
            SendToOwnWindow(kNetworkMessageReceiveStep);
        if (m_send_pending || m_send_total > 0)
            SendToOwnWindow(kNetworkMessageSendStep);
        const uint64_t now = m_time_server.GetTime();
        const uint64_t silence = now > m_time_last_activity ? now - m_time_last_activity : 0;
        if (silence < (client ? kClientSilenceLimit : kServerSilenceLimit))
            return S_OK;
        m_send_pending = true;
        m_recive_pending = true;
        return SetUpConnectionAgain();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ObjectNetwork1::MarkActivity()
{
    m_time_last_activity = m_time_server.GetTime();
}

bool ObjectNetwork1::IsConnected() const
{
    return m_state_connection == NetworkStateClientConnected || m_state_connection == NetworkStateServerConnected;
}
