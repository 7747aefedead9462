#include "Sinkwell1.h"

#include "CatchAllLog.h"
#include "sys_funct1.h"

#include <dvdmedia.h>

#include <cstdint>
#include <limits>
#include <new>

namespace {

constexpr RendererMediaType kAcceptedTypes[] = {
    {&MEDIATYPE_Video, &MEDIASUBTYPE_YUY2}, {&MEDIATYPE_Video, &MEDIASUBTYPE_UYVY},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_YVYU}, {&MEDIATYPE_Video, &MEDIASUBTYPE_YUYV},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_YV12}, {&MEDIATYPE_Video, &MEDIASUBTYPE_IYUV},
    {&MEDIATYPE_Video, &MEDIASUBTYPE_I420}, {&MEDIATYPE_Video, &MEDIASUBTYPE_RGB24},
};

// Placeholder the newest frame becomes when streaming starts.
constexpr unsigned kPlaceholderWidth = 16;
constexpr unsigned kPlaceholderHeight = 1;

// Bytes of one row: RGB24 rows of a DIB are DWORD-aligned, the YUV subtypes are not padded.
int64_t RowStride(const GUID& subtype, int64_t width, uint32_t bytesPerPixel)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24))
        return (3 * width + 3) & ~int64_t{3};
    return bytesPerPixel * width;
}

} // namespace

Sinkwell1* Sinkwell1::CreateInstance(IUnknown* outer, HRESULT* result)
{
    try {
        auto* filter = new (std::nothrow) Sinkwell1(outer, result);
        if (filter == nullptr && result != nullptr)
            *result = E_OUTOFMEMORY;
        return filter;
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        if (result != nullptr)
            *result = E_FAIL;
        return nullptr;
    }
}

Sinkwell1::Sinkwell1(IUnknown* outer, HRESULT* result)
    : RendererFilterBase(CLSID_Sinkwell1, outer, kSinkwell1InputPinName)
{
    InitializeCriticalSection(&m_filterLock);
    if (result != nullptr)
        *result = S_OK;
}

Sinkwell1::~Sinkwell1()
{
    try {
        {
            CriticalSectionLock lock(m_filterLock);
            FreeMediaTypeContent(m_currentType);
        }
        DeleteCriticalSection(&m_filterLock);
    }
    CATCH_ALL_LOG()
}

float Sinkwell1::ClampFrameRate(float framesPerSecond)
{
    if (!(framesPerSecond >= kMinFrameRate))
        return kMinFrameRate;
    if (framesPerSecond > kMaxFrameRate)
        return kMaxFrameRate;
    return framesPerSecond;
}

HRESULT Sinkwell1::NonDelegatingQueryInterface(REFIID riid, void** object)
{
    try {
        if (object == nullptr)
            return E_POINTER;
        if (IsEqualIID(riid, IID_ISinkwellSampleExchange)) {
            *object = static_cast<ISinkwellSampleExchange*>(this);
            AddRef();
            return S_OK;
        }
        if (IsEqualIID(riid, IID_ISinkwellProcessorMode)) {
            *object = static_cast<ISinkwellProcessorMode*>(this);
            AddRef();
            return S_OK;
        }
        return RendererFilterBase::NonDelegatingQueryInterface(riid, object);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Custom interfaces ------------------------------------------------------------------------

STDMETHODIMP Sinkwell1::GetData(InfoDataBufferPath1* frame)
{
    try {
        if (frame == nullptr)
            return S_OK;
        CriticalSectionLock lock(m_filterLock);
        HRESULT result = PrepareCallerFrame(*frame);
        if (frame->m_data != nullptr && m_newestFrame.m_data != nullptr && m_newestFrame.m_size_data > 0)
            result = frame->ExchangeBuffersAndDataFromCurrent(m_newestFrame);
        // Consumed: a second call before the next sample finds no data.
        m_newestFrame.m_size_data = 0;
        m_newestFrame.m_offset_data = 0;
        m_newestFrame.m_info.m_state = InfoCallInterfaceDataPath1::kStateEmpty;
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The caller's frame takes the newest frame's description. Its block is the one the exchange
// hands to the filter for the next sample, so it is reallocated only when it is smaller than the
// newest frame's data; exchanges in a steady stream then never reallocate.
HRESULT Sinkwell1::PrepareCallerFrame(InfoDataBufferPath1& frame) const
{
    const int64_t needed = static_cast<int64_t>(m_newestFrame.m_offset_data) + m_newestFrame.m_size_data;
    if (frame.m_data == nullptr || frame.m_capacity < needed)
        return frame.AllocBufferEqualCurrent(m_newestFrame);
    frame.m_self_size = m_newestFrame.m_self_size;
    frame.m_info = m_newestFrame.m_info;
    frame.m_size_data = 0;
    frame.m_stride = m_newestFrame.m_stride;
    frame.m_offset_data = m_newestFrame.m_offset_data;
    return S_OK;
}

STDMETHODIMP Sinkwell1::SetOption(int index, int value)
{
    try {
        CriticalSectionLock lock(m_filterLock);
        if (index == 0)
            m_option0 = value != 0;
        else if (index == 1)
            m_option1 = value != 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP Sinkwell1::GetTimeSinceLastSample(int64_t* milliseconds)
{
    try {
        if (milliseconds == nullptr)
            return E_INVALIDARG;
        CriticalSectionLock lock(m_filterLock);
        *milliseconds = m_frameRate.GetTimeFromLastFrame();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP Sinkwell1::SetFrameRate(float framesPerSecond)
{
    try {
        CriticalSectionLock lock(m_filterLock);
        return m_frameRate.SetFrameRate(ClampFrameRate(framesPerSecond));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

STDMETHODIMP Sinkwell1::SetCPUUsing(int mode)
{
    try {
        CriticalSectionLock lock(m_filterLock);
        m_processorMode = mode;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- Renderer ---------------------------------------------------------------------------------

HRESULT Sinkwell1::CheckMediaType(const AM_MEDIA_TYPE* type)
{
    try {
        if (type == nullptr)
            return S_FALSE;
        for (const RendererMediaType& accepted : kAcceptedTypes) {
            if (IsEqualGUID(type->majortype, *accepted.majorType) && IsEqualGUID(type->subtype, *accepted.subtype))
                return S_OK;
        }
        return S_FALSE;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

std::span<const RendererMediaType> Sinkwell1::AcceptedTypes()
{
    return kAcceptedTypes;
}

std::span<const RendererMediaType> Sinkwell1::OfferedMediaTypes() const
{
    return kAcceptedTypes;
}

HRESULT Sinkwell1::OnStartStreaming()
{
    try {
        CriticalSectionLock lock(m_filterLock);
        // The connection cannot change while streaming: its type is read once, here.
        FreeMediaTypeContent(m_currentType);
        const HRESULT typed = InputPin().ConnectionMediaType(&m_currentType);
        if (FAILED(typed))
            LOG_TEXT("Sinkwell1::OnStartStreaming::no connection media type");
        m_streamingFlag = true;
        m_frameRate.ResetFrameTime();
        m_newestFrame.SetNULLFrame();
        return m_newestFrame.UpdateSizeBuffer(kPlaceholderWidth, kPlaceholderHeight);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Sinkwell1::OnStopStreaming()
{
    try {
        CriticalSectionLock lock(m_filterLock);
        m_streamingFlag = false;
        return m_frameRate.ResetFrameTime();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Sinkwell1::DoRenderSample(IMediaSample* sample)
{
    try {
        if (sample == nullptr)
            return S_OK;
        BYTE* bytes = nullptr;
        if (FAILED(sample->GetPointer(&bytes)) || bytes == nullptr)
            return S_OK;
        const long length = sample->GetActualDataLength();
        if (length < 1)
            return S_OK;
        SampleLayout layout;
        {
            CriticalSectionLock lock(m_filterLock);
            if (!m_streamingFlag)
                return S_OK;
            // A sample the format checks drop is as if it never came: the frame not yet collected
            // stays, and the time since the last sample (the source's stall watchdog) keeps running.
            if (!DescribeSample(length, layout))
                return S_OK;
            if (m_frameRate.CheckTimeForNextFrame() != S_OK)
                return S_OK;
        }
        // Only this streaming thread touches the spare frame: the copy is made outside the lock,
        // so GetData never waits for a copy, only for the swap.
        const HRESULT stored = StoreSample(bytes, length, layout);
        if (FAILED(stored) || m_spareFrame.m_size_data == 0)
            return stored;
        CriticalSectionLock lock(m_filterLock);
        if (!m_streamingFlag)
            return S_OK;
        return m_newestFrame.ExchangeBuffersAndDataFromCurrent(m_spareFrame);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

const BITMAPINFOHEADER* Sinkwell1::CurrentBitmapHeader() const
{
    const AM_MEDIA_TYPE& type = m_currentType;
    if (type.pbFormat == nullptr)
        return nullptr;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    return nullptr;
}

bool Sinkwell1::DescribeSample(long length, SampleLayout& layout) const
{
    // A format block too small for its type, or another format type: the sample is not stored.
    const BITMAPINFOHEADER* header = CurrentBitmapHeader();
    if (header == nullptr)
        return false;
    layout.header = *header;
    layout.subtype = m_currentType.subtype;
    layout.majorType = m_currentType.majortype;
    layout.width = header->biWidth;
    layout.height = header->biHeight;
    if (layout.width <= 0 || layout.height <= 0)
        return false;
    layout.bytesPerPixel = GetBytesPerPixelFromSubtype(layout.subtype);
    layout.stride = RowStride(layout.subtype, layout.width, layout.bytesPerPixel);
    layout.size = layout.stride * layout.height;
    if (layout.stride > std::numeric_limits<int32_t>::max() || layout.size > std::numeric_limits<int32_t>::max())
        return false;
    // More data than the frame the format describes: dropped rather than cut.
    return length <= layout.size;
}

HRESULT Sinkwell1::StoreSample(const BYTE* bytes, long length, const SampleLayout& layout)
{
    InfoDataBufferPath1& frame = m_spareFrame;
    frame.SetNULLFrame();
    InfoCallInterfaceDataPath1& info = frame.m_info;
    info.m_state = InfoCallInterfaceDataPath1::kStateFrame;
    info.m_major_type = layout.majorType;
    info.m_subtype = layout.subtype;
    info.m_format_type = FORMAT_VideoInfo;
    info.m_count = 1;
    info.m_bih = layout.header;
    const HRESULT allocated = frame.AllocBufferForStandartTypeVideoData(
        static_cast<int>(layout.size), static_cast<int>(layout.width), static_cast<int>(layout.height),
        static_cast<int>(layout.stride), 0, 0, layout.subtype, layout.header.biCompression,
        static_cast<unsigned short>(layout.bytesPerPixel * 8));
    if (FAILED(allocated) || frame.m_data == nullptr || frame.m_capacity < length) {
        frame.SetNULLFrame();
        return S_OK;
    }
    frame.m_size_data = static_cast<int32_t>(length);
    return MemCopy(frame.m_data, bytes, static_cast<size_t>(length), "Sinkwell1::DoRenderSample");
}
