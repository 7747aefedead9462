#include "RendererBase.h"

#include "RendererEnumerators.h"

#include "CatchAllLog.h"

#include <mmsystem.h>

#include <cwchar>
#include <new>

void FreeMediaTypeContent(AM_MEDIA_TYPE& type)
{
    if (type.pbFormat != nullptr)
        CoTaskMemFree(type.pbFormat);
    if (type.pUnk != nullptr)
        type.pUnk->Release();
    ZeroMemory(&type, sizeof(type));
}

HRESULT CopyMediaTypeContent(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source)
{
    target = source;
    target.pbFormat = nullptr;
    target.cbFormat = 0;
    if (source.cbFormat > 0 && source.pbFormat != nullptr) {
        target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (target.pbFormat == nullptr) {
            ZeroMemory(&target, sizeof(target));
            return E_OUTOFMEMORY;
        }
        CopyMemory(target.pbFormat, source.pbFormat, source.cbFormat);
        target.cbFormat = source.cbFormat;
    }
    if (target.pUnk != nullptr)
        target.pUnk->AddRef();
    return S_OK;
}

// ==== Input pin ================================================================================

RendererInputPin::RendererInputPin(RendererFilterBase& filter, const wchar_t* name) : m_filter(filter), m_name(name)
{
}

RendererInputPin::~RendererInputPin()
{
    if (m_peer != nullptr)
        m_peer->Release();
    if (m_allocator != nullptr)
        m_allocator->Release();
    FreeMediaTypeContent(m_connectionType);
}

STDMETHODIMP RendererInputPin::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPin))
        *object = static_cast<IPin*>(this);
    else if (IsEqualIID(riid, IID_IMemInputPin))
        *object = static_cast<IMemInputPin*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) RendererInputPin::AddRef()
{
    return m_filter.AddRef();
}

STDMETHODIMP_(ULONG) RendererInputPin::Release()
{
    return m_filter.Release();
}

STDMETHODIMP RendererInputPin::Connect(IPin*, const AM_MEDIA_TYPE*)
{
    // Connections are made from the output side.
    return E_UNEXPECTED;
}

STDMETHODIMP RendererInputPin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type)
{
    try {
        if (connector == nullptr || type == nullptr)
            return E_POINTER;
        CriticalSectionLock state(m_filter.m_stateLock);
        if (m_peer != nullptr)
            return VFW_E_ALREADY_CONNECTED;
        if (m_filter.m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        PIN_DIRECTION direction = PINDIR_INPUT;
        if (FAILED(connector->QueryDirection(&direction)) || direction != PINDIR_OUTPUT)
            return VFW_E_INVALID_DIRECTION;
        if (m_filter.CheckMediaType(type) != S_OK)
            return VFW_E_TYPE_NOT_ACCEPTED;
        AM_MEDIA_TYPE copy{};
        const HRESULT copied = CopyMediaTypeContent(copy, *type);
        if (FAILED(copied))
            return copied;
        CriticalSectionLock stream(m_filter.m_streamLock);
        m_connectionType = copy;
        m_peer = connector;
        m_peer->AddRef();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP RendererInputPin::Disconnect()
{
    try {
        CriticalSectionLock state(m_filter.m_stateLock);
        if (m_filter.m_state != State_Stopped)
            return VFW_E_NOT_STOPPED;
        IPin* peer = nullptr;
        IMemAllocator* allocator = nullptr;
        {
            CriticalSectionLock stream(m_filter.m_streamLock);
            peer = m_peer;
            allocator = m_allocator;
            m_peer = nullptr;
            m_allocator = nullptr;
            FreeMediaTypeContent(m_connectionType);
        }
        if (allocator != nullptr)
            allocator->Release();
        if (peer == nullptr)
            return S_FALSE;
        peer->Release();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP RendererInputPin::ConnectedTo(IPin** pin)
{
    if (pin == nullptr)
        return E_POINTER;
    *pin = PeerWithReference();
    return *pin != nullptr ? S_OK : VFW_E_NOT_CONNECTED;
}

IPin* RendererInputPin::PeerWithReference()
{
    CriticalSectionLock stream(m_filter.m_streamLock);
    if (m_peer != nullptr)
        m_peer->AddRef();
    return m_peer;
}

STDMETHODIMP RendererInputPin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (type == nullptr)
        return E_POINTER;
    ZeroMemory(type, sizeof(*type));
    CriticalSectionLock stream(m_filter.m_streamLock);
    if (m_peer == nullptr)
        return VFW_E_NOT_CONNECTED;
    return CopyMediaTypeContent(*type, m_connectionType);
}

STDMETHODIMP RendererInputPin::QueryPinInfo(PIN_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->pFilter = &m_filter;
    info->pFilter->AddRef();
    info->dir = PINDIR_INPUT;
    wcsncpy(info->achName, m_name, MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    return S_OK;
}

STDMETHODIMP RendererInputPin::QueryDirection(PIN_DIRECTION* direction)
{
    if (direction == nullptr)
        return E_POINTER;
    *direction = PINDIR_INPUT;
    return S_OK;
}

STDMETHODIMP RendererInputPin::QueryId(LPWSTR* id)
{
    if (id == nullptr)
        return E_POINTER;
    const size_t bytes = (wcslen(m_name) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*id == nullptr)
        return E_OUTOFMEMORY;
    CopyMemory(*id, m_name, bytes);
    return S_OK;
}

STDMETHODIMP RendererInputPin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    try {
        return m_filter.CheckMediaType(type) == S_OK ? S_OK : S_FALSE;
    }
    CATCH_ALL_RETURN(S_FALSE)
}

STDMETHODIMP RendererInputPin::EnumMediaTypes(IEnumMediaTypes** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new (std::nothrow) MediaTypeEnumerator(m_filter, 0);
    return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP RendererInputPin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP RendererInputPin::EndOfStream()
{
    return m_filter.OnEndOfStream();
}

STDMETHODIMP RendererInputPin::BeginFlush()
{
    return m_filter.OnBeginFlush();
}

STDMETHODIMP RendererInputPin::EndFlush()
{
    return m_filter.OnEndFlush();
}

STDMETHODIMP RendererInputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double)
{
    return S_OK;
}

STDMETHODIMP RendererInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (allocator == nullptr)
        return E_POINTER;
    // The upstream pin brings its own; samples are taken promptly.
    *allocator = nullptr;
    return VFW_E_NO_ALLOCATOR;
}

STDMETHODIMP RendererInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL)
{
    if (allocator == nullptr)
        return E_POINTER;
    CriticalSectionLock state(m_filter.m_stateLock);
    IMemAllocator* old = nullptr;
    {
        CriticalSectionLock stream(m_filter.m_streamLock);
        old = m_allocator;
        m_allocator = allocator;
        m_allocator->AddRef();
    }
    if (old != nullptr)
        old->Release();
    return S_OK;
}

void RendererInputPin::DecommitAllocator()
{
    if (m_allocator != nullptr)
        m_allocator->Decommit();
}

STDMETHODIMP RendererInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

STDMETHODIMP RendererInputPin::Receive(IMediaSample* sample)
{
    return m_filter.ReceiveSample(sample);
}

STDMETHODIMP RendererInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (samples == nullptr || processed == nullptr)
        return E_POINTER;
    HRESULT result = S_OK;
    *processed = 0;
    while (*processed < count) {
        result = Receive(samples[*processed]);
        if (result != S_OK)
            break;
        ++*processed;
    }
    return result;
}

STDMETHODIMP RendererInputPin::ReceiveCanBlock()
{
    // Receive waits for a sample's presentation time.
    return S_OK;
}

// ==== Filter ===================================================================================

RendererFilterBase::RendererFilterBase(const CLSID& classId, IUnknown* outer, const wchar_t* pinName)
    : m_inner(*this), m_outer(outer != nullptr ? outer : &m_inner), m_classId(classId),
      m_wakeEvent(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      m_receiveIdleEvent(CreateEventW(nullptr, TRUE, TRUE, nullptr)), m_pin(*this, pinName)
{
    InitializeCriticalSection(&m_stateLock);
    InitializeCriticalSection(&m_streamLock);
    if (m_wakeEvent == nullptr || m_receiveIdleEvent == nullptr) {
        SAFE_CLOSE_HANDLE(m_wakeEvent);
        SAFE_CLOSE_HANDLE(m_receiveIdleEvent);
        DeleteCriticalSection(&m_streamLock);
        DeleteCriticalSection(&m_stateLock);
        throw E_OUTOFMEMORY;
    }
    ModuleLifetime::ObjectCreated();
}

RendererFilterBase::~RendererFilterBase()
{
    try {
        if (m_clock != nullptr)
            m_clock->Release();
        SAFE_CLOSE_HANDLE(m_wakeEvent);
        SAFE_CLOSE_HANDLE(m_receiveIdleEvent);
        DeleteCriticalSection(&m_streamLock);
        DeleteCriticalSection(&m_stateLock);
        ModuleLifetime::ObjectDestroyed();
    }
    CATCH_ALL_LOG()
}

HRESULT RendererFilterBase::NonDelegatingQueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown))
        *object = static_cast<IUnknown*>(&m_inner);
    else if (IsEqualIID(riid, IID_IBaseFilter) || IsEqualIID(riid, IID_IMediaFilter) ||
             IsEqualIID(riid, IID_IPersist))
        *object = static_cast<IBaseFilter*>(this);
    else if (IsEqualIID(riid, IID_IAMFilterMiscFlags))
        *object = static_cast<IAMFilterMiscFlags*>(this);
    else if (IsEqualIID(riid, IID_IMediaSeeking))
        *object = static_cast<IMediaSeeking*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    static_cast<IUnknown*>(*object)->AddRef();
    return S_OK;
}

ULONG RendererFilterBase::NonDelegatingAddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

ULONG RendererFilterBase::NonDelegatingRelease()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP RendererFilterBase::GetClassID(CLSID* classId)
{
    if (classId == nullptr)
        return E_POINTER;
    *classId = m_classId;
    return S_OK;
}

void RendererFilterBase::PublishState(FILTER_STATE state)
{
    CriticalSectionLock stream(m_streamLock);
    m_state = state;
    SetEvent(m_wakeEvent);
}

void RendererFilterBase::StartStreaming()
{
    if (m_streaming)
        return;
    m_streaming = true;
    // Finer timer resolution for the waits on sample times.
    timeBeginPeriod(1);
    const HRESULT result = OnStartStreaming();
    if (FAILED(result))
        LOG_TEXT("RendererFilterBase::StartStreaming::OnStartStreaming failed");
}

void RendererFilterBase::StopStreaming()
{
    if (!m_streaming)
        return;
    m_streaming = false;
    const HRESULT result = OnStopStreaming();
    if (FAILED(result))
        LOG_TEXT("RendererFilterBase::StopStreaming::OnStopStreaming failed");
    timeEndPeriod(1);
}

STDMETHODIMP RendererFilterBase::Stop()
{
    try {
        CriticalSectionLock state(m_stateLock);
        if (m_state == State_Stopped)
            return S_OK;
        {
            CriticalSectionLock stream(m_streamLock);
            m_endOfStream = false;
        }
        PublishState(State_Stopped);
        m_pin.DecommitAllocator();
        WaitForReceiveToLeave();
        StopStreaming();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP RendererFilterBase::Pause()
{
    try {
        CriticalSectionLock state(m_stateLock);
        PublishState(State_Paused);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP RendererFilterBase::Run(REFERENCE_TIME start)
{
    try {
        bool complete = false;
        {
            CriticalSectionLock state(m_stateLock);
            if (m_state == State_Running)
                return S_OK;
            StartStreaming();
            // The end-of-stream flag is read in the same step that makes the running state
            // visible: an end of stream before it is sent from here, one after it sends itself.
            CriticalSectionLock stream(m_streamLock);
            m_startTime = start;
            complete = m_endOfStream || m_pin.m_peer == nullptr;
            PublishState(State_Running);
        }
        if (complete)
            NotifyComplete();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP RendererFilterBase::GetState(DWORD, FILTER_STATE* state)
{
    if (state == nullptr)
        return E_POINTER;
    CriticalSectionLock lock(m_stateLock);
    *state = m_state;
    return S_OK;
}

STDMETHODIMP RendererFilterBase::SetSyncSource(IReferenceClock* clock)
{
    CriticalSectionLock state(m_stateLock);
    IReferenceClock* old = nullptr;
    {
        CriticalSectionLock stream(m_streamLock);
        old = m_clock;
        m_clock = clock;
        if (m_clock != nullptr)
            m_clock->AddRef();
        SetEvent(m_wakeEvent);
    }
    if (old != nullptr)
        old->Release();
    return S_OK;
}

STDMETHODIMP RendererFilterBase::GetSyncSource(IReferenceClock** clock)
{
    if (clock == nullptr)
        return E_POINTER;
    CriticalSectionLock state(m_stateLock);
    *clock = m_clock;
    if (m_clock != nullptr)
        m_clock->AddRef();
    return S_OK;
}

STDMETHODIMP RendererFilterBase::EnumPins(IEnumPins** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new (std::nothrow) SinglePinEnumerator(*this, 0);
    return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP RendererFilterBase::FindPin(LPCWSTR id, IPin** pin)
{
    if (id == nullptr || pin == nullptr)
        return E_POINTER;
    if (wcscmp(id, m_pin.Name()) != 0) {
        *pin = nullptr;
        return VFW_E_NOT_FOUND;
    }
    *pin = &m_pin;
    m_pin.AddRef();
    return S_OK;
}

STDMETHODIMP RendererFilterBase::QueryFilterInfo(FILTER_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    CriticalSectionLock state(m_stateLock);
    wcsncpy(info->achName, m_name, MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph != nullptr)
        m_graph->AddRef();
    return S_OK;
}

STDMETHODIMP RendererFilterBase::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    CriticalSectionLock state(m_stateLock);
    m_graph = graph;
    m_eventSink = nullptr;
    ZeroMemory(m_name, sizeof(m_name));
    if (graph == nullptr)
        return S_OK;
    if (name != nullptr)
        wcsncpy(m_name, name, MAX_FILTER_NAME - 1);
    // Kept without a reference, as the graph keeps the filter: a counted one would be a cycle.
    if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&m_eventSink))))
        m_eventSink->Release();
    else
        m_eventSink = nullptr;
    return S_OK;
}

STDMETHODIMP RendererFilterBase::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
}

STDMETHODIMP_(ULONG) RendererFilterBase::GetMiscFlags()
{
    return AM_FILTER_MISC_FLAGS_IS_RENDERER;
}

void RendererFilterBase::NotifyComplete()
{
    IMediaEventSink* sink = nullptr;
    {
        CriticalSectionLock state(m_stateLock);
        sink = m_eventSink;
    }
    if (sink != nullptr)
        sink->Notify(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
}

// ---- Streaming --------------------------------------------------------------------------------

HRESULT RendererFilterBase::ReceiveSample(IMediaSample* sample)
{
    try {
        if (sample == nullptr)
            return E_POINTER;
        {
            CriticalSectionLock stream(m_streamLock);
            if (m_state == State_Stopped || m_pin.m_peer == nullptr)
                return VFW_E_WRONG_STATE;
            if (m_flushing)
                return S_FALSE;
            if (m_endOfStream)
                return VFW_E_SAMPLE_REJECTED_EOS;
            ResetEvent(m_receiveIdleEvent);
        }
        for (;;) {
            DWORD waitMilliseconds = 0;
            const SampleFate fate = DecideFate(sample, waitMilliseconds);
            if (fate == SampleFate::Drop)
                break;
            if (fate == SampleFate::Render) {
                // A failing handler must not stop the upstream thread: the sample is dropped.
                const HRESULT rendered = DoRenderSample(sample);
                if (FAILED(rendered))
                    LOG_TEXT("RendererFilterBase::ReceiveSample::DoRenderSample failed, sample dropped");
                break;
            }
            InterlockedIncrement(&m_waitingReceives);
            WaitForSingleObject(m_wakeEvent, waitMilliseconds);
            InterlockedDecrement(&m_waitingReceives);
        }
        LeaveReceive();
        return S_OK;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        LeaveReceive();
        return S_OK;
    }
}

RendererFilterBase::SampleFate RendererFilterBase::DecideFate(IMediaSample* sample, DWORD& waitMilliseconds)
{
    IReferenceClock* clock = nullptr;
    REFERENCE_TIME startTime = 0;
    {
        CriticalSectionLock stream(m_streamLock);
        // Reset before reading the state: a change after this point sets the event again.
        ResetEvent(m_wakeEvent);
        if (m_state == State_Stopped || m_flushing)
            return SampleFate::Drop;
        waitMilliseconds = INFINITE;
        if (m_state == State_Paused)
            return SampleFate::Wait;
        clock = m_clock;
        if (clock == nullptr)
            return SampleFate::Render;
        clock->AddRef();
        startTime = m_startTime;
    }
    REFERENCE_TIME sampleStart = 0;
    REFERENCE_TIME sampleStop = 0;
    REFERENCE_TIME now = 0;
    const bool timed = SUCCEEDED(sample->GetTime(&sampleStart, &sampleStop)) && SUCCEEDED(clock->GetTime(&now));
    clock->Release();
    if (!timed)
        return SampleFate::Render;
    const REFERENCE_TIME early = startTime + sampleStart - now;
    if (early <= 0)
        return SampleFate::Render;
    // 100 ns units; round up so that the wake-up is not early.
    waitMilliseconds = static_cast<DWORD>((early + 9999) / 10000);
    return SampleFate::Wait;
}

void RendererFilterBase::LeaveReceive()
{
    CriticalSectionLock stream(m_streamLock);
    SetEvent(m_receiveIdleEvent);
}

void RendererFilterBase::WaitForReceiveToLeave()
{
    // Receive takes no lock held here, so it always comes out once woken.
    WaitForSingleObject(m_receiveIdleEvent, INFINITE);
}

HRESULT RendererFilterBase::OnEndOfStream()
{
    bool complete = false;
    {
        CriticalSectionLock stream(m_streamLock);
        if (m_state == State_Stopped)
            return S_OK;
        if (m_flushing)
            return S_FALSE;
        m_endOfStream = true;
        complete = m_state == State_Running;
    }
    // While paused, Run sends it.
    if (complete)
        NotifyComplete();
    return S_OK;
}

HRESULT RendererFilterBase::OnBeginFlush()
{
    CriticalSectionLock state(m_stateLock);
    {
        CriticalSectionLock stream(m_streamLock);
        m_flushing = true;
        m_endOfStream = false;
        SetEvent(m_wakeEvent);
    }
    WaitForReceiveToLeave();
    return S_OK;
}

HRESULT RendererFilterBase::OnEndFlush()
{
    CriticalSectionLock stream(m_streamLock);
    m_flushing = false;
    m_endOfStream = false;
    return S_OK;
}

// ---- Seeking, passed upstream -----------------------------------------------------------------

IMediaSeeking* RendererFilterBase::UpstreamSeeking()
{
    IPin* peer = m_pin.PeerWithReference();
    if (peer == nullptr)
        return nullptr;
    IMediaSeeking* seeking = nullptr;
    if (FAILED(peer->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking))))
        seeking = nullptr;
    peer->Release();
    return seeking;
}

namespace {

template <class Call>
HRESULT CallUpstream(IMediaSeeking* seeking, Call call)
{
    if (seeking == nullptr)
        return E_NOTIMPL;
    const HRESULT result = call(seeking);
    seeking->Release();
    return result;
}

} // namespace

STDMETHODIMP RendererFilterBase::GetCapabilities(DWORD* capabilities)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetCapabilities(capabilities); });
}

STDMETHODIMP RendererFilterBase::CheckCapabilities(DWORD* capabilities)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->CheckCapabilities(capabilities); });
}

STDMETHODIMP RendererFilterBase::IsFormatSupported(const GUID* format)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->IsFormatSupported(format); });
}

STDMETHODIMP RendererFilterBase::QueryPreferredFormat(GUID* format)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->QueryPreferredFormat(format); });
}

STDMETHODIMP RendererFilterBase::GetTimeFormat(GUID* format)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetTimeFormat(format); });
}

STDMETHODIMP RendererFilterBase::IsUsingTimeFormat(const GUID* format)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->IsUsingTimeFormat(format); });
}

STDMETHODIMP RendererFilterBase::SetTimeFormat(const GUID* format)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->SetTimeFormat(format); });
}

STDMETHODIMP RendererFilterBase::GetDuration(LONGLONG* duration)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetDuration(duration); });
}

STDMETHODIMP RendererFilterBase::GetStopPosition(LONGLONG* stop)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetStopPosition(stop); });
}

STDMETHODIMP RendererFilterBase::GetCurrentPosition(LONGLONG* current)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetCurrentPosition(current); });
}

STDMETHODIMP RendererFilterBase::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                   const GUID* sourceFormat)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) {
        return s->ConvertTimeFormat(target, targetFormat, source, sourceFormat);
    });
}

STDMETHODIMP RendererFilterBase::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags)
{
    return CallUpstream(UpstreamSeeking(),
                        [&](IMediaSeeking* s) { return s->SetPositions(current, currentFlags, stop, stopFlags); });
}

STDMETHODIMP RendererFilterBase::GetPositions(LONGLONG* current, LONGLONG* stop)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetPositions(current, stop); });
}

STDMETHODIMP RendererFilterBase::GetAvailable(LONGLONG* earliest, LONGLONG* latest)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetAvailable(earliest, latest); });
}

STDMETHODIMP RendererFilterBase::SetRate(double rate)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->SetRate(rate); });
}

STDMETHODIMP RendererFilterBase::GetRate(double* rate)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetRate(rate); });
}

STDMETHODIMP RendererFilterBase::GetPreroll(LONGLONG* preroll)
{
    return CallUpstream(UpstreamSeeking(), [&](IMediaSeeking* s) { return s->GetPreroll(preroll); });
}
