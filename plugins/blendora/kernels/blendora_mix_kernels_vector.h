// The mixer's kernels written once over a vector type V of SWORD's vector types; included only by
// the MMX and SSE2 files, so each instantiation is compiled with its own instruction set.
#pragma once

#include "BlendoraMixKernels.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstddef>

namespace blendora {

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
            BYTE* a = reinterpret_cast<BYTE*>(first) + static_cast<ptrdiff_t>(firstStride) * row;
            const BYTE* b = reinterpret_cast<const BYTE*>(second) + static_cast<ptrdiff_t>(secondStride) * row;
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

// The mask blend with the bias taken off both planes and put back on, or, without a bias (luma),
// with neither step: subtracting and adding 0 saturates nothing.
template <class V, bool kBiased>
HRESULT MaskBlendAbout(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                       int maskStride, int width, int height, SWORD bias)
{
    using Vec = typename V::Vec;
    const Vec biasWords = V::Set1(bias), whole = V::Set1(128);
    const Vec one = V::ShiftCount(1), seven = V::ShiftCount(7);
    const auto off = [&](Vec words) { return kBiased ? V::SubS(words, biasWords) : words; };
    const auto on = [&](Vec words) { return kBiased ? V::AddS(words, biasWords) : words; };
    const BYTE* shares = reinterpret_cast<const BYTE*>(mask);
    return WalkTwoPlanes<V>(base, baseStride, channel, channelStride, width, height,
                            [&](BYTE* d, const BYTE* s, int row, int offset) {
                                const Vec share = V::Sra(V::Load(shares + static_cast<ptrdiff_t>(maskStride) * row + offset), one);
                                const Vec kept = V::Sra(V::MulLo(off(V::Load(d)), share), seven);
                                const Vec shown = V::Sra(V::MulLo(off(V::Load(s)), V::SubS(whole, share)), seven);
                                V::Store(d, on(V::AddS(kept, shown)));
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

template <class V>
HRESULT ThresholdMask(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width, int height,
                      SWORD limit)
{
    using Vec = typename V::Vec;
    const Vec limitWords = V::Set1(limit), lowByte = V::Set1(255);
    return WalkTwoPlanes<V>(mask, maskStride, luma, lumaStride, width, height, [&](BYTE* m, const BYTE* l, int, int) {
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
    HRESULT ThresholdMask_##suffix(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width,    \
                                   int height, SWORD limit)                                                      \
    {                                                                                                            \
        return blendora::ThresholdMask<V>(mask, maskStride, luma, lumaStride, width, height, limit);             \
    }
