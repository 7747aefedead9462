// Bodies of the stream network object's operations, on its own thread: protocol, socket and
// addresses, the two roles, the send queue and send step, the receive step and message taking.
#include "ObjectNetwork1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <climits>
#include <cstring>
#include <vector>

namespace {

ObjectNetwork1::EnumProtocolsFunction g_enum_protocols_for_test = nullptr;

constexpr DWORD kGuaranteedDelivery = 2;
constexpr DWORD kGuaranteedOrder = 4;
constexpr int kListenBacklog = 4;
constexpr int32_t kWouldBlockCountLimit = 50;

bool IsStreamProtocolOverTcp(const WSAPROTOCOL_INFOA& protocol)
{
    return (protocol.dwServiceFlags1 & (kGuaranteedDelivery | kGuaranteedOrder)) != 0 &&
           strstr(protocol.szProtocol, "TCP") != nullptr;
}

// A header is whole only with its own size and a payload the receive block can ever hold.
bool IsValidHeader(const uint8_t* bytes)
{
    InfoHeaderNetworkObject1 header;
    memcpy(&header, bytes, sizeof(header));
    return memcmp(header.m_signature, kNetworkSignature, sizeof(kNetworkSignature)) == 0 &&
           header.m_version >= kNetworkHeaderVersion && header.m_version <= kNetworkHeaderVersionMax &&
           header.m_size_header == kNetworkHeaderSize && header.m_size_payload >= 0 &&
           header.m_size_payload <= ObjectNetwork1::kMaxReceiveCapacity - kNetworkHeaderSize;
}

int32_t PayloadSizeOf(const uint8_t* bytes)
{
    InfoHeaderNetworkObject1 header;
    memcpy(&header, bytes, sizeof(header));
    return header.m_size_payload;
}

// The signature's position at or after from, or -1.
int32_t FindSignature(const uint8_t* block, int32_t fill, int32_t from)
{
    if (fill - from < kNetworkSignatureLength)
        return -1;
    const void* found = MemStr(block + from, static_cast<size_t>(fill - from), kNetworkSignature,
                               kNetworkSignatureLength);
    return found == nullptr ? -1 : static_cast<int32_t>(static_cast<const uint8_t*>(found) - block);
}

void WriteHeader(uint8_t* block, int32_t payloadSize, uint64_t number)
{
    InfoHeaderNetworkObject1 header;
    // Every byte of the header goes on the wire, the unnamed ones too.
    memset(&header, 0, sizeof(header));
    memcpy(header.m_signature, kNetworkSignature, sizeof(kNetworkSignature));
    header.m_version = kNetworkHeaderVersion;
    header.m_number_message = number;
    header.m_size_header = kNetworkHeaderSize;
    header.m_size_payload = payloadSize;
    memcpy(block, &header, sizeof(header));
}

// Read-outs write one value into the caller's record.
template <class T>
HRESULT WriteOut(T* record, const T& value)
{
    if (record == nullptr)
        return E_FAIL;
    *record = value;
    return S_OK;
}

} // namespace

void ObjectNetwork1::SetEnumProtocolsForTest(EnumProtocolsFunction function)
{
    g_enum_protocols_for_test = function;
}

// ---- Protocol, socket, addresses -----------------------------------------------------------

HRESULT ObjectNetwork1::RealSetBestNetworkProtocol()
{
    try {
        const EnumProtocolsFunction enumerate =
            g_enum_protocols_for_test != nullptr ? g_enum_protocols_for_test : &WSAEnumProtocolsA;
        // The first call asks for the length the table needs: hosts differ in their providers.
        DWORD length = 0;
        if (enumerate(nullptr, nullptr, &length) == SOCKET_ERROR && WSAGetLastError() != WSAENOBUFS) {
            LogNetworkError("ObjectNetwork1::SetBestNetworkProtocol", WSAGetLastError());
            return E_FAIL;
        }
        std::vector<WSAPROTOCOL_INFOA> protocols(length / sizeof(WSAPROTOCOL_INFOA) + 1);
        length = static_cast<DWORD>(protocols.size() * sizeof(WSAPROTOCOL_INFOA));
        const int count = enumerate(nullptr, protocols.data(), &length);
        if (count == SOCKET_ERROR) {
            LogNetworkError("ObjectNetwork1::SetBestNetworkProtocol", WSAGetLastError());
            return E_FAIL;
        }
        for (int index = 0; index < count && index < static_cast<int>(protocols.size()); ++index) {
            if (IsStreamProtocolOverTcp(protocols[index]))
                return RealSetNetworkProtocol(&protocols[index]);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::RealSetNetworkProtocol(const WSAPROTOCOL_INFOA* protocol)
{
    if (protocol == nullptr)
        return E_FAIL;
    m_protocol = *protocol;
    return S_OK;
}

HRESULT ObjectNetwork1::RealGetNetworkProtocol(WSAPROTOCOL_INFOA* protocol)
{
    return WriteOut(protocol, m_protocol);
}

HRESULT ObjectNetwork1::RealCreateSocket()
{
    try {
        RealFreeSocket();
        m_socket = WSASocketA(m_protocol.iAddressFamily, m_protocol.iSocketType, 0, nullptr, 0, 0);
        if (m_socket == INVALID_SOCKET) {
            LogNetworkError("ObjectNetwork1::CreateSocket", WSAGetLastError());
            return E_FAIL;
        }
        MarkActivity();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::RealFreeSocket()
{
    m_state_connection = NetworkStateIdle;
    if (m_socket == INVALID_SOCKET)
        return S_OK;
    const int closed = closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    if (closed != 0) {
        LogNetworkError("ObjectNetwork1::FreeSocket", WSAGetLastError());
        return E_FAIL;
    }
    return S_OK;
}

HRESULT ObjectNetwork1::RealTerminate()
{
    const bool hadSocket = m_socket != INVALID_SOCKET;
    const HRESULT result = RealFreeSocket();
    return hadSocket ? result : E_FAIL;
}

HRESULT ObjectNetwork1::RealSetSocketAddress(const sockaddr_in* address)
{
    if (address == nullptr)
        return S_OK;
    m_socket_address.sin_port = htons(address->sin_port);
    if (address->sin_addr.s_addr != 0)
        m_socket_address.sin_addr = address->sin_addr;
    return S_OK;
}

HRESULT ObjectNetwork1::RealGetSocketAddress(sockaddr_in* address)
{
    if (address != nullptr)
        *address = m_socket_address;
    return S_OK;
}

HRESULT ObjectNetwork1::RealSetConnectAddress(const sockaddr_in* address)
{
    if (address == nullptr)
        return S_OK;
    m_connect_address = *address;
    m_connect_address.sin_port = htons(address->sin_port);
    m_connect_address.sin_family = static_cast<short>(m_protocol.iAddressFamily);
    return S_OK;
}

HRESULT ObjectNetwork1::RealGetConnectAddress(sockaddr_in* address)
{
    if (address != nullptr)
        *address = m_connect_address;
    return S_OK;
}

HRESULT ObjectNetwork1::RealGetPeerAddress(sockaddr_in* address)
{
    return WriteOut(address, m_peer_address);
}

HRESULT ObjectNetwork1::RealSafeBindSocketToAddress()
{
    m_socket_address.sin_family = static_cast<short>(m_protocol.iAddressFamily);
    const int bound = bind(m_socket, reinterpret_cast<const sockaddr*>(&m_socket_address), sizeof(m_socket_address));
    return bound == 0 ? S_OK : E_FAIL;
}

HRESULT ObjectNetwork1::RealSetHWNDForNetworkMessage(HWND window)
{
    m_hwnd_notify = window;
    return S_OK;
}

HRESULT ObjectNetwork1::RealSetCallBackRecvFunct(LONG_PTR value)
{
    m_callback_recive = value;
    return S_OK;
}

HRESULT ObjectNetwork1::RequestSocketEvents(long events, UINT message, const char* caller)
{
    if (WSAAsyncSelect(m_socket, m_hwnd, message, events) == 0)
        return S_OK;
    LogNetworkError(caller, WSAGetLastError());
    return E_FAIL;
}

// ---- The two roles -------------------------------------------------------------------------

HRESULT ObjectNetwork1::RealListen()
{
    if (m_state_connection != NetworkStateIdle)
        return E_FAIL;
    m_state_connection = NetworkStateListening;
    if (m_socket == INVALID_SOCKET)
        return E_FAIL;
    RequestSocketEvents(0, 0, "ObjectNetwork1::Listen::cancel");
    if (listen(m_socket, kListenBacklog) != 0) {
        m_state_connection = NetworkStateServerNotConnected;
        return E_FAIL;
    }
    RequestSocketEvents(FD_ACCEPT, kNetworkMessageSocketEvent, "ObjectNetwork1::Listen");
    return S_OK;
}

HRESULT ObjectNetwork1::RealConnect()
{
    if (m_state_connection != NetworkStateIdle)
        return E_FAIL;
    m_state_connection = NetworkStateConnecting;
    if (m_socket == INVALID_SOCKET) {
        m_state_connection = NetworkStateClientNotConnected;
        return E_FAIL;
    }
    RequestSocketEvents(FD_CONNECT, kNetworkMessageConnectEvent, "ObjectNetwork1::Connect");
    const int answer =
        connect(m_socket, reinterpret_cast<const sockaddr*>(&m_connect_address), sizeof(m_connect_address));
    if (answer != 0 && WSAGetLastError() != WSAEWOULDBLOCK) {
        m_state_connection = NetworkStateClientNotConnected;
        return E_FAIL;
    }
    return S_OK;
}

// ---- Sending -------------------------------------------------------------------------------

HRESULT ObjectNetwork1::RealSetBufferForSend(const InfoMessageSetBufferForSend* record)
{
    try {
        if (record == nullptr || record->m_size == 0 || m_send_total > 0)
            return S_OK;
        if (record->m_buffer == nullptr || record->m_size < 0 || record->m_size > INT32_MAX - kNetworkHeaderSize)
            return E_INVALIDARG;
        const int32_t total = record->m_size + kNetworkHeaderSize;
        if (m_send_block == nullptr || m_send_capacity < total) {
            if (FAILED(SAFE_TASK_REALLOC(&m_send_block, static_cast<uint64_t>(total))))
                return E_FAIL;
            m_send_capacity = total;
        }
        m_send_pending = true;
        memcpy(m_send_block + kNetworkHeaderSize, record->m_buffer, static_cast<size_t>(record->m_size));
        WriteHeader(m_send_block, record->m_size, m_number_message);
        m_send_offset = 0;
        m_send_remaining = 0;
        m_send_total = total;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::RealRunSendNetworkOperation()
{
    m_send_pending = true;
    PostMessageA(m_hwnd, kNetworkMessageSendStep, 0, 0);
    return S_OK;
}

HRESULT ObjectNetwork1::RealSendStep()
{
    try {
        if (m_socket == INVALID_SOCKET || !IsConnected())
            return S_OK;
        m_send_pending = false;
        m_send_remaining = m_send_total - m_send_offset;
        if (m_send_block == nullptr || m_send_capacity <= 0 || m_send_total <= 0)
            return S_OK;
        while (m_send_remaining > 0) {
            const int sent = send(m_socket, reinterpret_cast<const char*>(m_send_block + m_send_offset),
                                  m_send_remaining, 0);
            // What is unsent stays pending: a later step goes on from the first unsent byte.
            if (sent == SOCKET_ERROR)
                return WSAGetLastError() == WSAEWOULDBLOCK ? S_OK : E_FAIL;
            m_send_offset += sent;
            m_send_remaining -= sent;
            MarkActivity();
        }
        FinishSentMessage();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ObjectNetwork1::FinishSentMessage()
{
    ++m_number_message;
    ++m_count_sent;
    m_send_total = 0;
    m_send_offset = 0;
    if (SUCCEEDED(CheckIsWindow(m_hwnd_notify)))
        PostMessageA(m_hwnd_notify, kNetworkMessageSent, reinterpret_cast<WPARAM>(this), 0);
}

// ---- Receiving -----------------------------------------------------------------------------

HRESULT ObjectNetwork1::RealRunRecvNetworkOperation()
{
    PostMessageA(m_hwnd, kNetworkMessageReceiveStep, 0, 0);
    return S_OK;
}

HRESULT ObjectNetwork1::RealReceiveStep()
{
    try {
        if (m_socket == INVALID_SOCKET || !IsConnected() || m_recive_block == nullptr || m_recive_capacity <= 0)
            return S_OK;
        if (m_recive_fill >= m_recive_capacity && m_recive_capacity < kMaxReceiveCapacity) {
            const int32_t grown = m_recive_capacity + kReceiveGrowth;
            if (FAILED(SAFE_TASK_REALLOC(&m_recive_block, static_cast<uint64_t>(grown))))
                return E_FAIL;
            m_recive_capacity = grown;
        }
        if (m_recive_fill >= m_recive_capacity) {
            LOG_TEXT("try reciving too large info, 1024 * 1024 bytes filled");
            m_recive_fill = 0;
            return S_OK;
        }
        m_recive_pending = false;
        const int got = recv(m_socket, reinterpret_cast<char*>(m_recive_block + m_recive_fill),
                             m_recive_capacity - m_recive_fill, 0);
        if (got == SOCKET_ERROR) {
            if (WSAGetLastError() != WSAEWOULDBLOCK)
                return E_FAIL;
            if (++m_count_would_block > kWouldBlockCountLimit)
                m_count_would_block = 0;
            return S_OK;
        }
        m_recive_fill += got;
        MarkActivity();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectNetwork1::RealGetBufferForRecive(InfoMessageGetBufferForRecive* record)
{
    try {
        if (record == nullptr || record->CheckNameStruct(InfoMessageGetBufferForRecive::kName) != S_OK)
            return E_FAIL;
        if (record->m_buffer == nullptr || record->m_size < 0)
            return E_FAIL;
        record->m_size_recived = 0;
        if (m_recive_block == nullptr || m_recive_capacity < m_recive_fill) {
            m_recive_fill = 0;
            return E_FAIL;
        }
        if (m_recive_fill < kNetworkHeaderSize)
            return S_OK;
        if (!BringHeaderToFront()) {
            if (m_recive_fill >= m_recive_capacity) {
                LOG_TEXT("flush all recived data, buffer overflow");
                m_recive_fill = 0;
            }
            return S_OK;
        }
        const int32_t payload = PayloadSizeOf(m_recive_block);
        if (payload > m_recive_fill - kNetworkHeaderSize)
            return S_OK;
        if (payload > record->m_size)
            return S_FALSE;
        memcpy(record->m_buffer, m_recive_block + kNetworkHeaderSize, static_cast<size_t>(payload));
        record->m_size_recived = payload;
        DropReceivedBytes(kNetworkHeaderSize + payload);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool ObjectNetwork1::BringHeaderToFront()
{
    int32_t from = 0;
    for (;;) {
        const int32_t at = FindSignature(m_recive_block, m_recive_fill, from);
        if (at < 0)
            return false;
        if (m_recive_fill - at < kNetworkHeaderSize) {
            LOG_TEXT("reciving break network struct::corrected");
            DropReceivedBytes(at);
            return false;
        }
        if (IsValidHeader(m_recive_block + at)) {
            DropReceivedBytes(at);
            return true;
        }
        LOG_TEXT("reciving uncorrect network header for simple object, skip data");
        from = at + kNetworkHeaderSize;
    }
}

void ObjectNetwork1::DropReceivedBytes(int32_t count)
{
    if (count <= 0)
        return;
    memmove(m_recive_block, m_recive_block + count, static_cast<size_t>(m_recive_fill - count));
    m_recive_fill -= count;
}

// ---- Read-outs -----------------------------------------------------------------------------

HRESULT ObjectNetwork1::RealGetStatusNeworkObject(int32_t* state)
{
    return WriteOut(state, m_state_connection);
}

HRESULT ObjectNetwork1::RealIsSideOperation(int32_t* side)
{
    const int32_t now = m_send_pending ? kNetworkSideSend : m_recive_pending ? kNetworkSideReceive : kNetworkSideNone;
    return WriteOut(side, now);
}

HRESULT ObjectNetwork1::RealGetNowNumberMessage(uint64_t* count)
{
    return WriteOut(count, m_count_sent);
}

HRESULT ObjectNetwork1::RealGetSizeUnSendData(int32_t* size)
{
    return WriteOut(size, m_send_total);
}

HRESULT ObjectNetwork1::RealGetSizeRecivedData(int32_t* size)
{
    return WriteOut(size, m_recive_fill > kNetworkHeaderSize ? m_recive_fill - kNetworkHeaderSize : 0);
}
