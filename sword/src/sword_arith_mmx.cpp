// MMX operations with constants and between planes: 4 words a vector, any alignment.
#include "sword_arith_vector.h"

#include <mmintrin.h>

namespace {

struct Mmx
{
    using Vec = __m64;
    static constexpr int kWords = 4;
    static constexpr int kBytes = 8;
    static constexpr int kGranularity = kSwordAlignmentMmx;
    static constexpr bool kMmx = true;

    static Vec Load(const BYTE* address)
    {
        Vec value;
        std::memcpy(&value, address, sizeof(value));
        return value;
    }
    static void Store(BYTE* address, Vec value) { std::memcpy(address, &value, sizeof(value)); }
    static Vec LoadConstant(const SWORD* constant) { return Load(reinterpret_cast<const BYTE*>(constant)); }
    static Vec ShiftCount(unsigned count) { return _mm_cvtsi32_si64(static_cast<int>(count)); }
    static Vec ShiftCount64(const SWORD* constant) { return LoadConstant(constant); }
    static void End() { _mm_empty(); }

    static Vec Zero() { return _mm_setzero_si64(); }
    static Vec Set1(short value) { return _mm_set1_pi16(value); }
    static Vec Columns() { return _mm_set_pi16(4, 3, 2, 1); }
    static Vec Add(Vec a, Vec b) { return _mm_add_pi16(a, b); }
    static Vec AddS(Vec a, Vec b) { return _mm_adds_pi16(a, b); }
    static Vec SubS(Vec a, Vec b) { return _mm_subs_pi16(a, b); }
    static Vec SubUS(Vec a, Vec b) { return _mm_subs_pu16(a, b); }
    static Vec MulLo(Vec a, Vec b) { return _mm_mullo_pi16(a, b); }
    static Vec Sra(Vec a, Vec count) { return _mm_sra_pi16(a, count); }
    static Vec And(Vec a, Vec b) { return _mm_and_si64(a, b); }
    static Vec Or(Vec a, Vec b) { return _mm_or_si64(a, b); }
    static Vec Xor(Vec a, Vec b) { return _mm_xor_si64(a, b); }
    // (NOT a) AND b
    static Vec AndNot(Vec a, Vec b) { return _mm_andnot_si64(a, b); }
    static Vec CmpGt(Vec a, Vec b) { return _mm_cmpgt_pi16(a, b); }
    static Vec CmpEq(Vec a, Vec b) { return _mm_cmpeq_pi16(a, b); }
    static Vec ClampToByteRange(Vec a) { return _mm_unpacklo_pi8(_mm_packs_pu16(a, a), _mm_setzero_si64()); }
};

} // namespace

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
