// The mixer's own kernels give the planes of the SWORD kernel steps they replace, in every
// variant: random words over the whole 16-bit range, odd widths, strides off the vector, planes
// that end at a guard page.
#include "BlendoraMixKernels.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

struct MixKernelVariant
{
    const char* name;
    MaskBlendFunction maskBlend;
    MaskBlendLumaChromaFunction maskBlendLumaChroma;
    ThresholdMaskFunction thresholdMask;
    int vectorWords;
};

const MixKernelVariant kVariants[] = {{"plain", MaskBlendPlanes_c, MaskBlendLumaChroma_c, ThresholdMask_c, 1},
                                      {"mmx", MaskBlendPlanes_mmx, MaskBlendLumaChroma_mmx, ThresholdMask_mmx, 4},
                                      {"sse2", MaskBlendPlanes_sse2, MaskBlendLumaChroma_sse2, ThresholdMask_sse2, 8}};

const SWORD kAllLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};

// A plane of random words ending at a guard page.
struct Plane
{
    Plane(int stride, int height, std::mt19937& random) : buffer(static_cast<size_t>(stride) * height)
    {
        buffer.FillRandomWords(random);
    }
    SWORD* Words() const { return reinterpret_cast<SWORD*>(buffer.Bytes()); }
    std::vector<SWORD> Copy() const { return {Words(), Words() + buffer.Size() / 2}; }

    GuardedBuffer buffer;
};

struct Case
{
    int width;
    int height;
    int stride;
};

// Every variant on widths around its vectors; whole vectors of every row lie inside the planes, as
// in the frames' planes.
void ForEachCase(const std::function<void(const MixKernelVariant&, const Case&)>& run)
{
    for (const MixKernelVariant& v : kVariants)
        for (int width : {1, 3, 8, 13, 16, 37})
            for (int pad : {0, 6}) {
                const int rounded = (width + v.vectorWords - 1) / v.vectorWords * v.vectorWords;
                const Case c{width, 3, 2 * rounded + pad};
                SCOPED_TRACE(std::string(v.name) + " width " + std::to_string(width) + " pad " + std::to_string(pad));
                run(v, c);
            }
}

bool SameRows(const SWORD* expected, const SWORD* actual, const Case& c)
{
    for (int row = 0; row < c.height; ++row)
        if (std::memcmp(reinterpret_cast<const BYTE*>(expected) + static_cast<size_t>(c.stride) * row,
                        reinterpret_cast<const BYTE*>(actual) + static_cast<size_t>(c.stride) * row, 2 * c.width) != 0)
            return false;
    return true;
}

// The steps the mask blend replaces, with the plain SWORD kernels: the mask halved on a copy, bias
// off both planes, the base times the mask, the channel times its complement on a copy, the sum,
// bias back on.
void MaskBlendBySteps(SWORD* base, SWORD* channel, const SWORD* formedMask, const Case& c, SWORD bias)
{
    const SWORD biasWords[8] = {bias, bias, bias, bias, bias, bias, bias, bias};
    const SWORD whole[8] = {128, 128, 128, 128, 128, 128, 128, 128};
    const uint64_t shift = 7;
    const auto* shiftWords = reinterpret_cast<const SWORD*>(&shift);
    std::vector<SWORD> product(static_cast<size_t>(c.stride) * c.height / 2);
    const int w = c.width, h = c.height, s = c.stride;
    std::vector<SWORD> halved(formedMask, formedMask + static_cast<size_t>(s) * h / 2);
    const SWORD one[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    MulShiftConstSWORD_c(halved.data(), nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 1, one, nullptr, nullptr);
    const SWORD* mask = halved.data();
    SubConstSWORD_c(base, nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 0, biasWords, nullptr, nullptr);
    SubConstSWORD_c(channel, nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 0, biasWords, nullptr, nullptr);
    MulShiftPlaneSWORD_c(base, nullptr, mask, nullptr, kAllLanes, s, s, w, h, 0, shiftWords, nullptr, nullptr);
    CopyPlaneMaskedSWORD_c(product.data(), nullptr, channel, nullptr, kAllLanes, s, s, w, h, 0, nullptr, nullptr, nullptr);
    MulComplementShiftSWORD_c(product.data(), nullptr, mask, nullptr, kAllLanes, s, s, w, h, 0, shiftWords, whole, nullptr);
    AddPlaneSWORD_c(base, nullptr, product.data(), nullptr, kAllLanes, s, s, w, h, 0, nullptr, nullptr, nullptr);
    AddConstSWORD_c(base, nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 0, biasWords, nullptr, nullptr);
}

TEST(MixKernelParity, MaskBlendGivesThePlanesOfItsKernelSteps)
{
    std::mt19937 random(26);
    ForEachCase([&](const MixKernelVariant& v, const Case& c) {
        for (SWORD bias : {SWORD{0}, SWORD{128}}) {
            Plane base(c.stride, c.height, random), channel(c.stride, c.height, random), mask(c.stride, c.height, random);
            std::vector<SWORD> expected = base.Copy(), channelWorked = channel.Copy();
            const std::vector<SWORD> channelBefore = channel.Copy();
            MaskBlendBySteps(expected.data(), channelWorked.data(), mask.Words(), c, bias);
            ASSERT_EQ(S_OK, v.maskBlend(base.Words(), c.stride, channel.Words(), c.stride, mask.Words(), c.stride,
                                        c.width, c.height, bias));
            EXPECT_TRUE(SameRows(expected.data(), base.Words(), c)) << "bias " << bias;
            EXPECT_EQ(channel.Copy(), channelBefore) << "bias " << bias;
        }
    });
}

TEST(MixKernelParity, LumaChromaMaskBlendGivesThePlanesOfAMaskBlendOfEach)
{
    std::mt19937 random(28);
    ForEachCase([&](const MixKernelVariant& v, const Case& c) {
        // The chroma planes lie at another stride than the luma planes and the mask.
        const Case chromaCase{c.width, c.height, c.stride + 16};
        Plane luma(c.stride, c.height, random), lumaChannel(c.stride, c.height, random), mask(c.stride, c.height, random);
        Plane chroma(chromaCase.stride, c.height, random), chromaChannel(chromaCase.stride, c.height, random);
        std::vector<SWORD> expectedLuma = luma.Copy(), expectedChroma = chroma.Copy();
        const std::vector<SWORD> lumaChannelBefore = lumaChannel.Copy(), chromaChannelBefore = chromaChannel.Copy();
        ASSERT_EQ(S_OK, MaskBlendPlanes_c(expectedLuma.data(), c.stride, lumaChannel.Words(), c.stride, mask.Words(),
                                          c.stride, c.width, c.height, 0));
        ASSERT_EQ(S_OK, MaskBlendPlanes_c(expectedChroma.data(), chromaCase.stride, chromaChannel.Words(),
                                          chromaCase.stride, mask.Words(), c.stride, c.width, c.height, kMixChromaBias));
        ASSERT_EQ(S_OK, v.maskBlendLumaChroma({luma.Words(), c.stride, lumaChannel.Words(), c.stride},
                                              {chroma.Words(), chromaCase.stride, chromaChannel.Words(), chromaCase.stride},
                                              mask.Words(), c.stride, c.width, c.height));
        EXPECT_TRUE(SameRows(expectedLuma.data(), luma.Words(), c));
        EXPECT_TRUE(SameRows(expectedChroma.data(), chroma.Words(), chromaCase));
        EXPECT_EQ(lumaChannel.Copy(), lumaChannelBefore);
        EXPECT_EQ(chromaChannel.Copy(), chromaChannelBefore);
    });
}

TEST(MixKernelParity, ThresholdMaskGivesThePlaneOfItsKernelSteps)
{
    std::mt19937 random(27);
    ForEachCase([&](const MixKernelVariant& v, const Case& c) {
        for (SWORD limit : {SWORD{-5}, SWORD{100}, SWORD{32767}}) {
            Plane mask(c.stride, c.height, random), luma(c.stride, c.height, random);
            std::vector<SWORD> expected = mask.Copy();
            const SWORD limitWords[8] = {limit, limit, limit, limit, limit, limit, limit, limit};
            const SWORD lowByte[8] = {255, 255, 255, 255, 255, 255, 255, 255};
            const int w = c.width, h = c.height, s = c.stride;
            CopyPlaneMaskedSWORD_c(expected.data(), nullptr, luma.Words(), nullptr, kAllLanes, s, s, w, h, 0, nullptr,
                                   nullptr, nullptr);
            CmpGTConstSWORD_c(expected.data(), nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 0, limitWords, nullptr,
                              nullptr);
            AndConstSWORD_c(expected.data(), nullptr, nullptr, nullptr, kAllLanes, s, 0, w, h, 0, lowByte, nullptr, nullptr);
            ASSERT_EQ(S_OK, v.thresholdMask(mask.Words(), s, luma.Words(), s, w, h, limit));
            EXPECT_TRUE(SameRows(expected.data(), mask.Words(), c)) << "limit " << limit;
        }
    });
}

TEST(MixKernelParity, MissingPlanesAreRefused)
{
    SWORD word = 0;
    for (const MixKernelVariant& v : kVariants) {
        EXPECT_EQ(E_INVALIDARG, v.maskBlend(nullptr, 16, &word, 16, &word, 16, 1, 1, 0)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.maskBlend(&word, 16, nullptr, 16, &word, 16, 1, 1, 0)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.maskBlend(&word, 16, &word, 16, nullptr, 16, 1, 1, 0)) << v.name;
        const MixPlanePair planes{&word, 16, &word, 16};
        for (const auto& [luma, chroma] : {std::pair<MixPlanePair, MixPlanePair>{{nullptr, 16, &word, 16}, planes},
                                           {{&word, 16, nullptr, 16}, planes},
                                           {planes, {nullptr, 16, &word, 16}},
                                           {planes, {&word, 16, nullptr, 16}}})
            EXPECT_EQ(E_INVALIDARG, v.maskBlendLumaChroma(luma, chroma, &word, 16, 1, 1)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.maskBlendLumaChroma(planes, planes, nullptr, 16, 1, 1)) << v.name;
        EXPECT_EQ(word, 0) << v.name << ": a refused blend writes nothing";
        EXPECT_EQ(E_INVALIDARG, v.thresholdMask(nullptr, 16, &word, 16, 1, 1, 0)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.thresholdMask(&word, 16, nullptr, 16, 1, 1, 0)) << v.name;
    }
}

} // namespace
