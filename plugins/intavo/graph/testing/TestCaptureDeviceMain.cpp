// COM server exports of the test capture device: one class factory per device, registration of
// the three classes as in-process servers and as video input devices.
#include "TestCaptureDevice.h"

#include "FunctWorkWithFiles.h"
#include "SmartComPointer.h"

namespace {

HMODULE g_module = nullptr;
LONG g_locks = 0;

class TestCaptureClassFactory final : public IClassFactory
{
public:
    explicit TestCaptureClassFactory(const CLSID& classId) : m_class_id(classId) {}

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IClassFactory)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override
    {
        if (object == nullptr)
            return E_POINTER;
        *object = nullptr;
        if (outer != nullptr)
            return CLASS_E_NOAGGREGATION;
        return CreateTestCaptureFilter(m_class_id, riid, object);
    }
    STDMETHODIMP LockServer(BOOL lock) override
    {
        lock ? InterlockedIncrement(&g_locks) : InterlockedDecrement(&g_locks);
        return S_OK;
    }

private:
    LONG m_references = 1;
    const CLSID m_class_id;
};

HRESULT RegisterDevice(IFilterMapper2& mapper, const TestCaptureDeviceClass& device)
{
    REGPINTYPES type = {&MEDIATYPE_Video, &MEDIASUBTYPE_NULL};
    REGFILTERPINS pin{};
    pin.strName = const_cast<LPWSTR>(kTestCaptureDevicePinId);
    pin.bOutput = TRUE;
    pin.clsConnectsToFilter = &CLSID_NULL;
    pin.strConnectsToPin = L"";
    pin.nMediaTypes = 1;
    pin.lpMediaType = &type;
    REGFILTER2 filter{};
    filter.dwVersion = 1;
    filter.dwMerit = MERIT_DO_NOT_USE;
    filter.cPins = 1;
    filter.rgPins = &pin;
    return mapper.RegisterFilter(*device.classId, device.friendlyName, nullptr, &CLSID_VideoInputDeviceCategory,
                                 nullptr, &filter);
}

HRESULT UpdateRegistration(bool registering)
{
    // The caller may or may not have COM on this thread; undo only what was done here.
    const HRESULT initialized = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    HRESULT result = S_OK;
    {
        SmartComPointer<IFilterMapper2> mapper;
        for (const TestCaptureDeviceClass& device : kTestCaptureDeviceClasses) {
            if (SUCCEEDED(result) && registering)
                result = RegisterInProcessServerClass(g_module, *device.classId, device.friendlyName);
            if (SUCCEEDED(result) && !mapper)
                result = CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                          mapper.ReceiveVoidSlot());
            if (SUCCEEDED(result) && registering)
                result = RegisterDevice(*mapper.Get(), device);
            if (SUCCEEDED(result) && !registering) {
                mapper->UnregisterFilter(&CLSID_VideoInputDeviceCategory, nullptr, *device.classId);
                result = UnregisterInProcessServerClass(*device.classId);
            }
        }
        mapper.ReleasePointer("mapper.ReleasePointer::1");
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
    for (const TestCaptureDeviceClass& device : kTestCaptureDeviceClasses) {
        if (!IsEqualCLSID(classId, *device.classId))
            continue;
        auto* factory = new TestCaptureClassFactory(classId);
        const HRESULT result = factory->QueryInterface(riid, object);
        factory->Release();
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow()
{
    return CanUnloadTestCaptureDevice() && g_locks == 0 ? S_OK : S_FALSE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllRegisterServer()
{
    return UpdateRegistration(true);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllUnregisterServer()
{
    return UpdateRegistration(false);
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}
