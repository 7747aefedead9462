// SSE2 hue rotation: four (U, V) pairs a step, loads and stores of any alignment.
#include "sword_hue_vector.h"
#include "sword_vector_sse2.h"

HRESULT CorrectHue_sse2(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    return hue::CorrectHue<sword_vector::Sse2Unaligned>(planeUV, matrix, stride, widthInWords, height);
}
