// The grabber interface: the last frame handed out to memory or written as a frame file.
#include "Camwell1.h"
#include "FunctCreateBMPFile.h"

#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"

#include <cstddef>
#include <cstring>

namespace {

constexpr uint32_t kDescriptionSize = sizeof(InfoDataBufferPath1);

// Data size plus the description; 0 when the frame holds no data.
uint32_t HandOutSize(const InfoDataBufferPath1& frame)
{
    return frame.m_size_data > 0 ? static_cast<uint32_t>(frame.m_size_data) + kDescriptionSize : 0;
}

// Stores the value at the field's place in a byte image of a frame record.
template <class Field>
void PutField(BYTE* image, const InfoDataBufferPath1& frame, const Field& field, const Field& value)
{
    const ptrdiff_t offset = reinterpret_cast<const BYTE*>(&field) - reinterpret_cast<const BYTE*>(&frame);
    std::memcpy(image + offset, &value, sizeof(Field));
}

// A frame record as the receiver reads it: its data follow right behind it.
void WriteHandOutDescription(BYTE* image, const InfoDataBufferPath1& frame, uint32_t needed)
{
    const InfoCallInterfaceDataPath1& info = frame.m_info;
    std::memset(image, 0, kDescriptionSize);
    PutField(image, frame, frame.m_capacity, static_cast<int32_t>(needed));
    PutField(image, frame, frame.m_size_data, frame.m_size_data);
    PutField(image, frame, frame.m_offset_data, static_cast<int32_t>(kDescriptionSize));
    PutField(image, frame, frame.m_stride, frame.m_stride);
    PutField(image, frame, info.m_state, InfoCallInterfaceDataPath1::kStateFrame);
    PutField(image, frame, info.m_major_type, info.m_major_type);
    PutField(image, frame, info.m_subtype, info.m_subtype);
    PutField(image, frame, info.m_format_type, info.m_format_type);
    PutField(image, frame, info.m_count, info.m_count);
    PutField(image, frame, info.m_bih, info.m_bih);
}

// The frame's time attribute, the third parameter, when it holds one.
bool GetFrameTime(const InfoDataBufferPath1& frame, SYSTEMTIME& time)
{
    const InfoParamDataPath1& param = frame.m_info.m_params.GetElement(2);
    if (param.m_type != TypeParamSystemTime)
        return false;
    time = param.GetSystemTime();
    return true;
}

} // namespace

#if !defined(_WIN64)
static_assert(kDescriptionSize == 896, "the hand-out description is 896 bytes");
#endif

HRESULT Camwell1::DispatchGrabber(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case 0:
        state.m_grabber_on = Param(params, 0).GetBool();
        return S_OK;
    case 1:
        state.m_continuous_copy = Param(params, 0).GetBool();
        return S_OK;
    case 2: {
        bool* on = ParamPointer<bool>(params, 0);
        if (on == nullptr)
            return E_INVALIDARG;
        *on = state.m_grabber_on;
        return S_OK;
    }
    case 3:
        return HandOutLastFrame(state, ParamPointer<BYTE>(params, 0), ParamPointer<uint32_t>(params, 1));
    case 4: {
        const char* fileName = ParamPointer<const char>(params, 0);
        if (fileName == nullptr)
            return E_INVALIDARG;
        state.m_grab_file = fileName;
        state.m_grab_request = true;
        return S_OK;
    }
    case 5:
        return WriteLastFrameToFile(state, ParamPointer<const char>(params, 0), ParamPointer<const char>(params, 1));
    case 6:
        return GetHandOutSize(state, ParamPointer<uint32_t>(params, 0));
    default:
        return S_OK;
    }
}

// Each frame is handed out once: its data size is cleared afterwards.
HRESULT Camwell1::HandOutLastFrame(InfoCamwell1State& state, BYTE* buffer, uint32_t* size)
{
    if (size == nullptr)
        return E_INVALIDARG;
    const uint32_t bufferSize = *size;
    *size = 0;
    if (!state.m_grabber_on)
        return E_FAIL;
    InfoDataBufferPath1& last = state.m_last_frame;
    const uint32_t needed = HandOutSize(last);
    if (needed == 0 || buffer == nullptr || bufferSize < needed)
        return S_OK;
    if (last.m_data == nullptr)
        return S_FALSE;
    if (!HoldsFrameData(last))
        return E_FAIL;
    WriteHandOutDescription(buffer, last, needed);
    std::memcpy(buffer + kDescriptionSize, last.m_data + last.m_offset_data, static_cast<size_t>(last.m_size_data));
    last.m_size_data = 0;
    *size = needed;
    return S_OK;
}

HRESULT Camwell1::GetHandOutSize(InfoCamwell1State& state, uint32_t* size)
{
    if (size == nullptr)
        return E_INVALIDARG;
    *size = HandOutSize(state.m_last_frame);
    return S_OK;
}

HRESULT Camwell1::WriteLastFrameToFile(InfoCamwell1State& state, const char* fileName, const char* caption)
{
    if (fileName == nullptr)
        return E_INVALIDARG;
    DynamicString text(caption != nullptr ? caption : "");
    SYSTEMTIME time;
    if (text.GetLenString() == 0 && GetFrameTime(state.m_last_frame, time))
        text = MakeCaptionCamwell1(time, state.m_camera_id);
    return WriteFrameToBMPFile(state.m_last_frame, fileName, text.GetString());
}

DynamicString MakeCaptionCamwell1(const SYSTEMTIME& time, int32_t cameraId)
{
    DynamicString caption;
    ConvertSystemTimeToText(&time, caption);
    caption += " Camera : ";
    caption += cameraId;
    return caption;
}

HRESULT WriteFrameToBMPFile(const InfoDataBufferPath1& frame, const char* fileName, const char* caption)
{
    if (!HoldsFrameData(frame))
        return E_FAIL;
    MemoryBlockClass<BYTE> file;
    const HRESULT created = FunctCreateBMPFile(file, frame.m_data + frame.m_offset_data, frame.m_size_data,
                                               frame.m_info, caption);
    if (FAILED(created) || file.GetSize() == 0)
        return created;
    return SaveDataToFile(DynamicString(fileName), file.GetData(), file.GetSize(), 0);
}
