// SSE2 mask blend: 8 words a step, planes at any address.
#include "sword_vector_sse2.h"

#include "blendora_mask_blend_vector.h"

HRESULT MaskBlendPlanes_sse2(SWORD* base, int baseStride, const SWORD* channel, int channelStride,
                             const SWORD* mask, int maskStride, int width, int height, SWORD bias)
{
    return blendora::MaskBlendPlanes<sword_vector::Sse2Unaligned>(base, baseStride, channel, channelStride, mask,
                                                                   maskStride, width, height, bias);
}
