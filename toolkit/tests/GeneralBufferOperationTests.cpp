#include "InfoGeneralBufferForUserInterface2.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

int16_t& At(InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t x, int32_t y)
{
    return buffer.m_rgb_buffers.GetElement(plane)[y * buffer.m_byte_stride / 2 + x];
}

// Sizes the buffer and numbers sample (x, y) of plane p as p * 1000 + y * 100 + x; unchanged.
void Number(InfoGeneralBufferForUserInterface2& buffer, int32_t width, int32_t height)
{
    buffer.ResizeBuffer(width, height);
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (int32_t y = 0; y < height; ++y)
            for (int32_t x = 0; x < width; ++x)
                At(buffer, plane, x, y) = static_cast<int16_t>(plane * 1000 + y * 100 + x);
    buffer.ClearChanged();
}

// Row y of plane 0 as numbers.
std::vector<int16_t> RowOf(InfoGeneralBufferForUserInterface2& buffer, int32_t y)
{
    const int16_t* row = &At(buffer, 0, 0, y);
    return {row, row + buffer.m_width_element};
}

} // namespace

TEST(GeneralBufferOperations, CheckBuffer)
{
    InfoGeneralBufferForUserInterface2 buffer;
    EXPECT_EQ(buffer.CheckBuffer(), E_FAIL); // no planes
    ASSERT_EQ(buffer.ResizeBuffer(0, 0), S_OK);
    EXPECT_EQ(buffer.m_max_size_byte_buffer, 16);
    EXPECT_EQ(buffer.CheckBuffer(), S_FALSE);
    ASSERT_EQ(buffer.ResizeBuffer(4, 4), S_OK);
    EXPECT_EQ(buffer.CheckBuffer(), S_OK);
    buffer.m_height_element = 6; // rows beyond the planes
    EXPECT_EQ(buffer.CheckBuffer(), E_FAIL);
}

TEST(GeneralBufferOperations, CheckRegion)
{
    InfoGeneralBufferForUserInterface2 buffer;
    ASSERT_EQ(buffer.ResizeBuffer(16, 1), S_OK); // stride 32, 48 bytes a plane
    struct Case
    {
        int32_t m_offset, m_stride, m_width, m_height;
        HRESULT m_result;
    };
    const Case cases[] = {
        {0, 16, 8, 1, S_OK},         {0, 16, 9, 1, E_UNEXPECTED}, {0, 32, 16, 1, S_OK},
        {16, 32, 16, 1, S_OK},       {17, 32, 16, 1, E_FAIL},     {0, 16, 8, 3, S_OK},
        {0, 16, 8, 4, E_FAIL},       {48, 16, 1, 1, E_UNEXPECTED}, {-1, 16, 8, 1, E_UNEXPECTED},
        {0, 0, 8, 1, E_UNEXPECTED},  {0, 16, 0, 1, E_UNEXPECTED}, {0, 16, 8, 0, E_UNEXPECTED},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m_offset << " " << c.m_stride << " " << c.m_width << " " << c.m_height);
        EXPECT_EQ(buffer.CheckRegion(c.m_offset, c.m_stride, c.m_width, c.m_height), c.m_result);
    }
}

TEST(GeneralBufferOperations, FillByPlaneMask)
{
    for (uint8_t mask : {0, 1, 5, 7}) {
        SCOPED_TRACE(static_cast<int>(mask));
        InfoGeneralBufferForUserInterface2 buffer;
        Number(buffer, 5, 3);
        EXPECT_EQ(buffer.FillBuffers(mask, 0x12), S_OK);
        EXPECT_EQ(buffer.IsChanged(), 1u);
        for (uint32_t plane = 0; plane < 3; ++plane) {
            const auto* bytes = reinterpret_cast<const uint8_t*>(buffer.m_rgb_buffers.GetElement(plane));
            const bool filled = (mask >> plane) & 1;
            if (filled) {
                for (int32_t i = 0; i < buffer.m_max_size_byte_buffer; ++i) // the spare bytes too
                    ASSERT_EQ(bytes[i], 0x12) << "plane " << plane << " byte " << i;
            } else {
                EXPECT_EQ(At(buffer, plane, 4, 2), static_cast<int16_t>(plane * 1000 + 204));
            }
        }
    }
}

TEST(GeneralBufferOperations, RandomFillRanges)
{
    struct Case
    {
        int32_t m_first_row, m_last_row, m_first_column, m_end_column;
        int32_t m_rows_from, m_rows_to, m_columns_from, m_columns_end; // the area that changes
    };
    const Case cases[] = {
        {-1, -1, -1, -1, 0, 5, 0, 9},
        {1, 2, 3, 5, 1, 2, 3, 5},
        {-7, 100, 4, 100, 0, 5, 4, 9}, // clamped into the picture
    };
    std::srand(7);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m_first_row << " " << c.m_last_row << " " << c.m_first_column);
        InfoGeneralBufferForUserInterface2 buffer;
        ASSERT_EQ(buffer.ResizeBuffer(9, 6), S_OK);
        buffer.FillBuffers(7, 0xFF); // every sample -1: outside 0..255
        ASSERT_EQ(buffer.RandomFill(c.m_first_row, c.m_last_row, c.m_first_column, c.m_end_column), S_OK);
        int changedNotZero = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            for (int32_t y = 0; y < 6; ++y)
                for (int32_t x = 0; x < 9; ++x) {
                    const int16_t sample = At(buffer, plane, x, y);
                    const bool inside = y >= c.m_rows_from && y <= c.m_rows_to && x >= c.m_columns_from &&
                                        x < c.m_columns_end;
                    if (inside) {
                        EXPECT_TRUE(sample >= 0 && sample <= 255) << x << ", " << y;
                        changedNotZero += sample != 0;
                    } else {
                        EXPECT_EQ(sample, -1) << x << ", " << y;
                    }
                }
        EXPECT_GT(changedNotZero, 0);
    }
    InfoGeneralBufferForUserInterface2 empty;
    empty.ResizeBuffer(0, 4);
    EXPECT_EQ(empty.RandomFill(-1, -1, -1, -1), S_FALSE);
}

TEST(GeneralBufferOperations, VerticalLinesSetOrAddWithWrapAround)
{
    InfoGeneralBufferForUserInterface2 buffer;
    Number(buffer, 4, 5);
    At(buffer, 0, 2, 3) = 0x7FFF;
    EXPECT_EQ(buffer.DrawVerticalLine(2, 3, 1, RGB(1, 2, 3), true), S_OK); // rows in either order
    EXPECT_EQ(At(buffer, 0, 2, 1), 102 + 1);
    EXPECT_EQ(At(buffer, 1, 2, 2), 1202 + 2);
    EXPECT_EQ(At(buffer, 0, 2, 3), -32768); // wrapped
    EXPECT_EQ(At(buffer, 2, 2, 0), 2002);   // outside the line
    EXPECT_EQ(At(buffer, 2, 2, 4), 2402);
    EXPECT_EQ(buffer.IsChanged(), 1u);

    EXPECT_EQ(buffer.DrawVerticalLine(0, 0, 4, RGB(200, 0, 7), false), S_OK);
    for (int32_t y = 0; y < 5; ++y) {
        EXPECT_EQ(At(buffer, 0, 0, y), 200);
        EXPECT_EQ(At(buffer, 2, 0, y), 7);
    }
    for (const auto& [x, y1, y2] : {std::tuple{4, 0, 0}, std::tuple{-1, 0, 0}, std::tuple{0, 5, 0}, std::tuple{0, 0, -1}})
        EXPECT_EQ(buffer.DrawVerticalLine(x, y1, y2, 0, false), E_UNEXPECTED);
}

TEST(GeneralBufferOperations, HorizontalShifts)
{
    InfoGeneralBufferForUserInterface2 buffer;
    Number(buffer, 5, 2);
    EXPECT_EQ(buffer.ShiftHorizontal(2), S_OK);
    EXPECT_EQ(RowOf(buffer, 1), (std::vector<int16_t>{100, 101, 100, 101, 102}));
    EXPECT_EQ(At(buffer, 2, 4, 0), 2002);
    EXPECT_EQ(buffer.IsChanged(), 1u);
    EXPECT_EQ(buffer.ShiftHorizontal(-3), S_OK);
    EXPECT_EQ(RowOf(buffer, 1), (std::vector<int16_t>{101, 102, 100, 101, 102}));
    EXPECT_EQ(buffer.ShiftHorizontal(0), E_UNEXPECTED);
    EXPECT_EQ(buffer.ShiftHorizontal(5), E_FAIL);
    EXPECT_EQ(buffer.ShiftHorizontal(-5), E_FAIL);
    InfoGeneralBufferForUserInterface2 empty;
    EXPECT_EQ(empty.ShiftHorizontal(1), E_FAIL); // no width
}

TEST(GeneralBufferOperations, VerticalShifts)
{
    // Rows 2..4 up by 2: copied top first, so overlapping rows are read before they are written.
    InfoGeneralBufferForUserInterface2 up;
    Number(up, 3, 6);
    EXPECT_EQ(up.ShiftVertical(2, 3, 2, 0, -1), S_OK);
    EXPECT_EQ(RowOf(up, 0), (std::vector<int16_t>{200, 201, 202}));
    EXPECT_EQ(RowOf(up, 2), (std::vector<int16_t>{400, 401, 402}));
    EXPECT_EQ(RowOf(up, 4), (std::vector<int16_t>{400, 401, 402})); // vacated rows keep their values
    EXPECT_EQ(At(up, 2, 1, 1), 2301);
    EXPECT_EQ(up.IsChanged(), 1u);

    // Rows 3, 2, 1 down by 2 (bottom first), in column 1 only.
    InfoGeneralBufferForUserInterface2 down;
    Number(down, 3, 6);
    EXPECT_EQ(down.ShiftVertical(3, 3, -2, 1, 1), S_OK);
    EXPECT_EQ(RowOf(down, 5), (std::vector<int16_t>{500, 301, 502}));
    EXPECT_EQ(RowOf(down, 3), (std::vector<int16_t>{300, 101, 302}));
    EXPECT_EQ(RowOf(down, 1), (std::vector<int16_t>{100, 101, 102}));

    InfoGeneralBufferForUserInterface2 refused;
    Number(refused, 3, 6);
    EXPECT_EQ(refused.ShiftVertical(0, 6, 1, 0, -1), E_FAIL);  // row count of the height
    EXPECT_EQ(refused.ShiftVertical(0, 2, -6, 0, -1), E_FAIL); // shift of the height
    EXPECT_EQ(refused.ShiftVertical(4, 3, 1, 0, -1), E_FAIL);  // row 6 would be read
    InfoGeneralBufferForUserInterface2 empty;
    EXPECT_EQ(empty.ShiftVertical(0, 1, 1, 0, -1), S_FALSE);
}

TEST(GeneralBufferOperations, CopyPlaneToOthers)
{
    InfoGeneralBufferForUserInterface2 buffer;
    Number(buffer, 4, 3);
    EXPECT_EQ(buffer.CopyPlaneToOthers(1), S_OK);
    for (uint32_t plane : {0u, 2u})
        EXPECT_EQ(At(buffer, plane, 3, 2), 1203);
    EXPECT_EQ(buffer.IsChanged(), 1u);
    EXPECT_EQ(buffer.CopyPlaneToOthers(3), E_UNEXPECTED);
    InfoGeneralBufferForUserInterface2 empty;
    EXPECT_EQ(empty.CopyPlaneToOthers(0), S_FALSE);
}

TEST(GeneralBufferOperations, ValueChecksLookAtThePictureOnly)
{
    LogCapture log;
    InfoGeneralBufferForUserInterface2 buffer;
    Number(buffer, 3, 2); // stride 16: columns 3..7 are padding
    At(buffer, 1, 5, 1) = -1;
    At(buffer, 2, 6, 0) = 9999;
    EXPECT_EQ(buffer.CheckBufferForNegativeValue(), S_OK);
    EXPECT_EQ(buffer.CheckBufferForLargeRelativeValue(2102), S_OK);
    EXPECT_EQ(buffer.CheckBufferForLargeRelativeValue(2101), S_FALSE);
    At(buffer, 0, 2, 1) = -3;
    EXPECT_EQ(buffer.CheckBufferForNegativeValue(), S_FALSE);
    EXPECT_TRUE(log.Contains("CheckBufferForNegativeValue::CheckBufferForNegativeValue::begin"));
    EXPECT_TRUE(log.Contains("CheckBufferForNegativeValue::CheckBufferForLargeRelativeValue::begin"));
    EXPECT_EQ(buffer.CheckMemoryBuffers(), S_OK);
}

TEST(GeneralBufferOperations, DumpInfo)
{
    LogCapture log;
    InfoGeneralBufferForUserInterface2 buffer;
    Number(buffer, 9, 2);
    EXPECT_EQ(buffer.DumpInfo(0), S_OK);
    EXPECT_TRUE(log.Contains("InfoGeneralBufferForUserInterface2::DumpInfo::m_max_size_byte_buffer=80 "
                             "m_height_element=2 m_width_element=9 m_byte_stride=32 m_last_time_update_buffer=0"));
    EXPECT_FALSE(log.Contains("m_status_buffer="));
    EXPECT_EQ(buffer.DumpInfo(1), S_OK);
    EXPECT_TRUE(log.Contains("m_status_buffer=0"));
    EXPECT_TRUE(log.Contains("m_rgb_buffers[ 0 ]="));
}
