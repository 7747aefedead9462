// The mask blend in one pass gives the planes of the SWORD kernel steps it replaces (bias off both
// planes, base times the mask, channel times its complement, the sum, bias back on), in every
// variant: random words over the whole 16-bit range, odd widths, strides off the vector, planes
// that end at a guard page.
#include "BlendoraMaskBlend.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

struct MaskBlendVariant
{
    const char* name;
    MaskBlendFunction blend;
    int vectorWords;
};

const MaskBlendVariant kVariants[] = {
    {"plain", MaskBlendPlanes_c, 1}, {"mmx", MaskBlendPlanes_mmx, 4}, {"sse2", MaskBlendPlanes_sse2, 8}};

// A plane of random words ending at a guard page.
struct Plane
{
    Plane(int stride, int height, std::mt19937& random) : buffer(static_cast<size_t>(stride) * height), stride(stride)
    {
        buffer.FillRandomWords(random);
    }
    SWORD* Words() const { return reinterpret_cast<SWORD*>(buffer.Bytes()); }
    std::vector<BYTE> Bytes() const { return {buffer.Bytes(), buffer.Bytes() + buffer.Size()}; }

    GuardedBuffer buffer;
    int stride;
};

// The steps the one pass replaces, with the plain SWORD kernels over width words.
void BlendBySteps(SWORD* base, int baseStride, SWORD* channel, int channelStride, const SWORD* mask, int maskStride,
                  int width, int height, SWORD bias)
{
    const SWORD allLanes[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
    const SWORD biasWords[8] = {bias, bias, bias, bias, bias, bias, bias, bias};
    const SWORD whole[8] = {128, 128, 128, 128, 128, 128, 128, 128};
    const uint64_t shift = 7;
    const auto* shiftWords = reinterpret_cast<const SWORD*>(&shift);
    std::vector<SWORD> product(static_cast<size_t>(width) * height);
    const int productStride = 2 * width;
    SubConstSWORD_c(base, nullptr, nullptr, nullptr, allLanes, baseStride, 0, width, height, 0, biasWords, nullptr, nullptr);
    SubConstSWORD_c(channel, nullptr, nullptr, nullptr, allLanes, channelStride, 0, width, height, 0, biasWords, nullptr,
                    nullptr);
    MulShiftPlaneSWORD_c(base, nullptr, mask, nullptr, allLanes, baseStride, maskStride, width, height, 0, shiftWords,
                         nullptr, nullptr);
    CopyPlaneMaskedSWORD_c(product.data(), nullptr, channel, nullptr, allLanes, productStride, channelStride, width,
                           height, 0, nullptr, nullptr, nullptr);
    MulComplementShiftSWORD_c(product.data(), nullptr, mask, nullptr, allLanes, productStride, maskStride, width, height,
                              0, shiftWords, whole, nullptr);
    AddPlaneSWORD_c(base, nullptr, product.data(), nullptr, allLanes, baseStride, productStride, width, height, 0,
                    nullptr, nullptr, nullptr);
    AddConstSWORD_c(base, nullptr, nullptr, nullptr, allLanes, baseStride, 0, width, height, 0, biasWords, nullptr, nullptr);
}

bool SameRows(const SWORD* expected, const SWORD* actual, int stride, int width, int height)
{
    for (int row = 0; row < height; ++row)
        if (std::memcmp(reinterpret_cast<const BYTE*>(expected) + static_cast<size_t>(stride) * row,
                        reinterpret_cast<const BYTE*>(actual) + static_cast<size_t>(stride) * row, 2 * width) != 0)
            return false;
    return true;
}

TEST(MaskBlendParity, EveryVariantGivesThePlanesOfTheKernelSteps)
{
    std::mt19937 random(26);
    const int height = 3;
    for (const MaskBlendVariant& v : kVariants)
        for (int width : {1, 3, 8, 13, 16, 37})
            for (int pad : {0, 6})
                for (SWORD bias : {SWORD{0}, SWORD{128}}) {
                    SCOPED_TRACE(std::string(v.name) + " width " + std::to_string(width) + " pad " +
                                 std::to_string(pad) + " bias " + std::to_string(bias));
                    // Whole vectors of every row lie inside the planes, as in the frames' planes.
                    const int rounded = (width + v.vectorWords - 1) / v.vectorWords * v.vectorWords;
                    const int stride = 2 * rounded + pad;
                    Plane base(stride, height, random), channel(stride, height, random), mask(stride, height, random);
                    std::vector<SWORD> expected(base.Words(), base.Words() + stride * height / 2);
                    std::vector<SWORD> channelCopy(channel.Words(), channel.Words() + stride * height / 2);
                    const std::vector<BYTE> channelBefore = channel.Bytes();
                    BlendBySteps(expected.data(), stride, channelCopy.data(), stride, mask.Words(), stride, width,
                                 height, bias);
                    ASSERT_EQ(S_OK, v.blend(base.Words(), stride, channel.Words(), stride, mask.Words(), stride,
                                            width, height, bias));
                    EXPECT_TRUE(SameRows(expected.data(), base.Words(), stride, width, height));
                    EXPECT_EQ(channel.Bytes(), channelBefore);
                }
}

TEST(MaskBlendParity, MissingPlanesAreRefused)
{
    SWORD word = 0;
    for (const MaskBlendVariant& v : kVariants) {
        EXPECT_EQ(E_INVALIDARG, v.blend(nullptr, 16, &word, 16, &word, 16, 1, 1, 0)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.blend(&word, 16, nullptr, 16, &word, 16, 1, 1, 0)) << v.name;
        EXPECT_EQ(E_INVALIDARG, v.blend(&word, 16, &word, 16, nullptr, 16, 1, 1, 0)) << v.name;
    }
}

} // namespace
