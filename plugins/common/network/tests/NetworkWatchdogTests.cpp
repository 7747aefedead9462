// Connections set up again: after a silence (the watchdog, on the manual clock) and after the
// peer closed; notifications of sockets that are not the object's.
#include "NetworkTestPeer.h"

#include "LogCapture.h"
#include "ManualTestClock.h"

#include <gtest/gtest.h>

namespace {

constexpr size_t kLargePayload = 16 * 1024 * 1024;

void RunWatchdog(ObjectNetwork1& object)
{
    SendMessageA(object.GetHWND(), WM_TIMER, ObjectNetwork1::kWatchdogTimerId, 0);
}

// The watchdog leaves a quiet connection alone until the silence reaches the limit.
void ExpectSilenceLimit(ObjectNetwork1& object, ManualTestClock& clock, uint64_t limit, int32_t connected)
{
    clock.Advance(static_cast<int64_t>(limit) - 1);
    RunWatchdog(object);
    EXPECT_EQ(StateOf(object), connected) << "one unit short of the limit";
    clock.Advance(1);
    RunWatchdog(object);
}

class NetworkWatchdogTest : public testing::Test
{
protected:
    ManualTestClock m_clock;
    WinsockScope m_winsock;
    uint16_t m_port = FreeLoopbackPort();
};

} // namespace

// Mend: a message still pending when the connection is set up again goes out whole from its
// header, numbered on the new connection.
TEST_F(NetworkWatchdogTest, SilentClientConnectsAgainAndSendsThePendingMessageWhole)
{
    TestListener listener(m_port);
    listener.SetReceiveBuffer(4096);
    TestStream first;
    auto object = StartConnectedClient(listener, m_port, first);
    ASSERT_TRUE(object);
    const Bytes warmUp = PatternBytes(10, 1);
    ASSERT_EQ(object->SetBufferForSend(warmUp.data(), 10), S_OK);
    ASSERT_EQ(object->RunSendNetworkOperation(), S_OK);
    ASSERT_EQ(first.Receive(kHeaderBytes + 10).size(), kHeaderBytes + 10);

    const Bytes payload = PatternBytes(kLargePayload, 2);
    ASSERT_EQ(object->SetBufferForSend(payload.data(), static_cast<int32_t>(payload.size())), S_OK);
    ASSERT_EQ(object->RunSendNetworkOperation(), S_OK);
    ASSERT_EQ(first.Receive(1000).size(), 1000u) << "part of the message went to the first peer";
    ASSERT_TRUE(IsMessagePending(*object));

    // Each part the first peer makes room for counts as activity: the silence is measured from the
    // last, so the clock moves on until the watchdog finds one silence long enough.
    TestStream second;
    ASSERT_TRUE(WaitUntil([&] {
        m_clock.Advance(static_cast<int64_t>(ObjectNetwork1::kClientSilenceLimit));
        RunWatchdog(*object);
        second = listener.Accept(2000);
        return second.IsOpen();
    }));
    ASSERT_TRUE(WaitForState(*object, NetworkStateClientConnected));
    second.SetReceiveBuffer(4 * 1024 * 1024);
    const Bytes message = second.Receive(kHeaderBytes + payload.size());
    ASSERT_EQ(message.size(), kHeaderBytes + payload.size());
    EXPECT_EQ(ReadWord(message, 72), 0u) << "numbered on the new connection";
    EXPECT_EQ(ReadWord(message, 84), payload.size());
    EXPECT_TRUE(Bytes(message.begin(), message.begin() + 57) == Bytes(kNetworkSignature, kNetworkSignature + 57));
    EXPECT_TRUE(Bytes(message.begin() + kHeaderBytes, message.end()) == payload);
    EXPECT_TRUE(WaitUntil([&] { return !IsMessagePending(*object); }));
}

TEST_F(NetworkWatchdogTest, SilentServerListensAgain)
{
    TestStream first;
    auto object = StartConnectedServer(m_port, first);
    ASSERT_TRUE(object);

    ExpectSilenceLimit(*object, m_clock, ObjectNetwork1::kServerSilenceLimit, NetworkStateServerConnected);
    EXPECT_EQ(StateOf(*object), NetworkStateListening);
    EXPECT_TRUE(first.WaitForClose()) << "the old connection was closed";
    TestStream second = TestStream::Connect(m_port);
    ASSERT_TRUE(second.IsOpen());
    EXPECT_TRUE(WaitForState(*object, NetworkStateServerConnected));
}

TEST_F(NetworkWatchdogTest, PeerThatClosesIsConnectedToAgain)
{
    TestListener listener(m_port);
    TestStream toClient;
    auto client = StartConnectedClient(listener, m_port, toClient);
    ASSERT_TRUE(client);
    toClient.Close();
    toClient = listener.Accept();
    EXPECT_TRUE(toClient.IsOpen()) << "the client connected again";
    EXPECT_TRUE(WaitForState(*client, NetworkStateClientConnected));

    const uint16_t serverPort = FreeLoopbackPort();
    TestStream toServer;
    auto server = StartConnectedServer(serverPort, toServer);
    ASSERT_TRUE(server);
    toServer.Close();
    EXPECT_TRUE(WaitForState(*server, NetworkStateListening)) << "the server listens again";
    toServer = TestStream::Connect(serverPort);
    EXPECT_TRUE(WaitForState(*server, NetworkStateServerConnected));
}

TEST_F(NetworkWatchdogTest, NotificationOfAnotherSocketChangesNothing)
{
    TestListener listener(m_port);
    TestStream peer;
    auto object = StartConnectedClient(listener, m_port, peer);
    ASSERT_TRUE(object);

    LogCapture log;
    const SOCKET foreign = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    for (const UINT message : {kNetworkMessageSocketEvent, kNetworkMessageConnectEvent}) {
        for (const int event : {FD_CLOSE, FD_CONNECT, FD_ACCEPT, FD_READ}) {
            EXPECT_EQ(SendMessageA(object->GetHWND(), message, static_cast<WPARAM>(foreign), WSAMAKESELECTREPLY(event, 0)), 0);
            EXPECT_EQ(StateOf(*object), NetworkStateClientConnected);
        }
    }
    closesocket(foreign);
    EXPECT_TRUE(log.Contains("socket event of another socket"));
    // The connection still carries messages.
    const Bytes payload = PatternBytes(30, 4);
    ASSERT_EQ(object->SetBufferForSend(payload.data(), 30), S_OK);
    ASSERT_EQ(object->RunSendNetworkOperation(), S_OK);
    EXPECT_EQ(peer.Receive(kHeaderBytes + 30).size(), kHeaderBytes + 30);
}
