// SSE2 colour key and band generation, each as an aligned kind and an any-alignment twin:
// whole 8-word vectors per row.
#include "sword_effects_vector.h"
#include "sword_vector_sse2.h"

using sword_vector::Sse2;
using sword_vector::Sse2Unaligned;

HRESULT key_source_sword_funct_sse2(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                    int strideA, int strideB, int width, int height, int, const SWORD*,
                                    const SWORD*, int* alignmentOut)
{
    return effects::KeySource<Sse2>(planeA, planeB, laneMask, strideA, strideB, width, height, alignmentOut);
}

HRESULT key_source_sword_funct_sse2u(SWORD* planeA, void*, const void* planeB, void*, const SWORD* laneMask,
                                     int strideA, int strideB, int width, int height, int, const SWORD*,
                                     const SWORD*, int* alignmentOut)
{
    return effects::KeySource<Sse2Unaligned>(planeA, planeB, laneMask, strideA, strideB, width, height,
                                             alignmentOut);
}

HRESULT GenerateImageFunct_sse2(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                int width, int height, int, const SWORD* constant1, const SWORD* constant2,
                                int* alignmentOut)
{
    return effects::GenerateBand<Sse2>(planeA, strideA, width, height, constant1, constant2, alignmentOut);
}

HRESULT GenerateImageFunct_sse2u(SWORD* planeA, void*, const void*, void*, const SWORD*, int strideA, int,
                                 int width, int height, int, const SWORD* constant1, const SWORD* constant2,
                                 int* alignmentOut)
{
    return effects::GenerateBand<Sse2Unaligned>(planeA, strideA, width, height, constant1, constant2,
                                                alignmentOut);
}
