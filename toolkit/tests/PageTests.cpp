// The page: children made by kind from a description, their layout, lending, visibility, settings
// passed down, and nothing left behind.
#include "PageTestSupport.h"

#include "GistogramObjectUserInterface2.h"
#include "Graph1ObjectUserInterface2.h"


#include <gtest/gtest.h>

namespace {

constexpr uint32_t L = ChildKindList;

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
    // The page draws no picture of its own: its ticks do nothing.
    EXPECT_EQ(page->OnTimerCycle(page->GetHWNDReal(), 0, 0, false), S_FALSE);
    EXPECT_NE(dynamic_cast<ListObjectUserInterface2*>(page->Child(0, 0)), nullptr);
    EXPECT_NE(dynamic_cast<PageObjectUserInterface2*>(page->Child(1, 0)), nullptr);
    for (const auto& [row, column] : {std::pair{0u, 0u}, {0u, 1u}, {1u, 0u}, {1u, 1u}, {1u, 2u}})
        EXPECT_EQ(GetParent(page->Child(row, column)->GetHWNDReal()), page->GetHWNDReal()) << row << column;
}

// A description handed over from another thread is built on the page's thread, which owns the children.
TEST(PageChildren, UpdatePageFromAnotherThreadMakesTheChildrenOnThePagesThread)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description = Describe({0.5f, 0.5f}, {1.0f}, {{{L, 1, true}, {ChildKindPage, 2}}});

    RunOnOtherThreadWhilePumping([&] { EXPECT_EQ(page->UpdatePage(&description), S_OK); });

    for (HWND child : ChildWindowsOf(page->GetHWNDReal()))
        EXPECT_EQ(GetWindowThreadProcessId(child, nullptr), GetCurrentThreadId());
    EXPECT_EQ(ChildWindowsOf(page->GetHWNDReal()).size(), 3u);
}

// The list, graph and histogram take their control ids from the extra parameter, the nested page
// from the element id.
TEST(PageChildren, ChildrenGetTheirControlIds)
{
    auto page = MakeShownPage(400, 200);
    InfoPageUserInterface2 description = Describe(
        {0.25f, 0.25f, 0.25f, 0.25f}, {1.0f},
        {{{ChildKindList, 11}, {ChildKindPage, 12}, {ChildKindGraph, 13}, {ChildKindHistogram, 14}}});
    description.m_children.GetElement(0).GetElement(0).m_extra_parameter = 4000;
    description.m_children.GetElement(0).GetElement(2).m_extra_parameter = 4001;
    description.m_children.GetElement(0).GetElement(3).m_extra_parameter = 4002;
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 0)), 4000u);
    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 1)), 12u);
    EXPECT_NE(dynamic_cast<Graph1ObjectUserInterface2*>(page->Child(0, 2)), nullptr);
    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 2)), 4001u);
    EXPECT_NE(dynamic_cast<GistogramObjectUserInterface2*>(page->Child(0, 3)), nullptr);
    EXPECT_EQ(WidgetState::ControlId(*page->Child(0, 3)), 4002u);
}

class PageKindsWithoutWidget : public testing::TestWithParam<uint32_t>
{
};

// Kinds that make no widget leave their cell empty, keep its group frame and the rest of the page.
TEST_P(PageKindsWithoutWidget, LeaveTheirCellEmptyButFramed)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description =
        Describe({0.5f, 0.5f}, {1.0f}, {{{GetParam(), 1, true}, {ChildKindList, 2}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(page->Child(0, 0), nullptr);
    EXPECT_NE(page->Frame(0, 0), nullptr);
    EXPECT_NE(page->Child(0, 1), nullptr);
    EXPECT_EQ(ChildWindowsOf(page->GetHWNDReal()).size(), 2u);
}

INSTANTIATE_TEST_SUITE_P(Kinds, PageKindsWithoutWidget, testing::Values(ChildKindNothing, ChildKindGroupFrame));

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

// ---- layout ----

struct LayoutCase
{
    const char* m_name;
    std::vector<float> m_columns;
    std::vector<uint32_t> m_kinds;
    std::vector<Position> m_expected;
};

// The child is left where it was made.
constexpr Position Unmoved = {-1, -1, -1, -1};

class PageLayout : public testing::TestWithParam<LayoutCase>
{
};

// One row of the page's full height, 300 pixels wide.
TEST_P(PageLayout, SharesTheWidthAmongColumns)
{
    const LayoutCase& layout = GetParam();
    auto page = MakeShownPage(300, 200);
    std::vector<CellSpec> cells;
    for (uint32_t kind : layout.m_kinds)
        cells.push_back({kind, static_cast<uint32_t>(cells.size() + 1)});
    const InfoPageUserInterface2 description = Describe(layout.m_columns, {1.0f}, {cells});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    for (uint32_t c = 0; c < layout.m_expected.size(); ++c) {
        if (layout.m_expected[c] != Unmoved) {
            EXPECT_EQ(PositionOf(*page->Child(0, c)), layout.m_expected[c]) << layout.m_name << " column " << c;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Columns, PageLayout,
    testing::Values(
        LayoutCase{"fixed and halves", {100, 0.5f, 0.5f}, {L, L, L},
                   {{0, 0, 100, 200}, {100, 0, 100, 200}, {200, 0, 100, 200}}},
        LayoutCase{"fixed, quarter, three quarters", {100, 0.25f, 0.75f}, {L, L, L},
                   {{0, 0, 100, 200}, {100, 0, 50, 200}, {150, 0, 150, 200}}},
        // The others get no width; a widget is never smaller than 10 pixels.
        LayoutCase{"fixed wider than the page", {500, 0.5f, 0.5f}, {L, L, L},
                   {{0, 0, 300, 200}, {300, 0, 10, 200}, {300, 0, 10, 200}}},
        LayoutCase{"empty cell keeps its column", {100, 100, 100}, {L, ChildKindEmpty, L},
                   {{0, 0, 100, 200}, Unmoved, {200, 0, 100, 200}}},
        LayoutCase{"column without size", {100, -1.0f, 1.0f}, {L, L, L},
                   {{0, 0, 100, 200}, Unmoved, {100, 0, 200, 200}}}),
    [](const testing::TestParamInfo<LayoutCase>& info) { return "case" + std::to_string(info.index); });

TEST(PageLayout, RowsShareTheHeightAndHiddenRowsTakeNone)
{
    auto page = MakeShownPage(300, 200);
    InfoPageUserInterface2 description =
        Describe({1.0f}, {50, 1.0f, 30}, {{{L, 1}}, {{L, 2}}, {{L, 3}}});
    description.m_rows.GetElement(0).m_visible = 0;
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(PositionOf(*page->Child(1, 0)), (Position{0, 0, 300, 170}));
    EXPECT_EQ(PositionOf(*page->Child(2, 0)), (Position{0, 170, 300, 30}));
    EXPECT_FALSE(IsWindowVisible(page->Child(0, 0)->GetHWNDReal()));
}

TEST(PageLayout, GroupFrameHoldsItsChildInsideItsBorderAndCaption)
{
    auto page = MakeShownPage(200, 100);
    const InfoPageUserInterface2 description = Describe({1.0f}, {1.0f}, {{{L, 1, true}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(PositionOf(*page->Child(0, 0)), (Position{4, 14, 193, 82}));
    EXPECT_EQ(PositionOf(*page->Frame(0, 0)), (Position{0, 0, 200, 100}));
    RECT frame = {};
    GetWindowRect(page->Frame(0, 0)->GetHWNDReal(), &frame);
    EXPECT_EQ(frame.right - frame.left, 200);
    EXPECT_EQ(GetParent(page->Frame(0, 0)->GetHWNDReal()), page->GetHWNDReal());
    EXPECT_EQ(WidgetState::Related(*page->Frame(0, 0), 1), page->GetHWNDReal());
}

TEST(PageLayout, ResizingThePageLaysItOutAgain)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description = Describe({100, 1.0f}, {1.0f}, {{{L, 1}, {L, 2}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    page->MoveObjectReal(0, 0, 400, 120);

    EXPECT_EQ(PositionOf(*page->Child(0, 1)), (Position{100, 0, 300, 120}));
}

// ---- lending ----

class PageLending : public testing::Test
{
protected:
    void SetUp() override
    {
        m_page = MakeShownPage(300, 200);
        const InfoPageUserInterface2 description =
            Describe({0.5f, 0.5f}, {1.0f}, {{{L, 5, true}, {ChildKindPage, 6}}});
        ASSERT_EQ(m_page->UpdatePageReal(&description), S_OK);
    }

    BaseUserInterface* Get(uint32_t id, uint32_t kind = L)
    {
        BaseUserInterface* widget = nullptr;
        EXPECT_EQ(m_page->GetChildObjectUserInterfaceReal(id, &widget, kind), S_OK);
        return widget;
    }

    std::unique_ptr<TestPage> m_page;
};

TEST_F(PageLending, GetTwiceFreeOnceKeepsOneUseAndARebuildDestroysTheWidgetAnyway)
{
    BaseUserInterface* first = Get(5);
    BaseUserInterface* second = Get(5);
    ASSERT_EQ(first, m_page->Child(0, 0));
    EXPECT_EQ(second, first);
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(first, L), S_OK);
    EXPECT_EQ(m_page->ChildUses(0, 0), 1u);
    const HWND window = first->GetHWNDReal();
    ASSERT_EQ(m_page->m_borrowed_child_destroyed, 0);

    const InfoPageUserInterface2 other = Describe({1.0f}, {1.0f}, {{{L, 7}}});
    ASSERT_EQ(m_page->UpdatePageReal(&other), S_OK);

    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(m_page->m_borrowed_child_destroyed, 1);
}

TEST_F(PageLending, KindEightLendsTheGroupFrame)
{
    BaseUserInterface* frame = Get(5, ChildKindGroupFrame);

    EXPECT_EQ(frame, m_page->Frame(0, 0));
    EXPECT_EQ(m_page->FrameUses(0, 0), 1u);
    EXPECT_EQ(m_page->ChildUses(0, 0), 0u);
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(frame, L), E_FAIL);
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(frame, ChildKindGroupFrame), S_OK);
}

TEST_F(PageLending, RefusesWhatItCannotLendOrTakeBack)
{
    BaseUserInterface* held = m_page->Child(0, 1);
    EXPECT_EQ(m_page->GetChildObjectUserInterfaceReal(5, &held, L), E_UNEXPECTED);
    EXPECT_EQ(m_page->GetChildObjectUserInterfaceReal(5, nullptr, L), E_INVALIDARG);
    BaseUserInterface* none = nullptr;
    EXPECT_EQ(m_page->GetChildObjectUserInterfaceReal(0, &none, L), E_UNEXPECTED);
    EXPECT_EQ(Get(99), nullptr);
    EXPECT_EQ(m_page->ChildUses(0, 0), 0u);

    TestPage stranger;
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(&stranger, L), E_FAIL);
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(nullptr, L), E_UNEXPECTED);
    // Given back more often than lent: the count stays true.
    EXPECT_EQ(m_page->FreeChildObjectUserInterfaceReal(m_page->Child(0, 1), L), E_FAIL);
    EXPECT_EQ(m_page->ChildUses(0, 1), 0u);
}

TEST_F(PageLending, IsChildExistFindsRowAndColumnWithoutCounting)
{
    int32_t exists = -5, row = -5, column = -5;
    EXPECT_EQ(m_page->IsChildExistReal(6, &exists, &row, &column), S_OK);
    EXPECT_EQ((std::vector<int32_t>{exists, row, column}), (std::vector<int32_t>{1, 0, 1}));
    EXPECT_EQ(m_page->ChildUses(0, 1), 0u);

    EXPECT_EQ(m_page->IsChildExistReal(99, &exists, &row, &column), S_OK);
    EXPECT_EQ((std::vector<int32_t>{exists, row, column}), (std::vector<int32_t>{0, -1, -1}));
    EXPECT_EQ(m_page->IsChildExistReal(0, &exists, &row, &column), E_UNEXPECTED);
}

// The public operations from another thread reach the page's thread and bring their answers back.
TEST_F(PageLending, PublicOperationsWorkFromAnotherThread)
{
    BaseUserInterface* widget = nullptr;
    int32_t exists = 0, row = -1, column = -1;
    RunOnOtherThreadWhilePumping([&] {
        EXPECT_EQ(m_page->GetChildObjectUserInterface(6, &widget, ChildKindPage), S_OK);
        EXPECT_EQ(m_page->IsChildExist(5, L, &exists, &row, &column), S_OK);
        EXPECT_EQ(m_page->FreeChildObjectUserInterface(widget, ChildKindPage), S_OK);
    });

    EXPECT_EQ(widget, m_page->Child(0, 1));
    EXPECT_EQ(exists, 1);
    EXPECT_EQ(m_page->ChildUses(0, 1), 0u);
}

// ---- changing cells ----

TEST(PageCells, UpdateChildElementReplacesThatCellOnly)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description = Describe({100, 100, 100}, {1.0f}, {{{L, 1}, {L, 2}, {L, 3}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);
    BaseUserInterface* const before[3] = {page->Child(0, 0), page->Child(0, 1), page->Child(0, 2)};
    const HWND replacedWindow = before[1]->GetHWNDReal();

    InfoChildPageUserInterface2 replacement = description.m_children.GetElement(0).GetElement(1);
    EXPECT_EQ(page->UpdateChildElementReal(0, 1, &replacement), S_OK);
    EXPECT_EQ(page->Child(0, 1), before[1]);

    replacement.m_kind = ChildKindPage;
    replacement.m_element_id = 20;
    replacement.m_group_frame = 1;
    ASSERT_EQ(page->UpdateChildElementReal(0, 1, &replacement), S_OK);

    EXPECT_EQ(page->Child(0, 0), before[0]);
    EXPECT_EQ(page->Child(0, 2), before[2]);
    EXPECT_FALSE(IsWindow(replacedWindow));
    EXPECT_NE(dynamic_cast<PageObjectUserInterface2*>(page->Child(0, 1)), nullptr);
    EXPECT_TRUE(page->Cell(0, 1) == replacement);
    EXPECT_EQ(PositionOf(*page->Child(0, 1)), (Position{104, 14, 93, 182}));
    EXPECT_EQ(page->UpdateChildElementReal(0, 1, nullptr), E_INVALIDARG);
    EXPECT_EQ(page->UpdateChildElementReal(0, 3, &replacement), E_INVALIDARG);
}

TEST(PageCells, HidingAColumnHidesAndFreezesItsCellsAndLaysThePageOutWithoutIt)
{
    auto page = MakeShownPage(300, 200);
    const InfoPageUserInterface2 description =
        Describe({100, 100, 100}, {0.5f, 0.5f}, {{{L, 1}, {L, 2, true}, {L, 3}}, {{L, 4}, {L, 5}, {L, 6}}});
    ASSERT_EQ(page->UpdatePageReal(&description), S_OK);

    EXPECT_EQ(page->SetVisibleStatusColAndRowReal(1, -1, 0), S_OK);

    for (BaseUserInterface* hidden : {page->Child(0, 1), static_cast<BaseUserInterface*>(page->Frame(0, 1)),
                                      page->Child(1, 1)}) {
        EXPECT_EQ(WidgetState::State(*hidden, BaseUserInterface::StateShown), 0);
        EXPECT_EQ(WidgetState::State(*hidden, BaseUserInterface::StateFrozen), 1);
        EXPECT_FALSE(IsWindowVisible(hidden->GetHWNDReal()));
    }
    EXPECT_TRUE(IsWindowVisible(page->Child(1, 2)->GetHWNDReal()));
    EXPECT_EQ(PositionOf(*page->Child(1, 2)), (Position{100, 100, 100, 100}));

    // Showing the page again leaves the hidden column hidden.
    page->ControlStatObjectShowReal(BaseUserInterface::StateShown, 0);
    page->ControlStatObjectShowReal(BaseUserInterface::StateShown, 1);
    EXPECT_FALSE(IsWindowVisible(page->Child(0, 1)->GetHWNDReal()));
    EXPECT_TRUE(IsWindowVisible(page->Child(0, 2)->GetHWNDReal()));

    EXPECT_EQ(page->SetVisibleStatusColAndRowReal(1, -1, 1), S_OK);
    EXPECT_EQ(WidgetState::State(*page->Child(0, 1), BaseUserInterface::StateFrozen), 0);
    EXPECT_TRUE(IsWindowVisible(page->Child(0, 1)->GetHWNDReal()));
    EXPECT_EQ(PositionOf(*page->Child(1, 2)), (Position{200, 100, 100, 100}));
    EXPECT_EQ(page->SetVisibleStatusColAndRowReal(3, -1, 1), E_INVALIDARG);
}

// ---- settings passed down ----

class PagePropagation : public testing::Test
{
protected:
    void SetUp() override
    {
        m_page = MakeShownPage(300, 200);
        const InfoPageUserInterface2 description =
            Describe({0.5f, 0.5f}, {1.0f}, {{{L, 1, true}, {ChildKindPage, 2}}});
        ASSERT_EQ(m_page->UpdatePageReal(&description), S_OK);
        // The nested page gets a cell of its own, through its public operation.
        const InfoPageUserInterface2 inner = Describe({1.0f}, {1.0f}, {{{L, 3, true}}});
        auto* nested = dynamic_cast<PageObjectUserInterface2*>(m_page->Child(0, 1));
        ASSERT_NE(nested, nullptr);
        ASSERT_EQ(nested->UpdatePage(&inner), S_OK);
        nested->GetChildObjectUserInterfaceReal(3, &m_nested_child, L);
        nested->GetChildObjectUserInterfaceReal(3, &m_nested_frame, ChildKindGroupFrame);
    }

    // Every child and group frame, and those of the nested page.
    std::vector<BaseUserInterface*> Widgets()
    {
        return {m_page->Child(0, 0), m_page->Frame(0, 0), m_page->Child(0, 1), m_nested_child, m_nested_frame};
    }

    std::unique_ptr<TestPage> m_page;
    BaseUserInterface* m_nested_child = nullptr;
    BaseUserInterface* m_nested_frame = nullptr;
};

TEST_F(PagePropagation, SettingsReachEveryChildAndFrame)
{
    InfoGDIUserInterface2 entry;
    entry.m_color = RGB(1, 2, 3);
    const GDIListUserInterface2 entries = MakeList<InfoGDIUserInterface2>({entry});
    const IndexListUserInterface2 indexes = MakeIndexList({78});
    MessageRecorder receiver;

    EXPECT_TRUE(SUCCEEDED(m_page->SetOptimCPUReal(4)));
    EXPECT_EQ(m_page->UpdateGDIInfoForObjectReal(&entries, &indexes, 1), S_OK);
    EXPECT_EQ(m_page->SetTextVarForObjectReal(1, "page text"), S_OK);
    EXPECT_EQ(m_page->SetWindowReal(1, receiver.Handle()), S_OK);
    EXPECT_EQ(m_page->DumpDebugListResizedBufferReal(), S_OK);

    for (BaseUserInterface* widget : Widgets()) {
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(WidgetState::ProcessorMode(*widget), 4u);
        EXPECT_EQ(WidgetState::Colour(*widget, 78), RGB(1, 2, 3));
        EXPECT_STREQ(WidgetState::Text(*widget), "page text");
        EXPECT_EQ(WidgetState::Related(*widget, 1), receiver.Handle());
    }
    // Index 0 stays with the page: the children keep their parent.
    EXPECT_EQ(m_page->SetWindowReal(0, nullptr), S_OK);
    EXPECT_EQ(GetParent(m_page->Child(0, 0)->GetHWNDReal()), m_page->GetHWNDReal());
}

TEST_F(PagePropagation, ChildrenMadeLaterGetThePagesSettings)
{
    MessageRecorder receiver;
    m_page->SetOptimCPUReal(2);
    m_page->SetWindowReal(1, receiver.Handle());
    m_page->SetTextVarForObjectReal(1, "later");
    InfoChildPageUserInterface2 cell = m_page->Cell(0, 0);
    cell.m_element_id = 9;

    ASSERT_EQ(m_page->UpdateChildElementReal(0, 0, &cell), S_OK);

    EXPECT_EQ(WidgetState::ProcessorMode(*m_page->Child(0, 0)), 2u);
    EXPECT_EQ(WidgetState::Related(*m_page->Child(0, 0), 1), receiver.Handle());
    EXPECT_EQ(WidgetState::Related(*m_page->Frame(0, 0), 1), m_page->GetHWNDReal());
    EXPECT_STREQ(WidgetState::Text(*m_page->Frame(0, 0)), "later");
}

TEST_F(PagePropagation, DestroyingThePageLeavesNoWidgetWindow)
{
    std::vector<HWND> windows;
    for (BaseUserInterface* widget : Widgets())
        windows.push_back(widget->GetHWNDReal());
    windows.push_back(m_page->GetHWNDReal());

    m_page.reset();

    for (HWND window : windows)
        EXPECT_FALSE(IsWindow(window));
}

} // namespace
