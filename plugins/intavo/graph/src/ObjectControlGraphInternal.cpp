#include "ObjectControlGraphInternal.h"

std::wstring WidenText(const char* text)
{
    if (text == nullptr || *text == 0)
        return std::wstring();
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (needed <= 1)
        return std::wstring();
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), needed);
    wide.resize(static_cast<size_t>(needed) - 1);
    return wide;
}

HRESULT CreateDeviceEnumerator(const GUID& category, SmartComPointer<IEnumMoniker>& monikers)
{
    SmartComPointer<ICreateDevEnum> devices;
    HRESULT result = CoCreateInstance(CLSID_SystemDeviceEnum, nullptr, CLSCTX_INPROC_SERVER, IID_ICreateDevEnum,
                                      devices.ReceiveVoidSlot());
    if (FAILED(result))
        return result;
    result = devices->CreateClassEnumerator(category, monikers.ReceiveSlot(), 0);
    if (FAILED(result))
        return result;
    return monikers ? result : S_FALSE;
}

HRESULT ReadMonikerFriendlyName(IMoniker* moniker, DynamicString& name)
{
    SmartComPointer<IPropertyBag> bag;
    HRESULT result = moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, bag.ReceiveVoidSlot());
    if (FAILED(result))
        return result;
    VARIANT value;
    VariantInit(&value);
    result = bag->Read(L"FriendlyName", &value, nullptr);
    if (SUCCEEDED(result) && value.vt != VT_BSTR)
        result = E_FAIL;
    if (SUCCEEDED(result))
        name = value.bstrVal != nullptr ? value.bstrVal : L"";
    VariantClear(&value);
    return result;
}

void DeleteMediaTypeGraph(AM_MEDIA_TYPE* type)
{
    if (type == nullptr)
        return;
    CoTaskMemFree(type->pbFormat);
    if (type->pUnk != nullptr)
        type->pUnk->Release();
    CoTaskMemFree(type);
}
