// The processor-optimisation interface: the mode chooses the conversion routines of the
// instance and of its graph's sink filter.
#include "Intavo1.h"

HRESULT Intavo1::DispatchOptim(InfoFilterIntavo1& state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case ObjectOptimProcessorDataPath1::kMethodGetSupportedModes:
        return ObjectOptimProcessorDataPath1::GetSupportedModes(&Param(params, 0), kSupportedModes);
    case ObjectOptimProcessorDataPath1::kMethodSetMode:
        return SetCPUMode(state, Param(params, 0).GetUInt());
    case ObjectOptimProcessorDataPath1::kMethodGetMode:
        return state.m_optim.GetMode(&Param(params, 0));
    default:
        return E_FAIL;
    }
}

HRESULT Intavo1::SetCPUMode(InfoFilterIntavo1& state, uint32_t mode)
{
    try {
        state.m_optim.SetMode(mode);
        return SelectConversionRoutinesForState(state);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT SelectConversionRoutinesForState(InfoFilterIntavo1& state)
{
    const uint32_t mode = state.m_optim.GetModeValue();
    HRESULT result = S_OK;
    try {
        if (state.m_driver)
            result = state.m_driver->SafeSetCPUUsing(static_cast<int32_t>(mode));
    }
    CATCH_ALL_RETURN(E_FAIL)
    SelectConversionRoutines(state.m_routines, mode);
    return result;
}
