// SSE2 kernels of the mixer: 8 words a step, planes at any address.
#include "sword_vector_sse2.h"

#include "blendora_mix_kernels_vector.h"

HRESULT MaskBlendPlanes_sse2(SWORD* base, int baseStride, const SWORD* channel, int channelStride,
                             const SWORD* mask, int maskStride, int width, int height, SWORD bias)
{
    return blendora::MaskBlendPlanes<sword_vector::Sse2Unaligned>(base, baseStride, channel, channelStride, mask, maskStride, width,
                                                      height, bias);
}

HRESULT ThresholdMask_sse2(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width, int height,
                           SWORD limit)
{
    return blendora::ThresholdMask<sword_vector::Sse2Unaligned>(mask, maskStride, luma, lumaStride, width, height, limit);
}
