// A test-only live source filter: one output pin "Output" that connects with the media type the
// test chooses and delivers, on the test's own thread, the samples the test pushes.
#pragma once

#include <windows.h>
#include <dshow.h>

class TestPushSource final : public IBaseFilter
{
public:
    // The filter with one reference; bufferSize is the size of its one sample buffer.
    static TestPushSource* Create(const AM_MEDIA_TYPE& type, long bufferSize);

    IPin* OutputPin();
    // Delivers one sample; with start and stop the sample carries that time span (100 ns units,
    // stream time). Returns the downstream pin's answer.
    HRESULT Push(const void* bytes, long length, const REFERENCE_TIME* start = nullptr,
                 const REFERENCE_TIME* stop = nullptr);
    HRESULT PushEndOfStream();

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
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

private:
    class OutputPinImpl;

    TestPushSource(const AM_MEDIA_TYPE& type, long bufferSize);
    ~TestPushSource();

    LONG m_references = 1;
    CRITICAL_SECTION m_lock;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr;
    IFilterGraph* m_graph = nullptr; // weak: the graph owns the filter
    WCHAR m_name[MAX_FILTER_NAME] = {};
    OutputPinImpl* m_pin;
};
