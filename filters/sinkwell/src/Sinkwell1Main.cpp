// COM server exports of the sink filter: class object, unload check and registration of the
// in-process server and of the filter in the DirectShow filter category.
#include "Sinkwell1.h"

#include "CatchAllLog.h"
#include "FunctWorkWithFiles.h"
#include "SmartComPointer.h"

#include <olectl.h>

#include <vector>

namespace {

HMODULE g_module = nullptr;

// Never chosen by intelligent connect: graphs insert the filter by name.
constexpr DWORD kSinkwell1Merit = 0x00200000;

class Sinkwell1ClassFactory final : public IClassFactory
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        return S_OK;
    }
    // One static factory for the module's lifetime.
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        try {
            if (object == nullptr)
                return E_POINTER;
            *object = nullptr;
            // An aggregating outer object may ask only for the inner unknown.
            if (outer != nullptr && !IsEqualIID(riid, IID_IUnknown))
                return CLASS_E_NOAGGREGATION;
            HRESULT result = S_OK;
            Sinkwell1* filter = Sinkwell1::CreateInstance(outer, &result);
            if (filter == nullptr)
                return FAILED(result) ? result : E_OUTOFMEMORY;
            filter->NonDelegatingAddRef();
            result = filter->NonDelegatingQueryInterface(riid, object);
            filter->NonDelegatingRelease();
            return result;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }

    STDMETHODIMP LockServer(BOOL lock) override
    {
        if (lock)
            ModuleLifetime::ObjectCreated();
        else
            ModuleLifetime::ObjectDestroyed();
        return S_OK;
    }
};

Sinkwell1ClassFactory g_factory;

HRESULT RegisterFilter(IFilterMapper2& mapper)
{
    std::vector<REGPINTYPES> types;
    for (const RendererMediaType& type : Sinkwell1::AcceptedTypes())
        types.push_back({type.majorType, type.subtype});
    REGFILTERPINS pin{};
    pin.strName = const_cast<LPWSTR>(kSinkwell1InputPinName);
    pin.clsConnectsToFilter = &CLSID_NULL;
    pin.strConnectsToPin = L"";
    pin.nMediaTypes = static_cast<UINT>(types.size());
    pin.lpMediaType = types.data();
    REGFILTER2 filter{};
    filter.dwVersion = 1;
    filter.dwMerit = kSinkwell1Merit;
    filter.cPins = 1;
    filter.rgPins = &pin;
    return mapper.RegisterFilter(CLSID_Sinkwell1, kSinkwell1FriendlyName, nullptr, &CLSID_LegacyAmFilterCategory,
                                 nullptr, &filter);
}

HRESULT UnregisterFilter(IFilterMapper2& mapper)
{
    const HRESULT result = mapper.UnregisterFilter(&CLSID_LegacyAmFilterCategory, nullptr, CLSID_Sinkwell1);
    // Nothing registered is nothing to undo.
    return result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? S_OK : result;
}

HRESULT UpdateRegistration(bool registering)
{
    // The caller may or may not have COM on this thread; undo only what was done here.
    const HRESULT initialized = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT result = S_OK;
    {
        // The server first, so that the mapper can see the class it describes.
        if (registering)
            result = RegisterInProcessServerClass(g_module, CLSID_Sinkwell1, kSinkwell1FriendlyName);
        SmartComPointer<IFilterMapper2> mapper;
        if (SUCCEEDED(result))
            result = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                      mapper.ReceiveVoidSlot());
        if (SUCCEEDED(result))
            result = registering ? RegisterFilter(*mapper.Get()) : UnregisterFilter(*mapper.Get());
        mapper.ReleasePointer("mapper.ReleasePointer::1");
        if (!registering && SUCCEEDED(result))
            result = UnregisterInProcessServerClass(CLSID_Sinkwell1);
    }
    if (SUCCEEDED(initialized))
        CoUninitialize();
    return result;
}

} // namespace

extern "C" __declspec(dllexport) HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, CLSID_Sinkwell1))
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(riid, object);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return ModuleLifetime::CanUnload() ? S_OK : S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    try {
        return UpdateRegistration(true);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    try {
        return UpdateRegistration(false);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    try {
        if (reason == DLL_PROCESS_ATTACH) {
            g_module = instance;
            DisableThreadLibraryCalls(instance);
        }
        return TRUE;
    }
    catch (...) {
        LogExceptionAt(".\\main.cpp", 28);
        return FALSE;
    }
}
