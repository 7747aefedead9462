// The mixer's kernels written once over a vector type V of SWORD's vector types; included only by
// the MMX and SSE2 files, so each instantiation is compiled with its own instruction set.
#pragma once

#include "BlendoraMixKernels.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstddef>

namespace blendora {

inline BYTE* RowBytes(SWORD* plane, int stride, int row)
{
    return reinterpret_cast<BYTE*>(plane) + static_cast<ptrdiff_t>(stride) * row;
}

inline const BYTE* RowBytes(const SWORD* plane, int stride, int row)
{
    return reinterpret_cast<const BYTE*>(plane) + static_cast<ptrdiff_t>(stride) * row;
}

// Runs step(vector of the first plane, vector of the second, row, byte offset in the row) over the
// whole vectors covering width words of every row; E_INVALIDARG for a missing plane. The MMX
// state is left empty on every path.
template <class V, class Step>
HRESULT WalkTwoPlanes(SWORD* first, int firstStride, const SWORD* second, int secondStride, int width, int height,
                      Step step)
{
    if (first == nullptr || second == nullptr)
        return E_INVALIDARG;
    try {
        const int bytesPerRow = std::max((width + V::kWords - 1) / V::kWords, 1) * V::kBytes;
        for (int row = 0; row < height; ++row) {
            BYTE* a = RowBytes(first, firstStride, row);
            const BYTE* b = RowBytes(second, secondStride, row);
            for (int done = 0; done < bytesPerRow; done += V::kBytes)
                step(a + done, b + done, row, done);
        }
        V::End();
        return S_OK;
    }
    catch (...) {
        V::End();
        LogExceptionAt(__FILE__, __LINE__);
        return E_FAIL;
    }
}

// The shares of a mask word in 1/128: the base keeps the word halved, the channel shows with the
// rest.
template <class V>
struct MaskShares
{
    typename V::Vec base, channel;
};

template <class V>
MaskShares<V> SharesAt(const SWORD* mask, int maskStride, int row, int offset)
{
    const typename V::Vec base = V::SraBy(V::Load(RowBytes(mask, maskStride, row) + offset), 1);
    return {base, V::SubS(V::Set1(128), base)};
}

// The mask blend of one vector. With a bias both planes are taken about it; without (luma) neither
// step is made: subtracting and adding 0 saturates nothing. The shift counts are immediates: with
// the counts in a register the blend of two planes at once ran a third slower.
template <class V, bool kBiased>
class MaskBlendVector
{
public:
    using Vec = typename V::Vec;

    explicit MaskBlendVector(SWORD bias) : m_bias(V::Set1(bias)) {}

    Vec operator()(Vec base, Vec channel, const MaskShares<V>& shares) const
    {
        const Vec kept = V::SraBy(V::MulLo(Off(base), shares.base), 7);
        const Vec shown = V::SraBy(V::MulLo(Off(channel), shares.channel), 7);
        return On(V::AddS(kept, shown));
    }

private:
    Vec Off(Vec words) const { return kBiased ? V::SubS(words, m_bias) : words; }
    Vec On(Vec words) const { return kBiased ? V::AddS(words, m_bias) : words; }

    Vec m_bias;
};

template <class V, bool kBiased>
HRESULT MaskBlendAbout(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                       int maskStride, int width, int height, SWORD bias)
{
    const MaskBlendVector<V, kBiased> blend(bias);
    return WalkTwoPlanes<V>(base, baseStride, channel, channelStride, width, height,
                            [=](BYTE* d, const BYTE* s, int row, int offset) {
                                V::Store(d, blend(V::Load(d), V::Load(s), SharesAt<V>(mask, maskStride, row, offset)));
                            });
}

template <class V>
HRESULT MaskBlendPlanes(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                        int maskStride, int width, int height, SWORD bias)
{
    if (mask == nullptr)
        return E_INVALIDARG;
    return bias == 0 ? MaskBlendAbout<V, false>(base, baseStride, channel, channelStride, mask, maskStride, width,
                                                height, bias)
                     : MaskBlendAbout<V, true>(base, baseStride, channel, channelStride, mask, maskStride, width,
                                               height, bias);
}

// Walked over the luma planes, each step blends the chroma planes at the same place as well.
template <class V>
HRESULT MaskBlendLumaChroma(const MixPlanePair& luma, const MixPlanePair& chroma, const SWORD* mask, int maskStride,
                            int width, int height)
{
    if (mask == nullptr || chroma.base == nullptr || chroma.channel == nullptr)
        return E_INVALIDARG;
    const MaskBlendVector<V, false> blendLuma(0);
    const MaskBlendVector<V, true> blendChroma(kMixChromaBias);
    return WalkTwoPlanes<V>(luma.base, luma.baseStride, luma.channel, luma.channelStride, width, height,
                            [=](BYTE* d, const BYTE* s, int row, int offset) {
                                const MaskShares<V> shares = SharesAt<V>(mask, maskStride, row, offset);
                                V::Store(d, blendLuma(V::Load(d), V::Load(s), shares));
                                BYTE* dc = RowBytes(chroma.base, chroma.baseStride, row) + offset;
                                const BYTE* sc = RowBytes(chroma.channel, chroma.channelStride, row) + offset;
                                V::Store(dc, blendChroma(V::Load(dc), V::Load(sc), shares));
                            });
}

template <class V>
HRESULT ThresholdMask(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width, int height,
                      SWORD limit)
{
    using Vec = typename V::Vec;
    const Vec limitWords = V::Set1(limit), lowByte = V::Set1(255);
    return WalkTwoPlanes<V>(mask, maskStride, luma, lumaStride, width, height, [=](BYTE* m, const BYTE* l, int, int) {
        V::Store(m, V::And(V::CmpGt(V::Load(l), limitWords), lowByte));
    });
}

} // namespace blendora

// The exported kernels of one instruction set, named by its suffix.
#define BLENDORA_MIX_KERNEL_VARIANTS(V, suffix)                                                                  \
    HRESULT MaskBlendPlanes_##suffix(SWORD* base, int baseStride, const SWORD* channel, int channelStride,        \
                                     const SWORD* mask, int maskStride, int width, int height, SWORD bias)       \
    {                                                                                                            \
        return blendora::MaskBlendPlanes<V>(base, baseStride, channel, channelStride, mask, maskStride, width,   \
                                            height, bias);                                                      \
    }                                                                                                            \
    HRESULT MaskBlendLumaChroma_##suffix(const MixPlanePair& luma, const MixPlanePair& chroma, const SWORD* mask, \
                                         int maskStride, int width, int height)                                  \
    {                                                                                                            \
        return blendora::MaskBlendLumaChroma<V>(luma, chroma, mask, maskStride, width, height);                 \
    }                                                                                                            \
    HRESULT ThresholdMask_##suffix(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width,    \
                                   int height, SWORD limit)                                                      \
    {                                                                                                            \
        return blendora::ThresholdMask<V>(mask, maskStride, luma, lumaStride, width, height, limit);             \
    }
