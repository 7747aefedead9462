// Shared by the variants of the operations with constants and between planes: the call record,
// what each operation reads, and the argument gate. Defined in sword_arith_c.cpp, compiled
// without instruction-set flags.
#pragma once

#include "OptimFunctionUnifProcessSWORD.h"

#include <cstdint>
#include <cstring>

// The unified-form arguments these operations use.
struct ArithCall
{
    SWORD* planeA;
    const SWORD* planeB;
    const SWORD* mask;
    int strideA;
    int strideB;
    int width;
    int height;
    int count;
    const SWORD* constant1;
    const SWORD* constant2;
    int* alignmentOut;
};

// What the alignment query answers besides the variant's own granularity.
enum class ArithAnswer
{
    Granularity,
    NoneForMmx, // the compare-and-add family: -1 in MMX, the granularity elsewhere
    None,       // the distance pattern: -1 in every variant
};

// Operands an operation reads (a missing one is refused rather than dereferenced) and its row walk.
struct ArithNeeds
{
    bool planeB;
    bool mask;
    bool constant1;
    bool constant2;
    bool roundDown = false;
    ArithAnswer answer = ArithAnswer::Granularity;
};

namespace arith {
constexpr ArithNeeds kMaskConstant{false, true, true, false};
constexpr ArithNeeds kConstantOnly{false, false, true, false};
constexpr ArithNeeds kContrast{false, false, true, true};
constexpr ArithNeeds kContrastMasked{false, true, true, true};
constexpr ArithNeeds kClamp{false, false, false, false};
constexpr ArithNeeds kDistance{false, false, true, false, false, ArithAnswer::None};
constexpr ArithNeeds kMaskPlane{true, true, false, false};
constexpr ArithNeeds kMaskPlaneShift{true, true, true, false};
constexpr ArithNeeds kMaskPlaneComplement{true, true, true, true};
constexpr ArithNeeds kCompareAdd{true, true, true, false, true, ArithAnswer::NoneForMmx};
constexpr ArithNeeds kCompareAddScaled{true, true, true, true, true, ArithAnswer::NoneForMmx};
constexpr ArithNeeds kThresholdSelect{false, true, true, true, true, ArithAnswer::NoneForMmx};
constexpr ArithNeeds kCompareAddValue{true, true, true, true};
} // namespace arith

// S_OK to go on; else the result to answer: the alignment query's, or E_INVALIDARG for an operand
// the operation reads but was not given.
HRESULT CheckArithCall(const ArithCall& call, const ArithNeeds& needs, int granularity, bool mmx);

// The shift count that constant 1 or 2 points to in the two-plane families (64 bits).
inline uint64_t ReadShift64(const SWORD* constant)
{
    uint64_t shift;
    std::memcpy(&shift, constant, sizeof(shift));
    return shift;
}

#define SWORD_ARITH_ARGS                                                                                       \
    SWORD *planeA, void *, const void *planeB, void *, const SWORD *mask, int strideA, int strideB, int width,  \
        int height, int count, const SWORD *constant1, const SWORD *constant2, int *alignmentOut
#define SWORD_ARITH_CALL                                                                                       \
    ArithCall{planeA, static_cast<const SWORD*>(planeB), mask, strideA, strideB, width, height, count, constant1, \
              constant2, alignmentOut}
