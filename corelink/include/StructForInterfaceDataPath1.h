// The typed call records that carry every plug-in interface call. The host and every plug-in
// build them from this one declaration, because they are exchanged in place.
#pragma once

#include "StaticAndDynamicBoundsObject.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

class InfoFilterObjectDataPath1;

// The plug-in interfaces, named by identifiers of the program's own.
inline constexpr GUID IID_ISourceFilterDataPath1 = {0xB394A48C, 0x2A81, 0x42C0, {0x89, 0xF0, 0x5E, 0xBA, 0x7C, 0xB5, 0xA7, 0xF1}};
inline constexpr GUID IID_IControlNetworkSend1 = {0x646CB1E0, 0x02E4, 0x4BB6, {0x95, 0x2B, 0x8E, 0x98, 0x29, 0x22, 0x72, 0x1E}};
inline constexpr GUID IID_IVideoOutputRender1 = {0x007914C2, 0x7DAF, 0x4891, {0x9C, 0x3C, 0xA4, 0xBA, 0x69, 0x52, 0x6A, 0xF8}};
inline constexpr GUID IID_IInfoCamera = {0x563A8B61, 0x7EEB, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlRateData = {0x31287BA1, 0x5846, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlCoderVideoData = {0x7BD68721, 0x8E90, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlCorrectVideoData = {0xBCEB0CE1, 0x9007, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlOptimProcessor = {0xBCEB0CE4, 0x9007, 0x11D6, {0xBE, 0xC7, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IGrabberFrames = {0x6CA499A2, 0x95C9, 0x11D6, {0x93, 0x0A, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlStream1 = {0xC425616D, 0x98F2, 0x11D6, {0x93, 0x0A, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IControlVideoDetector = {0x4FF3F723, 0x9E4C, 0x11D6, {0x93, 0x0A, 0x00, 0x02, 0x1E, 0xF4, 0x02, 0x10}};
inline constexpr GUID IID_IWriteInFileForWriteServer2 = {0x2DBA951A, 0x7255, 0x4EE2, {0x84, 0xA1, 0x0E, 0xB2, 0xB0, 0x76, 0x79, 0xD9}};
inline constexpr GUID IID_IReadFromFileForWriteServer2 = {0x6F8BA8D8, 0xFE78, 0x4932, {0xAE, 0x2B, 0x17, 0x0E, 0xD8, 0x17, 0xB7, 0x6D}};
inline constexpr GUID IID_IFilter_VideoCompress = {0xDB839BC8, 0xF0CF, 0x4DBF, {0x94, 0xEC, 0x75, 0x2E, 0x1D, 0xD9, 0x38, 0xDD}};
inline constexpr GUID IID_ISinkwell1 = {0x10B182A0, 0xFFA3, 0x4FFC, {0x95, 0xD0, 0x4F, 0xBC, 0xC5, 0x4F, 0x75, 0xC4}};
inline constexpr GUID IID_IControlDriverDirectShow = {0x85753F6F, 0x8169, 0x49CB, {0x9F, 0x53, 0x49, 0xFB, 0x0A, 0xE7, 0x8E, 0x35}};
inline constexpr GUID IID_IFilter_GeneralCompress = {0xB03F89E1, 0x4BEA, 0x4D8B, {0xAD, 0xDF, 0x45, 0x8E, 0xF5, 0xD5, 0x2C, 0x9C}};
inline constexpr GUID IID_MixerDataTundrel = {0x3066EBCC, 0xD67E, 0x41EE, {0xBA, 0xC3, 0xD7, 0x43, 0x70, 0x2B, 0x98, 0xE8}};
inline constexpr GUID IID_IControlStaticResultProcess = {0xA4D27BAB, 0x0653, 0x4B7B, {0xA0, 0xFE, 0x5E, 0x5E, 0x48, 0xDA, 0xC1, 0x94}};

// Type codes: the low byte is the base type; the two flags mark a parameter passed by pointer
// and a pointer that the callee writes back.
enum TypeParamDataPath1 : uint32_t
{
    TypeParamNone = 0,
    TypeParamInt = 1,
    TypeParamUInt = 3,
    TypeParamBool = 4,
    TypeParamBuffer = 5,
    TypeParamFloat = 6,
    TypeParamText = 8,
    TypeParamWindow = 10,
    TypeParamSystemTime = 11,
    TypeParamRect = 12,
    TypeParamStruct = 13,
    TypeParamByPointer = 0x1000000,
    TypeParamWrittenBack = 0x2000000,
};

// One typed parameter: a value sits at the front of the value area, while a pointer lives in the
// area's fifth 32-bit word.
class InfoParamDataPath1
{
public:
    uint32_t m_type = 0;
    uint32_t m_reserved1 = 0;
    union ValueArea
    {
        uint8_t m_bytes[24];
        uint64_t m_align; // the area starts on an 8-byte boundary in every build
    } m_value{};
    uint32_t m_size = 0;
    uint32_t m_reserved2 = 0;

    static constexpr size_t kPointerOffset = 16;

    HRESULT Reset()
    {
        m_type = 0;
        std::memset(m_value.m_bytes, 0, sizeof(uint32_t));
        StorePointer(nullptr);
        m_size = 0;
        return S_OK;
    }

    InfoParamDataPath1& SetInt(int32_t value) { return SetValue(TypeParamInt, &value, sizeof(value)); }
    InfoParamDataPath1& SetUInt(uint32_t value) { return SetValue(TypeParamUInt, &value, sizeof(value)); }
    InfoParamDataPath1& SetBool(bool value)
    {
        const uint8_t byte = value ? 1 : 0;
        return SetValue(TypeParamBool, &byte, sizeof(byte));
    }
    InfoParamDataPath1& SetFloat(float value) { return SetValue(TypeParamFloat, &value, sizeof(value)); }
    InfoParamDataPath1& SetWindow(HWND window) { return SetValue(TypeParamWindow, &window, sizeof(window)); }
    InfoParamDataPath1& SetSystemTime(const SYSTEMTIME& time) { return SetValue(TypeParamSystemTime, &time, sizeof(time)); }
    InfoParamDataPath1& SetRect(const RECT& rect) { return SetValue(TypeParamRect, &rect, sizeof(rect)); }

    // The size argument is not stored: a by-pointer parameter always carries size 0.
    HRESULT SetPointer(void* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamBuffer, pointer, size, out); }
    HRESULT SetIntPointer(int32_t* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamInt, pointer, size, out); }
    HRESULT SetUIntPointer(uint32_t* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamUInt, pointer, size, out); }
    HRESULT SetBoolPointer(bool* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamBool, pointer, size, out); }
    HRESULT SetFloatPointer(float* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamFloat, pointer, size, out); }
    HRESULT SetTextPointer(char* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamText, pointer, size, out); }
    HRESULT SetWindowPointer(HWND* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamWindow, pointer, size, out); }
    HRESULT SetSystemTimePointer(SYSTEMTIME* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamSystemTime, pointer, size, out); }
    HRESULT SetRectPointer(RECT* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamRect, pointer, size, out); }
    HRESULT SetStructPointer(void* pointer, uint32_t size, bool out) { return SetTypedPointer(TypeParamStruct, pointer, size, out); }

    // Any base type by pointer; the named setters above are this with their base type.
    HRESULT SetTypedPointer(uint32_t baseType, void* pointer, uint32_t /*size*/, bool out)
    {
        m_type = baseType | TypeParamByPointer | (out ? TypeParamWrittenBack : 0u);
        StorePointer(pointer);
        m_size = 0;
        return S_OK;
    }

    int32_t GetInt() const { return LoadValue<int32_t>(); }
    uint32_t GetUInt() const { return LoadValue<uint32_t>(); }
    bool GetBool() const { return m_value.m_bytes[0] != 0; }
    float GetFloat() const { return LoadValue<float>(); }
    HWND GetWindow() const { return LoadValue<HWND>(); }
    SYSTEMTIME GetSystemTime() const { return LoadValue<SYSTEMTIME>(); }
    RECT GetRect() const { return LoadValue<RECT>(); }
    void* GetPointer() const
    {
        void* pointer = nullptr;
        std::memcpy(&pointer, m_value.m_bytes + kPointerOffset, sizeof(pointer));
        return pointer;
    }
    uint32_t GetBaseType() const { return m_type & 0xFF; }
    bool IsByPointer() const { return (m_type & TypeParamByPointer) != 0; }

private:
    InfoParamDataPath1& SetValue(uint32_t type, const void* value, size_t size)
    {
        m_type = type;
        std::memcpy(m_value.m_bytes, value, size);
        StorePointer(nullptr);
        m_size = 0;
        return *this;
    }
    void StorePointer(void* pointer) { std::memcpy(m_value.m_bytes + kPointerOffset, &pointer, sizeof(pointer)); }
    template <class T>
    T LoadValue() const
    {
        static_assert(sizeof(T) <= kPointerOffset, "a by-value parameter fits before the pointer word");
        T value;
        std::memcpy(&value, m_value.m_bytes, sizeof(T));
        return value;
    }
};

// The argument list of one interface call.
class ListParamsDataPath1
{
public:
    static constexpr uint32_t kMaxParams = 16;

    StaticBoundsObject<InfoParamDataPath1, kMaxParams> m_params;
    uint32_t m_size = sizeof(ListParamsDataPath1);
    uint32_t m_count = 0;

    // Call first, then set parameters 0 to n-1.
    HRESULT SetNumberParams(uint32_t count)
    {
        try {
            m_size = sizeof(ListParamsDataPath1);
            if (count > kMaxParams)
                return E_UNEXPECTED;
            m_count = count;
            for (uint32_t i = 0; i < kMaxParams; ++i)
                m_params.GetElement(i).Reset();
            return S_OK;
        }
        CATCH_ALL_RETURN(E_FAIL)
    }
};

// What a plug-in's CallInterfaceFunction receives, by value, for one interface call.
struct CallInterfaceFunctionRecord
{
    GUID m_iid;
    int32_t m_index_method;
    ListParamsDataPath1* m_list_params;
    InfoFilterObjectDataPath1* m_info_filter;
};

#if !defined(_WIN64)
static_assert(sizeof(InfoParamDataPath1) == 40, "InfoParamDataPath1 is 40 bytes");
static_assert(sizeof(ListParamsDataPath1) == 648, "ListParamsDataPath1 is 648 bytes");
static_assert(sizeof(CallInterfaceFunctionRecord) == 28, "the call record is 28 bytes on the stack");
#endif

// The instance record, connection points, event list and export signatures.
#include "InfoFilterObjectDataPath1.h"
