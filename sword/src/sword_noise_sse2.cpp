// SSE2 temporal noise removal: 8 words a step over whole vectors of each row (rounding up), loads
// and stores of any alignment.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

#include <emmintrin.h>

namespace {

__m128i Load(const void* address)
{
    return _mm_loadu_si128(static_cast<const __m128i*>(address));
}

void Store(void* address, __m128i value)
{
    _mm_storeu_si128(static_cast<__m128i*>(address), value);
}

__m128i Difference(__m128i a, __m128i b)
{
    return _mm_or_si128(_mm_subs_epu16(a, b), _mm_subs_epu16(b, a));
}

__m128i Select(__m128i where, __m128i yes, __m128i no)
{
    return _mm_or_si128(_mm_and_si128(where, yes), _mm_andnot_si128(where, no));
}

__m128i Blend(__m128i a, __m128i b, __m128i k)
{
    const __m128i rest = _mm_subs_epi16(_mm_set1_epi16(128), k);
    return _mm_adds_epi16(_mm_srai_epi16(_mm_mullo_epi16(a, k), 7), _mm_srai_epi16(_mm_mullo_epi16(b, rest), 7));
}

struct Weight2
{
    explicit Weight2(const NoiseParameters& p)
        : t1(_mm_set1_epi16(p.t1)), t2(_mm_set1_epi16(p.t2)), k0(_mm_set1_epi16(p.k0)), k1(_mm_set1_epi16(p.k1)),
          k2(_mm_set1_epi16(p.k2))
    {
    }
    __m128i operator()(__m128i d) const
    {
        const __m128i k = _mm_adds_epi16(k0, _mm_and_si128(_mm_cmpgt_epi16(d, t1), k1));
        return _mm_adds_epi16(k, _mm_and_si128(_mm_cmpgt_epi16(d, t2), k2));
    }
    __m128i t1, t2, k0, k1, k2;
};

// weightOf(difference, condition vector) gives the weights; a null condition plane reads as 0.
template <class WeightOf>
void RemoveNoiseRows(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width, int height,
                     WeightOf weightOf)
{
    const int bytes = GetSwordRowWalkRoundingUp(width, 8, stride, stride).bytesPerRow;
    for (int y = 0; y < height; ++y) {
        BYTE* a = BytesOf(WordRow(planeA, stride, y));
        BYTE* b = BytesOf(WordRow(planeB, stride, y));
        const BYTE* c = condition != nullptr ? BytesOf(WordRow(condition, stride, y)) : nullptr;
        for (int offset = 0; offset < bytes; offset += 16) {
            const __m128i va = Load(a + offset), vb = Load(b + offset);
            const __m128i vc = c != nullptr ? Load(c + offset) : _mm_setzero_si128();
            const __m128i r = Blend(va, vb, weightOf(Difference(va, vb), vc));
            Store(a + offset, r);
            Store(b + offset, r);
        }
    }
}

} // namespace

HRESULT RemoveAddNoiseFromImage_sse2(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                     SWORD threshold, SWORD weightSmall, SWORD weightLarge)
{
    if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
        return E_UNEXPECTED;
    const __m128i t = _mm_set1_epi16(threshold), small = _mm_set1_epi16(weightSmall),
                  large = _mm_set1_epi16(weightLarge);
    RemoveNoiseRows(planeA, planeB, nullptr, stride, width, height,
                    [&](__m128i d, __m128i) { return Select(_mm_cmpgt_epi16(d, t), large, small); });
    return S_OK;
}

HRESULT RemoveAddNoiseFromImage2_sse2(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                      const SwordWords& thresholds, const SwordWords& weights)
{
    try {
        if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const Weight2 weight{NoiseParameters(thresholds, weights)};
        RemoveNoiseRows(planeA, planeB, nullptr, stride, width, height,
                        [&](__m128i d, __m128i) { return weight(d); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RemoveAddNoiseFromImage3_sse2(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width,
                                      int height, const SwordWords& thresholds, const SwordWords& weights,
                                      const SwordWords& conditionThreshold, const SwordWords& conditionWeight)
{
    try {
        if (condition == nullptr || CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const Weight2 weight{NoiseParameters(thresholds, weights)};
        const __m128i tc = _mm_set1_epi16(conditionThreshold.GetElement(0)),
                      kc = _mm_set1_epi16(conditionWeight.GetElement(0));
        RemoveNoiseRows(planeA, planeB, condition, stride, width, height,
                        [&](__m128i d, __m128i c) { return Select(_mm_cmpgt_epi16(c, tc), kc, weight(d)); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
