// The schedule position of a local time and the byte scrambling.
#include "CamwellFrameFunctions.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

SYSTEMTIME At(WORD dayOfWeek, WORD hour, WORD minute)
{
    SYSTEMTIME time = {};
    time.wYear = 2024;
    time.wDayOfWeek = dayOfWeek;
    time.wHour = hour;
    time.wMinute = minute;
    return time;
}

} // namespace

TEST(CamwellSchedule, HourIndexOfTheWeek)
{
    struct Case
    {
        WORD dayOfWeek; // 0 = Sunday
        WORD hour;
        WORD minute;
        int32_t index;
    };
    const Case cases[] = {
        {1, 0, 10, 0},    // Monday 00:10
        {1, 23, 59, 23},  // Monday 23:59
        {2, 0, 0, 24},    // Tuesday
        {6, 12, 0, 132},  // Saturday noon
        {0, 0, 0, 144},   // Sunday 00:00
        {0, 23, 30, 167}, // Sunday 23:30
        {9, 5, 0, 167},   // a day the calendar does not have
        {0, 30, 0, 167},  // an hour it does not have
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetScheduleHourIndex(At(c.dayOfWeek, c.hour, c.minute)), c.index)
            << c.dayOfWeek << " " << c.hour << ":" << c.minute;
}

TEST(CamwellSchedule, ByteGivesRowAndMode)
{
    struct Case
    {
        uint8_t value;
        int32_t row;
        uint8_t mode;
    };
    const Case cases[] = {{0x02, 0, 2}, {0x13, 0, 3}, {0x21, 1, 1}, {0x34, 2, 4}, {0xF4, 2, 4}, {0x00, 0, 0}};
    for (const Case& c : cases) {
        const InfoScheduleHourCamwell1 hour = DecodeScheduleByte(c.value);
        EXPECT_EQ(hour.m_row, c.row) << int(c.value);
        EXPECT_EQ(hour.m_mode, c.mode) << int(c.value);
    }
}

TEST(CamwellScrambling, TwiceRestoresAndNeedsTheKey)
{
    std::vector<BYTE> data(1000);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<BYTE>(i);
    const std::vector<BYTE> original = data;

    ASSERT_EQ(ScrambleDataCamwell1(1, data.data(), 999), S_OK);
    EXPECT_EQ(data[999], original[999]) << "nothing past the length";
    size_t changed = 0;
    for (size_t i = 0; i < 999; ++i)
        changed += data[i] != original[i];
    EXPECT_GT(changed, 900u);
    // The key repeats every 50 bytes.
    for (size_t i = 0; i + 50 < 999; ++i)
        EXPECT_EQ(data[i] ^ original[i], data[i + 50] ^ original[i + 50]) << i;
    ASSERT_EQ(ScrambleDataCamwell1(1, data.data(), 999), S_OK);
    EXPECT_EQ(data, original);

    EXPECT_EQ(ScrambleDataCamwell1(0, data.data(), 999), E_INVALIDARG);
    EXPECT_EQ(data, original);
    EXPECT_EQ(ScrambleDataCamwell1(1, nullptr, 999), S_OK);
}
