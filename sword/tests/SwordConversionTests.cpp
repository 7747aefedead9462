// Worked examples of the conversions, exact in every variant: saturation, byte order, strides,
// argument checks, plane allocation, and rows that end at a guard page.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include "KestrelDebugFunct.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace {

template <class F>
struct Variant
{
    const char* name;
    F function;
};

const Variant<PlanesToRgbFunction> kRgb32[] = {
    {"c", r16g16b16_to_rgb32_c}, {"mmx", r16g16b16_to_rgb32_mmx}, {"sse2", r16g16b16_to_rgb32_sse2}};
const Variant<PlanesToRgb16Function> kRgb16[] = {
    {"c", r16g16b16_to_rgb16_c}, {"mmx", r16g16b16_to_rgb16_mmx}, {"sse2", r16g16b16_to_rgb16_sse2}};
const Variant<Rgb24ToYuy2Function> kRgb24ToYuy2[] = {
    {"c", ConvertRGB24ToYUY2_c}, {"mmx", ConvertRGB24ToYUY2_mmx}, {"sse2", ConvertRGB24ToYUY2_sse2}};

// Eight words that cover saturation at both ends.
constexpr std::array<SWORD, 8> kEdgeWords = {-1, 0, 255, 256, 300, -32768, 32767, 128};
constexpr std::array<BYTE, 8> kEdgeBytes = {0, 0, 255, 255, 255, 0, 255, 128};

TEST(SwordPlanesToRgb, SaturatesEveryWordInEveryFormat)
{
    std::array<SWORD, 8> zero{};
    for (const auto& v : kRgb32) {
        SCOPED_TRACE(v.name);
        std::array<BYTE, 32> out{};
        int stride = 0;
        // Only the first plane carries the words: it lands in byte 2 of each pixel.
        ASSERT_EQ(S_OK, v.function(kEdgeWords.data(), zero.data(), zero.data(), out.data(), 32, 16, &stride, 8, 1));
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(kEdgeBytes[x], out[4 * x + 2]) << x;
            EXPECT_EQ(0, out[4 * x + 3]) << x;
        }
    }
    std::array<BYTE, 32> rgb24{}; // stride 32 for a width of 8
    int stride = 0;
    ASSERT_EQ(S_OK, r16g16b16_to_rgb24(kEdgeWords.data(), zero.data(), zero.data(), rgb24.data(), 32, 16, &stride, 8, 1));
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(kEdgeBytes[x], rgb24[3 * x]) << x;
    for (const auto& v : kRgb16) {
        SCOPED_TRACE(v.name);
        std::array<BYTE, 16> out{};
        ASSERT_EQ(S_OK, v.function(zero.data(), zero.data(), kEdgeWords.data(), out.data(), 16, 16, &stride, 8, 1, 0));
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(kEdgeBytes[x] >> 3, out[2 * x] | (out[2 * x + 1] << 8)) << x;
    }
}

TEST(SwordPlanesToRgb, PixelLayouts)
{
    const std::array<SWORD, 8> first = {255, 8, 8, 8, 8, 8, 8, 8}, second = {255, 4, 4, 4, 4, 4, 4, 4},
                               third = {255, 8, 8, 8, 8, 8, 8, 8};
    for (const auto& v : kRgb16) {
        SCOPED_TRACE(v.name);
        std::array<BYTE, 16> out565{}, out555{};
        int stride = 0;
        ASSERT_EQ(S_OK, v.function(first.data(), second.data(), third.data(), out565.data(), 16, 16, &stride, 8, 1, 0));
        ASSERT_EQ(S_OK, v.function(first.data(), second.data(), third.data(), out555.data(), 16, 16, &stride, 8, 1, 1));
        EXPECT_EQ(0xFFFF, out565[0] | (out565[1] << 8));
        EXPECT_EQ(0x7FFF, out555[0] | (out555[1] << 8)); // bit 15 stays clear
        EXPECT_EQ((1 << 11) | (1 << 5) | 1, out565[2] | (out565[3] << 8));
        EXPECT_EQ((1 << 10) | (0 << 5) | 1, out555[2] | (out555[3] << 8));
    }
    for (const auto& v : kRgb32) {
        SCOPED_TRACE(v.name);
        std::array<BYTE, 32> out{};
        int stride = 0;
        ASSERT_EQ(S_OK, v.function(first.data(), second.data(), third.data(), out.data(), 32, 16, &stride, 8, 1));
        EXPECT_EQ(0x00080408u, out[4] | (out[5] << 8) | (out[6] << 16) | (static_cast<unsigned>(out[7]) << 24));
    }
}

TEST(SwordPlanesToRgb, OutputStridesAndCapacity)
{
    struct StrideCase
    {
        int width;
        int rgb32, rgb24, rgb16;
    };
    const StrideCase cases[] = {{3, 16, 16, 16}, {4, 16, 16, 16}, {8, 32, 32, 16}, {16, 64, 48, 32}, {9, 48, 32, 32}};
    std::vector<SWORD> plane(64 * 2, 7);
    std::vector<BYTE> out(64 * 4 * 2);
    for (const StrideCase& c : cases) {
        SCOPED_TRACE(c.width);
        int stride = 0;
        ASSERT_EQ(S_OK, r16g16b16_to_rgb32_c(plane.data(), plane.data(), plane.data(), out.data(), c.rgb32 * 2, 128,
                                             &stride, c.width, 2));
        EXPECT_EQ(c.rgb32, stride);
        ASSERT_EQ(S_OK, r16g16b16_to_rgb24(plane.data(), plane.data(), plane.data(), out.data(), c.rgb24 * 2, 128,
                                           &stride, c.width, 2));
        EXPECT_EQ(c.rgb24, stride);
        ASSERT_EQ(S_OK, r16g16b16_to_rgb16_c(plane.data(), plane.data(), plane.data(), out.data(), c.rgb16 * 2, 128,
                                             &stride, c.width, 2, 0));
        EXPECT_EQ(c.rgb16, stride);
    }
    // One byte short of height x stride: refused before anything is written.
    std::fill(out.begin(), out.end(), BYTE{0xAA});
    int stride = 0;
    for (const auto& v : kRgb32)
        EXPECT_EQ(E_FAIL, v.function(plane.data(), plane.data(), plane.data(), out.data(), 2 * 16 - 1, 128, &stride, 3, 2));
    EXPECT_EQ(E_FAIL, r16g16b16_to_rgb24(plane.data(), plane.data(), plane.data(), out.data(), 31, 128, &stride, 3, 2));
    for (const auto& v : kRgb16)
        EXPECT_EQ(E_FAIL, v.function(plane.data(), plane.data(), plane.data(), out.data(), 31, 128, &stride, 3, 2, 0));
    EXPECT_EQ(std::vector<BYTE>(out.size(), 0xAA), out);
    EXPECT_EQ(E_INVALIDARG, r16g16b16_to_rgb32_sse2(nullptr, plane.data(), plane.data(), out.data(), 512, 128, &stride, 3, 2));
}

// The SSE2 step writes 8 pixels at once; for widths that are not a multiple of 8 it must stop at
// the row's visible pixels, or the last row runs past height x stride into the guard page.
TEST(SwordPlanesToRgb, Sse2StaysInsideHeightTimesStride)
{
    for (int width : {4, 12, 20, 5}) {
        SCOPED_TRACE(width);
        const int height = 3;
        std::vector<SWORD> plane(GetSwordPlaneStride(width) / 2 * height, 100);
        const int outputStride = width % 4 == 0 ? 4 * width : ((4 * width + 16) & ~15);
        GuardedBuffer picture(static_cast<size_t>(outputStride) * height);
        int stride = 0;
        ASSERT_EQ(S_OK, r16g16b16_to_rgb32_sse2(plane.data(), plane.data(), plane.data(), picture.Bytes(),
                                                outputStride * height, GetSwordPlaneStride(width), &stride, width,
                                                height));
        EXPECT_EQ(100, picture.Bytes()[outputStride * (height - 1) + 4 * (width - 1)]);
    }
}

struct Yuy2Pixel
{
    BYTE y0, u, y1, v;
};

// B, G, R input bytes; Y0 U Y1 V output with U in byte 1 and V in byte 3.
TEST(SwordRgb24ToYuy2, WeightsBgrBytesAndPutsUBeforeV)
{
    struct ColourCase
    {
        const char* colour;
        BYTE b, g, r;
        Yuy2Pixel expected;
    };
    const ColourCase cases[] = {
        {"red", 0, 0, 255, {81, 90, 81, 239}},
        {"blue", 255, 0, 0, {41, 239, 41, 110}},
        {"green", 0, 255, 0, {145, 54, 145, 34}},
        {"white", 255, 255, 255, {237, 128, 237, 128}},
        {"black", 0, 0, 0, {16, 128, 16, 128}},
    };
    for (const auto& v : kRgb24ToYuy2)
        for (const ColourCase& c : cases) {
            SCOPED_TRACE(std::string(v.name) + " " + c.colour);
            const int width = 8;
            std::array<BYTE, 3 * width> input{};
            for (int x = 0; x < width; ++x) {
                input[3 * x] = c.b;
                input[3 * x + 1] = c.g;
                input[3 * x + 2] = c.r;
            }
            std::array<BYTE, 2 * width> output{};
            ASSERT_EQ(S_OK, v.function(output.data(), input.data(), 2 * width, 3 * width, width, 1));
            for (int pair = 0; pair < width / 2; ++pair) {
                EXPECT_EQ(c.expected.y0, output[4 * pair]);
                EXPECT_EQ(c.expected.u, output[4 * pair + 1]);
                EXPECT_EQ(c.expected.y1, output[4 * pair + 2]);
                EXPECT_EQ(c.expected.v, output[4 * pair + 3]);
            }
        }
}

TEST(SwordRgb24ToYuy2, PairAverageAndArgumentChecks)
{
    // A red and a blue pixel: Y of each, U and V of their average (127, 0, 127).
    const BYTE input[6] = {0, 0, 255, 255, 0, 0};
    for (const auto& v : kRgb24ToYuy2) {
        SCOPED_TRACE(v.name);
        BYTE output[4] = {};
        ASSERT_EQ(S_OK, v.function(output, input, 4, 6, 2, 1));
        EXPECT_EQ(81, output[0]);
        EXPECT_EQ(((-19 * 127 + 56 * 127) >> 7) + 128, output[1]);
        EXPECT_EQ(41, output[2]);
        EXPECT_EQ(((56 * 127 - 9 * 127) >> 7) + 128, output[3]);

        BYTE big[64] = {};
        EXPECT_EQ(E_UNEXPECTED, v.function(big, big, 24, 24, 8, 1)) << "equal strides";
        EXPECT_EQ(E_UNEXPECTED, v.function(big, big, 16, 23, 8, 1)) << "input row longer than its stride";
        EXPECT_EQ(E_UNEXPECTED, v.function(big, big, 15, 24, 8, 1)) << "output row longer than its stride";
        EXPECT_EQ(E_UNEXPECTED, v.function(big, big, 16, 24, 0, 1));
        EXPECT_EQ(E_UNEXPECTED, v.function(big, big, 16, 24, 8, -1));
        EXPECT_EQ(E_INVALIDARG, v.function(nullptr, big, 16, 24, 8, 1));
        EXPECT_EQ(E_INVALIDARG, v.function(big, nullptr, 16, 24, 8, 1));
    }
}

TEST(SwordRgb24ToYuy2, InPlacePacksRowsAndReadsBgr)
{
    // Two rows of a red and a blue pixel, stride 8 (2 bytes of padding).
    BYTE picture[16] = {0, 0, 255, 255, 0, 0, 0xEE, 0xEE, 0, 0, 255, 255, 0, 0, 0xEE, 0xEE};
    ASSERT_EQ(S_OK, ConvertRGB24ToYUY2InPlace(picture, 2, 2, 8));
    // Red first pixel: Y 81, U from it 90; blue second: Y 40, V from it 109.
    const BYTE expectedRow[4] = {81, 90, 40, 109};
    EXPECT_EQ(0, std::memcmp(picture, expectedRow, 4));
    EXPECT_EQ(0, std::memcmp(picture + 4, expectedRow, 4));
    EXPECT_EQ(E_INVALIDARG, ConvertRGB24ToYUY2InPlace(nullptr, 2, 2, 8));
    EXPECT_EQ(E_UNEXPECTED, ConvertRGB24ToYUY2InPlace(picture, 0, 2, 8));
}

TEST(SwordIntoPlanes, Yuy2AndY8WidenWithoutScaling)
{
    const Variant<UnifSwordFunction> yuy2[] = {
        {"c", ConvertYUY2toY16UV16_c}, {"mmx", ConvertYUY2toY16UV16_mmx}, {"sse2", ConvertYUY2toY16UV16_sse2}};
    const Variant<UnifSwordFunction> y8[] = {
        {"c", ConvertY8toY16_c}, {"mmx", ConvertY8toY16_mmx}, {"sse2", ConvertY8toY16_sse2}};
    BYTE frame[32];
    for (int i = 0; i < 32; ++i)
        frame[i] = static_cast<BYTE>(200 + i);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(yuy2[i].name);
        SWORD y[16] = {}, uv[16] = {};
        ASSERT_EQ(S_OK, yuy2[i].function(y, uv, frame, nullptr, nullptr, 32, 32, 16, 1, 0, nullptr, nullptr, nullptr));
        EXPECT_EQ(200, y[0]);
        EXPECT_EQ(201, uv[0]);
        EXPECT_EQ(202, y[1]);
        EXPECT_EQ(203, uv[1]);
        EXPECT_EQ(231, uv[15]);
        // Width 1: one pixel converted, its row of one word.
        SWORD one[2] = {-1, -1}, oneUV[2] = {-1, -1};
        ASSERT_EQ(S_OK, yuy2[i].function(one, oneUV, frame, nullptr, nullptr, 2, 2, 1, 1, 0, nullptr, nullptr, nullptr));
        EXPECT_EQ(200, one[0]);
        EXPECT_EQ(201, oneUV[0]);
        EXPECT_EQ(E_UNEXPECTED, yuy2[i].function(y, uv, frame, nullptr, nullptr, 30, 32, 16, 1, 0, nullptr, nullptr,
                                                 nullptr));
        EXPECT_EQ(E_INVALIDARG, yuy2[i].function(y, nullptr, frame, nullptr, nullptr, 32, 32, 16, 1, 0, nullptr,
                                                 nullptr, nullptr));

        SWORD luma[32] = {};
        ASSERT_EQ(S_OK, y8[i].function(luma, nullptr, frame, nullptr, nullptr, 64, 32, 32, 1, 0, nullptr, nullptr,
                                       nullptr));
        EXPECT_EQ(200, luma[0]);
        EXPECT_EQ(231, luma[31]);
        EXPECT_EQ(E_UNEXPECTED, y8[i].function(luma, nullptr, frame, nullptr, nullptr, 62, 32, 32, 1, 0, nullptr,
                                               nullptr, nullptr));
    }
}

// A plane stride of 2 x width that is not a multiple of 16 (here 360 pixels) is accepted by
// the SSE2 conversion as by MMX: the last half vector goes through its own step.
TEST(SwordIntoPlanes, Y8WidthsNotAMultipleOf16InSse2)
{
    const int width = 360, height = 2;
    GuardedBuffer frame(width * height), plane(2 * width * height);
    std::mt19937 random(11);
    frame.FillRandom(random);
    ASSERT_EQ(S_OK, ConvertY8toY16_sse2(plane.Words(), nullptr, frame.Bytes(), nullptr, nullptr, 2 * width, width,
                                        width, height, 0, nullptr, nullptr, nullptr));
    EXPECT_EQ(frame.Bytes()[width * height - 1], plane.Words()[width * height - 1]);
}

TEST(SwordIntoPlanes, AlignmentQuery)
{
    const Variant<UnifSwordFunction> variants[] = {{"mmx", ConvertYUY2toY16UV16_mmx}, {"sse2", ConvertYUY2toY16UV16_sse2},
                                                   {"y8 mmx", ConvertY8toY16_mmx}, {"y8 sse2", ConvertY8toY16_sse2}};
    const int expected[] = {8, 16, 8, 16};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(variants[i].name);
        int alignment = 0;
        EXPECT_EQ(S_FALSE, variants[i].function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0, nullptr,
                                                nullptr, &alignment));
        EXPECT_EQ(expected[i], alignment);
        EXPECT_EQ(E_UNEXPECTED, variants[i].function(nullptr, nullptr, nullptr, nullptr, nullptr, 0, 0, 0, 0, 0,
                                                     nullptr, nullptr, nullptr));
    }
}

class SwordRgb32ToPlanes : public ::testing::Test
{
protected:
    void TearDown() override
    {
        SAFE_TASK_FREE(&m_r);
        SAFE_TASK_FREE(&m_g);
        SAFE_TASK_FREE(&m_b);
    }
    // Width 5: stride 16, 10 bytes used, 6 of padding that repeat the first 3 words.
    static constexpr int kWidth = 5, kHeight = 2, kStride = 16, kNeed = kStride * kHeight;
    BYTE m_picture[4 * kWidth * kHeight] = {};
    SWORD* m_r = nullptr;
    SWORD* m_g = nullptr;
    SWORD* m_b = nullptr;
};

TEST_F(SwordRgb32ToPlanes, AllocatesConvertsAndFillsPadding)
{
    for (int i = 0; i < 4 * kWidth * kHeight; ++i)
        m_picture[i] = static_cast<BYTE>(i);
    const Variant<Rgb32ToPlanesFunction> variants[] = {
        {"c", rgb32_to_r16g16b16_c}, {"mmx", rgb32_to_r16g16b16_mmx}, {"sse", rgb32_to_r16g16b16_sse},
        {"sse2", rgb32_to_r16g16b16_sse2}};
    for (const auto& v : variants) {
        SCOPED_TRACE(v.name);
        TearDown();
        int capacity = 0, stride = 0;
        ASSERT_EQ(S_OK, v.function(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth, &stride, kWidth, kHeight));
        EXPECT_EQ(kNeed, capacity);
        EXPECT_EQ(kStride, stride);
        const int row = kStride / 2;
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x) {
                const int pixel = 4 * (y * kWidth + x);
                EXPECT_EQ(pixel + 2, m_r[y * row + x]);
                EXPECT_EQ(pixel + 1, m_g[y * row + x]);
                EXPECT_EQ(pixel, m_b[y * row + x]);
            }
        EXPECT_EQ(m_b[row], m_b[row + 5]);
        EXPECT_EQ(m_b[row + 2], m_b[row + 7]);
    }
}

TEST_F(SwordRgb32ToPlanes, KeepsPlanesLargeEnoughAndGrowsShortOnes)
{
    int capacity = 0, stride = 0;
    ASSERT_EQ(S_OK, rgb32_to_r16g16b16_sse(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth, &stride, kWidth, kHeight));
    // Enough: the same planes, the capacity unchanged.
    SWORD* const keptR = m_r;
    capacity = kNeed + 100;
    ASSERT_EQ(S_OK, rgb32_to_r16g16b16_mmx(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth, &stride, kWidth, kHeight));
    EXPECT_EQ(keptR, m_r);
    EXPECT_EQ(kNeed + 100, capacity);
    // One byte short: all three reallocated to the need.
    capacity = kNeed - 1;
    ASSERT_EQ(S_OK, rgb32_to_r16g16b16_c(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth, &stride, kWidth, kHeight));
    EXPECT_EQ(kNeed, capacity);
    EXPECT_EQ(E_FAIL, rgb32_to_r16g16b16_c(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth - 1, &stride, kWidth,
                                           kHeight));
    EXPECT_EQ(E_FAIL, rgb32_to_r16g16b16_mmx(m_picture, &m_r, &m_g, &m_b, &capacity, 4 * kWidth - 1, &stride, kWidth,
                                             kHeight));
    EXPECT_EQ(E_INVALIDARG, rgb32_to_r16g16b16_sse(m_picture, &m_r, &m_g, &m_b, nullptr, 4 * kWidth, &stride, kWidth,
                                                   kHeight));
    EXPECT_EQ(E_INVALIDARG, rgb32_to_r16g16b16_sse2(m_picture, &m_r, &m_g, &m_b, nullptr, 4 * kWidth, &stride, kWidth,
                                                    kHeight));
}

TEST(SwordSplitJoin, DoublesEachValueAndJoinRestores)
{
    const SplitUVFunction splits[] = {SpliteUVImageToU_V_c, SpliteUVImageToU_V_mmx, SpliteUVImageToU_V_sse2};
    const JoinUVFunction joins[] = {JoinU_VImageToUV_c, JoinU_VImageToUV_mmx, JoinU_VImageToUV_sse2};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        SWORD uv[16], u[16] = {}, v[16] = {}, joined[16] = {};
        for (int k = 0; k < 16; ++k)
            uv[k] = static_cast<SWORD>(k % 2 == 0 ? -100 * k : 1000 + k);
        ASSERT_EQ(S_OK, splits[i](uv, u, v, 32, 16, 1));
        EXPECT_EQ(uv[4], u[4]);
        EXPECT_EQ(uv[4], u[5]);
        EXPECT_EQ(uv[5], v[4]);
        EXPECT_EQ(uv[5], v[5]);
        ASSERT_EQ(S_OK, joins[i](joined, u, v, 32, 16, 1));
        EXPECT_EQ(0, std::memcmp(uv, joined, sizeof(uv)));
        EXPECT_EQ(E_UNEXPECTED, splits[i](uv, u, v, 30, 16, 1));
        EXPECT_EQ(E_UNEXPECTED, joins[i](nullptr, u, v, 32, 16, 1));
    }
}

TEST(SwordPlanesToYuy2, ClampsAndInterleaves)
{
    const SWORD y[8] = {-5, 300, 16, 235, 0, 255, 128, 1};
    const SWORD uv[8] = {400, -1, 90, 240, 128, 128, 0, 255};
    const Y16UV16ToYuy2Function full[] = {ConvertY16UV16ToYUY2_c, ConvertY16UV16ToYUY2_mmx, ConvertY16UV16ToYUY2_sse2};
    const Y16ToYuy2Function luma[] = {ConvertY16ToYUY2_c, ConvertY16ToYUY2_mmx, ConvertY16ToYUY2_sse2};
    const BYTE expected[16] = {0, 255, 255, 0, 16, 90, 235, 240, 0, 128, 255, 128, 128, 0, 1, 255};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        BYTE out[16] = {};
        ASSERT_EQ(S_OK, full[i](y, uv, 16, out, 16, 8, 1));
        EXPECT_EQ(0, std::memcmp(expected, out, 16));
        ASSERT_EQ(S_OK, luma[i](y, 16, out, 16, 8, 1));
        for (int x = 0; x < 8; ++x) {
            EXPECT_EQ(expected[2 * x], out[2 * x]);
            EXPECT_EQ(128, out[2 * x + 1]);
        }
        EXPECT_EQ(E_UNEXPECTED, full[i](y, uv, 16, out, 15, 8, 1));
        EXPECT_EQ(E_INVALIDARG, luma[i](nullptr, 16, out, 16, 8, 1));
    }
}

// A packed YUY2 picture (stride 2 x width) of odd height and odd width, exactly as large as its
// rows: nothing past the last row's bytes is written.
TEST(SwordPlanesToYuy2, PackedOddSizesStayInsideThePicture)
{
    for (int width : {7, 9, 15}) {
        SCOPED_TRACE(width);
        const int height = 3;
        std::vector<SWORD> y(GetSwordPlaneStride(width) / 2 * height, 50), uv(y.size(), 60);
        GuardedBuffer out(static_cast<size_t>(2 * width * height));
        for (auto f : {ConvertY16UV16ToYUY2_mmx, ConvertY16UV16ToYUY2_sse2}) {
            ASSERT_EQ(S_OK, f(y.data(), uv.data(), GetSwordPlaneStride(width), out.Bytes(), 2 * width, width, height));
            EXPECT_EQ(50, out.Bytes()[2 * width * height - 2]);
            EXPECT_EQ(60, out.Bytes()[2 * width * height - 1]);
        }
    }
}

} // namespace
