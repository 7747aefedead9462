#include "GreyConversion.h"

#include <emmintrin.h>

void GreyRowRGB32_sse2(const BYTE* yuy2, BYTE* target, int32_t width)
{
    const __m128i lumaMask = _mm_set1_epi16(0x00FF);
    int32_t x = 0;
    for (; x + 8 <= width; x += 8) {
        const __m128i pairs = _mm_loadu_si128(reinterpret_cast<const __m128i*>(yuy2 + 2 * x));
        const __m128i luma = _mm_and_si128(pairs, lumaMask);       // 8 words 00YY
        const __m128i doubled = _mm_or_si128(luma, _mm_slli_epi16(luma, 8)); // 8 words YYYY
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * x), _mm_unpacklo_epi16(doubled, doubled));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(target + 4 * x + 16), _mm_unpackhi_epi16(doubled, doubled));
    }
    if (x < width)
        GreyRowRGB32_c(yuy2 + 2 * x, target + 4 * x, width - x);
}
