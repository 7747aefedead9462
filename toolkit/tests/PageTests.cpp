// The page: children made by kind from a description, their layout, lending, visibility, settings
// passed down, and nothing left behind.
#include "PageTestSupport.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

namespace {

// ---- making children ----

TEST(PageChildren, TwoByThreeDescriptionWithOneEmptyCellMakesFiveChildWindows)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description =
        Describe({100, 100, 100}, {100, 100},
                 {{{ChildKindList, 1}, {ChildKindPage, 2}, {ChildKindEmpty, 3}},
                  {{ChildKindPage, 4}, {ChildKindList, 5}, {ChildKindList, 6}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(ChildWindowsOf(page->GetHWNDReal()).size(), 5u);
    EXPECT_EQ(page->Child(0, 2), nullptr);
    EXPECT_NE(dynamic_cast<ListObjectUserInterface2*>(page->Child(0, 0)), nullptr);
    EXPECT_NE(dynamic_cast<PageObjectUserInterface2*>(page->Child(1, 0)), nullptr);
    for (const auto& [row, column] : {std::pair{0u, 0u}, {0u, 1u}, {1u, 0u}, {1u, 1u}, {1u, 2u}})
        EXPECT_EQ(GetParent(page->Child(row, column)->GetHWNDReal()), page->GetHWNDReal()) << row << column;
}

// The list takes its control id from the extra parameter, the nested page from the element id.
TEST(PageChildren, ChildrenGetTheirControlIds)
{
    auto page = MakeShownPage(300, 200);
    InfoPageUserInterface2 description = Describe({0.5f, 0.5f}, {1.0f}, {{{ChildKindList, 11}, {ChildKindPage, 12}}});
    description.m_children.GetElement(0).GetElement(0).m_extra_parameter = 4000;
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 0)), 4000u);
    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 1)), 12u);
}

struct KindCase
{
    uint32_t m_kind;
    bool m_logged;
};

class PageKindsWithoutWidget : public testing::TestWithParam<KindCase>
{
};

// Kinds that make no widget (yet) leave their cell empty, keep its group frame and the rest of the page.
TEST_P(PageKindsWithoutWidget, LeaveTheirCellEmptyButFramed)
{
    const KindCase kind = GetParam();
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description =
        Describe({0.5f, 0.5f}, {1.0f}, {{{kind.m_kind, 1, true}, {ChildKindList, 2}}});
    LogCapture log;
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(page->Child(0, 0), nullptr);
    EXPECT_NE(page->Frame(0, 0), nullptr);
    EXPECT_NE(page->Child(0, 1), nullptr);
    EXPECT_EQ(ChildWindowsOf(page->GetHWNDReal()).size(), 2u);
    EXPECT_EQ(log.Contains("no widget of kind " + std::to_string(kind.m_kind) + " "), kind.m_logged);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageKindsWithoutWidget,
                         testing::Values(KindCase{ChildKindTrackbar, true}, KindCase{ChildKindNothing, false},
                                         KindCase{ChildKindStatusCamera, true}, KindCase{ChildKindStatus, true},
                                         KindCase{ChildKindSetButtons, true}, KindCase{ChildKindGraph, true},
                                         KindCase{ChildKindGroupFrame, false}, KindCase{ChildKindHistogram, true}));

TEST(PageChildren, DescriptionWhoseCellsDoNotMatchItsLinesIsRefusedAndThePageKept)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 good = Describe({1.0f}, {1.0f}, {{{ChildKindList, 1}}});
    ASSERT_EQ(page->UpdatePageReal(&good), S_OK);
    InfoPageUserInterface2 bad = Describe({0.5f, 0.5f}, {1.0f}, {{{ChildKindList, 1}, {ChildKindList, 2}}});
    bad.m_columns.SetSize(3);

    EXPECT_EQ(page->UpdatePageReal(&bad), E_INVALIDARG);
    EXPECT_EQ(page->UpdatePageReal(nullptr), E_UNEXPECTED);
    EXPECT_NE(page->Child(0, 0), nullptr);
}

} // namespace
