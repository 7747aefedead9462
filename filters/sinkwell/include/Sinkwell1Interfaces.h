// What the source plug-in uses of the sink filter Sinkwell1: its identity, the subtype the
// platform headers lack, and the two custom interfaces it queries from the filter.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <cstdint>

class InfoDataBufferPath1;

// {A3FD721F-B383-48C5-8CAE-31936F8CF156}
inline constexpr CLSID CLSID_Sinkwell1 = {0xA3FD721F, 0xB383, 0x48C5, {0x8C, 0xAE, 0x31, 0x93, 0x6F, 0x8C, 0xF1, 0x56}};
// {6975E24C-4F23-4F2A-AD96-CE3D9770BE13}
inline constexpr IID IID_ISinkwellSampleExchange = {0x6975E24C, 0x4F23, 0x4F2A,
                                                    {0xAD, 0x96, 0xCE, 0x3D, 0x97, 0x70, 0xBE, 0x13}};
// {1B4ADAAC-EC41-462A-9DDD-3F816B5775F4}
inline constexpr IID IID_ISinkwellProcessorMode = {0x1B4ADAAC, 0xEC41, 0x462A,
                                                   {0x9D, 0xDD, 0x3F, 0x81, 0x6B, 0x57, 0x75, 0xF4}};

// Name under which the filter is registered in the DirectShow filter category.
inline constexpr wchar_t kSinkwell1FriendlyName[] = L"QuillmarkSinkwell1";
inline constexpr wchar_t kSinkwell1InputPinName[] = L"Input";

// FOURCC 'I420'; mingw-w64's uuids.h has IYUV but not this one.
inline constexpr GUID MEDIASUBTYPE_I420 = {0x30323449, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

// Hands the newest sample over by swapping frame buffers, and paces the samples taken.
struct ISinkwellSampleExchange : public IUnknown
{
    // The caller's frame receives the newest sample (state word 1 and no data when none came
    // since the last call); the filter keeps the caller's former block. Null frame: 0, no change.
    virtual HRESULT STDMETHODCALLTYPE GetData(InfoDataBufferPath1* frame) = 0;
    // Index 0 or 1 stores (value != 0) in that option flag; other indexes are ignored.
    virtual HRESULT STDMETHODCALLTYPE SetOption(int index, int value) = 0;
    // Milliseconds since the frame-rate gate last let a sample through.
    virtual HRESULT STDMETHODCALLTYPE GetTimeSinceLastSample(int64_t* milliseconds) = 0;
    // Clamped to [1, 200]; until it is called no sample is taken.
    virtual HRESULT STDMETHODCALLTYPE SetFrameRate(float framesPerSecond) = 0;
};

struct ISinkwellProcessorMode : public IUnknown
{
    // The system's processor feature word.
    virtual HRESULT STDMETHODCALLTYPE SetCPUUsing(int mode) = 0;
};
