#include "TestFilterParts.h"

namespace {

template <class Interface>
HRESULT AnswerInterface(Interface* self, REFIID own, REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, own)) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = self;
    self->AddRef();
    return S_OK;
}

} // namespace

HRESULT TestCopyMediaType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source)
{
    target = source;
    target.pUnk = nullptr;
    target.pbFormat = nullptr;
    if (source.cbFormat > 0 && source.pbFormat != nullptr) {
        target.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source.cbFormat));
        if (target.pbFormat == nullptr) {
            target.cbFormat = 0;
            return E_OUTOFMEMORY;
        }
        CopyMemory(target.pbFormat, source.pbFormat, source.cbFormat);
    }
    return S_OK;
}

void TestFreeMediaType(AM_MEDIA_TYPE& type)
{
    CoTaskMemFree(type.pbFormat);
    ZeroMemory(&type, sizeof(type));
}

TestOnePinEnumerator::TestOnePinEnumerator(IBaseFilter* filter, IPin* pin, ULONG position)
    : m_filter(filter), m_pin(pin), m_position(position)
{
    m_filter->AddRef();
}

TestOnePinEnumerator::~TestOnePinEnumerator()
{
    m_filter->Release();
}

STDMETHODIMP TestOnePinEnumerator::QueryInterface(REFIID riid, void** object)
{
    return AnswerInterface(static_cast<IEnumPins*>(this), IID_IEnumPins, riid, object);
}

STDMETHODIMP_(ULONG) TestOnePinEnumerator::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) TestOnePinEnumerator::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP TestOnePinEnumerator::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (pins == nullptr)
        return E_POINTER;
    ULONG given = 0;
    if (count > 0 && m_position == 0) {
        pins[0] = m_pin;
        m_pin->AddRef();
        given = 1;
        m_position = 1;
    }
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP TestOnePinEnumerator::Skip(ULONG count)
{
    const bool enough = count <= (m_position == 0 ? 1u : 0u);
    if (count > 0)
        m_position = 1;
    return enough ? S_OK : S_FALSE;
}

STDMETHODIMP TestOnePinEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP TestOnePinEnumerator::Clone(IEnumPins** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new TestOnePinEnumerator(m_filter, m_pin, m_position);
    return S_OK;
}

TestMediaTypeEnumerator::TestMediaTypeEnumerator(const std::vector<AM_MEDIA_TYPE>& types, ULONG position)
    : m_types(types.size()), m_position(position)
{
    for (size_t k = 0; k < types.size(); ++k)
        TestCopyMediaType(m_types[k], types[k]);
}

TestMediaTypeEnumerator::~TestMediaTypeEnumerator()
{
    for (AM_MEDIA_TYPE& type : m_types)
        TestFreeMediaType(type);
}

STDMETHODIMP TestMediaTypeEnumerator::QueryInterface(REFIID riid, void** object)
{
    return AnswerInterface(static_cast<IEnumMediaTypes*>(this), IID_IEnumMediaTypes, riid, object);
}

STDMETHODIMP_(ULONG) TestMediaTypeEnumerator::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&m_references));
}

STDMETHODIMP_(ULONG) TestMediaTypeEnumerator::Release()
{
    const LONG left = InterlockedDecrement(&m_references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

STDMETHODIMP TestMediaTypeEnumerator::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (types == nullptr)
        return E_POINTER;
    ULONG given = 0;
    while (given < count && m_position < m_types.size()) {
        auto* type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        if (type == nullptr || FAILED(TestCopyMediaType(*type, m_types[m_position]))) {
            CoTaskMemFree(type);
            break;
        }
        types[given++] = type;
        ++m_position;
    }
    if (fetched != nullptr)
        *fetched = given;
    return given == count ? S_OK : S_FALSE;
}

STDMETHODIMP TestMediaTypeEnumerator::Skip(ULONG count)
{
    const ULONG left = static_cast<ULONG>(m_types.size()) - m_position;
    m_position += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
}

STDMETHODIMP TestMediaTypeEnumerator::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP TestMediaTypeEnumerator::Clone(IEnumMediaTypes** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    *enumerator = new TestMediaTypeEnumerator(m_types, m_position);
    return S_OK;
}
