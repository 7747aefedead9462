// The test capture device: a live source filter with one capture pin that delivers a counter
// pattern on its own thread in the negotiated format, with the interfaces a capture driver offers.
#include "TestCaptureDevice.h"

#include "TestFilterParts.h"

#include <dvdmedia.h>

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr size_t kNumberDevices = sizeof(kTestCaptureDeviceClasses) / sizeof(kTestCaptureDeviceClasses[0]);
constexpr long kNumberProcAmpProperties = VideoProcAmp_Gain + 1;
constexpr long kProcAmpMinimum = -100;
constexpr long kProcAmpMaximum = 100;
constexpr REFERENCE_TIME kFrameTime = 333333; // 30 frames a second
constexpr ULONG kOtherFormatBytes = 24;
constexpr long kAllTvFormats = 0x1FFFFF;

std::atomic<LONG> g_live_objects{0};

class TestCaptureFilter;

// What a class id shares between its instances.
struct DeviceState
{
    std::mutex lock;
    // Held while a frame is on its way, so that stopping the delivery can wait for it.
    std::mutex delivery;
    std::vector<TestCaptureCapability> capabilities;
    std::vector<TestCaptureFormat> accepted;
    bool delivering = true;
    bool holdIntermediate = false;
    std::wstring pinId = kTestCaptureDevicePinId;
    AM_MEDIA_TYPE acceptedFormat{}; // majortype GUID_NULL while none
    std::string journal;
    std::vector<TestCaptureFilter*> instances;

    void Log(const std::string& line)
    {
        std::lock_guard<std::mutex> guard(lock);
        journal += line;
        journal += '\n';
    }
};

TestCaptureCapability MakeCapability(const GUID& formatType, const GUID& subtype, LONG width, LONG height)
{
    TestCaptureCapability capability = {};
    capability.formatType = formatType;
    capability.subtype = subtype;
    capability.width = width;
    capability.height = height;
    VIDEO_STREAM_CONFIG_CAPS& caps = capability.caps;
    caps.guid = formatType;
    caps.InputSize = {width, height};
    caps.MinCroppingSize = caps.InputSize;
    caps.MaxCroppingSize = caps.InputSize;
    caps.CropGranularityX = 1;
    caps.CropGranularityY = 1;
    caps.MinOutputSize = caps.InputSize;
    caps.MaxOutputSize = caps.InputSize;
    caps.MinFrameInterval = kFrameTime;
    caps.MaxFrameInterval = kFrameTime;
    return capability;
}

void ResetCapabilities(DeviceState& device, std::vector<TestCaptureCapability> capabilities)
{
    device.capabilities = std::move(capabilities);
    device.accepted.clear();
    for (const TestCaptureCapability& capability : device.capabilities)
        device.accepted.push_back({capability.subtype, capability.width, capability.height});
}

void ResetDevice(DeviceState& device)
{
    ResetCapabilities(device, {MakeCapability(FORMAT_VideoInfo, MEDIASUBTYPE_YUY2, 640, 480),
                               MakeCapability(FORMAT_VideoInfo, MEDIASUBTYPE_YUY2, 320, 240),
                               MakeCapability(FORMAT_VideoInfo, MEDIASUBTYPE_RGB24, 320, 240)});
    device.delivering = true;
    device.holdIntermediate = false;
    device.pinId = kTestCaptureDevicePinId;
    TestFreeMediaType(device.acceptedFormat);
    device.journal.clear();
}

std::wstring PinIdOf(DeviceState& device)
{
    std::lock_guard<std::mutex> guard(device.lock);
    return device.pinId;
}

DeviceState& DeviceOf(size_t index)
{
    static DeviceState devices[kNumberDevices];
    static std::once_flag filled;
    std::call_once(filled, [] {
        for (DeviceState& device : devices)
            ResetDevice(device);
    });
    return devices[index];
}

WORD BitCountOf(const GUID& subtype)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24))
        return 24;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB32))
        return 32;
    if (IsEqualGUID(subtype, MEDIASUBTYPE_YV12) || IsEqualGUID(subtype, MEDIASUBTYPE_IYUV) ||
        subtype.Data1 == MAKEFOURCC('I', '4', '2', '0'))
        return 12;
    if (subtype.Data1 == MAKEFOURCC('Y', '8', '0', '0') || subtype.Data1 == MAKEFOURCC('Y', '8', ' ', ' ') ||
        subtype.Data1 == MAKEFOURCC('G', 'R', 'E', 'Y'))
        return 8;
    return 16;
}

bool IsRgb(const GUID& subtype)
{
    return IsEqualGUID(subtype, MEDIASUBTYPE_RGB24) || IsEqualGUID(subtype, MEDIASUBTYPE_RGB32);
}

std::string SubtypeText(const GUID& subtype)
{
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB24))
        return "RGB24";
    if (IsEqualGUID(subtype, MEDIASUBTYPE_RGB32))
        return "RGB32";
    const DWORD code = subtype.Data1;
    return std::string{static_cast<char>(code & 0xFF), static_cast<char>((code >> 8) & 0xFF),
                       static_cast<char>((code >> 16) & 0xFF), static_cast<char>((code >> 24) & 0xFF)};
}

LONG ImageSize(LONG width, LONG height, WORD bitCount)
{
    const LONG rows = height < 0 ? -height : height;
    const LONG rowBytes = ((width * bitCount + 31) / 32) * 4;
    return bitCount >= 24 ? rowBytes * rows : width * rows * bitCount / 8;
}

BITMAPINFOHEADER MakeBitmapHeader(const GUID& subtype, LONG width, LONG height)
{
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = BitCountOf(subtype);
    header.biCompression = IsRgb(subtype) ? BI_RGB : subtype.Data1;
    header.biSizeImage = static_cast<DWORD>(ImageSize(width, height, header.biBitCount));
    return header;
}

// A type with its own format block (CoTaskMemAlloc); the caller frees it.
HRESULT BuildMediaType(const TestCaptureCapability& capability, AM_MEDIA_TYPE& type)
{
    ZeroMemory(&type, sizeof(type));
    const BITMAPINFOHEADER header = MakeBitmapHeader(capability.subtype, capability.width, capability.height);
    const RECT whole = {0, 0, capability.width, capability.height < 0 ? -capability.height : capability.height};
    type.majortype = MEDIATYPE_Video;
    type.subtype = capability.subtype;
    type.formattype = capability.formatType;
    type.bFixedSizeSamples = TRUE;
    type.lSampleSize = header.biSizeImage;
    if (IsEqualGUID(capability.formatType, FORMAT_VideoInfo))
        type.cbFormat = sizeof(VIDEOINFOHEADER);
    else if (IsEqualGUID(capability.formatType, FORMAT_VideoInfo2))
        type.cbFormat = sizeof(VIDEOINFOHEADER2);
    else
        type.cbFormat = kOtherFormatBytes;
    type.pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(type.cbFormat));
    if (type.pbFormat == nullptr)
        return E_OUTOFMEMORY;
    ZeroMemory(type.pbFormat, type.cbFormat);
    if (IsEqualGUID(capability.formatType, FORMAT_VideoInfo)) {
        auto* info = reinterpret_cast<VIDEOINFOHEADER*>(type.pbFormat);
        info->rcSource = whole;
        info->rcTarget = whole;
        info->AvgTimePerFrame = kFrameTime;
        info->bmiHeader = header;
    } else if (IsEqualGUID(capability.formatType, FORMAT_VideoInfo2)) {
        auto* info = reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat);
        info->rcSource = whole;
        info->rcTarget = whole;
        info->AvgTimePerFrame = kFrameTime;
        info->dwPictAspectRatioX = static_cast<DWORD>(whole.right);
        info->dwPictAspectRatioY = static_cast<DWORD>(whole.bottom);
        info->bmiHeader = header;
    }
    return S_OK;
}

// The bitmap header of a VIDEOINFOHEADER or VIDEOINFOHEADER2 type, or null.
const BITMAPINFOHEADER* BitmapHeaderOf(const AM_MEDIA_TYPE& type)
{
    if (type.pbFormat == nullptr)
        return nullptr;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo) && type.cbFormat >= sizeof(VIDEOINFOHEADER))
        return &reinterpret_cast<const VIDEOINFOHEADER*>(type.pbFormat)->bmiHeader;
    if (IsEqualGUID(type.formattype, FORMAT_VideoInfo2) && type.cbFormat >= sizeof(VIDEOINFOHEADER2))
        return &reinterpret_cast<const VIDEOINFOHEADER2*>(type.pbFormat)->bmiHeader;
    return nullptr;
}

bool SameFormat(const AM_MEDIA_TYPE& type, const GUID& subtype, LONG width, LONG height)
{
    const BITMAPINFOHEADER* header = BitmapHeaderOf(type);
    const LONG rows = header != nullptr && header->biHeight < 0 ? -header->biHeight : (header ? header->biHeight : 0);
    const LONG wantedRows = height < 0 ? -height : height;
    return header != nullptr && IsEqualGUID(type.subtype, subtype) && header->biWidth == width && rows == wantedRows;
}

std::string FormatText(const AM_MEDIA_TYPE& type)
{
    const BITMAPINFOHEADER* header = BitmapHeaderOf(type);
    char text[96] = {};
    std::snprintf(text, sizeof(text), "%s %ldx%ld", SubtypeText(type.subtype).c_str(),
                  header != nullptr ? static_cast<long>(header->biWidth) : 0L,
                  header != nullptr ? static_cast<long>(header->biHeight) : 0L);
    return text;
}

class TestCapturePin final : public IPin, public IAMStreamConfig, public IAMStreamControl, public IKsPropertySet
{
public:
    TestCapturePin(TestCaptureFilter& filter, DeviceState& device) : m_filter(filter), m_device(device) {}
    ~TestCapturePin()
    {
        ReleaseConnection();
        TestFreeMediaType(m_format);
    }

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IPin
    STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* wanted) override;
    STDMETHODIMP ReceiveConnection(IPin*, const AM_MEDIA_TYPE*) override { return E_UNEXPECTED; }
    STDMETHODIMP Disconnect() override;
    STDMETHODIMP ConnectedTo(IPin** pin) override;
    STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override
    {
        if (direction == nullptr)
            return E_POINTER;
        *direction = PINDIR_OUTPUT;
        return S_OK;
    }
    STDMETHODIMP QueryId(LPWSTR* id) override;
    STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* type) override;
    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** enumerator) override;
    STDMETHODIMP QueryInternalConnections(IPin**, ULONG*) override { return E_NOTIMPL; }
    STDMETHODIMP EndOfStream() override { return E_UNEXPECTED; }
    STDMETHODIMP BeginFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP EndFlush() override { return E_UNEXPECTED; }
    STDMETHODIMP NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) override { return S_OK; }

    // IAMStreamConfig
    STDMETHODIMP SetFormat(AM_MEDIA_TYPE* type) override;
    STDMETHODIMP GetFormat(AM_MEDIA_TYPE** type) override;
    STDMETHODIMP GetNumberOfCapabilities(int* count, int* size) override;
    STDMETHODIMP GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps) override;

    // IAMStreamControl
    STDMETHODIMP StartAt(const REFERENCE_TIME*, DWORD) override;
    STDMETHODIMP StopAt(const REFERENCE_TIME*, BOOL, DWORD) override;
    STDMETHODIMP GetInfo(AM_STREAM_INFO* info) override;

    // IKsPropertySet: the pin category
    STDMETHODIMP Set(REFGUID, DWORD, LPVOID, DWORD, LPVOID, DWORD) override { return E_PROP_ID_UNSUPPORTED; }
    STDMETHODIMP Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned) override;
    STDMETHODIMP QuerySupported(REFGUID set, DWORD id, DWORD* support) override;

    // Run by the filter under its lock.
    void Commit(bool commit)
    {
        if (m_allocator != nullptr)
            commit ? m_allocator->Commit() : m_allocator->Decommit();
    }
    bool IsStreamOn() const { return m_stream_on; }
    // Holds references on the allocator and the receiver for one delivery; false when unconnected.
    bool TakeDeliveryParts(IMemAllocator** allocator, IMemInputPin** input, LONG* sampleSize);
    // The connection's frame time.
    DWORD FrameIntervalMs() const;

private:
    std::vector<AM_MEDIA_TYPE> CandidateTypes();
    bool IsDeliverable(const AM_MEDIA_TYPE& type);
    bool IsAccepted(const AM_MEDIA_TYPE& type);
    HRESULT TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& type);
    HRESULT NegotiateAllocator(const AM_MEDIA_TYPE& type);
    void ReleaseConnection();

    TestCaptureFilter& m_filter;
    DeviceState& m_device;
    AM_MEDIA_TYPE m_format{};     // set by SetFormat; majortype GUID_NULL while unset
    AM_MEDIA_TYPE m_connection{}; // the type of the connection
    IPin* m_peer = nullptr;
    IMemInputPin* m_input = nullptr;
    IMemAllocator* m_allocator = nullptr;
    bool m_stream_on = true;
};

class TestCaptureFilter final : public IBaseFilter,
                                public IAMVideoProcAmp,
                                public IAMAnalogVideoDecoder,
                                public ITestCaptureDevice
{
public:
    TestCaptureFilter(size_t deviceIndex)
        : m_class_id(*kTestCaptureDeviceClasses[deviceIndex].classId), m_device(DeviceOf(deviceIndex)),
          m_pin(*this, m_device)
    {
        ++g_live_objects;
        m_stop_event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        for (long k = 0; k < kNumberProcAmpProperties; ++k)
            m_procamp_flags[k] = VideoProcAmp_Flags_Auto;
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.instances.push_back(this);
    }
    ~TestCaptureFilter()
    {
        Stop();
        {
            std::lock_guard<std::mutex> guard(m_device.lock);
            std::erase(m_device.instances, this);
        }
        if (m_clock != nullptr)
            m_clock->Release();
        CloseHandle(m_stop_event);
        --g_live_objects;
    }

    std::recursive_mutex& Lock() { return m_lock; }
    FILTER_STATE State() const { return m_state; }
    IFilterGraph* Graph() const { return m_graph; }
    // Under the device lock: tells this instance's graph.
    void NotifyGraph(long code, LONG_PTR first, LONG_PTR second);

    STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&m_references)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG left = InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    // IBaseFilter
    STDMETHODIMP GetClassID(CLSID* classId) override
    {
        if (classId == nullptr)
            return E_POINTER;
        *classId = m_class_id;
        return S_OK;
    }
    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;
    STDMETHODIMP Run(REFERENCE_TIME start) override;
    STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override
    {
        if (state == nullptr)
            return E_POINTER;
        {
            std::lock_guard<std::mutex> device(m_device.lock);
            if (m_device.holdIntermediate) {
                *state = m_state;
                return VFW_S_STATE_INTERMEDIATE;
            }
        }
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        *state = m_state;
        // A live source has nothing to cue while paused.
        return m_state == State_Paused ? VFW_S_CANT_CUE : S_OK;
    }
    STDMETHODIMP SetSyncSource(IReferenceClock* clock) override
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (clock != nullptr)
            clock->AddRef();
        if (m_clock != nullptr)
            m_clock->Release();
        m_clock = clock;
        return S_OK;
    }
    STDMETHODIMP GetSyncSource(IReferenceClock** clock) override
    {
        if (clock == nullptr)
            return E_POINTER;
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        *clock = m_clock;
        if (m_clock != nullptr)
            m_clock->AddRef();
        return S_OK;
    }
    STDMETHODIMP EnumPins(IEnumPins** enumerator) override
    {
        if (enumerator == nullptr)
            return E_POINTER;
        *enumerator = new TestOnePinEnumerator(this, &m_pin, 0);
        return S_OK;
    }
    STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override
    {
        if (id == nullptr || pin == nullptr)
            return E_POINTER;
        *pin = nullptr;
        if (PinIdOf(m_device) != id)
            return VFW_E_NOT_FOUND;
        *pin = &m_pin;
        m_pin.AddRef();
        return S_OK;
    }
    STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override
    {
        if (info == nullptr)
            return E_POINTER;
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        wcsncpy(info->achName, m_name, MAX_FILTER_NAME);
        info->pGraph = m_graph;
        if (m_graph != nullptr)
            m_graph->AddRef();
        return S_OK;
    }
    STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_graph = graph;
        ZeroMemory(m_name, sizeof(m_name));
        if (name != nullptr)
            wcsncpy(m_name, name, MAX_FILTER_NAME - 1);
        return S_OK;
    }
    STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

    // IAMVideoProcAmp
    STDMETHODIMP GetRange(long property, long* minimum, long* maximum, long* step, long* byDefault,
                          long* flags) override
    {
        if (property < 0 || property >= kNumberProcAmpProperties)
            return E_PROP_ID_UNSUPPORTED;
        if (minimum == nullptr || maximum == nullptr || step == nullptr || byDefault == nullptr || flags == nullptr)
            return E_POINTER;
        *minimum = kProcAmpMinimum;
        *maximum = kProcAmpMaximum;
        *step = 1;
        *byDefault = 0;
        *flags = VideoProcAmp_Flags_Auto | VideoProcAmp_Flags_Manual;
        return S_OK;
    }
    STDMETHODIMP Set(long property, long value, long flags) override
    {
        if (property < 0 || property >= kNumberProcAmpProperties)
            return E_PROP_ID_UNSUPPORTED;
        m_device.Log("VideoProcAmp.Set " + std::to_string(property) + " " + std::to_string(value) + " " +
                     std::to_string(flags));
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_procamp_values[property] = value;
        m_procamp_flags[property] = flags;
        return S_OK;
    }
    STDMETHODIMP Get(long property, long* value, long* flags) override
    {
        if (property < 0 || property >= kNumberProcAmpProperties)
            return E_PROP_ID_UNSUPPORTED;
        if (value == nullptr || flags == nullptr)
            return E_POINTER;
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        *value = m_procamp_values[property];
        *flags = m_procamp_flags[property];
        return S_OK;
    }

    // IAMAnalogVideoDecoder
    STDMETHODIMP get_AvailableTVFormats(long* formats) override { return Answer(formats, kAllTvFormats); }
    STDMETHODIMP put_TVFormat(long format) override
    {
        m_device.Log("put_TVFormat " + std::to_string(format));
        m_tv_format = format;
        return S_OK;
    }
    STDMETHODIMP get_TVFormat(long* format) override { return Answer(format, m_tv_format); }
    STDMETHODIMP get_HorizontalLocked(long* locked) override { return Answer(locked, 1); }
    STDMETHODIMP put_VCRHorizontalLocking(long) override { return S_OK; }
    STDMETHODIMP get_VCRHorizontalLocking(long* locking) override { return Answer(locking, 0); }
    STDMETHODIMP get_NumberOfLines(long* lines) override { return Answer(lines, 625); }
    STDMETHODIMP put_OutputEnable(long) override { return S_OK; }
    STDMETHODIMP get_OutputEnable(long* enable) override { return Answer(enable, 1); }

    // ITestCaptureDevice
    STDMETHODIMP SetCapabilities(const TestCaptureCapability* list, ULONG count) override
    {
        if (list == nullptr && count > 0)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_device.lock);
        ResetCapabilities(m_device, std::vector<TestCaptureCapability>(list, list + count));
        return S_OK;
    }
    STDMETHODIMP SetAcceptedFormats(const TestCaptureFormat* list, ULONG count) override
    {
        if (list == nullptr && count > 0)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.accepted.assign(list, list + count);
        return S_OK;
    }
    STDMETHODIMP SetDelivering(BOOL deliver) override
    {
        std::lock_guard<std::mutex> onItsWay(m_device.delivery);
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.delivering = deliver != FALSE;
        return S_OK;
    }
    STDMETHODIMP RaiseGraphEvent(long code, LONG_PTR first, LONG_PTR second) override
    {
        std::lock_guard<std::mutex> guard(m_device.lock);
        for (TestCaptureFilter* instance : m_device.instances)
            instance->NotifyGraph(code, first, second);
        return S_OK;
    }
    STDMETHODIMP ReadJournal(char* buffer, ULONG size, ULONG* needed) override
    {
        std::lock_guard<std::mutex> guard(m_device.lock);
        const std::string& text = m_device.journal;
        if (needed != nullptr)
            *needed = static_cast<ULONG>(text.size() + 1);
        if (buffer == nullptr || size == 0)
            return buffer == nullptr && size == 0 ? S_FALSE : E_POINTER;
        const size_t copied = text.size() < size - 1 ? text.size() : size - 1;
        text.copy(buffer, copied);
        buffer[copied] = 0;
        return copied == text.size() ? S_OK : S_FALSE;
    }
    STDMETHODIMP ClearJournal() override
    {
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.journal.clear();
        return S_OK;
    }
    STDMETHODIMP GetFramesDelivered(ULONG* count) override { return Answer(count, static_cast<long>(m_frames)); }
    STDMETHODIMP RestoreDefaults() override
    {
        std::lock_guard<std::mutex> guard(m_device.lock);
        ResetDevice(m_device);
        return S_OK;
    }
    STDMETHODIMP SetPinId(LPCWSTR id) override
    {
        if (id == nullptr || wcslen(id) >= 16)
            return E_INVALIDARG;
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.pinId = id;
        return S_OK;
    }
    STDMETHODIMP SetHoldIntermediate(BOOL hold) override
    {
        std::lock_guard<std::mutex> guard(m_device.lock);
        m_device.holdIntermediate = hold != FALSE;
        return S_OK;
    }
    STDMETHODIMP GetAcceptedFormat(AM_MEDIA_TYPE** type) override
    {
        if (type == nullptr)
            return E_POINTER;
        std::lock_guard<std::mutex> guard(m_device.lock);
        *type = nullptr;
        if (IsEqualGUID(m_device.acceptedFormat.majortype, GUID_NULL))
            return VFW_E_NOT_FOUND;
        *type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
        if (*type == nullptr)
            return E_OUTOFMEMORY;
        return TestCopyMediaType(**type, m_device.acceptedFormat);
    }

private:
    template <class T>
    static HRESULT Answer(T* slot, long value)
    {
        if (slot == nullptr)
            return E_POINTER;
        *slot = static_cast<T>(value);
        return S_OK;
    }
    void StreamFrames();
    void DeliverFrame();
    // Stops the streaming thread; called without the filter lock.
    void EndStreaming();

    LONG m_references = 1;
    const CLSID m_class_id;
    DeviceState& m_device;
    std::recursive_mutex m_lock;
    FILTER_STATE m_state = State_Stopped;
    IReferenceClock* m_clock = nullptr;
    IFilterGraph* m_graph = nullptr; // weak: the graph owns the filter
    WCHAR m_name[MAX_FILTER_NAME] = {};
    TestCapturePin m_pin;
    HANDLE m_stop_event = nullptr;
    std::thread m_streaming;
    std::atomic<ULONG> m_frames{0};
    long m_procamp_values[kNumberProcAmpProperties] = {};
    long m_procamp_flags[kNumberProcAmpProperties] = {};
    long m_tv_format = AnalogVideo_PAL_B;
};

// ---- Pin -----------------------------------------------------------------------------------

STDMETHODIMP TestCapturePin::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPin))
        *object = static_cast<IPin*>(this);
    else if (IsEqualIID(riid, IID_IAMStreamConfig))
        *object = static_cast<IAMStreamConfig*>(this);
    else if (IsEqualIID(riid, IID_IAMStreamControl))
        *object = static_cast<IAMStreamControl*>(this);
    else if (IsEqualIID(riid, IID_IKsPropertySet))
        *object = static_cast<IKsPropertySet*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

STDMETHODIMP_(ULONG) TestCapturePin::AddRef()
{
    return m_filter.AddRef();
}

STDMETHODIMP_(ULONG) TestCapturePin::Release()
{
    return m_filter.Release();
}

std::vector<AM_MEDIA_TYPE> TestCapturePin::CandidateTypes()
{
    std::vector<AM_MEDIA_TYPE> types;
    if (!IsEqualGUID(m_format.majortype, GUID_NULL)) {
        types.emplace_back();
        TestCopyMediaType(types.back(), m_format);
        return types;
    }
    std::lock_guard<std::mutex> guard(m_device.lock);
    for (const TestCaptureCapability& capability : m_device.capabilities) {
        types.emplace_back();
        BuildMediaType(capability, types.back());
    }
    return types;
}

bool TestCapturePin::IsDeliverable(const AM_MEDIA_TYPE& type)
{
    std::vector<AM_MEDIA_TYPE> candidates = CandidateTypes();
    bool found = false;
    for (AM_MEDIA_TYPE& candidate : candidates) {
        const BITMAPINFOHEADER* header = BitmapHeaderOf(candidate);
        found = found || (header != nullptr && SameFormat(type, candidate.subtype, header->biWidth, header->biHeight));
        TestFreeMediaType(candidate);
    }
    return found;
}

bool TestCapturePin::IsAccepted(const AM_MEDIA_TYPE& type)
{
    std::lock_guard<std::mutex> guard(m_device.lock);
    for (const TestCaptureFormat& format : m_device.accepted)
        if (IsEqualGUID(type.majortype, MEDIATYPE_Video) && SameFormat(type, format.subtype, format.width, format.height))
            return true;
    return false;
}

STDMETHODIMP TestCapturePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* wanted)
{
    if (receivePin == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    if (m_peer != nullptr)
        return VFW_E_ALREADY_CONNECTED;
    if (m_filter.State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    const bool complete = wanted != nullptr && !IsEqualGUID(wanted->formattype, GUID_NULL) && wanted->pbFormat != nullptr;
    if (complete)
        return IsDeliverable(*wanted) ? TryConnection(receivePin, *wanted) : VFW_E_TYPE_NOT_ACCEPTED;
    HRESULT result = VFW_E_NO_ACCEPTABLE_TYPES;
    std::vector<AM_MEDIA_TYPE> candidates = CandidateTypes();
    for (AM_MEDIA_TYPE& candidate : candidates) {
        const bool fits = wanted == nullptr ||
                          ((IsEqualGUID(wanted->majortype, GUID_NULL) || IsEqualGUID(wanted->majortype, candidate.majortype)) &&
                           (IsEqualGUID(wanted->subtype, GUID_NULL) || IsEqualGUID(wanted->subtype, candidate.subtype)));
        if (fits && m_peer == nullptr)
            result = TryConnection(receivePin, candidate);
        TestFreeMediaType(candidate);
    }
    return m_peer != nullptr ? S_OK : result;
}

HRESULT TestCapturePin::TryConnection(IPin* receivePin, const AM_MEDIA_TYPE& type)
{
    HRESULT result = receivePin->ReceiveConnection(this, &type);
    if (FAILED(result))
        return result;
    m_peer = receivePin;
    m_peer->AddRef();
    result = TestCopyMediaType(m_connection, type);
    if (SUCCEEDED(result))
        result = NegotiateAllocator(type);
    if (FAILED(result)) {
        receivePin->Disconnect();
        ReleaseConnection();
    }
    return result;
}

HRESULT TestCapturePin::NegotiateAllocator(const AM_MEDIA_TYPE& type)
{
    HRESULT result = m_peer->QueryInterface(IID_IMemInputPin, reinterpret_cast<void**>(&m_input));
    if (FAILED(result))
        return result;
    if (FAILED(m_input->GetAllocator(&m_allocator)))
        result = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                  reinterpret_cast<void**>(&m_allocator));
    if (FAILED(result))
        return result;
    ALLOCATOR_PROPERTIES wanted = {2, static_cast<long>(type.lSampleSize), 1, 0};
    ALLOCATOR_PROPERTIES actual = {};
    result = m_allocator->SetProperties(&wanted, &actual);
    if (SUCCEEDED(result))
        result = m_input->NotifyAllocator(m_allocator, FALSE);
    return result;
}

void TestCapturePin::ReleaseConnection()
{
    if (m_allocator != nullptr)
        m_allocator->Release();
    if (m_input != nullptr)
        m_input->Release();
    if (m_peer != nullptr)
        m_peer->Release();
    m_allocator = nullptr;
    m_input = nullptr;
    m_peer = nullptr;
    TestFreeMediaType(m_connection);
}

STDMETHODIMP TestCapturePin::Disconnect()
{
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    if (m_filter.State() != State_Stopped)
        return VFW_E_NOT_STOPPED;
    if (m_peer == nullptr)
        return S_FALSE;
    ReleaseConnection();
    return S_OK;
}

STDMETHODIMP TestCapturePin::ConnectedTo(IPin** pin)
{
    if (pin == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    *pin = m_peer;
    if (m_peer == nullptr)
        return VFW_E_NOT_CONNECTED;
    m_peer->AddRef();
    return S_OK;
}

STDMETHODIMP TestCapturePin::ConnectionMediaType(AM_MEDIA_TYPE* type)
{
    if (type == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    ZeroMemory(type, sizeof(*type));
    return m_peer == nullptr ? VFW_E_NOT_CONNECTED : TestCopyMediaType(*type, m_connection);
}

STDMETHODIMP TestCapturePin::QueryPinInfo(PIN_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    info->pFilter = &m_filter;
    m_filter.AddRef();
    info->dir = PINDIR_OUTPUT;
    wcsncpy(info->achName, PinIdOf(m_device).c_str(), MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = 0;
    return S_OK;
}

STDMETHODIMP TestCapturePin::QueryId(LPWSTR* id)
{
    if (id == nullptr)
        return E_POINTER;
    const std::wstring text = PinIdOf(m_device);
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (*id == nullptr)
        return E_OUTOFMEMORY;
    CopyMemory(*id, text.c_str(), bytes);
    return S_OK;
}

STDMETHODIMP TestCapturePin::QueryAccept(const AM_MEDIA_TYPE* type)
{
    if (type == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    return IsDeliverable(*type) ? S_OK : S_FALSE;
}

STDMETHODIMP TestCapturePin::EnumMediaTypes(IEnumMediaTypes** enumerator)
{
    if (enumerator == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    std::vector<AM_MEDIA_TYPE> types = CandidateTypes();
    *enumerator = new TestMediaTypeEnumerator(types);
    for (AM_MEDIA_TYPE& type : types)
        TestFreeMediaType(type);
    return S_OK;
}

STDMETHODIMP TestCapturePin::SetFormat(AM_MEDIA_TYPE* type)
{
    if (type == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    const bool accepted = IsAccepted(*type);
    // A connected pin keeps its connection's format.
    const bool keepsConnection = m_peer == nullptr || SameFormat(m_connection, type->subtype,
                                                                  BitmapHeaderOf(*type) ? BitmapHeaderOf(*type)->biWidth : 0,
                                                                  BitmapHeaderOf(*type) ? BitmapHeaderOf(*type)->biHeight : 0);
    m_device.Log("SetFormat " + FormatText(*type) + (accepted && keepsConnection ? " accepted" : " refused"));
    if (!accepted)
        return VFW_E_INVALIDMEDIATYPE;
    if (!keepsConnection)
        return VFW_E_ALREADY_CONNECTED;
    TestFreeMediaType(m_format);
    {
        std::lock_guard<std::mutex> device(m_device.lock);
        TestFreeMediaType(m_device.acceptedFormat);
        TestCopyMediaType(m_device.acceptedFormat, *type);
    }
    return TestCopyMediaType(m_format, *type);
}

STDMETHODIMP TestCapturePin::GetFormat(AM_MEDIA_TYPE** type)
{
    if (type == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    std::vector<AM_MEDIA_TYPE> candidates = CandidateTypes();
    if (candidates.empty())
        return VFW_E_NO_TYPES;
    *type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    HRESULT result = *type != nullptr ? S_OK : E_OUTOFMEMORY;
    if (SUCCEEDED(result))
        **type = candidates.front();
    else
        TestFreeMediaType(candidates.front());
    for (size_t k = 1; k < candidates.size(); ++k)
        TestFreeMediaType(candidates[k]);
    return result;
}

STDMETHODIMP TestCapturePin::GetNumberOfCapabilities(int* count, int* size)
{
    if (count == nullptr || size == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_device.lock);
    *count = static_cast<int>(m_device.capabilities.size());
    *size = sizeof(VIDEO_STREAM_CONFIG_CAPS);
    return S_OK;
}

STDMETHODIMP TestCapturePin::GetStreamCaps(int index, AM_MEDIA_TYPE** type, BYTE* caps)
{
    if (type == nullptr || caps == nullptr)
        return E_POINTER;
    std::lock_guard<std::mutex> guard(m_device.lock);
    if (index < 0 || static_cast<size_t>(index) >= m_device.capabilities.size())
        return S_FALSE;
    const TestCaptureCapability& capability = m_device.capabilities[static_cast<size_t>(index)];
    *type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
    if (*type == nullptr)
        return E_OUTOFMEMORY;
    const HRESULT result = BuildMediaType(capability, **type);
    CopyMemory(caps, &capability.caps, sizeof(capability.caps));
    return result;
}

STDMETHODIMP TestCapturePin::StartAt(const REFERENCE_TIME*, DWORD)
{
    m_device.Log("StartAt");
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    m_stream_on = true;
    return S_OK;
}

STDMETHODIMP TestCapturePin::StopAt(const REFERENCE_TIME*, BOOL, DWORD)
{
    m_device.Log("StopAt");
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    m_stream_on = false;
    return S_OK;
}

STDMETHODIMP TestCapturePin::GetInfo(AM_STREAM_INFO* info)
{
    if (info == nullptr)
        return E_POINTER;
    std::lock_guard<std::recursive_mutex> guard(m_filter.Lock());
    ZeroMemory(info, sizeof(*info));
    info->dwFlags = m_stream_on ? 0 : AM_STREAM_INFO_DISCARDING;
    return S_OK;
}

STDMETHODIMP TestCapturePin::Get(REFGUID set, DWORD id, LPVOID, DWORD, LPVOID data, DWORD size, DWORD* returned)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (returned != nullptr)
        *returned = sizeof(GUID);
    if (data == nullptr)
        return returned != nullptr ? S_OK : E_POINTER;
    if (size < sizeof(GUID))
        return E_UNEXPECTED;
    *static_cast<GUID*>(data) = PIN_CATEGORY_CAPTURE;
    return S_OK;
}

STDMETHODIMP TestCapturePin::QuerySupported(REFGUID set, DWORD id, DWORD* support)
{
    if (!IsEqualGUID(set, AMPROPSETID_Pin))
        return E_PROP_SET_UNSUPPORTED;
    if (id != AMPROPERTY_PIN_CATEGORY)
        return E_PROP_ID_UNSUPPORTED;
    if (support != nullptr)
        *support = KSPROPERTY_SUPPORT_GET;
    return S_OK;
}

bool TestCapturePin::TakeDeliveryParts(IMemAllocator** allocator, IMemInputPin** input, LONG* sampleSize)
{
    if (m_allocator == nullptr || m_input == nullptr)
        return false;
    *allocator = m_allocator;
    *input = m_input;
    m_allocator->AddRef();
    m_input->AddRef();
    *sampleSize = static_cast<LONG>(m_connection.lSampleSize);
    return true;
}

DWORD TestCapturePin::FrameIntervalMs() const
{
    const auto* info = reinterpret_cast<const VIDEOINFOHEADER*>(m_connection.pbFormat);
    const REFERENCE_TIME frameTime =
        IsEqualGUID(m_connection.formattype, FORMAT_VideoInfo) && info != nullptr && info->AvgTimePerFrame > 0
            ? info->AvgTimePerFrame
            : kFrameTime;
    return static_cast<DWORD>(frameTime / 10000);
}

// ---- Filter --------------------------------------------------------------------------------

STDMETHODIMP TestCaptureFilter::QueryInterface(REFIID riid, void** object)
{
    if (object == nullptr)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IBaseFilter) || IsEqualIID(riid, IID_IMediaFilter) ||
        IsEqualIID(riid, IID_IPersist))
        *object = static_cast<IBaseFilter*>(this);
    else if (IsEqualIID(riid, IID_IAMVideoProcAmp))
        *object = static_cast<IAMVideoProcAmp*>(this);
    else if (IsEqualIID(riid, IID_IAMAnalogVideoDecoder))
        *object = static_cast<IAMAnalogVideoDecoder*>(this);
    else if (IsEqualIID(riid, IID_ITestCaptureDevice))
        *object = static_cast<ITestCaptureDevice*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

void TestCaptureFilter::NotifyGraph(long code, LONG_PTR first, LONG_PTR second)
{
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    IMediaEventSink* sink = nullptr;
    if (m_graph != nullptr && SUCCEEDED(m_graph->QueryInterface(IID_IMediaEventSink, reinterpret_cast<void**>(&sink)))) {
        sink->Notify(code, first, second);
        sink->Release();
    }
}

STDMETHODIMP TestCaptureFilter::Stop()
{
    m_device.Log("Stop");
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        m_state = State_Stopped;
        // Wakes a delivery that waits for a buffer.
        m_pin.Commit(false);
    }
    EndStreaming();
    return S_OK;
}

STDMETHODIMP TestCaptureFilter::Pause()
{
    m_device.Log("Pause");
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_state == State_Stopped)
        m_pin.Commit(true);
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP TestCaptureFilter::Run(REFERENCE_TIME)
{
    m_device.Log("Run");
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    if (m_state == State_Stopped)
        m_pin.Commit(true);
    m_state = State_Running;
    if (!m_streaming.joinable()) {
        m_frames = 0;
        ResetEvent(m_stop_event);
        m_streaming = std::thread(&TestCaptureFilter::StreamFrames, this);
    }
    return S_OK;
}

void TestCaptureFilter::EndStreaming()
{
    std::thread streaming;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        streaming.swap(m_streaming);
    }
    if (!streaming.joinable())
        return;
    SetEvent(m_stop_event);
    streaming.join();
}

void TestCaptureFilter::StreamFrames()
{
    for (;;) {
        DWORD intervalMs = 0;
        {
            std::lock_guard<std::recursive_mutex> guard(m_lock);
            intervalMs = m_pin.FrameIntervalMs();
        }
        if (WaitForSingleObject(m_stop_event, intervalMs) == WAIT_OBJECT_0)
            return;
        DeliverFrame();
    }
}

void TestCaptureFilter::DeliverFrame()
{
    std::lock_guard<std::mutex> onItsWay(m_device.delivery);
    IMemAllocator* allocator = nullptr;
    IMemInputPin* input = nullptr;
    LONG size = 0;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        bool delivering = false;
        {
            std::lock_guard<std::mutex> deviceGuard(m_device.lock);
            delivering = m_device.delivering;
        }
        if (m_state != State_Running || !delivering || !m_pin.IsStreamOn() ||
            !m_pin.TakeDeliveryParts(&allocator, &input, &size))
            return;
    }
    IMediaSample* sample = nullptr;
    if (SUCCEEDED(allocator->GetBuffer(&sample, nullptr, nullptr, 0))) {
        BYTE* bytes = nullptr;
        if (SUCCEEDED(sample->GetPointer(&bytes))) {
            const LONG length = size < sample->GetSize() ? size : sample->GetSize();
            const ULONG frame = m_frames;
            for (LONG k = 0; k < length; ++k)
                bytes[k] = TestCaptureCounterByte(frame, static_cast<ULONG>(k));
            sample->SetActualDataLength(length);
            sample->SetTime(nullptr, nullptr);
            sample->SetSyncPoint(TRUE);
            if (SUCCEEDED(input->Receive(sample)))
                ++m_frames;
        }
        sample->Release();
    }
    allocator->Release();
    input->Release();
}

} // namespace

HRESULT CreateTestCaptureFilter(const CLSID& classId, REFIID riid, void** object)
{
    for (size_t k = 0; k < kNumberDevices; ++k) {
        if (!IsEqualCLSID(classId, *kTestCaptureDeviceClasses[k].classId))
            continue;
        TestCaptureFilter* filter = new TestCaptureFilter(k);
        const HRESULT result = filter->QueryInterface(riid, object);
        filter->Release();
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

bool CanUnloadTestCaptureDevice()
{
    return g_live_objects == 0;
}
