// SSE2 operations with constants and between planes: 8 words a vector. The _sse2 variants need
// 16-byte aligned planes and strides; the _sse2u twins take any alignment and compute the same.
#include "sword_arith_vector.h"

#include <emmintrin.h>

namespace {

struct Sse2Words
{
    using Vec = __m128i;
    static constexpr int kWords = 8;
    static constexpr int kBytes = 16;
    static constexpr int kGranularity = kSwordAlignmentSse2;
    static constexpr bool kMmx = false;

    static Vec LoadConstant(const SWORD* constant) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(constant)); }
    static Vec ShiftCount(unsigned count) { return _mm_cvtsi32_si128(static_cast<int>(count)); }
    static Vec ShiftCount64(const SWORD* constant) { return _mm_loadl_epi64(reinterpret_cast<const Vec*>(constant)); }
    static void End() {}

    static Vec Zero() { return _mm_setzero_si128(); }
    static Vec Set1(short value) { return _mm_set1_epi16(value); }
    static Vec Columns() { return _mm_setr_epi16(1, 2, 3, 4, 5, 6, 7, 8); }
    static Vec Add(Vec a, Vec b) { return _mm_add_epi16(a, b); }
    static Vec AddS(Vec a, Vec b) { return _mm_adds_epi16(a, b); }
    static Vec SubS(Vec a, Vec b) { return _mm_subs_epi16(a, b); }
    static Vec SubUS(Vec a, Vec b) { return _mm_subs_epu16(a, b); }
    static Vec MulLo(Vec a, Vec b) { return _mm_mullo_epi16(a, b); }
    static Vec Sra(Vec a, Vec count) { return _mm_sra_epi16(a, count); }
    static Vec And(Vec a, Vec b) { return _mm_and_si128(a, b); }
    static Vec Or(Vec a, Vec b) { return _mm_or_si128(a, b); }
    static Vec Xor(Vec a, Vec b) { return _mm_xor_si128(a, b); }
    // (NOT a) AND b
    static Vec AndNot(Vec a, Vec b) { return _mm_andnot_si128(a, b); }
    static Vec CmpGt(Vec a, Vec b) { return _mm_cmpgt_epi16(a, b); }
    static Vec CmpEq(Vec a, Vec b) { return _mm_cmpeq_epi16(a, b); }
    static Vec ClampToByteRange(Vec a) { return _mm_unpacklo_epi8(_mm_packus_epi16(a, a), _mm_setzero_si128()); }
};

struct Sse2 : Sse2Words
{
    static Vec Load(const BYTE* address) { return _mm_load_si128(reinterpret_cast<const Vec*>(address)); }
    static void Store(BYTE* address, Vec value) { _mm_store_si128(reinterpret_cast<Vec*>(address), value); }
};

struct Sse2Unaligned : Sse2Words
{
    static Vec Load(const BYTE* address) { return _mm_loadu_si128(reinterpret_cast<const Vec*>(address)); }
    static void Store(BYTE* address, Vec value) { _mm_storeu_si128(reinterpret_cast<Vec*>(address), value); }
};

} // namespace

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
