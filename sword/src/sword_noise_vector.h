// Temporal noise removal written once over a vector type V of sword_vector_mmx.h or
// sword_vector_sse2.h: whole vectors of each row (rounding up). Included only by the MMX and SSE2
// files, so every instantiation is compiled with its own instruction set.
#pragma once

#include "sword_arith_vector.h"
#include "sword_filter_rows.h"

namespace noise {

using arith::Vec;

// a * k / 128 + b * (128 - k) / 128, each product shifted on its own like the plain blend.
template <class V>
Vec<V> Blend(Vec<V> a, Vec<V> b, Vec<V> k)
{
    const Vec<V> seven = V::ShiftCount(7);
    const Vec<V> rest = V::SubS(V::Set1(128), k);
    return V::AddS(V::Sra(V::MulLo(a, k), seven), V::Sra(V::MulLo(b, rest), seven));
}

template <class V>
struct Weight2
{
    explicit Weight2(const NoiseParameters& p)
        : t1(V::Set1(p.t1)), t2(V::Set1(p.t2)), k0(V::Set1(p.k0)), k1(V::Set1(p.k1)), k2(V::Set1(p.k2))
    {
    }
    Vec<V> operator()(Vec<V> d) const
    {
        const Vec<V> k = V::AddS(k0, V::And(V::CmpGt(d, t1), k1));
        return V::AddS(k, V::And(V::CmpGt(d, t2), k2));
    }
    Vec<V> t1, t2, k0, k1, k2;
};

// weightOf(difference, condition vector) gives the weights; a null condition plane reads as 0.
template <class V, class WeightOf>
void RemoveNoiseRows(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width, int height,
                     WeightOf weightOf)
{
    const int bytes = GetSwordRowWalkRoundingUp(width, V::kWords, stride, stride).bytesPerRow;
    for (int y = 0; y < height; ++y) {
        BYTE* a = BytesOf(WordRow(planeA, stride, y));
        BYTE* b = BytesOf(WordRow(planeB, stride, y));
        const BYTE* c = condition != nullptr ? BytesOf(WordRow(condition, stride, y)) : nullptr;
        for (int offset = 0; offset < bytes; offset += V::kBytes) {
            const Vec<V> va = V::Load(a + offset), vb = V::Load(b + offset);
            const Vec<V> vc = c != nullptr ? V::Load(c + offset) : V::Zero();
            const Vec<V> r = Blend<V>(va, vb, weightOf(arith::AbsDifference<V>(va, vb), vc));
            V::Store(a + offset, r);
            V::Store(b + offset, r);
        }
    }
    V::End();
}

template <class V>
HRESULT RemoveNoise(SWORD* planeA, SWORD* planeB, int stride, int width, int height, SWORD threshold,
                    SWORD weightSmall, SWORD weightLarge)
{
    if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
        return E_UNEXPECTED;
    const Vec<V> t = V::Set1(threshold), small = V::Set1(weightSmall), large = V::Set1(weightLarge);
    RemoveNoiseRows<V>(planeA, planeB, nullptr, stride, width, height,
                       [&](Vec<V> d, Vec<V>) { return arith::Under<V>(large, small, V::CmpGt(d, t)); });
    return S_OK;
}

template <class V>
HRESULT RemoveNoise2(SWORD* planeA, SWORD* planeB, int stride, int width, int height,
                     const SwordWords& thresholds, const SwordWords& weights)
{
    try {
        if (CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        const Weight2<V> weight{NoiseParameters(thresholds, weights)};
        RemoveNoiseRows<V>(planeA, planeB, nullptr, stride, width, height,
                           [&](Vec<V> d, Vec<V>) { return weight(d); });
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

template <class V>
HRESULT RemoveNoise3(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width, int height,
                     const SwordWords& thresholds, const SwordWords& weights, const SwordWords& conditionThreshold,
                     const SwordWords& conditionWeight)
{
    try {
        if (condition == nullptr || CheckNoisePlanes(planeA, planeB, stride, width, height) != S_OK)
            return E_UNEXPECTED;
        // Every parameter is read before the first vector, so a short one throws with no MMX state.
        const NoiseParameters parameters(thresholds, weights);
        const SWORD conditionT = conditionThreshold.GetElement(0), conditionK = conditionWeight.GetElement(0);
        const Weight2<V> weight{parameters};
        const Vec<V> tc = V::Set1(conditionT), kc = V::Set1(conditionK);
        RemoveNoiseRows<V>(planeA, planeB, condition, stride, width, height, [&](Vec<V> d, Vec<V> c) {
            return arith::Under<V>(kc, weight(d), V::CmpGt(c, tc));
        });
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

} // namespace noise

#define SWORD_NOISE_VARIANTS(V, name, name2, name3)                                                           \
    HRESULT name(SWORD* planeA, SWORD* planeB, int stride, int width, int height, SWORD threshold,              \
                 SWORD weightSmall, SWORD weightLarge)                                                          \
    {                                                                                                           \
        return noise::RemoveNoise<V>(planeA, planeB, stride, width, height, threshold, weightSmall, weightLarge); \
    }                                                                                                           \
    HRESULT name2(SWORD* planeA, SWORD* planeB, int stride, int width, int height, const SwordWords& thresholds, \
                  const SwordWords& weights)                                                                    \
    {                                                                                                           \
        return noise::RemoveNoise2<V>(planeA, planeB, stride, width, height, thresholds, weights);             \
    }                                                                                                           \
    HRESULT name3(SWORD* planeA, SWORD* planeB, const SWORD* condition, int stride, int width, int height,      \
                  const SwordWords& thresholds, const SwordWords& weights, const SwordWords& conditionThreshold, \
                  const SwordWords& conditionWeight)                                                            \
    {                                                                                                           \
        return noise::RemoveNoise3<V>(planeA, planeB, condition, stride, width, height, thresholds, weights,    \
                                      conditionThreshold, conditionWeight);                                     \
    }
