// Worked examples and argument checks of the gradient, matrix-effect, colour-key, band and hue
// operations, exact in every variant.
#include "OptimFunctionUnifProcessSWORD.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

template <class F>
struct Variant
{
    const char* name;
    F function;
    int vectorWords; // 0 for the plain form
};

const Variant<GradientCorrectFunction> kCorrections[] = {{"c", GradientCorrectImage_c, 0},
                                                         {"mmx", GradientCorrectImage_mmx, 4},
                                                         {"sse", GradientCorrectImage_sse, 4},
                                                         {"sse2", GradientCorrectImage_sse2, 8}};
const Variant<UnifSwordFunction> kFills[] = {{"c", gradient_fill_sword_funct_c, 0},
                                             {"mmx", gradient_fill_sword_funct_mmx, 4},
                                             {"sse2", gradient_fill_sword_funct_sse2, 8},
                                             {"sse2 unaligned", gradient_fill_sword_funct_sse2u, 8}};
const Variant<MatrixEffectFunction> kMatrices[] = {
    {"c", MatrixEffectImage_c, 0}, {"mmx", MatrixEffectImage_mmx, 4}, {"sse2", MatrixEffectImage_sse2, 8}};
const Variant<UnifSwordFunction> kKeys[] = {{"c", key_source_sword_funct_c, 0},
                                            {"mmx", key_source_sword_funct_mmx, 4},
                                            {"sse2", key_source_sword_funct_sse2, 8},
                                            {"sse2 unaligned", key_source_sword_funct_sse2u, 8}};
const Variant<UnifSwordFunction> kBands[] = {{"c", GenerateImageFunct_c, 0},
                                             {"mmx", GenerateImageFunct_mmx, 4},
                                             {"sse2", GenerateImageFunct_sse2, 8},
                                             {"sse2 unaligned", GenerateImageFunct_sse2u, 8}};
const Variant<CorrectHueFunction> kHues[] = {
    {"c", CorrectHue_c, 0}, {"mmx", CorrectHue_mmx, 4}, {"sse", CorrectHue_sse, 4}, {"sse2", CorrectHue_sse2, 8}};

// A small plane of 16-word rows (stride 32 bytes), 16-byte aligned.
struct Plane
{
    static constexpr int kRowWords = 16;
    static constexpr int kStride = 2 * kRowWords;
    explicit Plane(int rows, SWORD fill = 0)
        : words(static_cast<size_t>(rows) * kRowWords + 8, fill)
    {
    }
    SWORD* Data() { return Aligned(); }
    SWORD& At(int x, int y) { return Aligned()[y * kRowWords + x]; }
    SWORD* Aligned()
    {
        const auto address = reinterpret_cast<uintptr_t>(words.data());
        return reinterpret_cast<SWORD*>((address + 15) & ~uintptr_t{15});
    }
    std::vector<SWORD> words;
};

int UnifCall(UnifSwordFunction f, SWORD* planeA, const void* planeB, const SWORD* mask, int width, int height,
             const SWORD* constant1, const SWORD* constant2, int* alignmentOut = nullptr)
{
    return f(planeA, nullptr, planeB, nullptr, mask, Plane::kStride, Plane::kStride, width, height, 0, constant1,
             constant2, alignmentOut);
}

struct LaneVector
{
    alignas(16) SWORD words[8];
};

// ---- Gradient correction -----------------------------------------------------------------------

TEST(SwordGradientCorrection, IdentityCurveClampsAndMapsThePaddingWords)
{
    std::array<SWORD, 256> identity{};
    for (int i = 0; i < 256; ++i)
        identity[i] = static_cast<SWORD>(i);
    const SWORD row[16] = {0, 17, 255, -1, 256, -32768, 32767, 128, 300, -5, 1, 2, 3, 4, 5, 6};
    for (const auto& v : kCorrections) {
        SCOPED_TRACE(v.name);
        Plane plane(2);
        for (int y = 0; y < 2; ++y)
            std::memcpy(&plane.At(0, y), row, sizeof(row));
        // Width 5: the vector variants go on to the end of their vector, the plain form stops.
        ASSERT_EQ(S_OK, v.function(plane.Data(), Plane::kStride, 5, 2, identity.data(), 256));
        const int walked = v.vectorWords == 0 ? 5 : (v.vectorWords == 4 ? 8 : 8);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 16; ++x) {
                const SWORD expected = x < walked ? static_cast<SWORD>(row[x] < 0 ? 0 : (row[x] > 255 ? 255 : row[x])) : row[x];
                EXPECT_EQ(expected, plane.At(x, y)) << x << "," << y;
            }
    }
}

TEST(SwordGradientCorrection, RefusesBadArgumentsBeforeWriting)
{
    std::array<SWORD, 256> curve{};
    curve.fill(99);
    for (const auto& v : kCorrections) {
        SCOPED_TRACE(v.name);
        Plane plane(2, 7);
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), Plane::kStride, 8, 2, curve.data(), 255));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), Plane::kStride, 8, 2, nullptr, 256));
        EXPECT_EQ(E_UNEXPECTED, v.function(nullptr, Plane::kStride, 8, 2, curve.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), 15, 8, 2, curve.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), Plane::kStride, 0, 2, curve.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), Plane::kStride, 8, 0, curve.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), -Plane::kStride, 8, 2, curve.data(), 256));
        for (SWORD word : plane.words)
            EXPECT_EQ(7, word);
    }
}

// ---- Gradient fill -----------------------------------------------------------------------------

TEST(SwordGradientFill, FlatRampAndOneStepPerColumn)
{
    for (const auto& v : kFills) {
        SCOPED_TRACE(v.name);
        Plane flat(3);
        const SWORD base[3] = {77, 0, 0};
        ASSERT_EQ(S_OK, UnifCall(v.function, flat.Data(), nullptr, nullptr, 16, 3, base, nullptr));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 16; ++x)
                EXPECT_EQ(77, flat.At(x, y));

        // DX = 128 over 128 columns: cx = 128, one unit per column; DY = 60 over 3 rows: 20 per row.
        std::vector<SWORD> wide(128 * 3 + 8);
        SWORD* aligned = reinterpret_cast<SWORD*>((reinterpret_cast<uintptr_t>(wide.data()) + 15) & ~uintptr_t{15});
        const SWORD ramp[3] = {10, 128, 60};
        ASSERT_EQ(S_OK, v.function(aligned, nullptr, nullptr, nullptr, nullptr, 256, 0, 128, 3, 0, ramp, nullptr, nullptr));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 128; ++x)
                EXPECT_EQ(10 + x + 20 * y, aligned[y * 128 + x]) << x << "," << y;
    }
}

TEST(SwordGradientFill, PaddingWordsContinueTheRampAndTheBaseSaturates)
{
    for (const auto& v : kFills) {
        if (v.vectorWords == 0)
            continue;
        SCOPED_TRACE(v.name);
        // Width 5, DX = 10: cx = 256, two units per column; the vector goes on to column 7.
        Plane plane(1, -1);
        const SWORD ramp[3] = {32760, 10, 0};
        ASSERT_EQ(S_OK, UnifCall(v.function, plane.Data(), nullptr, nullptr, 5, 1, ramp, nullptr));
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(x < 4 ? 32760 + 2 * x : 32767, plane.At(x, 0)) << x;
        for (int x = 8; x < 16; ++x)
            EXPECT_EQ(-1, plane.At(x, 0)) << x;
    }
}

// Mended: a width or height below 1 would divide by zero.
TEST(SwordGradientFill, RefusesEmptySizesAndAnswersMinusOne)
{
    const SWORD ramp[3] = {1, 2, 3};
    for (const auto& v : kFills) {
        SCOPED_TRACE(v.name);
        Plane plane(2, 5);
        EXPECT_EQ(E_UNEXPECTED, UnifCall(v.function, plane.Data(), nullptr, nullptr, 0, 2, ramp, nullptr));
        EXPECT_EQ(E_UNEXPECTED, UnifCall(v.function, plane.Data(), nullptr, nullptr, 8, 0, ramp, nullptr));
        EXPECT_EQ(E_UNEXPECTED, UnifCall(v.function, plane.Data(), nullptr, nullptr, -3, 2, ramp, nullptr));
        EXPECT_EQ(E_INVALIDARG, UnifCall(v.function, plane.Data(), nullptr, nullptr, 8, 2, nullptr, nullptr));
        for (SWORD word : plane.words)
            EXPECT_EQ(5, word);
        int alignment = 0;
        EXPECT_EQ(S_FALSE, UnifCall(v.function, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, &alignment));
        EXPECT_EQ(-1, alignment);
        EXPECT_EQ(E_UNEXPECTED, UnifCall(v.function, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, nullptr));
    }
}

// ---- Matrix effect -----------------------------------------------------------------------------

struct Pattern
{
    std::array<SWORD, 64> words;
    static Pattern Of(SWORD value)
    {
        Pattern p;
        p.words.fill(value);
        return p;
    }
};

TEST(SwordMatrixEffect, ExactMatchDrawsAlmostTheTileAndKeepsThePartialBlock)
{
    const Pattern block = Pattern::Of(100), tile = Pattern::Of(200);
    const SWORD* templates[] = {block.words.data()};
    const SWORD* tiles[] = {tile.words.data()};
    for (const auto& v : kMatrices) {
        SCOPED_TRACE(v.name);
        Plane plane(8, 100);
        // Width 12: one block per row of blocks; columns 8 to 11 stay.
        ASSERT_EQ(S_OK, v.function(plane.Data(), nullptr, Plane::kStride, 12, 8, templates, nullptr, tiles, nullptr,
                                   1, 255, 0));
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 16; ++x)
                EXPECT_EQ(x < 8 ? 200 * 255 >> 8 : 100, plane.At(x, y)) << x << "," << y;
    }
}

TEST(SwordMatrixEffect, WeightFollowsTheDifferenceAndTheThreshold)
{
    // Block 0 differs from the template by 2 in each of 64 words: D = 128, D >> 7 = 1;
    // h = (254 x 40) >> 5 = 317 -> 255 with intensity 40, (254 x 20) >> 5 = 158 with intensity 20.
    const Pattern pattern = Pattern::Of(50), tile = Pattern::Of(250);
    const SWORD* templates[] = {pattern.words.data()};
    const SWORD* tiles[] = {tile.words.data()};
    struct Row
    {
        SWORD intensity;
        SWORD threshold;
        int expected;
    };
    const Row rows[] = {{20, 1, ((52 * 97) >> 8) + ((250 * 158) >> 8)},
                        {40, 5, (250 * 255) >> 8},
                        {-7, 1, (52 * 255) >> 8}, // intensity saturates to 0: h = 0
                        {20, 0, 52},              // threshold below D >> 7 keeps the block
                        {255, -1, 52}};
    for (const auto& v : kMatrices)
        for (const Row& r : rows) {
            SCOPED_TRACE(std::string(v.name) + " intensity " + std::to_string(r.intensity) + " threshold " +
                         std::to_string(r.threshold));
            Plane plane(8, 52);
            ASSERT_EQ(S_OK, v.function(plane.Data(), nullptr, Plane::kStride, 8, 8, templates, nullptr, tiles,
                                       nullptr, 1, r.intensity, r.threshold));
            EXPECT_EQ(r.expected, plane.At(3, 5));
        }
}

TEST(SwordMatrixEffect, BestTemplateSmallestIndexOnTiesAndMissingEntriesSkipped)
{
    const Pattern distant = Pattern::Of(0), close = Pattern::Of(9), twin = Pattern::Of(9);
    const Pattern tileA = Pattern::Of(1), tileB = Pattern::Of(2), tileC = Pattern::Of(3), tileD = Pattern::Of(4);
    for (const auto& v : kMatrices) {
        SCOPED_TRACE(v.name);
        // Templates: null, distant, close, twin of close. Index 2 wins the tie with index 3.
        const SWORD* templates[] = {nullptr, distant.words.data(), close.words.data(), twin.words.data()};
        const SWORD* tiles[] = {tileA.words.data(), tileB.words.data(), tileC.words.data(), tileD.words.data()};
        Plane plane(8, 10);
        ASSERT_EQ(S_OK, v.function(plane.Data(), nullptr, Plane::kStride, 16, 8, templates, nullptr, tiles, nullptr,
                                   4, 255, 100));
        EXPECT_EQ((3 * 255) >> 8, plane.At(0, 0));

        // A null tile set, or a null tile of the best match, leaves the block as it is.
        Plane untouched(8, 10);
        ASSERT_EQ(S_OK, v.function(untouched.Data(), nullptr, Plane::kStride, 16, 8, templates, nullptr, nullptr,
                                   nullptr, 4, 255, 100));
        const SWORD* holes[] = {tileA.words.data(), tileB.words.data(), nullptr, tileD.words.data()};
        ASSERT_EQ(S_OK, v.function(untouched.Data(), nullptr, Plane::kStride, 16, 8, templates, nullptr, holes,
                                   nullptr, 4, 255, 100));
        for (SWORD word : std::vector<SWORD>(untouched.Data(), untouched.Data() + 8 * Plane::kRowWords))
            EXPECT_EQ(10, word);

        // Only null templates: nothing to match.
        const SWORD* none[] = {nullptr, nullptr};
        ASSERT_EQ(S_OK, v.function(untouched.Data(), nullptr, Plane::kStride, 16, 8, none, nullptr, tiles, nullptr,
                                   2, 255, 100));
        EXPECT_EQ(10, untouched.At(9, 7));
    }
}

TEST(SwordMatrixEffect, SecondPlaneAddsItsDifferenceAndGetsItsOwnTiles)
{
    // Plane 1 alone prefers template 0; with plane 2 the sum prefers template 1.
    const Pattern luma0 = Pattern::Of(100), luma1 = Pattern::Of(102);
    const Pattern chroma0 = Pattern::Of(0), chroma1 = Pattern::Of(128);
    const Pattern tile1a = Pattern::Of(10), tile1b = Pattern::Of(20), tile2a = Pattern::Of(30), tile2b = Pattern::Of(40);
    const SWORD* templates1[] = {luma0.words.data(), luma1.words.data()};
    const SWORD* templates2[] = {chroma0.words.data(), chroma1.words.data()};
    const SWORD* tiles1[] = {tile1a.words.data(), tile1b.words.data()};
    const SWORD* tiles2[] = {tile2a.words.data(), tile2b.words.data()};
    for (const auto& v : kMatrices) {
        SCOPED_TRACE(v.name);
        Plane luma(8, 100), chroma(8, 128);
        ASSERT_EQ(S_OK, v.function(luma.Data(), chroma.Data(), Plane::kStride, 8, 8, templates1, templates2, tiles1,
                                   tiles2, 2, 255, 10));
        EXPECT_EQ((20 * 255) >> 8, luma.At(0, 0));
        EXPECT_EQ((40 * 255) >> 8, chroma.At(7, 7));

        // Without the chroma templates plane 2 takes no part.
        Plane luma2(8, 100), chroma2(8, 128);
        ASSERT_EQ(S_OK, v.function(luma2.Data(), chroma2.Data(), Plane::kStride, 8, 8, templates1, nullptr, tiles1,
                                   tiles2, 2, 255, 10));
        EXPECT_EQ((10 * 255) >> 8, luma2.At(0, 0));
        EXPECT_EQ(128, chroma2.At(7, 7));
    }
}

TEST(SwordMatrixEffect, RefusesBadArguments)
{
    const Pattern p = Pattern::Of(1);
    const SWORD* templates[] = {p.words.data()};
    for (const auto& v : kMatrices) {
        SCOPED_TRACE(v.name);
        Plane plane(8);
        EXPECT_EQ(E_UNEXPECTED, v.function(nullptr, nullptr, Plane::kStride, 8, 8, templates, nullptr, templates,
                                           nullptr, 1, 255, 10));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), nullptr, Plane::kStride, 8, 8, nullptr, nullptr, templates,
                                           nullptr, 1, 255, 10));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), nullptr, Plane::kStride, 8, 8, templates, nullptr, templates,
                                           nullptr, 0, 255, 10));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), nullptr, 14, 8, 8, templates, nullptr, templates, nullptr, 1,
                                           255, 10));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), nullptr, Plane::kStride, 8, 0, templates, nullptr, templates,
                                           nullptr, 1, 255, 10));
    }
}

// ---- Colour key and band generation ------------------------------------------------------------

TEST(SwordColourKey, UpperWordsShowWhereNotZeroAndLanesOutsideTheMaskClear)
{
    const LaneVector mask = {{-1, 0, -1, -1, -1, 0, -1, -1}};
    for (const auto& v : kKeys) {
        SCOPED_TRACE(v.name);
        Plane lower(2), upper(2);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 16; ++x) {
                lower.At(x, y) = static_cast<SWORD>(100 + x);
                upper.At(x, y) = static_cast<SWORD>(x % 3 == 0 ? 0 : -x);
            }
        ASSERT_EQ(S_OK, UnifCall(v.function, lower.Data(), upper.Data(), mask.words, 16, 2, nullptr, nullptr));
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 16; ++x) {
                const int expected = x % 4 == 1 ? 0 : (x % 3 == 0 ? 100 + x : -x);
                EXPECT_EQ(expected, lower.At(x, y)) << x << "," << y;
            }

        // An all-zero upper plane keeps plane A under the mask.
        Plane kept(1, 42), clear(1, 0);
        ASSERT_EQ(S_OK, UnifCall(v.function, kept.Data(), clear.Data(), mask.words, 16, 1, nullptr, nullptr));
        for (int x = 0; x < 16; ++x)
            EXPECT_EQ(x % 4 == 1 ? 0 : 42, kept.At(x, 0)) << x;
    }
}

TEST(SwordColourKey, AlignmentAnswersAndMissingOperands)
{
    const int expected[] = {2, 8, 16, 16};
    const LaneVector mask = {{-1, -1, -1, -1, -1, -1, -1, -1}};
    for (size_t i = 0; i < std::size(kKeys); ++i) {
        SCOPED_TRACE(kKeys[i].name);
        int alignment = 0;
        EXPECT_EQ(S_FALSE, UnifCall(kKeys[i].function, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, &alignment));
        EXPECT_EQ(expected[i], alignment);
        Plane plane(1);
        EXPECT_EQ(E_INVALIDARG, UnifCall(kKeys[i].function, plane.Data(), nullptr, mask.words, 8, 1, nullptr, nullptr));
        EXPECT_EQ(E_INVALIDARG, UnifCall(kKeys[i].function, plane.Data(), plane.Data(), nullptr, 8, 1, nullptr, nullptr));
    }
}

TEST(SwordBandGeneration, PeakAtTheCentreRowFallingWithTheSquare)
{
    // Lanes: centre rows 2, 5, 2, 5; peaks 100, 100, 30000, 7.
    const LaneVector centres = {{2, 5, 2, 5, 2, 5, 2, 5}};
    const LaneVector peaks = {{100, 100, 30000, 7, 100, 100, 30000, 7}};
    for (const auto& v : kBands) {
        SCOPED_TRACE(v.name);
        Plane plane(12, -1);
        ASSERT_EQ(S_OK, UnifCall(v.function, plane.Data(), nullptr, nullptr, 16, 12, centres.words, peaks.words));
        for (int y = 0; y < 12; ++y)
            for (int x = 0; x < 16; ++x) {
                const int d = y - centres.words[x % 8];
                const int peak = peaks.words[x % 8];
                EXPECT_EQ(std::max(0, peak - 2 * d * d), plane.At(x, y)) << x << "," << y;
            }
        EXPECT_EQ(100, plane.At(0, 2));
        EXPECT_EQ(0, plane.At(0, 10)); // 2 x 8 x 8 = 128 >= 100
        EXPECT_EQ(0, plane.At(3, 7));  // 2 x 2 x 2 = 8 >= 7
    }
}

TEST(SwordBandGeneration, AlignmentAnswersAndMissingConstants)
{
    const int expected[] = {2, -1, 16, 16};
    const LaneVector lanes{};
    for (size_t i = 0; i < std::size(kBands); ++i) {
        SCOPED_TRACE(kBands[i].name);
        int alignment = 0;
        EXPECT_EQ(S_FALSE, UnifCall(kBands[i].function, nullptr, nullptr, nullptr, 0, 0, nullptr, nullptr, &alignment));
        EXPECT_EQ(expected[i], alignment);
        Plane plane(1);
        EXPECT_EQ(E_INVALIDARG, UnifCall(kBands[i].function, plane.Data(), nullptr, nullptr, 8, 1, nullptr, lanes.words));
        EXPECT_EQ(E_INVALIDARG, UnifCall(kBands[i].function, plane.Data(), nullptr, nullptr, 8, 1, lanes.words, nullptr));
    }
}

// ---- Hue correction ----------------------------------------------------------------------------

struct HueTables
{
    explicit HueTables(float degrees, uint32_t entries = 256, uint32_t cosineEntries = 256)
    {
        sine.Init(entries, 0);
        cosine.Init(cosineEntries, 0);
        result = CreateTablesCorrectHue(sine, cosine, matrix, degrees);
    }
    DynamicBoundsObject<int32_t> sine;
    DynamicBoundsObject<int32_t> cosine;
    StaticBoundsObject<SWORD, 8> matrix;
    HRESULT result;
    const SWORD* Matrix() { return &matrix.GetElement(0); }
};

TEST(SwordHueTables, MatrixAndTablesKeepTheirRoundingAndTruncation)
{
    struct Row
    {
        float degrees;
        std::array<SWORD, 4> matrix;
    };
    // Truncation toward zero: cos 180 x 4096 + 0.5 = -4095.5 becomes -4095.
    const Row rows[] = {{0.0f, {4096, 0, 0, 4096}},
                        {180.0f, {-4095, 0, 0, -4095}},
                        {90.0f, {0, -4096, 4096, 0}},
                        {-90.0f, {0, 4095, -4095, 0}},
                        {30.0f, {3547, -2048, 2048, 3547}}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.degrees);
        HueTables tables(r.degrees);
        ASSERT_EQ(S_OK, tables.result);
        for (uint32_t i = 0; i < 8; ++i)
            EXPECT_EQ(r.matrix[i % 4], tables.matrix.GetElement(i)) << i;
    }
    HueTables flat(0.0f);
    EXPECT_EQ(128, flat.cosine.GetElement(0));      // (1 x -128 + 128) x 256 + 128.5
    EXPECT_EQ(32896, flat.cosine.GetElement(128));  // 128 x 256 + 128.5
    EXPECT_EQ(65408, flat.cosine.GetElement(255));  // (127 + 128) x 256 + 128.5
    EXPECT_EQ(0, flat.sine.GetElement(0));
    HueTables quarter(90.0f);
    EXPECT_EQ(-32767, quarter.sine.GetElement(0)); // -32768 + 0.5, truncated toward zero
    EXPECT_EQ(32512, quarter.sine.GetElement(255));
    HueTables half(180.0f);
    EXPECT_EQ(65664, half.cosine.GetElement(0)); // (128 + 128) x 256 + 128.5
}

TEST(SwordHueTables, ShortCosineTableFails)
{
    HueTables tables(45.0f, 256, 255);
    EXPECT_EQ(E_FAIL, tables.result);
    HueTables longerCosine(45.0f, 16, 256);
    EXPECT_EQ(S_OK, longerCosine.result);
}

TEST(SwordHueCorrection, ZeroLeavesPairsAndHalfTurnMirrorsThem)
{
    HueTables none(0.0f), half(180.0f);
    const SWORD pairs[16] = {128, 128, 138, 118, 0, 255, 255, 0, 60, 200, 127, 129, 1, 2, 250, 251};
    for (const auto& v : kHues) {
        SCOPED_TRACE(v.name);
        Plane plane(1);
        std::memcpy(plane.Data(), pairs, sizeof(pairs));
        const SWORD* identity = none.Matrix();
        ASSERT_EQ(S_OK, v.function(plane.Data(), &identity, Plane::kStride, 16, 1));
        EXPECT_EQ(0, std::memcmp(pairs, plane.Data(), sizeof(pairs)));

        const SWORD* rotation = half.Matrix();
        ASSERT_EQ(S_OK, v.function(plane.Data(), &rotation, Plane::kStride, 16, 1));
        EXPECT_EQ(128, plane.At(0, 0));
        EXPECT_EQ(118, plane.At(2, 0)); // 128 + 10 becomes 118
        EXPECT_EQ(137, plane.At(3, 0)); // 128 - 10: (40950 >> 12) + 128, the shift rounds down
    }
}

TEST(SwordHueCorrection, RefusesBadSizesAndMissingOperands)
{
    HueTables none(0.0f);
    const SWORD* matrix = none.Matrix();
    const SWORD* missing = nullptr;
    for (const auto& v : kHues) {
        SCOPED_TRACE(v.name);
        Plane plane(1, 3);
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), &matrix, Plane::kStride, 0, 1));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), &matrix, Plane::kStride, 8, 0));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), &matrix, 0, 8, 1));
        EXPECT_EQ(E_UNEXPECTED, v.function(plane.Data(), &matrix, 15, 8, 1));
        EXPECT_EQ(E_INVALIDARG, v.function(nullptr, &matrix, Plane::kStride, 8, 1));
        EXPECT_EQ(E_INVALIDARG, v.function(plane.Data(), nullptr, Plane::kStride, 8, 1));
        EXPECT_EQ(E_INVALIDARG, v.function(plane.Data(), &missing, Plane::kStride, 8, 1));
        for (SWORD word : plane.words)
            EXPECT_EQ(3, word);
    }
}

} // namespace
