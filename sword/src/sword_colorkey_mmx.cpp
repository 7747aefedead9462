// MMX colour key and band generation: whole 4-word vectors per row. Ends with _mm_empty.
#include "sword_effects_vector.h"
#include "sword_vector_mmx.h"

using sword_vector::Mmx;

HRESULT key_source_sword_funct_mmx(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                   int strideA, int strideB, int width, int height, int, const SWORD*,
                                   const SWORD*, int* alignmentOut)
{
    return effects::KeySource<Mmx>(planeA, planeB, laneMask, strideA, strideB, width, height, alignmentOut);
}

HRESULT GenerateImageFunct_mmx(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int, int width,
                               int height, int, const SWORD* constant1, const SWORD* constant2, int* alignmentOut)
{
    return effects::GenerateBand<Mmx>(planeA, strideA, width, height, constant1, constant2, alignmentOut);
}
