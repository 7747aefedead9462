// SSE2 conversions: 8 pixels (one 16-byte word vector) a step with loads and stores of any
// alignment; the rest of a row goes through the plain row code.
#include "sword_convert_vector.h"
#include "sword_vector_sse2.h"

using sword_vector::Sse2Unaligned;

SWORD_CONVERT_VARIANTS(Sse2Unaligned, ConvertYUY2toY16UV16_sse2, ConvertY8toY16_sse2, SpliteUVImageToU_V_sse2,
                       JoinU_VImageToUV_sse2, r16g16b16_to_rgb32_sse2, r16g16b16_to_rgb16_sse2,
                       ConvertRGB24ToYUY2_sse2, ConvertY16UV16ToYUY2_sse2, ConvertY16ToYUY2_sse2)

namespace {

// 8 pixels (two 16-byte loads) a step: three rounds of byte interleaving gather B0..B7 G0..G7 and
// R0..R7 A0..A7, which widen to words against zero.
int Rgb32ToPlanesRow_sse2(const BYTE* in, SWORD* r, SWORD* g, SWORD* b, int width)
{
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m128i pixels0123 = convert::LoadAt<Sse2Unaligned>(in + 4 * x);
        const __m128i pixels4567 = convert::LoadAt<Sse2Unaligned>(in + 4 * x + 16);
        const __m128i mixed0 = _mm_unpacklo_epi8(pixels0123, pixels4567); // pixels 0 4 1 5
        const __m128i mixed1 = _mm_unpackhi_epi8(pixels0123, pixels4567); // pixels 2 6 3 7
        const __m128i even = _mm_unpacklo_epi8(mixed0, mixed1);           // B0246 G0246 R0246 A0246
        const __m128i odd = _mm_unpackhi_epi8(mixed0, mixed1);            // B1357 G1357 R1357 A1357
        const __m128i blueGreen = _mm_unpacklo_epi8(even, odd);
        const __m128i redAlpha = _mm_unpackhi_epi8(even, odd);
        convert::StoreAt<Sse2Unaligned>(b + x, _mm_unpacklo_epi8(blueGreen, zero));
        convert::StoreAt<Sse2Unaligned>(g + x, _mm_unpackhi_epi8(blueGreen, zero));
        convert::StoreAt<Sse2Unaligned>(r + x, _mm_unpacklo_epi8(redAlpha, zero));
    }
    return x;
}

} // namespace

HRESULT rgb32_to_r16g16b16_sse2(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                                int sourceStride, int* planeStride, int width, int height)
{
    return Rgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height,
                         Rgb32ToPlanesRow_sse2);
}
