// The source interface: the per-frame fetch (in Intavo1_TransformFunction.cpp), the options and
// the graph's internal variables.
#include "Intavo1.h"

namespace {

constexpr int32_t kMethodGetFrame = 2;
constexpr int32_t kMethodSetSourceOption = 3;
constexpr int32_t kMethodUpdateGraphInternalVar = 4;
// The working plane a suspended source keeps instead of its last picture.
constexpr unsigned kSuspendedWidth = 16;
constexpr unsigned kSuspendedHeight = 1;

} // namespace

HRESULT Intavo1::DispatchSource(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case kMethodGetFrame:
        return GetFrame(&state, Param(params, 0).GetInt(), ParamPointer<InfoDataBufferPath1>(params, 1));
    case kMethodSetSourceOption:
        return SetSourceOption(state, Param(params, 0).GetInt(), Param(params, 1).GetInt());
    case kMethodUpdateGraphInternalVar:
        return UpdateGraphInternalVar(state, Param(params, 0).GetUInt(), ParamPointer<ExtStateVideoDriver>(params, 1));
    default:
        return E_FAIL;
    }
}

HRESULT Intavo1::SetSourceOption(InfoFilterIntavo1& state, int32_t index, int32_t value)
{
    try {
        // An index outside the table throws before anything changes.
        state.m_options.GetElement(static_cast<uint32_t>(index)) = value;
        if (index != InfoFilterIntavo1::kOptionSuspend || !state.m_driver)
            return S_OK;
        if (value != 0) {
            state.m_own_frame.UpdateSizeBuffer(kSuspendedWidth, kSuspendedHeight);
            return state.m_driver->Stop();
        }
        state.m_own_frame.EnableChildBuffers();
        return state.m_driver->Run();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Intavo1::UpdateGraphInternalVar(InfoFilterIntavo1& state, uint32_t code, ExtStateVideoDriver* data)
{
    if (!state.m_driver)
        return S_OK;
    if (data == nullptr)
        return E_INVALIDARG;
    try {
        return state.m_driver->SafeUpdateInternalVar(code, data);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
