// The test harness toolkit_demo end to end: its pages of sliders, buttons, histograms and the graph
// come up in their places, draw, and report the WM_COMMAND a key, a click or a drag makes.
#include "DemoProcess.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

// The page's children once the demo is up: as many as it should have, each drawn, and all of the
// kind when one is given.
void ReadDrawnChildren(DemoProcess& demo, size_t count, std::optional<uint32_t> kind,
                       std::vector<ChildLine>& children)
{
    ASSERT_TRUE(demo.Started());
    children = demo.ReadChildren();
    ASSERT_EQ(children.size(), count);
    for (const ChildLine& child : children) {
        if (kind) {
            EXPECT_EQ(child.m_kind, *kind) << child.m_id;
        }
        EXPECT_TRUE(ShowsPicture(child.m_rect)) << child.m_id;
    }
}

TEST(DemoHarness, SlidersPageDrawsItsTrackbarsAndReportsAKey)
{
    DemoProcess demo("sliders");
    std::vector<ChildLine> children;
    ASSERT_NO_FATAL_FAILURE(ReadDrawnChildren(demo, 2, std::nullopt, children));
    EXPECT_EQ(children[0].m_id, 2008u);
    EXPECT_EQ(children[0].m_kind, 1u);
    // The first cell inside its group frame: 560 x 214 less the frame.
    EXPECT_EQ(children[0].m_rect.left, 4);
    EXPECT_EQ(children[0].m_rect.top, 14);
    EXPECT_EQ(children[0].m_rect.right, 557);
    EXPECT_EQ(children[0].m_rect.bottom, 210);

    // Slider 0 becomes current by a click on its cell above the thumb; Page Up raises it by 10.
    const RECT& sliders = children[0].m_rect;
    const POINT above = {sliders.left + 10, sliders.top + 5};
    HWND trackbar = DemoWidgetAt(demo, "OJV::UserInterface2::TrackbarObjectUserInterface2::24.10.2006", above);
    ASSERT_NE(trackbar, nullptr);
    ClickAt(trackbar, above);
    PostMessageA(trackbar, WM_KEYDOWN, VK_PRIOR, 0);
    EXPECT_TRUE(demo.WaitForLine("WM_COMMAND id 1009 code 0x10"));
}

TEST(DemoHarness, ButtonsPageDrawsItsSetsAndReportsAClick)
{
    DemoProcess demo("buttons");
    std::vector<ChildLine> children;
    ASSERT_NO_FATAL_FAILURE(ReadDrawnChildren(demo, 3, 5u, children));
    // The second of four buttons of the first set.
    const RECT& set = children[0].m_rect;
    const POINT second = {set.left + (set.right - set.left) * 3 / 8, (set.top + set.bottom) / 2};
    HWND buttons = DemoWidgetAt(demo, "OJV::UserInterface2::SetButtonsObjectUserInterface2::24.10.2006", second);
    ASSERT_NE(buttons, nullptr);
    ClickAt(buttons, second);
    EXPECT_TRUE(demo.WaitForLine("WM_COMMAND id 2091 code 0x0"));
}

TEST(DemoHarness, HistogramPageDrawsBothHistogramsAndReportsAKey)
{
    DemoProcess demo("histogram");
    std::vector<ChildLine> children;
    ASSERT_NO_FATAL_FAILURE(ReadDrawnChildren(demo, 2, 9u, children));
    EXPECT_EQ(children[0].m_id, 2030u);
    EXPECT_EQ(children[1].m_id, 2031u);
    // The last bar is the selected one after the layout; Page Down drops its curve point to 0. The
    // pointer is outside, so the notice names no bar.
    const RECT& editable = children[0].m_rect;
    const POINT inside = {(editable.left + editable.right) / 2, (editable.top + editable.bottom) / 2};
    HWND histogram = DemoWidgetAt(demo, "OJV::UserInterface2::GistogramObjectUserInterface2::24.10.2006", inside);
    ASSERT_NE(histogram, nullptr);
    PostMessageA(histogram, WM_KEYDOWN, VK_NEXT, 0);
    EXPECT_TRUE(demo.WaitForLine("WM_COMMAND id 2030 code 0x0 lParam 0xFFFFFFFFFFFFFFFF"));
}

TEST(DemoHarness, GraphPageDrawsTheChartAndReportsADrag)
{
    DemoProcess demo("graph");
    std::vector<ChildLine> children;
    ASSERT_NO_FATAL_FAILURE(ReadDrawnChildren(demo, 1, 6u, children));
    EXPECT_EQ(children[0].m_id, 2041u);
    // Layer 0's lower bound 0.3 lies at display height 0.8 on the page's zoom curve.
    const RECT& chart = children[0].m_rect;
    const int32_t usable = chart.bottom - chart.top - 16;
    const POINT bound = {chart.left + 30, chart.top + 8 + static_cast<LONG>(0.2f * static_cast<float>(usable))};
    HWND graph = DemoWidgetAt(demo, "OJV::UserInterface2::Graph1ObjectUserInterface2::24.10.2006", bound);
    ASSERT_NE(graph, nullptr);
    // A press on the bound, then a move: the move's step is reported before any mouse-leave the
    // move may bring (the real pointer lies elsewhere) is handled.
    POINT client = bound;
    ScreenToClient(graph, &client);
    PostMessageA(graph, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(client.x, client.y));
    PostMessageA(graph, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(client.x, client.y + 30));
    EXPECT_TRUE(demo.WaitForLine("WM_COMMAND id 2041 code 0x0 lParam 0x0"));
}

} // namespace
