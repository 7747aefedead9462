// MMX gradient correction and gradient fill: whole 4-word vectors per row. Ends with _mm_empty.
#include "sword_effects_vector.h"
#include "sword_vector_mmx.h"

using sword_vector::Mmx;

HRESULT GradientCorrectImage_mmx(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                 int curveEntries)
{
    return effects::CorrectGradient<Mmx>(plane, stride, widthInWords, height, curve, curveEntries);
}

HRESULT gradient_fill_sword_funct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                      int width, int height, int, const SWORD* constant1, const SWORD*,
                                      int* alignmentOut)
{
    return effects::FillGradient<Mmx>(planeA, strideA, width, height, constant1, alignmentOut);
}
