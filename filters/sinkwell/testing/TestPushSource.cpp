#include "TestPushSource.h"

#include "TestFilterParts.h"

#include <cwchar>

namespace {

constexpr wchar_t kOutputPinName[] = L"Output";

} // namespace

class TestPushSource::OutputPinImpl final : public IPin
{
public:
    OutputPinImpl(TestPushSource& filter, const AM_MEDIA_TYPE& type, long bufferSize)
        : m_filter(filter), m_bufferSize(bufferSize)
    {
        TestCopyMediaType(m_type, type);
    }
    ~OutputPinImpl()
    {
        ReleaseConnection();
        CoTaskMemFree(m_type.pbFormat);
    }

    void ReleaseConnection()
    {
        if (m_allocator != nullptr)
            m_allocator->Release();
        if (m_input != nullptr)
            m_input->Release();
        if (m_peer != nullptr)
            m_peer->Release();
        m_allocator = nullptr;
        m_input = nullptr;
        m_peer = nullptr;
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IPin)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IPin*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return m_filter.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_filter.Release(); }

    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override
    {
        if (receivePin == nullptr)
            return E_POINTER;
        if (m_peer != nullptr)
            return VFW_E_ALREADY_CONNECTED;
        if (type != nullptr && !IsEqualGUID(type->subtype, GUID_NULL) && !IsEqualGUID(type->subtype, m_type.subtype))
            return VFW_E_TYPE_NOT_ACCEPTED;
        HRESULT result = receivePin->ReceiveConnection(this, &m_type);
        if (FAILED(result))
            return result;
        m_peer = receivePin;
        m_peer->AddRef();
        result = receivePin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_input));
        if (SUCCEEDED(result))
            result = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                      reinterpret_cast<void**>(&m_allocator));
        ALLOCATOR_PROPERTIES wanted = {1, m_bufferSize, 1, 0};
        ALLOCATOR_PROPERTIES actual = {};
        if (SUCCEEDED(result))
            result = m_allocator->SetProperties(&wanted, &actual);
        if (SUCCEEDED(result))
            result = m_input->NotifyAllocator(m_allocator, FALSE);
        if (FAILED(result)) {
            receivePin->Disconnect();
            ReleaseConnection();
        }
        return result;
    }
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override
    {
        if (m_peer == nullptr)
            return S_FALSE;
        ReleaseConnection();
        return S_OK;
    }
    STDMETHODIMP ConnectedTo(IPin** pin) override
    {
        if (pin == nullptr)
            return E_POINTER;
        *pin = m_peer;
        if (m_peer == nullptr)
            return VFW_E_NOT_CONNECTED;
        m_peer->AddRef();
        return S_OK;
    }
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override
    {
        if (type == nullptr)
            return E_POINTER;
        ZeroMemory(type, sizeof(*type));
        return m_peer == nullptr ? VFW_E_NOT_CONNECTED : TestCopyMediaType(*type, m_type);
    }
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override
    {
        if (info == nullptr)
            return E_POINTER;
        info->pFilter = &m_filter;
        m_filter.AddRef();
        info->dir = PINDIR_OUTPUT;
        wcscpy(info->achName, kOutputPinName);
        return S_OK;
    }
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override
    {
        if (direction == nullptr)
            return E_POINTER;
        *direction = PINDIR_OUTPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* id) override
    {
        if (id == nullptr)
            return E_POINTER;
        *id = static_cast<LPWSTR>(CoTaskMemAlloc(sizeof(kOutputPinName)));
        if (*id == nullptr)
            return E_OUTOFMEMORY;
        CopyMemory(*id, kOutputPinName, sizeof(kOutputPinName));
        return S_OK;
    }
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override
    {
        return type != nullptr && IsEqualGUID(type->subtype, m_type.subtype) ? S_OK : S_FALSE;
    }
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes**) override { return E_NOTIMPL; }
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    HRESULT Push(const void* bytes, long length, const REFERENCE_TIME* start, const REFERENCE_TIME* stop)
    {
        if (m_input == nullptr)
            return VFW_E_NOT_CONNECTED;
        IMediaSample* sample = nullptr;
        HRESULT result = m_allocator->GetBuffer(&sample, nullptr, nullptr, 0);
        if (FAILED(result))
            return result;
        BYTE* target = nullptr;
        result = sample->GetPointer(&target);
        if (SUCCEEDED(result) && (length < 0 || length > sample->GetSize() || (bytes == nullptr && length > 0)))
            result = E_INVALIDARG;
        if (SUCCEEDED(result)) {
            CopyMemory(target, bytes, static_cast<size_t>(length));
            sample->SetActualDataLength(length);
            REFERENCE_TIME startTime = start != nullptr ? *start : 0;
            REFERENCE_TIME stopTime = stop != nullptr ? *stop : 0;
            sample->SetTime(start != nullptr ? &startTime : nullptr, stop != nullptr ? &stopTime : nullptr);
            result = m_input->Receive(sample);
        }
        sample->Release();
        return result;
    }
    HRESULT PushEndOfStream() { return m_peer == nullptr ? VFW_E_NOT_CONNECTED : m_peer->EndOfStream(); }
    void Commit(bool commit)
    {
        if (m_allocator != nullptr)
            commit ? m_allocator->Commit() : m_allocator->Decommit();
    }

private:
    TestPushSource& m_filter;
    long m_bufferSize;
    AM_MEDIA_TYPE m_type{};
    IPin* m_peer = nullptr;
    IMemInputPin* m_input = nullptr;
    IMemAllocator* m_allocator = nullptr;
};

TestPushSource* TestPushSource::Create(const AM_MEDIA_TYPE& type, long bufferSize)
{
    return new TestPushSource(type, bufferSize);
}

TestPushSource::TestPushSource(const AM_MEDIA_TYPE& type, long bufferSize)
    : m_pin(new OutputPinImpl(*this, type, bufferSize))
{
    InitializeCriticalSection(&m_lock);
}

TestPushSource::~TestPushSource()
{
    delete m_pin;
    if (m_clock != nullptr)
        m_clock->Release();
    DeleteCriticalSection(&m_lock);
}

IPin* TestPushSource::OutputPin()
{
    return m_pin;
}

HRESULT TestPushSource::Push(const void* bytes, long length, const REFERENCE_TIME* start, const REFERENCE_TIME* stop)
{
    return m_pin->Push(bytes, length, start, stop);
}

HRESULT TestPushSource::PushEndOfStream()
{
    return m_pin->PushEndOfStream();
}

STDMETHODIMP TestPushSource::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IBaseFilter) && !IsEqualIID(riid, IID_IMediaFilter) &&
        !IsEqualIID(riid, IID_IPersist)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IBaseFilter*>(this);
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TestPushSource::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) TestPushSource::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP TestPushSource::GetClassID(CLSID* classId)
{
    if (classId == nullptr)
        return E_POINTER;
    *classId = CLSID_NULL;
    return S_OK;
}

STDMETHODIMP TestPushSource::Stop()
{
    EnterCriticalSection(&m_lock);
    m_state = State_Stopped;
    m_pin->Commit(false);
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestPushSource::Pause()
{
    EnterCriticalSection(&m_lock);
    if (m_state == State_Stopped)
        m_pin->Commit(true);
    m_state = State_Paused;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestPushSource::Run(REFERENCE_TIME)
{
    EnterCriticalSection(&m_lock);
    if (m_state == State_Stopped)
        m_pin->Commit(true);
    m_state = State_Running;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestPushSource::GetState(DWORD, FILTER_STATE* state)
{
    if (state == nullptr)
        return E_POINTER;
    EnterCriticalSection(&m_lock);
    *state = m_state;
    const bool paused = m_state == State_Paused;
    LeaveCriticalSection(&m_lock);
    // A live source has nothing to cue while paused.
    return paused ? VFW_S_CANT_CUE : S_OK;
}

STDMETHODIMP TestPushSource::SetSyncSource(IReferenceClock* clock)
{
    EnterCriticalSection(&m_lock);
    if (clock != nullptr)
        clock->AddRef();
    if (m_clock != nullptr)
        m_clock->Release();
    m_clock = clock;
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestPushSource::GetSyncSource(IReferenceClock** clock)
{
    if (clock == nullptr)
        return E_POINTER;
    EnterCriticalSection(&m_lock);
    *clock = m_clock;
    if (m_clock != nullptr)
        m_clock->AddRef();
    LeaveCriticalSection(&m_lock);
    return S_OK;
}

STDMETHODIMP TestPushSource::EnumPins(IEnumPins** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new TestOnePinEnumerator(this, m_pin, 0);
    return S_OK;
}

STDMETHODIMP TestPushSource::FindPin(LPCWSTR id, IPin** pin)
{
    if (id == nullptr || pin == nullptr)
        return E_POINTER;
    *pin = nullptr;
    if (wcscmp(id, kOutputPinName) != 0)
        return VFW_E_NOT_FOUND;
    *pin = m_pin;
    m_pin->AddRef();
    return S_OK;
}

STDMETHODIMP TestPushSource::QueryFilterInfo(FILTER_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    wcsncpy(info->achName, m_name, MAX_FILTER_NAME);
    info->pGraph = m_graph;
    if (m_graph != nullptr)
        m_graph->AddRef();
    return S_OK;
}

STDMETHODIMP TestPushSource::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    m_graph = graph;
    ZeroMemory(m_name, sizeof(m_name));
    if (name != nullptr)
        wcsncpy(m_name, name, MAX_FILTER_NAME - 1);
    return S_OK;
}

STDMETHODIMP TestPushSource::QueryVendorInfo(LPWSTR*)
{
    return E_NOTIMPL;
}
