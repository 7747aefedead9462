// Hue, saturation and lightness of an RGB24 picture and the way back. The forward direction
// works on four pixels at a time in single-precision floats with the processor's approximate
// reciprocal; the way back is plain code.
#include "IntavoConversions.h"

#include "CatchAllLog.h"

#include <xmmintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

bool PictureFits(int stride, int width, int height, int size)
{
    return width >= 1 && height >= 1 && stride >= 3 * static_cast<int64_t>(width) &&
           static_cast<int64_t>(stride) * (height - 1) + 3 * static_cast<int64_t>(width) <= size;
}

bool PlanesFit(int width, int height, int planeBytes)
{
    return 2 * static_cast<int64_t>(width) * height <= planeBytes;
}

__m128 Select(__m128 mask, __m128 whenSet, __m128 otherwise)
{
    return _mm_or_ps(_mm_and_ps(mask, whenSet), _mm_andnot_ps(mask, otherwise));
}

// Four results times 255, rounded to the nearest, stored with signed 16-bit saturation.
void StoreScaled(SWORD* out, __m128 values, int count)
{
    const __m64 words = _mm_cvtps_pi16(_mm_mul_ps(values, _mm_set1_ps(255.0f)));
    SWORD stored[4];
    std::memcpy(stored, &words, sizeof(stored));
    std::copy(stored, stored + count, out);
}

struct Hsl
{
    __m128 hue;
    __m128 saturation;
    __m128 lightness;
};

Hsl HslOfPixels(__m128 blue, __m128 green, __m128 red)
{
    const __m128 one = _mm_set1_ps(1.0f);
    const __m128 half = _mm_set1_ps(0.5f);
    const __m128 maximum = _mm_max_ps(red, _mm_max_ps(green, blue));
    const __m128 minimum = _mm_min_ps(red, _mm_min_ps(green, blue));
    const __m128 grey = _mm_cmpeq_ps(maximum, minimum);
    const __m128 delta = Select(grey, one, _mm_sub_ps(maximum, minimum));
    const __m128 sum = _mm_add_ps(maximum, minimum);
    const __m128 lightness = _mm_mul_ps(sum, half);
    const __m128 saturation = Select(_mm_cmplt_ps(lightness, half), _mm_div_ps(delta, sum),
                                     _mm_div_ps(delta, _mm_sub_ps(_mm_set1_ps(2.0f), sum)));
    const __m128 reciprocal = _mm_rcp_ps(delta);
    const __m128 sixth = _mm_set1_ps(1.0f / 6.0f);
    const __m128 halfDelta = _mm_mul_ps(delta, half);
    auto distance = [&](__m128 channel) {
        return _mm_mul_ps(_mm_add_ps(_mm_mul_ps(_mm_sub_ps(maximum, channel), sixth), halfDelta), reciprocal);
    };
    const __m128 dRed = distance(red), dGreen = distance(green), dBlue = distance(blue);
    const __m128 hueRed = _mm_sub_ps(dBlue, dGreen);
    const __m128 hueGreen = _mm_add_ps(_mm_set1_ps(1.0f / 3.0f), _mm_sub_ps(dRed, dBlue));
    const __m128 hueBlue = _mm_add_ps(_mm_set1_ps(2.0f / 3.0f), _mm_sub_ps(dGreen, dRed));
    __m128 hue = Select(_mm_cmpeq_ps(red, maximum), hueRed,
                        Select(_mm_cmpeq_ps(green, maximum), hueGreen, hueBlue));
    hue = _mm_add_ps(hue, _mm_and_ps(_mm_cmplt_ps(hue, _mm_setzero_ps()), one));
    hue = _mm_sub_ps(hue, _mm_and_ps(_mm_cmpgt_ps(hue, one), one));
    const __m128 zero = _mm_setzero_ps();
    return {Select(grey, zero, hue), Select(grey, zero, saturation), lightness};
}

// One channel of the way back for a hue offset t of a turn.
float ChannelOfHue(float p, float q, float t)
{
    if (t < 0.0f)
        t += 1.0f;
    if (t > 1.0f)
        t -= 1.0f;
    if (t < 1.0f / 6.0f)
        return p + (q - p) * 6.0f * t;
    if (t < 0.5f)
        return q;
    if (t < 2.0f / 3.0f)
        return p + (q - p) * (2.0f / 3.0f - t) * 6.0f;
    return p;
}

BYTE ToByte(float value)
{
    return static_cast<BYTE>(std::clamp(std::lround(value * 255.0f), 0L, 255L));
}

void RgbOfHsl(SWORD hueWord, SWORD saturationWord, SWORD lightnessWord, BYTE* pixel)
{
    const float scale = 1.0f / 255.0f;
    const float hue = hueWord * scale, saturation = saturationWord * scale, lightness = lightnessWord * scale;
    if (saturation <= 0.0f) {
        pixel[0] = pixel[1] = pixel[2] = ToByte(lightness);
        return;
    }
    const float q = lightness < 0.5f ? lightness * (1.0f + saturation) : lightness + saturation - lightness * saturation;
    const float p = 2.0f * lightness - q;
    pixel[0] = ToByte(ChannelOfHue(p, q, hue - 1.0f / 3.0f));
    pixel[1] = ToByte(ChannelOfHue(p, q, hue));
    pixel[2] = ToByte(ChannelOfHue(p, q, hue + 1.0f / 3.0f));
}

} // namespace

HRESULT ConvertRGB24ToHSL(const BYTE* picture, int stride, int width, int height, int size, SWORD* hue,
                          SWORD* saturation, SWORD* lightness, int* converted, int planeBytes)
{
    try {
        if (picture == nullptr || hue == nullptr || saturation == nullptr || lightness == nullptr ||
            converted == nullptr)
            return E_INVALIDARG;
        if (!PictureFits(stride, width, height, size) || !PlanesFit(width, height, planeBytes))
            return E_UNEXPECTED;
        const float scale = 1.0f / 255.0f;
        for (int row = 0; row < height; ++row) {
            const BYTE* pixels = picture + static_cast<ptrdiff_t>(stride) * row;
            const ptrdiff_t planeRow = static_cast<ptrdiff_t>(width) * row;
            for (int x = 0; x < width; x += 4) {
                const int count = std::min(4, width - x);
                float channels[3][4] = {};
                for (int i = 0; i < count; ++i)
                    for (int c = 0; c < 3; ++c)
                        channels[c][i] = pixels[3 * (x + i) + c] * scale;
                const Hsl hsl = HslOfPixels(_mm_loadu_ps(channels[0]), _mm_loadu_ps(channels[1]),
                                            _mm_loadu_ps(channels[2]));
                StoreScaled(hue + planeRow + x, hsl.hue, count);
                StoreScaled(saturation + planeRow + x, hsl.saturation, count);
                StoreScaled(lightness + planeRow + x, hsl.lightness, count);
            }
        }
        _mm_empty();
        *converted = width * height;
        return S_OK;
    }
    catch (...) {
        _mm_empty();
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

HRESULT ConvertHSLToRGB24(const SWORD* hue, const SWORD* saturation, const SWORD* lightness, int width, int height,
                          int outputStride, int planeBytes, BYTE* output, int* written, int outputSize)
{
    try {
        if (hue == nullptr || saturation == nullptr || lightness == nullptr || output == nullptr || written == nullptr)
            return E_INVALIDARG;
        if (!PictureFits(outputStride, width, height, outputSize) || !PlanesFit(width, height, planeBytes))
            return E_UNEXPECTED;
        for (int row = 0; row < height; ++row) {
            BYTE* pixels = output + static_cast<ptrdiff_t>(outputStride) * row;
            const ptrdiff_t planeRow = static_cast<ptrdiff_t>(width) * row;
            for (int x = 0; x < width; ++x)
                RgbOfHsl(hue[planeRow + x], saturation[planeRow + x], lightness[planeRow + x], pixels + 3 * x);
        }
        *written = static_cast<int>(static_cast<int64_t>(outputStride) * (height - 1) + 3 * width);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
