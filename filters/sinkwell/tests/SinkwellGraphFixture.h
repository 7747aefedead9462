// Shared set-up of the sink filter tests: COM, the filter registered in the test prefix, lookup
// by friendly name, and graphs that end in the filter.
#pragma once

#include "RendererBase.h"
#include "Sinkwell1Interfaces.h"
#include "SmartComPointer.h"
#include "TestPushSource.h"

#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <windows.h>
#include <dshow.h>

#include <cstdint>
#include <vector>

// Frame state words, as values (the class's constants live in the shared library).
constexpr uint32_t kFrameStateEmpty = InfoCallInterfaceDataPath1::kStateEmpty;
constexpr uint32_t kFrameStateFrame = InfoCallInterfaceDataPath1::kStateFrame;

// The COM server module the tests register, loaded from the binary folder.
HMODULE SinkwellModule();
HRESULT CallSinkwellExport(const char* name);

// The filter registered under the friendly name in the legacy filter category, or null.
HRESULT CreateSinkByFriendlyName(IBaseFilter** filter);

// Plays nothing by itself: holds a graph that ends in the sink, and releases it on destruction.
class SinkGraph
{
public:
    SinkGraph();
    ~SinkGraph();
    SinkGraph(const SinkGraph&) = delete;
    SinkGraph& operator=(const SinkGraph&) = delete;

    // A live-like source that delivers the samples the test pushes, with this connection type.
    HRESULT ConnectPushSource(const AM_MEDIA_TYPE& type, long bufferSize);
    // A file source; the graph brings the splitter in between.
    HRESULT ConnectFile(const wchar_t* path);
    // Plays as fast as samples come, without a clock.
    HRESULT RemoveClock();

    HRESULT Run() { return m_control->Run(); }
    HRESULT Stop() { return m_control->Stop(); }
    // The event code, or 0 when none came in time.
    long WaitForCompletion(long milliseconds);
    // GetData into the frame.
    HRESULT GetData(InfoDataBufferPath1& frame) { return m_exchange->GetData(&frame); }

    ISinkwellSampleExchange* Exchange() { return m_exchange.Get(); }
    ISinkwellProcessorMode* ProcessorMode() { return m_processorMode.Get(); }
    IBaseFilter* Sink() { return m_sink.Get(); }
    // The filter object behind the interface (the base comes first in its layout).
    RendererFilterBase* Renderer() { return static_cast<RendererFilterBase*>(m_sink.Get()); }
    IPin* SinkPin() { return m_sinkPin.Get(); }
    TestPushSource* PushSource() { return m_pushSource; }
    HRESULT Status() const { return m_status; }

private:
    HRESULT m_status = S_OK;
    SmartComPointer<IGraphBuilder> m_graph;
    SmartComPointer<IMediaControl> m_control;
    SmartComPointer<IMediaEvent> m_events;
    SmartComPointer<IBaseFilter> m_sink;
    SmartComPointer<IPin> m_sinkPin;
    SmartComPointer<ISinkwellSampleExchange> m_exchange;
    SmartComPointer<ISinkwellProcessorMode> m_processorMode;
    TestPushSource* m_pushSource = nullptr;
};

// A video type with a VIDEOINFOHEADER format block, which a test may reshape.
struct TestVideoType
{
    TestVideoType(const GUID& subtype, int32_t width, int32_t height, WORD bitCount, DWORD compression);
    TestVideoType(const TestVideoType&) = delete;
    TestVideoType& operator=(const TestVideoType&) = delete;
    // Once, on a fresh type: rebuilds the block as this format type (VIDEOINFOHEADER or VIDEOINFOHEADER2 layout, same
    // bitmap header) and cuts or pads it to the given size.
    void UseFormat(const GUID& formatType, size_t bytes);

    AM_MEDIA_TYPE type{};
    std::vector<BYTE> format;
};
