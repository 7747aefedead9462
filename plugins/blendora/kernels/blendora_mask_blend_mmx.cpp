// MMX mask blend: 4 words a step.
#include "sword_vector_mmx.h"

#include "blendora_mask_blend_vector.h"

HRESULT MaskBlendPlanes_mmx(SWORD* base, int baseStride, const SWORD* channel, int channelStride, const SWORD* mask,
                            int maskStride, int width, int height, SWORD bias)
{
    return blendora::MaskBlendPlanes<sword_vector::Mmx>(base, baseStride, channel, channelStride, mask, maskStride,
                                                         width, height, bias);
}
