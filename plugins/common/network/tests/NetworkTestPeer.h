// The far side of the stream network object in tests: raw blocking Winsock sockets on the
// loopback, message bytes built by hand, and helpers that start an object in either role.
#pragma once

#include <winsock2.h>

#include "ObjectNetwork1.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

using Bytes = std::vector<uint8_t>;

constexpr DWORD kPeerWaitMs = 20000;
constexpr size_t kHeaderBytes = kNetworkHeaderSize;

// Winsock for the test's own sockets while it lives.
class WinsockScope
{
public:
    WinsockScope();
    ~WinsockScope();
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;
};

// 127.0.0.1 with the port in host byte order, as the object's address operations take it.
sockaddr_in LoopbackAddress(uint16_t port);
// A loopback port that nothing listens on at the moment of the call.
uint16_t FreeLoopbackPort();

// One connected stream socket of the test.
class TestStream
{
public:
    explicit TestStream(SOCKET socket = INVALID_SOCKET) : m_socket(socket) {}
    ~TestStream();
    TestStream(TestStream&& other) noexcept;
    TestStream& operator=(TestStream&& other) noexcept;

    static TestStream Connect(uint16_t port);
    bool IsOpen() const { return m_socket != INVALID_SOCKET; }
    bool SendAll(const Bytes& bytes);
    // Exactly count bytes, or an empty result when they do not come in time.
    Bytes Receive(size_t count, DWORD timeoutMs = kPeerWaitMs);
    // Whether the peer closed the stream (no byte may come before) within the time.
    bool WaitForClose(DWORD timeoutMs = kPeerWaitMs);
    void SetReceiveBuffer(int size);
    void Close();

private:
    SOCKET m_socket;
};

class TestListener
{
public:
    // A backlog of 0 holds one connection the test has not accepted; the system drops later ones
    // until it is taken.
    explicit TestListener(uint16_t port, int backlog = 4);
    ~TestListener();
    TestListener(const TestListener&) = delete;
    TestListener& operator=(const TestListener&) = delete;

    // Accepted connections take this receive buffer.
    void SetReceiveBuffer(int size);
    TestStream Accept(DWORD timeoutMs = kPeerWaitMs);

private:
    SOCKET m_socket = INVALID_SOCKET;
};

struct HeaderFields
{
    int32_t m_version = kNetworkHeaderVersion;
    int32_t m_size_header = kNetworkHeaderSize;
    std::optional<int32_t> m_size_payload; // the payload's own size when not given
    uint64_t m_number = 0;
};

// A header built byte by byte at the offsets of the wire format, then the payload.
Bytes MakeMessage(const Bytes& payload, HeaderFields fields = {});
Bytes PatternBytes(size_t size, uint8_t seed);
Bytes Concat(const Bytes& first, const Bytes& second);
uint32_t ReadWord(const Bytes& bytes, size_t offset);

// Polls every few milliseconds until the condition holds or the time is up.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs = kPeerWaitMs);

// An object with its thread started; null when the thread did not start.
std::unique_ptr<ObjectNetwork1> StartObject();
int32_t StateOf(ObjectNetwork1& object);
bool WaitForState(ObjectNetwork1& object, int32_t state, DWORD timeoutMs = kPeerWaitMs);
// Socket address 127.0.0.1:port, bound and listening (state 7).
bool StartServer(ObjectNetwork1& object, uint16_t port);
// Socket address 127.0.0.1 on any port, connect address 127.0.0.1:port, connecting (state 3).
bool StartClient(ObjectNetwork1& object, uint16_t port);
// A client object connected to the listener, with the accepted stream in peer; null on failure.
std::unique_ptr<ObjectNetwork1> StartConnectedClient(TestListener& listener, uint16_t port, TestStream& peer);
// A server object on the port with a stream of the test connected to it in peer; null on failure.
std::unique_ptr<ObjectNetwork1> StartConnectedServer(uint16_t port, TestStream& peer);
// The next whole message the object takes out, polled until it comes; empty when none came.
Bytes TakeMessage(ObjectNetwork1& object, int32_t destinationSize = 65536, DWORD timeoutMs = kPeerWaitMs);
// Whether the message is still pending within the object.
bool IsMessagePending(ObjectNetwork1& object);

// A window of the test thread that counts the "message sent" notifications naming an object.
class SentNotificationWindow
{
public:
    SentNotificationWindow();
    ~SentNotificationWindow();
    SentNotificationWindow(const SentNotificationWindow&) = delete;
    SentNotificationWindow& operator=(const SentNotificationWindow&) = delete;

    HWND Window() const { return m_window; }
    // Pumps the test thread's messages until count notifications for the object came.
    bool WaitForNotifications(const ObjectNetwork1& object, int count, DWORD timeoutMs = kPeerWaitMs);

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<WPARAM> m_received;
};
