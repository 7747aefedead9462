// Plain operations with constants and between planes: the reference of every vector variant.
// They process exactly the visible words of each row. Constants and masks are laid over the row
// with a period of 4 words, so MMX-sized (4-word) and SSE2-sized (8-word repeating) vectors give
// the same result.
#include "sword_arith.h"
#include "sword_convert_rows.h"

#include "CatchAllLog.h"

#include <algorithm>

namespace {

SWORD Sat(int value)
{
    return static_cast<SWORD>(std::clamp(value, -32768, 32767));
}

SWORD Low16(int value)
{
    return static_cast<SWORD>(static_cast<uint16_t>(value));
}

// Arithmetic shift; counts beyond 15 fill with the sign as the vector shifts do.
SWORD Sra(SWORD value, uint64_t count)
{
    return static_cast<SWORD>(value >> (count > 15 ? 15 : count));
}

SWORD Under(int fresh, SWORD old, SWORD mask)
{
    return static_cast<SWORD>((fresh & mask) | (old & ~mask));
}

// Logical shift; counts beyond 15 give 0 as the vector shifts do.
SWORD Srl(SWORD value, uint64_t count)
{
    return count > 15 ? SWORD{0} : static_cast<SWORD>(static_cast<uint16_t>(value) >> count);
}

SWORD SatAbs(SWORD value)
{
    return value < 0 ? Sat(-value) : value;
}

SWORD UnsignedDifference(SWORD a, SWORD b)
{
    const uint16_t ua = static_cast<uint16_t>(a), ub = static_cast<uint16_t>(b);
    return static_cast<SWORD>(ua > ub ? ua - ub : ub - ua);
}

template <class Rule>
HRESULT RunPlain(const ArithCall& call, const ArithNeeds& needs, Rule rule)
{
    const HRESULT check = CheckArithCall(call, needs, kSwordAlignmentPlain, false);
    if (check != S_OK)
        return check;
    try {
        const int words = std::max(call.width, 1);
        for (int row = 0; row < call.height; ++row) {
            SWORD* a = RowAt(call.planeA, call.strideA, row);
            const SWORD* b = needs.planeB ? RowAt(call.planeB, call.strideB, row) : nullptr;
            for (int x = 0; x < words; ++x)
                a[x] = static_cast<SWORD>(rule(a[x], b != nullptr ? b[x] : SWORD{0}, x % 4, x, row));
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

} // namespace

HRESULT CheckArithCall(const ArithCall& call, const ArithNeeds& needs, int granularity, bool mmx)
{
    if (call.planeA == nullptr) {
        const bool none = needs.answer == ArithAnswer::None || (needs.answer == ArithAnswer::NoneForMmx && mmx);
        return AnswerSwordAlignmentQuery(call.alignmentOut, none ? kSwordAlignmentNone : granularity);
    }
    if ((needs.planeB && call.planeB == nullptr) || (needs.mask && call.mask == nullptr) ||
        (needs.constant1 && call.constant1 == nullptr) || (needs.constant2 && call.constant2 == nullptr))
        return E_INVALIDARG;
    return S_OK;
}

// One line per operation: the new value of a word a (b of plane B, lane l, column x, row y).
#define SWORD_PLAIN(name, needs, expression)                                                              \
    HRESULT name##_c(SWORD_ARITH_ARGS)                                                                    \
    {                                                                                                     \
        const ArithCall call = SWORD_ARITH_CALL;                                                          \
        [[maybe_unused]] const SWORD* const M = call.mask;                                                \
        [[maybe_unused]] const SWORD* const K1 = call.constant1;                                          \
        [[maybe_unused]] const SWORD* const K2 = call.constant2;                                          \
        [[maybe_unused]] const unsigned shift = static_cast<unsigned>(call.count);                        \
        return RunPlain(call, needs,                                                                      \
                        [&]([[maybe_unused]] SWORD a, [[maybe_unused]] SWORD b, [[maybe_unused]] int l,   \
                            [[maybe_unused]] int x, [[maybe_unused]] int y) -> int { return expression; }); \
    }

SWORD_PLAIN(AddConstSWORD, arith::kMaskConstant, Sat(a + (K1[l] & M[l])))
SWORD_PLAIN(SubConstSWORD, arith::kMaskConstant, Sat(a - (K1[l] & M[l])))
SWORD_PLAIN(MulConstSWORD, arith::kMaskConstant, Low16(a * (M[l] != 0 ? K1[l] : 1)))
SWORD_PLAIN(MulShiftConstSWORD, arith::kMaskConstant, Under(Sra(Low16(a * K1[l]), shift), a, M[l]))
SWORD_PLAIN(ContrastPivotSWORD, arith::kContrast, Sat(Sra(Low16(Sat(a - K2[l]) * K1[l]), shift) + K2[l]))
SWORD_PLAIN(ContrastPivotMaskedSWORD, arith::kContrastMasked,
            Under(Sat(Sra(Low16(Sat(a - K2[l]) * K1[l]), shift) + K2[l]), a, M[l]))
SWORD_PLAIN(CmpGTConstSWORD, arith::kMaskConstant, Under(a > K1[l] ? -1 : 0, a, M[l]))
SWORD_PLAIN(ClampTo255SWORD, arith::kClamp, std::clamp<int>(a, 0, 255))
SWORD_PLAIN(DistancePatternSWORD, arith::kDistance,
            Sra(Sat(SatAbs(Sat(Low16(x + 1) - K1[0])) + SatAbs(Sat(Low16(y + 1) - K1[1]))), shift))
SWORD_PLAIN(XorConstSWORD, arith::kMaskConstant, Under(a ^ K1[l], a, M[l]))
SWORD_PLAIN(OrConstSWORD, arith::kMaskConstant, Under(a | K1[l], a, M[l]))
SWORD_PLAIN(AndNotConstSWORD, arith::kMaskConstant, Under(~a & K1[l], a, M[l]))
SWORD_PLAIN(AndConstSWORD, arith::kMaskConstant, Under(a & K1[l], a, M[l]))
SWORD_PLAIN(SetConstSWORD, arith::kMaskConstant, Under(K1[l], a, M[l]))

SWORD_PLAIN(AddPlaneSWORD, arith::kMaskPlane, Sat(a + (b & M[l])))
SWORD_PLAIN(SubPlaneSWORD, arith::kMaskPlane, Sat(a - (b & M[l])))
SWORD_PLAIN(MulPlaneSWORD, arith::kMaskPlane, Under(Low16(a * b), a, M[l]))
SWORD_PLAIN(MulShiftPlaneSWORD, arith::kMaskPlaneShift, Under(Sra(Low16(a * b), ReadShift64(K1)), a, M[l]))
SWORD_PLAIN(MulComplementShiftSWORD, arith::kMaskPlaneComplement,
            Under(Sra(Low16(a * Sat(K2[l] - b)), ReadShift64(K1)), a, M[l]))
SWORD_PLAIN(AbsDiffSWORD, arith::kMaskPlane, Under(UnsignedDifference(a, b), a, M[l]))
SWORD_PLAIN(XorPlaneSWORD, arith::kMaskPlane, Under(a ^ b, a, M[l]))
SWORD_PLAIN(OrPlaneSWORD, arith::kMaskPlane, Under(a | b, a, M[l]))
SWORD_PLAIN(AndNotPlaneSWORD, arith::kMaskPlane, Under(a & ~b, a, M[l]))
SWORD_PLAIN(AndPlaneSWORD, arith::kMaskPlane, Under(a & b, a, M[l]))
SWORD_PLAIN(CopyPlaneMaskedSWORD, arith::kMaskPlane, Under(b, a, M[l]))

SWORD_PLAIN(CmpGTAddForSWord, arith::kCompareAdd, Under(Sat(a + (b > K1[l] ? b : 0)), a, M[l]))
SWORD_PLAIN(CmpGTAddScaledForSWord, arith::kCompareAddScaled,
            Under(Sat(a + Sra(Low16(a * ((b > K1[l] ? b : 0) >> 1)), ReadShift64(K2))), a, M[l]))
SWORD_PLAIN(ThresholdSelectSWORD, arith::kThresholdSelect, Under(a > K1[l] ? K2[l] : 0, a, M[l]))

// The plain references of the toolkit's own members.
SWORD_PLAIN(ShiftRightConstSWORD, arith::kMaskConstant, Under(Srl(a, ReadShift64(K1)), a, M[l]))
SWORD_PLAIN(InvMulShiftPlaneSWORD, arith::kMaskPlaneComplement,
            Under(Sra(Low16(Sat(K2[l] - a) * b), ReadShift64(K1)), a, M[l]))
SWORD_PLAIN(CmpGTAddValueForSWord, arith::kCompareAddValue, Under(Sat(a + (b > K1[l] ? K2[l] : 0)), a, M[l]))
