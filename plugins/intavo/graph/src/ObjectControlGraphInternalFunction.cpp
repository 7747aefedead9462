// The graph thread's building operations: the graph from a source description, the capture
// device's analog settings and format, and taking every filter out again.
#include "ObjectControlGraph1.h"

#include "ObjectControlGraphFunction.h"
#include "ObjectControlGraphInternal.h"
#include "Sinkwell1Interfaces.h"

#include "CatchAllLog.h"
#include "MediaSubtypeGuids.h"
#include "sys_funct1.h"

#include <dvdmedia.h>

#include <vector>

namespace {

constexpr char kSinkFriendlyName[] = "QuillmarkSinkwell1";
constexpr char kFileFilterName[] = "Test name file filter";
constexpr const wchar_t* kCapturePinIds[] = {L"0", L"1", L"2", L"3", L"4", L"5"};

// The sizes a device is offered after the requested one, in this order (1900, not 1920).
constexpr SIZE kCandidateSizes[] = {{768, 288},  {768, 576},   {640, 480},   {384, 288},   {320, 240},  {320, 200},
                                    {800, 600},  {1024, 768},  {1280, 1024}, {1600, 1200}, {1900, 1200}};
constexpr REFERENCE_TIME kTimePerFrameVideoInfo = 300000;
constexpr long kProcAmpProperties[] = {VideoProcAmp_Brightness, VideoProcAmp_Contrast,   VideoProcAmp_Hue,
                                       VideoProcAmp_Saturation, VideoProcAmp_Gamma,      VideoProcAmp_WhiteBalance,
                                       VideoProcAmp_BacklightCompensation, VideoProcAmp_Gain, VideoProcAmp_Sharpness};

bool IsPlanar420(const GUID& subtype)
{
    return IsNotPlanarYUVFormat(subtype) == 0;
}

// Self-consistent sizes of one candidate: planar 4:2:0 takes 12 bits a pixel.
struct CandidateFormat
{
    GUID subtype;
    LONG width;
    LONG height;
    uint32_t bytesPerPixel;
    DWORD imageSize;
};

CandidateFormat MakeCandidate(const GUID& subtype, LONG width, LONG height)
{
    const uint32_t bytesPerPixel = GetBytesPerPixelFromSubtype(subtype);
    const DWORD pixels = static_cast<DWORD>(width) * static_cast<DWORD>(height);
    const DWORD imageSize = IsPlanar420(subtype) ? pixels * 3 / 2 : pixels * bytesPerPixel;
    return {subtype, width, height, bytesPerPixel, imageSize};
}

void FillBitmapHeader(BITMAPINFOHEADER& header, const CandidateFormat& candidate)
{
    header = {};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = candidate.width;
    header.biHeight = candidate.height;
    header.biPlanes = 1;
    header.biBitCount = static_cast<WORD>(IsPlanar420(candidate.subtype) ? 12 : 8 * candidate.bytesPerPixel);
    header.biCompression =
        IsEqualGUID(candidate.subtype, MEDIASUBTYPE_RGB24) ? static_cast<DWORD>(BI_RGB) : candidate.subtype.Data1;
    header.biSizeImage = candidate.imageSize;
}

// Writes the candidate into the device's template, whose block was checked to hold the header.
void FillTemplate(AM_MEDIA_TYPE& type, const CandidateFormat& candidate)
{
    const RECT rect = {0, 0, candidate.width, candidate.height};
    const DWORD bitsPerFrame = static_cast<DWORD>(candidate.width) * static_cast<DWORD>(candidate.height) * 8 *
                               candidate.bytesPerPixel;
    type.majortype = MEDIATYPE_Video;
    type.subtype = candidate.subtype;
    type.lSampleSize = candidate.imageSize;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo)) {
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
        info->rcSource = rect;
        info->rcTarget = rect;
        info->dwBitRate = bitsPerFrame * 30;
        info->dwBitErrorRate = 0;
        info->AvgTimePerFrame = kTimePerFrameVideoInfo;
        FillBitmapHeader(info->bmiHeader, candidate);
        return;
    }
    auto* info = reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat);
    info->rcSource = rect;
    info->rcTarget = rect;
    info->dwBitRate = bitsPerFrame;
    info->dwBitErrorRate = 0;
    info->AvgTimePerFrame = 0;
    info->dwInterlaceFlags = 0;
    info->dwCopyProtectFlags = 0;
    info->dwPictAspectRatioX = static_cast<DWORD>(candidate.width);
    info->dwPictAspectRatioY = static_cast<DWORD>(candidate.height);
    info->dwControlFlags = 0;
    info->dwReserved2 = 0;
    FillBitmapHeader(info->bmiHeader, candidate);
}

// Only a block that holds the whole header is written into.
bool IsVideoTemplate(const AM_MEDIA_TYPE& type)
{
    if (type.pbFormat == nullptr)
        return false;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo))
        return type.cbFormat >= sizeof(VIDEOINFOHEADER);
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2))
        return type.cbFormat >= sizeof(VIDEOINFOHEADER2);
    return false;
}

// A filter that leads nowhere and is not the sink.
bool IsDeadEndFilter(IBaseFilter* filter)
{
    SmartComPointer<ISinkwellSampleExchange> sink;
    return HasConnectedPin(filter, kDirectionOutputGraph) == S_FALSE &&
           FAILED(filter->QueryInterface(IID_ISinkwellSampleExchange, sink.ReceiveVoidSlot()));
}

} // namespace

long ComputeHueFromSetting(double setting, long minimum, long maximum, long byDefault)
{
    const double c = setting < -1.0 ? -1.0 : (setting > 1.0 ? 1.0 : setting);
    double value = byDefault;
    if (c < 0.0)
        value = minimum + (byDefault - minimum) * (c + 1.0);
    else if (c > 0.0)
        value = byDefault + c * (maximum - byDefault);
    return static_cast<long>(value);
}

// ---- Building the graph --------------------------------------------------------------------

HRESULT ObjectControlGraph1::CreateGraphFromFormat1Real(const InfoNeedInterface* needInterface)
{
    try {
        LOG_TEXT("ObjectControlGraph1::CreateGraphFromFormat1Real::begin");
        RealStop();
        RemoveAndDeleteAllFiltersFromGraph();
        if (needInterface == nullptr)
            return E_INVALIDARG;
        TakeSourceDescription(*needInterface);
        SmartComPointer<IBaseFilter> source;
        HRESULT result = AddSourceFilter(source);
        if (FAILED(result))
            return result;
        if (!IsEqualGUID(m_need_interface.m_media_type.m_format_type, FORMAT_VideoInfo))
            return E_FAIL;
        if (source)
            ApplyCapturePropertiesToFilter(source.Get(), *needInterface);
        const int32_t kind = m_need_interface.m_type_driver;
        if (kind != TypeSourcePictureFile && kind != TypeSourceDesktop) {
            result = AddAndConnectSink(source.Get());
            if (FAILED(result))
                return result;
        }
        result = RealStop();
        LOG_TEXT("ObjectControlGraph1::CreateGraphFromFormat1Real::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::TakeSourceDescription(const InfoNeedInterface& needInterface)
{
    if (&needInterface != &m_need_interface)
        m_need_interface = needInterface;
    return RebuildPictureList();
}

HRESULT ObjectControlGraph1::AddSourceFilter(SmartComPointer<IBaseFilter>& source)
{
    HRESULT result = S_OK;
    switch (m_need_interface.m_type_driver) {
    case TypeSourceCaptureDevice:
        result = AddFilterByFriendlyName(m_graph.Get(), source.ReceiveSlot(), m_need_interface.m_name_device.GetString(),
                                         m_need_interface.m_guid_category, m_need_interface.m_index_device);
        break;
    case TypeSourceVideoFile:
        result = AddSourceFilterForFile(m_graph.Get(), source.ReceiveSlot(), kFileFilterName,
                                        m_need_interface.m_name_file.GetString());
        break;
    default:
        return S_OK;
    }
    if (FAILED(result)) {
        LOG_TEXT("ObjectControlGraph1::CreateGraphFromFormat1Real::source filter not added");
        m_need_interface.m_name_device.DumpString();
    }
    return result;
}

HRESULT ObjectControlGraph1::AddAndConnectSink(IBaseFilter* source)
{
    SmartComPointer<IBaseFilter> sink;
    HRESULT result = AddFilterByFriendlyName(m_graph.Get(), sink.ReceiveSlot(), kSinkFriendlyName,
                                             CLSID_LegacyAmFilterCategory, 0);
    if (FAILED(result) || source == nullptr)
        return result;
    SmartComPointer<ISinkwellSampleExchange> exchange;
    if (SUCCEEDED(sink->QueryInterface(IID_ISinkwellSampleExchange, exchange.ReceiveVoidSlot()))) {
        exchange->SetOption(0, m_need_interface.m_option_sink);
        exchange->SetFrameRate(m_need_interface.m_frame_rate);
    }
    if (m_need_interface.m_type_driver == TypeSourceCaptureDevice)
        return ConnectFilters(m_graph.Get(), source, sink.Get(), nullptr, nullptr, true);
    result = ConnectFilters(m_graph.Get(), source, sink.Get(), nullptr, nullptr, false);
    if (FAILED(result))
        return result;
    return RemoveDeadEndFilters(m_graph.Get(), source, &IsDeadEndFilter);
}

// ---- Capture properties --------------------------------------------------------------------

HRESULT ObjectControlGraph1::ApplyCapturePropertiesToFilter(IBaseFilter* filter, const InfoNeedInterface& needInterface)
{
    if (filter == nullptr)
        return E_UNEXPECTED;
    TakeSourceDescription(needInterface);
    ApplyTvStandard(filter, needInterface);
    ResetVideoProcAmp(filter);
    SetFormatToFirstCapturePin(filter, needInterface);
    return S_OK;
}

void ObjectControlGraph1::ApplyTvStandard(IBaseFilter* filter, const InfoNeedInterface& needInterface)
{
    SmartComPointer<IAMAnalogVideoDecoder> decoder;
    if (FAILED(filter->QueryInterface(IID_IAMAnalogVideoDecoder, decoder.ReceiveVoidSlot())) ||
        FAILED(decoder->put_TVFormat(needInterface.m_type_analog_video_standard))) {
        LOG_TEXT("ObjectControlGraph1::ApplyTvStandard::not applied");
        needInterface.m_name_device.DumpString();
    }
}

HRESULT ObjectControlGraph1::ResetVideoProcAmp(IBaseFilter* filter)
{
    SmartComPointer<IAMVideoProcAmp> amplifier;
    if (FAILED(filter->QueryInterface(IID_IAMVideoProcAmp, amplifier.ReceiveVoidSlot()))) {
        LOG_TEXT("ObjectControlGraph1::ResetVideoProcAmp::no amplifier");
        m_need_interface.m_name_device.DumpString();
        return S_FALSE;
    }
    for (const long property : kProcAmpProperties) {
        long minimum = 0, maximum = 0, step = 0, byDefault = 0, flags = 0;
        if (FAILED(amplifier->GetRange(property, &minimum, &maximum, &step, &byDefault, &flags)))
            continue;
        const double hue = m_internal_var.m_array_double.GetElement(InternalVarHue);
        const long value =
            property == VideoProcAmp_Hue ? ComputeHueFromSetting(hue, minimum, maximum, byDefault) : byDefault;
        amplifier->Set(property, value, VideoProcAmp_Flags_Manual);
    }
    return S_OK;
}

void ObjectControlGraph1::SetFormatToFirstCapturePin(IBaseFilter* filter, const InfoNeedInterface& needInterface)
{
    for (const wchar_t* id : kCapturePinIds) {
        SmartComPointer<IPin> pin;
        filter->FindPin(id, pin.ReceiveSlot());
        if (FAILED(SetFormatToPin(pin.Get(), needInterface))) {
            needInterface.m_name_device.DumpString();
            continue;
        }
        SmartComPointer<IAMStreamControl> control;
        if (FAILED(pin->QueryInterface(IID_IAMStreamControl, control.ReceiveVoidSlot()))) {
            needInterface.m_name_device.DumpString();
            continue;
        }
        if (FAILED(control->StartAt(nullptr, 0)))
            LOG_TEXT("ObjectControlGraph1::SetFormatToFirstCapturePin::StartAt failed");
        return;
    }
}

HRESULT ObjectControlGraph1::SetFormatToPin(IPin* pin, const InfoNeedInterface& needInterface)
{
    try {
        if (pin == nullptr)
            return E_INVALIDARG;
        SmartComPointer<IAMStreamConfig> config;
        if (FAILED(pin->QueryInterface(IID_IAMStreamConfig, config.ReceiveVoidSlot()))) {
            needInterface.m_name_device.DumpString();
            return E_FAIL;
        }
        if (!IsEqualGUID(needInterface.m_guid_category, CLSID_VideoInputDeviceCategory)) {
            if (IsEqualGUID(needInterface.m_guid_category, CLSID_AudioInputDeviceCategory))
                LOG_TEXT("setting property audio pin");
            needInterface.m_name_device.DumpString();
            return S_OK;
        }
        int count = 0;
        int size = 0;
        HRESULT result = config->GetNumberOfCapabilities(&count, &size);
        if (FAILED(result) || count < 1 || size < 1) {
            needInterface.m_name_device.DumpString();
            return result;
        }
        std::vector<BYTE> capabilities(static_cast<size_t>(size));
        AM_MEDIA_TYPE* model = nullptr;
        result = config->GetStreamCaps(0, &model, capabilities.data());
        if (FAILED(result) || model == nullptr) {
            needInterface.m_name_device.DumpString();
            return FAILED(result) ? result : E_FAIL;
        }
        if (!IsVideoTemplate(*model)) {
            needInterface.m_name_device.DumpString();
            DeleteMediaTypeGraph(model);
            return result;
        }
        const GUID subtypes[] = {needInterface.m_media_type.m_subtype,
                                 MEDIASUBTYPE_YUY2,
                                 media_guids::MediaSubtypeY8,
                                 MEDIASUBTYPE_RGB24,
                                 MEDIASUBTYPE_YVYU,
                                 MEDIASUBTYPE_UYVY,
                                 MEDIASUBTYPE_YUYV,
                                 media_guids::MediaSubtypeI420,
                                 MEDIASUBTYPE_IYUV,
                                 MEDIASUBTYPE_YV12};
        const BITMAPINFOHEADER& requested = needInterface.m_media_type.m_bih;
        result = E_FAIL;
        for (const GUID& subtype : subtypes) {
            for (int32_t k = -1; k < static_cast<int32_t>(std::size(kCandidateSizes)); ++k) {
                const SIZE size = k < 0 ? SIZE{requested.biWidth, requested.biHeight} : kCandidateSizes[k];
                FillTemplate(*model, MakeCandidate(subtype, size.cx, size.cy));
                result = config->SetFormat(model);
                if (SUCCEEDED(result)) {
                    DeleteMediaTypeGraph(model);
                    return S_OK;
                }
            }
        }
        DeleteMediaTypeGraph(model);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectControlGraph1::ApplayPropertyToVideoDriverReal(const InfoNeedInterface* needInterface)
{
    try {
        LOG_TEXT("ObjectControlGraph1::ApplayPropertyToVideoDriverReal::begin");
        if (needInterface == nullptr)
            return E_INVALIDARG;
        TakeSourceDescription(*needInterface);
        RealStop();
        ListFiltersGraph amplifiers;
        HRESULT result = GetFiltersWithInterface(m_graph.Get(), amplifiers, IID_IAMVideoProcAmp);
        if (FAILED(result))
            return result;
        result = S_OK;
        for (uint32_t k = 0; k < amplifiers.GetCount(); ++k) {
            if (IsEqualGUID(needInterface->m_media_type.m_format_type, FORMAT_VideoInfo))
                ApplyCapturePropertiesToFilter(amplifiers.GetElement(k).Get(), *needInterface);
            else
                result = E_FAIL;
        }
        LOG_TEXT("ObjectControlGraph1::ApplayPropertyToVideoDriverReal::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Taking the graph apart ----------------------------------------------------------------

HRESULT ObjectControlGraph1::RemoveAndDeleteAllFiltersFromGraph()
{
    try {
        if (!m_media_control)
            return E_INVALIDARG;
        RealStop();
        m_sink_exchange.ReleasePointer("m_sink_exchange.ReleasePointer::1");
        // Each pass removes the filters that nothing feeds; a pass that removes nothing ends it.
        for (;;) {
            ListFiltersGraph heads;
            const HRESULT listed = GetHeadFilters(m_graph.Get(), heads, kDirectionInputGraph);
            if (FAILED(listed))
                return listed;
            if (heads.GetCount() == 0)
                break;
            uint32_t removed = 0;
            for (uint32_t k = 0; k < heads.GetCount(); ++k)
                if (SUCCEEDED(RemoveFilterFromGraph(m_graph.Get(), heads.GetElement(k))))
                    ++removed;
            if (removed == 0) {
                LOG_TEXT("ObjectControlGraph1::RemoveAndDeleteAllFiltersFromGraph::filters left in the graph");
                return E_FAIL;
            }
        }
        m_internal_var.m_array_uint.GetElement(InternalVarGraphClock) = 1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
