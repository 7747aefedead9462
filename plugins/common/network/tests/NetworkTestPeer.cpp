#include "NetworkTestPeer.h"

#include <cstring>
#include <utility>

namespace {

const char kNotificationWindowClass[] = "Korvane network test notification window";

bool WaitReadable(SOCKET socket, DWORD timeoutMs)
{
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(socket, &readable);
    timeval wait = {static_cast<long>(timeoutMs / 1000), static_cast<long>(timeoutMs % 1000) * 1000};
    return select(0, &readable, nullptr, nullptr, &wait) == 1;
}

void PutWord(Bytes& bytes, size_t offset, uint32_t value)
{
    for (size_t index = 0; index < 4; ++index)
        bytes[offset + index] = static_cast<uint8_t>(value >> (8 * index));
}

} // namespace

WinsockScope::WinsockScope()
{
    WSADATA data = {};
    WSAStartup(MAKEWORD(2, 2), &data);
}

WinsockScope::~WinsockScope()
{
    WSACleanup();
}

sockaddr_in LoopbackAddress(uint16_t port)
{
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_port = port;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

uint16_t FreeLoopbackPort()
{
    const SOCKET probe = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(0);
    bind(probe, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    int length = sizeof(address);
    getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
    closesocket(probe);
    return ntohs(address.sin_port);
}

// ---- TestStream ----------------------------------------------------------------------------

TestStream::~TestStream()
{
    Close();
}

TestStream::TestStream(TestStream&& other) noexcept : m_socket(std::exchange(other.m_socket, INVALID_SOCKET)) {}

TestStream& TestStream::operator=(TestStream&& other) noexcept
{
    if (this != &other) {
        Close();
        m_socket = std::exchange(other.m_socket, INVALID_SOCKET);
    }
    return *this;
}

TestStream TestStream::Connect(uint16_t port)
{
    SOCKET stream = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address = LoopbackAddress(0);
    address.sin_port = htons(port);
    if (connect(stream, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        closesocket(stream);
        stream = INVALID_SOCKET;
    }
    return TestStream(stream);
}

bool TestStream::SendAll(const Bytes& bytes)
{
    size_t offset = 0;
    while (offset < bytes.size()) {
        const int sent = send(m_socket, reinterpret_cast<const char*>(bytes.data() + offset),
                              static_cast<int>(bytes.size() - offset), 0);
        if (sent <= 0)
            return false;
        offset += static_cast<size_t>(sent);
    }
    return true;
}

Bytes TestStream::Receive(size_t count, DWORD timeoutMs)
{
    Bytes bytes(count);
    size_t offset = 0;
    const DWORD start = GetTickCount();
    while (offset < count) {
        const DWORD spent = GetTickCount() - start;
        if (spent >= timeoutMs || !WaitReadable(m_socket, timeoutMs - spent))
            return {};
        const int got = recv(m_socket, reinterpret_cast<char*>(bytes.data() + offset), static_cast<int>(count - offset), 0);
        if (got <= 0)
            return {};
        offset += static_cast<size_t>(got);
    }
    return bytes;
}

bool TestStream::WaitForClose(DWORD timeoutMs)
{
    if (!WaitReadable(m_socket, timeoutMs))
        return false;
    char byte = 0;
    return recv(m_socket, &byte, 1, 0) <= 0;
}

void TestStream::SetReceiveBuffer(int size)
{
    setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof(size));
}

void TestStream::Close()
{
    if (m_socket != INVALID_SOCKET)
        closesocket(m_socket);
    m_socket = INVALID_SOCKET;
}

// ---- TestListener --------------------------------------------------------------------------

TestListener::TestListener(uint16_t port, int backlog) : m_socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP))
{
    sockaddr_in address = LoopbackAddress(0);
    address.sin_port = htons(port);
    bind(m_socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
    listen(m_socket, backlog);
}

TestListener::~TestListener()
{
    closesocket(m_socket);
}

void TestListener::SetReceiveBuffer(int size)
{
    setsockopt(m_socket, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&size), sizeof(size));
}

TestStream TestListener::Accept(DWORD timeoutMs)
{
    if (!WaitReadable(m_socket, timeoutMs))
        return TestStream();
    return TestStream(accept(m_socket, nullptr, nullptr));
}

// ---- Message bytes -------------------------------------------------------------------------

Bytes MakeMessage(const Bytes& payload, HeaderFields fields)
{
    Bytes message(kNetworkHeaderSize, 0);
    memcpy(message.data(), kNetworkSignature, sizeof(kNetworkSignature));
    PutWord(message, 64, static_cast<uint32_t>(fields.m_version));
    PutWord(message, 72, static_cast<uint32_t>(fields.m_number));
    PutWord(message, 76, static_cast<uint32_t>(fields.m_number >> 32));
    PutWord(message, 80, static_cast<uint32_t>(fields.m_size_header));
    const int32_t length = fields.m_size_payload.value_or(static_cast<int32_t>(payload.size()));
    PutWord(message, 84, static_cast<uint32_t>(length));
    message.insert(message.end(), payload.begin(), payload.end());
    return message;
}

Bytes PatternBytes(size_t size, uint8_t seed)
{
    Bytes bytes(size);
    for (size_t index = 0; index < size; ++index)
        bytes[index] = static_cast<uint8_t>(seed + index * 7 + (index >> 8));
    return bytes;
}

Bytes Concat(const Bytes& first, const Bytes& second)
{
    Bytes joined = first;
    joined.insert(joined.end(), second.begin(), second.end());
    return joined;
}

uint32_t ReadWord(const Bytes& bytes, size_t offset)
{
    uint32_t value = 0;
    memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(5);
    }
}

// ---- The object ----------------------------------------------------------------------------

std::unique_ptr<ObjectNetwork1> StartObject()
{
    auto object = std::make_unique<ObjectNetwork1>();
    if (FAILED(object->CreateThreadObject()))
        return nullptr;
    return object;
}

int32_t StateOf(ObjectNetwork1& object)
{
    int32_t state = -1;
    object.GetStatusNeworkObject(&state);
    return state;
}

bool WaitForState(ObjectNetwork1& object, int32_t state, DWORD timeoutMs)
{
    return WaitUntil([&] { return StateOf(object) == state; }, timeoutMs);
}

bool StartServer(ObjectNetwork1& object, uint16_t port)
{
    const sockaddr_in address = LoopbackAddress(port);
    return object.SetSocketAddress(&address) == S_OK && object.SafeBindSocketToAddress() == S_OK &&
           object.Listen() == S_OK && StateOf(object) == NetworkStateListening;
}

bool StartClient(ObjectNetwork1& object, uint16_t port)
{
    const sockaddr_in local = LoopbackAddress(0);
    const sockaddr_in target = LoopbackAddress(port);
    return object.SetSocketAddress(&local) == S_OK && object.SafeBindSocketToAddress() == S_OK &&
           object.SetConnectAddress(&target) == S_OK && object.Connect() == S_OK;
}

// The new connection's first send step has run: its notification can no longer come late, marking
// activity or sending what a test queues next.
bool WaitForFirstSendStep(ObjectNetwork1& object)
{
    return WaitUntil([&] {
        int32_t side = 0;
        object.IsSideOperation(&side);
        return side != kNetworkSideSend;
    });
}

std::unique_ptr<ObjectNetwork1> StartConnectedClient(TestListener& listener, uint16_t port, TestStream& peer)
{
    auto object = StartObject();
    if (!object || !StartClient(*object, port))
        return nullptr;
    peer = listener.Accept();
    if (!peer.IsOpen() || !WaitForState(*object, NetworkStateClientConnected) || !WaitForFirstSendStep(*object))
        return nullptr;
    return object;
}

std::unique_ptr<ObjectNetwork1> StartConnectedServer(uint16_t port, TestStream& peer)
{
    auto object = StartObject();
    if (!object || !StartServer(*object, port))
        return nullptr;
    peer = TestStream::Connect(port);
    if (!peer.IsOpen() || !WaitForState(*object, NetworkStateServerConnected) || !WaitForFirstSendStep(*object))
        return nullptr;
    return object;
}

Bytes TakeMessage(ObjectNetwork1& object, int32_t destinationSize, DWORD timeoutMs)
{
    Bytes destination(static_cast<size_t>(destinationSize));
    int32_t received = 0;
    const bool came = WaitUntil(
        [&] { return object.GetBufferForRecive(destination.data(), destinationSize, &received) == S_OK && received > 0; },
        timeoutMs);
    if (!came)
        return {};
    destination.resize(static_cast<size_t>(received));
    return destination;
}

bool IsMessagePending(ObjectNetwork1& object)
{
    int32_t size = 0;
    object.GetSizeUnSendData(&size);
    return size > 0;
}

// ---- SentNotificationWindow ----------------------------------------------------------------

SentNotificationWindow::SentNotificationWindow()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &SentNotificationWindow::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kNotificationWindowClass;
    RegisterClassExA(&windowClass);
    m_window = CreateWindowExA(0, kNotificationWindowClass, nullptr, 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

SentNotificationWindow::~SentNotificationWindow()
{
    DestroyWindow(m_window);
}

bool SentNotificationWindow::WaitForNotifications(const ObjectNetwork1& object, int count, DWORD timeoutMs)
{
    const WPARAM expected = reinterpret_cast<WPARAM>(&object);
    auto enough = [&] {
        int found = 0;
        for (const WPARAM received : m_received)
            found += received == expected ? 1 : 0;
        return found >= count;
    };
    return WaitUntil(
        [&] {
            MSG message;
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageA(&message);
            return enough();
        },
        timeoutMs);
}

LRESULT CALLBACK SentNotificationWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<SentNotificationWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kNetworkMessageSent && self != nullptr && lParam == 0) {
        self->m_received.push_back(wParam);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
