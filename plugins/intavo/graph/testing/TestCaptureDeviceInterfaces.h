// The test capture device: a COM server (tests only) registered in the video input device
// category under three class ids, the first two sharing one friendly name. Each class id is one
// device: its capabilities, the formats it accepts and its call journal are shared by every
// instance of that class id, so a test configures a device through any instance, also the one a
// graph created through the device enumerator.
#pragma once

#include <windows.h>
#include <dshow.h>

// {6C1B5E52-3D4A-4F0E-9B61-2A7C8E0D4F11}, {6C1B5E52-3D4A-4F0E-9B61-2A7C8E0D4F12}: same name.
static const CLSID CLSID_TestCaptureDeviceFirst = {0x6c1b5e52, 0x3d4a, 0x4f0e, {0x9b, 0x61, 0x2a, 0x7c, 0x8e, 0x0d, 0x4f, 0x11}};
static const CLSID CLSID_TestCaptureDeviceSecond = {0x6c1b5e52, 0x3d4a, 0x4f0e, {0x9b, 0x61, 0x2a, 0x7c, 0x8e, 0x0d, 0x4f, 0x12}};
// {6C1B5E52-3D4A-4F0E-9B61-2A7C8E0D4F13}: a name of its own.
static const CLSID CLSID_TestCaptureDeviceSolo = {0x6c1b5e52, 0x3d4a, 0x4f0e, {0x9b, 0x61, 0x2a, 0x7c, 0x8e, 0x0d, 0x4f, 0x13}};

constexpr wchar_t kTestCaptureDevicePairName[] = L"Korvane Test Camera";
constexpr wchar_t kTestCaptureDeviceSoloName[] = L"Korvane Test Camera Solo";
// The live output pin's id by default; deliberately not "0" (SetPinId changes it).
constexpr wchar_t kTestCaptureDevicePinId[] = L"Capture";

// One stream capability: a VIDEOINFOHEADER or VIDEOINFOHEADER2 block for those format types, a
// zeroed block of 24 bytes for any other.
struct TestCaptureCapability
{
    GUID formatType;
    GUID subtype;
    LONG width;
    LONG height;
    VIDEO_STREAM_CONFIG_CAPS caps;
};

// A pair SetFormat accepts.
struct TestCaptureFormat
{
    GUID subtype;
    LONG width;
    LONG height;
};

// {0B7A4E13-5C2D-4E8F-A1B3-9D6C7E2F1A01}
static const IID IID_ITestCaptureDevice = {0x0b7a4e13, 0x5c2d, 0x4e8f, {0xa1, 0xb3, 0x9d, 0x6c, 0x7e, 0x2f, 0x1a, 0x01}};

// Exposed by the filter; every call acts on the device (class id) of the instance.
struct ITestCaptureDevice : public IUnknown
{
    // Replaces the capability list (GetStreamCaps order); the accepted pairs become the list's own.
    virtual HRESULT STDMETHODCALLTYPE SetCapabilities(const TestCaptureCapability* list, ULONG count) = 0;
    // Replaces the pairs SetFormat accepts (none: every SetFormat is refused).
    virtual HRESULT STDMETHODCALLTYPE SetAcceptedFormats(const TestCaptureFormat* list, ULONG count) = 0;
    // Frames flow while running unless stopped here; stopping returns once no frame is on its way.
    virtual HRESULT STDMETHODCALLTYPE SetDelivering(BOOL deliver) = 0;
    // IMediaEventSink::Notify on the graph of every instance of the device that is in a graph.
    virtual HRESULT STDMETHODCALLTYPE RaiseGraphEvent(long code, LONG_PTR first, LONG_PTR second) = 0;
    // The journal as lines ending in '\n' ("SetFormat YUY2 640x480 accepted", "put_TVFormat 16",
    // "VideoProcAmp.Set 0 50 2", "StartAt", "Run", ...), cut to size - 1 and terminated; *needed
    // receives the full length with the terminator.
    virtual HRESULT STDMETHODCALLTYPE ReadJournal(char* buffer, ULONG size, ULONG* needed) = 0;
    virtual HRESULT STDMETHODCALLTYPE ClearJournal() = 0;
    // Frames this instance has delivered.
    virtual HRESULT STDMETHODCALLTYPE GetFramesDelivered(ULONG* count) = 0;
    // The device as registered: three capabilities (YUY2 640x480, YUY2 320x240, RGB24 320x240,
    // all VIDEOINFOHEADER) and their pairs accepted, delivering, an empty journal, the pin id
    // "Capture", states reached at once, no format accepted yet.
    virtual HRESULT STDMETHODCALLTYPE RestoreDefaults() = 0;
    // The id (at most 15 characters) and name of the pin, as FindPin, QueryId and QueryPinInfo answer.
    virtual HRESULT STDMETHODCALLTYPE SetPinId(LPCWSTR id) = 0;
    // Set: GetState answers VFW_S_STATE_INTERMEDIATE, as a filter that never reaches its state.
    virtual HRESULT STDMETHODCALLTYPE SetHoldIntermediate(BOOL hold) = 0;
    // A copy of the type the last accepted SetFormat carried (free it with its block); VFW_E_NOT_FOUND
    // when none was accepted.
    virtual HRESULT STDMETHODCALLTYPE GetAcceptedFormat(AM_MEDIA_TYPE** type) = 0;
};

// Byte i of frame n (counted from 0 per run) is (n + i) & 0xFF.
inline BYTE TestCaptureCounterByte(ULONG frame, ULONG index)
{
    return static_cast<BYTE>((frame + index) & 0xFF);
}
