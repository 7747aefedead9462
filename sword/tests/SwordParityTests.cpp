// Every vector variant against the plain one: same random inputs, same random output contents
// before the call, whole output buffers compared byte for byte. Widths that are and are not
// multiples of the vector, unaligned starts, tight strides; every buffer ends at a guard page.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

struct Case
{
    int width;
    int height;
    int shift; // bytes the buffers start past their aligned end position (words: twice that)
    int pad;   // bytes added to the tightest stride
};

std::vector<Case> Cases()
{
    std::vector<Case> cases;
    for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 23, 33, 64, 101})
        for (int height : {1, 3})
            for (int shift : {0, 1})
                for (int pad : {0, 6})
                    cases.push_back({width, height, shift, pad});
    return cases;
}

std::string Describe(const char* variant, const Case& c)
{
    return std::string(variant) + " width " + std::to_string(c.width) + " height " + std::to_string(c.height) +
           " shift " + std::to_string(c.shift) + " pad " + std::to_string(c.pad);
}

// Input block with random content.
struct Input
{
    Input(size_t size, int shift, std::mt19937& random, bool words)
        : buffer(size + static_cast<size_t>(shift))
    {
        if (words)
            buffer.FillRandomWords(random);
        else
            buffer.FillRandom(random);
        start = buffer.Bytes() + shift;
    }
    GuardedBuffer buffer;
    BYTE* start;
    const SWORD* Words() const { return reinterpret_cast<const SWORD*>(start); }
};

// Two output blocks with the same random content: one for the plain result, one for the variant.
struct Output
{
    Output(size_t size, int shift, uint32_t seed)
        : plain(size + static_cast<size_t>(shift)), variant(size + static_cast<size_t>(shift)), shift(shift)
    {
        std::mt19937 first(seed), second(seed);
        plain.FillRandom(first);
        variant.FillRandom(second);
    }
    BYTE* Plain() const { return plain.Bytes() + shift; }
    BYTE* Variant() const { return variant.Bytes() + shift; }
    SWORD* PlainWords() const { return reinterpret_cast<SWORD*>(Plain()); }
    SWORD* VariantWords() const { return reinterpret_cast<SWORD*>(Variant()); }
    bool Same() const { return std::memcmp(plain.Bytes(), variant.Bytes(), plain.Size()) == 0; }

    GuardedBuffer plain;
    GuardedBuffer variant;
    int shift;
};

template <class F>
struct Variant
{
    const char* name;
    F function;
};

size_t Bytes(int stride, int height)
{
    return static_cast<size_t>(stride) * height;
}

TEST(SwordParity, Yuy2ToY16UV16)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", ConvertYUY2toY16UV16_mmx},
                                                    {"sse2", ConvertYUY2toY16UV16_sse2}};
    std::mt19937 random(1);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            const int sourceStride = 2 * c.width + c.pad, planeStride = 2 * c.width + c.pad;
            Input source(Bytes(sourceStride, c.height), c.shift, random, false);
            Output y(Bytes(planeStride, c.height), 2 * c.shift, random()), uv(Bytes(planeStride, c.height), 2 * c.shift, random());
            ASSERT_EQ(S_OK, ConvertYUY2toY16UV16_c(y.PlainWords(), uv.PlainWords(), source.start, nullptr, nullptr,
                                                   planeStride, sourceStride, c.width, c.height, 0, nullptr,
                                                   nullptr, nullptr));
            ASSERT_EQ(S_OK, v.function(y.VariantWords(), uv.VariantWords(), source.start, nullptr, nullptr,
                                       planeStride, sourceStride, c.width, c.height, 0, nullptr, nullptr, nullptr));
            EXPECT_TRUE(y.Same());
            EXPECT_TRUE(uv.Same());
        }
}

TEST(SwordParity, Y8ToY16)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", ConvertY8toY16_mmx}, {"sse2", ConvertY8toY16_sse2}};
    std::mt19937 random(2);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            const int sourceStride = c.width + c.pad, planeStride = 2 * c.width + c.pad;
            Input source(Bytes(sourceStride, c.height), c.shift, random, false);
            Output y(Bytes(planeStride, c.height), 2 * c.shift, random());
            ASSERT_EQ(S_OK, ConvertY8toY16_c(y.PlainWords(), nullptr, source.start, nullptr, nullptr, planeStride,
                                             sourceStride, c.width, c.height, 0, nullptr, nullptr, nullptr));
            ASSERT_EQ(S_OK, v.function(y.VariantWords(), nullptr, source.start, nullptr, nullptr, planeStride,
                                       sourceStride, c.width, c.height, 0, nullptr, nullptr, nullptr));
            EXPECT_TRUE(y.Same());
        }
}

TEST(SwordParity, Rgb32ToR16G16B16)
{
    const Variant<Rgb32ToPlanesFunction> variants[] = {
        {"mmx", rgb32_to_r16g16b16_mmx}, {"sse", rgb32_to_r16g16b16_sse}, {"sse2", rgb32_to_r16g16b16_sse2}};
    std::mt19937 random(3);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            const int sourceStride = 4 * c.width + c.pad;
            const int planeStride = GetSwordPlaneStride(c.width);
            const size_t need = Bytes(planeStride, c.height);
            Input source(Bytes(sourceStride, c.height), c.shift, random, false);
            Output r(need, 2 * c.shift, random()), g(need, 2 * c.shift, random()), b(need, 2 * c.shift, random());
            // Planes large enough are kept, so the guarded blocks are written in place.
            SWORD* plain[3] = {r.PlainWords(), g.PlainWords(), b.PlainWords()};
            SWORD* vector[3] = {r.VariantWords(), g.VariantWords(), b.VariantWords()};
            int plainCapacity = static_cast<int>(need), vectorCapacity = static_cast<int>(need);
            int plainStride = 0, vectorStride = 0;
            ASSERT_EQ(S_OK, rgb32_to_r16g16b16_c(source.start, &plain[0], &plain[1], &plain[2], &plainCapacity,
                                                 sourceStride, &plainStride, c.width, c.height));
            ASSERT_EQ(S_OK, v.function(source.start, &vector[0], &vector[1], &vector[2], &vectorCapacity,
                                       sourceStride, &vectorStride, c.width, c.height));
            ASSERT_EQ(vector[0], r.VariantWords());
            EXPECT_EQ(planeStride, vectorStride);
            EXPECT_TRUE(r.Same());
            EXPECT_TRUE(g.Same());
            EXPECT_TRUE(b.Same());
        }
}

TEST(SwordParity, SplitAndJoinUV16)
{
    const Variant<SplitUVFunction> splits[] = {{"mmx", SpliteUVImageToU_V_mmx}, {"sse2", SpliteUVImageToU_V_sse2}};
    const Variant<JoinUVFunction> joins[] = {{"mmx", JoinU_VImageToUV_mmx}, {"sse2", JoinU_VImageToUV_sse2}};
    std::mt19937 random(4);
    for (int i = 0; i < 2; ++i)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(splits[i].name, c));
            const int stride = 2 * ((c.width + 1) & ~1) + c.pad;
            const size_t size = Bytes(stride, c.height);
            Input uv(size, 2 * c.shift, random, true);
            Output u(size, 2 * c.shift, random()), v(size, 2 * c.shift, random());
            ASSERT_EQ(S_OK, SpliteUVImageToU_V_c(uv.Words(), u.PlainWords(), v.PlainWords(), stride, c.width, c.height));
            ASSERT_EQ(S_OK, splits[i].function(uv.Words(), u.VariantWords(), v.VariantWords(), stride, c.width,
                                               c.height));
            EXPECT_TRUE(u.Same());
            EXPECT_TRUE(v.Same());

            Input planeU(size, 2 * c.shift, random, true), planeV(size, 2 * c.shift, random, true);
            Output joined(size, 2 * c.shift, random());
            ASSERT_EQ(S_OK, JoinU_VImageToUV_c(joined.PlainWords(), planeU.Words(), planeV.Words(), stride, c.width,
                                               c.height));
            ASSERT_EQ(S_OK, joins[i].function(joined.VariantWords(), planeU.Words(), planeV.Words(), stride, c.width,
                                              c.height));
            EXPECT_TRUE(joined.Same());
        }
}

int Rgb32Stride(int width)
{
    return width % 4 == 0 ? 4 * width : ((4 * width + 16) & ~15);
}

int Rgb16Stride(int width)
{
    return width % 8 == 0 ? 2 * width : ((2 * width + 16) & ~15);
}

// The output blocks hold exactly height x output stride bytes: a vector step past the last
// row's stride would hit the guard page.
TEST(SwordParity, PlanesToRgb32)
{
    const Variant<PlanesToRgbFunction> variants[] = {{"mmx", r16g16b16_to_rgb32_mmx},
                                                      {"sse2", r16g16b16_to_rgb32_sse2}};
    std::mt19937 random(5);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            const int planeStride = 2 * c.width + c.pad;
            Input r(Bytes(planeStride, c.height), 2 * c.shift, random, true);
            Input g(Bytes(planeStride, c.height), 2 * c.shift, random, true);
            Input b(Bytes(planeStride, c.height), 2 * c.shift, random, true);
            const int capacity = static_cast<int>(Bytes(Rgb32Stride(c.width), c.height));
            Output picture(capacity, c.shift, random());
            int plainStride = 0, vectorStride = 0;
            ASSERT_EQ(S_OK, r16g16b16_to_rgb32_c(r.Words(), g.Words(), b.Words(), picture.Plain(), capacity,
                                                 planeStride, &plainStride, c.width, c.height));
            ASSERT_EQ(S_OK, v.function(r.Words(), g.Words(), b.Words(), picture.Variant(), capacity, planeStride,
                                       &vectorStride, c.width, c.height));
            EXPECT_EQ(Rgb32Stride(c.width), vectorStride);
            EXPECT_TRUE(picture.Same());
        }
}

TEST(SwordParity, PlanesToRgb16BothLayouts)
{
    const Variant<PlanesToRgb16Function> variants[] = {{"mmx", r16g16b16_to_rgb16_mmx},
                                                        {"sse2", r16g16b16_to_rgb16_sse2}};
    std::mt19937 random(6);
    for (const auto& v : variants)
        for (int layout : {0, 1, 0x100})
            for (const Case& c : Cases()) {
                SCOPED_TRACE(Describe(v.name, c) + " layout " + std::to_string(layout));
                const int planeStride = 2 * c.width + c.pad;
                Input r(Bytes(planeStride, c.height), 2 * c.shift, random, true);
                Input g(Bytes(planeStride, c.height), 2 * c.shift, random, true);
                Input b(Bytes(planeStride, c.height), 2 * c.shift, random, true);
                const int capacity = static_cast<int>(Bytes(Rgb16Stride(c.width), c.height));
                Output picture(capacity, c.shift, random());
                int plainStride = 0, vectorStride = 0;
                ASSERT_EQ(S_OK, r16g16b16_to_rgb16_c(r.Words(), g.Words(), b.Words(), picture.Plain(), capacity,
                                                     planeStride, &plainStride, c.width, c.height, layout));
                ASSERT_EQ(S_OK, v.function(r.Words(), g.Words(), b.Words(), picture.Variant(), capacity,
                                           planeStride, &vectorStride, c.width, c.height, layout));
                EXPECT_TRUE(picture.Same());
            }
}

TEST(SwordParity, Rgb24ToYuy2)
{
    const Variant<Rgb24ToYuy2Function> variants[] = {{"mmx", ConvertRGB24ToYUY2_mmx},
                                                      {"sse2", ConvertRGB24ToYUY2_sse2}};
    std::mt19937 random(7);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            const int inputStride = 3 * c.width + c.pad, outputStride = 2 * c.width + c.pad;
            Input input(Bytes(inputStride, c.height), c.shift, random, false);
            Output output(Bytes(outputStride, c.height), c.shift, random());
            ASSERT_EQ(S_OK, ConvertRGB24ToYUY2_c(output.Plain(), input.start, outputStride, inputStride, c.width,
                                                 c.height));
            ASSERT_EQ(S_OK, v.function(output.Variant(), input.start, outputStride, inputStride, c.width, c.height));
            EXPECT_TRUE(output.Same());
        }
}

// Every pixel pair whose six channels take the edge values, where the chroma sums, their
// differences and the luma sums reach their extremes.
TEST(SwordParity, Rgb24ToYuy2EdgeValues)
{
    const BYTE edges[] = {0, 1, 127, 128, 254, 255};
    std::vector<BYTE> input;
    for (int pair = 0; pair < 6 * 6 * 6 * 6 * 6 * 6; ++pair)
        for (int channel = 0, rest = pair; channel < 6; ++channel, rest /= 6)
            input.push_back(edges[rest % 6]);
    const int width = static_cast<int>(input.size() / 3);
    std::vector<BYTE> plain(2 * input.size() / 3), variant(plain.size());
    ASSERT_EQ(S_OK, ConvertRGB24ToYUY2_c(plain.data(), input.data(), 2 * width, 3 * width, width, 1));
    for (const auto convert : {ConvertRGB24ToYUY2_mmx, ConvertRGB24ToYUY2_sse2}) {
        ASSERT_EQ(S_OK, convert(variant.data(), input.data(), 2 * width, 3 * width, width, 1));
        EXPECT_EQ(plain, variant);
    }
}

TEST(SwordParity, PlanesToYuy2)
{
    const Variant<Y16UV16ToYuy2Function> withChroma[] = {{"mmx", ConvertY16UV16ToYUY2_mmx},
                                                          {"sse2", ConvertY16UV16ToYUY2_sse2}};
    const Variant<Y16ToYuy2Function> lumaOnly[] = {{"mmx", ConvertY16ToYUY2_mmx}, {"sse2", ConvertY16ToYUY2_sse2}};
    std::mt19937 random(8);
    for (int i = 0; i < 2; ++i)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(withChroma[i].name, c));
            const int planeStride = 2 * c.width + c.pad, outputStride = 2 * c.width + c.pad;
            Input y(Bytes(planeStride, c.height), 2 * c.shift, random, true);
            Input uv(Bytes(planeStride, c.height), 2 * c.shift, random, true);
            Output full(Bytes(outputStride, c.height), c.shift, random());
            Output luma(Bytes(outputStride, c.height), c.shift, random());
            ASSERT_EQ(S_OK, ConvertY16UV16ToYUY2_c(y.Words(), uv.Words(), planeStride, full.Plain(), outputStride,
                                                   c.width, c.height));
            ASSERT_EQ(S_OK, withChroma[i].function(y.Words(), uv.Words(), planeStride, full.Variant(), outputStride,
                                                   c.width, c.height));
            ASSERT_EQ(S_OK, ConvertY16ToYUY2_c(y.Words(), planeStride, luma.Plain(), outputStride, c.width, c.height));
            ASSERT_EQ(S_OK, lumaOnly[i].function(y.Words(), planeStride, luma.Variant(), outputStride, c.width,
                                                 c.height));
            EXPECT_TRUE(full.Same());
            EXPECT_TRUE(luma.Same());
        }
}

} // namespace
