#include "RendererBase.h"
#include "SinkwellGraphFixture.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// {C1D6E6D0-5B2A-4F0E-9E59-3C1E3B7A2F11}: a class id for the test renderer only.
constexpr CLSID kFailingRendererId = {0xC1D6E6D0, 0x5B2A, 0x4F0E, {0x9E, 0x59, 0x3C, 0x1E, 0x3B, 0x7A, 0x2F, 0x11}};

// A renderer whose sample handler always fails.
class FailingRenderer final : public RendererFilterBase
{
public:
    FailingRenderer() : RendererFilterBase(kFailingRendererId, nullptr, L"In") {}

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return type != nullptr ? S_OK : S_FALSE; }
    std::span<const RendererMediaType> OfferedMediaTypes() const override { return {}; }
    HRESULT DoRenderSample(IMediaSample*) override
    {
        ++m_handled;
        return E_FAIL;
    }

    LONG m_handled = 0;
};

// A renderer that counts the samples it renders.
class CountingRenderer final : public RendererFilterBase
{
public:
    CountingRenderer() : RendererFilterBase(kFailingRendererId, nullptr, L"In") {}

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return type != nullptr ? S_OK : S_FALSE; }
    std::span<const RendererMediaType> OfferedMediaTypes() const override { return {}; }
    HRESULT DoRenderSample(IMediaSample*) override
    {
        ++m_rendered;
        return S_OK;
    }

    std::atomic<LONG> m_rendered{0};
};

// A renderer whose input ends while the graph is starting to run: the end of stream reaches the
// pin after Run has begun but before the running state is visible to the streaming side.
class EndOfStreamDuringRunRenderer final : public RendererFilterBase
{
public:
    EndOfStreamDuringRunRenderer() : RendererFilterBase(kFailingRendererId, nullptr, L"In") {}

    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override { return type != nullptr ? S_OK : S_FALSE; }
    std::span<const RendererMediaType> OfferedMediaTypes() const override { return {}; }
    HRESULT DoRenderSample(IMediaSample*) override { return S_OK; }
    HRESULT OnStartStreaming() override { return InputPin().EndOfStream(); }
};

// A graph with a test push source connected straight to the renderer under test, YUY2 32x8.
struct PushSourceGraph
{
    // Builds the graph; the caller checks for a fatal failure afterwards.
    void Connect(RendererFilterBase* renderer)
    {
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                   graph.ReceiveVoidSlot()),
                  S_OK);
        source = TestPushSource::Create(type.type, 512);
        ASSERT_EQ(graph->AddFilter(renderer, L"Renderer under test"), S_OK);
        ASSERT_EQ(graph->AddFilter(source, L"Test push source"), S_OK);
        ASSERT_EQ(graph->ConnectDirect(source->OutputPin(), &renderer->InputPin(), &type.type), S_OK);
        ASSERT_EQ(graph->QueryInterface(IID_IMediaControl, control.ReceiveVoidSlot()), S_OK);
    }
    // Stops the graph and lets the source go.
    void StopAndDisconnect()
    {
        control->Stop();
        EXPECT_EQ(source->OutputPin()->Disconnect(), S_OK);
        source->Release();
    }

    // Samples are rendered as they come, without a clock.
    void RemoveClock()
    {
        SmartComPointer<IMediaFilter> filter;
        ASSERT_EQ(graph->QueryInterface(IID_IMediaFilter, filter.ReceiveVoidSlot()), S_OK);
        ASSERT_EQ(filter->SetSyncSource(nullptr), S_OK);
    }
    // Pushes one sample on a thread of its own; its answer lands in the result.
    std::thread PushOnAnotherThread(HRESULT& result)
    {
        return std::thread([this, &result] { result = source->Push(bytes.data(), 512); });
    }

    TestVideoType type{MEDIASUBTYPE_YUY2, 32, 8, 16, MAKEFOURCC('Y', 'U', 'Y', '2')};
    const std::vector<uint8_t> bytes = std::vector<uint8_t>(512, 7);
    SmartComPointer<IGraphBuilder> graph;
    SmartComPointer<IMediaControl> control;
    TestPushSource* source = nullptr;
};

// Holds a test renderer for the span of a test.
template <class Renderer>
struct HeldRenderer
{
    HeldRenderer() { renderer->NonDelegatingAddRef(); }
    ~HeldRenderer() { renderer->NonDelegatingRelease(); }
    Renderer* renderer = new Renderer();
};

} // namespace

// The handler's failure is logged and the sample dropped; the upstream thread is told success,
// so it goes on delivering.
TEST(RendererBase, AFailingSampleHandlerDoesNotStopTheUpstreamThread)
{
    auto* renderer = new FailingRenderer();
    renderer->NonDelegatingAddRef();
    {
        PushSourceGraph test;
        ASSERT_NO_FATAL_FAILURE(test.Connect(renderer));
        SmartComPointer<IMediaFilter> clock;
        ASSERT_EQ(test.graph->QueryInterface(IID_IMediaFilter, clock.ReceiveVoidSlot()), S_OK);
        ASSERT_EQ(clock->SetSyncSource(nullptr), S_OK);
        ASSERT_TRUE(SUCCEEDED(test.control->Run()));

        LogCapture log;
        const std::vector<uint8_t> bytes(512, 7);
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(test.source->Push(bytes.data(), 512), S_OK) << i;
        EXPECT_EQ(renderer->m_handled, 3);
        EXPECT_TRUE(log.Contains("DoRenderSample failed"));

        test.StopAndDisconnect();
    }
    renderer->NonDelegatingRelease();
}

// An end of stream that arrives while Run is under way still completes the graph.
TEST(RendererBase, EndOfStreamDuringRunIsNotLost)
{
    auto* renderer = new EndOfStreamDuringRunRenderer();
    renderer->NonDelegatingAddRef();
    {
        PushSourceGraph test;
        ASSERT_NO_FATAL_FAILURE(test.Connect(renderer));
        SmartComPointer<IMediaEvent> events;
        ASSERT_EQ(test.graph->QueryInterface(IID_IMediaEvent, events.ReceiveVoidSlot()), S_OK);
        // Paused first, so the end of stream finds the renderer paused, not stopped.
        ASSERT_TRUE(SUCCEEDED(test.control->Pause()));
        ASSERT_TRUE(SUCCEEDED(test.control->Run()));

        long code = 0;
        EXPECT_EQ(events->WaitForCompletion(5000, &code), S_OK);
        EXPECT_EQ(code, EC_COMPLETE);

        test.StopAndDisconnect();
    }
    renderer->NonDelegatingRelease();
}

// A counting renderer fed by the push source without a clock, paused, with one sample pushed on
// a thread of its own and waiting inside Receive.
class PausedWithASampleWaiting : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(m_test.Connect(m_held.renderer));
        ASSERT_NO_FATAL_FAILURE(m_test.RemoveClock());
        ASSERT_TRUE(SUCCEEDED(m_test.control->Pause()));
        m_upstream = m_test.PushOnAnotherThread(m_pushed);
        while (m_held.renderer->CountWaitingReceives() == 0)
            Sleep(1);
    }
    void TearDown() override
    {
        if (m_upstream.joinable()) {
            m_test.control->Stop();
            m_upstream.join();
        }
        m_test.StopAndDisconnect();
    }
    LONG Rendered() const { return m_held.renderer->m_rendered; }

    HeldRenderer<CountingRenderer> m_held;
    PushSourceGraph m_test;
    HRESULT m_pushed = E_UNEXPECTED;
    std::thread m_upstream;
};

// A flush releases the waiting Receive; during the flush samples are refused with S_FALSE; after
// it they are rendered again.
TEST_F(PausedWithASampleWaiting, FlushReleasesTheReceiveAndRefusesSamplesUntilItEnds)
{
    EXPECT_EQ(m_held.renderer->InputPin().BeginFlush(), S_OK);
    m_upstream.join();
    EXPECT_EQ(m_pushed, S_OK);
    EXPECT_EQ(m_test.source->Push(m_test.bytes.data(), 512), S_FALSE);
    EXPECT_EQ(m_held.renderer->InputPin().EndFlush(), S_OK);
    EXPECT_EQ(Rendered(), 0);
    ASSERT_TRUE(SUCCEEDED(m_test.control->Run()));
    EXPECT_EQ(m_test.source->Push(m_test.bytes.data(), 512), S_OK);
    EXPECT_EQ(Rendered(), 1);
}

// The sample waits until the graph runs, then it is rendered.
TEST_F(PausedWithASampleWaiting, RunRendersTheHeldSample)
{
    EXPECT_EQ(Rendered(), 0);
    ASSERT_TRUE(SUCCEEDED(m_test.control->Run()));
    m_upstream.join();
    EXPECT_EQ(m_pushed, S_OK);
    EXPECT_EQ(Rendered(), 1);
}

// Stop lets go of the waiting Receive and of an upstream thread that waits in GetBuffer for the
// only buffer, which the waiting sample holds.
TEST_F(PausedWithASampleWaiting, StopReleasesTheThreadsInReceiveAndInGetBuffer)
{
    HRESULT second = E_UNEXPECTED;
    std::thread blocked = m_test.PushOnAnotherThread(second);
    ASSERT_TRUE(SUCCEEDED(m_test.control->Stop()));
    m_upstream.join();
    blocked.join();
    EXPECT_EQ(m_pushed, S_OK);
    EXPECT_TRUE(FAILED(second));
    EXPECT_EQ(Rendered(), 0);
}

// The connection changes only while the filter is stopped.
TEST(RendererBase, ConnectionChangesOnlyWhenStopped)
{
    HeldRenderer<CountingRenderer> connected;
    HeldRenderer<CountingRenderer> spare;
    PushSourceGraph test;
    ASSERT_NO_FATAL_FAILURE(test.Connect(connected.renderer));
    ASSERT_TRUE(SUCCEEDED(test.control->Pause()));
    EXPECT_EQ(connected.renderer->InputPin().Disconnect(), VFW_E_NOT_STOPPED);
    ASSERT_EQ(spare.renderer->Pause(), S_OK);
    EXPECT_EQ(spare.renderer->InputPin().ReceiveConnection(test.source->OutputPin(), &test.type.type), VFW_E_NOT_STOPPED);
    ASSERT_EQ(spare.renderer->Stop(), S_OK);
    ASSERT_TRUE(SUCCEEDED(test.control->Stop()));
    EXPECT_EQ(connected.renderer->InputPin().Disconnect(), S_OK);
    EXPECT_EQ(connected.renderer->InputPin().Disconnect(), S_FALSE);
    test.StopAndDisconnect();
}
