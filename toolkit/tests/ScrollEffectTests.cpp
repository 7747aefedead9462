// The two scrolling backgrounds and the action callbacks' argument check.
#include "ScrollBufferEffectsUserInterface2.h"

#include "InfoActionUserInterface2.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

constexpr int32_t Width = 100;
constexpr int32_t Height = 8;

int16_t* RowOf(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t y)
{
    return buffer.m_rgb_buffers.GetElement(plane) + y * buffer.m_byte_stride / 2;
}

// Every sample of row y is y + 100 x plane + 1000.
void NumberRows(InfoGeneralBufferForUserInterface2& buffer)
{
    buffer.ResizeBuffer(Width, Height);
    for (uint32_t plane = 0; plane < 3; ++plane)
        for (int32_t y = 0; y < Height; ++y)
            std::fill_n(RowOf(buffer, plane, y), Width, static_cast<int16_t>(1000 + 100 * plane + y));
    buffer.ClearChanged();
}

bool RowIsNumbered(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t y, int32_t number)
{
    const int16_t* row = RowOf(buffer, plane, y);
    return std::all_of(row, row + Width, [&](int16_t v) { return v == 1000 + 100 * static_cast<int32_t>(plane) + number; });
}

int32_t LitPoints(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t y)
{
    const int16_t* row = RowOf(buffer, plane, y);
    return static_cast<int32_t>(std::count_if(row, row + Width, [](int16_t v) { return v != 0; }));
}

// The caller's three row buffers, in the library's memory.
struct RowBuffers
{
    ~RowBuffers()
    {
        for (int16_t*& row : rows)
            SAFE_TASK_FREE(&row);
    }
    int16_t* rows[3] = {};
    int32_t width = 0;
};

HRESULT FailingReallocation(int16_t**, uint64_t)
{
    return E_OUTOFMEMORY;
}

} // namespace

TEST(ScrollBufferByTime, RowsDueByTheTimePassed)
{
    struct Case
    {
        int64_t elapsed;
        HRESULT result;
        int32_t rows;
    };
    // 10 rows a second; 60 s count as 5 s, and never more than height - 1 rows move.
    for (const Case& c : {Case{250, S_OK, 2}, Case{50, S_FALSE, 0}, Case{60000, S_OK, Height - 1},
                          Case{-500, S_FALSE, 0}}) {
        SCOPED_TRACE(c.elapsed);
        InfoGeneralBufferForUserInterface2 buffer;
        NumberRows(buffer);
        int64_t last = 100000;
        EXPECT_EQ(FunctScrollBufferByTime(&buffer, 1, last + c.elapsed, &last, 10.0f), c.result);
        EXPECT_EQ(last, c.rows > 0 ? 100000 + c.elapsed : 100000);
        EXPECT_EQ(buffer.IsChanged(), c.rows > 0 ? 1u : 0u);
        for (uint32_t plane = 0; plane < 3; ++plane) {
            for (int32_t y = 0; y < c.rows; ++y) {
                const int16_t* row = RowOf(buffer, plane, y);
                EXPECT_TRUE(std::all_of(row, row + Width, [](int16_t v) { return v >= 0 && v <= 63; }));
            }
            for (int32_t y = c.rows; y < Height; ++y)
                EXPECT_TRUE(RowIsNumbered(buffer, plane, y, y - c.rows)) << y;
        }
    }
    InfoGeneralBufferForUserInterface2 buffer;
    NumberRows(buffer);
    int64_t last = 0;
    EXPECT_EQ(FunctScrollBufferByTime(&buffer, 0, 1000, &last, 10.0f), S_FALSE); // not applied
    EXPECT_EQ(last, 0);
}

TEST(ScrollBufferByTime, RefusesWhatItCannotScroll)
{
    InfoGeneralBufferForUserInterface2 empty;
    int64_t last = 0;
    EXPECT_EQ(FunctScrollBufferByTime(nullptr, 1, 1000, &last, 10.0f), E_INVALIDARG);
    EXPECT_EQ(FunctScrollBufferByTime(&empty, 1, 1000, nullptr, 10.0f), E_INVALIDARG);
    EXPECT_EQ(FunctScrollBufferByTime(&empty, 1, 1000, &last, 10.0f), E_UNEXPECTED);
    RowBuffers rows;
    const uint8_t mask[3] = {1, 1, 1};
    EXPECT_EQ(FunctScrollBufferWithTrailsByTime(&empty, rows.rows, &rows.width, mask, 1, 1000, &last, 10.0f, 5, 10),
              E_UNEXPECTED);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(empty.IsChanged(), 0u);
}

TEST(ScrollBufferWithTrails, LitPointsAndChannels)
{
    struct Case
    {
        int32_t trailCount;
        int32_t lit;
    };
    // A decay of 255 clears the row buffer, so each new row holds exactly the target.
    for (const Case& c : {Case{1000, 90}, Case{7, 7}, Case{-3, 0}}) {
        SCOPED_TRACE(c.trailCount);
        InfoGeneralBufferForUserInterface2 buffer;
        NumberRows(buffer);
        RowBuffers rows;
        const uint8_t mask[3] = {1, 0, 0};
        int64_t last = 0;
        ASSERT_EQ(FunctScrollBufferWithTrailsByTime(&buffer, rows.rows, &rows.width, mask, 1, 300, &last, 10.0f,
                                                    c.trailCount, 255),
                  S_OK);
        EXPECT_EQ(rows.width, Width);
        for (int32_t y = 0; y < 3; ++y)
            EXPECT_EQ(LitPoints(buffer, 0, y), c.lit) << y;
        EXPECT_TRUE(RowIsNumbered(buffer, 0, 3, 0));
        // The other planes are not even shifted.
        for (uint32_t plane = 1; plane < 3; ++plane)
            for (int32_t y = 0; y < Height; ++y)
                EXPECT_TRUE(RowIsNumbered(buffer, plane, y, y));
    }
}

TEST(ScrollBufferWithTrails, RowBuffersGrowWithZerosOrNothingIsWritten)
{
    InfoGeneralBufferForUserInterface2 buffer;
    NumberRows(buffer);
    RowBuffers rows;
    ASSERT_EQ(SAFE_TASK_ALLOC(&rows.rows[0], 4), S_OK);
    ASSERT_EQ(SAFE_TASK_ALLOC(&rows.rows[1], 4), S_OK);
    ASSERT_EQ(SAFE_TASK_ALLOC(&rows.rows[2], 4), S_OK);
    rows.rows[0][0] = rows.rows[0][1] = 200;
    rows.width = 2;
    const uint8_t mask[3] = {1, 1, 1};
    int64_t last = 0;
    SetRowBufferReallocationForTest(&FailingReallocation);
    EXPECT_EQ(FunctScrollBufferWithTrailsByTime(&buffer, rows.rows, &rows.width, mask, 1, 100, &last, 10.0f, 0, 0),
              E_FAIL);
    SetRowBufferReallocationForTest(nullptr);
    EXPECT_EQ(last, 0);
    EXPECT_EQ(buffer.IsChanged(), 0u);
    EXPECT_EQ(rows.width, 2);
    for (int32_t y = 0; y < Height; ++y)
        EXPECT_TRUE(RowIsNumbered(buffer, 0, y, y));
    // Grown: the two kept points fade by the decay, the new entries are dark.
    ASSERT_EQ(FunctScrollBufferWithTrailsByTime(&buffer, rows.rows, &rows.width, mask, 1, 100, &last, 10.0f, 0, 50),
              S_OK);
    EXPECT_EQ(rows.width, Width);
    const int16_t* row = RowOf(buffer, 0, 0);
    EXPECT_EQ(row[0], 150);
    EXPECT_EQ(row[1], 150);
    EXPECT_TRUE(std::all_of(row + 2, row + Width, [](int16_t v) { return v == 0; }));
}

TEST(CheckParamActionFunction, Cases)
{
    HookRecord record;
    TestWidget widget(record);
    EXPECT_EQ(CheckParamActionFunction(&widget, 0, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(CheckParamActionFunction(&widget, 7, 63, 5, 1, 2), S_OK);
    EXPECT_EQ(CheckParamActionFunction(nullptr, 0, 0, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CheckParamActionFunction(&widget, 0, 64, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CheckParamActionFunction(&widget, 0, -1, 0, 0, 0), E_FAIL);
    EXPECT_EQ(CheckParamActionFunction(&widget, 0, 0, -1, 0, 0), E_FAIL);
}
