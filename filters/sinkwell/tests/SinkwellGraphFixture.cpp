#include "SinkwellGraphFixture.h"

#include <dvdmedia.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>

namespace {

HMODULE g_sinkwellModule = nullptr;

// COM for the test thread and the filter registered in the test prefix for the whole run.
class SinkwellEnvironment : public testing::Environment
{
public:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        g_sinkwellModule = LoadLibraryW(L"Sinkwell1.vfd");
        ASSERT_NE(g_sinkwellModule, nullptr);
        ASSERT_EQ(CallSinkwellExport("DllRegisterServer"), S_OK);
    }
    void TearDown() override
    {
        // The registration stays: the prefix belongs to this build's test run.
        FreeLibrary(g_sinkwellModule);
        g_sinkwellModule = nullptr;
        CoUninitialize();
    }
};

[[maybe_unused]] testing::Environment* const g_environment = testing::AddGlobalTestEnvironment(new SinkwellEnvironment);

HRESULT FirstPin(IBaseFilter* filter, PIN_DIRECTION wanted, IPin** pin)
{
    SmartComPointer<IEnumPins> pins;
    HRESULT result = filter->EnumPins(pins.ReceiveSlot());
    if (FAILED(result))
        return result;
    IPin* candidate = nullptr;
    while (pins->Next(1, &candidate, nullptr) == S_OK) {
        PIN_DIRECTION direction = PINDIR_INPUT;
        candidate->QueryDirection(&direction);
        if (direction == wanted) {
            *pin = candidate;
            return S_OK;
        }
        candidate->Release();
    }
    return VFW_E_NOT_FOUND;
}

} // namespace

HMODULE SinkwellModule()
{
    return g_sinkwellModule;
}

HRESULT CallSinkwellExport(const char* name)
{
    using Export = HRESULT(WINAPI*)();
    const auto function = reinterpret_cast<Export>(reinterpret_cast<void*>(GetProcAddress(g_sinkwellModule, name)));
    return function != nullptr ? function() : E_NOTIMPL;
}

HRESULT CreateSinkByFriendlyName(IBaseFilter** filter)
{
    *filter = nullptr;
    SmartComPointer<ICreateDevEnum> devices;
    HRESULT result = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                      devices.ReceiveVoidSlot());
    if (FAILED(result))
        return result;
    SmartComPointer<IEnumMoniker> monikers;
    result = devices->CreateClassEnumerator(CLSID_LegacyAmFilterCategory, monikers.ReceiveSlot(), 0);
    if (result != S_OK || !monikers)
        return VFW_E_NOT_FOUND;
    IMoniker* moniker = nullptr;
    while (monikers->Next(1, &moniker, nullptr) == S_OK) {
        SmartComPointer<IMoniker> held;
        held.Attach(moniker);
        SmartComPointer<IPropertyBag> bag;
        if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.ReceiveVoidSlot())))
            continue;
        VARIANT name;
        VariantInit(&name);
        const bool match = SUCCEEDED(bag->Read(L"FriendlyName", &name, nullptr)) && name.vt == VT_BSTR &&
                           wcscmp(name.bstrVal, kSinkwell1FriendlyName) == 0;
        VariantClear(&name);
        if (match)
            return moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void**>(filter));
    }
    return VFW_E_NOT_FOUND;
}

SinkGraph::SinkGraph()
{
    m_status = CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                m_graph.ReceiveVoidSlot());
    if (SUCCEEDED(m_status))
        m_status = m_graph->QueryInterface(IID_IMediaControl, m_control.ReceiveVoidSlot());
    if (SUCCEEDED(m_status))
        m_status = m_graph->QueryInterface(IID_IMediaEvent, m_events.ReceiveVoidSlot());
    if (SUCCEEDED(m_status))
        m_status = CreateSinkByFriendlyName(m_sink.ReceiveSlot());
    if (SUCCEEDED(m_status))
        m_status = m_graph->AddFilter(m_sink.Get(), kSinkwell1FriendlyName);
    if (SUCCEEDED(m_status))
        m_status = m_sink->FindPin(kSinkwell1InputPinName, m_sinkPin.ReceiveSlot());
    if (SUCCEEDED(m_status))
        m_status = m_sink->QueryInterface(IID_ISinkwellSampleExchange, m_exchange.ReceiveVoidSlot());
    if (SUCCEEDED(m_status))
        m_status = m_sink->QueryInterface(IID_ISinkwellProcessorMode, m_processorMode.ReceiveVoidSlot());
}

SinkGraph::~SinkGraph()
{
    if (m_control)
        m_control->Stop();
    m_exchange.ReleasePointer("m_exchange.ReleasePointer::1");
    m_processorMode.ReleasePointer("m_processorMode.ReleasePointer::1");
    m_sinkPin.ReleasePointer("m_sinkPin.ReleasePointer::1");
    m_sink.ReleasePointer("m_sink.ReleasePointer::1");
    m_events.ReleasePointer("m_events.ReleasePointer::1");
    m_control.ReleasePointer("m_control.ReleasePointer::1");
    m_graph.ReleasePointer("m_graph.ReleasePointer::1");
    if (m_pushSource != nullptr)
        m_pushSource->Release();
}

HRESULT SinkGraph::ConnectPushSource(const AM_MEDIA_TYPE& type, long bufferSize)
{
    if (FAILED(m_status))
        return m_status;
    m_pushSource = TestPushSource::Create(type, bufferSize);
    HRESULT result = m_graph->AddFilter(m_pushSource, L"Test push source");
    if (SUCCEEDED(result))
        result = m_graph->ConnectDirect(m_pushSource->OutputPin(), m_sinkPin.Get(), &type);
    return result;
}

HRESULT SinkGraph::ConnectFile(const wchar_t* path)
{
    if (FAILED(m_status))
        return m_status;
    SmartComPointer<IBaseFilter> source;
    HRESULT result = m_graph->AddSourceFilter(path, L"File", source.ReceiveSlot());
    SmartComPointer<IPin> output;
    if (SUCCEEDED(result))
        result = FirstPin(source.Get(), PINDIR_OUTPUT, output.ReceiveSlot());
    if (SUCCEEDED(result))
        result = m_graph->Connect(output.Get(), m_sinkPin.Get());
    return result;
}

HRESULT SinkGraph::RemoveClock()
{
    SmartComPointer<IMediaFilter> filter;
    HRESULT result = m_graph->QueryInterface(IID_IMediaFilter, filter.ReceiveVoidSlot());
    if (SUCCEEDED(result))
        result = filter->SetSyncSource(nullptr);
    return result;
}

long SinkGraph::WaitForCompletion(long milliseconds)
{
    long code = 0;
    return SUCCEEDED(m_events->WaitForCompletion(milliseconds, &code)) ? code : 0;
}

TestVideoType::TestVideoType(const GUID& subtype, int32_t width, int32_t height, WORD bitCount, DWORD compression)
    : format(sizeof(VIDEOINFOHEADER))
{
    auto* info = reinterpret_cast<VIDEOINFOHEADER*>(format.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = width;
    info->bmiHeader.biHeight = height;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bitCount;
    info->bmiHeader.biCompression = compression;
    type.majortype = MEDIATYPE_Video;
    type.subtype = subtype;
    type.formattype = FORMAT_VideoInfo;
    type.bFixedSizeSamples = TRUE;
    type.cbFormat = static_cast<ULONG>(format.size());
    type.pbFormat = format.data();
}

void TestVideoType::UseFormat(const GUID& formatType, size_t bytes)
{
    const BITMAPINFOHEADER header = reinterpret_cast<const VIDEOINFOHEADER*>(format.data())->bmiHeader;
    std::vector<BYTE> block(std::max(bytes, sizeof(VIDEOINFOHEADER2)));
    if (IsEqualGUID(formatType, FORMAT_VideoInfo2))
        reinterpret_cast<VIDEOINFOHEADER2*>(block.data())->bmiHeader = header;
    else
        reinterpret_cast<VIDEOINFOHEADER*>(block.data())->bmiHeader = header;
    block.resize(bytes);
    format = block;
    type.formattype = formatType;
    type.cbFormat = static_cast<ULONG>(format.size());
    type.pbFormat = format.empty() ? nullptr : format.data();
}
