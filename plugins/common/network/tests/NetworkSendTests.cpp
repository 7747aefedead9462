// Sending: the header bytes on the wire, the one-message queue, a send that blocks part-way.
#include "NetworkTestPeer.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr size_t kLargePayload = 16 * 1024 * 1024;

// A client object connected to a raw listener of the test.
class NetworkSendTest : public testing::Test
{
protected:
    void Connect(int peerReceiveBuffer = 0)
    {
        if (peerReceiveBuffer > 0)
            m_listener.SetReceiveBuffer(peerReceiveBuffer);
        m_object = StartConnectedClient(m_listener, m_port, m_peer);
        ASSERT_TRUE(m_object);
    }

    // Queues and sends one message; its bytes as the peer receives them.
    Bytes SendAndReceive(const Bytes& payload)
    {
        EXPECT_EQ(m_object->SetBufferForSend(payload.data(), static_cast<int32_t>(payload.size())), S_OK);
        EXPECT_EQ(m_object->RunSendNetworkOperation(), S_OK);
        return m_peer.Receive(kHeaderBytes + payload.size());
    }

    WinsockScope m_winsock;
    uint16_t m_port = FreeLoopbackPort();
    TestListener m_listener{m_port};
    std::unique_ptr<ObjectNetwork1> m_object;
    TestStream m_peer;
};

void ExpectHeader(const Bytes& message, uint32_t number, const Bytes& payload)
{
    ASSERT_EQ(message.size(), kHeaderBytes + payload.size());
    EXPECT_EQ(memcmp(message.data(), kNetworkSignature, 57), 0);
    for (size_t offset = 57; offset < 64; ++offset)
        EXPECT_EQ(message[offset], 0) << "signature field byte " << offset;
    EXPECT_EQ(ReadWord(message, 64), 2u) << "version";
    EXPECT_EQ(ReadWord(message, 68), 0u) << "bytes 68-71";
    EXPECT_EQ(ReadWord(message, 72), number) << "message number, low word";
    EXPECT_EQ(ReadWord(message, 76), 0u) << "message number, high word";
    EXPECT_EQ(ReadWord(message, 80), 96u) << "header size";
    EXPECT_EQ(ReadWord(message, 84), payload.size()) << "payload length";
    EXPECT_EQ(ReadWord(message, 88), 0u) << "bytes 88-91";
    EXPECT_EQ(ReadWord(message, 92), 0u) << "bytes 92-95";
    EXPECT_TRUE(Bytes(message.begin() + kHeaderBytes, message.end()) == payload) << "payload";
}

} // namespace

// Mend: the whole header is zeroed before it is filled.
TEST_F(NetworkSendTest, HeadersCarryTheirFieldsAndNumbersCountPerConnection)
{
    Connect();
    SentNotificationWindow notifications;
    ASSERT_EQ(m_object->SetHWNDForNetworkMessage(notifications.Window()), S_OK);

    const Bytes first = PatternBytes(300, 1);
    ExpectHeader(SendAndReceive(first), 0, first);
    EXPECT_TRUE(notifications.WaitForNotifications(*m_object, 1));
    // A smaller message reuses the send block.
    const Bytes second = PatternBytes(5, 2);
    ExpectHeader(SendAndReceive(second), 1, second);
    EXPECT_TRUE(notifications.WaitForNotifications(*m_object, 2));
    uint64_t sent = 0;
    ASSERT_EQ(m_object->GetNowNumberMessage(&sent), S_OK);
    EXPECT_EQ(sent, 2u);

    // The peer goes away: the object connects again and counts from 0.
    m_peer.Close();
    m_peer = m_listener.Accept();
    ASSERT_TRUE(m_peer.IsOpen());
    ASSERT_TRUE(WaitForState(*m_object, NetworkStateClientConnected));
    const Bytes third = PatternBytes(40, 3);
    ExpectHeader(SendAndReceive(third), 0, third);
}

TEST_F(NetworkSendTest, QueueHoldsOneMessageAndRefusesEmptyOrBadPayloads)
{
    Connect();
    const Bytes payload = PatternBytes(100, 4);
    EXPECT_EQ(m_object->SetBufferForSend(payload.data(), 0), S_OK);
    EXPECT_FALSE(IsMessagePending(*m_object)) << "an empty payload is not queued";
    EXPECT_EQ(m_object->SetBufferForSend(nullptr, 5), E_INVALIDARG);
    EXPECT_EQ(m_object->SetBufferForSend(payload.data(), -1), E_INVALIDARG);
    EXPECT_EQ(m_object->SetBufferForSend(payload.data(), INT32_MAX - 95), E_INVALIDARG);
    EXPECT_FALSE(IsMessagePending(*m_object));

    ASSERT_EQ(m_object->SetBufferForSend(payload.data(), 100), S_OK);
    int32_t pending = 0;
    ASSERT_EQ(m_object->GetSizeUnSendData(&pending), S_OK);
    EXPECT_EQ(pending, 196);
    const Bytes other = PatternBytes(50, 5);
    EXPECT_EQ(m_object->SetBufferForSend(other.data(), 50), S_OK);
    ASSERT_EQ(m_object->GetSizeUnSendData(&pending), S_OK);
    EXPECT_EQ(pending, 196) << "the second payload is refused while the first is pending";

    ASSERT_EQ(m_object->RunSendNetworkOperation(), S_OK);
    ExpectHeader(m_peer.Receive(196), 0, payload);
    EXPECT_TRUE(m_peer.Receive(1, 300).empty()) << "nothing else was sent";
    EXPECT_TRUE(WaitUntil([&] { return !IsMessagePending(*m_object); }));
}

TEST_F(NetworkSendTest, SendThatBlocksPartWayFinishesWithEachByteOnce)
{
    Connect(4096);
    SentNotificationWindow notifications;
    ASSERT_EQ(m_object->SetHWNDForNetworkMessage(notifications.Window()), S_OK);
    const Bytes payload = PatternBytes(kLargePayload, 6);
    ASSERT_EQ(m_object->SetBufferForSend(payload.data(), static_cast<int32_t>(payload.size())), S_OK);
    ASSERT_EQ(m_object->RunSendNetworkOperation(), S_OK);

    Bytes message = m_peer.Receive(1000);
    ASSERT_EQ(message.size(), 1000u);
    EXPECT_TRUE(IsMessagePending(*m_object)) << "the peer holds back: the send blocked part-way";

    m_peer.SetReceiveBuffer(4 * 1024 * 1024);
    const Bytes rest = m_peer.Receive(kHeaderBytes + payload.size() - message.size());
    ASSERT_FALSE(rest.empty());
    message.insert(message.end(), rest.begin(), rest.end());
    ExpectHeader(message, 0, payload);
    EXPECT_TRUE(notifications.WaitForNotifications(*m_object, 1));
    EXPECT_FALSE(IsMessagePending(*m_object));
    EXPECT_TRUE(m_peer.Receive(1, 300).empty()) << "no byte was sent twice";
}
