// The operations with constants and between planes written once over a vector type V of
// sword_vector_mmx.h or sword_vector_sse2.h (Vec, kWords, kGranularity, kMmx and the word
// operations). Included only by the MMX and SSE2 files, so every instantiation is compiled with
// its own instruction set.
#pragma once

#include "sword_arith.h"
#include "sword_convert_rows.h"

#include "CatchAllLog.h"

namespace arith {

template <class V>
using Vec = typename V::Vec;

// Loads and stores at any word or byte address, in the vector type's alignment kind.
template <class V>
Vec<V> LoadAt(const void* address)
{
    return V::Load(static_cast<const BYTE*>(address));
}

template <class V>
void StoreAt(void* address, Vec<V> value)
{
    V::Store(static_cast<BYTE*>(address), value);
}

// The catch-all of a vector kernel: it empties the MMX state on this path as on the normal one.
#define SWORD_VECTOR_CATCH_ALL(V)              \
    catch (...)                                \
    {                                          \
        V::End();                              \
        LogExceptionAt(__FILE__, __LINE__);    \
        return E_FAIL;                         \
    }

template <class V>
Vec<V> Under(Vec<V> fresh, Vec<V> old, Vec<V> mask)
{
    return V::Or(V::And(fresh, mask), V::AndNot(mask, old));
}

// Words taken as unsigned: two unsigned saturating differences joined.
template <class V>
Vec<V> AbsDifference(Vec<V> a, Vec<V> b)
{
    return V::Or(V::SubUS(a, b), V::SubUS(b, a));
}

template <class V>
Vec<V> AbsSaturated(Vec<V> value)
{
    const Vec<V> sign = V::Sra(value, V::ShiftCount(15));
    return V::SubS(V::Xor(value, sign), sign);
}

// A pair of words (low, high) in every 32-bit lane, for the multiply-add.
template <class V>
Vec<V> WordPair(SWORD low, SWORD high)
{
    return V::Set1Lanes(static_cast<int>(static_cast<uint16_t>(low) | (static_cast<uint32_t>(static_cast<uint16_t>(high)) << 16)));
}

// Constant vectors of one call, loaded once before the rows.
template <class V>
struct Operands
{
    explicit Operands(const ArithCall& call)
        : mask(call.mask != nullptr ? V::LoadConstant(call.mask) : V::Zero()),
          k1(call.constant1 != nullptr ? V::LoadConstant(call.constant1) : V::Zero()),
          k2(call.constant2 != nullptr ? V::LoadConstant(call.constant2) : V::Zero()),
          count(V::ShiftCount(static_cast<unsigned>(call.count)))
    {
    }
    Vec<V> mask, k1, k2, count;
};

// Every operation: Apply(a, b) gives the new vector of plane A; BeginRow is for the one that
// depends on the position.
template <class V>
struct Operation : Operands<V>
{
    using Operands<V>::Operands;
    void BeginRow(int) {}
};

#define SWORD_VECTOR_OP(Name, needsValue, expression)                 \
    template <class V>                                                \
    struct Name : Operation<V>                                        \
    {                                                                 \
        static constexpr ArithNeeds kNeeds = needsValue;              \
        using Operation<V>::Operation;                                \
        Vec<V> Apply([[maybe_unused]] Vec<V> a, [[maybe_unused]] Vec<V> b) \
        {                                                             \
            [[maybe_unused]] const Vec<V> M = this->mask, K1 = this->k1, K2 = this->k2, C = this->count; \
            return expression;                                        \
        }                                                             \
    };

SWORD_VECTOR_OP(AddConst, kMaskConstant, V::AddS(a, V::And(K1, M)))
SWORD_VECTOR_OP(SubConst, kMaskConstant, V::SubS(a, V::And(K1, M)))
// F = K1 where the mask word is not 0, else 1.
SWORD_VECTOR_OP(MulConst, kMaskConstant,
                V::MulLo(a, Under<V>(V::Set1(1), K1, V::CmpEq(M, V::Zero()))))
SWORD_VECTOR_OP(MulShiftConst, kMaskConstant, Under<V>(V::Sra(V::MulLo(a, K1), C), a, M))
SWORD_VECTOR_OP(ContrastPivot, kContrast, V::AddS(V::Sra(V::MulLo(V::SubS(a, K2), K1), C), K2))
SWORD_VECTOR_OP(ContrastPivotMasked, kContrastMasked,
                Under<V>(V::AddS(V::Sra(V::MulLo(V::SubS(a, K2), K1), C), K2), a, M))
SWORD_VECTOR_OP(CmpGTConst, kMaskConstant, Under<V>(V::CmpGt(a, K1), a, M))
SWORD_VECTOR_OP(ClampTo255, kClamp, V::ClampToByteRange(a))
SWORD_VECTOR_OP(XorConst, kMaskConstant, Under<V>(V::Xor(a, K1), a, M))
SWORD_VECTOR_OP(OrConst, kMaskConstant, Under<V>(V::Or(a, K1), a, M))
SWORD_VECTOR_OP(AndNotConst, kMaskConstant, Under<V>(V::AndNot(a, K1), a, M))
SWORD_VECTOR_OP(AndConst, kMaskConstant, Under<V>(V::And(a, K1), a, M))
SWORD_VECTOR_OP(SetConst, kMaskConstant, Under<V>(K1, a, M))

SWORD_VECTOR_OP(AddPlane, kMaskPlane, V::AddS(a, V::And(b, M)))
SWORD_VECTOR_OP(SubPlane, kMaskPlane, V::SubS(a, V::And(b, M)))
SWORD_VECTOR_OP(MulPlane, kMaskPlane, Under<V>(V::MulLo(a, b), a, M))
SWORD_VECTOR_OP(XorPlane, kMaskPlane, Under<V>(V::Xor(a, b), a, M))
SWORD_VECTOR_OP(OrPlane, kMaskPlane, Under<V>(V::Or(a, b), a, M))
SWORD_VECTOR_OP(AndNotPlane, kMaskPlane, Under<V>(V::AndNot(b, a), a, M))
SWORD_VECTOR_OP(AndPlane, kMaskPlane, Under<V>(V::And(a, b), a, M))
SWORD_VECTOR_OP(CopyPlaneMasked, kMaskPlane, Under<V>(b, a, M))
SWORD_VECTOR_OP(AbsDiff, kMaskPlane, Under<V>(AbsDifference<V>(a, b), a, M))
SWORD_VECTOR_OP(CmpGTAdd, kCompareAdd, Under<V>(V::AddS(a, V::And(b, V::CmpGt(b, K1))), a, M))
SWORD_VECTOR_OP(ThresholdSelect, kThresholdSelect, Under<V>(V::And(K2, V::CmpGt(a, K1)), a, M))
SWORD_VECTOR_OP(CmpGTAddValue, kCompareAddValue, Under<V>(V::AddS(a, V::And(K2, V::CmpGt(b, K1))), a, M))

#undef SWORD_VECTOR_OP

// The two-plane shifts come from the 64-bit value a constant points to.
template <class V>
struct MulShiftPlane : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kMaskPlaneShift;
    explicit MulShiftPlane(const ArithCall& call) : Operation<V>(call), shift(V::ShiftCount64(call.constant1)) {}
    Vec<V> Apply(Vec<V> a, Vec<V> b) { return Under<V>(V::Sra(V::MulLo(a, b), shift), a, this->mask); }
    Vec<V> shift;
};

template <class V>
struct MulComplementShift : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kMaskPlaneComplement;
    explicit MulComplementShift(const ArithCall& call)
        : Operation<V>(call), shift(V::ShiftCount64(call.constant1))
    {
    }
    Vec<V> Apply(Vec<V> a, Vec<V> b)
    {
        return Under<V>(V::Sra(V::MulLo(a, V::SubS(this->k2, b)), shift), a, this->mask);
    }
    Vec<V> shift;
};

template <class V>
struct CmpGTAddScaled : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kCompareAddScaled;
    explicit CmpGTAddScaled(const ArithCall& call) : Operation<V>(call), shift(V::ShiftCount64(call.constant2)) {}
    Vec<V> Apply(Vec<V> a, Vec<V> b)
    {
        const Vec<V> half = V::Sra(V::And(b, V::CmpGt(b, this->k1)), V::ShiftCount(1));
        return Under<V>(V::AddS(a, V::Sra(V::MulLo(a, half), shift)), a, this->mask);
    }
    Vec<V> shift;
};

// The members of the toolkit's own build; shifts from the 64-bit value at constant 1.
template <class V>
struct ShiftRightConst : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kMaskConstant;
    explicit ShiftRightConst(const ArithCall& call) : Operation<V>(call), shift(V::ShiftCount64(call.constant1)) {}
    Vec<V> Apply(Vec<V> a, Vec<V>) { return Under<V>(V::Srl(a, shift), a, this->mask); }
    Vec<V> shift;
};

template <class V>
struct InvMulShift : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kMaskPlaneComplement;
    explicit InvMulShift(const ArithCall& call) : Operation<V>(call), shift(V::ShiftCount64(call.constant1)) {}
    Vec<V> Apply(Vec<V> a, Vec<V> b)
    {
        return Under<V>(V::Sra(V::MulLo(V::SubS(this->k2, a), b), shift), a, this->mask);
    }
    Vec<V> shift;
};

// Columns from 1 growing by one per word, rows from 1; the padding words get their columns' values.
template <class V>
struct DistancePattern : Operation<V>
{
    static constexpr ArithNeeds kNeeds = kDistance;
    explicit DistancePattern(const ArithCall& call)
        : Operation<V>(call), centreX(V::Set1(call.constant1[0])), centreY(V::Set1(call.constant1[1]))
    {
    }
    void BeginRow(int row)
    {
        x = V::Columns();
        rowTerm = AbsSaturated<V>(V::SubS(V::Set1(static_cast<short>(row + 1)), centreY));
    }
    Vec<V> Apply(Vec<V>, Vec<V>)
    {
        const Vec<V> result =
            V::Sra(V::AddS(AbsSaturated<V>(V::SubS(x, centreX)), rowTerm), this->count);
        x = V::Add(x, V::Set1(V::kWords));
        return result;
    }
    Vec<V> centreX, centreY, x{}, rowTerm{};
};

// The row walk of the unified form over whole vectors; the compare-and-add family rounds down.
template <class V, template <class> class Op>
HRESULT RunVector(const ArithCall& call)
{
    constexpr ArithNeeds needs = Op<V>::kNeeds;
    // Aligned loads fault on a plane off the vector boundary (a 32-bit heap block is only 8-byte
    // aligned): such a plane takes the twin that accepts any address, which computes the same.
    if constexpr (V::kAlignedOnly) {
        if (!IsOnVectorBoundary(call.planeA, call.strideA, V::kBytes) ||
            (needs.planeB && !IsOnVectorBoundary(call.planeB, call.strideB, V::kBytes)))
            return RunVector<typename V::Unaligned, Op>(call);
    }
    const HRESULT check = CheckArithCall(call, needs, V::kGranularity, V::kMmx);
    if (check != S_OK)
        return check;
    try {
        Op<V> op(call);
        const SwordRowWalk walk =
            needs.roundDown ? GetSwordRowWalkRoundingDown(call.width, V::kWords, call.strideA, call.strideB)
                            : GetSwordRowWalkRoundingUp(call.width, V::kWords, call.strideA, call.strideB);
        BYTE* a = reinterpret_cast<BYTE*>(call.planeA);
        const BYTE* b = reinterpret_cast<const BYTE*>(call.planeB);
        for (int row = 0; row < call.height; ++row) {
            op.BeginRow(row);
            for (int done = 0; done < walk.bytesPerRow; done += V::kBytes) {
                const Vec<V> va = V::Load(a);
                V::Store(a, op.Apply(va, needs.planeB ? V::Load(b) : va));
                a += V::kBytes;
                if (needs.planeB)
                    b += V::kBytes;
            }
            a += walk.stepA;
            if (needs.planeB)
                b += walk.stepB;
        }
        V::End();
        return S_OK;
    }
    SWORD_VECTOR_CATCH_ALL(V)
}

} // namespace arith

#define SWORD_VECTOR_VARIANT(name, Op, V)                                  \
    HRESULT name(SWORD_ARITH_ARGS)                                          \
    {                                                                       \
        return arith::RunVector<V, arith::Op>(SWORD_ARITH_CALL);            \
    }
