// Receiving: messages found after garbage and broken headers, split headers, small destinations
// and the overflow of the receive block.
#include "NetworkTestPeer.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace {

const char kSkipLog[] = "reciving uncorrect network header for simple object, skip data";

// A server object with a raw client of the test connected to it.
class NetworkReceiveTest : public testing::Test
{
protected:
    void SetUp() override
    {
        m_object = StartConnectedServer(m_port, m_peer);
        ASSERT_TRUE(m_object);
    }

    int32_t ReceivedSize()
    {
        int32_t size = -1;
        m_object->GetSizeRecivedData(&size);
        return size;
    }

    WinsockScope m_winsock;
    uint16_t m_port = FreeLoopbackPort();
    std::unique_ptr<ObjectNetwork1> m_object;
    TestStream m_peer;
};

HeaderFields WithVersion(int32_t version)
{
    HeaderFields fields;
    fields.m_version = version;
    return fields;
}

HeaderFields WithHeaderSize(int32_t size)
{
    HeaderFields fields;
    fields.m_size_header = size;
    return fields;
}

HeaderFields WithPayloadLength(int32_t length)
{
    HeaderFields fields;
    fields.m_size_payload = length;
    return fields;
}

struct StreamCase
{
    const char* m_what;
    Bytes m_before;
    bool m_skip_logged;
};

} // namespace

// Mend: a header counts only with its own size and a payload length the block can hold; a huge
// or negative length is skipped like any broken header, and nothing is copied past the block.
TEST_F(NetworkReceiveTest, MessageIsFoundBehindGarbageAndBrokenHeaders)
{
    const StreamCase cases[] = {
        {"ten bytes of garbage", PatternBytes(10, 9), false},
        {"a version-1 header", MakeMessage(PatternBytes(40, 1), WithVersion(1)), true},
        {"a version above the range", MakeMessage({}, WithVersion(0x0F000000)), true},
        {"a huge payload length", MakeMessage({}, WithPayloadLength(0x7FFFFFF0)), true},
        {"a negative payload length", MakeMessage({}, WithPayloadLength(-200)), true},
        {"a length beyond the largest block", MakeMessage({}, WithPayloadLength(ObjectNetwork1::kMaxReceiveCapacity)), true},
        {"a header size of 95", MakeMessage({}, WithHeaderSize(95)), true},
    };
    uint8_t seed = 20;
    for (const StreamCase& streamCase : cases) {
        SCOPED_TRACE(streamCase.m_what);
        LogCapture log;
        const Bytes payload = PatternBytes(700, seed++);
        ASSERT_TRUE(m_peer.SendAll(Concat(streamCase.m_before, MakeMessage(payload))));
        EXPECT_TRUE(TakeMessage(*m_object) == payload);
        EXPECT_EQ(log.Contains(kSkipLog), streamCase.m_skip_logged);
        EXPECT_EQ(ReceivedSize(), 0) << "nothing is left behind";
    }
}

TEST_F(NetworkReceiveTest, SplitHeaderWaitsForTheRest)
{
    LogCapture log;
    const Bytes payload = PatternBytes(200, 7);
    const Bytes message = MakeMessage(payload);
    auto part = [&](size_t from, size_t to) { return Bytes(message.begin() + from, message.begin() + to); };
    Bytes destination(1000);
    int32_t received = -1;
    auto takeNothing = [&] {
        return m_object->GetBufferForRecive(destination.data(), 1000, &received) == S_OK && received == 0;
    };

    // Split inside the signature: nothing to find yet.
    ASSERT_TRUE(m_peer.SendAll(Concat(PatternBytes(100, 8), part(0, 30))));
    ASSERT_TRUE(WaitUntil([&] { return ReceivedSize() == 130 - 96; }));
    EXPECT_TRUE(takeNothing());
    // The whole signature, not the whole header: the part moves to the front and waits.
    ASSERT_TRUE(m_peer.SendAll(part(30, 70)));
    ASSERT_TRUE(WaitUntil([&] { return takeNothing() && log.Contains("reciving break network struct::corrected"); }));
    EXPECT_EQ(ReceivedSize(), 0) << "the garbage in front went";

    ASSERT_TRUE(m_peer.SendAll(part(70, message.size())));
    EXPECT_TRUE(TakeMessage(*m_object) == payload);
}

// Mend: the destination is compared with the first message's payload, not with all the bytes held.
TEST_F(NetworkReceiveTest, SmallDestinationIsRefusedOnlyForALargerPayload)
{
    const Bytes first = PatternBytes(600, 1);
    const Bytes second = PatternBytes(600, 2);
    ASSERT_TRUE(m_peer.SendAll(Concat(MakeMessage(first), MakeMessage(second))));
    ASSERT_TRUE(WaitUntil([&] { return ReceivedSize() == 2 * 696 - 96; }));

    Bytes destination(700);
    int32_t received = 0;
    ASSERT_EQ(m_object->GetBufferForRecive(destination.data(), 700, &received), S_OK);
    ASSERT_EQ(received, 600);
    EXPECT_TRUE(Bytes(destination.begin(), destination.begin() + 600) == first);

    EXPECT_EQ(m_object->GetBufferForRecive(destination.data(), 599, &received), S_FALSE);
    EXPECT_EQ(received, 0);
    EXPECT_EQ(ReceivedSize(), 600) << "nothing was taken";
    ASSERT_EQ(m_object->GetBufferForRecive(destination.data(), 600, &received), S_OK);
    ASSERT_EQ(received, 600);
    EXPECT_TRUE(Bytes(destination.begin(), destination.begin() + 600) == second);
    EXPECT_EQ(m_object->GetBufferForRecive(nullptr, 600, &received), E_FAIL);
    EXPECT_EQ(m_object->GetBufferForRecive(destination.data(), -1, &received), E_FAIL);
}

TEST_F(NetworkReceiveTest, FullMebibyteBlockIsEmptiedAndReceivingGoesOn)
{
    LogCapture log;
    ASSERT_TRUE(m_peer.SendAll(Bytes(ObjectNetwork1::kMaxReceiveCapacity + 65536, 'x')));
    ASSERT_TRUE(WaitUntil([&] { return log.Contains("try reciving too large info, 1024 * 1024 bytes filled"); }));
    EXPECT_LT(ReceivedSize(), ObjectNetwork1::kMaxReceiveCapacity - kNetworkHeaderSize);

    // The rest of the garbage, then a message.
    const Bytes payload = PatternBytes(300, 3);
    ASSERT_TRUE(m_peer.SendAll(MakeMessage(payload)));
    ASSERT_EQ(m_object->RunRecvNetworkOperation(), S_OK);
    EXPECT_TRUE(TakeMessage(*m_object) == payload);
}
