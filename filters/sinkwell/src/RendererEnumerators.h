// The pin and media-type enumerators of the renderer base.
#pragma once

#include "RendererBase.h"

// Enumerates the filter's one input pin; holds a reference on the filter.
class SinglePinEnumerator final : public IEnumPins
{
public:
    SinglePinEnumerator(RendererFilterBase& filter, ULONG position);
    ~SinglePinEnumerator();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, IPin** pins, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumPins** enumerator) override;

private:
    LONG m_references = 1;
    RendererFilterBase& m_filter;
    ULONG m_position;
};

// Enumerates the pin's preferred types (major type and subtype, no format); holds a reference
// on the filter.
class MediaTypeEnumerator final : public IEnumMediaTypes
{
public:
    MediaTypeEnumerator(RendererFilterBase& filter, ULONG position);
    ~MediaTypeEnumerator();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched) override;
    STDMETHODIMP Skip(ULONG count) override;
    STDMETHODIMP Reset() override;
    STDMETHODIMP Clone(IEnumMediaTypes** enumerator) override;

private:
    LONG m_references = 1;
    RendererFilterBase& m_filter;
    ULONG m_position;
};
