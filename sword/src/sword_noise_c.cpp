// Plain temporal noise removal: the reference for the vector variants, and the checks, blend and
// weights they share. The plain code walks the visible words only.
#include "sword_filter_rows.h"

#include "CatchAllLog.h"

namespace {

// Blends every visible word with the weight that weightOf(a, b, x, y) gives it.
template <class WeightOf>
void RemoveNoisePlain(SWORD* planeA, SWORD* planeB, int stride, int width, int height, WeightOf weightOf)
{
    for (int y = 0; y < height; ++y) {
        SWORD* a = WordRow(planeA, stride, y);
        SWORD* b = WordRow(planeB, stride, y);
        for (int x = 0; x < width; ++x) {
            const SWORD k = weightOf(a[x], b[x], x, y);
            a[x] = b[x] = BlendNoiseWord(a[x], b[x], k);
        }
    }
}

} // namespace

HRESULT CheckNoisePlanes(const SWORD* planeA, const SWORD* planeB, int stride, int width, int height)
{
    if (planeA == nullptr || planeB == nullptr || stride <= 0 || width <= 0 || height <= 0 ||
        static_cast<int64_t>(stride) < 2 * static_cast<int64_t>(width))
        return E_UNEXPECTED;
    return S_OK;
}

SWORD BlendNoiseWord(SWORD a, SWORD b, SWORD k)
{
    const SWORD rest = SaturateToWord(128 - k);
    return SaturateToWord((LowWord(a * k) >> 7) + (LowWord(b * rest) >> 7));
}

SWORD NoiseWeight2(uint16_t difference, SWORD t1, SWORD t2, SWORD k0, SWORD k1, SWORD k2)
{
    const SWORD d = static_cast<SWORD>(difference);
    const SWORD k = SaturateToWord(k0 + (d > t1 ? k1 : 0));
    return SaturateToWord(k + (d > t2 ? k2 : 0));
}

NoiseParameters::NoiseParameters(const SwordWords& thresholds, const SwordWords& weights)
    : t1(thresholds.GetElement(0)), t2(thresholds.GetElement(1)), k0(weights.GetElement(0)),
      k1(weights.GetElement(1)), k2(weights.GetElement(2))
{
}

HRESULT RemoveAddNoiseFromImage_c(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                  SWORD threshold, SWORD weightSmall, SWORD weightLarge)
{
    if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
        return E_UNEXPECTED;
    RemoveNoisePlain(planeA, planeB, stride, width, height, [&](SWORD a, SWORD b, int, int) {
        return static_cast<SWORD>(UnsignedDifference(a, b)) > threshold ? weightLarge : weightSmall;
    });
    return S_OK;
}

HRESULT RemoveAddNoiseFromImage2_c(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                                   const SwordWords& thresholds, const SwordWords& weights)
{
    try {
        if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const NoiseParameters p(thresholds, weights);
        RemoveNoisePlain(planeA, planeB, stride, width, height, [&](SWORD a, SWORD b, int, int) {
            return NoiseWeight2(UnsignedDifference(a, b), p.t1, p.t2, p.k0, p.k1, p.k2);
        });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT RemoveAddNoiseFromImage3_c(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width,
                                   int height, const SwordWords& thresholds, const SwordWords& weights,
                                   const SwordWords& conditionThreshold, const SwordWords& conditionWeight)
{
    try {
        if (condition == nullptr || CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const NoiseParameters p(thresholds, weights);
        const SWORD tc = conditionThreshold.GetElement(0), kc = conditionWeight.GetElement(0);
        RemoveNoisePlain(planeA, planeB, stride, width, height, [&](SWORD a, SWORD b, int x, int y) {
            if (WordRow(condition, stride, y)[x] > tc)
                return kc;
            return NoiseWeight2(UnsignedDifference(a, b), p.t1, p.t2, p.k0, p.k1, p.k2);
        });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
