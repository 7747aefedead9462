// MMX operations with constants and between planes: 4 words a vector, any alignment.
#include "sword_arith_vector.h"
#include "sword_vector_mmx.h"

using sword_vector::Mmx;

SWORD_VECTOR_VARIANT(AddConstSWORD_mmx, AddConst, Mmx)
SWORD_VECTOR_VARIANT(SubConstSWORD_mmx, SubConst, Mmx)
SWORD_VECTOR_VARIANT(MulConstSWORD_mmx, MulConst, Mmx)
SWORD_VECTOR_VARIANT(MulShiftConstSWORD_mmx, MulShiftConst, Mmx)
SWORD_VECTOR_VARIANT(ContrastPivotSWORD_mmx, ContrastPivot, Mmx)
SWORD_VECTOR_VARIANT(ContrastPivotMaskedSWORD_mmx, ContrastPivotMasked, Mmx)
SWORD_VECTOR_VARIANT(CmpGTConstSWORD_mmx, CmpGTConst, Mmx)
SWORD_VECTOR_VARIANT(ClampTo255SWORD_mmx, ClampTo255, Mmx)
SWORD_VECTOR_VARIANT(DistancePatternSWORD_mmx, DistancePattern, Mmx)
SWORD_VECTOR_VARIANT(XorConstSWORD_mmx, XorConst, Mmx)
SWORD_VECTOR_VARIANT(OrConstSWORD_mmx, OrConst, Mmx)
SWORD_VECTOR_VARIANT(AndNotConstSWORD_mmx, AndNotConst, Mmx)
SWORD_VECTOR_VARIANT(AndConstSWORD_mmx, AndConst, Mmx)
SWORD_VECTOR_VARIANT(SetConstSWORD_mmx, SetConst, Mmx)

SWORD_VECTOR_VARIANT(AddPlaneSWORD_mmx, AddPlane, Mmx)
SWORD_VECTOR_VARIANT(SubPlaneSWORD_mmx, SubPlane, Mmx)
SWORD_VECTOR_VARIANT(MulPlaneSWORD_mmx, MulPlane, Mmx)
SWORD_VECTOR_VARIANT(MulShiftPlaneSWORD_mmx, MulShiftPlane, Mmx)
SWORD_VECTOR_VARIANT(MulComplementShiftSWORD_mmx, MulComplementShift, Mmx)
SWORD_VECTOR_VARIANT(AbsDiffSWORD_mmx, AbsDiff, Mmx)
SWORD_VECTOR_VARIANT(XorPlaneSWORD_mmx, XorPlane, Mmx)
SWORD_VECTOR_VARIANT(OrPlaneSWORD_mmx, OrPlane, Mmx)
SWORD_VECTOR_VARIANT(AndNotPlaneSWORD_mmx, AndNotPlane, Mmx)
SWORD_VECTOR_VARIANT(AndPlaneSWORD_mmx, AndPlane, Mmx)
SWORD_VECTOR_VARIANT(CopyPlaneMaskedSWORD_mmx, CopyPlaneMasked, Mmx)

SWORD_VECTOR_VARIANT(CmpGTAddForSWord_mmx, CmpGTAdd, Mmx)
SWORD_VECTOR_VARIANT(CmpGTAddScaledForSWord_mmx, CmpGTAddScaled, Mmx)
SWORD_VECTOR_VARIANT(ThresholdSelectSWORD_mmx, ThresholdSelect, Mmx)
