// The page's factory makes the status strip (kind 4) and the schedule grid (kind 3).
#include "PageTestSupport.h"
#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusPage, KindsThreeAndFourMakeTheGridAndTheStrip)
{
    auto page = MakeShownPage(720, 300);
    InfoPageUserInterface2 description = Describe({0.25f, 0.75f}, {1.0f}, {{{4, 2071}, {3, 2200}}});
    description.m_children.GetElement(0).GetElement(0).m_status_parameter = StatusObjectUserInterface2::PipelineSplit;
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);
    auto* strip = dynamic_cast<StatusObjectUserInterface2*>(page->Child(0, 0));
    auto* grid = dynamic_cast<StatusCameraObjectUserInterface2*>(page->Child(0, 1));
    ASSERT_NE(strip, nullptr);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(WidgetState::ControlId(*strip), 2071u);
    EXPECT_EQ(WidgetState::ControlId(*grid), 2200u);
    EXPECT_EQ(PositionOf(*strip), (Position{0, 0, 180, 300}));
    EXPECT_EQ(PositionOf(*grid), (Position{180, 0, 540, 300}));
    // The cell's status parameter chose the split pipeline: its top part is 0.85 of the height.
    InfoGeneralBufferForUserInterface2 top;
    ASSERT_EQ(strip->GetBufferFromIndex(4, &top), S_OK);
    EXPECT_EQ(top.m_height_element, 255);
    std::vector<uint8_t> week(StatusCameraObjectUserInterface2::CellCount);
    EXPECT_EQ(grid->UpdateStateSheduler(week.data(), StatusCameraObjectUserInterface2::CellCount, 1), S_OK);
    EXPECT_EQ(week[0], 0x10);
    ElementListUserInterface2 elements;
    elements.Init(3, 0);
    const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2});
    ASSERT_EQ(grid->GetElementInfoFromIndexReal(&elements, &indexes, 3), S_OK);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(elements.GetElement(i).Field(InfoElementUserInterface2::FieldCommand).m_value.m_int, 2200) << i;
}

} // namespace
