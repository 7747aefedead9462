#include "interface_optim.h"

#include "CatchAllLog.h"

PackYuy2Kernels SelectPackYuy2Kernels(SwordColumn column)
{
    // There are no SSE-integer packing kernels: that column packs with the MMX ones.
    switch (column) {
    case SwordColumn::Sse2:
        return {ConvertY16UV16ToYUY2_sse2, ConvertY16ToYUY2_sse2};
    case SwordColumn::Plain:
        return {ConvertY16UV16ToYUY2_c, ConvertY16ToYUY2_c};
    default:
        return {ConvertY16UV16ToYUY2_mmx, ConvertY16ToYUY2_mmx};
    }
}

HRESULT ObjectOptimProcessorDataPath1::Dispatch(int32_t indexMethod, ListParamsDataPath1* params,
                                                uint32_t supportedModes)
{
    if (params == nullptr)
        return E_INVALIDARG;
    try {
        InfoParamDataPath1& first = params->m_params.GetElement(0);
        switch (indexMethod) {
        case kMethodGetSupportedModes:
            return GetSupportedModes(&first, supportedModes);
        case kMethodSetMode:
            return SetMode(first.GetUInt());
        case kMethodGetMode:
            return GetMode(&first);
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectOptimProcessorDataPath1::GetSupportedModes(InfoParamDataPath1* out, uint32_t supportedModes)
{
    if (out == nullptr)
        return E_INVALIDARG;
    out->SetInt(static_cast<int32_t>(supportedModes));
    return S_OK;
}

HRESULT ObjectOptimProcessorDataPath1::SetMode(uint32_t mode)
{
    try {
        m_mode = mode;
        m_column = SelectProcessorKernelSet(mode);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectOptimProcessorDataPath1::GetMode(InfoParamDataPath1* out) const
{
    if (out == nullptr)
        return E_INVALIDARG;
    out->SetInt(static_cast<int32_t>(m_mode));
    return S_OK;
}

bool ObjectOptimProcessorDataPath1::NamesInstructionSet() const
{
    switch (m_mode & 0xFFFF) {
    case 1: case 2: case 4: case 8: case 32: case 64:
        return true;
    default:
        return false;
    }
}
