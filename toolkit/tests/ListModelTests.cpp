#include "ListTestSupport.h"

#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <cmath>
#include <limits>

namespace {

using List = ListObjectUserInterface2;

constexpr uint32_t Kind1 = List::KindFirstVisible;
constexpr uint32_t Kind3 = List::KindSelected;

struct ColumnSpec
{
    bool m_enabled;
    float m_width;
};

HeaderListUserInterface2 MakeHeader(const std::vector<ColumnSpec>& specs)
{
    HeaderListUserInterface2 header;
    header.Init(static_cast<uint32_t>(specs.size()), 0);
    for (uint32_t i = 0; i < specs.size(); ++i) {
        header.GetElement(i).m_enabled = specs[i].m_enabled ? 1 : 0;
        header.GetElement(i).m_width = specs[i].m_width;
    }
    return header;
}

std::vector<int32_t> ColumnPixels(const TestList& list)
{
    std::vector<int32_t> pixels;
    for (uint32_t i = 0; i < ColumnCountListUserInterface2; ++i)
        pixels.push_back(list.m_column_pixels.GetElement(i));
    return pixels;
}

} // namespace

TEST(ListNames, OperationAndNotificationNamesAreRegisteredInOrder)
{
    const char* const operations[] = {
        "GMU_UpdateHeaderInfo_ComplexListUserInterface2,   D.U.R.M.I.X.,15.08.2006::12.00.00",
        "GMU_UpdateElementsList_ComplexListUserInterface2, D.U.R.M.I.X.,04.10.2006::00.00.00",
        "GMU_UpdateIndexFromType_ComplexListUserInterface2,D.U.R.M.I.X.,09.10.2006::12.00.00",
    };
    const char* const notifications[] = {
        "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeSelectElement",
        "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeStateElement",
        "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeFirstVisibleElement",
        "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeFocusStateListObject",
        "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflSendMessageFromButton",
        "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflBeginEditElement",
        "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflEndEditElement",
        "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflDoubleClickMessage",
        "OJV::Eastmarch2007::UserInterface2::ListWindow::ExternMessage::otemflWM_CHARMessage",
    };
    TestList list;
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(list.m_list_messages.GetMessageFromIndex(i), RegisterWindowMessageA(operations[i])) << i;
    DynamicBoundsObject<UINT> ids;
    ASSERT_EQ(GetListWindowExternMessages(&ids), S_OK);
    ASSERT_EQ(ids.GetCount(), 9u);
    for (uint32_t i = 0; i < 9; ++i)
        EXPECT_EQ(ids.GetElement(i), RegisterWindowMessageA(notifications[i])) << i;
    EXPECT_EQ(GetListWindowExternMessages(nullptr), E_INVALIDARG);
}

TEST_F(ListTest, WindowClassAndDoubleClicks)
{
    char name[128] = {};
    GetClassNameA(m_list->m_window, name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::ListObjectUserInterface2::24.10.2006");
    EXPECT_NE(GetClassLongA(m_list->m_window, GCL_STYLE) & CS_DBLCLKS, 0u);
}

// ---- header ----

TEST_F(ListTest, HeaderRefusesSevenColumnsAndKeepsOneColumnEnabled)
{
    EXPECT_EQ(m_list->UpdateHeaderInfoReal(nullptr), E_UNEXPECTED);
    const HeaderListUserInterface2 seven = MakeHeader(std::vector<ColumnSpec>(7, {true, 50.0f}));
    EXPECT_EQ(m_list->UpdateHeaderInfoReal(&seven), E_UNEXPECTED);
    EXPECT_EQ(ColumnPixels(*m_list), (std::vector<int32_t>{200, 0, 0, 0, 0, 0}));

    const HeaderListUserInterface2 none = MakeHeader({{false, 0.5f}, {false, 0.5f}});
    ASSERT_EQ(m_list->UpdateHeaderInfoReal(&none), S_OK);
    EXPECT_EQ(m_list->m_header.GetElement(0).m_enabled, 1);
    EXPECT_EQ(m_list->m_header.GetElement(0).m_width, 1.0f);

    const HeaderListUserInterface2 narrow =
        MakeHeader({{true, 0.001f}, {true, -3.0f}, {true, std::numeric_limits<float>::quiet_NaN()}, {false, 0.0f}});
    ASSERT_EQ(m_list->UpdateHeaderInfoReal(&narrow), S_OK);
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(m_list->m_header.GetElement(i).m_width, 0.01f) << i;
    EXPECT_EQ(m_list->m_header.GetElement(3).m_width, 0.0f);
}

struct HeaderCase
{
    const char* m_name;
    std::vector<ColumnSpec> m_columns;
    int m_rows; // 10 rows need the scroll bar (20 pixels), 2 do not
    std::vector<int32_t> m_pixels;
};

TEST_F(ListTest, ColumnPixelWidths)
{
    const HeaderCase cases[] = {
        {"one share", {{true, 1.0f}}, 2, {200, 0, 0, 0, 0, 0}},
        {"two shares", {{true, 0.25f}, {true, 0.75f}}, 2, {50, 150, 0, 0, 0, 0}},
        {"two shares, bar", {{true, 0.5f}, {true, 0.5f}}, 10, {90, 110, 0, 0, 0, 0}},
        {"pixels", {{true, 30.0f}, {true, 70.0f}}, 2, {30, 170, 0, 0, 0, 0}},
        {"mixed", {{true, 40.0f}, {true, 0.5f}, {false, 9.0f}, {true, 0.5f}}, 2, {40, 80, 0, 80, 0, 0}},
        {"mixed, bar", {{true, 40.0f}, {true, 0.5f}, {true, 0.5f}}, 10, {40, 70, 90, 0, 0, 0}},
        {"pixels wider than the list", {{true, 150.0f}, {true, 0.5f}, {true, 120.0f}}, 2, {150, 1, 49, 0, 0, 0}},
        {"disabled first", {{false, 1.0f}, {true, 0.5f}, {true, 0.5f}}, 2, {0, 100, 100, 0, 0, 0}},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeList(200, 200);
        Fill(c.m_rows);
        const HeaderListUserInterface2 header = MakeHeader(c.m_columns);
        ASSERT_EQ(m_list->UpdateHeaderInfoReal(&header), S_OK);
        EXPECT_EQ(m_list->m_scroll_needed, c.m_rows > 4 ? 1 : 0);
        EXPECT_EQ(ColumnPixels(*m_list), c.m_pixels);
    }
}

// ---- rows ----

struct RowStep
{
    int32_t m_code;
    int32_t m_first;
    int32_t m_count;
    std::vector<std::string> m_names;
    HRESULT m_result;
};

struct RowCase
{
    const char* m_name;
    std::vector<RowStep> m_steps;
    std::vector<std::string> m_expected;
};

TEST_F(ListTest, RowOperations)
{
    const RowCase cases[] = {
        {"append", {{1, -1, 2, {"a", "b"}, S_OK}, {1, -1, 1, {"c"}, S_OK}}, {"a", "b", "c"}},
        {"insert at front and middle",
         {{1, -1, 2, {"a", "b"}, S_OK}, {1, 0, 1, {"x"}, S_OK}, {1, 2, 2, {"y", "z"}, S_OK}},
         {"x", "a", "y", "z", "b"}},
        {"insert past the end", {{1, -1, 1, {"a"}, S_OK}, {1, 3, 1, {"x"}, E_FAIL}}, {"a"}},
        {"replace", {{1, -1, 3, {"a", "b", "c"}, S_OK}, {2, 1, 2, {"y", "z"}, S_OK}}, {"a", "y", "z"}},
        {"replace grows", {{1, -1, 2, {"a", "b"}, S_OK}, {2, 1, 2, {"y", "z"}, S_OK}}, {"a", "y", "z"}},
        {"replace into an empty list", {{2, 0, 2, {"a", "b"}, S_OK}}, {"a", "b"}},
        {"replace at a negative row", {{2, -1, 1, {"a"}, E_FAIL}}, {}},
        {"delete", {{1, -1, 4, {"a", "b", "c", "d"}, S_OK}, {3, 1, 2, {}, S_OK}}, {"a", "d"}},
        {"delete to the end", {{1, -1, 4, {"a", "b", "c", "d"}, S_OK}, {3, 1, -1, {}, S_OK}}, {"a"}},
        {"delete nothing", {{1, -1, 1, {"a"}, S_OK}, {3, 1, -1, {}, S_FALSE}}, {"a"}},
        {"delete past the end", {{1, -1, 2, {"a", "b"}, S_OK}, {3, 1, 2, {}, E_FAIL}}, {"a", "b"}},
        {"delete everything", {{1, -1, 2, {"a", "b"}, S_OK}, {3, 0, -1, {}, S_OK}}, {}},
        {"delete a count beyond any row", {{1, -1, 2, {"a", "b"}, S_OK}, {3, 1, INT32_MAX, {}, E_FAIL}}, {"a", "b"}},
        {"replace beyond any row", {{2, INT32_MAX, 1, {"a"}, E_FAIL}}, {}},
    };
    for (const RowCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeList(200, 200);
        for (const RowStep& step : c.m_steps) {
            RowListUserInterface2 rows = MakeRows(step.m_names);
            EXPECT_EQ(m_list->UpdateElementsListReal(step.m_code, step.m_first, step.m_count,
                                                     step.m_names.empty() ? nullptr : &rows),
                      step.m_result);
        }
        EXPECT_EQ(FirstCellTexts(*m_list), c.m_expected);
        RowListUserInterface2 read = MakeRows(std::vector<std::string>(c.m_expected.size() + 1, "-"));
        ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeRead, 0, 100, &read), S_OK);
        for (uint32_t i = 0; i < c.m_expected.size(); ++i)
            EXPECT_STREQ(read.GetElement(i).m_cells.GetElement(0).m_text.GetString(), c.m_expected[i].c_str());
        EXPECT_STREQ(read.GetElement(static_cast<uint32_t>(c.m_expected.size())).m_cells.GetElement(0).m_text.GetString(),
                     "-");
    }
}

TEST_F(ListTest, CountZeroAndShortArrayNeverSend)
{
    Fill(3);
    // The window is gone: an operation that were sent would fail.
    m_list->FreeObject();
    EXPECT_EQ(m_list->UpdateElementsList(List::CodeInsert, 0, 0, nullptr), S_FALSE);
    RowListUserInterface2 two = MakeRows({"a", "b"});
    int thrown = 0;
    try {
        m_list->UpdateElementsList(List::CodeInsert, 0, 3, &two);
    }
    catch (int code) {
        thrown = code;
    }
    EXPECT_EQ(thrown, 241);
    EXPECT_EQ(m_list->UpdateElementsList(List::CodeInsert, 0, 2, &two), E_FAIL);
    EXPECT_EQ(FirstCellTexts(*m_list), RowNames(3));
}

TEST_F(ListTest, PublicOperationsRunFromAnotherThread)
{
    RowListUserInterface2 rows = MakeRows(RowNames(12));
    int32_t count = 0;
    RunOnOtherThreadWhilePumping([&] {
        EXPECT_EQ(m_list->UpdateElementsList(List::CodeInsert, -1, 12, &rows), S_OK);
        EXPECT_EQ(m_list->UpdateIndexFromType(List::ActionGet | List::KindRowCount, &count), S_OK);
        const HeaderListUserInterface2 header = MakeHeader({{true, 0.5f}, {true, 0.5f}});
        EXPECT_EQ(m_list->UpdateHeaderInfo(&header), S_OK);
    });
    EXPECT_EQ(count, 12);
    EXPECT_EQ(m_list->m_column_pixels.GetElement(1), 110);
}

TEST_F(ListTest, ImageIndexesAreClampedWhenWritten)
{
    RowListUserInterface2 rows = MakeRows({"a"});
    StaticBoundsObject<int32_t, 2>& images = rows.GetElement(0).m_cells.GetElement(3).m_images;
    images.GetElement(0) = 99;
    images.GetElement(1) = -5;
    rows.GetElement(0).m_cells.GetElement(4).m_images.GetElement(0) = 7;
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeInsert, -1, 1, &rows), S_OK);
    const InfoRowListUserInterface2& row = m_list->m_rows.GetElement(0);
    EXPECT_EQ(row.m_cells.GetElement(3).m_images.GetElement(0), 15);
    EXPECT_EQ(row.m_cells.GetElement(3).m_images.GetElement(1), 0);
    EXPECT_EQ(row.m_cells.GetElement(4).m_images.GetElement(0), 7);
    EXPECT_EQ(row.m_cells.GetElement(4).m_images.GetElement(1), -1);
}

TEST_F(ListTest, InsertAndDeleteMoveFirstVisibleAndSelectedRows)
{
    Fill(20);
    ASSERT_EQ(Set(Kind1, 10), S_OK);
    ASSERT_EQ(Set(Kind3, 12), S_OK);
    Notifications();
    RowListUserInterface2 two = MakeRows({"x", "y"});
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeInsert, 5, 2, &two), S_OK);
    EXPECT_EQ(Get(Kind1), 12);
    EXPECT_EQ(Get(Kind3), 14);
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeDelete, 13, 4, nullptr), S_OK);
    EXPECT_EQ(Get(Kind1), 12);
    EXPECT_EQ(Get(Kind3), 13);
    // The page is kept full: 16 rows and five lines leave row 11 first.
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeDelete, 16, -1, nullptr), S_OK);
    EXPECT_EQ(Get(Kind1), 11);
    EXPECT_EQ(Get(Kind3), 13);
    // Rows moving under the selection keep it on the same row: no selection change is told.
    EXPECT_TRUE(Notifications().empty());
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeDelete, 0, -1, nullptr), S_OK);
    EXPECT_EQ(Get(Kind1), 0);
    EXPECT_EQ(Get(Kind3), 0);
}

// ---- indices ----

struct IndexCase
{
    const char* m_name;
    uint32_t m_kind;
    int32_t m_value;
    HRESULT m_result;
    int32_t m_first;
    int32_t m_selected;
    std::vector<Notification> m_notifications;
};

TEST_F(ListTest, UpdateIndexFromTypeSetsAndGets)
{
    // 20 rows, five visible lines; each case starts with first visible 0 and row 2 selected.
    const IndexCase cases[] = {
        {"first visible, less than a page", Kind1, 3, S_OK, 3, 3, {{0, 3}, {2, 0}}},
        {"first visible, far", Kind1, 15, S_OK, 15, 15, {{0, 15}, {2, 0}}},
        {"first visible, selection stays", Kind1, 1, S_OK, 1, 2, {{2, 0}}},
        {"first visible, unchanged", Kind1, 0, S_FALSE, 0, 2, {}},
        {"first visible, clamped", Kind1, 99, S_OK, 19, 19, {{0, 19}, {2, 0}}},
        {"selected below the page", Kind3, 7, S_OK, 3, 7, {{2, 0}, {0, 7}}},
        {"selected on the page", Kind3, 4, S_OK, 0, 4, {{0, 4}}},
        {"selected, clamped", Kind3, -4, S_OK, 0, 0, {{0, 0}}},
        {"selected, unchanged", Kind3, 2, S_OK, 0, 2, {}},
        {"focused column", List::KindFocusedColumn, 3, S_OK, 0, 2, {}},
    };
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeList(200, 200);
        Fill(20);
        ASSERT_EQ(Set(Kind3, 2), S_OK);
        Notifications();
        EXPECT_EQ(Set(c.m_kind, c.m_value), c.m_result);
        EXPECT_EQ(Get(Kind1), c.m_first);
        EXPECT_EQ(Get(Kind3), c.m_selected);
        EXPECT_EQ(Notifications(), c.m_notifications);
    }
    EXPECT_EQ(Get(List::KindFocusedColumn), 3);
    EXPECT_EQ(Get(List::KindRowCount), 20);
    EXPECT_EQ(Get(0), 0);
    EXPECT_EQ(Get(9), 0);
    int32_t value = 0;
    EXPECT_EQ(m_list->UpdateIndexFromTypeReal(List::ActionGet | 16, &value), E_FAIL);
    EXPECT_EQ(m_list->UpdateIndexFromTypeReal(List::ActionGet | 1, nullptr), E_FAIL);
}

TEST_F(ListTest, SetOnAOneRowListChangesNothing)
{
    Fill(1);
    EXPECT_EQ(Set(Kind1, 0), S_FALSE);
    EXPECT_EQ(Set(Kind3, 5), S_FALSE);
    EXPECT_EQ(Get(Kind3), 0);
    EXPECT_TRUE(Notifications().empty());
}

TEST_F(ListTest, ScrollingLessThanAPageMarksOnlyTheLinesThatScrollIn)
{
    Fill(20);
    ASSERT_EQ(m_list->CycleAfterFinalize(m_list->m_window, 0, 0, 0, 0), S_OK);
    ASSERT_EQ(Set(Kind1, 2), S_OK);
    std::vector<int> redraw;
    for (uint32_t i = 0; i < m_list->m_lines.GetCount(); ++i)
        redraw.push_back(m_list->m_lines.GetElement(i).m_redraw);
    // Lines 3 and 4 scroll in; the selection followed the page to row 2 (line 0).
    EXPECT_EQ(redraw, (std::vector<int>{1, 0, 0, 1, 1}));
}

TEST_F(ListTest, CycleStepsFollowTheChangedLines)
{
    Fill(20);
    const auto cycle = [this] {
        EXPECT_EQ(m_list->CycleBeforeFinalize(m_list->m_window, 0, 0, 0, 0), S_OK);
        return std::pair{m_list->m_actions.GetElement(45).m_repeat_count,
                         m_list->m_actions.GetElement(40).m_repeat_count};
    };
    EXPECT_EQ(cycle(), std::pair(5u * 600u, 5u * 30u));
    ASSERT_EQ(m_list->CycleAfterFinalize(m_list->m_window, 0, 0, 0, 0), S_OK);
    EXPECT_EQ(cycle(), std::pair(1u, 1u));
    RowListUserInterface2 row = MakeRows({"new"});
    ASSERT_EQ(m_list->UpdateElementsListReal(List::CodeReplace, 3, 1, &row), S_OK);
    EXPECT_EQ(cycle(), std::pair(600u, 30u));
}

// ---- layout and hit test ----

struct LayoutCase
{
    int32_t m_height;
    int32_t m_whole;
    int32_t m_lines;
};

TEST_F(ListTest, VisibleLinesCountAPartialLine)
{
    const LayoutCase cases[] = {{200, 4, 5}, {180, 4, 4}, {20, 0, 0}, {59, 0, 1}, {221, 5, 6}};
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.m_height);
        ASSERT_EQ(m_list->MoveObject(0, 0, 200, c.m_height), S_OK);
        EXPECT_EQ(m_list->m_whole_lines, c.m_whole);
        ASSERT_EQ(m_list->m_lines.GetCount(), static_cast<uint32_t>(c.m_lines));
        if (c.m_lines > 0) {
            EXPECT_EQ(m_list->m_lines.GetElement(c.m_lines - 1).m_whole, c.m_lines == c.m_whole ? 1 : 0);
        }
    }
}

struct NeedCase
{
    const char* m_name;
    int32_t m_height;
    int m_rows;
    int32_t m_first;
    uint8_t m_needed;
};

TEST_F(ListTest, ScrollBarNeed)
{
    const NeedCase cases[] = {
        {"fits", 200, 4, 0, 0},
        {"one more than the whole lines", 200, 5, 0, 1},
        {"scrolled", 200, 20, 16, 1},
        {"too low for the slider", 60, 20, 0, 0},
        {"no whole line", 50, 20, 0, 0},
    };
    for (const NeedCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeList(200, c.m_height);
        Fill(c.m_rows);
        if (c.m_first > 0) {
            ASSERT_EQ(Set(Kind1, c.m_first), S_OK);
        }
        EXPECT_EQ(m_list->m_scroll_needed, c.m_needed);
    }
}

struct HitCase
{
    int32_t m_x;
    int32_t m_y;
    int32_t m_line;
    int32_t m_column;
};

TEST_F(ListTest, HitTestOfPoints)
{
    Fill(20);
    const HeaderListUserInterface2 header = MakeHeader({{true, 60.0f}, {false, 1.0f}, {true, 1.0f}});
    ASSERT_EQ(m_list->UpdateHeaderInfoReal(&header), S_OK);
    // Column 0 is 0..60, column 2 the rest; the bar takes x 180..200.
    const HitCase cases[] = {
        {10, 10, -1, -1},  // header
        {10, 25, 0, 0},    {70, 65, 1, 2}, {179, 175, 3, 2},
        {190, 100, -1, -1}, // scroll bar
        {100, 190, 3, 2},   // partial line counts as the line before
        {100, 201, -1, -1},
    };
    for (const HitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m_x << "," << c.m_y);
        const TestList::CellHit hit = m_list->HitTest(c.m_x, c.m_y);
        EXPECT_EQ(hit.m_line, c.m_line);
        EXPECT_EQ(hit.m_column, c.m_column);
    }
}

TEST_F(ListTest, HitTestPastTheLastRowAndOnAnEmptyList)
{
    EXPECT_EQ(m_list->HitTest(50, 50).m_line, -1);
    Fill(2);
    EXPECT_EQ(m_list->HitTest(50, 150).m_line, 1);
    EXPECT_EQ(m_list->HitTest(50, 30).m_line, 0);
}

// Five rows on four whole lines and a partial one: the bar is needed with no row beyond the page.
TEST_F(ListTest, SliderWithNothingToScrollStaysAtTheTop)
{
    Fill(5);
    ASSERT_EQ(m_list->m_scroll_needed, 1);
    EXPECT_EQ(m_list->SliderTop(), 40);
    PostMessageA(m_list->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 20 + 45));
    PostMessageA(m_list->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 20 + 100));
    PumpPending();
    EXPECT_EQ(Get(Kind1), 0);
}

// A list whose track between the arrows is exactly the slider's length.
TEST_F(ListTest, DragOnATrackOfNoLengthChangesNothing)
{
    MakeList(200, 140);
    Fill(20);
    ASSERT_EQ(m_list->m_scroll_needed, 1);
    EXPECT_EQ(m_list->SliderTop(), 40);
    EXPECT_EQ(m_list->ScrollPartAt(190, 20 + 50), List::PartSlider);
    PostMessageA(m_list->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 20 + 50));
    PostMessageA(m_list->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, 20 + 70));
    PumpPending();
    EXPECT_EQ(Get(Kind1), 0);
}

TEST_F(ListTest, DraggingTheSliderSetsTheFirstVisibleRow)
{
    Fill(25);
    // Track: 180 - 2 x 40 - 40 = 60 pixels over 20 rows.
    EXPECT_EQ(m_list->SliderTop(), 40);
    const int32_t grab = 20 + 40 + 20;
    PostMessageA(m_list->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, grab));
    PostMessageA(m_list->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, grab + 30));
    PumpPending();
    EXPECT_EQ(Get(Kind1), 10);
    EXPECT_EQ(m_list->SliderTop(), 70);
    PostMessageA(m_list->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(190, grab + 500));
    PumpPending();
    EXPECT_EQ(Get(Kind1), 20);
    EXPECT_EQ(m_list->SliderTop(), 100);
}

// The default set applied through the widget's own property operation lands with the clamps.
TEST_F(ListTest, DefaultPropertySetApplies)
{
    TypedValueListUserInterface2 values;
    IndexListUserInterface2 indexes;
    ASSERT_EQ(FillDefaultPropertyListObject(&values, &indexes), S_OK);
    ASSERT_EQ(indexes.GetCount(), 53u);
    for (uint32_t slot : {6u, 10u, 14u, 16u, 20u, 22u, 34u, 36u})
        EXPECT_EQ(indexes.GetElement(slot), -1) << slot;
    EXPECT_EQ(indexes.GetElement(45), 7);
    EXPECT_EQ(values.GetElement(45).m_value.m_int, 4);
    EXPECT_STREQ(values.GetElement(50).m_value.m_text.GetString(), "ListObjectDefault_SliderScrollbar.bmp");
    EXPECT_EQ(values.GetElement(44).m_type, InfoTypedValueUserInterface2::TypeBool);
    EXPECT_FALSE(values.GetElement(44).m_value.m_bool);
    EXPECT_EQ(FillDefaultPropertyListObject(nullptr, &indexes), E_INVALIDARG);

    // Slots without an index are left out of what the list is given.
    ASSERT_EQ(ApplyDefaultListProperties(*m_list), S_OK);
    const auto number = [this](uint32_t index) {
        return m_list->m_property_tables.GetElement(0).GetElement(index).m_value.m_float;
    };
    EXPECT_EQ(number(22), 25.0f);
    // Index 10 is kept at most at the scroll-bar width.
    EXPECT_EQ(number(10), 25.0f);
    // Rows of 25 under a header of 30: 170 / 25 is six whole lines and a partial one.
    EXPECT_EQ(m_list->m_whole_lines, 6);
    EXPECT_EQ(m_list->m_lines.GetCount(), 7u);
}

// A 32-bit BMP of the given size, every pixel grey.
std::string MakeGreyBmp32(int width, int height)
{
    return MakeBmp32(width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, 0x80808080u), true);
}

TEST_F(ListTest, ChangedSkinsAndCellImagesLoadFromTheWidgetsFolder)
{
    TempFolder folder;
    folder.WriteFile("up.bmp", MakeGreyBmp32(7, 3));
    folder.WriteFile("image.bmp", MakeGreyBmp32(5, 2));
    ASSERT_TRUE(SUCCEEDED(m_list->SetOptimCPUReal(4)));
    ASSERT_EQ(m_list->SetTextVarForObjectReal(1, folder.Path().c_str()), S_OK);
    TypedValueListUserInterface2 values = ::MakeList(std::vector<InfoTypedValueUserInterface2>(2));
    values.GetElement(0).SetText("up.bmp");
    values.GetElement(1).SetText("image.bmp");
    const IndexListUserInterface2 indexes = MakeIndexList({48, 74 + 3});
    ASSERT_EQ(m_list->UpdateGeneralInfoForObjectReal(0, &values, &indexes, 2), S_OK);
    EXPECT_EQ(m_list->m_array_general_buffers.GetElement(77).m_width_element, 7);
    EXPECT_EQ(m_list->m_array_general_buffers.GetElement(185).m_width_element, 5);
    EXPECT_EQ(m_list->m_array_general_buffers.GetElement(185).m_height_element, 2);
    // An unchanged name is not read again.
    folder.WriteFile("up.bmp", MakeGreyBmp32(9, 3));
    const IndexListUserInterface2 other = MakeIndexList({74 + 3});
    TypedValueListUserInterface2 image = ::MakeList(std::vector<InfoTypedValueUserInterface2>(1));
    image.GetElement(0).SetText("image.bmp");
    ASSERT_EQ(m_list->UpdateGeneralInfoForObjectReal(0, &image, &other, 1), S_OK);
    EXPECT_EQ(m_list->m_array_general_buffers.GetElement(77).m_width_element, 7);
}
