// SSE-integer gradient correction: MMX registers with the word extract and insert of SSE.
// Ends with _mm_empty.
#include "sword_effects_vector.h"
#include "sword_vector_sse.h"

HRESULT GradientCorrectImage_sse(SWORD* plane, int stride, int widthInWords, int height, const SWORD* curve,
                                 int curveEntries)
{
    return effects::CorrectGradient<sword_vector::MmxSse>(plane, stride, widthInWords, height, curve, curveEntries);
}
