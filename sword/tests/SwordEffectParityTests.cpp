// Every vector variant of the gradient, matrix-effect, colour-key, band and hue operations
// against the plain one: random planes, widths that are and are not multiples of the vector,
// unaligned starts (also for the aligned kinds, which must not fault on an 8-byte aligned heap
// block), padded strides; every buffer ends at a guard page.
// Word-by-word operations are compared over whole buffers with the plain form run to the end of
// the vector, which also shows that nothing past the vector boundary is touched.
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
    int shift; // bytes the planes start past a 16-byte boundary
    int pad;   // bytes added to the library's stride for the width
    int Stride() const { return GetSwordPlaneStride(width) + pad; }
    size_t Bytes() const { return static_cast<size_t>(Stride()) * height; }
};

std::vector<Case> Cases(std::initializer_list<int> heights = {1, 3})
{
    std::vector<Case> cases;
    for (int width : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 23, 33, 64, 101})
        for (int height : heights)
            for (int shift : {0, 2, 8})
                for (int pad : {0, 6, 8, 16})
                    cases.push_back({width, height, shift, pad});
    return cases;
}

std::string Describe(const char* variant, const Case& c)
{
    return std::string(variant) + " width " + std::to_string(c.width) + " height " + std::to_string(c.height) +
           " shift " + std::to_string(c.shift) + " pad " + std::to_string(c.pad);
}

int RoundUp(int width, int vectorWords)
{
    return (width + vectorWords - 1) / vectorWords * vectorWords;
}

// Words mostly 0..255, some anywhere in 16 bits, so saturation and wrap are exercised.
void FillSamples(SWORD* words, size_t count, std::mt19937& random)
{
    for (size_t i = 0; i < count; ++i)
        words[i] = static_cast<SWORD>(random() % 16 == 0 ? random() : random() % 256);
}

// A plane twice: one for the plain result, one for the variant's; same random content.
struct PlanePair
{
    PlanePair(const Case& c, uint32_t seed)
        : plain(c.Bytes() + c.shift), variant(c.Bytes() + c.shift), shift(c.shift)
    {
        std::mt19937 random(seed);
        FillSamples(plain.Words(), plain.Size() / 2, random);
        std::memcpy(variant.Bytes(), plain.Bytes(), plain.Size());
    }
    SWORD* Plain() const { return reinterpret_cast<SWORD*>(plain.Bytes() + shift); }
    SWORD* Variant() const { return reinterpret_cast<SWORD*>(variant.Bytes() + shift); }
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
    int vectorWords;
};

// Lane constants with equal halves, so 4-word and 8-word lanes see the same pattern.
struct LaneVector
{
    alignas(16) SWORD words[8];
};

LaneVector RandomLanes(std::mt19937& random, bool maskWords)
{
    LaneVector lanes{};
    for (int i = 0; i < 4; ++i) {
        const SWORD word = maskWords ? static_cast<SWORD>(random() % 2 ? -1 : 0) : static_cast<SWORD>(random());
        lanes.words[i] = lanes.words[i + 4] = word;
    }
    return lanes;
}

TEST(SwordEffectParity, GradientCorrection)
{
    const Variant<GradientCorrectFunction> variants[] = {
        {"mmx", GradientCorrectImage_mmx, 4}, {"sse", GradientCorrectImage_sse, 4}, {"sse2", GradientCorrectImage_sse2, 8}};
    std::mt19937 random(11);
    std::vector<SWORD> curve(256);
    for (SWORD& entry : curve)
        entry = static_cast<SWORD>(random());
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            PlanePair plane(c, random());
            ASSERT_EQ(S_OK, GradientCorrectImage_c(plane.Plain(), c.Stride(), RoundUp(c.width, v.vectorWords),
                                                   c.height, curve.data(), 256));
            ASSERT_EQ(S_OK, v.function(plane.Variant(), c.Stride(), c.width, c.height, curve.data(), 256));
            EXPECT_TRUE(plane.Same());
        }
}

TEST(SwordEffectParity, HueCorrection)
{
    const Variant<CorrectHueFunction> variants[] = {
        {"mmx", CorrectHue_mmx, 4}, {"sse", CorrectHue_sse, 4}, {"sse2", CorrectHue_sse2, 8}};
    std::mt19937 random(12);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            // Random matrices too, so the 32-bit wrap and the saturation of both ends are compared.
            SWORD matrix[8];
            for (SWORD& word : matrix)
                word = static_cast<SWORD>(random() % 4 == 0 ? random() : random() % 8193 - 4096);
            const SWORD* rotation = matrix;
            PlanePair plane(c, random());
            ASSERT_EQ(S_OK, CorrectHue_c(plane.Plain(), &rotation, c.Stride(), RoundUp(c.width, v.vectorWords), c.height));
            ASSERT_EQ(S_OK, v.function(plane.Variant(), &rotation, c.Stride(), c.width, c.height));
            EXPECT_TRUE(plane.Same());
        }
}

TEST(SwordEffectParity, ColourKey)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", key_source_sword_funct_mmx, 4},
                                                   {"sse2", key_source_sword_funct_sse2, 8},
                                                   {"sse2 unaligned", key_source_sword_funct_sse2u, 8}};
    std::mt19937 random(13);
    for (const auto& v : variants)
        for (const Case& c : Cases()) {
            SCOPED_TRACE(Describe(v.name, c));
            PlanePair lower(c, random());
            // The upper plane is half transparent (zero) words.
            GuardedBuffer upperBuffer(c.Bytes() + c.shift);
            SWORD* upper = reinterpret_cast<SWORD*>(upperBuffer.Bytes() + c.shift);
            FillSamples(upperBuffer.Words(), upperBuffer.Size() / 2, random);
            for (size_t i = 0; i < c.Bytes() / 2; ++i)
                if (random() % 2 == 0)
                    upper[i] = 0;
            const LaneVector mask = RandomLanes(random, true);
            ASSERT_EQ(S_OK, key_source_sword_funct_c(lower.Plain(), nullptr, upper, nullptr, mask.words, c.Stride(),
                                                     c.Stride(), RoundUp(c.width, v.vectorWords), c.height, 0,
                                                     nullptr, nullptr, nullptr));
            ASSERT_EQ(S_OK, v.function(lower.Variant(), nullptr, upper, nullptr, mask.words, c.Stride(), c.Stride(),
                                       c.width, c.height, 0, nullptr, nullptr, nullptr));
            EXPECT_TRUE(lower.Same());
        }
}

TEST(SwordEffectParity, BandGeneration)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", GenerateImageFunct_mmx, 4},
                                                   {"sse2", GenerateImageFunct_sse2, 8},
                                                   {"sse2 unaligned", GenerateImageFunct_sse2u, 8}};
    std::mt19937 random(14);
    for (const auto& v : variants)
        for (const Case& c : Cases({1, 40})) {
            SCOPED_TRACE(Describe(v.name, c));
            PlanePair plane(c, random());
            LaneVector centres = RandomLanes(random, false), peaks = RandomLanes(random, false);
            for (int i = 0; i < 4; ++i) // mostly centres within the plane, some far outside
                if (random() % 4 != 0)
                    centres.words[i] = centres.words[i + 4] = static_cast<SWORD>(random() % 48);
            ASSERT_EQ(S_OK, GenerateImageFunct_c(plane.Plain(), nullptr, nullptr, nullptr, nullptr, c.Stride(), 0,
                                                 RoundUp(c.width, v.vectorWords), c.height, 0, centres.words,
                                                 peaks.words, nullptr));
            ASSERT_EQ(S_OK, v.function(plane.Variant(), nullptr, nullptr, nullptr, nullptr, c.Stride(), 0, c.width,
                                       c.height, 0, centres.words, peaks.words, nullptr));
            EXPECT_TRUE(plane.Same());
        }
}

// The fill's steps depend on the width, so only the visible words are compared with the plain
// form; the words after the row's last vector must keep their content.
TEST(SwordEffectParity, GradientFill)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", gradient_fill_sword_funct_mmx, 4},
                                                   {"sse2", gradient_fill_sword_funct_sse2, 8},
                                                   {"sse2 unaligned", gradient_fill_sword_funct_sse2u, 8}};
    std::mt19937 random(15);
    for (const auto& v : variants)
        for (const Case& c : Cases({1, 3, 300})) {
            SCOPED_TRACE(Describe(v.name, c));
            PlanePair plane(c, random());
            std::vector<SWORD> before(plane.Variant(), plane.Variant() + c.Bytes() / 2);
            // Small ramps and steep ones whose steps saturate or wrap.
            const SWORD ramp[3] = {static_cast<SWORD>(random()), static_cast<SWORD>(random() % 2 ? random() % 600 - 300 : random()),
                                   static_cast<SWORD>(random() % 2 ? random() % 600 - 300 : random())};
            ASSERT_EQ(S_OK, gradient_fill_sword_funct_c(plane.Plain(), nullptr, nullptr, nullptr, nullptr, c.Stride(),
                                                        0, c.width, c.height, 0, ramp, nullptr, nullptr));
            ASSERT_EQ(S_OK, v.function(plane.Variant(), nullptr, nullptr, nullptr, nullptr, c.Stride(), 0, c.width,
                                       c.height, 0, ramp, nullptr, nullptr));
            const int rowWords = c.Stride() / 2, walked = RoundUp(c.width, v.vectorWords);
            for (int row = 0; row < c.height; ++row) {
                const SWORD* plain = plane.Plain() + row * rowWords;
                const SWORD* vector = plane.Variant() + row * rowWords;
                ASSERT_EQ(0, std::memcmp(plain, vector, 2 * static_cast<size_t>(c.width))) << "row " << row;
                ASSERT_EQ(0, std::memcmp(before.data() + row * rowWords + walked, vector + walked,
                                         2 * static_cast<size_t>(rowWords - walked)))
                    << "row " << row;
            }
        }
}

// Templates near some blocks of the plane (so the threshold passes for many), random ones, a
// missing template and a missing tile; plane 2 with and without its templates.
TEST(SwordEffectParity, MatrixEffect)
{
    const Variant<MatrixEffectFunction> variants[] = {{"mmx", MatrixEffectImage_mmx, 4},
                                                      {"sse2", MatrixEffectImage_sse2, 8}};
    std::mt19937 random(16);
    constexpr int kCount = 6;
    for (const auto& v : variants)
        for (const Case& c : Cases({8, 17}))
            for (int second = 0; second < 3; ++second) {
                SCOPED_TRACE(Describe(v.name, c) + " second plane " + std::to_string(second));
                PlanePair plane1(c, random()), plane2(c, random());
                std::vector<SWORD> patterns(4 * kCount * 64);
                std::vector<const SWORD*> templates1(kCount), templates2(kCount), tiles1(kCount), tiles2(kCount);
                for (int k = 0; k < kCount; ++k) {
                    SWORD* t1 = &patterns[(4 * k) * 64];
                    SWORD* t2 = &patterns[(4 * k + 1) * 64];
                    FillSamples(t1, 3 * 64, random);
                    if (k % 2 == 0 && c.width >= 8) { // a noisy copy of a block of the plane
                        const int left = 8 * static_cast<int>(random() % (c.width / 8));
                        for (int i = 0; i < 64; ++i) {
                            t1[i] = static_cast<SWORD>(plane1.Plain()[(i / 8) * c.Stride() / 2 + left + i % 8] + random() % 7 - 3);
                            t2[i] = static_cast<SWORD>(plane2.Plain()[(i / 8) * c.Stride() / 2 + left + i % 8] + random() % 5 - 2);
                        }
                    }
                    templates1[k] = t1;
                    templates2[k] = t2;
                    tiles1[k] = &patterns[(4 * k + 2) * 64];
                    tiles2[k] = &patterns[(4 * k + 3) * 64];
                }
                templates1[3] = nullptr;
                tiles1[4] = nullptr;
                tiles2[0] = nullptr;
                const SWORD intensity = static_cast<SWORD>(random() % 320 - 30);
                const SWORD threshold = static_cast<SWORD>(random() % 8 == 0 ? random() : random() % 40 - 5);
                SWORD* plain2 = second == 0 ? nullptr : plane2.Plain();
                SWORD* variant2 = second == 0 ? nullptr : plane2.Variant();
                const SWORD* const* chromaTemplates = second == 2 ? templates2.data() : nullptr;
                ASSERT_EQ(S_OK, MatrixEffectImage_c(plane1.Plain(), plain2, c.Stride(), c.width, c.height,
                                                    templates1.data(), chromaTemplates, tiles1.data(), tiles2.data(),
                                                    kCount, intensity, threshold));
                ASSERT_EQ(S_OK, v.function(plane1.Variant(), variant2, c.Stride(), c.width, c.height,
                                           templates1.data(), chromaTemplates, tiles1.data(), tiles2.data(), kCount,
                                           intensity, threshold));
                EXPECT_TRUE(plane1.Same());
                EXPECT_TRUE(plane2.Same());
            }
}

} // namespace
