#include "RendererEnumerators.h"

#include "CatchAllLog.h"

#include <new>

namespace {

// Shared IUnknown answer of the enumerators: IUnknown and the one enumerator interface.
template <class Enumerator, class Interface>
HRESULT QueryEnumerator(Enumerator* self, REFIID riid, REFIID enumeratorId, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, enumeratorId)) {
        *object = static_cast<Interface*>(self);
        self->AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

template <class Enumerator>
ULONG ReleaseEnumerator(Enumerator* self, LONG& references)
{
    const LONG left = InterlockedDecrement(&references);
    if (left == 0)
        delete self;
    return static_cast<ULONG>(left);
}

} // namespace

// ---- Pins -------------------------------------------------------------------------------------

SinglePinEnumerator::SinglePinEnumerator(RendererFilterBase& filter, ULONG position)
    : m_filter(filter), m_position(position)
{
    m_filter.AddRef();
    ModuleLifetime::ObjectCreated();
}

SinglePinEnumerator::~SinglePinEnumerator()
{
    m_filter.Release();
    ModuleLifetime::ObjectDestroyed();
}

STDMETHODIMP SinglePinEnumerator::QueryInterface(REFIID riid, void** object)
{
    return QueryEnumerator<SinglePinEnumerator, IEnumPins>(this, riid, IID_IEnumPins, object);
}

STDMETHODIMP_(ULONG) SinglePinEnumerator::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) SinglePinEnumerator::Release()
{
    return ReleaseEnumerator(this, m_references);
}

STDMETHODIMP SinglePinEnumerator::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (pins == nullptr || (count > 1 && fetched == nullptr))
        return E_POINTER;
    ULONG given = 0;
    if (count > 0 && m_position == 0) {
        pins[0] = &m_filter.InputPin();
        pins[0]->AddRef();
        given = 1;
        m_position = 1;
    }
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP SinglePinEnumerator::Skip(ULONG count)
{
    const ULONG left = m_position == 0 ? 1 : 0;
    m_position = count >= left ? 1 : m_position;
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP SinglePinEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP SinglePinEnumerator::Clone(IEnumPins** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new (std::nothrow) SinglePinEnumerator(m_filter, m_position);
    return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
}

// ---- Media types ------------------------------------------------------------------------------

MediaTypeEnumerator::MediaTypeEnumerator(RendererFilterBase& filter, ULONG position)
    : m_filter(filter), m_position(position)
{
    m_filter.AddRef();
    ModuleLifetime::ObjectCreated();
}

MediaTypeEnumerator::~MediaTypeEnumerator()
{
    m_filter.Release();
    ModuleLifetime::ObjectDestroyed();
}

STDMETHODIMP MediaTypeEnumerator::QueryInterface(REFIID riid, void** object)
{
    return QueryEnumerator<MediaTypeEnumerator, IEnumMediaTypes>(this, riid, IID_IEnumMediaTypes, object);
}

STDMETHODIMP_(ULONG) MediaTypeEnumerator::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) MediaTypeEnumerator::Release()
{
    return ReleaseEnumerator(this, m_references);
}

STDMETHODIMP MediaTypeEnumerator::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (types == nullptr || (count > 1 && fetched == nullptr))
        return E_POINTER;
    const auto offered = m_filter.OfferedMediaTypes();
    ULONG given = 0;
    while (given < count && m_position < offered.size()) {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        if (type == nullptr)
            break;
        ZeroMemory(type, sizeof(AM_MEDIA_TYPE));
        type->majortype = *offered[m_position].majorType;
        type->subtype = *offered[m_position].subtype;
        type->formattype = GUID_NULL;
        type->bFixedSizeSamples = TRUE;
        types[given++] = type;
        ++m_position;
    }
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP MediaTypeEnumerator::Skip(ULONG count)
{
    const ULONG size = static_cast<ULONG>(m_filter.OfferedMediaTypes().size());
    const ULONG left = size - m_position;
    m_position = count >= left ? size : m_position + count;
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP MediaTypeEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP MediaTypeEnumerator::Clone(IEnumMediaTypes** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new (std::nothrow) MediaTypeEnumerator(m_filter, m_position);
    return *enumerator != nullptr ? S_OK : E_OUTOFMEMORY;
}
