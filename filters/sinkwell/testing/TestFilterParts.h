// Small COM parts of the test filters: a one-pin enumerator, a media-type enumerator over a
// fixed list, and media-type copies.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

// Copies the type and its format block (allocated with CoTaskMemAlloc); pUnk is not carried over.
HRESULT TestCopyMediaType(AM_MEDIA_TYPE& target, const AM_MEDIA_TYPE& source);
// Frees what TestCopyMediaType allocated and zeroes the type.
void TestFreeMediaType(AM_MEDIA_TYPE& type);

// Enumerates one pin; holds a reference on its filter.
class TestOnePinEnumerator final : public IEnumPins
{
public:
    TestOnePinEnumerator(IBaseFilter* filter, IPin* pin, ULONG position);
    ~TestOnePinEnumerator();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** enumerator) override;

private:
    LONG m_references = 1;
    IBaseFilter* m_filter;
    IPin* m_pin;
    ULONG m_position;
};

// Enumerates copies of the types it was given; each type handed out belongs to the caller.
class TestMediaTypeEnumerator final : public IEnumMediaTypes
{
public:
    explicit TestMediaTypeEnumerator(const std::vector<AM_MEDIA_TYPE>& types, ULONG position = 0);
    ~TestMediaTypeEnumerator();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** enumerator) override;

private:
    LONG m_references = 1;
    std::vector<AM_MEDIA_TYPE> m_types;
    ULONG m_position;
};
