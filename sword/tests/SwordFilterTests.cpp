// Worked results and refusals of the neighbourhood filters, the noise removal and the
// measurements, checked through every variant and through the operation table.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// A plane of words with a fixed stride, filled with one value.
struct Plane
{
    Plane(int widthInWords, int rows, SWORD value)
        : stride(2 * widthInWords), words(static_cast<size_t>(widthInWords) * rows, value)
    {
    }
    SWORD& At(int x, int y) { return words[static_cast<size_t>(y) * stride / 2 + x]; }
    SWORD* Data() { return words.data(); }
    std::vector<SWORD> Row(int y, int from, int count) const
    {
        const SWORD* row = words.data() + static_cast<size_t>(y) * stride / 2;
        return std::vector<SWORD>(row + from, row + from + count);
    }
    int stride;
    std::vector<SWORD> words;
};

SwordWords Words(std::initializer_list<SWORD> values)
{
    SwordWords words;
    words.Init(static_cast<uint32_t>(values.size()), 0);
    uint32_t i = 0;
    for (SWORD value : values)
        words.GetElement(i++) = value;
    return words;
}

// ---- Convolution ----------------------------------------------------------------------------

const ConvolutionFunction kConvolutions[] = {Svertka_c, Svertka_mmx, Svertka_sse2};
const ConditionalConvolutionFunction kConditionalConvolutions[] = {ConditionSvertka_c, ConditionSvertka_mmx,
                                                                   ConditionSvertka_sse2};

// 16 visible words, margins of 8, one guard row above and below.
constexpr int kConvWidth = 32, kConvHeight = 6;

Plane RampSource()
{
    Plane source(kConvWidth, kConvHeight, 0);
    for (int y = 0; y < kConvHeight; ++y)
        for (int x = 0; x < kConvWidth; ++x)
            source.At(x, y) = static_cast<SWORD>(10 * y + x);
    return source;
}

TEST(SwordConvolution, IdentityCopiesTheInteriorAndZeroSumGivesRawSums)
{
    const SwordWords identity = Words({0, 0, 0, 0, 1, 0, 0, 0, 0});
    const SwordWords laplace = Words({-1, -1, -1, -1, 8, -1, -1, -1, -1});
    for (ConvolutionFunction convolve : kConvolutions) {
        Plane source = RampSource();
        source.At(12, 2) = 100; // a spike for the zero-sum kernel
        Plane copy(kConvWidth, kConvHeight, -7), edges(kConvWidth, kConvHeight, -7);
        ASSERT_EQ(S_OK, convolve(source.Data(), copy.Data(), copy.stride, kConvWidth, kConvHeight, identity,
                                 GetNormalizeKoeffSvertka3x3(&identity.GetElement(0))));
        ASSERT_EQ(16384, GetNormalizeKoeffSvertka3x3(&laplace.GetElement(0)));
        ASSERT_EQ(S_OK, convolve(source.Data(), edges.Data(), edges.stride, kConvWidth, kConvHeight, laplace, 16384));
        for (int y = 1; y < kConvHeight - 1; ++y) {
            EXPECT_EQ(source.Row(y, 8, 16), copy.Row(y, 8, 16)) << y;
            EXPECT_EQ(std::vector<SWORD>(8, -7), copy.Row(y, 0, 8)) << "left margin is not written";
        }
        EXPECT_EQ(std::vector<SWORD>(kConvWidth, -7), copy.Row(0, 0, kConvWidth)) << "guard row is not written";
        // 8 x 100 less the ramp neighbours, which sum to 8 x the ramp value at the spike.
        EXPECT_EQ(8 * 100 - 8 * 32, edges.At(12, 2));
        EXPECT_EQ(-68, edges.At(13, 2)); // the spike replaces a neighbour of 32
        EXPECT_EQ(0, edges.At(20, 2));
    }
}

TEST(SwordConvolution, ScaleSaturationAndShortKernel)
{
    const SwordWords ones = Words({1, 1, 1, 1, 1, 1, 1, 1, 1});
    const SwordWords shortKernel = Words({1, 1, 1});
    for (ConvolutionFunction convolve : kConvolutions) {
        Plane source(kConvWidth, kConvHeight, 9000), out(kConvWidth, kConvHeight, 0);
        // Sum 81000 saturates to 32767; times 16384 / 9 (1820) >> 14 gives 3639.
        ASSERT_EQ(S_OK, convolve(source.Data(), out.Data(), out.stride, kConvWidth, kConvHeight, ones, 1820));
        EXPECT_EQ(3639, out.At(10, 2));
        EXPECT_EQ(E_FAIL, convolve(source.Data(), out.Data(), out.stride, kConvWidth, kConvHeight, shortKernel, 1820));
        EXPECT_EQ(E_UNEXPECTED, convolve(nullptr, out.Data(), out.stride, kConvWidth, kConvHeight, ones, 1820));
    }
}

TEST(SwordConvolution, ConditionPicksTheKernel)
{
    const SwordWords a = Words({0, 0, 0, 0, 1, 0, 0, 0, 0}), b = Words({0, 0, 0, 0, 2, 0, 0, 0, 0});
    for (ConditionalConvolutionFunction convolve : kConditionalConvolutions) {
        Plane source = RampSource(), condition(kConvWidth, kConvHeight, 5), out(kConvWidth, kConvHeight, 0);
        condition.At(10, 2) = 4;  // below the threshold: kernel A
        condition.At(11, 2) = -9; // signed comparison
        ASSERT_EQ(S_OK, convolve(source.Data(), out.Data(), condition.Data(), out.stride, kConvWidth, kConvHeight,
                                 16384, a, b, 5));
        EXPECT_EQ(source.At(10, 2), out.At(10, 2));
        EXPECT_EQ(source.At(11, 2), out.At(11, 2));
        EXPECT_EQ(2 * source.At(12, 2), out.At(12, 2));
        // A threshold below every condition word always takes kernel B.
        ASSERT_EQ(S_OK, convolve(source.Data(), out.Data(), condition.Data(), out.stride, kConvWidth, kConvHeight,
                                 16384, a, b, -32768));
        for (int x = 8; x < 24; ++x)
            EXPECT_EQ(2 * source.At(x, 3), out.At(x, 3)) << x;
    }
}

// ---- Blur, sharpen, edge image --------------------------------------------------------------

HRESULT CallInPlace(UnifSwordFunction f, SWORD* plane, int stride, int height, SWORD strength)
{
    const SWORD constant[8] = {strength, strength, strength, strength, strength, strength, strength, strength};
    return f(plane, nullptr, nullptr, nullptr, nullptr, stride, 0, 0, height, 0, constant, nullptr, nullptr);
}

// Row 1 of a constant plane of 100 is filtered from unfiltered rows only.
std::vector<SWORD> FilteredFirstRow(UnifSwordFunction f, SWORD strength)
{
    Plane plane(16, 4, 100);
    EXPECT_EQ(S_OK, CallInPlace(f, plane.Data(), plane.stride, 4, strength));
    return plane.Row(1, 0, 16);
}

TEST(SwordBlurSharpen, StrengthZeroIsTheMeanOfTheNeighboursWithinEachGroup)
{
    // Inner words: 8 x 100 x 128 >> 10 = 100; group ends: 5 x 100 x 204 >> 10 = 99.
    const std::vector<SWORD> eightWordGroups = {99, 100, 100, 100, 100, 100, 100, 99,
                                                99, 100, 100, 100, 100, 100, 100, 99};
    const std::vector<SWORD> fourWordGroups = {99, 100, 100, 99, 99, 100, 100, 99,
                                               99, 100, 100, 99, 99, 100, 100, 99};
    EXPECT_EQ(eightWordGroups, FilteredFirstRow(blure_const_sword_funct_c, 0));
    EXPECT_EQ(eightWordGroups, FilteredFirstRow(blure_const_sword_funct_sse2, 0));
    EXPECT_EQ(fourWordGroups, FilteredFirstRow(blure_const_sword_funct_mmx, 0));
}

TEST(SwordBlurSharpen, SharpenKeepsAFlatPlaneAndClampsASpike)
{
    for (UnifSwordFunction sharpen : {sharp_const_sword_funct_c, sharp_const_sword_funct_mmx, sharp_const_sword_funct_sse2}) {
        // K = 1: (12 x 100 - 800) x 256 >> 10 = 100 inside, (9 x 100 - 500) x 256 >> 10 = 100 at the ends.
        EXPECT_EQ(std::vector<SWORD>(16, 100), FilteredFirstRow(sharpen, 1));
        Plane plane(16, 4, 100);
        plane.At(2, 1) = 200;
        ASSERT_EQ(S_OK, CallInPlace(sharpen, plane.Data(), plane.stride, 4, 1));
        EXPECT_EQ(255, plane.At(2, 1));
        EXPECT_EQ(75, plane.At(1, 1)); // (1200 - 900) x 256 >> 10
    }
}

TEST(SwordBlurSharpen, RefusalsAndAlignment)
{
    struct Refusal
    {
        SWORD strength;
        bool blur;
    };
    // Strengths whose weights would divide by 0 or a negative number are refused untouched.
    const Refusal refused[] = {{-5, true}, {-6, true}, {-8, true}, {-9, true}, {-32768, true},
                               {-3, false}, {-4, false}, {-32768, false}};
    const UnifSwordFunction blurs[] = {blure_const_sword_funct_c, blure_const_sword_funct_mmx,
                                       blure_const_sword_funct_sse2};
    const UnifSwordFunction sharpens[] = {sharp_const_sword_funct_c, sharp_const_sword_funct_mmx,
                                          sharp_const_sword_funct_sse2};
    for (int v = 0; v < 3; ++v) {
        for (const Refusal& r : refused) {
            Plane plane(16, 4, 100);
            EXPECT_EQ(E_UNEXPECTED, CallInPlace(r.blur ? blurs[v] : sharpens[v], plane.Data(), plane.stride, 4,
                                                r.strength))
                << r.strength;
            EXPECT_EQ(std::vector<SWORD>(64, 100), plane.words);
        }
        Plane plane(16, 4, 100);
        EXPECT_EQ(S_OK, CallInPlace(blurs[v], plane.Data(), plane.stride, 4, -4));
        EXPECT_EQ(S_OK, CallInPlace(sharpens[v], plane.Data(), plane.stride, 4, -2));
        EXPECT_EQ(E_FAIL, CallInPlace(blurs[v], plane.Data(), plane.stride, 3, 0));
        EXPECT_EQ(E_FAIL, CallInPlace(sharpens[v], plane.Data(), plane.stride, 3, 0));
        int alignment = 0;
        for (UnifSwordFunction f : {blurs[v], sharpens[v]}) {
            EXPECT_EQ(S_FALSE, f(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, &alignment));
            EXPECT_EQ(-1, alignment);
            EXPECT_EQ(E_UNEXPECTED, f(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, nullptr));
        }
    }
}

TEST(SwordEdgeImage, FlatIsZeroAndASpikeKeepsItsHeight)
{
    for (UnifSwordFunction edge : {edge_image_sword_funct_c, edge_image_sword_funct_mmx, edge_image_sword_funct_sse2}) {
        Plane source(16, 3, 50), out(16, 3, -1);
        source.At(0, 1) = 60; // a group end
        source.At(5, 1) = 60; // inside every group
        ASSERT_EQ(S_OK, edge(out.Data(), nullptr, source.Data(), nullptr, nullptr, out.stride, source.stride, 16, 3,
                             0, nullptr, nullptr, nullptr));
        // 5 x 10 x 205 >> 10 = 10 and 8 x 10 x 128 >> 10 = 10; the neighbours go below 0 and are clamped.
        const std::vector<SWORD> expected = {10, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
        EXPECT_EQ(expected, out.Row(1, 0, 16));
        EXPECT_EQ(std::vector<SWORD>(16, -1), out.Row(0, 0, 16));
        int alignment = 0;
        EXPECT_EQ(S_FALSE, edge(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr, &alignment));
        EXPECT_EQ(-1, alignment);
    }
}

// ---- Noise removal --------------------------------------------------------------------------

struct NoiseVariant
{
    RemoveNoiseFunction v1;
    RemoveNoise2Function v2;
    RemoveNoise3Function v3;
};
const NoiseVariant kNoiseVariants[] = {
    {RemoveAddNoiseFromImage_c, RemoveAddNoiseFromImage2_c, RemoveAddNoiseFromImage3_c},
    {RemoveAddNoiseFromImage_mmx, RemoveAddNoiseFromImage2_mmx, RemoveAddNoiseFromImage3_mmx},
    {RemoveAddNoiseFromImage_sse2, RemoveAddNoiseFromImage2_sse2, RemoveAddNoiseFromImage3_sse2},
};

// One row of 8 words: A = 100 + d, B = 100, both get the blend.
SWORD BlendVersion1(const NoiseVariant& v, int d, SWORD threshold, SWORD small, SWORD large)
{
    Plane a(8, 1, static_cast<SWORD>(100 + d)), b(8, 1, 100);
    EXPECT_EQ(S_OK, v.v1(a.Data(), b.Data(), a.stride, 8, 1, threshold, small, large));
    EXPECT_EQ(a.words, b.words);
    return a.At(3, 0);
}

SWORD BlendVersion2(const NoiseVariant& v, int d, SWORD conditionWord)
{
    Plane a(8, 1, static_cast<SWORD>(100 - d)), b(8, 1, 100), c(8, 1, conditionWord);
    const SwordWords thresholds = Words({10, 20}), weights = Words({32, 32, 64}), tc = Words({5}), kc = Words({128});
    if (conditionWord == 0)
        EXPECT_EQ(S_OK, v.v2(a.Data(), b.Data(), a.stride, 8, 1, thresholds, weights));
    else
        EXPECT_EQ(S_OK, v.v3(a.Data(), b.Data(), c.Data(), a.stride, 8, 1, thresholds, weights, tc, kc));
    EXPECT_EQ(a.words, b.words);
    return a.At(5, 0);
}

TEST(SwordNoiseRemoval, WeightsByDifference)
{
    for (const NoiseVariant& v : kNoiseVariants) {
        EXPECT_EQ(110, BlendVersion1(v, 10, 5, 128, 128)); // k = 128 copies A into B
        EXPECT_EQ(100, BlendVersion1(v, 10, 5, 0, 0));     // k = 0 copies B into A
        EXPECT_EQ(102, BlendVersion1(v, 8, 8, 32, 128));   // d = T uses k_small: 108 x 32 >> 7 + 100 x 96 >> 7
        EXPECT_EQ(109, BlendVersion1(v, 9, 8, 32, 128));   // d above T uses k_large
        EXPECT_EQ(92, BlendVersion2(v, 15, 0));            // T1 < d <= T2: k0 + k1 = 64: 85 x 64 >> 7 + 50
        EXPECT_EQ(75, BlendVersion2(v, 25, 0));            // d > T2: k = 128 copies A
        EXPECT_EQ(98, BlendVersion2(v, 5, 0));             // d <= T1: k0 = 32: 23 + 75
        EXPECT_EQ(95, BlendVersion2(v, 5, 6));             // condition above Tc: kc = 128 whatever d is
        EXPECT_EQ(98, BlendVersion2(v, 5, 5));             // condition equal to Tc: version 2 weight
    }
}

TEST(SwordNoiseRemoval, RefusesMissingPlanesAndEmptySizes)
{
    const SwordWords thresholds = Words({10, 20}), weights = Words({32, 32, 64}), one = Words({1});
    const SwordWords shortWeights = Words({32, 32});
    for (const NoiseVariant& v : kNoiseVariants) {
        Plane a(8, 2, 7), b(8, 2, 9), c(8, 2, 0);
        struct Size
        {
            int stride, width, height;
        };
        for (Size s : {Size{16, 8, 0}, Size{16, 0, 2}, Size{0, 8, 2}, Size{-16, 8, 2}, Size{8, 8, 2}}) {
            EXPECT_EQ(E_UNEXPECTED, v.v1(a.Data(), b.Data(), s.stride, s.width, s.height, 1, 2, 3));
            EXPECT_EQ(E_UNEXPECTED, v.v2(a.Data(), b.Data(), s.stride, s.width, s.height, thresholds, weights));
            EXPECT_EQ(E_UNEXPECTED,
                      v.v3(a.Data(), b.Data(), c.Data(), s.stride, s.width, s.height, thresholds, weights, one, one));
        }
        EXPECT_EQ(E_UNEXPECTED, v.v1(nullptr, b.Data(), 16, 8, 2, 1, 2, 3));
        EXPECT_EQ(E_UNEXPECTED, v.v1(a.Data(), nullptr, 16, 8, 2, 1, 2, 3));
        EXPECT_EQ(E_UNEXPECTED, v.v2(nullptr, b.Data(), 16, 8, 2, thresholds, weights));
        EXPECT_EQ(E_UNEXPECTED, v.v3(a.Data(), b.Data(), nullptr, 16, 8, 2, thresholds, weights, one, one));
        EXPECT_EQ(E_FAIL, v.v2(a.Data(), b.Data(), 16, 8, 2, thresholds, shortWeights));
        EXPECT_EQ(E_FAIL, v.v3(a.Data(), b.Data(), c.Data(), 16, 8, 2, thresholds, weights, SwordWords(), one));
        EXPECT_EQ(std::vector<SWORD>(16, 7), a.words);
        EXPECT_EQ(std::vector<SWORD>(16, 9), b.words);
    }
}

// ---- Histogram ------------------------------------------------------------------------------

const HistogramFunction kHistograms[] = {GetGistogramFromImage_c, GetGistogramFromImage_mmx,
                                         GetGistogramFromImage_sse2};

TEST(SwordHistogram, PaddingWordsAndSaturation)
{
    for (HistogramFunction histogram : kHistograms) {
        // 6 words wide, stride 16 bytes: the 2 padding words per row are counted too.
        std::vector<SWORD> plane = {-5, 0, 7, 255, 256, 3000, 7, 7, 1, 2, 3, 4, 5, 6, -1, -1};
        std::vector<uint32_t> counters(256, 99);
        ASSERT_EQ(S_OK, histogram(plane.data(), 16, 6, 2, counters.data(), 256));
        uint32_t total = 0;
        for (uint32_t c : counters)
            total += c;
        EXPECT_EQ(16u, total);
        EXPECT_EQ(4u, counters[0]);
        EXPECT_EQ(3u, counters[7]);
        EXPECT_EQ(3u, counters[255]);
    }
}

TEST(SwordHistogram, MmxCountsFourPaddingWordsFewerForWidthsOneToFourModEight)
{
    std::mt19937 random(20);
    for (int width = 1; width <= 17; ++width) {
        const int stride = GetSwordPlaneStride(width), height = 3;
        std::vector<SWORD> plane(static_cast<size_t>(stride) / 2 * height);
        for (SWORD& w : plane)
            w = static_cast<SWORD>(random() % 300);
        std::vector<uint32_t> mmx(256), sse2(256);
        ASSERT_EQ(S_OK, GetGistogramFromImage_mmx(plane.data(), stride, width, height, mmx.data(), 256));
        ASSERT_EQ(S_OK, GetGistogramFromImage_sse2(plane.data(), stride, width, height, sse2.data(), 256));
        const int mod = width % 8;
        if (mod >= 1 && mod <= 4) {
            const int from = (width + 3) / 4 * 4;
            for (int y = 0; y < height; ++y)
                for (int x = from; x < from + 4; ++x)
                    ++mmx[std::min(255, std::max(0, static_cast<int>(plane[static_cast<size_t>(y) * stride / 2 + x])))];
        }
        EXPECT_EQ(sse2, mmx) << width;
    }
}

TEST(SwordHistogram, Refusals)
{
    std::vector<SWORD> plane(64, 1);
    std::vector<uint32_t> counters(256);
    for (HistogramFunction histogram : kHistograms) {
        EXPECT_EQ(E_UNEXPECTED, histogram(nullptr, 16, 8, 2, counters.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, histogram(plane.data(), 16, 8, 2, nullptr, 256));
        EXPECT_EQ(E_UNEXPECTED, histogram(plane.data(), 14, 8, 2, counters.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, histogram(plane.data(), 16, 0, 2, counters.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, histogram(plane.data(), 16, 8, 0, counters.data(), 256));
        EXPECT_EQ(E_UNEXPECTED, histogram(plane.data(), 16, 8, 2, counters.data(), 255));
    }
}

// ---- Block averages -------------------------------------------------------------------------

struct AverageOperation
{
    const char* name;
    UnifSwordFunction function;
};
const AverageOperation kAverages[] = {
    {"8x8 c", Average8x8SWord_c},          {"8x8 mmx", Average8x8SWord_mmx},
    {"8x8 sse2", Average8x8SWord_sse2},    {"Y16 c", Average2x2Y16SWord_c},
    {"Y16 mmx", Average2x2Y16SWord_mmx},   {"Y16 sse", Average2x2Y16SWord_sse},
    {"Y16 sse2", Average2x2Y16SWord_sse2}, {"UV16 c", Average2x2UV16SWord_c},
    {"UV16 mmx", Average2x2UV16SWord_mmx}, {"UV16 sse", Average2x2UV16SWord_sse},
    {"UV16 sse2", Average2x2UV16SWord_sse2},
};

HRESULT Average(UnifSwordFunction f, SWORD* out, uint32_t* mean, const SWORD* in, int strideA, int strideB, int width,
                int height)
{
    return f(out, mean, in, nullptr, nullptr, strideA, strideB, width, height, 0, nullptr, nullptr, nullptr);
}

TEST(SwordAverages, ConstantPlaneGivesItsValue)
{
    for (const AverageOperation& op : kAverages)
        for (SWORD value : {0, 1, 77, 255}) {
            Plane source(32, 16, value), out(32, 8, -1);
            uint32_t mean = 12345;
            ASSERT_EQ(S_OK, Average(op.function, out.Data(), &mean, source.Data(), out.stride, source.stride, 32, 16))
                << op.name;
            EXPECT_EQ(static_cast<uint32_t>(value), mean) << op.name;
            EXPECT_EQ(value, out.At(0, 0)) << op.name;
            EXPECT_EQ(value, out.At(3, 1)) << op.name;
        }
}

TEST(SwordAverages, SizeRefusals)
{
    Plane source(64, 64, 1), out(64, 64, 0);
    uint32_t mean = 0;
    for (const AverageOperation& op : kAverages) {
        EXPECT_EQ(E_FAIL, Average(op.function, out.Data(), &mean, source.Data(), 128, 128, 9, 7)) << op.name; // 63
        EXPECT_EQ(E_FAIL, Average(op.function, out.Data(), &mean, source.Data(), 128, 128, 2, 64)) << op.name;
        EXPECT_EQ(E_FAIL, Average(op.function, out.Data(), &mean, source.Data(), 128, 128, 64, 1)) << op.name;
        EXPECT_EQ(E_INVALIDARG, Average(op.function, out.Data(), &mean, nullptr, 128, 128, 64, 64)) << op.name;
        int alignment = 0;
        EXPECT_EQ(S_FALSE, op.function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                                       &alignment));
        EXPECT_GT(alignment, 0) << op.name;
    }
    // A width below 8 has no whole 8 x 8 block even with 64 words or more.
    EXPECT_EQ(E_FAIL, Average(Average8x8SWord_sse2, out.Data(), &mean, source.Data(), 128, 128, 7, 16));
    EXPECT_EQ(S_OK, Average(Average2x2Y16SWord_sse2, out.Data(), &mean, source.Data(), 128, 128, 7, 16));
}

TEST(SwordAverages, SseIntegerStepMeanRoundsUp)
{
    // Step averages a = 1 and b = 2 in every step: (a + b) >> 1 = 1, rounded (a + b + 1) >> 1 = 2.
    Plane source(16, 8, 1), out(16, 4, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 2; x < 16; x += 4) {
            source.At(x, y) = 2;
            source.At(x + 1, y) = 2;
        }
    uint32_t mean = 0;
    ASSERT_EQ(S_OK, Average(Average2x2Y16SWord_mmx, out.Data(), &mean, source.Data(), out.stride, source.stride, 16, 8));
    EXPECT_EQ(1u, mean);
    ASSERT_EQ(S_OK, Average(Average2x2Y16SWord_sse2, out.Data(), &mean, source.Data(), out.stride, source.stride, 16, 8));
    EXPECT_EQ(1u, mean);
    ASSERT_EQ(S_OK, Average(Average2x2Y16SWord_sse, out.Data(), &mean, source.Data(), out.stride, source.stride, 16, 8));
    EXPECT_EQ(2u, mean);
    EXPECT_EQ((std::vector<SWORD>{1, 2, 1, 2, 1, 2, 1, 2}), out.Row(0, 0, 8));
}

TEST(SwordAverages, HalvingInPlaceMatchesACopy)
{
    std::mt19937 random(21);
    for (const AverageOperation& op : kAverages) {
        Plane source(40, 20, 0);
        for (SWORD& w : source.words)
            w = static_cast<SWORD>(random() % 256);
        Plane copy = source, out(40, 20, 0);
        uint32_t meanCopy = 0, meanInPlace = 1;
        ASSERT_EQ(S_OK, Average(op.function, out.Data(), &meanCopy, source.Data(), 80, 80, 40, 20));
        ASSERT_EQ(S_OK, Average(op.function, copy.Data(), &meanInPlace, copy.Data(), 80, 80, 40, 20));
        EXPECT_EQ(meanCopy, meanInPlace) << op.name;
        const bool blocks8x8 = std::string(op.name).rfind("8x8", 0) == 0;
        const int rows = blocks8x8 ? 2 : 10, words = blocks8x8 ? 5 : 20;
        for (int y = 0; y < rows; ++y)
            EXPECT_EQ(out.Row(y, 0, words), copy.Row(y, 0, words)) << op.name << " row " << y;
    }
}

} // namespace
