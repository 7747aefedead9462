// Hue, saturation and lightness four pixels at a time in single-precision vectors; the only file
// of the toolkit built for SSE2.
#include "ToolkitImageOperations.h"

#include "CatchAllLog.h"
#include "ToolkitHslRows.h"

#include <emmintrin.h>

namespace {

constexpr int Step = 4;

__m128 Select(__m128 mask, __m128 whenSet, __m128 otherwise)
{
    return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
}

// Four values x 255, rounded to the nearest and packed with signed 16-bit saturation.
__m128i Scaled(__m128 values)
{
    const __m128i whole = _mm_cvtps_epi32(_mm_mul_ps(values, _mm_set1_ps(255.0f)));
    return _mm_packs_epi32(whole, whole);
}

void StoreWords(uint16_t* out, __m128 values)
{
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), Scaled(values));
}

__m128 LoadWords(const uint16_t* in)
{
    const __m128i words = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(in));
    return _mm_mul_ps(_mm_cvtepi32_ps(_mm_unpacklo_epi16(words, _mm_setzero_si128())), _mm_set1_ps(1.0f / 255.0f));
}

// Channel c (0 blue, 1 green, 2 red) of four RGB24 pixels, in 0..1.
__m128 LoadChannel(const BYTE* pixels, int channel)
{
    const __m128i bytes = _mm_setr_epi32(pixels[channel], pixels[3 + channel], pixels[6 + channel], pixels[9 + channel]);
    return _mm_mul_ps(_mm_cvtepi32_ps(bytes), _mm_set1_ps(1.0f / 255.0f));
}

void StoreChannel(BYTE* pixels, int channel, __m128 values)
{
    alignas(16) int16_t words[8];
    _mm_store_si128(reinterpret_cast<__m128i*>(words), Scaled(values));
    for (int i = 0; i < Step; ++i)
        pixels[3 * i + channel] = static_cast<BYTE>(words[i]);
}

void HslOfPixels(__m128 red, __m128 green, __m128 blue, uint16_t* hue, uint16_t* saturation, uint16_t* lightness)
{
    const __m128 one = _mm_set1_ps(1.0f), half = _mm_set1_ps(0.5f), zero = _mm_setzero_ps();
    const __m128 maximum = _mm_max_ps(red, _mm_max_ps(green, blue));
    const __m128 minimum = _mm_min_ps(red, _mm_min_ps(green, blue));
    const __m128 grey = _mm_cmpeq_ps(maximum, minimum);
    const __m128 delta = Select(grey, one, _mm_sub_ps(maximum, minimum));
    const __m128 sum = _mm_add_ps(maximum, minimum);
    const __m128 l = _mm_mul_ps(sum, half);
    const __m128 s = Select(_mm_cmplt_ps(l, half), _mm_div_ps(delta, sum),
                            _mm_div_ps(delta, _mm_sub_ps(_mm_set1_ps(2.0f), sum)));
    const __m128 reciprocal = _mm_rcp_ps(delta);
    const auto distance = [&](__m128 channel) {
        return _mm_mul_ps(_mm_add_ps(_mm_div_ps(_mm_sub_ps(maximum, channel), _mm_set1_ps(6.0f)), _mm_mul_ps(delta, half)),
                          reciprocal);
    };
    const __m128 dR = distance(red), dG = distance(green), dB = distance(blue);
    __m128 h = Select(_mm_cmpeq_ps(red, maximum), _mm_sub_ps(dB, dG),
                      Select(_mm_cmpeq_ps(green, maximum), _mm_add_ps(_mm_set1_ps(1.0f / 3.0f), _mm_sub_ps(dR, dB)),
                             _mm_add_ps(_mm_set1_ps(2.0f / 3.0f), _mm_sub_ps(dG, dR))));
    h = _mm_add_ps(h, _mm_and_ps(_mm_cmplt_ps(h, zero), one));
    h = _mm_sub_ps(h, _mm_and_ps(_mm_cmpgt_ps(h, one), one));
    StoreWords(hue, Select(grey, zero, h));
    StoreWords(saturation, Select(grey, zero, s));
    StoreWords(lightness, l);
}

__m128 HueChannel(__m128 m1, __m128 m2, __m128 h)
{
    const __m128 one = _mm_set1_ps(1.0f), zero = _mm_setzero_ps();
    h = _mm_add_ps(h, _mm_and_ps(_mm_cmplt_ps(h, zero), one));
    h = _mm_sub_ps(h, _mm_and_ps(_mm_cmpgt_ps(h, one), one));
    const __m128 span = _mm_sub_ps(m2, m1);
    const __m128 rising = _mm_add_ps(m1, _mm_mul_ps(span, _mm_mul_ps(_mm_set1_ps(6.0f), h)));
    const __m128 falling =
        _mm_add_ps(m1, _mm_mul_ps(_mm_mul_ps(span, _mm_sub_ps(_mm_set1_ps(2.0f / 3.0f), h)), _mm_set1_ps(6.0f)));
    return Select(_mm_cmplt_ps(_mm_mul_ps(_mm_set1_ps(6.0f), h), one), rising,
                  Select(_mm_cmplt_ps(_mm_mul_ps(_mm_set1_ps(2.0f), h), one), m2,
                         Select(_mm_cmplt_ps(_mm_mul_ps(_mm_set1_ps(3.0f), h), _mm_set1_ps(2.0f)), falling, m1)));
}

void RgbOfPixels(const uint16_t* hue, const uint16_t* saturation, const uint16_t* lightness, BYTE* pixels)
{
    const __m128 h = LoadWords(hue), s = LoadWords(saturation), l = LoadWords(lightness);
    const __m128 half = _mm_set1_ps(0.5f), third = _mm_set1_ps(1.0f / 3.0f);
    const __m128 m2 = Select(_mm_cmplt_ps(l, half), _mm_mul_ps(l, _mm_add_ps(_mm_set1_ps(1.0f), s)),
                             _mm_sub_ps(_mm_add_ps(l, s), _mm_mul_ps(s, l)));
    const __m128 m1 = _mm_sub_ps(_mm_add_ps(l, l), m2);
    const __m128 grey = _mm_cmpeq_ps(s, _mm_setzero_ps());
    StoreChannel(pixels, 2, Select(grey, l, HueChannel(m1, m2, _mm_add_ps(h, third))));
    StoreChannel(pixels, 1, Select(grey, l, HueChannel(m1, m2, h)));
    StoreChannel(pixels, 0, Select(grey, l, HueChannel(m1, m2, _mm_sub_ps(h, third))));
}

} // namespace

HRESULT ConvertRGB24ToHSLPlanes_sse(const BYTE* source, int sourceStride, int width, int height, int, uint16_t* hue,
                                    uint16_t* saturation, uint16_t* lightness, int* planeStride, int)
{
    try {
        const HslPictureLayout layout{sourceStride, planeStride, width, height, Step};
        const HRESULT checked = CheckHslPicture(source, hue, saturation, lightness, layout);
        if (checked != S_OK)
            return checked;
        for (int y = 0; y < height; ++y) {
            const BYTE* pixels = source + static_cast<ptrdiff_t>(y) * sourceStride;
            const HslRow row = HslRowAt(hue, saturation, lightness, *planeStride, y);
            for (int x = 0; x < layout.RowPixels(); x += Step)
                HslOfPixels(LoadChannel(pixels + 3 * x, 2), LoadChannel(pixels + 3 * x, 1),
                            LoadChannel(pixels + 3 * x, 0), row.hue + x, row.saturation + x, row.lightness + x);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ConvertHSLPlanesToRGB24_sse(const uint16_t* hue, const uint16_t* saturation, const uint16_t* lightness,
                                    int width, int height, int planeStride, int, BYTE* destination,
                                    int* destinationStride, int)
{
    try {
        const HslPictureLayout layout{planeStride, destinationStride, width, height, Step};
        const HRESULT checked = CheckRgbPicture(destination, hue, saturation, lightness, layout);
        if (checked != S_OK)
            return checked;
        for (int y = 0; y < height; ++y) {
            BYTE* pixels = destination + static_cast<ptrdiff_t>(y) * *destinationStride;
            const HslRow row = HslRowAt(const_cast<uint16_t*>(hue), const_cast<uint16_t*>(saturation),
                                        const_cast<uint16_t*>(lightness), planeStride, y);
            for (int x = 0; x < layout.RowPixels(); x += Step)
                RgbOfPixels(row.hue + x, row.saturation + x, row.lightness + x, pixels + 3 * x);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
