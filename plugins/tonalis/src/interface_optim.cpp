// The processor-optimisation interface of the correction filter: the mode chooses the variants of
// the instance's operation table from the next frame on.
#include "Tonalis1.h"

HRESULT Tonalis1::DispatchOptimProcessor(Tonalis1State* state, int32_t indexMethod, ListParamsDataPath1& params)
{
    InfoParamDataPath1& first = params.m_params.GetElement(0);
    switch (indexMethod) {
    case ObjectOptimProcessorDataPath1::kMethodGetSupportedModes:
        return GetSupportedModes(state, &first);
    case ObjectOptimProcessorDataPath1::kMethodSetMode:
        return SetMode(state, first.GetUInt());
    case ObjectOptimProcessorDataPath1::kMethodGetMode:
        return GetMode(state, &first);
    default:
        return S_OK;
    }
}

HRESULT Tonalis1::GetSupportedModes(Tonalis1State* state, InfoParamDataPath1* out)
{
    if (state == nullptr)
        return E_INVALIDARG;
    return ObjectOptimProcessorDataPath1::GetSupportedModes(out, kSupportedModes);
}

HRESULT Tonalis1::SetMode(Tonalis1State* state, uint32_t mode)
{
    if (state == nullptr)
        return E_INVALIDARG;
    try {
        const HRESULT result = state->m_optim.SetMode(mode);
        FillOptimFunctionTableSWORD(state->m_operations, mode);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT Tonalis1::GetMode(Tonalis1State* state, InfoParamDataPath1* out)
{
    if (state == nullptr)
        return E_INVALIDARG;
    return state->m_optim.GetMode(out);
}
