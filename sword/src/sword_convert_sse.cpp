// SSE-integer conversions: MMX registers with the word shuffle of SSE. Ends with _mm_empty.
#include "sword_convert_vector.h"
#include "sword_vector_mmx.h"

#include <xmmintrin.h>

using sword_vector::Mmx;

namespace {

// Byte pairs BG0 RA0 BG1 RA1 shuffled to BG0 BG1 RA0 RA1, then the halves joined; 4 pixels a step.
int Rgb32ToPlanesRow_sse(const BYTE* in, SWORD* r, SWORD* g, SWORD* b, int width)
{
    const __m64 lowBytes = _mm_set1_pi16(0x00FF);
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m64 pixels01 = _mm_shuffle_pi16(convert::LoadAt<Mmx>(in + 4 * x), _MM_SHUFFLE(3, 1, 2, 0));
        const __m64 pixels23 = _mm_shuffle_pi16(convert::LoadAt<Mmx>(in + 4 * x + 8), _MM_SHUFFLE(3, 1, 2, 0));
        const __m64 blueGreen = _mm_unpacklo_pi32(pixels01, pixels23);
        const __m64 redAlpha = _mm_unpackhi_pi32(pixels01, pixels23);
        convert::StoreAt<Mmx>(b + x, _mm_and_si64(blueGreen, lowBytes));
        convert::StoreAt<Mmx>(g + x, _mm_srli_pi16(blueGreen, 8));
        convert::StoreAt<Mmx>(r + x, _mm_and_si64(redAlpha, lowBytes));
    }
    _mm_empty();
    return x;
}

} // namespace

HRESULT rgb32_to_r16g16b16_sse(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                               int sourceStride, int* planeStride, int width, int height)
{
    return Rgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height,
                         Rgb32ToPlanesRow_sse);
}
