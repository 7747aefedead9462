// Operations with constants and between planes: every vector variant against the plain one on
// random planes (odd widths, unaligned starts, tight and loose strides, buffers ending at a guard
// page), and a table of worked cases that every variant must give.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Where an operation reads its 64-bit shift count from.
enum class ShiftFrom
{
    Count,
    Constant1,
    Constant2,
};

struct Operation
{
    const char* name;
    UnifSwordFunction c, mmx, sse2, sse2u; // sse2u null: no unaligned twin
    bool roundDown;
    ShiftFrom shift;
};

#define OP(name, shift) {#name, name##_c, name##_mmx, name##_sse2, name##_sse2u, false, ShiftFrom::shift}
#define OP_NO_TWIN(name, shift) {#name, name##_c, name##_mmx, name##_sse2, nullptr, false, ShiftFrom::shift}

const Operation kOperations[] = {
    OP(AddConstSWORD, Count),
    OP(SubConstSWORD, Count),
    OP(MulConstSWORD, Count),
    OP(MulShiftConstSWORD, Count),
    OP(ContrastPivotSWORD, Count),
    OP_NO_TWIN(ContrastPivotMaskedSWORD, Count),
    OP(CmpGTConstSWORD, Count),
    OP_NO_TWIN(ClampTo255SWORD, Count),
    OP_NO_TWIN(DistancePatternSWORD, Count),
    OP(XorConstSWORD, Count),
    OP(OrConstSWORD, Count),
    OP(AndNotConstSWORD, Count),
    OP(AndConstSWORD, Count),
    OP(SetConstSWORD, Count),
    OP(AddPlaneSWORD, Count),
    OP(SubPlaneSWORD, Count),
    OP(MulPlaneSWORD, Count),
    OP(MulShiftPlaneSWORD, Constant1),
    OP(MulComplementShiftSWORD, Constant1),
    OP(AbsDiffSWORD, Count),
    OP(XorPlaneSWORD, Count),
    OP(OrPlaneSWORD, Count),
    OP(AndNotPlaneSWORD, Count),
    OP(AndPlaneSWORD, Count),
    OP(CopyPlaneMaskedSWORD, Count),
    {"CmpGTAddForSWord", CmpGTAddForSWord_c, CmpGTAddForSWord_mmx, CmpGTAddForSWord_sse2, CmpGTAddForSWord_sse2u,
     true, ShiftFrom::Count},
    {"CmpGTAddScaledForSWord", CmpGTAddScaledForSWord_c, CmpGTAddScaledForSWord_mmx, CmpGTAddScaledForSWord_sse2,
     CmpGTAddScaledForSWord_sse2u, true, ShiftFrom::Constant2},
    {"ThresholdSelectSWORD", ThresholdSelectSWORD_c, ThresholdSelectSWORD_mmx, ThresholdSelectSWORD_sse2, nullptr,
     true, ShiftFrom::Count},
    // The toolkit's own build: its members and its any-alignment names of existing ones.
    {"ShiftRight", ShiftRightConstSWORD_c, nullptr, bits_const_sword_funct_sse2_ShiftRight,
     bits_const_sword_funct_sse2u_ShiftRight, false, ShiftFrom::Constant1},
    {"InvMullShift", InvMulShiftPlaneSWORD_c, nullptr, add_sub_mull_sword_funct_sse2_InvMullShift,
     add_sub_mull_sword_funct_sse2u_InvMullShift, false, ShiftFrom::Constant1},
    {"TwoPlane", CmpGTAddValueForSWord_c, nullptr, CmpGTAddForSWord_sse2_TwoPlane, CmpGTAddForSWord_sse2u_TwoPlane,
     false, ShiftFrom::Count},
    {"ScaleAroundPivot", ContrastPivotMaskedSWORD_c, nullptr, nullptr,
     add_sub_mull_const_sword_funct_sse2u_ScaleAroundPivot, false, ShiftFrom::Count},
    {"OnePlane", ThresholdSelectSWORD_c, nullptr, nullptr, CmpGTAddForSWord_sse2u_OnePlane, true, ShiftFrom::Count},
};

struct Variant
{
    const char* name;
    UnifSwordFunction Operation::*function;
    int words;
};

const Variant kVariants[] = {{"mmx", &Operation::mmx, 4}, {"sse2", &Operation::sse2, 8}, {"sse2u", &Operation::sse2u, 8}};

// A constant vector of 8 words repeating every 4, as callers lay them for either vector width.
using Constant = std::array<SWORD, 8>;

Constant RepeatingConstant(std::mt19937& random, bool maskWords)
{
    Constant constant{};
    for (int i = 0; i < 4; ++i) {
        const SWORD word = maskWords ? static_cast<SWORD>(random() % 2 ? -1 : 0) : static_cast<SWORD>(random());
        constant[i] = constant[i + 4] = word;
    }
    return constant;
}

Constant ShiftConstant(int shift)
{
    Constant constant{};
    const uint64_t value = static_cast<uint64_t>(shift);
    std::memcpy(constant.data(), &value, sizeof(value));
    return constant;
}

// Words a vector variant processes per row.
int ProcessedWords(const Operation& operation, int width, int words)
{
    const int vectors = operation.roundDown ? width / words : (width + words - 1) / words;
    return std::max(vectors, 1) * words;
}

// Guarded blocks made once for the largest case; every case takes the end of each.
struct ParityBuffers
{
    explicit ParityBuffers(size_t largest) : original(largest), plain(largest), vector(largest), planeB(largest) {}
    GuardedBuffer original, plain, vector, planeB;
};

void CheckParity(const Operation& operation, const Variant& variant, int width, int height, int pad, int offset,
                 std::mt19937& random, const ParityBuffers& buffers)
{
    const UnifSwordFunction function = operation.*variant.function;
    const int walkBytes = 2 * ProcessedWords(operation, width, variant.words);
    const int stride = GetSwordPlaneStride(width) + pad;
    // Unaligned starts: the buffer is offset bytes longer than the rows, and starts there.
    // The plain code reads the visible words, which may pass the last whole vector of a round-down walk.
    const size_t bytes = static_cast<size_t>(stride) * (height - 1) + std::max(walkBytes, (2 * width + 15) & ~15) + offset;
    ASSERT_LE(bytes, buffers.original.Size());
    GuardedTail original(buffers.original, bytes), plain(buffers.plain, bytes), vector(buffers.vector, bytes),
        planeB(buffers.planeB, bytes);
    original.FillRandomWords(random);
    planeB.FillRandomWords(random);
    std::memcpy(plain.Bytes(), original.Bytes(), bytes);
    std::memcpy(vector.Bytes(), original.Bytes(), bytes);

    const Constant mask = RepeatingConstant(random, true);
    Constant k1 = RepeatingConstant(random, false), k2 = RepeatingConstant(random, false);
    const int shift = static_cast<int>(random() % 18);
    if (operation.shift == ShiftFrom::Constant1)
        k1 = ShiftConstant(shift);
    if (operation.shift == ShiftFrom::Constant2)
        k2 = ShiftConstant(shift);

    auto call = [&](UnifSwordFunction f, const FilledBuffer& a) {
        return f(a.Words(), nullptr, planeB.Words(), nullptr, mask.data(), stride, stride, width, height, shift,
                 k1.data(), k2.data(), nullptr);
    };
    ASSERT_EQ(S_OK, call(operation.c, plain));
    ASSERT_EQ(S_OK, call(function, vector));

    const int processed = std::min(width, ProcessedWords(operation, width, variant.words));
    for (int row = 0; row < height; ++row) {
        const size_t start = static_cast<size_t>(row) * stride;
        const SWORD* p = reinterpret_cast<const SWORD*>(plain.Bytes() + start);
        const SWORD* v = reinterpret_cast<const SWORD*>(vector.Bytes() + start);
        const SWORD* o = reinterpret_cast<const SWORD*>(original.Bytes() + start);
        for (int x = 0; x < width; ++x)
            ASSERT_EQ(x < processed ? p[x] : o[x], v[x]) << "row " << row << " word " << x;
        // Nothing between the walked bytes and the next row.
        if (row + 1 < height) {
            ASSERT_EQ(0, std::memcmp(vector.Bytes() + start + walkBytes, original.Bytes() + start + walkBytes,
                                     stride - walkBytes))
                << "row " << row;
        }
    }
}

TEST(SwordArithParity, EveryVariantMatchesThePlainOne)
{
    std::mt19937 random(9);
    const ParityBuffers buffers(4096);
    for (const Operation& operation : kOperations)
        for (const Variant& variant : kVariants) {
            if (operation.*variant.function == nullptr)
                continue;
            for (int width : {1, 2, 3, 4, 5, 6, 7, 8, 9, 15, 16, 17, 23, 33, 101})
                for (int height : {1, 3})
                    for (int pad : {0, 6, 8, 32})
                        for (int offset : {0, 2, 6, 8}) {
                            SCOPED_TRACE(std::string(operation.name) + " " + variant.name + " width " +
                                         std::to_string(width) + " height " + std::to_string(height) + " pad " +
                                         std::to_string(pad) + " offset " + std::to_string(offset));
                            // The offset makes the start unaligned, for the aligned kind too (an 8-byte
                            // aligned heap block must not fault); the buffer still ends at the guard.
                            CheckParity(operation, variant, width, height, pad, offset, random, buffers);
                            if (HasFatalFailure())
                                return;
                        }
        }
}

TEST(SwordArithParity, FullFrame)
{
    std::mt19937 random(10);
    const ParityBuffers buffers(static_cast<size_t>(GetSwordPlaneStride(640)) * 480);
    for (const Operation& operation : kOperations)
        for (const Variant& variant : kVariants)
            if (operation.*variant.function != nullptr) {
                SCOPED_TRACE(std::string(operation.name) + " " + variant.name);
                CheckParity(operation, variant, 640, 480, 0, 0, random, buffers);
            }
}

// ---- Worked cases -------------------------------------------------------------------------

using Row = std::array<SWORD, 8>;

struct WorkedCase
{
    const char* what;
    const Operation* operation;
    Row a, b;
    Constant mask, k1, k2;
    int count;
    Row expected;
};

const Operation& Find(const char* name)
{
    for (const Operation& operation : kOperations)
        if (std::strcmp(operation.name, name) == 0)
            return operation;
    throw std::runtime_error(name);
}

constexpr SWORD F = -1; // 0xFFFF
constexpr Constant kAll{F, F, F, F, F, F, F, F};
constexpr Constant kNone{};
constexpr Constant kEven{F, 0, F, 0, F, 0, F, 0};
Constant Splat(SWORD word)
{
    Constant c;
    c.fill(word);
    return c;
}

std::vector<WorkedCase> WorkedCases()
{
    const Row ramp{0, 1, 100, 200, 255, 300, -5, 32000};
    return {
        {"add with an all-zero mask changes nothing", &Find("AddConstSWORD"), ramp, {}, kNone, Splat(77), {}, 0, ramp},
        {"add 32767 saturates", &Find("AddConstSWORD"), ramp, {}, kAll, Splat(32767), {}, 0,
         {32767, 32767, 32767, 32767, 32767, 32767, 32762, 32767}},
        {"subtract under the even lanes", &Find("SubConstSWORD"), ramp, {}, kEven, Splat(10), {}, 0,
         {-10, 1, 90, 200, 245, 300, -15, 32000}},
        {"multiply wraps to the low 16 bits", &Find("MulConstSWORD"), {300, 300, 2, -3, 0, 1, 7, 9}, {}, kEven,
         Splat(300), {}, 0, {24464, 300, 600, -3, 0, 1, 2100, 9}},
        {"multiply and shift", &Find("MulShiftConstSWORD"), ramp, {}, kAll, Splat(3), {}, 1,
         {0, 1, 150, 300, 382, 450, -8, 15232}},
        {"pivot with gain 256 and count 8 keeps values", &Find("ContrastPivotSWORD"), {0, 1, 2, 100, 128, 200, 254, 255},
         {}, kNone, Splat(256), Splat(128), 8, {0, 1, 2, 100, 128, 200, 254, 255}},
        {"pivot with gain 320 turns 250 into 24", &Find("ContrastPivotSWORD"), {250, 128, 0, 0, 0, 0, 0, 0}, {},
         kNone, Splat(320), Splat(128), 8, {24, 128, 224, 224, 224, 224, 224, 224}},
        {"saturation at the pivot subtraction", &Find("ContrastPivotSWORD"),
         {-32768, 0, 0, 0, 0, 0, 0, 0}, {}, kNone, Splat(256), Splat(128), 8, {128, 0, 0, 0, 0, 0, 0, 0}},
        {"compare greater only in the even lanes", &Find("CmpGTConstSWORD"), ramp, {}, kEven, Splat(100), {}, 0,
         {0, 1, 0, 200, -1, 300, 0, 32000}},
        {"clamp to 0..255", &Find("ClampTo255SWORD"), ramp, {}, kNone, {}, {}, 0, {0, 1, 100, 200, 255, 255, 0, 255}},
        {"distance 0 at the centre, 1 per column", &Find("DistancePatternSWORD"), ramp, {}, kNone,
         {4, 1, 0, 0, 0, 0, 0, 0}, {}, 0, {3, 2, 1, 0, 1, 2, 3, 4}},
        {"AND-NOT with a constant negates the plane", &Find("AndNotConstSWORD"), {0x0F0F, 0, 0, 0, 0, 0, 0, 0}, {},
         kAll, Splat(0x00FF), {}, 0, {0x00F0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}},
        {"set under the even lanes", &Find("SetConstSWORD"), ramp, {}, kEven, Splat(9), {}, 0,
         {9, 1, 9, 200, 9, 300, 9, 32000}},
        {"AND-NOT of planes negates plane B", &Find("AndNotPlaneSWORD"), {0x0F0F, 0, 0, 0, 0, 0, 0, 0},
         {0x00FF, 0, 0, 0, 0, 0, 0, 0}, kAll, {}, {}, 0, {0x0F00, 0, 0, 0, 0, 0, 0, 0}},
        {"add planes saturates", &Find("AddPlaneSWORD"), ramp, {0, 0, 0, 0, 0, 0, 0, 1000}, kAll, {}, {}, 0,
         {0, 1, 100, 200, 255, 300, -5, 32767}},
        {"absolute difference of 0 and -1 is 0xFFFF", &Find("AbsDiffSWORD"), {0, 5, 3, 0, 0, 0, 0, 0},
         {-1, 3, 5, 0, 0, 0, 0, 0}, kAll, {}, {}, 0, {-1, 2, 2, 0, 0, 0, 0, 0}},
        {"complement multiply", &Find("MulComplementShiftSWORD"), {100, 0, 0, 0, 0, 0, 0, 0},
         {55, 0, 0, 0, 0, 0, 0, 0}, kAll, ShiftConstant(8), Splat(255), 0, {78, 0, 0, 0, 0, 0, 0, 0}},
        {"copy plane with an all-0xFFFF mask is a copy", &Find("CopyPlaneMaskedSWORD"), ramp,
         {8, 7, 6, 5, 4, 3, 2, 1}, kAll, {}, {}, 0, {8, 7, 6, 5, 4, 3, 2, 1}},
        {"add above the threshold only", &Find("CmpGTAddForSWord"), {10, 10, 10, 10, 10, 10, 10, 10},
         {50, 51, 49, -60, 200, 50, 32767, 0}, kAll, Splat(50), {}, 0, {10, 61, 10, 10, 210, 10, 32767, 10}},
        {"scaled add above the threshold", &Find("CmpGTAddScaledForSWord"), {100, 100, 0, 0, 0, 0, 0, 0},
         {200, 40, 0, 0, 0, 0, 0, 0}, kAll, Splat(50), ShiftConstant(7), 0, {178, 100, 0, 0, 0, 0, 0, 0}},
        {"threshold select", &Find("ThresholdSelectSWORD"), ramp, {}, kEven, Splat(100), Splat(7), 0,
         {0, 1, 0, 200, 7, 300, 0, 32000}},
        {"one-plane compare is the threshold select", &Find("OnePlane"), ramp, {}, kEven, Splat(100), Splat(7), 0,
         {0, 1, 0, 200, 7, 300, 0, 32000}},
        {"logical shift right under the even lanes", &Find("ShiftRight"), {-1, -1, 256, 256, 255, 255, 16, 16}, {},
         kEven, ShiftConstant(4), {}, 0, {4095, -1, 16, 256, 15, 255, 1, 16}},
        {"shift right by 16 or more clears", &Find("ShiftRight"), ramp, {}, kAll, ShiftConstant(16), {}, 0, {}},
        {"inverse multiply: the complement of plane A times plane B", &Find("InvMullShift"),
         {55, 300, 0, 0, 0, 0, 0, 0}, {100, 2, 0, 0, 0, 0, 0, 0}, kAll, ShiftConstant(8), Splat(255), 0,
         {78, -1, 0, 0, 0, 0, 0, 0}},
        {"two-plane compare adds the value", &Find("TwoPlane"), {10, 10, 10, 10, 10, 10, 32760, 10},
         {50, 51, 49, -60, 200, 50, 32767, 0}, kAll, Splat(50), Splat(7), 0, {10, 17, 10, 10, 17, 10, 32767, 10}},
        {"scale about a pivot repeats the first 4 words of the gain", &Find("ScaleAroundPivot"),
         {250, 128, 0, 0, 250, 128, 0, 0}, {}, kAll, {320, 320, 320, 320, 1, 1, 1, 1}, Splat(128), 8,
         {24, 128, 224, 224, 24, 128, 224, 224}},
    };
}

TEST(SwordArithWorkedCases, EveryVariantGivesTheExpectedRow)
{
    for (const WorkedCase& w : WorkedCases()) {
        const std::pair<const char*, UnifSwordFunction> variants[] = {
            {"c", w.operation->c}, {"mmx", w.operation->mmx}, {"sse2", w.operation->sse2}, {"sse2u", w.operation->sse2u}};
        for (const auto& [name, function] : variants) {
            if (function == nullptr)
                continue;
            SCOPED_TRACE(std::string(w.what) + ", " + name);
            alignas(16) Row a = w.a;
            alignas(16) const Row b = w.b;
            ASSERT_EQ(S_OK, function(a.data(), nullptr, b.data(), nullptr, w.mask.data(), 16, 16, 8, 1, w.count,
                                     w.k1.data(), w.k2.data(), nullptr));
            EXPECT_EQ(w.expected, a);
        }
    }
}

TEST(SwordArithWorkedCases, CompareAndAddTakesWholeVectorsOnly)
{
    alignas(16) Row a{}, b;
    b.fill(100);
    const Constant threshold = Splat(0);
    // Width 6 in MMX: one vector; words 4 and 5 keep their values.
    ASSERT_EQ(S_OK, CmpGTAddForSWord_mmx(a.data(), nullptr, b.data(), nullptr, kAll.data(), 16, 16, 6, 1, 0,
                                         threshold.data(), nullptr, nullptr));
    EXPECT_EQ((Row{100, 100, 100, 100, 0, 0, 0, 0}), a);
    // Width 3: still one whole vector.
    a = {};
    ASSERT_EQ(S_OK, CmpGTAddForSWord_mmx(a.data(), nullptr, b.data(), nullptr, kAll.data(), 16, 16, 3, 1, 0,
                                         threshold.data(), nullptr, nullptr));
    EXPECT_EQ((Row{100, 100, 100, 100, 0, 0, 0, 0}), a);
}

TEST(SwordArithWorkedCases, DistanceGrowsByOnePerRow)
{
    alignas(16) SWORD plane[3][8] = {};
    const Constant centre{1, 2, 0, 0, 0, 0, 0, 0};
    for (UnifSwordFunction function : {DistancePatternSWORD_c, DistancePatternSWORD_mmx, DistancePatternSWORD_sse2}) {
        ASSERT_EQ(S_OK, function(&plane[0][0], nullptr, nullptr, nullptr, nullptr, 16, 0, 1, 3, 0, centre.data(),
                                 nullptr, nullptr));
        EXPECT_EQ(1, plane[0][0]);
        EXPECT_EQ(0, plane[1][0]);
        EXPECT_EQ(1, plane[2][0]);
    }
}

// ---- Alignment query and refused operands --------------------------------------------------

TEST(SwordArithQueries, AlignmentAnswers)
{
    struct Expected
    {
        UnifSwordFunction function;
        int answer;
    };
    const Expected cases[] = {
        {AddConstSWORD_c, kSwordAlignmentPlain},  {AddConstSWORD_mmx, 8},         {AddConstSWORD_sse2, 16},
        {AddConstSWORD_sse2u, 16},                {AbsDiffSWORD_mmx, 8},          {DistancePatternSWORD_c, -1},
        {DistancePatternSWORD_mmx, -1},           {DistancePatternSWORD_sse2, -1}, {CmpGTAddForSWord_mmx, -1},
        {CmpGTAddForSWord_sse2, 16},              {CmpGTAddForSWord_sse2u, 16},   {ThresholdSelectSWORD_mmx, -1},
        {ThresholdSelectSWORD_sse2, 16},          {CmpGTAddScaledForSWord_mmx, -1},
        {bits_const_sword_funct_sse2_ShiftRight, 16}, {bits_const_sword_funct_sse2u_ShiftRight, 16},
        {add_sub_mull_sword_funct_sse2_InvMullShift, 16}, {CmpGTAddForSWord_sse2u_TwoPlane, 16},
        {add_sub_mull_const_sword_funct_sse2u_ScaleAroundPivot, 16}, {CmpGTAddForSWord_sse2u_OnePlane, 16},
    };
    for (const Expected& e : cases) {
        int answer = 0;
        EXPECT_EQ(S_FALSE, e.function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                      &answer));
        EXPECT_EQ(e.answer, answer);
        EXPECT_EQ(E_UNEXPECTED, e.function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr,
                                           nullptr, nullptr));
    }
}

TEST(SwordArithQueries, MissingOperandsAreRefusedAndNothingIsWritten)
{
    alignas(16) Row a{1, 2, 3, 4, 5, 6, 7, 8};
    const Row before = a;
    const Constant k = Splat(1);
    for (const Operation& operation : kOperations)
        for (UnifSwordFunction Operation::*variant :
             {&Operation::c, &Operation::mmx, &Operation::sse2, &Operation::sse2u}) {
            SCOPED_TRACE(operation.name);
            // The clamp reads nothing but plane A.
            if (std::strcmp(operation.name, "ClampTo255SWORD") == 0 || operation.*variant == nullptr)
                continue;
            EXPECT_EQ(E_INVALIDARG, (operation.*variant)(a.data(), nullptr, nullptr, nullptr, nullptr, 16, 16, 8, 1,
                                                         0, nullptr, nullptr, nullptr));
            EXPECT_EQ(before, a);
        }
    // The unmasked contrast needs no mask.
    EXPECT_EQ(S_OK, ContrastPivotSWORD_sse2(a.data(), nullptr, nullptr, nullptr, nullptr, 16, 16, 8, 1, 8, k.data(),
                                            k.data(), nullptr));
}

} // namespace
