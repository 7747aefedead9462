// The status strip and the schedule grid on the screen with the default skins: what the screen
// shows is compared with the widget's picture, and the picture's parts are checked where the
// layout puts them (colours and text presence, not glyphs: Wine substitutes fonts).
#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"
#include "DefaultSkinFolder.h"
#include "StatusSkinNames.h"
#include "TestWidget.h"

#include "ManualTestClock.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

struct Rgb
{
    int r;
    int g;
    int b;
};

Rgb Split(uint32_t pixel)
{
    return {static_cast<int>(pixel >> 16 & 255), static_cast<int>(pixel >> 8 & 255), static_cast<int>(pixel & 255)};
}

// A widget shown topmost at a place of the screen with the default skins, ticked by the test on
// the manual clock; its picture and the screen are read after each tick.
class ShownWidget
{
public:
    ShownWidget(BaseUserInterface& widget, int32_t left, int32_t top, int32_t width, int32_t height,
                const std::vector<const char*>& skins, int32_t finalBuffer)
        : m_widget(widget), m_left(left), m_top(top), m_width(width), m_height(height), m_final(finalBuffer)
    {
        InfoGDIUserInterface2 text;
        text.m_color = RGB(255, 255, 255);
        text.m_font.lfHeight = 14;
        text.m_font.lfWeight = FW_BOLD;
        const GDIListUserInterface2 entries = MakeList<InfoGDIUserInterface2>({text});
        const IndexListUserInterface2 entryIndexes = MakeIndexList({137});
        m_widget.UpdateGDIInfoForObjectReal(&entries, &entryIndexes, 1);
        m_widget.SetOptimCPUReal(4);
        m_widget.CreateObject();
        m_window = m_widget.GetHWNDReal();
        KillTimer(m_window, reinterpret_cast<UINT_PTR>(&m_widget));
        m_widget.SetTextVarForObjectReal(1, DefaultSkinFolder().c_str());
        m_widget.ControlStatObjectShowReal(1, 1);
        m_widget.MoveObjectReal(left, top, width, height);
        SetWindowPos(m_window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        std::vector<InfoTypedValueUserInterface2> values;
        std::vector<int32_t> indexes;
        for (const char* skin : skins) {
            InfoTypedValueUserInterface2 value;
            value.SetText(skin);
            values.push_back(value);
            indexes.push_back(static_cast<int32_t>(indexes.size()));
        }
        SetProperties(values, indexes);
    }

    void SetProperties(const std::vector<InfoTypedValueUserInterface2>& values, const std::vector<int32_t>& indexes)
    {
        const TypedValueListUserInterface2 list = MakeList(values);
        const IndexListUserInterface2 indexList = MakeIndexList(indexes);
        m_widget.UpdateGeneralInfoForObjectReal(0, &list, &indexList, static_cast<int32_t>(values.size()));
    }

    // One tick; true when the screen came to show the picture at a spread of points.
    bool Tick(ManualTestClock& clock, int32_t milliseconds)
    {
        clock.Advance(milliseconds);
        m_widget.OnTimerCycle(m_window, 0, 0, false);
        m_widget.GetBufferFromIndex(m_final, &m_picture);
        return WaitFor([&] {
            const std::vector<uint32_t> screen = ScreenPixels(m_left, m_top, m_width, m_height);
            for (int32_t y = 1; y < m_height; y += m_height / 7)
                for (int32_t x = 1; x < m_width; x += m_width / 9)
                    if (screen[static_cast<size_t>(y) * m_width + x] != At(x, y))
                        return false;
            return true;
        });
    }

    uint32_t At(int32_t x, int32_t y) const
    {
        const int32_t at = y * m_picture.m_byte_stride / 2 + x;
        uint32_t rgb = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            rgb = rgb << 8 | static_cast<uint8_t>(std::clamp<int16_t>(m_picture.m_rgb_buffers.GetElement(plane)[at], 0, 255));
        return rgb;
    }

    // Pixels of the rows and columns whose every channel is above 200.
    int WhitePixels(int32_t top, int32_t bottom, int32_t left, int32_t right) const
    {
        int count = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x) {
                const Rgb c = Split(At(x, y));
                count += c.r > 200 && c.g > 200 && c.b > 200;
            }
        return count;
    }

    Rgb Mean(int32_t top, int32_t bottom, int32_t left, int32_t right) const
    {
        long r = 0, g = 0, b = 0, n = 0;
        for (int32_t y = top; y < bottom; ++y)
            for (int32_t x = left; x < right; ++x, ++n) {
                const Rgb c = Split(At(x, y));
                r += c.r, g += c.g, b += c.b;
            }
        return {static_cast<int>(r / n), static_cast<int>(g / n), static_cast<int>(b / n)};
    }

    const InfoGeneralBufferForUserInterface2& Picture() const { return m_picture; }

private:
    BaseUserInterface& m_widget;
    HWND m_window = nullptr;
    int32_t m_left, m_top, m_width, m_height, m_final;
    InfoGeneralBufferForUserInterface2 m_picture;
};

void SetStatusText(ShownWidget& shown, const char* text)
{
    InfoTypedValueUserInterface2 value;
    value.SetText(text);
    shown.SetProperties({value}, {StatusObjectUserInterface2::FieldText});
}

TEST(StatusScreenshot, TheSplitStripShowsItsTopSkinAboveTheBottomPartWithTheText)
{
    ManualTestClock clock;
    StatusObjectUserInterface2 status("status on the screen", nullptr, StatusObjectUserInterface2::PipelineSplit, 0);
    ShownWidget shown(status, 1080, 300, 165, 100, StatusStripSkins(), StatusObjectUserInterface2::FinalBuffer);
    SetStatusText(shown, "K.O.R.V.A.N.E.");
    ASSERT_TRUE(shown.Tick(clock, 80));
    // 0.85 of 100 rows is the top part: the bluish skin, no text; the text is in the bottom part.
    const Rgb top = shown.Mean(2, 83, 2, 163);
    EXPECT_GT(top.b, top.r + 20);
    EXPECT_EQ(shown.WhitePixels(0, 85, 0, 165), 0);
    EXPECT_GT(shown.WhitePixels(85, 100, 0, 165), 10);
}

TEST(StatusScreenshot, TheWholeStripCarriesTheTextAndItsTextureMoves)
{
    ManualTestClock clock;
    StatusObjectUserInterface2 status("status on the screen", nullptr,
                                      StatusObjectUserInterface2::PipelineWhole |
                                          StatusObjectUserInterface2::ScrollWithTrails,
                                      0);
    ShownWidget shown(status, 1080, 420, 165, 100, StatusStripSkins(), StatusObjectUserInterface2::FinalBuffer);
    SetStatusText(shown, "K.O.R.V.A.N.E.\nready");
    ASSERT_TRUE(shown.Tick(clock, 80));
    ASSERT_TRUE(shown.Tick(clock, 80));
    EXPECT_GT(shown.WhitePixels(0, 100, 0, 165), 10);
    InfoGeneralBufferForUserInterface2 before;
    before = shown.Picture();
    ASSERT_TRUE(shown.Tick(clock, 160));
    int moved = 0;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 165; ++x)
            moved += before.m_rgb_buffers.GetElement(2)[y * before.m_byte_stride / 2 + x] !=
                     shown.Picture().m_rgb_buffers.GetElement(2)[y * before.m_byte_stride / 2 + x];
    EXPECT_GT(moved, 100);
}

TEST(ScheduleScreenshot, CellsInTheirStatePicturesALitCellAndTheHeadersInPlace)
{
    constexpr int32_t DayColumn = 96, HourRow = 25, CellWidth = 26, CellHeight = 32;
    ManualTestClock clock;
    StatusCameraObjectUserInterface2 grid({}, 0, 0, "grid on the screen", nullptr, 1);
    ShownWidget shown(grid, 540, 20, 720, 250, ScheduleGridSkins(), StatusCameraObjectUserInterface2::FinalBuffer);
    // Day d holds state d % 4 + 1; Sunday's cells carry mark 2.
    std::vector<uint8_t> week(StatusCameraObjectUserInterface2::CellCount);
    for (int32_t cell = 0; cell < StatusCameraObjectUserInterface2::CellCount; ++cell)
        week[cell] = static_cast<uint8_t>((cell / 24 % 4 + 1) << 4 | (cell / 24 == 6 ? 2 : 0));
    grid.UpdateStateSheduler(week.data(), StatusCameraObjectUserInterface2::CellCount, 0);
    PostMessageA(grid.GetHWNDReal(), WM_MOUSEMOVE, 0, MAKELPARAM(DayColumn + 9 * CellWidth + 8, HourRow + 2 * CellHeight + 8));
    PumpPending();
    ASSERT_TRUE(shown.Tick(clock, 50));
    const auto cell = [&](int32_t day, int32_t hour) {
        const int32_t left = DayColumn + hour * CellWidth, top = HourRow + day * CellHeight;
        return shown.Mean(top + 4, top + 14, left + 4, left + 12);
    };
    const Rgb grey = cell(0, 3), green = cell(1, 3), blue = cell(2, 3), orange = cell(3, 3), lit = cell(2, 9);
    EXPECT_LT(std::abs(grey.r - grey.b), 40);
    EXPECT_GT(green.g, green.r + 60);
    EXPECT_GT(blue.b, blue.r + 60);
    EXPECT_GT(orange.r, orange.b + 80);
    // The lit cell: the hover colour added onto its state's picture.
    EXPECT_GT(lit.g, blue.g + 60);
    // Sunday's mark shows in the lower right corner of its cells.
    const int32_t sunday = HourRow + 6 * CellHeight;
    const Rgb mark = shown.Mean(sunday + CellHeight - 5, sunday + CellHeight - 3, DayColumn + CellWidth - 6,
                                DayColumn + CellWidth - 3);
    EXPECT_GT(mark.r, 150);
    // Hour numbers and day names on their dark headers, the corner's brushes left of the cells.
    for (int32_t hour : {0, 12, 23}) {
        const int32_t left = DayColumn + hour * CellWidth;
        const Rgb header = shown.Mean(0, HourRow, left, left + CellWidth);
        EXPECT_LT(header.r, 100) << hour;
        EXPECT_GT(header.b, 0) << hour;
    }
    const Rgb wednesday = shown.Mean(HourRow + 2 * CellHeight, HourRow + 3 * CellHeight, 0, DayColumn);
    EXPECT_LT(wednesday.r, 100);
    EXPECT_GT(wednesday.b, 0);
    EXPECT_NE(shown.Mean(2, HourRow - 2, 2, DayColumn / 2 - 2).g, shown.Mean(2, HourRow - 2, DayColumn / 2 + 2, DayColumn - 2).g);
}

} // namespace
