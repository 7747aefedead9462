// MMX temporal noise removal: 4 words a step over whole vectors of each row (rounding up); ends with
// _mm_empty so floating-point code can follow.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

#include <mmintrin.h>

namespace {

__m64 Load(const void* address)
{
    __m64 value;
    std::memcpy(&value, address, sizeof(value));
    return value;
}

void Store(void* address, __m64 value)
{
    std::memcpy(address, &value, sizeof(value));
}

__m64 Difference(__m64 a, __m64 b)
{
    return _mm_or_si64(_mm_subs_pu16(a, b), _mm_subs_pu16(b, a));
}

__m64 Select(__m64 where, __m64 yes, __m64 no)
{
    return _mm_or_si64(_mm_and_si64(where, yes), _mm_andnot_si64(where, no));
}

__m64 Blend(__m64 a, __m64 b, __m64 k)
{
    const __m64 rest = _mm_subs_pi16(_mm_set1_pi16(128), k);
    return _mm_adds_pi16(_mm_srai_pi16(_mm_mullo_pi16(a, k), 7), _mm_srai_pi16(_mm_mullo_pi16(b, rest), 7));
}

struct Weight2
{
    explicit Weight2(const NoiseParameters& p)
        : t1(_mm_set1_pi16(p.t1)), t2(_mm_set1_pi16(p.t2)), k0(_mm_set1_pi16(p.k0)), k1(_mm_set1_pi16(p.k1)),
          k2(_mm_set1_pi16(p.k2))
    {
    }
    __m64 operator()(__m64 d) const
    {
        const __m64 k = _mm_adds_pi16(k0, _mm_and_si64(_mm_cmpgt_pi16(d, t1), k1));
        return _mm_adds_pi16(k, _mm_and_si64(_mm_cmpgt_pi16(d, t2), k2));
    }
    __m64 t1, t2, k0, k1, k2;
};

// weightOf(difference, condition vector) gives the weights; a null condition plane reads as 0.
template <class WeightOf>
void RemoveNoiseRows(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width, int height,
                     WeightOf weightOf)
{
    const int bytes = GetSwordRowWalkRoundingUp(width, 4, stride, stride).bytesPerRow;
    for (int y = 0; y < height; ++y) {
        BYTE* a = BytesOf(WordRow(planeA, stride, y));
        BYTE* b = BytesOf(WordRow(planeB, stride, y));
        const BYTE* c = condition != nullptr ? BytesOf(WordRow(condition, stride, y)) : nullptr;
        for (int offset = 0; offset < bytes; offset += 8) {
            const __m64 va = Load(a + offset), vb = Load(b + offset);
            const __m64 vc = c != nullptr ? Load(c + offset) : _mm_setzero_si64();
            const __m64 r = Blend(va, vb, weightOf(Difference(va, vb), vc));
            Store(a + offset, r);
            Store(b + offset, r);
        }
    }
    _mm_empty();
}

} // namespace

HRESULT RemoveAddNoiseFromImage_mmx(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                     SWORD threshold, SWORD weightSmall, SWORD weightLarge)
{
    if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
        return E_UNEXPECTED;
    const __m64 t = _mm_set1_pi16(threshold), small = _mm_set1_pi16(weightSmall),
                  large = _mm_set1_pi16(weightLarge);
    RemoveNoiseRows(planeA, planeB, nullptr, stride, width, height,
                    [&](__m64 d, __m64) { return Select(_mm_cmpgt_pi16(d, t), large, small); });
    return S_OK;
}

HRESULT RemoveAddNoiseFromImage2_mmx(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                      const SwordWords& thresholds, const SwordWords& weights)
{
    try {
        if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const Weight2 weight{NoiseParameters(thresholds, weights)};
        RemoveNoiseRows(planeA, planeB, nullptr, stride, width, height,
                        [&](__m64 d, __m64) { return weight(d); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RemoveAddNoiseFromImage3_mmx(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width,
                                      int height, const SwordWords& thresholds, const SwordWords& weights,
                                      const SwordWords& conditionThreshold, const SwordWords& conditionWeight)
{
    try {
        if (condition == nullptr || CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const Weight2 weight{NoiseParameters(thresholds, weights)};
        const __m64 tc = _mm_set1_pi16(conditionThreshold.GetElement(0)),
                      kc = _mm_set1_pi16(conditionWeight.GetElement(0));
        RemoveNoiseRows(planeA, planeB, condition, stride, width, height,
                        [&](__m64 d, __m64 c) { return Select(_mm_cmpgt_pi16(c, tc), kc, weight(d)); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
