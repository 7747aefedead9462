// The harness pages "status" and "schedule": the strips and the grid come up where the page puts
// them, draw their skins and text, the texture moves, and a click on a cell reports the grid's id.
// Other test programs share the display, so every screen check waits for its condition.
#include "DemoProcess.h"

#include <gtest/gtest.h>


namespace {

struct Rgb
{
    int r;
    int g;
    int b;
};

Rgb MeanOf(const std::vector<uint32_t>& pixels)
{
    long r = 0, g = 0, b = 0;
    for (uint32_t pixel : pixels)
        r += pixel >> 16 & 255, g += pixel >> 8 & 255, b += pixel & 255;
    const long n = static_cast<long>(pixels.size());
    return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
}

// Pixels whose red and green are above 120: the text's light colour on the dark blue skins.
int TextPixels(const std::vector<uint32_t>& pixels)
{
    int count = 0;
    for (uint32_t pixel : pixels)
        count += (pixel >> 16 & 255) > 120 && (pixel >> 8 & 255) > 120;
    return count;
}

std::vector<uint32_t> Screen(const RECT& rect, int32_t top, int32_t bottom)
{
    return ScreenPixels(rect.left, rect.top + top, rect.right - rect.left, bottom - top);
}

TEST(StatusDemo, StatusPageShowsTheSplitAndTheWholeStripWithTheirText)
{
    DemoProcess demo("status");
    ASSERT_TRUE(demo.Started());
    const std::vector<ChildLine> children = demo.ReadChildren();
    ASSERT_EQ(children.size(), 2u);
    const RECT expected[2] = {{0, 0, 165, 100}, {165, 0, 330, 100}};
    for (uint32_t i = 0; i < 2; ++i) {
        EXPECT_EQ(children[i].m_kind, 4u);
        EXPECT_TRUE(EqualRect(&children[i].m_rect, &expected[i])) << i;
        EXPECT_TRUE(ShowsPicture(children[i].m_rect)) << i;
    }
    // The split strip: its bluish top skin above the darker bottom part with the text.
    const RECT& split = children[0].m_rect;
    EXPECT_TRUE(WaitFor([&] {
        const Rgb top = MeanOf(Screen(split, 2, 83)), bottom = MeanOf(Screen(split, 85, 100));
        return top.b > top.r + 20 && bottom.b < top.b && TextPixels(Screen(split, 85, 100)) > 20;
    }));
    // The whole strip: the text over its height, and a texture that moves.
    const RECT& whole = children[1].m_rect;
    EXPECT_TRUE(WaitFor([&] { return TextPixels(Screen(whole, 0, 20)) > 20; }));
    const std::vector<uint32_t> before = Screen(whole, 0, 100);
    EXPECT_TRUE(WaitFor([&] {
        const std::vector<uint32_t> now = Screen(whole, 0, 100);
        int changed = 0;
        for (size_t i = 0; i < now.size(); ++i)
            changed += now[i] != before[i];
        return changed > 100;
    }));
}

TEST(StatusDemo, SchedulePageShowsTheLoadedWeekAndReportsAClick)
{
    constexpr int32_t DayColumn = 96, HourRow = 25, CellWidth = 26, CellHeight = 32;
    DemoProcess demo("schedule");
    ASSERT_TRUE(demo.Started());
    const std::vector<ChildLine> children = demo.ReadChildren();
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].m_id, 2200u);
    EXPECT_EQ(children[0].m_kind, 3u);
    const RECT place = {0, 0, 720, 250};
    EXPECT_TRUE(EqualRect(&children[0].m_rect, &place));
    ASSERT_TRUE(ShowsPicture(children[0].m_rect));
    const auto cell = [&](int32_t day, int32_t hour) {
        return MeanOf(ScreenPixels(DayColumn + hour * CellWidth + 4, HourRow + day * CellHeight + 4, 8, 10));
    };
    // Monday: state 1 at night, 2 at work, 3 in the evening; Saturday: state 4.
    EXPECT_TRUE(WaitFor([&] {
        const Rgb night = cell(0, 3), work = cell(0, 12), evening = cell(0, 20), weekend = cell(5, 12);
        return std::abs(night.r - night.b) < 40 && work.g > work.r + 60 && evening.b > evening.r + 60 &&
               weekend.r > weekend.b + 80;
    }));
    // Hour numbers on their dark header above the cells.
    EXPECT_TRUE(WaitFor([&] {
        const Rgb header = MeanOf(ScreenPixels(DayColumn, 0, 24 * CellWidth, HourRow));
        return header.r < 100 && header.b > 0;
    }));

    const POINT target = {DayColumn + 7 * CellWidth + 13, HourRow + 2 * CellHeight + 16};
    HWND grid = DemoWidgetAt(demo, "OJV::UserInterface2::StatusCameraObjectUserInterface2::24.10.2006", target);
    ASSERT_NE(grid, nullptr);
    POINT client = target;
    ScreenToClient(grid, &client);
    PostMessageA(grid, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y));
    ClickAt(grid, target);
    EXPECT_TRUE(demo.WaitForLine("WM_COMMAND id 2200 code 0x0"));
}

} // namespace
