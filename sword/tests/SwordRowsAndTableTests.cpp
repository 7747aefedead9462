// Plane model rules, the operation table per processor mode, and the row helpers.
#include "OptimFunctionUnifProcessSWORD.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <numeric>
#include <vector>

namespace {

TEST(SwordPlaneModel, StrideRuleRowWalkAndKernelScale)
{
    const std::pair<int, int> strides[] = {{1, 16}, {3, 16}, {7, 16}, {8, 16}, {9, 32}, {16, 32}, {17, 48}, {640, 1280}};
    for (auto [width, stride] : strides)
        EXPECT_EQ(stride, GetSwordPlaneStride(width)) << width;

    SwordRowWalk walk = GetSwordRowWalkRoundingUp(1, 8, 32, 48);
    EXPECT_EQ(16, walk.bytesPerRow);
    EXPECT_EQ(16, walk.stepA);
    EXPECT_EQ(32, walk.stepB);
    EXPECT_EQ(24, GetSwordRowWalkRoundingUp(9, 4, 32, 32).bytesPerRow);
    EXPECT_EQ(16, GetSwordRowWalkRoundingDown(9, 4, 32, 32).bytesPerRow);
    EXPECT_EQ(8, GetSwordRowWalkRoundingDown(3, 4, 32, 32).bytesPerRow);

    const std::array<SWORD, 9> ones = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    const std::array<SWORD, 9> three = {0, 1, 0, 1, 0, 1, 0, 0, 0};
    const std::array<SWORD, 9> zeroSum = {-1, -1, -1, -1, 8, -1, -1, -1, -1};
    const std::array<SWORD, 9> wraps = {20000, 20000, 0, 0, 0, 0, 0, 0, 0}; // 16-bit sum is negative
    EXPECT_EQ(1820, GetNormalizeKoeffSvertka3x3(ones.data()));
    EXPECT_EQ(5461, GetNormalizeKoeffSvertka3x3(three.data()));
    EXPECT_EQ(16384, GetNormalizeKoeffSvertka3x3(zeroSum.data()));
    EXPECT_EQ(16384, GetNormalizeKoeffSvertka3x3(wraps.data()));
}

TEST(SwordRows, PaddingRepeatsTheRowStart)
{
    BYTE plane[2 * 12];
    std::iota(plane, plane + sizeof(plane), BYTE{0});
    ASSERT_EQ(S_OK, FillRowPaddingSWORD(plane, 8, 2, 12));
    const BYTE expected[24] = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 2, 3, 12, 13, 14, 15, 16, 17, 18, 19, 12, 13, 14, 15};
    EXPECT_EQ(0, std::memcmp(expected, plane, sizeof(plane)));
    EXPECT_EQ(S_FALSE, FillRowPaddingSWORD(plane, 12, 2, 12));
    EXPECT_EQ(E_INVALIDARG, FillRowPaddingSWORD(nullptr, 8, 2, 12));
    EXPECT_EQ(E_UNEXPECTED, FillRowPaddingSWORD(plane, 13, 2, 12));
    EXPECT_EQ(E_UNEXPECTED, FillRowPaddingSWORD(plane, 8, 0, 12));
}

TEST(SwordRows, PlaneCopyBetweenStrides)
{
    // Equal strides: the block ends with the last row's used bytes, where the guarded buffer ends.
    const int rows = 3, stride = 16, used = 10;
    GuardedBuffer source((rows - 1) * stride + used), destination((rows - 1) * stride + used);
    std::mt19937 random(21);
    source.FillRandom(random);
    ASSERT_EQ(S_OK, CopyPlaneSWORD(source.Bytes(), destination.Bytes(), used, rows, stride, stride));
    EXPECT_EQ(0, std::memcmp(source.Bytes(), destination.Bytes(), source.Size()));

    // Wider destination: rows copied, padding repeats each row's start.
    BYTE narrow[2 * 4] = {1, 2, 3, 4, 5, 6, 7, 8};
    BYTE wide[2 * 6] = {};
    ASSERT_EQ(S_OK, CopyPlaneSWORD(narrow, wide, 4, 2, 4, 6));
    const BYTE expected[12] = {1, 2, 3, 4, 1, 2, 5, 6, 7, 8, 5, 6};
    EXPECT_EQ(0, std::memcmp(expected, wide, sizeof(wide)));
    EXPECT_EQ(E_INVALIDARG, CopyPlaneSWORD(nullptr, wide, 4, 2, 4, 6));
    EXPECT_EQ(E_UNEXPECTED, CopyPlaneSWORD(narrow, wide, 5, 2, 4, 6));
}

TEST(SwordRows, ChangeRowStrideInPlaceBothWays)
{
    // Three rows of 3 bytes at stride 3 spread to stride 5 and packed back.
    BYTE picture[15] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    ASSERT_EQ(S_OK, ChangeRowStride(picture, picture, 3, 3, 3, 5));
    const BYTE spread[13] = {1, 2, 3, 4, 5, 4, 5, 6, 9, 0, 7, 8, 9};
    EXPECT_EQ(0, std::memcmp(spread, picture, 13));
    ASSERT_EQ(S_OK, ChangeRowStride(picture, picture, 3, 3, 5, 3));
    const BYTE packed[9] = {1, 2, 3, 4, 5, 6, 7, 8, 9};
    EXPECT_EQ(0, std::memcmp(packed, picture, 9));
    EXPECT_EQ(E_INVALIDARG, ChangeRowStride(nullptr, picture, 3, 3, 3, 5));
    EXPECT_EQ(E_UNEXPECTED, ChangeRowStride(picture, picture, 6, 3, 3, 5));
    EXPECT_EQ(E_UNEXPECTED, ChangeRowStride(picture, picture, 3, 0, 3, 5));
}

TEST(SwordRows, ShiftRowsDownAndUp)
{
    BYTE plane[4 * 2] = {1, 1, 2, 2, 3, 3, 4, 4};
    ASSERT_EQ(S_OK, ShiftPlaneRows(plane, 4, 2, -1));
    const BYTE down[8] = {1, 1, 1, 1, 2, 2, 3, 3};
    EXPECT_EQ(0, std::memcmp(down, plane, 8));
    ASSERT_EQ(S_OK, ShiftPlaneRows(plane, 4, 2, 2));
    const BYTE up[8] = {2, 2, 3, 3, 2, 2, 3, 3};
    EXPECT_EQ(0, std::memcmp(up, plane, 8));
    EXPECT_EQ(E_INVALIDARG, ShiftPlaneRows(nullptr, 4, 2, 1));
    EXPECT_EQ(E_UNEXPECTED, ShiftPlaneRows(plane, 4, 2, 0));
    EXPECT_EQ(E_UNEXPECTED, ShiftPlaneRows(plane, 4, 2, -4));
    EXPECT_EQ(E_UNEXPECTED, ShiftPlaneRows(plane, 4, 0, 1));
}

TEST(SwordTestDrawing, BlackFrameGreenInsetRedText)
{
    const int width = 240, height = 80;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    ASSERT_NE(nullptr, context);
    HBITMAP bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(nullptr, bitmap);
    HGDIOBJ previous = SelectObject(context, bitmap);
    std::memset(bits, 0x55, static_cast<size_t>(width) * height * 4);

    EXPECT_EQ(S_OK, FunctConvertRGB32toR16G16B16Format(context, width, height));
    GdiFlush();
    const auto pixel = [&](int x, int y) { return static_cast<const uint32_t*>(bits)[y * width + x] & 0xFFFFFF; };
    EXPECT_EQ(0x000000u, pixel(5, 5));
    EXPECT_EQ(0x00FF00u, pixel(22, 22));
    bool red = false;
    for (int y = 20; y < height - 20; ++y)
        for (int x = 20; x < width - 20; ++x)
            red = red || pixel(x, y) == 0xFF0000u;
    EXPECT_TRUE(red);
    EXPECT_EQ(E_INVALIDARG, FunctConvertRGB32toR16G16B16Format(nullptr, width, height));
    EXPECT_EQ(E_UNEXPECTED, FunctConvertRGB32toR16G16B16Format(context, 0, height));

    SelectObject(context, previous);
    DeleteObject(bitmap);
    DeleteDC(context);
}

} // namespace
