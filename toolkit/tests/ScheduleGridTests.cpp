// The weekly schedule grid: a new week, loading and reading it from any thread, the layout and hit
// test, painting and the corner brushes through posted messages, and the glow and fade on the
// manual clock.
#include "StatusCameraObjectUserInterface2.h"
#include "TestWidget.h"

#include "ManualTestClock.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

using Grid = StatusCameraObjectUserInterface2;

constexpr uint32_t ControlId = 2050;
constexpr int32_t Width = 720;
constexpr int32_t Height = 250;
// At 720 x 250: cells of 26 x 32 pixels right of a 96-pixel day column and below 25-pixel hours.
constexpr int32_t CellWidth = 26;
constexpr int32_t CellHeight = 32;
constexpr int32_t DayColumn = 96;
constexpr int32_t HourRow = 25;

class TestGrid : public StatusCameraObjectUserInterface2
{
public:
    TestGrid() : StatusCameraObjectUserInterface2({}, 0, 0, "grid under test", nullptr, ControlId) {}

    using BaseUserInterface::m_element_count;
    using BaseUserInterface::m_elements;
    using BaseUserInterface::m_mouse_tracking;
    using BaseUserInterface::m_property_tables;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_window;
    using StatusCameraObjectUserInterface2::m_cell_colour;
    using StatusCameraObjectUserInterface2::m_cell_height;
    using StatusCameraObjectUserInterface2::m_cell_width;
    using StatusCameraObjectUserInterface2::m_day_colour;
    using StatusCameraObjectUserInterface2::m_edit_state;
    using StatusCameraObjectUserInterface2::m_grid_messages;
    using StatusCameraObjectUserInterface2::m_header_height;
    using StatusCameraObjectUserInterface2::m_header_width;
    using StatusCameraObjectUserInterface2::m_hour_colour;
    using StatusCameraObjectUserInterface2::m_mark_brush;
    using StatusCameraObjectUserInterface2::m_state_brush;
};

std::vector<uint8_t> Week(Grid& grid)
{
    std::vector<uint8_t> week(Grid::CellCount);
    grid.UpdateStateSheduler(week.data(), Grid::CellCount, Grid::DirectionGet);
    return week;
}

std::vector<int32_t> CellsHolding(const std::vector<uint8_t>& week, uint8_t value)
{
    std::vector<int32_t> cells;
    for (int32_t i = 0; i < static_cast<int32_t>(week.size()); ++i)
        if (week[i] == value)
            cells.push_back(i);
    return cells;
}

uint32_t Rgb(const unifrgb& colour)
{
    return static_cast<uint32_t>(colour.m_red) << 16 | colour.m_green << 8 | colour.m_blue;
}

// A shown grid on the test thread whose notifications go to a recorder; only the test's ticks
// run its cycle.
class GridTest : public ::testing::Test
{
protected:
    GridTest()
    {
        m_grid->SetOptimCPUReal(4);
        m_grid->CreateObject();
        KillTimer(m_grid->m_window, m_grid->m_timer_id);
        m_grid->SetTextVarForObjectReal(1, "Z:\\no skins here");
        m_grid->SetWindowReal(1, m_recorder.Handle());
        m_grid->ControlStatObjectShowReal(1, 1);
        m_grid->MoveObjectReal(0, 0, Width, Height);
    }

    void Post(UINT message, WPARAM keys, int32_t x, int32_t y)
    {
        PostMessageA(m_grid->m_window, message, keys, MAKELPARAM(x, y));
    }
    void Click(int32_t x, int32_t y)
    {
        Post(WM_MOUSEMOVE, 0, x, y);
        Post(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Post(WM_LBUTTONUP, 0, x, y);
        PumpPending();
    }
    void LoadWeek(uint8_t value)
    {
        std::vector<uint8_t> week(Grid::CellCount, value);
        ASSERT_EQ(m_grid->UpdateStateSheduler(week.data(), Grid::CellCount, Grid::DirectionSet), S_OK);
    }
    // The WM_COMMAND ids and codes received.
    std::vector<std::pair<int, int>> Commands()
    {
        std::vector<std::pair<int, int>> commands;
        for (const MessageRecorder::Message& message : m_recorder.Received())
            if (message.m_message == WM_COMMAND)
                commands.emplace_back(LOWORD(message.m_wparam), HIWORD(message.m_wparam));
        return commands;
    }

    MessageRecorder m_recorder;
    std::unique_ptr<TestGrid> m_grid = std::make_unique<TestGrid>();
};

TEST_F(GridTest, ANewGridHoldsStateOneEverywhere)
{
    char name[128] = {};
    GetClassNameA(m_grid->m_window, name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::StatusCameraObjectUserInterface2::24.10.2006");
    EXPECT_EQ(CellsHolding(Week(*m_grid), 0x10).size(), 168u);
    EXPECT_EQ(m_grid->m_state_brush, 1);
    EXPECT_EQ(m_grid->m_mark_brush, 0);
    EXPECT_EQ(m_grid->m_edit_state, 1);
    EXPECT_EQ(m_grid->m_elements.GetElement(Grid::ElementStateButton).m_notification_code, 1);
    const char* days[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (uint32_t day = 0; day < 7; ++day)
        EXPECT_STREQ(m_grid->m_property_tables.GetElement(0).GetElement(22 + day).m_value.m_text.GetString(), days[day]);
    EXPECT_FLOAT_EQ(m_grid->m_property_tables.GetElement(0).GetElement(29).m_value.m_float, 1.0f);
    for (int32_t element = 0; element < 3; ++element)
        EXPECT_EQ(m_grid->m_elements.GetElement(element).Field(InfoElementUserInterface2::FieldCommand).m_value.m_int,
                  static_cast<int32_t>(ControlId));
}

TEST_F(GridTest, TheRegisteredMessageName)
{
    EXPECT_EQ(RegisterWindowMessageA("GMU_UpdateStateSheduler_StatusCameraUserInterface2,D.U.R.M.I.X.,30.07.2005::18.29.00"),
              m_grid->m_grid_messages.GetMessageFromIndex(0));
}

TEST_F(GridTest, UpdateStateShedulerChecksItsBufferAndTakesBytesAsTheyAre)
{
    std::vector<uint8_t> week(Grid::CellCount);
    for (int32_t i = 0; i < Grid::CellCount; ++i)
        week[i] = static_cast<uint8_t>(i % 3 == 0 ? 0x72 : 0x20 + i % 3);
    RunOnOtherThreadWhilePumping([&] {
        std::vector<uint8_t> shortWeek(167, 0x44);
        EXPECT_EQ(m_grid->UpdateStateSheduler(shortWeek.data(), 167, Grid::DirectionSet), E_UNEXPECTED);
        EXPECT_EQ(m_grid->UpdateStateSheduler(nullptr, 168, Grid::DirectionSet), E_INVALIDARG);
        EXPECT_EQ(m_grid->UpdateStateSheduler(nullptr, 168, Grid::DirectionGet), E_INVALIDARG);
        std::vector<uint8_t> read(Grid::CellCount);
        EXPECT_EQ(m_grid->UpdateStateSheduler(read.data(), Grid::CellCount, Grid::DirectionGet), S_OK);
        EXPECT_EQ(CellsHolding(read, 0x10).size(), 168u);
        EXPECT_EQ(m_grid->UpdateStateSheduler(week.data(), Grid::CellCount, Grid::DirectionSet), S_OK);
        EXPECT_EQ(m_grid->UpdateStateSheduler(read.data(), Grid::CellCount, 7), S_OK);
        EXPECT_EQ(read, week);
    });
    // A state of 7 is kept and drawn like state 1.
    m_grid->OnTimerCycle(m_grid->m_window, 0, 0, true);
    EXPECT_EQ(Week(*m_grid), week);
}

TEST_F(GridTest, LayoutGivesTheDayColumnWhatTheCellsLeave)
{
    const struct
    {
        int32_t width;
        int32_t height;
        int32_t cellWidth;
        int32_t cellHeight;
        int32_t dayColumn;
    } cases[] = {
        {300, 200, 8, 25, 108}, {720, 250, 26, 32, 96}, {114, 32, 1, 1, 90}, {113, 31, 1, 1, 89}, {20, 20, 1, 1, 1},
    };
    for (const auto& c : cases) {
        m_grid->MoveObjectReal(0, 0, c.width, c.height);
        EXPECT_EQ(m_grid->m_cell_width, c.cellWidth) << c.width;
        EXPECT_EQ(m_grid->m_cell_height, c.cellHeight) << c.height;
        EXPECT_EQ(m_grid->m_header_width, c.dayColumn) << c.width;
        EXPECT_EQ(m_grid->m_header_height, 25) << c.width;
    }
}

TEST_F(GridTest, HitTest)
{
    const struct
    {
        bool inside;
        int32_t x;
        int32_t y;
        int32_t element;
    } cases[] = {
        {false, 300, 100, -1}, {false, 10, 10, -1}, {true, 300, 100, 0}, {true, 96, 10, 0}, {true, 10, 25, 0},
        {true, 0, 0, 1},       {true, 48, 24, 1},   {true, 49, 0, 2},    {true, 95, 24, 2},
    };
    for (const auto& c : cases) {
        m_grid->m_mouse_tracking = c.inside ? 1 : 0;
        EXPECT_EQ(m_grid->GetIndexElementFromPoint(c.x, c.y), c.element) << c.x << "," << c.y << " " << c.inside;
    }
}

std::vector<int32_t> Column(int32_t hour)
{
    std::vector<int32_t> cells;
    for (int32_t day = 0; day < 7; ++day)
        cells.push_back(day * 24 + hour);
    return cells;
}

std::vector<int32_t> Row(int32_t day)
{
    std::vector<int32_t> cells;
    for (int32_t hour = 0; hour < 24; ++hour)
        cells.push_back(day * 24 + hour);
    return cells;
}

TEST_F(GridTest, DraggingAndClickingPaintTheCellsAndNotify)
{
    const struct
    {
        const char* name;
        bool drag;
        int32_t x;
        int32_t y;
        std::vector<int32_t> cells;
    } cases[] = {
        {"hour 5", true, DayColumn + 5 * CellWidth + 13, 10, Column(5)},
        {"Wednesday", true, 40, HourRow + 2 * CellHeight + 16, Row(2)},
        {"cell of Thursday 7", true, DayColumn + 7 * CellWidth + 13, HourRow + 3 * CellHeight + 16, {3 * 24 + 7}},
        {"click on Sunday 23", false, DayColumn + 23 * CellWidth + 13, HourRow + 6 * CellHeight + 16, {6 * 24 + 23}},
        {"click on hour 0", false, DayColumn + 10, 10, Column(0)},
    };
    for (const auto& c : cases) {
        LoadWeek(0x02);
        m_recorder.Clear();
        if (c.drag) {
            Post(WM_MOUSEMOVE, 0, 1, 1);
            Post(WM_MOUSEMOVE, MK_LBUTTON, c.x, c.y);
            PumpPending();
        } else {
            Click(c.x, c.y);
        }
        EXPECT_EQ(CellsHolding(Week(*m_grid), 0x12), c.cells) << c.name;
        EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{static_cast<int>(ControlId), 0}})) << c.name;
    }
}

TEST_F(GridTest, AMoveWithoutTheButtonPaintsNothing)
{
    LoadWeek(0x02);
    Post(WM_MOUSEMOVE, 0, DayColumn + 40, HourRow + 40);
    PumpPending();
    EXPECT_EQ(CellsHolding(Week(*m_grid), 0x02).size(), 168u);
    EXPECT_TRUE(Commands().empty());
}

TEST_F(GridTest, TheCornerSwitchesWhatIsEditedAndStepsTheBrushes)
{
    const int32_t left = 20, right = 70;
    // Right half: mark editing, then the mark brush steps.
    Click(right, 10);
    EXPECT_EQ(m_grid->m_edit_state, 0);
    EXPECT_EQ(m_grid->m_mark_brush, 0);
    for (int32_t expected : {1, 2, 0}) {
        Click(right, 10);
        EXPECT_EQ(m_grid->m_mark_brush, expected);
        EXPECT_EQ(m_grid->m_elements.GetElement(Grid::ElementMarkButton).m_notification_code, expected);
    }
    // Painting now writes the mark and keeps the state.
    LoadWeek(0x31);
    Click(right, 10);
    Click(right, 10);
    Click(DayColumn + 13, HourRow + 16);
    EXPECT_EQ(Week(*m_grid)[0], 0x32);
    EXPECT_EQ(Week(*m_grid)[1], 0x31);
    // Left half: state editing without a brush change, then the state brush steps.
    Click(left, 10);
    EXPECT_EQ(m_grid->m_edit_state, 1);
    EXPECT_EQ(m_grid->m_state_brush, 1);
    for (int32_t expected : {2, 3, 4, 1}) {
        Click(left, 10);
        EXPECT_EQ(m_grid->m_state_brush, expected);
        EXPECT_EQ(m_grid->m_elements.GetElement(Grid::ElementStateButton).m_notification_code, expected);
    }
    // Every corner click notified with the control id.
    for (const auto& command : Commands())
        EXPECT_EQ(command.first, static_cast<int>(ControlId));
    EXPECT_EQ(Commands().size(), 1u + 3u + 2u + 1u + 1u + 4u);
}

TEST_F(GridTest, ADoubleClickInTheCornerActsLikeARelease)
{
    Post(WM_MOUSEMOVE, 0, 20, 10);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 20, 10);
    PumpPending();
    EXPECT_EQ(m_grid->m_state_brush, 2);
    EXPECT_EQ(Commands(), (std::vector<std::pair<int, int>>{{static_cast<int>(ControlId), 2}}));
}

TEST_F(GridTest, PropertyTwentyNineSetsTheMarkBrush)
{
    const struct
    {
        float value;
        int32_t brush;
    } cases[] = {{5.0f, 2}, {1.7f, 1}, {-3.0f, 0}, {2.0f, 2}, {0.0f, 0}};
    for (const auto& c : cases) {
        InfoTypedValueUserInterface2 value;
        value.SetFloat(c.value);
        const TypedValueListUserInterface2 values = MakeList<InfoTypedValueUserInterface2>({value});
        const IndexListUserInterface2 indexes = MakeIndexList({29});
        ASSERT_EQ(m_grid->UpdateGeneralInfoForObjectReal(0, &values, &indexes, 1), S_OK);
        EXPECT_EQ(m_grid->m_mark_brush, c.brush) << c.value;
    }
}

// The glow of a cell, its hour and its day on ticks of the manual clock.
class GridGlowTest : public GridTest
{
protected:
    static constexpr int32_t Cell = 3 * 24 + 7;

    void Tick(int32_t milliseconds)
    {
        m_clock.Advance(milliseconds);
        m_grid->OnTimerCycle(m_grid->m_window, 0, 0, true);
    }
    void RestOnTheCell()
    {
        Post(WM_MOUSEMOVE, 0, DayColumn + 7 * CellWidth + 13, HourRow + 3 * CellHeight + 16);
        PumpPending();
        Tick(50);
        Tick(50);
    }
    uint32_t CellColour() const { return Rgb(m_grid->m_cell_colour.GetElement(Cell)); }

    ManualTestClock m_clock;
};

TEST_F(GridGlowTest, ACellUnderARestingPointerStaysLitAndFadesAfterItLeaves)
{
    RestOnTheCell();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(CellColour(), 0x208010u);
        Tick(50);
    }
    EXPECT_EQ(Rgb(m_grid->m_hour_colour.GetElement(7)), 0u);
    SendMessageA(m_grid->m_window, WM_MOUSELEAVE, 0, 0);
    const uint32_t fades[] = {0x1B4E00, 0x161C00, 0x110000, 0x0C0000, 0x070000, 0x020000, 0x000000};
    for (uint32_t expected : fades) {
        Tick(50);
        EXPECT_EQ(CellColour(), expected);
    }
}

TEST_F(GridGlowTest, ALateTickFadesMoreNeverLess)
{
    RestOnTheCell();
    SendMessageA(m_grid->m_window, WM_MOUSELEAVE, 0, 0);
    Tick(130);
    EXPECT_EQ(CellColour(), 0x130000u);
}

TEST_F(GridGlowTest, HeadersUnderThePointerTakeTheHeaderColour)
{
    Post(WM_MOUSEMOVE, 0, DayColumn + 9 * CellWidth + 13, 10);
    PumpPending();
    Tick(50);
    EXPECT_EQ(Rgb(m_grid->m_hour_colour.GetElement(9)), 0x802010u);
    EXPECT_EQ(Rgb(m_grid->m_cell_colour.GetElement(4 * 24 + 9)), 0x208010u);
    Post(WM_MOUSEMOVE, 0, 40, HourRow + 4 * CellHeight + 16);
    PumpPending();
    Tick(50);
    EXPECT_EQ(Rgb(m_grid->m_hour_colour.GetElement(9)), 0x7B0000u);
    EXPECT_EQ(Rgb(m_grid->m_day_colour.GetElement(4)), 0x802010u);
}

// The picture with generated skins: solid state pictures under stencils of full weight, no marks,
// the background colour in the headers.
class GridPictureTest : public GridTest
{
protected:
    static constexpr COLORREF Background = RGB(20, 40, 200);
    static constexpr uint32_t StateColours[4] = {0x640000, 0x006400, 0x000064, 0x646400};

    GridPictureTest()
    {
        const auto solid = [&](const std::string& name, uint32_t colour) {
            m_folder.WriteFile(name, MakeBmp32(8, 8, std::vector<uint32_t>(64, colour), true));
        };
        std::vector<InfoTypedValueUserInterface2> values;
        std::vector<int32_t> indexes;
        const auto skin = [&](int32_t property, const std::string& name) {
            InfoTypedValueUserInterface2 value;
            value.SetText(name.c_str());
            values.push_back(value);
            indexes.push_back(property);
        };
        for (int32_t state = 0; state < 4; ++state) {
            solid("state" + std::to_string(state) + ".bmp", StateColours[state]);
            skin(state, "state" + std::to_string(state) + ".bmp");
        }
        solid("black.bmp", 0);
        solid("full.bmp", 0x7F7F7F);
        for (int32_t property : {4, 5, 6, 8})
            skin(property, "black.bmp");
        for (int32_t property : {7, 9})
            skin(property, "full.bmp");
        InfoGDIUserInterface2 entry;
        entry.m_color = Background;
        const GDIListUserInterface2 entries = MakeList<InfoGDIUserInterface2>({entry});
        const IndexListUserInterface2 entryIndexes = MakeIndexList({53});
        m_grid->UpdateGDIInfoForObjectReal(&entries, &entryIndexes, 1);
        m_grid->SetTextVarForObjectReal(1, m_folder.Path().c_str());
        const TypedValueListUserInterface2 list = MakeList(values);
        const IndexListUserInterface2 indexList = MakeIndexList(indexes);
        m_grid->UpdateGeneralInfoForObjectReal(0, &list, &indexList, static_cast<int32_t>(values.size()));
        std::vector<uint8_t> week(Grid::CellCount);
        for (int32_t cell = 0; cell < Grid::CellCount; ++cell)
            week[cell] = static_cast<uint8_t>((cell / 24 % 4 + 1) << 4);
        m_grid->UpdateStateSheduler(week.data(), Grid::CellCount, Grid::DirectionSet);
    }

    void Tick()
    {
        m_clock.Advance(50);
        m_grid->OnTimerCycle(m_grid->m_window, 0, 0, true);
        m_grid->GetBufferFromIndex(Grid::FinalBuffer, &m_picture);
    }
    // The picture's colour at the point, 0xRRGGBB.
    uint32_t At(int32_t x, int32_t y) const
    {
        const int32_t at = y * m_picture.m_byte_stride / 2 + x;
        uint32_t rgb = 0;
        for (uint32_t plane = 0; plane < 3; ++plane)
            rgb = rgb << 8 | static_cast<uint8_t>(std::clamp<int16_t>(m_picture.m_rgb_buffers.GetElement(plane)[at], 0, 255));
        return rgb;
    }
    static uint32_t CellCentreX(int32_t hour) { return DayColumn + hour * CellWidth + CellWidth / 2; }
    static uint32_t CellCentreY(int32_t day) { return HourRow + day * CellHeight + CellHeight / 2; }

    TempFolder m_folder;
    ManualTestClock m_clock;
    InfoGeneralBufferForUserInterface2 m_picture;
};

// Each channel within a few steps of the expected one (the stencils weigh 127 of 128).
::testing::AssertionResult Near(uint32_t actual, uint32_t expected)
{
    for (int shift : {16, 8, 0}) {
        const int a = static_cast<int>(actual >> shift & 255), e = static_cast<int>(expected >> shift & 255);
        if (std::abs(a - e) > 4)
            return ::testing::AssertionFailure() << std::hex << actual << " is not near " << expected;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(GridPictureTest, CellsShowTheirStatesAndTheHeadersTheBackground)
{
    Tick();
    ASSERT_EQ(m_picture.m_width_element, Width);
    ASSERT_EQ(m_picture.m_height_element, Height);
    for (int32_t day = 0; day < 7; ++day)
        for (int32_t hour : {0, 11, 23})
            EXPECT_TRUE(Near(At(CellCentreX(hour), CellCentreY(day)), StateColours[day % 4])) << day << " " << hour;
    const uint32_t background = 0x1428C8;
    EXPECT_TRUE(Near(At(5, 5), background));
    EXPECT_TRUE(Near(At(DayColumn - 2, CellCentreY(3)), background));
    EXPECT_TRUE(Near(At(CellCentreX(5), 2), background));
    EXPECT_TRUE(Near(At(DayColumn + 1, HourRow + 1), StateColours[0]));
}

TEST_F(GridPictureTest, ACellUnderThePointerIsLitInTheHoverColour)
{
    Post(WM_MOUSEMOVE, 0, CellCentreX(7), CellCentreY(2));
    PumpPending();
    Tick();
    EXPECT_TRUE(Near(At(CellCentreX(7), CellCentreY(2)), 0x1F7E72)) << std::hex << At(CellCentreX(7), CellCentreY(2));
    EXPECT_TRUE(Near(At(CellCentreX(8), CellCentreY(2)), StateColours[2]));
    SendMessageA(m_grid->m_window, WM_MOUSELEAVE, 0, 0);
    for (int i = 0; i < 7; ++i)
        Tick();
    EXPECT_TRUE(Near(At(CellCentreX(7), CellCentreY(2)), StateColours[2]));
}

} // namespace
