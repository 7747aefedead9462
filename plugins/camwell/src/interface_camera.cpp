// The camera interface: the camera's text and id, grey picture, weekly schedule and the word
// carried in detection events.
#include "Camwell1.h"

#include <cstring>

HRESULT Camwell1::DispatchCamera(InfoCamwell1State& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case 0:
        return SetCameraText(state, ParamPointer<const char>(params, 0), Param(params, 1).GetUInt());
    case 1:
        return GetCameraText(state, ParamPointer<char>(params, 0), Param(params, 1).GetUInt(),
                             ParamPointer<uint32_t>(params, 2));
    case 2:
        return SetCameraId(state, Param(params, 0).GetInt(), Param(params, 1).GetInt());
    case 3:
        return GetCameraId(state, ParamPointer<int32_t>(params, 0));
    case 4:
        state.m_grey_picture = Param(params, 0).GetBool();
        return S_OK;
    case 5:
        state.m_special_request = true;
        return S_OK;
    case 6:
        return SetSchedule(state, ParamPointer<const BYTE>(params, 0), Param(params, 1).GetUInt());
    case 7:
        state.m_camera_flag = Param(params, 0).GetBool();
        return S_OK;
    case 8:
        state.m_event_control = ParamPointer<ObjectControlDataPath1>(params, 0);
        return S_OK;
    default:
        return S_OK;
    }
}

HRESULT Camwell1::SetCameraText(InfoCamwell1State& state, const char* text, uint32_t flag)
{
    if (flag == 0)
        return E_UNEXPECTED;
    if (text == nullptr)
        return E_INVALIDARG;
    state.m_camera_text = text;
    return S_OK;
}

// The text is copied only with room to spare; without a buffer, size or needed pointer the
// answer is the text's length.
HRESULT Camwell1::GetCameraText(InfoCamwell1State& state, char* buffer, uint32_t size, uint32_t* needed)
{
    const uint32_t length = state.m_camera_text.GetLenString();
    if (needed != nullptr)
        *needed = length + 1;
    if (buffer == nullptr || needed == nullptr || size == 0)
        return static_cast<HRESULT>(length);
    if (static_cast<uint64_t>(length) + 1 < size)
        std::memcpy(buffer, state.m_camera_text.GetString(), length + 1);
    return S_OK;
}

HRESULT Camwell1::SetCameraId(InfoCamwell1State& state, int32_t id, int32_t word2)
{
    state.m_camera_id = id;
    state.m_camera_word2 = word2;
    return S_OK;
}

HRESULT Camwell1::GetCameraId(InfoCamwell1State& state, int32_t* id)
{
    if (id == nullptr)
        return E_INVALIDARG;
    *id = state.m_camera_id;
    return S_OK;
}

HRESULT Camwell1::SetSchedule(InfoCamwell1State& state, const BYTE* schedule, uint32_t size)
{
    if (schedule == nullptr)
        return E_INVALIDARG;
    if (size < kCountScheduleHours)
        return E_UNEXPECTED;
    std::memcpy(state.m_schedule, schedule, kCountScheduleHours);
    return S_OK;
}
