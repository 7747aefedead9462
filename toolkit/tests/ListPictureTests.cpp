// The list's picture: its buffer plan, what a tick draws (nothing when idle, two lines for a new
// selection, only the incoming line when scrolling by less than a page, the others moved), the
// header's accent band and the picture on the screen.
#include "ListTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

namespace {

using List = ListObjectUserInterface2;

constexpr int32_t Left = 40;
constexpr int32_t Top = 640;
constexpr int32_t Width = 300;
constexpr int32_t Height = 250;
// With the default settings: a header of 30, rows of 25 (eight whole lines and a partial one),
// a scroll bar of 25 with keys of 35.
constexpr int32_t HeaderHeight = 30;
constexpr int32_t RowHeight = 25;
constexpr int32_t Lines = 9;
constexpr int32_t BarWidth = 25;
constexpr int32_t CheckColumnWidth = 30;
constexpr int32_t Rows = 20;

constexpr COLORREF ListBackground = RGB(40, 40, 40);
constexpr COLORREF HeaderBackground = RGB(30, 60, 120);
// The band of the text column's header, whose id asks for an accent.
constexpr COLORREF AccentColour = RGB(240, 120, 0);
constexpr COLORREF RowBackground = RGB(230, 230, 230);
constexpr COLORREF SelectedBackground = RGB(250, 200, 60);
constexpr COLORREF TrackColour = RGB(160, 160, 170);
// Colours of the generated skins: the check mark, the empty box and the arrows.
constexpr uint32_t CheckMark = 0x1F7A3A;
constexpr uint32_t EmptyBox = 0xFFFFFF;
constexpr uint32_t ArrowMark = 0x2C3E5A;

uint32_t Rgb(COLORREF colour)
{
    return static_cast<uint32_t>(GetRValue(colour)) << 16 | GetGValue(colour) << 8 | GetBValue(colour);
}

uint32_t Pixel(const InfoGeneralBufferForUserInterface2& picture, int32_t x, int32_t y)
{
    const int32_t at = y * picture.m_byte_stride / 2 + x;
    uint32_t rgb = 0;
    for (uint32_t plane = 0; plane < 3; ++plane)
        rgb = rgb << 8 | static_cast<uint8_t>(picture.m_rgb_buffers.GetElement(plane)[at]);
    return rgb;
}

// The pixels of a region, row by row.
std::vector<uint32_t> Region(const InfoGeneralBufferForUserInterface2& picture, int32_t x, int32_t y, int32_t width,
                             int32_t height)
{
    std::vector<uint32_t> pixels;
    for (int32_t row = y; row < y + height; ++row)
        for (int32_t column = x; column < x + width; ++column)
            pixels.push_back(Pixel(picture, column, row));
    return pixels;
}

// A 300 x 250 list with the generated skins and the default settings: a narrow check-box column
// (even rows checked) and a text column, twenty rows.
class ListPictureTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(m_list.SetOptimCPUReal(4)));
        ASSERT_EQ(m_list.CreateObject(), S_OK);
        ASSERT_EQ(m_list.SetTextVarForObjectReal(1, DefaultSkinFolder().c_str()), S_OK);
        ASSERT_EQ(ApplyDefaultListProperties(m_list), S_OK);
        SetColours();
        HeaderListUserInterface2 header;
        header.Init(2, 0);
        header.GetElement(0).m_enabled = 1;
        header.GetElement(0).m_width = static_cast<float>(CheckColumnWidth);
        header.GetElement(1).m_enabled = 1;
        header.GetElement(1).m_width = 1.0f;
        header.GetElement(1).m_title = "Name";
        header.GetElement(1).m_id = 0x10000;
        ASSERT_EQ(m_list.UpdateHeaderInfoReal(&header), S_OK);
        ASSERT_EQ(m_list.MoveObjectReal(Left, Top, Width, Height), S_OK);
        RowListUserInterface2 rows;
        rows.Init(Rows, 0);
        for (uint32_t i = 0; i < Rows; ++i) {
            InfoCellListUserInterface2& check = rows.GetElement(i).m_cells.GetElement(0);
            check.m_cell_word = i % 2 == 0 ? CellCheckBox | CellChecked : uint32_t{CellCheckBox};
            rows.GetElement(i).m_cells.GetElement(1).m_text = ("row " + std::to_string(i)).c_str();
        }
        ASSERT_EQ(m_list.UpdateElementsListReal(List::CodeInsert, -1, Rows, &rows), S_OK);
        PumpPending();
    }

    void SetColours(const std::vector<std::pair<int32_t, COLORREF>>& colours = {
                        {0x06, ListBackground}, {0x21, HeaderBackground}, {0x22, AccentColour},
                        {0x23, RGB(10, 10, 10)}, {0x24, RowBackground}, {0x25, SelectedBackground},
                        {0x26, RGB(90, 90, 90)}, {0x27, TrackColour}, {0x29, RGB(60, 60, 60)}, {0x81, RGB(0, 0, 0)},
                        {0x87, RGB(255, 255, 255)}, {0x88, RGB(0, 0, 0)}})
    {
        std::vector<InfoGDIUserInterface2> entries;
        std::vector<int32_t> indexes;
        for (const auto& [index, colour] : colours) {
            InfoGDIUserInterface2 entry;
            entry.m_color = colour;
            entry.m_font.lfHeight = 13;
            entries.push_back(entry);
            indexes.push_back(index);
        }
        const GDIListUserInterface2 entryList = MakeList(entries);
        const IndexListUserInterface2 indexList = MakeIndexList(indexes);
        ASSERT_EQ(m_list.UpdateGDIInfoForObjectReal(&entryList, &indexList, static_cast<int32_t>(entries.size())),
                  S_OK);
    }

    // One cycle as the timer runs it, at the given time: whether a picture came out.
    bool Tick(uint64_t now)
    {
        EXPECT_EQ(m_list.CycleBeforeFinalize(m_list.m_window, 0, 0, now, 0), S_OK);
        InfoGeneralBufferForUserInterface2* final = nullptr;
        InfoGeneralBufferForUserInterface2* shown = nullptr;
        EXPECT_EQ(m_list.FinalizeFinallBufferReal(&final, &shown, now), S_OK);
        EXPECT_EQ(m_list.CycleAfterFinalize(m_list.m_window, 0, 0, now, 0), S_OK);
        return final != nullptr;
    }

    HRESULT Set(uint32_t kind, int32_t value)
    {
        return m_list.UpdateIndexFromTypeReal(List::ActionSet | kind, &value);
    }

    std::unique_ptr<InfoGeneralBufferForUserInterface2> Buffer(int32_t index)
    {
        auto copy = std::make_unique<InfoGeneralBufferForUserInterface2>();
        EXPECT_EQ(m_list.GetBufferFromIndex(index, copy.get()), S_OK);
        return copy;
    }

    // The body's colour in the text column of a line, right of the text.
    uint32_t LineColour(int32_t line)
    {
        return Pixel(*Buffer(List::BodyBuffer), 240, HeaderHeight + line * RowHeight + 3);
    }

    TestList m_list;
};

} // namespace

TEST_F(ListPictureTest, BufferPlan)
{
    ASSERT_TRUE(Tick(1000));
    const auto size = [this](int32_t index) {
        const auto buffer = Buffer(index);
        return std::pair(buffer->m_width_element, buffer->m_height_element);
    };
    EXPECT_EQ(size(List::BodyBuffer), std::pair(Width, Height));
    // The text column takes the rest of the width, scroll bar included.
    for (int32_t line = 0; line < Lines; ++line) {
        EXPECT_EQ(size(List::CellBuffer(line, 0)), std::pair(CheckColumnWidth, RowHeight)) << line;
        EXPECT_EQ(size(List::CellBuffer(line, 1)), std::pair(Width - CheckColumnWidth, RowHeight)) << line;
    }
    EXPECT_EQ(size(List::CellBuffer(Lines, 0)), std::pair(0, 0));
    EXPECT_EQ(size(List::CellBuffer(0, 2)), std::pair(0, 0));
    EXPECT_EQ(size(70), std::pair(CheckColumnWidth, HeaderHeight));
    EXPECT_EQ(size(77), std::pair(25, 35));
    EXPECT_EQ(size(78), std::pair(25, 35));
    EXPECT_EQ(size(96), std::pair(25, 30));
    EXPECT_EQ(size(182), std::pair(25, 25));
    EXPECT_EQ(size(183), std::pair(25, 25));
    // The cell of a checked row shows the check image, the next row's the empty box.
    EXPECT_EQ(Pixel(*Buffer(List::CellBuffer(0, 0)), 2 + 11, 17), CheckMark);
    EXPECT_EQ(Pixel(*Buffer(List::CellBuffer(1, 0)), 2 + 11, 17), EmptyBox);
    // Selected row 0 and row 1 in the body; the header band above them.
    EXPECT_EQ(LineColour(0), Rgb(SelectedBackground));
    EXPECT_EQ(LineColour(1), Rgb(RowBackground));
    EXPECT_EQ(Pixel(*Buffer(List::BodyBuffer), 15, 10), Rgb(HeaderBackground));
}

TEST_F(ListPictureTest, IdleTickShowsNothingAndDrawsNothing)
{
    ASSERT_TRUE(Tick(1000));
    EXPECT_EQ(m_list.m_built_lines, static_cast<uint32_t>(Lines));
    const auto updateTimes = [this] {
        std::vector<uint64_t> times;
        for (uint32_t i = 0; i < m_list.m_array_general_buffers.GetCount(); ++i)
            times.push_back(m_list.m_array_general_buffers.GetElement(i).m_last_time_update_buffer);
        return times;
    };
    const std::vector<uint64_t> drawn = updateTimes();
    EXPECT_FALSE(Tick(2000));
    EXPECT_FALSE(Tick(3000));
    EXPECT_EQ(m_list.m_built_lines, static_cast<uint32_t>(Lines));
    EXPECT_EQ(updateTimes(), drawn);
    // The fixed slots keep their runs; the line and text slots run once.
    const std::vector<std::pair<uint32_t, uint32_t>> slotRuns = {{10, 144}, {34, 6}, {43, 6},
                                                                 {44, 78},  {40, 1}, {45, 1}};
    for (const auto& [slot, runs] : slotRuns)
        EXPECT_EQ(m_list.m_actions.GetElement(slot).m_repeat_count, runs) << slot;
}

TEST_F(ListPictureTest, SelectionChangeDrawsTwoLines)
{
    ASSERT_TRUE(Tick(1000));
    ASSERT_EQ(Set(List::KindSelected, 3), S_OK);
    ASSERT_TRUE(Tick(2000));
    EXPECT_EQ(m_list.m_built_lines, static_cast<uint32_t>(Lines + 2));
    EXPECT_EQ(LineColour(0), Rgb(RowBackground));
    EXPECT_EQ(LineColour(3), Rgb(SelectedBackground));
}

// Down and up from row 5, the selected row 8 staying on the page.
TEST_F(ListPictureTest, ScrollByLessThanAPageDrawsOnlyTheIncomingLinesAndMovesTheOthers)
{
    for (int32_t distance : {1, 3, -2}) {
        SCOPED_TRACE(distance);
        ASSERT_EQ(Set(List::KindFirstVisible, 5), S_OK);
        ASSERT_EQ(Set(List::KindSelected, 8), S_OK);
        ASSERT_TRUE(Tick(1000));
        std::vector<std::vector<uint32_t>> cells;
        for (int32_t line = 0; line < Lines; ++line)
            for (uint32_t c = 0; c < 2; ++c) {
                const auto cell = Buffer(List::CellBuffer(line, c));
                cells.push_back(Region(*cell, 0, 0, cell->m_width_element, RowHeight));
            }
        const uint32_t built = m_list.m_built_lines;

        ASSERT_EQ(Set(List::KindFirstVisible, 5 + distance), S_OK);
        ASSERT_TRUE(Tick(2000));
        EXPECT_EQ(m_list.m_built_lines, built + static_cast<uint32_t>(std::abs(distance)));
        const auto body = Buffer(List::BodyBuffer);
        for (int32_t line = std::max(-distance, 0); line < Lines - std::max(distance, 0); ++line)
            for (uint32_t c = 0; c < 2; ++c) {
                SCOPED_TRACE(std::to_string(line) + " " + std::to_string(c));
                const auto cell = Buffer(List::CellBuffer(line, c));
                const std::vector<uint32_t>& before = cells[static_cast<size_t>((line + distance) * 2) + c];
                EXPECT_EQ(Region(*cell, 0, 0, cell->m_width_element, RowHeight), before);
                // The body shows the moved cell left of the scroll bar.
                const int32_t left = c == 0 ? 0 : CheckColumnWidth;
                const int32_t width = c == 0 ? CheckColumnWidth : Width - BarWidth - CheckColumnWidth;
                const int32_t height = std::min(RowHeight, Height - HeaderHeight - line * RowHeight);
                EXPECT_EQ(Region(*body, left, HeaderHeight + line * RowHeight, width, height),
                          Region(*cell, 0, 0, width, height));
            }
        EXPECT_EQ(LineColour(3 - distance), Rgb(SelectedBackground));
    }
}

// A line still waiting to be drawn when the page moves is drawn at its row's new line.
TEST_F(ListPictureTest, ChangesWaitingForTheNextTickFollowTheirRowsWhenThePageMoves)
{
    ASSERT_TRUE(Tick(1000));
    ASSERT_EQ(Set(List::KindSelected, 4), S_OK);
    ASSERT_EQ(Set(List::KindFirstVisible, 1), S_OK);
    ASSERT_TRUE(Tick(2000));
    for (int32_t line = 0; line < Lines - 1; ++line)
        EXPECT_EQ(LineColour(line), Rgb(line == 3 ? SelectedBackground : RowBackground)) << line;
}

TEST_F(ListPictureTest, ScreenShowsHeaderRowsChecksAndScrollBar)
{
    ASSERT_EQ(Set(List::KindSelected, 2), S_OK);
    ASSERT_EQ(m_list.ControlStatObjectShowReal(1, 1), S_OK);
    SetWindowPos(m_list.m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const auto at = [](int32_t x, int32_t y) { return ScreenPixels(Left + x, Top + y, 1, 1)[0]; };
    const auto lineY = [](int32_t line) { return HeaderHeight + line * RowHeight; };
    const auto shows = [&](int32_t selectedLine, uint32_t firstCheck) {
        return at(15, 5) == Rgb(HeaderBackground) && at(240, lineY(selectedLine) + 3) == Rgb(SelectedBackground) &&
               at(240, lineY(selectedLine - 1) + 3) == Rgb(RowBackground) &&
               at(240, lineY(selectedLine + 1) + 3) == Rgb(RowBackground) && at(2 + 11, lineY(0) + 17) == firstCheck &&
               at(2 + 11, lineY(1) + 17) != firstCheck && at(Width - BarWidth + 12, HeaderHeight + 18) == ArrowMark &&
               at(Width - BarWidth + 12, Height - 35 + 15) == ArrowMark;
    };
    EXPECT_TRUE(WaitFor([&] { return shows(2, CheckMark); }))
        << std::hex << at(15, 5) << " " << at(240, lineY(2) + 3) << " " << at(13, lineY(0) + 17) << " "
        << at(Width - BarWidth + 12, HeaderHeight + 18);
    // One row down: row 1 (unchecked) is on top and the selected row's colour moved up a line.
    ASSERT_EQ(Set(List::KindFirstVisible, 1), S_OK);
    EXPECT_TRUE(WaitFor([&] { return shows(1, EmptyBox); }))
        << std::hex << at(240, lineY(1) + 3) << " " << at(13, lineY(0) + 17);
}

// Lines below the last one with cell buffers are not pictured: a scroll past all pictured lines
// draws every line again instead of moving pictures it does not have.
TEST_F(ListTest, ScrollPastThePicturedLinesDrawsEveryLine)
{
    MakeList(200, 300);
    SetProperty(22, 5.0f);
    ASSERT_GT(m_list->m_lines.GetCount(), static_cast<uint32_t>(List::PicturedLineLimit));
    Fill(200);
    ASSERT_EQ(m_list->CycleAfterFinalize(m_list->m_window, 0, 0, 0, 0), S_OK);
    ASSERT_EQ(Set(List::KindFirstVisible, List::PicturedLineLimit + 1), S_OK);
    for (uint32_t i = 0; i < m_list->m_lines.GetCount(); ++i)
        EXPECT_EQ(m_list->m_lines.GetElement(i).m_redraw, 1) << i;
}

// The accent band is the header colour plus the accent colour, saturated, and the rest of the
// column's header keeps the header colour, on light headers too (whose channels above 128 once
// wrapped in the composition's 16-bit products and came out black).
TEST_F(ListPictureTest, AccentBandAddsItsColourToDarkAndLightHeaders)
{
    struct Case
    {
        COLORREF header;
        COLORREF band;
    };
    const Case cases[] = {{HeaderBackground, RGB(255, 180, 120)}, {RGB(160, 130, 200), RGB(255, 250, 200)}};
    uint64_t now = 1000;
    for (const Case& c : cases) {
        SCOPED_TRACE(Rgb(c.header));
        SetColours({{0x21, c.header}});
        ASSERT_TRUE(Tick(now += 1000));
        const auto body = Buffer(List::BodyBuffer);
        EXPECT_EQ(Pixel(*body, 15, 10), Rgb(c.header));
        EXPECT_EQ(Pixel(*body, CheckColumnWidth + 150, 10), Rgb(c.header));
        EXPECT_EQ(Pixel(*body, CheckColumnWidth + 150, HeaderHeight - 2), Rgb(c.band));
        EXPECT_EQ(Pixel(*body, 15, HeaderHeight - 2), Rgb(c.header));
    }
}
