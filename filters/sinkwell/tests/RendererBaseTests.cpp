#include "RendererBase.h"
#include "SinkwellGraphFixture.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

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

    TestVideoType type{MEDIASUBTYPE_YUY2, 32, 8, 16, MAKEFOURCC('Y', 'U', 'Y', '2')};
    SmartComPointer<IGraphBuilder> graph;
    SmartComPointer<IMediaControl> control;
    TestPushSource* source = nullptr;
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
