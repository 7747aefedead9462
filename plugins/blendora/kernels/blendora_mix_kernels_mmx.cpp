// MMX kernels of the mixer: 4 words a step.
#include "sword_vector_mmx.h"

#include "blendora_mix_kernels_vector.h"

HRESULT MaskBlendPlanes_mmx(SWORD* base, int baseStride, const SWORD* channel, int channelStride,
                             const SWORD* mask, int maskStride, int width, int height, SWORD bias)
{
    return blendora::MaskBlendPlanes<sword_vector::Mmx>(base, baseStride, channel, channelStride, mask, maskStride, width,
                                                      height, bias);
}

HRESULT ThresholdMask_mmx(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width, int height,
                           SWORD limit)
{
    return blendora::ThresholdMask<sword_vector::Mmx>(mask, maskStride, luma, lumaStride, width, height, limit);
}
