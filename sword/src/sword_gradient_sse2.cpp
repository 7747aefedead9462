// SSE2 gradient correction (any alignment) and gradient fill (aligned and any-alignment twins):
// whole 8-word vectors per row.
#include "sword_effects_vector.h"
#include "sword_vector_sse2.h"

using sword_vector::Sse2;
using sword_vector::Sse2Unaligned;

HRESULT GradientCorrectImage_sse2(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                  int curveEntries)
{
    return effects::CorrectGradient<Sse2Unaligned>(plane, stride, widthInWords, height, curve, curveEntries);
}

HRESULT gradient_fill_sword_funct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                       int width, int height, int, const SWORD* constant1, const SWORD*,
                                       int* alignmentOut)
{
    return effects::FillGradient<Sse2>(planeA, strideA, width, height, constant1, alignmentOut);
}

HRESULT gradient_fill_sword_funct_sse2u(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                        int width, int height, int, const SWORD* constant1, const SWORD*,
                                        int* alignmentOut)
{
    return effects::FillGradient<Sse2Unaligned>(planeA, strideA, width, height, constant1, alignmentOut);
}
