// The driver interface: the source's description and frame rate, and values for the sink filter.
#include "Intavo1.h"

#include <algorithm>

namespace {

constexpr int32_t kMethodSetCaptureFormat = 0;
constexpr int32_t kMethodUpdateReceiverInfo = 1;
constexpr int32_t kMethodGetCaptureFormat = 2;
constexpr int32_t kMethodSetSourceFrameRate = 3;

} // namespace

HRESULT Intavo1::DispatchDriver(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case kMethodSetCaptureFormat:
        return SetCaptureFormat(state, ParamPointer<const InfoNeedInterface>(params, 0));
    case kMethodUpdateReceiverInfo:
        return UpdateReceiverInfo(state, Param(params, 0).GetInt(), Param(params, 1).GetInt());
    case kMethodGetCaptureFormat:
        return GetCaptureFormat(state, ParamPointer<InfoNeedInterface>(params, 0), Param(params, 1).GetInt());
    case kMethodSetSourceFrameRate:
        return SetSourceFrameRate(state, Param(params, 0).GetFloat());
    default:
        return E_FAIL;
    }
}

HRESULT Intavo1::SetCaptureFormat(InfoFilterIntavo1& state, const InfoNeedInterface* record)
{
    if (record == nullptr)
        return E_INVALIDARG;
    try {
        if (record != &state.m_need_interface)
            state.m_need_interface = *record;
        if (state.m_driver) {
            // A source that cannot be built or started still takes the record; it delivers nothing.
            state.m_driver->SetDriverInfo(&state.m_need_interface);
            state.m_driver->Run();
        }
        return SelectConversionRoutinesForState(state);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::UpdateReceiverInfo(InfoFilterIntavo1& state, int32_t key, int32_t value)
{
    if (!state.m_driver)
        return S_OK;
    try {
        return state.m_driver->SafeUpdateExtInfoForReciver(key, value);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::GetCaptureFormat(InfoFilterIntavo1& state, InfoNeedInterface* record, int32_t size)
{
    // The caller's record must be a whole one: a shorter block would be written past its end.
    if (record == nullptr || size < static_cast<int32_t>(sizeof(InfoNeedInterface)))
        return E_INVALIDARG;
    try {
        if (record != &state.m_need_interface)
            *record = state.m_need_interface;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::SetSourceFrameRate(InfoFilterIntavo1& state, float framesPerSecond)
{
    try {
        CheckFloatValue(&framesPerSecond, kMinSourceRate);
        const float rate = std::clamp(framesPerSecond, kMinSourceRate, kMaxSourceRate);
        const HRESULT gate = state.m_rate_gate.SetFrameRate(rate);
        return state.m_driver ? state.m_driver->SetFrameRate(rate) : gate;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
