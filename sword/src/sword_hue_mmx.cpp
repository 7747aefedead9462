// MMX hue rotation: two (U, V) pairs a step, any alignment. Ends with _mm_empty.
#include "sword_hue_vector.h"
#include "sword_vector_mmx.h"

HRESULT CorrectHue_mmx(SWORD* planeUV, const SWORD* const* matrix, int stride, int widthInWords, int height)
{
    return hue::CorrectHue<sword_vector::Mmx>(planeUV, matrix, stride, widthInWords, height);
}
