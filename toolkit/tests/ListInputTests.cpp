#include "ListTestSupport.h"

#include "ManualTestClock.h"

#include <algorithm>
#include <cstring>

namespace {

using List = ListObjectUserInterface2;

// The middle of line `line`, below the default header of 20 and rows of 40.
int32_t LineY(int32_t line)
{
    return 20 + 40 * line + 20;
}

void PutClipboardText(HWND owner, const char* text)
{
    ASSERT_TRUE(OpenClipboard(owner));
    EmptyClipboard();
    if (text != nullptr) {
        const size_t size = strlen(text) + 1;
        HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
        memcpy(GlobalLock(block), text, size);
        GlobalUnlock(block);
        SetClipboardData(CF_TEXT, block);
    }
    CloseClipboard();
}

void SetControlKey(bool down)
{
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

} // namespace

class ListInputTest : public ListTest
{
protected:
    void Click(int32_t x, int32_t y) { Press(x, y, x, y); }

    void Press(int32_t downX, int32_t downY, int32_t upX, int32_t upY)
    {
        PostMessageA(m_list->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(downX, downY));
        PostMessageA(m_list->m_window, WM_LBUTTONUP, 0, MAKELPARAM(upX, upY));
        PumpPending();
    }

    // Keys go straight to the window procedure: a posted key would be translated into characters too.
    void Key(WPARAM key) { SendMessageA(m_list->m_window, WM_KEYDOWN, key, 0); }
    void Char(char code) { SendMessageA(m_list->m_window, WM_CHAR, static_cast<WPARAM>(code), 0); }

    // The notifications with the given indexes.
    std::vector<Notification> Only(std::initializer_list<int> indexes)
    {
        std::vector<Notification> kept;
        for (const Notification& n : Notifications())
            if (std::find(indexes.begin(), indexes.end(), n.m_index) != indexes.end())
                kept.push_back(n);
        return kept;
    }

    uint32_t CellWord(int32_t row, uint32_t column)
    {
        return m_list->m_rows.GetElement(static_cast<uint32_t>(row)).m_cells.GetElement(column).m_cell_word;
    }

    // Two columns of 100 pixels; row 1's cells get the words.
    void FillCells(uint32_t firstWord, uint32_t secondWord)
    {
        HeaderListUserInterface2 header;
        header.Init(2, 0);
        for (uint32_t i = 0; i < 2; ++i) {
            header.GetElement(i).m_enabled = 1;
            header.GetElement(i).m_width = 0.5f;
        }
        ASSERT_EQ(m_list->UpdateHeaderInfoReal(&header), S_OK);
        Fill(3);
        m_list->m_rows.GetElement(1).m_cells.GetElement(0).m_cell_word = firstWord;
        m_list->m_rows.GetElement(1).m_cells.GetElement(1).m_cell_word = secondWord;
    }

    // Row 0's first cell holds editable text and is focused.
    void FillEditable(const char* text)
    {
        Fill(3);
        InfoCellListUserInterface2& cell = m_list->m_rows.GetElement(0).m_cells.GetElement(0);
        cell.m_cell_word = CellKindEditableText;
        cell.m_text = text;
    }

    std::string EditedText() { return m_list->m_rows.GetElement(0).m_cells.GetElement(0).m_text.GetString(); }
};

struct CellClickCase
{
    const char* m_name;
    uint32_t m_first_word;
    uint32_t m_second_word;
    int32_t m_down_x;
    int32_t m_up_x;
    std::vector<Notification> m_notifications;
    uint32_t m_first_word_after;
};

TEST_F(ListInputTest, ClicksOnCells)
{
    constexpr uint32_t checkBox = CellCheckBox;
    const CellClickCase cases[] = {
        {"check box", checkBox, 0, 50, 50, {{1, 1}}, checkBox | CellChecked},
        {"checked box", checkBox | CellChecked, 0, 50, 50, {{1, 1}}, checkBox},
        {"button", 0, 0, 150, 150, {{4, (1 << 24) + 1}}, 0},
        {"first column button", 0, 0, 50, 50, {{4, 1}}, 0},
        {"disabled check box", checkBox | CellDisabled, 0, 50, 50, {}, checkBox | CellDisabled},
        {"silent check box", checkBox | CellSilent, 0, 50, 50, {}, checkBox | CellSilent},
        {"released on another cell", checkBox, 0, 50, 150, {}, checkBox},
    };
    for (const CellClickCase& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeList(200, 200);
        FillCells(c.m_first_word, c.m_second_word);
        Press(c.m_down_x, LineY(1), c.m_up_x, LineY(1));
        EXPECT_EQ(Only({1, 4}), c.m_notifications);
        EXPECT_EQ(CellWord(1, 0), c.m_first_word_after);
    }
}

TEST_F(ListInputTest, PressSelectsTheRowAndTogglesEditMode)
{
    FillEditable("text");
    Click(50, LineY(2));
    EXPECT_EQ(m_list->m_selected, 2);
    // A plain cell is a button.
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{0, 2}, {5, 2}, {4, 2}}));
    Click(50, LineY(0));
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{0, 0}, {6, 0}, {4, 0}}));
    EXPECT_EQ(m_list->m_edit_mode, 0);
}

TEST_F(ListInputTest, DoubleClickOnALine)
{
    Fill(3);
    ASSERT_EQ(Set(List::KindSelected, 2), S_OK);
    Notifications();
    PostMessageA(m_list->m_window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, LineY(1)));
    PostMessageA(m_list->m_window, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(50, 5));
    PumpPending();
    EXPECT_EQ(Only({7}), (std::vector<Notification>{{7, 2}}));
}

TEST_F(ListInputTest, ArrowClicksMoveTheSelectionByOne)
{
    Fill(20);
    Click(190, 20 + 170);
    Click(190, 20 + 170);
    EXPECT_EQ(m_list->m_selected, 2);
    Click(190, 20 + 10);
    EXPECT_EQ(m_list->m_selected, 1);
    // Pressed on one arrow, released on the other.
    Press(190, 20 + 10, 190, 20 + 170);
    EXPECT_EQ(m_list->m_selected, 1);
}

TEST_F(ListInputTest, HeldArrowStepsAfter200MsAndAtMost200RowsASecond)
{
    ManualTestClock clock;
    Fill(5000);
    PostMessageA(m_list->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(190, 20 + 170));
    PumpPending();
    const auto cycleAfter = [&](int64_t milliseconds) {
        clock.Advance(milliseconds);
        EXPECT_EQ(m_list->CycleBeforeFinalize(m_list->m_window, 0, 0, 0, 0), S_OK);
        return m_list->m_selected;
    };
    EXPECT_EQ(cycleAfter(199), 0);
    // 10 rows a second at first.
    EXPECT_EQ(cycleAfter(1), 2);
    EXPECT_EQ(cycleAfter(50), 2);
    EXPECT_EQ(cycleAfter(50), 3);
    // After 10 s the speed would be 300 rows a second; it is held at 200.
    EXPECT_EQ(cycleAfter(9700), 3 + 1940);
    EXPECT_EQ(cycleAfter(100), 3 + 1940 + 20);
    EXPECT_EQ(m_list->m_first_visible, m_list->m_selected - 4);
    PostMessageA(m_list->m_window, WM_LBUTTONUP, 0, MAKELPARAM(190, 20 + 170));
    PumpPending();
    const int32_t released = m_list->m_selected;
    EXPECT_EQ(cycleAfter(1000), released);
}

struct KeyCase
{
    WPARAM m_key;
    int32_t m_selected;
    int32_t m_first;
};

TEST_F(ListInputTest, NavigationKeys)
{
    Fill(20);
    const KeyCase cases[] = {
        {VK_UP, 0, 0},     {VK_DOWN, 1, 0},  {VK_NEXT, 5, 1},  {VK_NEXT, 9, 5},  {VK_END, 19, 15},
        {VK_PRIOR, 15, 15}, {VK_UP, 14, 14}, {VK_HOME, 0, 0},  {VK_PRIOR, 0, 0},
    };
    for (const KeyCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.m_key << " to " << c.m_selected);
        Key(c.m_key);
        EXPECT_EQ(m_list->m_selected, c.m_selected);
        EXPECT_EQ(m_list->m_first_visible, c.m_first);
    }
}

TEST_F(ListInputTest, LeftAndRightMoveOverEnabledColumns)
{
    HeaderListUserInterface2 header;
    header.Init(4, 0);
    header.GetElement(0).m_enabled = 1;
    header.GetElement(2).m_enabled = 1;
    header.GetElement(3).m_enabled = 1;
    ASSERT_EQ(m_list->UpdateHeaderInfoReal(&header), S_OK);
    Fill(3);
    const std::pair<WPARAM, int32_t> steps[] = {{VK_RIGHT, 2}, {VK_RIGHT, 3}, {VK_RIGHT, 3},
                                                {VK_LEFT, 2},  {VK_LEFT, 0},  {VK_LEFT, 0}};
    for (const auto& [key, column] : steps) {
        Key(key);
        EXPECT_EQ(m_list->m_focused_column, column);
    }
}

TEST_F(ListInputTest, EditingMovesTheCaretAndChangesTheText)
{
    FillEditable("abc");
    Key(VK_RETURN);
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{5, 0}}));
    EXPECT_NE(CellWord(0, 0) & CellEdited, 0u);
    Key(VK_END);
    Char('x');
    EXPECT_EQ(EditedText(), "abcx");
    Key(VK_LEFT);
    Key(VK_LEFT);
    Key(VK_BACK);
    EXPECT_EQ(EditedText(), "acx");
    Key(VK_DELETE);
    EXPECT_EQ(EditedText(), "ax");
    Key(VK_HOME);
    Key(VK_LEFT);
    Char('Z');
    Key(VK_RIGHT);
    Char('q');
    EXPECT_EQ(EditedText(), "Zaqx");
    Key(VK_END);
    Key(VK_RIGHT);
    Key(VK_DELETE);
    Char('!');
    EXPECT_EQ(EditedText(), "Zaqx!");
    // Characters below 30 are not the editor's.
    Char(5);
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{8, 5}}));
    Key(VK_ESCAPE);
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{6, 0}}));
    EXPECT_EQ(CellWord(0, 0) & CellEdited, 0u);
    Char('k');
    EXPECT_EQ(EditedText(), "Zaqx!");
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{8, 'k'}}));
}

TEST_F(ListInputTest, EnterSkipsCellsOfKindTwo)
{
    Fill(3);
    InfoRowListUserInterface2& row = m_list->m_rows.GetElement(0);
    row.m_cells.GetElement(0).m_cell_word = CellKindSkippedByEnter;
    row.m_cells.GetElement(1).m_cell_word = CellKindSkippedByEnter;
    row.m_cells.GetElement(2).m_cell_word = CellKindEditableText;
    Key(VK_RETURN);
    EXPECT_EQ(m_list->m_focused_column, 2);
    EXPECT_EQ(m_list->m_edit_mode, 1);
}

TEST_F(ListInputTest, ControlVReplacesTheTextWithTheClipboardsText)
{
    FillEditable("old");
    Key(VK_RETURN);
    SetControlKey(true);
    PutClipboardText(m_recorder.Handle(), nullptr);
    Key('V');
    EXPECT_EQ(EditedText(), "old");
    PutClipboardText(m_recorder.Handle(), "pasted");
    Key('V');
    SetControlKey(false);
    EXPECT_EQ(EditedText(), "pasted");
    Key('V');
    EXPECT_EQ(EditedText(), "pasted");
}

TEST_F(ListInputTest, LosingTheFocusEndsEditMode)
{
    FillEditable("abc");
    Key(VK_RETURN);
    Notifications();
    SendMessageA(m_list->m_window, WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(m_list->m_edit_mode, 0);
    EXPECT_EQ(Notifications(), (std::vector<Notification>{{6, 0}}));
    EXPECT_EQ(CellWord(0, 0) & CellEdited, 0u);
}

TEST_F(ListInputTest, HoverFollowsTheLineAndByChoiceTheColumn)
{
    FillCells(0, 0);
    const auto move = [this](int32_t x, int32_t y) {
        PostMessageA(m_list->m_window, WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        PumpPending();
    };
    move(50, LineY(1));
    EXPECT_EQ(m_list->m_hovered_line, 1);
    EXPECT_EQ(m_list->m_focused_column, 0);
    // Another column of the same line is no change by default.
    move(150, LineY(1));
    EXPECT_EQ(m_list->m_focused_column, 0);
    m_list->m_property_tables.GetElement(0).GetElement(58).SetBool(false);
    move(160, LineY(1));
    EXPECT_EQ(m_list->m_focused_column, 1);
    move(160, LineY(2));
    EXPECT_EQ(m_list->m_hovered_line, 2);
    PostMessageA(m_list->m_window, WM_MOUSELEAVE, 0, 0);
    PumpPending();
    EXPECT_EQ(m_list->m_hovered_line, -1);
    EXPECT_TRUE(Notifications().empty());
}
