// The mixer's own kernels: steps of the background effect that the SWORD table would take several
// passes over a plane for, in one. Words per row are those the SWORD kernels of the same
// instruction set walk: the width in the plain variant, whole vectors covering it in the others.
//
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

// The mask blend: the base keeps its share M, the mask word halved (shifted down by 1, as the
// multiply-shift by 1 gives it) into 1/128, the channel shows with the rest, 128 - M; each product
// is shifted down by 7 and their sum saturated, as the multiply-shift, complement multiply-shift
// and add of the SWORD table give it. The halving is done here rather than as a pass of its own. With a bias (chroma about grey,
// 128) both planes are taken about it; the channel plane is only read.
// (base plane, its stride, channel plane, its stride, mask, its stride, width, height, bias);
// strides in bytes. E_INVALIDARG for a missing plane, else S_OK.
using MaskBlendFunction = HRESULT (*)(SWORD* base, int baseStride, const SWORD* channel, int channelStride,
                                      const SWORD* mask, int maskStride, int width, int height, SWORD bias);

HRESULT MaskBlendPlanes_c(SWORD*, int, const SWORD*, int, const SWORD*, int, int, int, SWORD);
HRESULT MaskBlendPlanes_mmx(SWORD*, int, const SWORD*, int, const SWORD*, int, int, int, SWORD);
HRESULT MaskBlendPlanes_sse2(SWORD*, int, const SWORD*, int, const SWORD*, int, int, int, SWORD);

// The chroma planes are blended about grey.
constexpr SWORD kMixChromaBias = 128;

// A plane of the base and the channel's picture of the same kind; strides in bytes.
struct MixPlanePair
{
    SWORD* base;
    int baseStride;
    const SWORD* channel;
    int channelStride;
};

// The mask blend of the luma planes and of the chroma planes (about grey) under one mask, as
// the mask blend gives them plane by plane; the vector variants read the mask once for both.
// (luma planes, chroma planes, mask, its stride, width, height); E_INVALIDARG for a missing plane.
using MaskBlendLumaChromaFunction = HRESULT (*)(const MixPlanePair& luma, const MixPlanePair& chroma,
                                                const SWORD* mask, int maskStride, int width, int height);

HRESULT MaskBlendLumaChroma_c(const MixPlanePair&, const MixPlanePair&, const SWORD*, int, int, int);
HRESULT MaskBlendLumaChroma_mmx(const MixPlanePair&, const MixPlanePair&, const SWORD*, int, int, int);
HRESULT MaskBlendLumaChroma_sse2(const MixPlanePair&, const MixPlanePair&, const SWORD*, int, int, int);

// The mask of a threshold: 255 where the luma word is above the limit, else 0, as the copy, the
// comparison with a constant and the mask of the low byte give it.
// (mask, its stride, luma, its stride, width, height, limit); E_INVALIDARG for a missing plane.
using ThresholdMaskFunction = HRESULT (*)(SWORD* mask, int maskStride, const SWORD* luma, int lumaStride, int width,
                                          int height, SWORD limit);

HRESULT ThresholdMask_c(SWORD*, int, const SWORD*, int, int, int, SWORD);
HRESULT ThresholdMask_mmx(SWORD*, int, const SWORD*, int, int, int, SWORD);
HRESULT ThresholdMask_sse2(SWORD*, int, const SWORD*, int, int, int, SWORD);
