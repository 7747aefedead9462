// MMX conversions: 4 pixels (one 8-byte word vector) a step; the rest of a row goes through the
// plain row code. Every operation ends with _mm_empty so floating-point code can follow.
#include "sword_convert_vector.h"
#include "sword_vector_mmx.h"

using sword_vector::Mmx;

SWORD_CONVERT_VARIANTS(Mmx, ConvertYUY2toY16UV16_mmx, ConvertY8toY16_mmx, SpliteUVImageToU_V_mmx, JoinU_VImageToUV_mmx,
                       r16g16b16_to_rgb32_mmx, r16g16b16_to_rgb16_mmx, ConvertRGB24ToYUY2_mmx,
                       ConvertY16UV16ToYUY2_mmx, ConvertY16ToYUY2_mmx)

namespace {

// Words B G R A per pixel, then a 4 x 4 transpose; 4 pixels a step.
int Rgb32ToPlanesRow_mmx(const BYTE* in, SWORD* r, SWORD* g, SWORD* b, int width)
{
    const __m64 zero = _mm_setzero_si64();
    int x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m64 pixels01 = convert::LoadAt<Mmx>(in + 4 * x);
        const __m64 pixels23 = convert::LoadAt<Mmx>(in + 4 * x + 8);
        const __m64 p0 = _mm_unpacklo_pi8(pixels01, zero), p1 = _mm_unpackhi_pi8(pixels01, zero);
        const __m64 p2 = _mm_unpacklo_pi8(pixels23, zero), p3 = _mm_unpackhi_pi8(pixels23, zero);
        const __m64 bg01 = _mm_unpacklo_pi16(p0, p1), ra01 = _mm_unpackhi_pi16(p0, p1);
        const __m64 bg23 = _mm_unpacklo_pi16(p2, p3), ra23 = _mm_unpackhi_pi16(p2, p3);
        convert::StoreAt<Mmx>(b + x, _mm_unpacklo_pi32(bg01, bg23));
        convert::StoreAt<Mmx>(g + x, _mm_unpackhi_pi32(bg01, bg23));
        convert::StoreAt<Mmx>(r + x, _mm_unpacklo_pi32(ra01, ra23));
    }
    _mm_empty();
    return x;
}

} // namespace

HRESULT rgb32_to_r16g16b16_mmx(const BYTE* source, SWORD** planeR, SWORD** planeG, SWORD** planeB, int* capacity,
                               int sourceStride, int* planeStride, int width, int height)
{
    return Rgb32ToPlanes(source, planeR, planeG, planeB, capacity, sourceStride, planeStride, width, height,
                         Rgb32ToPlanesRow_mmx);
}
