#include "SinkwellGraphFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using GetClassObject = HRESULT(WINAPI*)(REFCLSID, REFIID, void**);

GetClassObject SinkwellGetClassObject()
{
    return reinterpret_cast<GetClassObject>(
        reinterpret_cast<void*>(GetProcAddress(SinkwellModule(), "DllGetClassObject")));
}

bool IsFoundByName()
{
    SmartComPointer<IBaseFilter> filter;
    return CreateSinkByFriendlyName(filter.ReceiveSlot()) == S_OK && filter;
}

// An outer object that aggregates the filter: its own unknown answers IUnknown and hands every
// other interface to the inner object.
class OuterUnknown final : public IUnknown
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown)) {
            *object = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return m_inner != nullptr ? m_inner->QueryInterface(riid, object) : E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++m_references); }
    STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--m_references); }

    LONG m_references = 1;
    IUnknown* m_inner = nullptr;
};

} // namespace

TEST(SinkwellRegistration, FoundByFriendlyNameAsARendererWithOneInputPin)
{
    SmartComPointer<IBaseFilter> filter;
    ASSERT_EQ(CreateSinkByFriendlyName(filter.ReceiveSlot()), S_OK);
    CLSID classId = {};
    ASSERT_EQ(filter->GetClassID(&classId), S_OK);
    EXPECT_TRUE(IsEqualCLSID(classId, CLSID_Sinkwell1));

    SmartComPointer<IAMFilterMiscFlags> flags;
    ASSERT_EQ(filter->QueryInterface(IID_IAMFilterMiscFlags, flags.ReceiveVoidSlot()), S_OK);
    EXPECT_EQ(flags->GetMiscFlags(), static_cast<ULONG>(AM_FILTER_MISC_FLAGS_IS_RENDERER));

    SmartComPointer<IEnumPins> pins;
    ASSERT_EQ(filter->EnumPins(pins.ReceiveSlot()), S_OK);
    IPin* pin[2] = {};
    ULONG fetched = 0;
    EXPECT_EQ(pins->Next(2, pin, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 1u);
    SmartComPointer<IPin> input;
    input.Attach(pin[0]);
    PIN_INFO info = {};
    ASSERT_EQ(input->QueryPinInfo(&info), S_OK);
    info.pFilter->Release();
    EXPECT_EQ(info.dir, PINDIR_INPUT);
    EXPECT_EQ(std::wstring(info.achName), L"Input");
    SmartComPointer<IMemInputPin> memInput;
    EXPECT_EQ(input->QueryInterface(IID_IMemInputPin, memInput.ReceiveVoidSlot()), S_OK);

    for (const IID* iid : {&IID_ISinkwellSampleExchange, &IID_ISinkwellProcessorMode, &IID_IMediaSeeking,
                           &IID_IMediaFilter, &IID_IPersist}) {
        SmartComPointer<IUnknown> part;
        EXPECT_EQ(filter->QueryInterface(*iid, part.ReceiveVoidSlot()), S_OK);
    }
    SmartComPointer<IUnknown> none;
    EXPECT_EQ(filter->QueryInterface(IID_IMediaPosition, none.ReceiveVoidSlot()), E_NOINTERFACE);
}

TEST(SinkwellRegistration, ClassFactoryHandsOutTheRequestedInterface)
{
    const GetClassObject getClassObject = SinkwellGetClassObject();
    ASSERT_NE(getClassObject, nullptr);
    SmartComPointer<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_Sinkwell1, IID_IClassFactory, factory.ReceiveVoidSlot()), S_OK);

    SmartComPointer<ISinkwellSampleExchange> exchange;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_ISinkwellSampleExchange, exchange.ReceiveVoidSlot()), S_OK);
    EXPECT_EQ(exchange->SetOption(5, 1), S_OK);
    // The interface handed out is the one asked for: its methods answer as that interface's.
    EXPECT_EQ(exchange->GetTimeSinceLastSample(nullptr), E_INVALIDARG);
    EXPECT_EQ(exchange->GetData(nullptr), S_OK);

    SmartComPointer<IUnknown> none;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, none.ReceiveVoidSlot()), E_NOINTERFACE);
    EXPECT_FALSE(none);
    int outer = 0;
    EXPECT_EQ(factory->CreateInstance(reinterpret_cast<IUnknown*>(&outer), IID_IBaseFilter, none.ReceiveVoidSlot()),
              CLASS_E_NOAGGREGATION);

    EXPECT_EQ(getClassObject(CLSID_FilterGraph, IID_IClassFactory, none.ReceiveVoidSlot()), CLASS_E_CLASSNOTAVAILABLE);

    // A live object keeps the module loaded.
    EXPECT_EQ(CallSinkwellExport("DllCanUnloadNow"), S_FALSE);
    exchange.ReleasePointer("exchange.ReleasePointer::1");
    EXPECT_EQ(CallSinkwellExport("DllCanUnloadNow"), S_OK);
}

TEST(SinkwellRegistration, PinAcceptsTheEightVideoSubtypesOnly)
{
    SmartComPointer<IBaseFilter> filter;
    ASSERT_EQ(CreateSinkByFriendlyName(filter.ReceiveSlot()), S_OK);
    SmartComPointer<IPin> input;
    ASSERT_EQ(filter->FindPin(L"Input", input.ReceiveSlot()), S_OK);

    const GUID accepted[] = {MEDIASUBTYPE_YUY2, MEDIASUBTYPE_UYVY, MEDIASUBTYPE_YVYU, MEDIASUBTYPE_YUYV,
                             MEDIASUBTYPE_YV12, MEDIASUBTYPE_IYUV, MEDIASUBTYPE_I420, MEDIASUBTYPE_RGB24};
    struct Case
    {
        GUID major;
        GUID subtype;
        HRESULT expected;
    };
    std::vector<Case> cases;
    for (const GUID& subtype : accepted)
        cases.push_back({MEDIATYPE_Video, subtype, S_OK});
    cases.push_back({MEDIATYPE_Video, MEDIASUBTYPE_RGB32, S_FALSE});
    cases.push_back({MEDIATYPE_Video, MEDIASUBTYPE_RGB565, S_FALSE});
    cases.push_back({MEDIATYPE_Video, MEDIASUBTYPE_NV12, S_FALSE});
    cases.push_back({MEDIATYPE_Audio, MEDIASUBTYPE_YUY2, S_FALSE});
    for (size_t i = 0; i < cases.size(); ++i) {
        AM_MEDIA_TYPE type = {};
        type.majortype = cases[i].major;
        type.subtype = cases[i].subtype;
        // The format type is not examined.
        type.formattype = GUID_NULL;
        EXPECT_EQ(input->QueryAccept(&type), cases[i].expected) << "case " << i;
    }
    EXPECT_EQ(input->QueryAccept(nullptr), S_FALSE);

    // The pin offers the same eight, in the registered order.
    SmartComPointer<IEnumMediaTypes> types;
    ASSERT_EQ(input->EnumMediaTypes(types.ReceiveSlot()), S_OK);
    AM_MEDIA_TYPE* offered[10] = {};
    ULONG fetched = 0;
    EXPECT_EQ(types->Next(10, offered, &fetched), S_FALSE);
    ASSERT_EQ(fetched, 8u);
    for (ULONG i = 0; i < fetched; ++i) {
        EXPECT_TRUE(IsEqualGUID(offered[i]->majortype, MEDIATYPE_Video));
        EXPECT_TRUE(IsEqualGUID(offered[i]->subtype, accepted[i])) << "type " << i;
        CoTaskMemFree(offered[i]);
    }
}

TEST(SinkwellRegistration, UnregisterRemovesTheFilterAndRegisterBringsItBack)
{
    ASSERT_TRUE(IsFoundByName());
    ASSERT_EQ(CallSinkwellExport("DllUnregisterServer"), S_OK);
    EXPECT_FALSE(IsFoundByName());
    SmartComPointer<IBaseFilter> filter;
    EXPECT_EQ(CoCreateInstance(CLSID_Sinkwell1, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               filter.ReceiveVoidSlot()),
              REGDB_E_CLASSNOTREG);
    // Unregistering what is not registered is not an error.
    EXPECT_EQ(CallSinkwellExport("DllUnregisterServer"), S_OK);

    ASSERT_EQ(CallSinkwellExport("DllRegisterServer"), S_OK);
    EXPECT_TRUE(IsFoundByName());
    EXPECT_EQ(CoCreateInstance(CLSID_Sinkwell1, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                               filter.ReceiveVoidSlot()),
              S_OK);
}

// Aggregated, the filter's interfaces count references on the outer object and answer IUnknown
// with it; only the inner unknown holds the filter's own count.
TEST(SinkwellRegistration, AggregatedFilterDelegatesToItsOuterObject)
{
    const GetClassObject getClassObject = SinkwellGetClassObject();
    ASSERT_NE(getClassObject, nullptr);
    SmartComPointer<IClassFactory> factory;
    ASSERT_EQ(getClassObject(CLSID_Sinkwell1, IID_IClassFactory, factory.ReceiveVoidSlot()), S_OK);
    OuterUnknown outer;
    ASSERT_EQ(factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(&outer.m_inner)), S_OK);
    ASSERT_NE(outer.m_inner, nullptr);
    EXPECT_EQ(outer.m_references, 1);

    IBaseFilter* filter = nullptr;
    ASSERT_EQ(outer.QueryInterface(IID_IBaseFilter, reinterpret_cast<void**>(&filter)), S_OK);
    EXPECT_EQ(outer.m_references, 2);
    IUnknown* identity = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    EXPECT_EQ(identity, static_cast<IUnknown*>(&outer));
    identity->Release();
    ISinkwellSampleExchange* exchange = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_ISinkwellSampleExchange, reinterpret_cast<void**>(&exchange)), S_OK);
    EXPECT_EQ(outer.m_references, 3);
    EXPECT_EQ(exchange->GetData(nullptr), S_OK);
    exchange->Release();
    filter->Release();
    EXPECT_EQ(outer.m_references, 1);

    EXPECT_EQ(outer.m_inner->Release(), 0u);
    outer.m_inner = nullptr;
    EXPECT_EQ(CallSinkwellExport("DllCanUnloadNow"), S_OK);
}
