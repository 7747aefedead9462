// The page's factory makes trackbars and button sets from their cells' descriptions.
#include "PageTestSupport.h"
#include "SetButtonsObjectUserInterface2.h"
#include "TrackbarObjectUserInterface2.h"

#include <gtest/gtest.h>

namespace {

TEST(DataWidgetKinds, TrackbarAndButtonSetCellsMakeBothWithTheirElementsAndIds)
{
    auto page = MakeShownPage(400, 200);
    InfoPageUserInterface2 description =
        Describe({0.5f, 0.5f}, {1.0f}, {{{ChildKindTrackbar, 2008}, {ChildKindSetButtons, 2082, true}}});
    InfoChildPageUserInterface2& sliders = description.m_children.GetElement(0).GetElement(0);
    sliders.m_element_count = 3;
    sliders.m_widget_flags = TrackbarObjectUserInterface2::OrientationHorizontal;
    for (uint32_t i = 0; i < 3; ++i) {
        InfoElementUserInterface2& slider = sliders.m_elements.GetElement(i);
        slider.m_header_flag = 1;
        slider.Field(TrackbarObjectUserInterface2::FieldMaximum).SetFloat(100.0f);
        slider.Field(TrackbarObjectUserInterface2::FieldValue).SetFloat(10.0f * i);
    }
    InfoChildPageUserInterface2& buttons = description.m_children.GetElement(0).GetElement(1);
    buttons.m_element_count = 2;
    for (uint32_t i = 0; i < 2; ++i) {
        InfoElementUserInterface2& button = buttons.m_elements.GetElement(i);
        button.m_header_flag = 1;
        button.Field(SetButtonsObjectUserInterface2::FieldSize).SetFloat(0.5f);
    }
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    auto* trackbar = dynamic_cast<TrackbarObjectUserInterface2*>(page->Child(0, 0));
    auto* set = dynamic_cast<SetButtonsObjectUserInterface2*>(page->Child(0, 1));
    ASSERT_NE(trackbar, nullptr);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(WidgetState::ControlId(*trackbar), 2008u);
    EXPECT_EQ(WidgetState::ControlId(*set), 2082u);
    EXPECT_NE(page->Frame(0, 1), nullptr);
    // Horizontal sliders in the 200 x 200 cell: three rows, the thumbs at their values.
    EXPECT_EQ(trackbar->GetIndexThumbFromPoint(trackbar->GetPosThumbFromValue(2, 20.0f, nullptr), 166), 2);
    ElementListUserInterface2 read = MakeElementList({InfoElementUserInterface2(), InfoElementUserInterface2()});
    const IndexListUserInterface2 indexes = MakeIndexList({0, 1});
    ASSERT_EQ(set->GetElementInfoFromIndexReal(&read, &indexes, 2), S_OK);
    // The set inside its group frame is 193 wide: halves of 96.5 pixels, rounded.
    EXPECT_EQ(read.GetElement(1).Field(InfoElementUserInterface2::FieldRect).m_value.m_rect.m_left, 97);
}

} // namespace
