// The device listing and capability listing the application's source list is built from.
#include "ObjectControlGraphDeviceList.h"

#include "ObjectControlGraphFunction.h"
#include "ObjectControlGraphInternal.h"

#include "CatchAllLog.h"

#include <cstring>

namespace {

uint32_t CountName(const ListNamesVideoDriver& names, const DynamicString& name)
{
    uint32_t count = 0;
    for (uint32_t k = 0; k < names.GetCount(); ++k)
        if (names.GetElement(k) == name)
            ++count;
    return count;
}

HRESULT AppendName(ListNamesVideoDriver& names, const DynamicString& name)
{
    const uint32_t count = names.GetCount();
    if (FAILED(names.SetSize(count + 1)))
        return E_FAIL;
    names.GetElement(count) = name;
    return S_OK;
}

HRESULT ReadCategoryNames(const GUID& category, ListNamesVideoDriver& names)
{
    SmartComPointer<IEnumMoniker> monikers;
    if (CreateDeviceEnumerator(category, monikers) != S_OK)
        return S_FALSE;
    monikers->Reset();
    IMoniker* next = nullptr;
    while (monikers->Next(1, &next, nullptr) == S_OK) {
        SmartComPointer<IMoniker> moniker;
        moniker.Attach(next);
        DynamicString name;
        if (SUCCEEDED(ReadMonikerFriendlyName(moniker.Get(), name)) && FAILED(AppendName(names, name)))
            return E_FAIL;
    }
    return S_OK;
}

// Adds the names of the category beyond the number of times the list already holds each.
HRESULT MergeCategoryNames(const GUID& category, ListNamesVideoDriver& names)
{
    ListNamesVideoDriver found;
    HRESULT result = ReadCategoryNames(category, found);
    if (result != S_OK)
        return result;
    ListNamesVideoDriver seen;
    const ListNamesVideoDriver listed(names);
    for (uint32_t k = 0; k < found.GetCount(); ++k) {
        const DynamicString& name = found.GetElement(k);
        if (CountName(seen, name) >= CountName(listed, name) && FAILED(AppendName(names, name)))
            return E_FAIL;
        if (FAILED(AppendName(seen, name)))
            return E_FAIL;
    }
    return S_OK;
}

HRESULT FindStreamConfigPin(IBaseFilter* filter, SmartComPointer<IAMStreamConfig>& config)
{
    ListPinIdsGraph outputs;
    const HRESULT result = GetPinIds(filter, outputs, kDirectionOutputGraph);
    if (FAILED(result))
        return result;
    for (uint32_t k = 0; k < outputs.GetCount(); ++k) {
        SmartComPointer<IPin> pin;
        if (SUCCEEDED(filter->FindPin(outputs.GetElement(k).c_str(), pin.ReceiveSlot())) &&
            SUCCEEDED(pin->QueryInterface(IID_IAMStreamConfig, config.ReceiveVoidSlot())))
            return S_OK;
    }
    return E_FAIL;
}

void FillCapability(InfoCapabilityVideoDriver& record, const AM_MEDIA_TYPE& type)
{
    record.m_media_type = type;
    record.m_media_type.pUnk = nullptr;
    record.m_media_type.pbFormat = nullptr;
    const ULONG placed = type.pbFormat != nullptr
                             ? (type.cbFormat < InfoCapabilityVideoDriver::kSizeFormat ? type.cbFormat
                                                                                       : InfoCapabilityVideoDriver::kSizeFormat)
                             : 0;
    std::memset(record.m_format, 0, sizeof(record.m_format));
    if (placed > 0)
        std::memcpy(record.m_format, type.pbFormat, placed);
    record.m_media_type.cbFormat = placed;
}

HRESULT ReadCapabilities(IAMStreamConfig* config, ListCapabilitiesVideoDriver& capabilities)
{
    int count = 0;
    int size = 0;
    HRESULT result = config->GetNumberOfCapabilities(&count, &size);
    if (FAILED(result))
        return result;
    if (size != static_cast<int>(sizeof(VIDEO_STREAM_CONFIG_CAPS)) || count < 0)
        return E_FAIL;
    if (count == 0)
        return S_OK;
    if (FAILED(capabilities.SetSize(static_cast<uint32_t>(count))))
        return E_FAIL;
    for (int k = 0; k < count; ++k) {
        InfoCapabilityVideoDriver& record = capabilities.GetElement(static_cast<uint32_t>(k));
        record = InfoCapabilityVideoDriver();
        AM_MEDIA_TYPE* type = nullptr;
        result = config->GetStreamCaps(k, &type, reinterpret_cast<BYTE*>(&record.m_caps));
        if (SUCCEEDED(result) && type == nullptr)
            result = E_FAIL;
        if (FAILED(result))
            return result;
        FillCapability(record, *type);
        DeleteMediaTypeGraph(type);
    }
    return S_OK;
}

} // namespace

InfoCapabilityVideoDriver::InfoCapabilityVideoDriver()
{
    std::memset(this, 0, sizeof(*this));
    m_media_type.bFixedSizeSamples = TRUE;
    m_caps.InputSize = {320, 200};
    m_caps.MinCroppingSize = {320, 200};
    m_caps.MaxCroppingSize = {320, 200};
    m_caps.CropGranularityX = 2;
    m_caps.CropGranularityY = 2;
    m_caps.CropAlignX = 1;
    m_caps.CropAlignY = 1;
    m_caps.MinOutputSize = {1, 1};
    m_caps.MaxOutputSize = {1, 1};
    m_caps.OutputGranularityX = 1;
    m_caps.OutputGranularityY = 1;
    m_caps.MinFrameInterval = 1;
    m_caps.MaxFrameInterval = 100;
    m_caps.MinBitsPerSecond = 1;
    m_caps.MaxBitsPerSecond = 1;
}

HRESULT GetListVideoCaptureDevices(const GUID& category, const GUID& secondCategory, const ListNamesVideoDriver& skip,
                                   ListNamesVideoDriver& names, int32_t* count)
{
    try {
        names.FreeAll();
        if (count == nullptr)
            return E_INVALIDARG;
        *count = 0;
        ListNamesVideoDriver found;
        HRESULT result = ReadCategoryNames(category, found);
        if (SUCCEEDED(result) && !IsEqualGUID(secondCategory, GUID_NULL))
            result = MergeCategoryNames(secondCategory, found);
        if (FAILED(result))
            return result;
        for (uint32_t k = 0; k < found.GetCount(); ++k)
            if (CountName(skip, found.GetElement(k)) == 0 && FAILED(AppendName(names, found.GetElement(k))))
                return E_FAIL;
        *count = static_cast<int32_t>(names.GetCount());
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetListCapabilitiesOfDevice(const char* friendlyName, const GUID& category,
                                    ListCapabilitiesVideoDriver& capabilities)
{
    try {
        capabilities.FreeAll();
        SmartComPointer<IBaseFilter> device;
        HRESULT result = FindDeviceFilterByFriendlyName(category, friendlyName, 0, device.ReceiveSlot());
        SmartComPointer<IAMStreamConfig> config;
        if (SUCCEEDED(result))
            result = FindStreamConfigPin(device.Get(), config);
        if (SUCCEEDED(result))
            result = ReadCapabilities(config.Get(), capabilities);
        if (FAILED(result)) {
            capabilities.FreeAll();
            LOG_TEXT("GetListCapabilitiesOfDevice::capabilities not read");
            LOG_TEXT(friendlyName != nullptr ? friendlyName : "(no name)");
        }
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
