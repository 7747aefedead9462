// The grey conversion of YUY2 rows: the SSE2 variant against the plain one, and the plain
// pixel formulas.
#include "GreyConversion.h"

#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

namespace {

TEST(GreyConversion, Sse2RowEqualsThePlainRowForEveryWidthAndStart)
{
    std::mt19937 random(29);
    for (const int32_t width : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 31, 33, 90, 721, 1920}) {
        for (const size_t misalignment : {0, 1, 3}) {
            SCOPED_TRACE(testing::Message() << width << " +" << misalignment);
            // Sources and targets end at an inaccessible page: reading or writing past faults.
            GuardedBuffer source(2 * static_cast<size_t>(width) + misalignment);
            source.FillRandom(random);
            GuardedBuffer plain(4 * static_cast<size_t>(width) + misalignment);
            GuardedBuffer sse2(4 * static_cast<size_t>(width) + misalignment);
            GreyRowRGB32_c(source.Bytes() + misalignment, plain.Bytes() + misalignment, width);
            GreyRowRGB32_sse2(source.Bytes() + misalignment, sse2.Bytes() + misalignment, width);
            ASSERT_EQ(std::memcmp(plain.Bytes() + misalignment, sse2.Bytes() + misalignment, 4 * static_cast<size_t>(width)), 0);
            uint32_t last = 0;
            std::memcpy(&last, plain.Bytes() + misalignment + 4 * (width - 1), sizeof(last));
            EXPECT_EQ(last, source.Bytes()[misalignment + 2 * (width - 1)] * 0x01010101u);
        }
    }
}

TEST(GreyConversion, PlainFormulasOfEachSurfaceFormat)
{
    const BYTE yuy2[] = {0, 128, 255, 128, 100, 128};
    BYTE rgb24[9];
    GreyRowRGB24_c(yuy2, rgb24, 3);
    const BYTE expected24[] = {0, 0, 0, 255, 255, 255, 100, 100, 100};
    EXPECT_EQ(std::memcmp(rgb24, expected24, sizeof(rgb24)), 0);

    uint16_t rgb565[3];
    GreyRowRGB565_c(yuy2, reinterpret_cast<BYTE*>(rgb565), 3);
    EXPECT_EQ(rgb565[0], 0);
    EXPECT_EQ(rgb565[1], (30 << 11) | (62 << 5) | 30);
    EXPECT_EQ(rgb565[2], (12 << 11) | (24 << 5) | 12);
}

TEST(GreyConversion, PictureStepsRowsByTheTargetPitchAndLeavesOtherFormats)
{
    const int32_t width = 5, rows = 3, pitch = 4 * width + 12;
    std::vector<BYTE> source(2 * width * rows, 77);
    std::vector<BYTE> target(static_cast<size_t>(pitch) * rows, 0xEE);
    ASSERT_EQ(ConvertYUY2ToGrey(source.data(), 2 * width, target.data(), pitch, width, rows, 32), S_OK);
    for (int32_t row = 0; row < rows; ++row) {
        EXPECT_EQ(target[static_cast<size_t>(row) * pitch + 4 * width - 1], 77) << row;
        EXPECT_EQ(target[static_cast<size_t>(row) * pitch + 4 * width], 0xEE) << row;
    }
    EXPECT_EQ(ConvertYUY2ToGrey(source.data(), 2 * width, target.data(), pitch, width, rows, 8), S_FALSE);
    EXPECT_EQ(SelectGreyRow(8), nullptr);
}

} // namespace
