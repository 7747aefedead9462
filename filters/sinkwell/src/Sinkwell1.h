// The sink filter at the end of every capture and file graph of the source plug-in: keeps the
// newest sample, thinned by a frame-rate gate, in one frame buffer and hands it over on request
// by swapping frame buffers.
//
// Locks, always taken in this order: the base's state lock, then the filter lock (the newest
// frame, the copy of the connection type, the gate and the options), then the base's stream lock.
// OnStartStreaming runs under the state lock and reads the connection type (stream lock) under
// the filter lock; DoRenderSample and GetData take the filter lock alone, briefly: a sample is
// copied outside it into a spare frame and swapped in, so GetData never waits for a copy.
#pragma once

#include "RendererBase.h"
#include "Sinkwell1Interfaces.h"

#include "ObjectControlFrameRate.h"
#include "ObjectDataPath1_InfoDataBufferPath1.h"

#include <cstdint>

class Sinkwell1 final : public RendererFilterBase, public ISinkwellSampleExchange, public ISinkwellProcessorMode
{
public:
    static constexpr float kMinFrameRate = 1.0f;
    static constexpr float kMaxFrameRate = 200.0f;

    // The object with no reference yet, or null with *result set (E_OUTOFMEMORY when the
    // allocation fails).
    static Sinkwell1* CreateInstance(IUnknown* outer, HRESULT* result);
    // The rate the gate gets: [1, 200]; a value that is not a number becomes 1.
    static float ClampFrameRate(float framesPerSecond);
    // The eight video types the pin takes, in the order it offers and registers them.
    static std::span<const RendererMediaType> AcceptedTypes();

    HRESULT NonDelegatingQueryInterface(REFIID riid, void** object) override;

    // IUnknown of the custom interfaces: the one object's controlling unknown.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override { return RendererFilterBase::QueryInterface(riid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return RendererFilterBase::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return RendererFilterBase::Release(); }

    // ISinkwellSampleExchange
    STDMETHODIMP GetData(InfoDataBufferPath1* frame) override;
    STDMETHODIMP SetOption(int index, int value) override;
    STDMETHODIMP GetTimeSinceLastSample(int64_t* milliseconds) override;
    STDMETHODIMP SetFrameRate(float framesPerSecond) override;

    // ISinkwellProcessorMode
    STDMETHODIMP SetCPUUsing(int mode) override;

    // Renderer
    HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
    std::span<const RendererMediaType> OfferedMediaTypes() const override;
    HRESULT DoRenderSample(IMediaSample* sample) override;
    HRESULT OnStartStreaming() override;
    HRESULT OnStopStreaming() override;

private:
    Sinkwell1(IUnknown* outer, HRESULT* result);
    ~Sinkwell1() override;

    struct SampleLayout
    {
        BITMAPINFOHEADER header{};
        GUID majorType = GUID_NULL;
        GUID subtype = GUID_NULL;
        int64_t width = 0;
        int64_t height = 0;
        int64_t stride = 0;
        int64_t size = 0;
        uint32_t bytesPerPixel = 0;
    };

    // The frame a sample of the connection's format makes; false when the format or the sample's
    // length is unusable.
    bool DescribeSample(long length, SampleLayout& layout) const;
    // Copies the sample into the spare frame (left empty when no block can be had).
    HRESULT StoreSample(const BYTE* bytes, long length, const SampleLayout& layout);
    HRESULT PrepareCallerFrame(InfoDataBufferPath1& frame) const;
    // The format block's bitmap header, or null when the format type is not a video info one or
    // the block is too small for its type.
    const BITMAPINFOHEADER* CurrentBitmapHeader() const;

    CRITICAL_SECTION m_filterLock;
    AM_MEDIA_TYPE m_currentType{};
    InfoDataBufferPath1 m_newestFrame{false};
    // The streaming thread's own: the next sample is copied here, then swapped with the newest.
    InfoDataBufferPath1 m_spareFrame{false};
    bool m_option0 = false;
    bool m_streamingFlag = false;
    ObjectControlFrameRate m_frameRate;
    int32_t m_processorMode = 1;
    bool m_option1 = false;
};
