// The object itself: its window, its operation names, Winsock and the protocol, the states of
// both roles.
#include "NetworkTestPeer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>

namespace {

const char kWindowClassName[] = "SimpleNetworkObject::D.U.R.M.I.X.2004::19.08.2004.21.30";

// Listen and Connect start only from the idle state and leave any other as it was.
void ExpectRolesRefused(ObjectNetwork1& object, int32_t state)
{
    SCOPED_TRACE(testing::Message() << "state " << state);
    ASSERT_EQ(StateOf(object), state);
    EXPECT_EQ(object.Listen(), E_FAIL);
    EXPECT_EQ(StateOf(object), state);
    EXPECT_EQ(object.Connect(), E_FAIL);
    EXPECT_EQ(StateOf(object), state);
}

// A host with more providers than a fixed table of 32 holds; the stream protocol over TCP comes late.
constexpr int kFakeProviderCount = 40;
constexpr int kFakeTcpIndex = 37;

int WSAAPI EnumerateManyProviders(LPINT /*protocols*/, LPWSAPROTOCOL_INFOA buffer, LPDWORD length)
{
    const DWORD needed = kFakeProviderCount * sizeof(WSAPROTOCOL_INFOA);
    if (buffer == nullptr || *length < needed) {
        *length = needed;
        WSASetLastError(WSAENOBUFS);
        return SOCKET_ERROR;
    }
    for (int index = 0; index < kFakeProviderCount; ++index) {
        WSAPROTOCOL_INFOA& protocol = buffer[index];
        protocol = {};
        protocol.iAddressFamily = AF_INET;
        protocol.iSocketType = index == kFakeTcpIndex ? SOCK_STREAM : SOCK_DGRAM;
        protocol.dwServiceFlags1 = index == kFakeTcpIndex ? XP1_GUARANTEED_DELIVERY : 0;
        std::snprintf(protocol.szProtocol, sizeof(protocol.szProtocol), "%s provider %d",
                      index == kFakeTcpIndex ? "TCP" : "UDP", index);
    }
    return kFakeProviderCount;
}

} // namespace

TEST(NetworkObject, HiddenWindowOfItsClassLivesOnTheObjectsThread)
{
    auto object = StartObject();
    ASSERT_TRUE(object);
    const HWND window = object->GetHWND();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_EQ(GetWindowThreadProcessId(window, nullptr), object->GetThreadIdObject());
    char name[128] = {};
    GetClassNameA(window, name, sizeof(name));
    EXPECT_STREQ(name, kWindowClassName);

    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    ASSERT_TRUE(GetClassInfoExA(GetModuleHandleA(nullptr), kWindowClassName, &windowClass));
    EXPECT_EQ(windowClass.style, 0x3008u);
    EXPECT_EQ(windowClass.cbClsExtra, 0);
    EXPECT_EQ(windowClass.cbWndExtra, 0);
    EXPECT_EQ(windowClass.hIcon, nullptr);
    EXPECT_EQ(windowClass.hCursor, LoadCursorA(nullptr, IDC_ARROW));
    EXPECT_EQ(windowClass.hbrBackground, reinterpret_cast<HBRUSH>(1));
    EXPECT_EQ(windowClass.lpszMenuName, nullptr);

    // Asked for 20 x 20; the system makes an overlapped window no smaller than its least tracking size.
    RECT rect = {};
    GetWindowRect(window, &rect);
    EXPECT_EQ(rect.right - rect.left, std::max(20, GetSystemMetrics(SM_CXMINTRACK)));
    EXPECT_EQ(rect.bottom - rect.top, std::max(20, GetSystemMetrics(SM_CYMINTRACK)));
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST(NetworkObject, RegistersThirtyOneOperationsAfterTheGivenPattern)
{
    ObjectNetwork1 object;
    EXPECT_EQ(object.GetNetworkOperationMessage(ObjectNetwork1::CodeConnect),
              RegisterWindowMessageA("GWM_Connect_NetworkObject1,                      D.U.R.M.I.X., 06.12.2003-14.36.20"));
    std::set<UINT> messages;
    for (uint32_t code = 0; code < ObjectNetwork1::kNumberOperations; ++code)
        messages.insert(object.GetNetworkOperationMessage(code));
    EXPECT_EQ(messages.size(), ObjectNetwork1::kNumberOperations);
    EXPECT_EQ(messages.count(0u), 0u);
    EXPECT_EQ(object.GetNetworkOperationMessage(ObjectNetwork1::kNumberOperations), 0u);
}

// Mend: the object starts Winsock itself; before, every call failed with WSANOTINITIALISED.
TEST(NetworkObject, StartsWinsockItselfAndChoosesAStreamProtocolOverTcp)
{
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET) << "the test has not started Winsock";
    EXPECT_EQ(WSAGetLastError(), WSANOTINITIALISED);

    auto object = StartObject();
    ASSERT_TRUE(object);
    WSAPROTOCOL_INFOA protocol = {};
    ASSERT_EQ(object->GetNetworkProtocol(&protocol), S_OK);
    EXPECT_NE(strstr(protocol.szProtocol, "TCP"), nullptr) << protocol.szProtocol;
    EXPECT_NE(protocol.dwServiceFlags1 & (XP1_GUARANTEED_DELIVERY | XP1_GUARANTEED_ORDER), 0u);
    EXPECT_EQ(protocol.iSocketType, SOCK_STREAM);
    // The start-up made a socket: the idle state, and Terminate finds a socket to close.
    EXPECT_EQ(StateOf(*object), NetworkStateIdle);
    EXPECT_EQ(object->Terminate(), S_OK);
    EXPECT_EQ(object->Terminate(), E_FAIL) << "no socket any more";
    EXPECT_EQ(object->CreateSocket(), S_OK);

    object.reset();
    EXPECT_EQ(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP), INVALID_SOCKET) << "the object cleaned up what it started";
}

// Mend: the protocol table is as large as the enumeration asks for, not a fixed 32 entries.
TEST(NetworkObject, ProtocolTableHoldsEveryProviderTheHostHas)
{
    auto object = StartObject();
    ASSERT_TRUE(object);
    ObjectNetwork1::SetEnumProtocolsForTest(&EnumerateManyProviders);
    const HRESULT result = object->SetBestNetworkProtocol();
    ObjectNetwork1::SetEnumProtocolsForTest(nullptr);
    EXPECT_EQ(result, S_OK);
    WSAPROTOCOL_INFOA protocol = {};
    ASSERT_EQ(object->GetNetworkProtocol(&protocol), S_OK);
    EXPECT_STREQ(protocol.szProtocol, "TCP provider 37");
}

TEST(NetworkObject, AddressesTakeTheirPortsInHostByteOrder)
{
    auto object = StartObject();
    ASSERT_TRUE(object);
    const sockaddr_in loopback = LoopbackAddress(4321);
    ASSERT_EQ(object->SetSocketAddress(&loopback), S_OK);
    // An address of 0 keeps the address there and takes only the port.
    sockaddr_in anyAddress = LoopbackAddress(1234);
    anyAddress.sin_addr.s_addr = 0;
    ASSERT_EQ(object->SetSocketAddress(&anyAddress), S_OK);
    sockaddr_in stored = {};
    ASSERT_EQ(object->GetSocketAddress(&stored), S_OK);
    EXPECT_EQ(stored.sin_port, htons(1234));
    EXPECT_EQ(stored.sin_addr.s_addr, htonl(INADDR_LOOPBACK));

    sockaddr_in target = LoopbackAddress(5678);
    target.sin_family = AF_UNSPEC;
    ASSERT_EQ(object->SetConnectAddress(&target), S_OK);
    ASSERT_EQ(object->GetConnectAddress(&stored), S_OK);
    EXPECT_EQ(stored.sin_port, htons(5678));
    EXPECT_EQ(stored.sin_family, AF_INET) << "the chosen protocol's family";
    EXPECT_EQ(stored.sin_addr.s_addr, htonl(INADDR_LOOPBACK));
}

TEST(NetworkObject, ServerAndClientPassThroughTheirStates)
{
    WinsockScope winsock;
    const uint16_t port = FreeLoopbackPort();
    auto server = StartObject();
    auto client = StartObject();
    ASSERT_TRUE(server && client);
    EXPECT_EQ(StateOf(*server), NetworkStateIdle);

    ASSERT_TRUE(StartServer(*server, port));
    ExpectRolesRefused(*server, NetworkStateListening);

    ASSERT_TRUE(StartClient(*client, port));
    // The connect notification may already have come.
    const int32_t connecting = StateOf(*client);
    EXPECT_TRUE(connecting == NetworkStateConnecting || connecting == NetworkStateClientConnected) << connecting;
    ASSERT_TRUE(WaitForState(*client, NetworkStateClientConnected));
    ASSERT_TRUE(WaitForState(*server, NetworkStateServerConnected));
    ExpectRolesRefused(*client, NetworkStateClientConnected);
    ExpectRolesRefused(*server, NetworkStateServerConnected);

    sockaddr_in peer = {};
    ASSERT_EQ(server->GetPeerAddress(&peer), S_OK);
    EXPECT_EQ(peer.sin_family, AF_INET);
    EXPECT_EQ(peer.sin_addr.s_addr, htonl(INADDR_LOOPBACK));

    EXPECT_EQ(client->Terminate(), S_OK);
    EXPECT_EQ(StateOf(*client), NetworkStateIdle);
}

TEST(NetworkObject, ClientStaysConnectingUntilTheServerTakesItsConnection)
{
    WinsockScope winsock;
    const uint16_t port = FreeLoopbackPort();
    TestListener listener(port, 0);
    TestStream waiting = TestStream::Connect(port);
    ASSERT_TRUE(waiting.IsOpen()) << "the server's queue is full now";
    auto client = StartObject();
    ASSERT_TRUE(client);
    ASSERT_TRUE(StartClient(*client, port));
    Sleep(300);
    EXPECT_EQ(StateOf(*client), NetworkStateConnecting);
    TestStream first = listener.Accept();
    TestStream second = listener.Accept();
    EXPECT_TRUE(second.IsOpen());
    EXPECT_TRUE(WaitForState(*client, NetworkStateClientConnected));
}

TEST(NetworkObject, RefusedConnectionLeavesTheClientWaitingToRetry)
{
    WinsockScope winsock;
    const uint16_t port = FreeLoopbackPort();
    auto client = StartObject();
    ASSERT_TRUE(client);
    const sockaddr_in local = LoopbackAddress(0);
    const sockaddr_in target = LoopbackAddress(port);
    ASSERT_EQ(client->SetSocketAddress(&local), S_OK);
    ASSERT_EQ(client->SafeBindSocketToAddress(), S_OK);
    ASSERT_EQ(client->SetConnectAddress(&target), S_OK);
    client->Connect();
    EXPECT_TRUE(WaitForState(*client, NetworkStateClientNotConnected));
    ExpectRolesRefused(*client, NetworkStateClientNotConnected);
}
