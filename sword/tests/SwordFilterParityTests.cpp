// The vector variants of the neighbourhood filters, the noise removal and the measurements
// against the plain code on random planes: widths that are and are not multiples of the vector,
// starts that are not vector aligned, and buffers that end at a guard page. Blur, sharpen, edge
// image and histogram depend on the vector width; their MMX variants are held against the plain
// code run with 4-word vectors.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"
#include "sword_filter_rows.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// Two planes with the same random start: one for the plain code, one for the variant. shift
// moves the start off the vector boundary by that many words.
struct PlanePair
{
    PlanePair(size_t bytes, int shiftWords, uint32_t seed)
        : plain(bytes + 2 * shiftWords), variant(bytes + 2 * shiftWords), shift(2 * shiftWords)
    {
        std::mt19937 first(seed), second(seed);
        plain.FillRandomWords(first);
        variant.FillRandomWords(second);
    }
    SWORD* Plain() const { return reinterpret_cast<SWORD*>(plain.Bytes() + shift); }
    SWORD* Variant() const { return reinterpret_cast<SWORD*>(variant.Bytes() + shift); }
    bool Same() const { return std::memcmp(plain.Bytes(), variant.Bytes(), plain.Size()) == 0; }
    // Words of 0 to 255, as in masks, with a large one now and then: sums that saturate only sometimes.
    void MakeSmallWords(uint32_t seed) const
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> small(0, 255), large(0, 65535), pick(0, 31);
        for (size_t i = 0; i < plain.Size() / 2; ++i) {
            const auto word = static_cast<SWORD>(pick(random) == 0 ? large(random) : small(random));
            reinterpret_cast<SWORD*>(plain.Bytes())[i] = word;
            reinterpret_cast<SWORD*>(variant.Bytes())[i] = word;
        }
    }
    // Words [0, words) of each row equal.
    bool SameRows(int stride, int rows, int words) const
    {
        for (int y = 0; y < rows; ++y)
            if (std::memcmp(WordRow(Plain(), stride, y), WordRow(Variant(), stride, y), 2 * words) != 0)
                return false;
        return true;
    }

    GuardedBuffer plain;
    GuardedBuffer variant;
    int shift;
};

struct Source
{
    Source(size_t bytes, int shiftWords, std::mt19937& random)
        : buffer(bytes + 2 * shiftWords), words(reinterpret_cast<SWORD*>(buffer.Bytes() + 2 * shiftWords))
    {
        buffer.FillRandomWords(random);
    }
    GuardedBuffer buffer;
    SWORD* words;
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

SwordWords RandomKernel(std::mt19937& random, bool wide)
{
    SwordWords kernel;
    kernel.Init(9, 0);
    for (uint32_t i = 0; i < 9; ++i)
        kernel.GetElement(i) = static_cast<SWORD>(wide ? random() : random() % 17 - 8);
    return kernel;
}

std::string Describe(const char* variant, int width, int height, int shift)
{
    return std::string(variant) + " width " + std::to_string(width) + " height " + std::to_string(height) +
           " shift " + std::to_string(shift);
}

template <class F>
struct Variant
{
    const char* name;
    F function;
};

// ---- Convolution ----------------------------------------------------------------------------

// The plain code writes the visible words; a vector variant also the rest of its last vector.
void ExpectSameConvolution(const PlanePair& out, int stride, int width, int height, int vectorWords)
{
    const int visible = width - 16, covered = ConvolutionWordsPerRow(width, vectorWords);
    for (int y = 0; y < height; ++y) {
        const SWORD* plain = WordRow(out.Plain(), stride, y);
        const SWORD* variant = WordRow(out.Variant(), stride, y);
        for (int x = 0; x < stride / 2; ++x) {
            const bool padding = y > 0 && y + 1 < height && x >= 8 + visible && x < 8 + covered;
            if (!padding && plain[x] != variant[x])
                ADD_FAILURE() << "word " << x << " of row " << y;
        }
    }
}

TEST(SwordFilterParity, ConvolutionAndConditionalConvolution)
{
    const Variant<ConvolutionFunction> plain[] = {{"mmx", Svertka_mmx}, {"sse2", Svertka_sse2}};
    const Variant<ConditionalConvolutionFunction> conditional[] = {{"mmx", ConditionSvertka_mmx},
                                                                   {"sse2", ConditionSvertka_sse2}};
    std::mt19937 random(10);
    for (int v = 0; v < 2; ++v)
        for (int visible : {1, 3, 5, 8, 13, 17, 33})
            for (int height : {3, 4, 7})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(plain[v].name, visible, height, shift));
                    const int vectorWords = v == 0 ? 4 : 8;
                    const int width = visible + 16, stride = 2 * width + 4 * shift;
                    const size_t bytes = static_cast<size_t>(stride) * height;
                    Source source(bytes, shift, random), condition(bytes, shift, random);
                    const bool wide = random() % 2 == 0;
                    const SwordWords a = RandomKernel(random, wide), b = RandomKernel(random, wide);
                    const SWORD scale = wide ? static_cast<SWORD>(random()) : GetNormalizeKoeffSvertka3x3(&a.GetElement(0));
                    const SWORD threshold = static_cast<SWORD>(random() % 400);

                    PlanePair out(bytes, shift, random());
                    ASSERT_EQ(S_OK, Svertka_c(source.words, out.Plain(), stride, width, height, a, scale));
                    ASSERT_EQ(S_OK, plain[v].function(source.words, out.Variant(), stride, width, height, a, scale));
                    ExpectSameConvolution(out, stride, width, height, vectorWords);

                    PlanePair chosen(bytes, shift, random());
                    ASSERT_EQ(S_OK, ConditionSvertka_c(source.words, chosen.Plain(), condition.words, stride, width,
                                                       height, scale, a, b, threshold));
                    ASSERT_EQ(S_OK, conditional[v].function(source.words, chosen.Variant(), condition.words, stride,
                                                            width, height, scale, a, b, threshold));
                    ExpectSameConvolution(chosen, stride, width, height, vectorWords);
                }
}

// Extreme words: pairs of -32768 x -32768 products overflow the 32-bit multiply-add, and the sums
// wrap; the variants pair the kernel words differently from one another, so only a sum that wraps
// exactly like the plain code's gives the same words.
TEST(SwordFilterParity, ConvolutionWithExtremeWords)
{
    const Variant<ConvolutionFunction> variants[] = {{"mmx", Svertka_mmx}, {"sse2", Svertka_sse2}};
    const SWORD low = -32768, high = 32767;
    const SwordWords kernels[] = {Words({low, low, low, low, low, low, low, low, low}),
                                  Words({high, low, high, low, high, low, high, low, high}),
                                  Words({low, high, 0, high, low, 1, -1, low, high})};
    const int width = 13 + 16, height = 4, stride = 2 * width;
    const size_t bytes = static_cast<size_t>(stride) * height;
    std::mt19937 random(11);
    for (int v = 0; v < 2; ++v)
        for (const SwordWords& kernel : kernels)
            for (SWORD scale : {low, high, SWORD{1}}) {
                SCOPED_TRACE(std::string(variants[v].name) + " scale " + std::to_string(scale));
                Source source(bytes, 0, random);
                for (size_t i = 0; i < bytes / 2; ++i)
                    source.words[i] = i % 5 == 4 ? high : low;
                PlanePair out(bytes, 0, random());
                ASSERT_EQ(S_OK, Svertka_c(source.words, out.Plain(), stride, width, height, kernel, scale));
                ASSERT_EQ(S_OK, variants[v].function(source.words, out.Variant(), stride, width, height, kernel, scale));
                ExpectSameConvolution(out, stride, width, height, v == 0 ? 4 : 8);
            }
}

// Rows of words 0 to high (0 or 255 alone for a mask), a quarter of them with one random word
// among them, which may be negative.
void FillSmallRows(SWORD* plane, int stride, int height, int high, std::mt19937& random)
{
    for (int y = 0; y < height; ++y) {
        SWORD* row = WordRow(plane, stride, y);
        for (int x = 0; x < stride / 2; ++x)
            row[x] = static_cast<SWORD>(high == 255 ? random() % 2 * 255 : random() % (high + 1));
        if (random() % 4 == 0)
            row[random() % (stride / 2)] = static_cast<SWORD>(random());
    }
}

// Outer weights 1 and a centre of 0 or 1 add small non-negative words without multiplying; rows
// whose sums reach 0x8000 or that hold a negative word must still give the plain code's words.
TEST(SwordFilterParity, UnitKernelsOnSmallWords)
{
    const Variant<ConvolutionFunction> variants[] = {{"mmx", Svertka_mmx}, {"sse2", Svertka_sse2}};
    std::mt19937 random(12);
    for (int v = 0; v < 2; ++v)
        for (SWORD centre : {0, 1})
            for (int high : {255, 4000}) // a mask's words; words whose sums cross 0x7FFF
                for (int visible : {1, 3, 5, 8, 13, 17, 33})
                    for (int height : {3, 4, 7})
                        for (int shift : {0, 1}) {
                            SCOPED_TRACE(Describe(variants[v].name, visible, height, shift) + " centre " +
                                         std::to_string(centre) + " words to " + std::to_string(high));
                            const int width = visible + 16, stride = 2 * width + 4 * shift;
                            const size_t bytes = static_cast<size_t>(stride) * height;
                            Source source(bytes, shift, random);
                            FillSmallRows(source.words, stride, height, high, random);
                            const SwordWords kernel = Words({1, 1, 1, 1, centre, 1, 1, 1, 1});
                            // The unit gain, the ends of the 13-bit scales and their neighbours, any other.
                            const SWORD scales[] = {GetNormalizeKoeffSvertka3x3(&kernel.GetElement(0)), -8192, 8191,
                                                    -8193, 8192, static_cast<SWORD>(random())};
                            const SWORD scale = scales[random() % std::size(scales)];
                            PlanePair out(bytes, shift, random());
                            ASSERT_EQ(S_OK, Svertka_c(source.words, out.Plain(), stride, width, height, kernel, scale));
                            ASSERT_EQ(S_OK,
                                      variants[v].function(source.words, out.Variant(), stride, width, height, kernel, scale));
                            ExpectSameConvolution(out, stride, width, height, v == 0 ? 4 : 8);
                        }
}

// ---- Blur, sharpen, edge image --------------------------------------------------------------

struct GroupVariant
{
    const char* name;
    UnifSwordFunction blur;
    UnifSwordFunction sharpen;
    UnifSwordFunction edge;
    int groupWords;
};

const GroupVariant kGroupVariants[] = {
    {"mmx", blure_const_sword_funct_mmx, sharp_const_sword_funct_mmx, edge_image_sword_funct_mmx, 4},
    {"sse2", blure_const_sword_funct_sse2, sharp_const_sword_funct_sse2, edge_image_sword_funct_sse2, 8},
};

HRESULT CallInPlace(UnifSwordFunction f, SWORD* plane, int stride, int height, SWORD strength)
{
    const SWORD constant[8] = {strength, strength, strength, strength, strength, strength, strength, strength};
    return f(plane, nullptr, nullptr, nullptr, nullptr, stride, 0, 0, height, 0, constant, nullptr, nullptr);
}

// Strides whose run of (height - 2) x stride bytes is and is not a whole number of vector pairs:
// the last vector's row below is then the plane's last row, which ends at the guard page.
TEST(SwordFilterParity, BlurAndSharpenInPlaceRuns)
{
    std::mt19937 random(11);
    for (const GroupVariant& v : kGroupVariants)
        for (int stride : {16, 24, 48, 80, 1296})
            for (int height : {4, 5, 7})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(v.name, stride, height, shift));
                    const size_t bytes = static_cast<size_t>(stride) * height;
                    // Small words keep the sums below the saturation; strength 0 adds no centre.
                    const struct
                    {
                        SWORD strength;
                        bool smallWords;
                    } blurs[] = {{-4, false}, {0, false}, {0, true}, {3, false}, {12, true}, {25, false}, {1000, false}};
                    for (const auto& [strength, smallWords] : blurs) {
                        PlanePair plane(bytes, shift, random());
                        if (smallWords)
                            plane.MakeSmallWords(random());
                        BlurPlain(plane.Plain(), stride, height, GetBlurWeights(strength), v.groupWords);
                        ASSERT_EQ(S_OK, CallInPlace(v.blur, plane.Variant(), stride, height, strength));
                        EXPECT_TRUE(plane.Same()) << "blur " << strength;
                    }
                    for (SWORD strength : {-2, 0, 5, 12, 300}) {
                        PlanePair plane(bytes, shift, random());
                        SharpenPlain(plane.Plain(), stride, height, GetSharpenWeights(strength), v.groupWords);
                        ASSERT_EQ(S_OK, CallInPlace(v.sharpen, plane.Variant(), stride, height, strength));
                        EXPECT_TRUE(plane.Same()) << "sharpen " << strength;
                    }
                }
}

TEST(SwordFilterParity, PlainBlurAndSharpenUseEightWordGroups)
{
    std::mt19937 random(12);
    const int stride = 48, height = 6;
    PlanePair blur(stride * height, 0, random()), sharpen(stride * height, 0, random());
    BlurPlain(blur.Plain(), stride, height, GetBlurWeights(7), 8);
    ASSERT_EQ(S_OK, CallInPlace(blure_const_sword_funct_c, blur.Variant(), stride, height, 7));
    EXPECT_TRUE(blur.Same());
    SharpenPlain(sharpen.Plain(), stride, height, GetSharpenWeights(7), 8);
    ASSERT_EQ(S_OK, CallInPlace(sharp_const_sword_funct_c, sharpen.Variant(), stride, height, 7));
    EXPECT_TRUE(sharpen.Same());
}

TEST(SwordFilterParity, EdgeImage)
{
    std::mt19937 random(13);
    for (const GroupVariant& v : kGroupVariants)
        for (int width : {1, 8, 13, 16, 33})
            for (int height : {3, 5})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(v.name, width, height, shift));
                    const int strideA = GetSwordPlaneStride(width), strideB = strideA + 16;
                    Source source(static_cast<size_t>(strideB) * height, shift, random);
                    PlanePair out(static_cast<size_t>(strideA) * height, shift, random());
                    EdgeImagePlain(out.Plain(), source.words, strideA, strideB, width, height, v.groupWords);
                    ASSERT_EQ(S_OK, v.edge(out.Variant(), nullptr, source.words, nullptr, nullptr, strideA, strideB,
                                           width, height, 0, nullptr, nullptr, nullptr));
                    EXPECT_TRUE(out.Same());
                    if (v.groupWords == 8) {
                        PlanePair plain(static_cast<size_t>(strideA) * height, shift, random());
                        EdgeImagePlain(plain.Plain(), source.words, strideA, strideB, width, height, 8);
                        ASSERT_EQ(S_OK, edge_image_sword_funct_c(plain.Variant(), nullptr, source.words, nullptr,
                                                                 nullptr, strideA, strideB, width, height, 0,
                                                                 nullptr, nullptr, nullptr));
                        EXPECT_TRUE(plain.Same());
                    }
                }
}

// The SSE2 variant stores past the caches an aligned output apart from its source (the test above
// at shift 0). An output written over its own source, each output row read back as the row above
// the next, is stored as usual and keeps the plain code's words.
TEST(SwordFilterParity, EdgeImageInPlace)
{
    std::mt19937 random(19);
    for (const GroupVariant& v : kGroupVariants)
        for (int width : {8, 13, 40})
            for (int height : {3, 6})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(v.name, width, height, shift));
                    const int stride = GetSwordPlaneStride(width);
                    PlanePair plane(static_cast<size_t>(stride) * height, shift, random());
                    EdgeImagePlain(plane.Plain(), plane.Plain(), stride, stride, width, height, v.groupWords);
                    ASSERT_EQ(S_OK, v.edge(plane.Variant(), nullptr, plane.Variant(), nullptr, nullptr, stride, stride,
                                           width, height, 0, nullptr, nullptr, nullptr));
                    EXPECT_TRUE(plane.Same());
                }
}

// Rows of words in [-2048, 2047], the ends included, take the vector code's unsaturated sums; one
// row with a word whose sums saturate (each row in turn, or none) sends the rows beside it the
// saturating way. Both must give the plain code's words.
TEST(SwordFilterParity, EdgeImageOfSmallWords)
{
    std::mt19937 random(17);
    const int width = 35, height = 7;
    const int strideA = GetSwordPlaneStride(width), strideB = strideA + 16;
    for (const GroupVariant& v : kGroupVariants)
        for (int wideRow = -1; wideRow < height; ++wideRow)
            for (SWORD wideWord : {-32768, 32767})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(v.name, width, height, shift) + " wide row " + std::to_string(wideRow) +
                                 " word " + std::to_string(wideWord));
                    Source source(static_cast<size_t>(strideB) * height, shift, random);
                    std::uniform_int_distribution<int> small(-2048, 2047), end(0, 7);
                    for (int y = 0; y < height; ++y)
                        for (int x = 0; x < strideB / 2 - shift; ++x) {
                            const int pick = end(random);
                            WordRow(source.words, strideB, y)[x] =
                                static_cast<SWORD>(pick == 0 ? -2048 : (pick == 1 ? 2047 : small(random)));
                        }
                    if (wideRow >= 0)
                        WordRow(source.words, strideB, wideRow)[random() % (width / 8 * 8)] = wideWord;
                    PlanePair out(static_cast<size_t>(strideA) * height, shift, random());
                    EdgeImagePlain(out.Plain(), source.words, strideA, strideB, width, height, v.groupWords);
                    ASSERT_EQ(S_OK, v.edge(out.Variant(), nullptr, source.words, nullptr, nullptr, strideA, strideB,
                                           width, height, 0, nullptr, nullptr, nullptr));
                    EXPECT_TRUE(out.Same());
                }
}

// ---- Noise removal --------------------------------------------------------------------------

struct NoiseCase
{
    int width;
    int height;
    int shift;
};

std::vector<NoiseCase> NoiseCases()
{
    std::vector<NoiseCase> cases;
    for (int width : {1, 3, 4, 7, 8, 9, 17, 33, 64})
        for (int height : {1, 3})
            for (int shift : {0, 1})
                cases.push_back({width, height, shift});
    return cases;
}

// Weights mostly in 0..128, thresholds mostly small, with some of any value.
SWORD RandomParameter(std::mt19937& random, int range)
{
    return static_cast<SWORD>(random() % 8 == 0 ? random() : random() % range);
}

TEST(SwordFilterParity, NoiseRemovalVisibleWords)
{
    const Variant<RemoveNoiseFunction> v1[] = {{"mmx", RemoveAddNoiseFromImage_mmx},
                                               {"sse2", RemoveAddNoiseFromImage_sse2}};
    const Variant<RemoveNoise2Function> v2[] = {{"mmx", RemoveAddNoiseFromImage2_mmx},
                                                {"sse2", RemoveAddNoiseFromImage2_sse2}};
    const Variant<RemoveNoise3Function> v3[] = {{"mmx", RemoveAddNoiseFromImage3_mmx},
                                                {"sse2", RemoveAddNoiseFromImage3_sse2}};
    std::mt19937 random(14);
    for (int v = 0; v < 2; ++v)
        for (const NoiseCase& c : NoiseCases()) {
            SCOPED_TRACE(Describe(v1[v].name, c.width, c.height, c.shift));
            const int stride = GetSwordPlaneStride(c.width);
            const size_t bytes = static_cast<size_t>(stride) * c.height;
            const SWORD t = RandomParameter(random, 64), k0 = RandomParameter(random, 129),
                        k1 = RandomParameter(random, 129);
            const SwordWords thresholds = Words({RandomParameter(random, 64), RandomParameter(random, 64)});
            const SwordWords weights = Words({k0, k1, RandomParameter(random, 129)});
            const SwordWords tc = Words({RandomParameter(random, 300)}), kc = Words({RandomParameter(random, 129)});
            Source condition(bytes, c.shift, random);

            PlanePair a1(bytes, c.shift, random()), b1(bytes, c.shift, random());
            ASSERT_EQ(S_OK, RemoveAddNoiseFromImage_c(a1.Plain(), b1.Plain(), stride, c.width, c.height, t, k0, k1));
            ASSERT_EQ(S_OK, v1[v].function(a1.Variant(), b1.Variant(), stride, c.width, c.height, t, k0, k1));
            EXPECT_TRUE(a1.SameRows(stride, c.height, c.width) && b1.SameRows(stride, c.height, c.width)) << "v1";

            PlanePair a2(bytes, c.shift, random()), b2(bytes, c.shift, random());
            ASSERT_EQ(S_OK, RemoveAddNoiseFromImage2_c(a2.Plain(), b2.Plain(), stride, c.width, c.height, thresholds,
                                                       weights));
            ASSERT_EQ(S_OK, v2[v].function(a2.Variant(), b2.Variant(), stride, c.width, c.height, thresholds, weights));
            EXPECT_TRUE(a2.SameRows(stride, c.height, c.width) && b2.SameRows(stride, c.height, c.width)) << "v2";

            PlanePair a3(bytes, c.shift, random()), b3(bytes, c.shift, random());
            ASSERT_EQ(S_OK, RemoveAddNoiseFromImage3_c(a3.Plain(), b3.Plain(), condition.words, stride, c.width,
                                                       c.height, thresholds, weights, tc, kc));
            ASSERT_EQ(S_OK, v3[v].function(a3.Variant(), b3.Variant(), condition.words, stride, c.width, c.height,
                                           thresholds, weights, tc, kc));
            EXPECT_TRUE(a3.SameRows(stride, c.height, c.width) && b3.SameRows(stride, c.height, c.width)) << "v3";
        }
}

// ---- Histogram and block averages -----------------------------------------------------------

TEST(SwordFilterParity, Histogram)
{
    std::mt19937 random(15);
    for (const NoiseCase& c : NoiseCases()) {
        SCOPED_TRACE(Describe("histogram", c.width, c.height, c.shift));
        const int stride = GetSwordPlaneStride(c.width) + 16 * c.shift;
        Source plane(static_cast<size_t>(stride) * c.height, c.shift, random);
        std::vector<uint32_t> plain(256), sse2(256), mmx(256), plain4(256);
        ASSERT_EQ(S_OK, GetGistogramFromImage_c(plane.words, stride, c.width, c.height, plain.data(), 256));
        ASSERT_EQ(S_OK, GetGistogramFromImage_sse2(plane.words, stride, c.width, c.height, sse2.data(), 256));
        ASSERT_EQ(S_OK, GetGistogramFromImage_mmx(plane.words, stride, c.width, c.height, mmx.data(), 256));
        HistogramPlain(plane.words, stride, c.width, c.height, plain4.data(), 4);
        EXPECT_EQ(plain, sse2);
        EXPECT_EQ(plain4, mmx);
    }
}

// Runs of one word, long and short, over whole rows: steps of one byte throughout are counted in
// one addition, and runs of words below 0 or above 255 meet runs of 0 or 255 after saturation.
TEST(SwordFilterParity, HistogramOfFlatRuns)
{
    std::mt19937 random(16);
    const SWORD values[] = {-3, 0, 7, 128, 255, 300};
    std::uniform_int_distribution<int> value(0, 5), length(1, 40);
    for (const NoiseCase& c : NoiseCases()) {
        SCOPED_TRACE(Describe("histogram", c.width, c.height, c.shift));
        const int stride = GetSwordPlaneStride(c.width) + 16 * c.shift;
        Source plane(static_cast<size_t>(stride) * c.height, c.shift, random);
        const size_t words = (plane.buffer.Size() - 2 * c.shift) / 2;
        for (size_t i = 0; i < words;) {
            const SWORD word = values[value(random)];
            for (int n = length(random); n > 0 && i < words; --n)
                plane.words[i++] = word;
        }
        std::vector<uint32_t> plain(256), sse2(256), mmx(256), plain4(256);
        ASSERT_EQ(S_OK, GetGistogramFromImage_c(plane.words, stride, c.width, c.height, plain.data(), 256));
        ASSERT_EQ(S_OK, GetGistogramFromImage_sse2(plane.words, stride, c.width, c.height, sse2.data(), 256));
        ASSERT_EQ(S_OK, GetGistogramFromImage_mmx(plane.words, stride, c.width, c.height, mmx.data(), 256));
        HistogramPlain(plane.words, stride, c.width, c.height, plain4.data(), 4);
        EXPECT_EQ(plain, sse2);
        EXPECT_EQ(plain4, mmx);
    }
}

using AverageVariants = std::vector<Variant<UnifSwordFunction>>;

void ExpectSameAverages(UnifSwordFunction plain, const AverageVariants& variants, int blockWords, int blockRows,
                        int outputWordsPerBlock, uint32_t seed)
{
    std::mt19937 random(seed);
    for (const auto& v : variants)
        for (int width : {4, 8, 12, 16, 17, 24, 31, 40, 66})
            for (int height : {16, 17, 24})
                for (int shift : {0, 1}) {
                    SCOPED_TRACE(Describe(v.name, width, height, shift));
                    const int strideB = GetSwordPlaneStride(width) + 16 * shift;
                    const int outWords = width / blockWords * outputWordsPerBlock, rows = height / blockRows;
                    const int strideA = GetSwordPlaneStride(outWords > 0 ? outWords : 1);
                    Source source(static_cast<size_t>(strideB) * height, shift, random);
                    PlanePair out(static_cast<size_t>(strideA) * rows, shift, random());
                    uint32_t plainMean = 7, variantMean = 7;
                    const HRESULT expected = plain(out.Plain(), &plainMean, source.words, nullptr, nullptr, strideA,
                                                   strideB, width, height, 0, nullptr, nullptr, nullptr);
                    ASSERT_EQ(expected, v.function(out.Variant(), nullptr, source.words, nullptr, nullptr, strideA,
                                                   strideB, width, height, 0, nullptr, nullptr, nullptr));
                    EXPECT_TRUE(out.Same()) << "without the mean";
                    ASSERT_EQ(expected, v.function(out.Variant(), &variantMean, source.words, nullptr, nullptr,
                                                   strideA, strideB, width, height, 0, nullptr, nullptr, nullptr));
                    EXPECT_TRUE(out.Same());
                    EXPECT_EQ(plainMean, variantMean);
                }
}

TEST(SwordFilterParity, BlockAverages)
{
    ExpectSameAverages(Average8x8SWord_c, {{"mmx", Average8x8SWord_mmx}, {"sse2", Average8x8SWord_sse2}}, 8, 8, 1, 16);
    ExpectSameAverages(Average2x2Y16SWord_c, {{"mmx", Average2x2Y16SWord_mmx}, {"sse2", Average2x2Y16SWord_sse2}},
                       4, 2, 2, 17);
    ExpectSameAverages(Average2x2UV16SWord_c,
                       {{"mmx", Average2x2UV16SWord_mmx}, {"sse2", Average2x2UV16SWord_sse2}}, 4, 2, 2, 18);
}

// The SSE-integer variant writes the same averages; its mean rounds each step's mean up.
TEST(SwordFilterParity, SseIntegerAveragesRoundTheStepMeanUp)
{
    const struct
    {
        UnifSwordFunction function;
        PairLayout layout;
    } variants[] = {{Average2x2Y16SWord_sse, PairLayout::Y16}, {Average2x2UV16SWord_sse, PairLayout::UV16}};
    std::mt19937 random(19);
    for (const auto& v : variants)
        for (int width : {4, 12, 17, 40})
            for (int height : {16, 25}) {
                SCOPED_TRACE(Describe("sse", width, height, 0));
                const int strideB = GetSwordPlaneStride(width), steps = width / 4, rows = height / 2;
                const int strideA = GetSwordPlaneStride(2 * steps);
                Source source(static_cast<size_t>(strideB) * height, 0, random);
                PlanePair out(static_cast<size_t>(strideA) * rows, 0, random());
                uint32_t total = 0, mean = 0;
                for (int r = 0; r < rows; ++r)
                    total += Average2x2Row(WordRow(out.Plain(), strideA, r), WordRow(source.words, strideB, 2 * r),
                                           WordRow(source.words, strideB, 2 * r + 1), 0, steps, v.layout, true);
                ASSERT_EQ(S_OK, v.function(out.Variant(), &mean, source.words, nullptr, nullptr, strideA, strideB,
                                           width, height, 0, nullptr, nullptr, nullptr));
                EXPECT_TRUE(out.Same());
                EXPECT_EQ(total / static_cast<uint32_t>(rows * steps), mean);
            }
}

} // namespace
