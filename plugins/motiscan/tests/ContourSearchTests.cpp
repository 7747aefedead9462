// The contour search and the schedule on their own.
#include "Motiscan4.h"
#include "SwordBuffers.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

namespace {

// A plane of words at the very end of its allocation, so a read past its last row faults.
class GuardedPlane
{
public:
    GuardedPlane(int width, int height, int stride = 0)
        : m_width(width), m_height(height), m_stride(stride != 0 ? stride : 2 * width),
          m_buffer(static_cast<size_t>(m_stride) * height)
    {
        std::memset(m_buffer.Bytes(), 0, m_buffer.Size());
    }

    int16_t& At(int x, int y) { return reinterpret_cast<int16_t*>(m_buffer.Bytes() + y * m_stride)[x]; }
    void Fill(int left, int top, int right, int bottom, int16_t value)
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                At(x, y) = value;
    }
    ContourPlane Plane() { return {m_buffer.Words(), m_width, m_height, m_stride}; }

private:
    int m_width, m_height, m_stride;
    GuardedBuffer m_buffer;
};

class ContourSearch : public testing::Test
{
protected:
    HRESULT Search(GuardedPlane& plane, GuardedPlane& zone)
    {
        return SearchConture(plane.Plane(), zone.Plane(), m_contours, &m_count, m_work);
    }

    DynamicBoundsObject<Class_InfoCountore> m_contours;
    int32_t m_count = -1;
    ContourSearchWork m_work;
};

} // namespace

TEST_F(ContourSearch, MeasuresEachRegionAndClearsThePlane)
{
    GuardedPlane plane(20, 10);
    GuardedPlane zone(20, 10);
    plane.Fill(2, 2, 6, 5, -1);   // 4 x 3
    plane.At(6, 5) = -1;          // touches the first diagonally
    plane.Fill(12, 6, 14, 8, -1); // 2 x 2, apart
    zone.At(13, 7) = 1;
    ASSERT_EQ(Search(plane, zone), S_OK);
    ASSERT_EQ(m_count, 2);

    const Class_InfoCountore& first = m_contours.GetElement(0);
    // Rows 2-4 span 2..5 each, row 5 spans 6..6: 13 samples.
    EXPECT_FLOAT_EQ(first.m_area, 13.0f / 200);
    EXPECT_FLOAT_EQ(first.m_center_x, (3 * 7 + 12) / 8.0f / 20);
    EXPECT_FLOAT_EQ(first.m_center_y, (2 + 3 + 4 + 5) / 4.0f / 10);
    EXPECT_EQ(first.m_flags[2], 0);
    const Class_InfoCountore& second = m_contours.GetElement(1);
    EXPECT_FLOAT_EQ(second.m_area, 4.0f / 200);
    EXPECT_EQ(second.m_flags[2], 1) << "a zone sample under the region";
    EXPECT_GE(m_contours.GetCount(), 32u) << "the list grows by 32";

    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(plane.At(x, y), 0) << x << "," << y;
}

TEST_F(ContourSearch, OutlineRunsDownTheLeftAndUpTheRightAndIsClosed)
{
    GuardedPlane plane(16, 16);
    GuardedPlane zone(16, 16);
    // A diamond: every row turns, so the thinning keeps its corners.
    const std::pair<int, int> spans[] = {{7, 7}, {6, 8}, {5, 9}, {6, 8}, {7, 7}};
    for (int k = 0; k < 5; ++k)
        plane.Fill(spans[k].first, 4 + k, spans[k].second + 1, 5 + k, -1);
    ASSERT_EQ(Search(plane, zone), S_OK);
    ASSERT_EQ(m_count, 1);
    const DynamicBoundsObject<InfoCountorePoint>& outline = m_contours.GetElement(0).m_points;
    ASSERT_GE(outline.GetCount(), 3u);
    const InfoCountorePoint first = outline.GetElement(0);
    const InfoCountorePoint last = outline.GetElement(outline.GetCount() - 1);
    EXPECT_FLOAT_EQ(first.m_x, 7.0f / 16);
    EXPECT_FLOAT_EQ(first.m_y, 4.0f / 16);
    EXPECT_EQ(last.m_x, first.m_x);
    EXPECT_EQ(last.m_y, first.m_y);
    bool reachesLeft = false, reachesRight = false;
    for (uint32_t i = 0; i < outline.GetCount(); ++i) {
        reachesLeft |= outline.GetElement(i).m_x == 5.0f / 16;
        reachesRight |= outline.GetElement(i).m_x == 9.0f / 16;
    }
    EXPECT_TRUE(reachesLeft);
    EXPECT_TRUE(reachesRight);
}

TEST_F(ContourSearch, RowSpansCountTheirHoles)
{
    GuardedPlane plane(12, 8);
    GuardedPlane zone(12, 8);
    // A ring: its middle row spans the hole.
    plane.Fill(3, 2, 8, 3, -1);
    plane.At(3, 3) = -1;
    plane.At(7, 3) = -1;
    plane.Fill(3, 4, 8, 5, -1);
    ASSERT_EQ(Search(plane, zone), S_OK);
    ASSERT_EQ(m_count, 1);
    EXPECT_FLOAT_EQ(m_contours.GetElement(0).m_area, 15.0f / 96);
}

// Mend: the search stays inside the planes it is given.
TEST_F(ContourSearch, RefusesWhatWouldLeaveThePlanes)
{
    const struct
    {
        const char* what;
        int left, top, right, bottom;
    } regions[] = {
        {"reaches the last column", 9, 3, 12, 5},
        {"reaches the last row", 4, 5, 6, 8},
        {"reaches the first column", 0, 3, 2, 5},
    };
    for (const auto& r : regions) {
        GuardedPlane plane(12, 8);
        GuardedPlane zone(12, 8);
        plane.Fill(r.left, r.top, r.right, r.bottom, -1);
        EXPECT_EQ(Search(plane, zone), E_UNEXPECTED) << r.what;
    }

    GuardedPlane plane(12, 8);
    plane.Fill(4, 3, 6, 5, -1);
    GuardedPlane narrowZone(11, 8);
    GuardedPlane lowZone(12, 7);
    EXPECT_EQ(Search(plane, narrowZone), E_UNEXPECTED);
    EXPECT_EQ(Search(plane, lowZone), E_UNEXPECTED);
    GuardedPlane shortRows(12, 8, 22);
    EXPECT_EQ(Search(shortRows, lowZone), E_UNEXPECTED);
    GuardedPlane tiny(2, 8);
    EXPECT_EQ(Search(tiny, plane), E_UNEXPECTED);
    EXPECT_EQ(SearchConture(ContourPlane{}, plane.Plane(), m_contours, &m_count, m_work), E_INVALIDARG);
    EXPECT_EQ(SearchConture(plane.Plane(), ContourPlane{}, m_contours, &m_count, m_work), E_INVALIDARG);
    EXPECT_EQ(SearchConture(plane.Plane(), plane.Plane(), m_contours, nullptr, m_work), E_INVALIDARG);
}

TEST(MotiscanSchedule, HourOfWeekStartsOnMonday)
{
    const struct
    {
        WORD dayOfWeek, hour;
        uint32_t index;
    } cases[] = {{1, 0, 0}, {1, 23, 23}, {2, 0, 24}, {6, 12, 132}, {0, 0, 144}, {0, 23, 167}};
    for (const auto& c : cases) {
        SYSTEMTIME time = {};
        time.wDayOfWeek = c.dayOfWeek;
        time.wHour = c.hour;
        EXPECT_EQ(HourOfWeek(time), c.index) << c.dayOfWeek << " " << c.hour;
    }
}

TEST(MotiscanSchedule, LevelSwitchesAtTheHourBoundary)
{
    StructFormatGraph1 settings;
    SYSTEMTIME wednesdayNine = {};
    wednesdayNine.wDayOfWeek = 3;
    wednesdayNine.wHour = 9;
    settings.schedule[HourOfWeek(wednesdayNine)] = 0x32; // level 2
    settings.schedule[167] = 0x24;                      // Sunday 23:00: level 1
    const struct
    {
        WORD dayOfWeek, hour, minute;
        int32_t level;
    } cases[] = {{3, 8, 59, 0}, {3, 9, 0, 2}, {3, 9, 59, 2}, {3, 10, 0, 0}, {0, 22, 59, 0}, {0, 23, 0, 1}, {1, 0, 0, 0}};
    for (const auto& c : cases) {
        SYSTEMTIME time = {};
        time.wDayOfWeek = c.dayOfWeek;
        time.wHour = c.hour;
        time.wMinute = c.minute;
        EXPECT_EQ(ScheduledLevel(settings, time), c.level) << c.dayOfWeek << " " << c.hour << ":" << c.minute;
    }
}
