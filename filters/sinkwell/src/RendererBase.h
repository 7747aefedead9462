// A small DirectShow renderer base written on the interfaces' documented contracts: a filter
// with one input pin that schedules each sample against the graph clock and hands it to
// DoRenderSample on the streaming thread.
//
// Locks, always taken in this order: the state lock (Stop, Pause, Run, clock, graph, connection
// changes; application thread), then the stream lock (the held sample, the streaming side's copy
// of state, clock and connection). Receive takes only the stream lock, briefly, and waits for a
// sample's time or a state change without holding any lock; Stop holds the state lock while it
// waits for Receive to leave, which Receive can always do.
#pragma once

#include <windows.h>
#include <dshow.h>

#include "CTimeServer.h" // CriticalSectionLock

#include <span>

// Live objects and server locks of this module, for DllCanUnloadNow.
class ModuleLifetime
{
public:
    static void ObjectCreated() { InterlockedIncrement(&s_count); }
    static void ObjectDestroyed() { InterlockedDecrement(&s_count); }
    static bool CanUnload() { return s_count == 0; }

private:
    static inline LONG s_count = 0;
};

// Frees what an AM_MEDIA_TYPE owns (format block, pUnk) and zeroes it.
void FreeMediaTypeContent(AM_MEDIA_TYPE& type);
// Deep copy into a zeroed or freed target; E_OUTOFMEMORY leaves the target zeroed.
HRESULT CopyMediaTypeContent(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source);

struct RendererMediaType
{
    const GUID* majorType;
    const GUID* subtype;
};

class RendererFilterBase;

class RendererInputPin final : public IPin, public IMemInputPin
{
public:
    RendererInputPin(RendererFilterBase& filter, const wchar_t* name);
    ~RendererInputPin();
    RendererInputPin(const RendererInputPin&) = delete;
    RendererInputPin& operator=(const RendererInputPin&) = delete;

    // IUnknown: the pin lives as long as its filter, so references count on the filter.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** enumerator) override;
    STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;
    STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // IMemInputPin
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* properties) override;
    STDMETHODIMP Receive(IMediaSample* sample) override;
    STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    STDMETHODIMP ReceiveCanBlock() override;

    const wchar_t* Name() const { return m_name; }
    // The connected output pin with a reference, or null.
    IPin* PeerWithReference();
    // Called by the filter's Stop, under its state lock: lets an upstream thread blocked in
    // GetBuffer go.
    void DecommitAllocator();

private:
    friend class RendererFilterBase;

    RendererFilterBase& m_filter;
    const wchar_t* m_name;
    // Written under both locks, read under either.
    IPin* m_peer = nullptr;
    AM_MEDIA_TYPE m_connectionType{};
    IMemAllocator* m_allocator = nullptr;
};

class RendererFilterBase : public IBaseFilter, public IAMFilterMiscFlags, public IMediaSeeking
{
public:
    // outer: the controlling unknown when aggregated, else null.
    RendererFilterBase(const CLSID& classId, IUnknown* outer, const wchar_t* pinName);
    virtual ~RendererFilterBase();
    RendererFilterBase(const RendererFilterBase&) = delete;
    RendererFilterBase& operator=(const RendererFilterBase&) = delete;

    // The object's own (non-delegating) unknown, as the class factory and an aggregating outer
    // object see it.
    virtual HRESULT NonDelegatingQueryInterface(REFIID riid, void** object);
    ULONG NonDelegatingAddRef();
    ULONG NonDelegatingRelease();
    IUnknown* InnerUnknown() { return &m_inner; }

    // IUnknown of every interface of the object: delegates to the controlling unknown.
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override { return m_outer->QueryInterface(riid, object); }
    STDMETHODIMP_(ULONG) AddRef() override { return m_outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_outer->Release(); }

    // IPersist, IMediaFilter, IBaseFilter
    STDMETHODIMP GetClassID(CLSID* classId) override;
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD milliseconds, FILTER_STATE* state) override;
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    STDMETHODIMP EnumPins(IEnumPins** enumerator) override;
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // IAMFilterMiscFlags: Wine passes EC_COMPLETE on only from filters that say "renderer".
    STDMETHODIMP_(ULONG) GetMiscFlags() override;

    // IMediaSeeking, passed to the upstream pin.
    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

    // What the derived filter supplies.
    // S_OK when the pin takes the type, S_FALSE otherwise.
    virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) = 0;
    virtual std::span<const RendererMediaType> OfferedMediaTypes() const = 0;
    // On the streaming thread, outside the base's locks, when the sample is due.
    virtual HRESULT DoRenderSample(IMediaSample* sample) = 0;
    // Under the state lock, when the graph starts running and when it stops.
    virtual HRESULT OnStartStreaming() { return S_OK; }
    virtual HRESULT OnStopStreaming() { return S_OK; }

    RendererInputPin& InputPin() { return m_pin; }
    // Receive calls waiting now for their sample's time or for Run (tests wait on it).
    LONG CountWaitingReceives() const { return InterlockedCompareExchange(&m_waitingReceives, 0, 0); }

private:
    friend class RendererInputPin;

    class Inner final : public IUnknown
    {
    public:
        explicit Inner(RendererFilterBase& owner) : m_owner(owner) {}
        STDMETHODIMP QueryInterface(REFIID riid, void** object) override
        {
            return m_owner.NonDelegatingQueryInterface(riid, object);
        }
        STDMETHODIMP_(ULONG) AddRef() override { return m_owner.NonDelegatingAddRef(); }
        STDMETHODIMP_(ULONG) Release() override { return m_owner.NonDelegatingRelease(); }

    private:
        RendererFilterBase& m_owner;
    };

    // Calls from the pin.
    HRESULT ReceiveSample(IMediaSample* sample);
    HRESULT OnEndOfStream();
    HRESULT OnBeginFlush();
    HRESULT OnEndFlush();

    // Streaming side: what Receive decides on each wake-up.
    enum class SampleFate { Render, Wait, Drop };
    SampleFate DecideFate(IMediaSample* sample, DWORD& waitMilliseconds);
    void LeaveReceive();
    void WaitForReceiveToLeave();
    // Sets the state on both sides and wakes a waiting Receive; called under the state lock.
    void PublishState(FILTER_STATE state);
    void StartStreaming();
    void StopStreaming();
    // EC_COMPLETE to the graph; never called holding a lock.
    void NotifyComplete();
    IMediaSeeking* UpstreamSeeking();

    Inner m_inner;
    IUnknown* m_outer;
    LONG m_references = 0;
    CLSID m_classId;

    CRITICAL_SECTION m_stateLock;
    CRITICAL_SECTION m_streamLock;
    // Written under both locks, read under either.
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr;
    REFERENCE_TIME m_startTime = 0;
    // Under the state lock.
    IFilterGraph* m_graph = nullptr;           // weak: the graph owns the filter
    IMediaEventSink* m_eventSink = nullptr;    // weak, from the graph
    WCHAR m_name[MAX_FILTER_NAME] = {};
    bool m_streaming = false;
    // Under the stream lock.
    bool m_flushing = false;
    bool m_endOfStream = false;
    HANDLE m_wakeEvent;         // manual reset: a state change for a waiting Receive
    HANDLE m_receiveIdleEvent;  // manual reset: set while no Receive runs
    mutable LONG m_waitingReceives = 0;

    RendererInputPin m_pin;
};
