// The stream network object: an active object that exchanges framed messages over one TCP stream,
// as a listening server or a connecting client. Winsock reports socket events to its hidden
// window, so every socket call, send and receive runs on the object's own thread; other threads
// reach it only through its registered operations.
//
// A message on the wire is a 96-byte header (InfoHeaderNetworkObject1) followed by the payload.
// One message at a time waits to be sent; received bytes collect in a receive block, and
// GetBufferForRecive takes whole messages out of it, skipping anything that does not start with
// a valid header. A watchdog on the window's 5-second timer sets the connection up again after
// a silence.
#pragma once

#include <winsock2.h>

#include "CTimeServer.h"
#include "ObjectWindowMessage1.h"
#include "aObjectBaseForGlobalObject.h"

#include <windows.h>

#include <cstdint>

// ---- The wire format -----------------------------------------------------------------------

// Every header starts with this text, NUL-terminated, the rest of its 64-byte field zero.
inline constexpr char kNetworkSignature[] = "Morvath:Quillvideo:00000FFFFF00000FFFFF0xa7ca98ab0x31e70x";
inline constexpr int32_t kNetworkSignatureLength = sizeof(kNetworkSignature) - 1;
inline constexpr int32_t kNetworkHeaderVersion = 2;
inline constexpr int32_t kNetworkHeaderVersionMax = 0x0EFFFFFF;

// All integers little-endian; the unnamed words are zero.
struct InfoHeaderNetworkObject1
{
    char m_signature[64];
    int32_t m_version;
    uint32_t m_unused1;
    uint64_t m_number_message;
    int32_t m_size_header;
    int32_t m_size_payload;
    int32_t m_reserved;
    uint32_t m_unused2;
};
static_assert(sizeof(InfoHeaderNetworkObject1) == 96, "the header is 96 bytes on the wire");
inline constexpr int32_t kNetworkHeaderSize = sizeof(InfoHeaderNetworkObject1);

#ifndef _WIN64
static_assert(sizeof(WSAPROTOCOL_INFOA) == 372, "a protocol description is 372 bytes");
static_assert(sizeof(sockaddr_in) == 16, "an IPv4 socket address is 16 bytes");
#endif

// ---- Connection states, private messages, argument records ---------------------------------

enum NetworkConnectionState : int32_t
{
    NetworkStateIdle = 2,               // socket ready, no role
    NetworkStateConnecting = 3,
    NetworkStateClientNotConnected = 4, // waits for the watchdog to retry
    NetworkStateClientConnected = 5,
    NetworkStateServerConnected = 6,
    NetworkStateListening = 7,
    NetworkStateServerNotConnected = 8, // waits for the watchdog to retry
};

inline constexpr UINT kNetworkMessageSendStep = 0x8081;
inline constexpr UINT kNetworkMessageReceiveStep = 0x8082;
inline constexpr UINT kNetworkMessageNothing = 0x8083;
inline constexpr UINT kNetworkMessageSocketEvent = 0x8084;
// Posted to the notification window when a message went out whole; wParam is the object.
inline constexpr UINT kNetworkMessageSent = 0x8085;
inline constexpr UINT kNetworkMessageConnectEvent = 0x8086;

// IsSideOperation answers.
inline constexpr int32_t kNetworkSideSend = 3;
inline constexpr int32_t kNetworkSideReceive = 4;
inline constexpr int32_t kNetworkSideNone = 2;

struct InfoMessageSetBufferForSend
{
    const void* m_buffer = nullptr;
    int32_t m_size = 0;
};

struct InfoMessageGetBufferForRecive : GeneralParentForMessageStruct
{
    static constexpr const char* kName = "InfoMessageGetBufferForRecive";
    InfoMessageGetBufferForRecive() : GeneralParentForMessageStruct(kName) {}

    void* m_buffer = nullptr;
    int32_t m_size = 0;
    int32_t m_size_recived = 0; // out: payload length of the message taken
};

// The short text of a Winsock error code, "error id network error" for an unknown one.
// 0x8000FFFF for no destination or a size below 128 bytes.
HRESULT GetTextFromNetworkErrorCode(int32_t code, char* destination, int32_t size);
// Logs the caller's text with the error's text.
void LogNetworkError(const char* caller, int32_t code);

// ---- The object ----------------------------------------------------------------------------

// Lives on its own thread (CreateThreadObject); every public operation may be called from any
// thread and runs on that one.
class ObjectNetwork1 : public aObjectBaseForGlobalObject
{
public:
    static constexpr uint32_t kNumberOperations = 31;
    static constexpr int32_t kInitialReceiveCapacity = 32768;
    static constexpr int32_t kReceiveGrowth = 32768;
    // The receive block grows up to this size; a larger message can never be taken out.
    static constexpr int32_t kMaxReceiveCapacity = 1048576;
    static constexpr UINT_PTR kWatchdogTimerId = 1001;
    static constexpr UINT kWatchdogPeriodMs = 5000;
    // Silences, in time-server units, after which the watchdog sets a connection up again.
    static constexpr uint64_t kClientSilenceLimit = 33000;
    static constexpr uint64_t kServerSilenceLimit = 40000;

    // Operation codes: the position of each name in the registered table. The codes between
    // them name operations without a body, whose messages go to the default window procedure.
    enum CodeOperationNetwork : uint32_t
    {
        CodeSetBestNetworkProtocol = 0,
        CodeSetNetworkProtocol = 1,
        CodeGetNetworkProtocol = 2,
        CodeSetSocketAddress = 3,
        CodeGetSocketAddress = 4,
        CodeSetConnectAddress = 5,
        CodeGetConnectAddress = 6,
        CodeSafeBindSocketToAddress = 7,
        CodeSetBufferForSend = 8,
        CodeGetBufferForRecive = 11,
        CodeRunSendNetworkOperation = 14,
        CodeRunRecvNetworkOperation = 15,
        CodeCreateSocket = 16,
        CodeFreeSocket = 17,
        CodeSetHWNDForNetworkMessage = 18,
        CodeListen = 19,
        CodeConnect = 20,
        CodeTerminate = 21,
        CodeGetStatusNeworkObject = 24,
        CodeSetCallBackRecvFunct = 25,
        CodeIsSideOperation = 26,
        CodeGetNowNumberMessage = 27,
        CodeGetSizeUnSendData = 28,
        CodeGetSizeRecivedData = 29,
        CodeGetPeerAddress = 30,
    };

    ObjectNetwork1();
    ~ObjectNetwork1() override;

    HRESULT SetBestNetworkProtocol();
    HRESULT SetNetworkProtocol(const WSAPROTOCOL_INFOA* protocol);
    HRESULT GetNetworkProtocol(WSAPROTOCOL_INFOA* protocol);
    // The port is given in host byte order; an address of 0 keeps the one there.
    HRESULT SetSocketAddress(const sockaddr_in* address);
    HRESULT GetSocketAddress(sockaddr_in* address);
    // The port is given in host byte order; the family becomes the chosen protocol's.
    HRESULT SetConnectAddress(const sockaddr_in* address);
    HRESULT GetConnectAddress(sockaddr_in* address);
    HRESULT SafeBindSocketToAddress();
    // Queues a copy of the payload behind a header; the next send step sends it. Nothing is
    // queued (result 0) for an empty payload or while a message is pending; 0x80070057 for a
    // negative size, one too large for a header in front, or a missing payload.
    HRESULT SetBufferForSend(const void* payload, int32_t size);
    // Takes the first whole message out of the received bytes: its payload length in *received
    // (0 when none is complete yet); 1 when the destination is smaller than that payload.
    HRESULT GetBufferForRecive(void* destination, int32_t size, int32_t* received);
    HRESULT RunSendNetworkOperation();
    HRESULT RunRecvNetworkOperation();
    HRESULT CreateSocket();
    HRESULT FreeSocket();
    HRESULT SetHWNDForNetworkMessage(HWND window);
    HRESULT Listen();
    HRESULT Connect();
    HRESULT Terminate();
    HRESULT GetStatusNeworkObject(int32_t* state);
    HRESULT SetCallBackRecvFunct(LONG_PTR value);
    HRESULT IsSideOperation(int32_t* side);
    // Messages sent whole on this connection.
    HRESULT GetNowNumberMessage(uint64_t* count);
    // Size of the pending message, header included; 0 when none.
    HRESULT GetSizeUnSendData(int32_t* size);
    // Received bytes beyond one header's size.
    HRESULT GetSizeRecivedData(int32_t* size);
    HRESULT GetPeerAddress(sockaddr_in* address);

    UINT GetNetworkOperationMessage(uint32_t code) const;

    // Test seam: the protocol enumeration the object calls (null: Winsock's own).
    using EnumProtocolsFunction = int(WSAAPI*)(LPINT protocols, LPWSAPROTOCOL_INFOA buffer, LPDWORD length);
    static void SetEnumProtocolsForTest(EnumProtocolsFunction function);

protected:
    HRESULT InitThreadProc() override;
    HRESULT PostInitThreadProc() override;
    HRESULT RealRun() override { return S_OK; }
    HRESULT RealStop() override { return S_OK; }
    HRESULT RealPause() override { return S_OK; }
    HRESULT RealDestroyDependThreadObject() override;

    // Bodies of the registered operations, on the object's thread.
    virtual HRESULT RealSetBestNetworkProtocol();
    virtual HRESULT RealSetNetworkProtocol(const WSAPROTOCOL_INFOA* protocol);
    virtual HRESULT RealGetNetworkProtocol(WSAPROTOCOL_INFOA* protocol);
    virtual HRESULT RealSetSocketAddress(const sockaddr_in* address);
    virtual HRESULT RealGetSocketAddress(sockaddr_in* address);
    virtual HRESULT RealSetConnectAddress(const sockaddr_in* address);
    virtual HRESULT RealGetConnectAddress(sockaddr_in* address);
    virtual HRESULT RealSafeBindSocketToAddress();
    virtual HRESULT RealSetBufferForSend(const InfoMessageSetBufferForSend* record);
    virtual HRESULT RealGetBufferForRecive(InfoMessageGetBufferForRecive* record);
    virtual HRESULT RealRunSendNetworkOperation();
    virtual HRESULT RealRunRecvNetworkOperation();
    virtual HRESULT RealCreateSocket();
    virtual HRESULT RealFreeSocket();
    virtual HRESULT RealSetHWNDForNetworkMessage(HWND window);
    virtual HRESULT RealListen();
    virtual HRESULT RealConnect();
    virtual HRESULT RealTerminate();
    virtual HRESULT RealGetStatusNeworkObject(int32_t* state);
    virtual HRESULT RealSetCallBackRecvFunct(LONG_PTR value);
    virtual HRESULT RealIsSideOperation(int32_t* side);
    virtual HRESULT RealGetNowNumberMessage(uint64_t* count);
    virtual HRESULT RealGetSizeUnSendData(int32_t* size);
    virtual HRESULT RealGetSizeRecivedData(int32_t* size);
    virtual HRESULT RealGetPeerAddress(sockaddr_in* address);

    virtual LRESULT RealSocketEvent(WPARAM socket, LPARAM event);
    virtual HRESULT RealSendStep();
    virtual HRESULT RealReceiveStep();
    virtual HRESULT RealWatchdogStep();

private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT OnCreate(HWND window, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnDestroy(HWND window);
    bool HasBody(int32_t code) const;
    HRESULT DispatchNetworkOperation(uint32_t code, WPARAM wParam, LPARAM lParam);
    HRESULT RunOperationBody(uint32_t code, WPARAM wParam);
    HRESULT SendNetworkOperation(uint32_t code, WPARAM wParam, const char* name);

    HRESULT TakeLocalHostAddress();
    HRESULT RequestSocketEvents(long events, UINT message, const char* caller);
    HRESULT OnAccept(int error);
    HRESULT OnConnected(int error);
    // After a silence or a close: a new socket in the role the connection had.
    HRESULT SetUpConnectionAgain();
    void BeginConnection(NetworkConnectionState state);
    void FinishSentMessage();
    // Brings the first valid header of the received bytes to the front of the block.
    bool BringHeaderToFront();
    void DropReceivedBytes(int32_t count);
    void SendToOwnWindow(UINT message);
    bool IsConnected() const;
    void MarkActivity();

    SOCKET m_socket = INVALID_SOCKET;
    WSAPROTOCOL_INFOA m_protocol = {};
    int32_t m_send_capacity = 0;
    uint8_t* m_send_block = nullptr;
    int32_t m_recive_capacity = 0;
    uint8_t* m_recive_block = nullptr;
    sockaddr_in m_socket_address = {};
    sockaddr_in m_connect_address = {};
    sockaddr_in m_peer_address = {};
    HWND m_hwnd_notify = nullptr;
    int32_t m_state_connection = NetworkStateIdle;
    int32_t m_send_remaining = 0;
    int32_t m_send_offset = 0;
    int32_t m_send_total = 0;
    int32_t m_recive_fill = 0;
    bool m_send_pending = false;
    bool m_recive_pending = false;
    UINT_PTR m_id_timer = 0;
    uint64_t m_time_last_activity = 0;
    LONG_PTR m_callback_recive = 0;
    int32_t m_count_would_block = 0;
    uint64_t m_count_sent = 0;
    CTimeServer m_time_server;
    ObjectWindowMessage1 m_messages_network;
    uint64_t m_number_message = 0;
    bool m_winsock_started = false;
};
