// The compression interface: in the video output it chooses the render library's file.
#include "Rendara1.h"

HRESULT Rendara1::DispatchCompress(InfoFilterStateRendara1* state, int32_t indexMethod, ListParamsDataPath1& params)
{
    switch (indexMethod) {
    case 0:
        return UpdateAvaibleCodecs(state);
    case 1:
        return SetActiveCodecForCompress(state, static_cast<const char*>(params.m_params.GetElement(0).GetPointer()));
    default:
        return S_OK;
    }
}

HRESULT Rendara1::UpdateAvaibleCodecs(InfoFilterStateRendara1* state)
{
    LOG_TEXT("Rendara1::UpdateAvaibleCodecs::begin");
    const HRESULT result = state == nullptr ? E_INVALIDARG : state->m_owner != this ? E_UNEXPECTED : S_OK;
    LOG_TEXT("Rendara1::UpdateAvaibleCodecs::end");
    return result;
}

HRESULT Rendara1::SetActiveCodecForCompress(InfoFilterStateRendara1* state, const char* fileName)
{
    LOG_TEXT("Rendara1::SetActiveCodecForCompress::begin");
    if (fileName == nullptr)
        return E_INVALIDARG;
    LOG_TEXT(fileName);
    try {
        state->m_render.m_file_name = fileName;
        const HRESULT result = LoadRenderLibrary(state, false);
        LOG_TEXT("Rendara1::SetActiveCodecForCompress::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
