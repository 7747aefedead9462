// The plain kernels of the mixer: the reference of the vector variants.
#include "BlendoraMixKernels.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

int Saturate(int value)
{
    return std::clamp(value, -32768, 32767);
}

// The low 16 bits as a signed word, shifted down arithmetically.
int ShiftedProduct(int a, int b)
{
    return static_cast<int16_t>(static_cast<uint16_t>(a * b)) >> 7;
}

SWORD BlendWord(SWORD base, SWORD channel, SWORD mask, SWORD bias)
{
    const int kept = ShiftedProduct(Saturate(base - bias), mask);
    const int shown = ShiftedProduct(Saturate(channel - bias), Saturate(128 - mask));
    return static_cast<SWORD>(Saturate(Saturate(kept + shown) + bias));
}

template <class T>
T* WordRowAt(T* plane, int stride, int row)
{
    return reinterpret_cast<T*>(reinterpret_cast<uintptr_t>(plane) + static_cast<ptrdiff_t>(stride) * row);
}

// Runs word(first word, second word, row, column) over width words of every row of two planes;
// E_INVALIDARG for a missing plane.
template <class Word>
HRESULT WalkTwoPlanes(SWORD* first, int firstStride, const SWORD* second, int secondStride, int width, int height,
                      Word word)
{
    if (first == nullptr || second == nullptr)
        return E_INVALIDARG;
    try {
        const int words = std::max(width, 1);
        for (int row = 0; row < height; ++row) {
            SWORD* a = WordRowAt(first, firstStride, row);
            const SWORD* b = WordRowAt(second, secondStride, row);
            for (int x = 0; x < words; ++x)
                a[x] = word(a[x], b[x], row, x);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

} // namespace

HRESULT MaskBlendPlanes_c(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                          int maskStride, int width, int height, SWORD bias)
{
    if (mask == nullptr)
        return E_INVALIDARG;
    return WalkTwoPlanes(base, baseStride, channel, channelStride, width, height,
                         [&](SWORD d, SWORD s, int row, int x) {
                             return BlendWord(d, s, static_cast<SWORD>(WordRowAt(mask, maskStride, row)[x] >> 1), bias);
                         });
}

// The reference: the mask blend of each plane in turn.
HRESULT MaskBlendLumaChroma_c(const MixPlanePair& luma, const MixPlanePair& chroma, const SWORD* mask, int maskStride,
                              int width, int height)
{
    if (chroma.base == nullptr || chroma.channel == nullptr)
        return E_INVALIDARG;
    const HRESULT blended = MaskBlendPlanes_c(luma.base, luma.baseStride, luma.channel, luma.channelStride, mask,
                                              maskStride, width, height, 0);
    if (FAILED(blended))
        return blended;
    return MaskBlendPlanes_c(chroma.base, chroma.baseStride, chroma.channel, chroma.channelStride, mask, maskStride,
                             width, height, kMixChromaBias);
}

HRESULT ThresholdMask_c(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width, int height,
                        SWORD limit)
{
    return WalkTwoPlanes(mask, maskStride, luma, lumaStride, width, height,
                         [limit](SWORD, SWORD l, int, int) { return static_cast<SWORD>(l > limit ? 255 : 0); });
}
