// SSE2 operations with constants and between planes: 8 words a vector. The _sse2 variants use
// aligned loads on 16-byte aligned planes and strides; the _sse2u twins take any alignment and
// compute the same.
#include "sword_arith_vector.h"
#include "sword_vector_sse2.h"

using sword_vector::Sse2;
using sword_vector::Sse2Unaligned;

SWORD_VECTOR_VARIANT(AddConstSWORD_sse2, AddConst, Sse2)
SWORD_VECTOR_VARIANT(AddConstSWORD_sse2u, AddConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(SubConstSWORD_sse2, SubConst, Sse2)
SWORD_VECTOR_VARIANT(SubConstSWORD_sse2u, SubConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(MulConstSWORD_sse2, MulConst, Sse2)
SWORD_VECTOR_VARIANT(MulConstSWORD_sse2u, MulConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(MulShiftConstSWORD_sse2, MulShiftConst, Sse2)
SWORD_VECTOR_VARIANT(MulShiftConstSWORD_sse2u, MulShiftConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(ContrastPivotSWORD_sse2, ContrastPivot, Sse2)
SWORD_VECTOR_VARIANT(ContrastPivotSWORD_sse2u, ContrastPivot, Sse2Unaligned)
SWORD_VECTOR_VARIANT(ContrastPivotMaskedSWORD_sse2, ContrastPivotMasked, Sse2)
SWORD_VECTOR_VARIANT(CmpGTConstSWORD_sse2, CmpGTConst, Sse2)
SWORD_VECTOR_VARIANT(CmpGTConstSWORD_sse2u, CmpGTConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(ClampTo255SWORD_sse2, ClampTo255, Sse2)
SWORD_VECTOR_VARIANT(DistancePatternSWORD_sse2, DistancePattern, Sse2)
SWORD_VECTOR_VARIANT(XorConstSWORD_sse2, XorConst, Sse2)
SWORD_VECTOR_VARIANT(XorConstSWORD_sse2u, XorConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(OrConstSWORD_sse2, OrConst, Sse2)
SWORD_VECTOR_VARIANT(OrConstSWORD_sse2u, OrConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(AndNotConstSWORD_sse2, AndNotConst, Sse2)
SWORD_VECTOR_VARIANT(AndNotConstSWORD_sse2u, AndNotConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(AndConstSWORD_sse2, AndConst, Sse2)
SWORD_VECTOR_VARIANT(AndConstSWORD_sse2u, AndConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(SetConstSWORD_sse2, SetConst, Sse2)
SWORD_VECTOR_VARIANT(SetConstSWORD_sse2u, SetConst, Sse2Unaligned)

SWORD_VECTOR_VARIANT(AddPlaneSWORD_sse2, AddPlane, Sse2)
SWORD_VECTOR_VARIANT(AddPlaneSWORD_sse2u, AddPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(SubPlaneSWORD_sse2, SubPlane, Sse2)
SWORD_VECTOR_VARIANT(SubPlaneSWORD_sse2u, SubPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(MulPlaneSWORD_sse2, MulPlane, Sse2)
SWORD_VECTOR_VARIANT(MulPlaneSWORD_sse2u, MulPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(MulShiftPlaneSWORD_sse2, MulShiftPlane, Sse2)
SWORD_VECTOR_VARIANT(MulShiftPlaneSWORD_sse2u, MulShiftPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(MulComplementShiftSWORD_sse2, MulComplementShift, Sse2)
SWORD_VECTOR_VARIANT(MulComplementShiftSWORD_sse2u, MulComplementShift, Sse2Unaligned)
SWORD_VECTOR_VARIANT(AbsDiffSWORD_sse2, AbsDiff, Sse2)
SWORD_VECTOR_VARIANT(AbsDiffSWORD_sse2u, AbsDiff, Sse2Unaligned)
SWORD_VECTOR_VARIANT(XorPlaneSWORD_sse2, XorPlane, Sse2)
SWORD_VECTOR_VARIANT(XorPlaneSWORD_sse2u, XorPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(OrPlaneSWORD_sse2, OrPlane, Sse2)
SWORD_VECTOR_VARIANT(OrPlaneSWORD_sse2u, OrPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(AndNotPlaneSWORD_sse2, AndNotPlane, Sse2)
SWORD_VECTOR_VARIANT(AndNotPlaneSWORD_sse2u, AndNotPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(AndPlaneSWORD_sse2, AndPlane, Sse2)
SWORD_VECTOR_VARIANT(AndPlaneSWORD_sse2u, AndPlane, Sse2Unaligned)
SWORD_VECTOR_VARIANT(CopyPlaneMaskedSWORD_sse2, CopyPlaneMasked, Sse2)
SWORD_VECTOR_VARIANT(CopyPlaneMaskedSWORD_sse2u, CopyPlaneMasked, Sse2Unaligned)

SWORD_VECTOR_VARIANT(CmpGTAddForSWord_sse2, CmpGTAdd, Sse2)
SWORD_VECTOR_VARIANT(CmpGTAddForSWord_sse2u, CmpGTAdd, Sse2Unaligned)
SWORD_VECTOR_VARIANT(CmpGTAddScaledForSWord_sse2, CmpGTAddScaled, Sse2)
SWORD_VECTOR_VARIANT(CmpGTAddScaledForSWord_sse2u, CmpGTAddScaled, Sse2Unaligned)
SWORD_VECTOR_VARIANT(ThresholdSelectSWORD_sse2, ThresholdSelect, Sse2)

// The toolkit's own members, and its names for the any-alignment use of existing ones.
SWORD_VECTOR_VARIANT(bits_const_sword_funct_sse2_ShiftRight, ShiftRightConst, Sse2)
SWORD_VECTOR_VARIANT(bits_const_sword_funct_sse2u_ShiftRight, ShiftRightConst, Sse2Unaligned)
SWORD_VECTOR_VARIANT(add_sub_mull_sword_funct_sse2_InvMullShift, InvMulShift, Sse2)
SWORD_VECTOR_VARIANT(add_sub_mull_sword_funct_sse2u_InvMullShift, InvMulShift, Sse2Unaligned)
SWORD_VECTOR_VARIANT(CmpGTAddForSWord_sse2_TwoPlane, CmpGTAddValue, Sse2)
SWORD_VECTOR_VARIANT(CmpGTAddForSWord_sse2u_TwoPlane, CmpGTAddValue, Sse2Unaligned)

HRESULT add_sub_mull_const_sword_funct_sse2u_ScaleAroundPivot(SWORD_ARITH_ARGS)
{
    // The gain is given as 4 words; the pivot code takes a whole vector of them.
    SWORD gain[8] = {};
    if (constant1 != nullptr)
        for (int i = 0; i < 8; ++i)
            gain[i] = constant1[i % 4];
    return ContrastPivotMaskedSWORD_sse2(planeA, nullptr, planeB, nullptr, mask, strideA, strideB, width, height, count,
                                         constant1 != nullptr ? gain : nullptr, constant2, alignmentOut);
}

HRESULT CmpGTAddForSWord_sse2u_OnePlane(SWORD_ARITH_ARGS)
{
    return ThresholdSelectSWORD_sse2(planeA, nullptr, planeB, nullptr, mask, strideA, strideB, width, height, count,
                                     constant1, constant2, alignmentOut);
}
