// The histogram widget: names, bar layout, value arrays, properties, editing by mouse and keys with
// its notices, the picture cycle's counts and bars, the band grid, and its picture on the screen.
#include "GistogramObjectUserInterface2.h"
#include "TickedWidgetTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr uint32_t ControlId = 2030;
constexpr int32_t Left = 40;
constexpr int32_t Top = 500;

class TestGistogram : public GistogramObjectUserInterface2
{
public:
    TestGistogram() : GistogramObjectUserInterface2({}, 0, 0, "histogram under test", nullptr, ControlId) {}

    using GistogramObjectUserInterface2::m_barChanged;
    using GistogramObjectUserInterface2::m_barCount;
    using GistogramObjectUserInterface2::m_barLevel0;
    using GistogramObjectUserInterface2::m_barLevel1;
    using GistogramObjectUserInterface2::m_barSource;
    using GistogramObjectUserInterface2::m_barWidth;
    using GistogramObjectUserInterface2::m_buttonDown;
    using GistogramObjectUserInterface2::m_gistogram_messages;
    using GistogramObjectUserInterface2::m_hoverIndex;
    using GistogramObjectUserInterface2::m_leftOffset;
    using GistogramObjectUserInterface2::m_onMarker;
    using GistogramObjectUserInterface2::m_properties;
    using GistogramObjectUserInterface2::m_selectedIndex;
    using GistogramObjectUserInterface2::m_shownValues;
    using GistogramObjectUserInterface2::m_slotWidth;
    using GistogramObjectUserInterface2::m_usableHeight;
    using GistogramObjectUserInterface2::m_values;
    using BaseUserInterface::m_actions;
    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_window;
};

FloatListUserInterface2 Floats(const std::vector<float>& values)
{
    return MakeList(values);
}

std::vector<float> Read(const FloatListUserInterface2& list)
{
    std::vector<float> values;
    for (uint32_t i = 0; i < list.GetCount(); ++i)
        values.push_back(list.GetElement(i));
    return values;
}

// The colours the cycle reads, each its own.
GDIListUserInterface2 TestColours()
{
    std::vector<InfoGDIUserInterface2> entries(GDITableSizeUserInterface2);
    const std::pair<uint32_t, COLORREF> colours[] = {
        {32, RGB(0, 0, 90)},     {68, RGB(0, 110, 0)},   {69, RGB(0, 60, 0)},    {70, RGB(120, 0, 0)},
        {71, RGB(40, 0, 0)},     {72, RGB(250, 250, 0)}, {73, RGB(200, 0, 200)}, {74, RGB(0, 0, 160)},
        {75, RGB(0, 0, 100)},
    };
    for (const auto& [entry, colour] : colours)
        entries[entry].m_color = colour;
    return MakeList(entries);
}

} // namespace

class GistogramTest : public TickedWidgetTest<TestGistogram>
{
protected:
    void SetUp() override { Make(600, 200); }

    void Make(int32_t width, int32_t height, int32_t top = Top)
    {
        Show(TestColours(), "histogram", {Left, top, Left + width, top + height});
    }

    void Key(UINT key)
    {
        PostMessageA(Window(), WM_KEYDOWN, key, 0);
        PumpPending();
    }

    void Set(uint32_t index, const InfoTypedValueUserInterface2& value)
    {
        ASSERT_TRUE(SUCCEEDED(m_widget->UpdateInternalValueReal(&value, static_cast<int32_t>(index))));
    }

    void SetCurve(float value)
    {
        FloatListUserInterface2 values = Floats(std::vector<float>(256, value));
        ASSERT_EQ(m_widget->UpdateDataReal(GistogramObjectUserInterface2::DataSet | GistogramObjectUserInterface2::DataArray1,
                                           &values, 1),
                  S_OK);
    }

    // The edit notices received: each lParam.
    std::vector<LPARAM> Notices()
    {
        std::vector<LPARAM> found;
        for (const MessageRecorder::Message& message : m_recorder.Received()) {
            if (message.m_message != WM_COMMAND)
                continue;
            EXPECT_EQ(message.m_wparam, ControlId);
            found.push_back(message.m_lparam);
        }
        m_recorder.Clear();
        return found;
    }

    // Middle column of a bar, and the row of its marker.
    int32_t BarX(uint32_t bar) { return static_cast<int32_t>(m_widget->m_leftOffset + bar * m_widget->m_slotWidth + m_widget->m_slotWidth / 2); }
    int32_t MarkerY(uint32_t bar) { return static_cast<int32_t>(m_widget->m_barLevel1.GetElement(bar)) + 10; }

    uint32_t ChangedBars()
    {
        uint32_t count = 0;
        for (uint32_t i = 0; i < m_widget->m_barChanged.GetCount(); ++i)
            count += m_widget->m_barChanged.GetElement(i);
        return count;
    }

};

TEST_F(GistogramTest, WindowClassAndMessageNames)
{
    char name[128] = {};
    GetClassNameA(Window(), name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::GistogramObjectUserInterface2::24.10.2006");
    const char* names[] = {
        "GMU_UpdateData_GistogramUserInterface2,            D.U.R.M.I.X.,10.11.2006::17.00.00",
        "GMU_UpdateInternalValue_GistogramUserInterface2,   D.U.R.M.I.X.,10.11.2006::18.00.00",
    };
    for (uint32_t i = 0; i < 2; ++i)
        EXPECT_EQ(m_widget->m_gistogram_messages.GetMessageFromIndex(i), RegisterWindowMessageA(names[i])) << i;
}

TEST_F(GistogramTest, SixHundredPixelsGiveTwentyBarsOfSummedAndAveragedValues)
{
    EXPECT_EQ(m_widget->m_barCount, 20u);
    EXPECT_EQ(m_widget->m_slotWidth, 30u);
    EXPECT_EQ(m_widget->m_barWidth, 26u);
    EXPECT_EQ(m_widget->m_leftOffset, 0u);
    EXPECT_EQ(m_widget->m_usableHeight, 180u);
    std::vector<float> ramp(256);
    std::iota(ramp.begin(), ramp.end(), 0.0f);
    FloatListUserInterface2 ones = Floats(std::vector<float>(256, 1.0f)), curve = Floats(ramp);
    ASSERT_EQ(m_widget->UpdateDataReal(0x101, &ones, 1), S_OK);
    ASSERT_EQ(m_widget->UpdateDataReal(0x201, &curve, 1), S_OK);
    EXPECT_EQ(m_widget->m_barSource.GetElement(0), &m_widget->m_shownValues.GetElement(0));
    const std::vector<float> sums = Read(m_widget->m_shownValues.GetElement(0));
    const std::vector<float> means = Read(m_widget->m_shownValues.GetElement(1));
    ASSERT_EQ(sums.size(), 20u);
    float first = 0.0f;
    for (uint32_t i = 0; i < 20; ++i) {
        EXPECT_TRUE(sums[i] == 12.0f || sums[i] == 13.0f) << i << ": " << sums[i];
        // The mean of the ramp's members of the bar: the middle of its first and last.
        const float last = first + sums[i] - 1.0f;
        EXPECT_FLOAT_EQ(means[i], (first + last) / 2.0f) << i;
        first = last + 1.0f;
    }
    EXPECT_EQ(first, 256.0f);
}

TEST_F(GistogramTest, RoomForEveryValueShowsTheArraysThemselves)
{
    Set(GistogramObjectUserInterface2::PropMinimumBarWidth, IntValue(1));
    Set(GistogramObjectUserInterface2::PropGap, IntValue(0));
    m_widget->MoveObjectReal(Left, Top, 300, 200);
    PumpPending();
    EXPECT_EQ(m_widget->m_barCount, 256u);
    EXPECT_EQ(m_widget->m_slotWidth, 1u);
    EXPECT_EQ(m_widget->m_leftOffset, 44u);
    EXPECT_EQ(m_widget->m_barSource.GetElement(1), &m_widget->m_values.GetElement(1));
    EXPECT_EQ(m_widget->m_barChanged.GetCount(), 256u);
}

TEST_F(GistogramTest, ValuesOutsideTheRangeDrawFullOrEmptyAndAreKept)
{
    std::vector<float> values(256, 0.5f);
    values[0] = 1.3f; // bar 0 sums values 0..12
    FloatListUserInterface2 list = Floats(values);
    Set(GistogramObjectUserInterface2::PropMinimumBarWidth, IntValue(1));
    Set(GistogramObjectUserInterface2::PropGap, IntValue(0));
    m_widget->MoveObjectReal(Left, Top, 256, 200);
    PumpPending();
    values[1] = -0.2f;
    list = Floats(values);
    ASSERT_EQ(m_widget->UpdateDataReal(0x101, &list, 1), S_OK);
    ASSERT_EQ(m_widget->UpdateDataReal(0x201, &list, 1), S_OK);
    const uint32_t usable = m_widget->m_usableHeight;
    EXPECT_EQ(m_widget->m_barLevel0.GetElement(0), usable);
    EXPECT_EQ(m_widget->m_barLevel0.GetElement(1), 0u);
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(0), 0u);      // the curve at the top
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(1), usable); // and at the bottom
    EXPECT_EQ(m_widget->m_values.GetElement(0).GetElement(0), 1.3f);
    EXPECT_EQ(m_widget->m_values.GetElement(1).GetElement(1), -0.2f);
}

// Slots of no pixels, no values and no height between the margins draw and divide nothing.
TEST_F(GistogramTest, NoSlotNoValuesOrNoHeightGiveNoBars)
{
    Set(GistogramObjectUserInterface2::PropMinimumBarWidth, IntValue(0));
    Set(GistogramObjectUserInterface2::PropGap, IntValue(0));
    EXPECT_EQ(m_widget->m_barCount, 0u);
    Tick();
    Set(GistogramObjectUserInterface2::PropMinimumBarWidth, IntValue(25));
    Set(GistogramObjectUserInterface2::PropGap, IntValue(2));
    Set(GistogramObjectUserInterface2::PropValueCount, IntValue(0));
    EXPECT_EQ(m_widget->m_barCount, 0u);
    EXPECT_EQ(m_widget->m_values.GetElement(1).GetCount(), 0u);
    Key(VK_PRIOR);
    Post(WM_MOUSEMOVE, 50, 50);
    Tick();
    EXPECT_TRUE(Notices().empty());
}

TEST_F(GistogramTest, AWidgetNoTallerThanItsMarginsIgnoresDrags)
{
    m_widget->MoveObjectReal(Left, Top, 600, 20);
    PumpPending();
    EXPECT_EQ(m_widget->m_usableHeight, 0u);
    EXPECT_EQ(m_widget->m_barCount, 20u);
    // On the marker of bar 2, pressed, dragged down.
    Post(WM_MOUSEMOVE, BarX(2), 10);
    EXPECT_EQ(m_widget->m_onMarker, 1);
    Post(WM_LBUTTONDOWN, BarX(2), 10, MK_LBUTTON);
    Post(WM_MOUSEMOVE, BarX(2), 15, MK_LBUTTON);
    EXPECT_TRUE(Notices().empty());
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(2), 0u);
    Tick();
}

TEST_F(GistogramTest, UpdateDataSetsAndGetsBothArrays)
{
    FloatListUserInterface2 empty;
    FloatListUserInterface2 some = Floats({0.25f});
    EXPECT_EQ(m_widget->UpdateDataReal(0x101, &some, 0), E_UNEXPECTED);
    EXPECT_EQ(m_widget->UpdateDataReal(0x101, &empty, 1), E_UNEXPECTED);
    EXPECT_EQ(m_widget->UpdateDataReal(0x101, nullptr, 1), E_UNEXPECTED);
    for (uint32_t array : {0u, 1u}) {
        SCOPED_TRACE(array);
        std::vector<float> values(256);
        for (uint32_t i = 0; i < 256; ++i)
            values[i] = static_cast<float>(i) / 1000.0f + static_cast<float>(array);
        FloatListUserInterface2 set = Floats(values);
        const uint32_t selector = array == 0 ? 0x100 : 0x200;
        // Through the public operation from another thread: its answer is the operation's.
        HRESULT answer = E_FAIL;
        RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateData(selector | 1, &set, 1); });
        EXPECT_EQ(answer, S_OK);
        FloatListUserInterface2 got = Floats(std::vector<float>(300, -1.0f));
        RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateData(selector | 3, &got, 1); });
        EXPECT_EQ(answer, S_OK);
        const std::vector<float> read = Read(got);
        EXPECT_EQ(std::vector<float>(read.begin(), read.begin() + 256), values);
        EXPECT_EQ(read[256], -1.0f);
        EXPECT_EQ(read[299], -1.0f);
    }
    HRESULT answer = S_OK;
    RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateData(0x101, &empty, 1); });
    EXPECT_EQ(answer, E_UNEXPECTED);
}

TEST_F(GistogramTest, PropertiesClampResizeAndSwitchEditing)
{
    const struct
    {
        float given;
        float stored;
    } shares[] = {{0.1f, 0.3f}, {2.0f, 1.0f}, {0.5f, 0.5f}};
    for (const auto& share : shares) {
        HRESULT answer = E_FAIL;
        const InfoTypedValueUserInterface2 value = FloatValue(share.given);
        RunOnOtherThreadWhilePumping([&] { answer = m_widget->UpdateInternalValue(&value, 8); });
        EXPECT_EQ(answer, S_OK);
        EXPECT_EQ(m_widget->m_properties.GetElement(8).m_value.m_float, share.stored) << share.given;
    }
    Set(GistogramObjectUserInterface2::PropValueCount, IntValue(100));
    EXPECT_EQ(m_widget->m_values.GetElement(0).GetCount(), 100u);
    EXPECT_EQ(m_widget->m_values.GetElement(1).GetCount(), 100u);
    EXPECT_EQ(m_widget->m_barCount, 20u);
    // Editing off: the selection stays, keys and clicks change nothing.
    Post(WM_MOUSEMOVE, BarX(4), 150);
    Post(WM_LBUTTONDOWN, BarX(4), 150, MK_LBUTTON);
    Post(WM_LBUTTONUP, BarX(4), 150);
    ASSERT_EQ(m_widget->m_selectedIndex, 4u);
    Set(GistogramObjectUserInterface2::PropEditable, BoolValue(false));
    EXPECT_EQ(ChangedBars(), 20u);
    Key(VK_PRIOR);
    Key(VK_RIGHT);
    Post(WM_MOUSEMOVE, BarX(7), 150);
    Post(WM_LBUTTONDOWN, BarX(7), 150, MK_LBUTTON);
    EXPECT_EQ(m_widget->m_selectedIndex, 4u);
    EXPECT_TRUE(Notices().empty());
}

TEST_F(GistogramTest, ClicksSelectAndDragsOnTheMarkerEditTheCurve)
{
    SetCurve(0.5f);
    ASSERT_EQ(m_widget->m_barLevel1.GetElement(3), 90u);
    Post(WM_MOUSEMOVE, BarX(3), 150);
    EXPECT_EQ(m_widget->m_hoverIndex, 3u);
    EXPECT_EQ(m_widget->m_onMarker, 0);
    // A press away from the marker selects and grabs nothing.
    Post(WM_LBUTTONDOWN, BarX(3), 150, MK_LBUTTON);
    EXPECT_EQ(m_widget->m_selectedIndex, 3u);
    EXPECT_EQ(m_widget->m_buttonDown, 0);
    Post(WM_MOUSEMOVE, BarX(3), 120, MK_LBUTTON);
    Post(WM_LBUTTONUP, BarX(3), 120);
    EXPECT_TRUE(Notices().empty());
    // The grab zone: the marker's row (level + margin) plus and minus the margin.
    for (const auto& [y, inside] : std::vector<std::pair<int32_t, bool>>{{90, true}, {100, true}, {110, true},
                                                                        {111, false}, {89, false}}) {
        Post(WM_MOUSEMOVE, BarX(5), y);
        EXPECT_EQ(m_widget->m_onMarker, inside ? 1 : 0) << y;
    }
    Post(WM_MOUSEMOVE, BarX(5), 100);
    Post(WM_LBUTTONDOWN, BarX(5), 100, MK_LBUTTON);
    EXPECT_EQ(m_widget->m_buttonDown, 1);
    Post(WM_MOUSEMOVE, BarX(5), 46, MK_LBUTTON);
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(5), 36u);
    EXPECT_FLOAT_EQ(m_widget->m_shownValues.GetElement(1).GetElement(5), 0.8f);
    // The values under bar 5 follow (its 12 or 13 entries), the others stay.
    const std::vector<float> curve = Read(m_widget->m_values.GetElement(1));
    EXPECT_FLOAT_EQ(curve[64 + 2], 0.8f);
    EXPECT_FLOAT_EQ(curve[0], 0.5f);
    EXPECT_EQ(Notices(), std::vector<LPARAM>{5});
    // Unchanged row, no notice; a release ends the drag.
    Post(WM_MOUSEMOVE, BarX(5) + 1, 46, MK_LBUTTON);
    EXPECT_TRUE(Notices().empty());
    Post(WM_LBUTTONUP, BarX(5), 46);
    Post(WM_MOUSEMOVE, BarX(5), 60);
    EXPECT_TRUE(Notices().empty());
}

TEST_F(GistogramTest, ASidewaysDragRotatesTheCurve)
{
    std::vector<float> ramp(256);
    for (uint32_t i = 0; i < 256; ++i)
        ramp[i] = static_cast<float>(i) / 256.0f;
    FloatListUserInterface2 curve = Floats(ramp);
    ASSERT_EQ(m_widget->UpdateDataReal(0x201, &curve, 1), S_OK);
    const int32_t y = MarkerY(2);
    Post(WM_MOUSEMOVE, BarX(2), y);
    ASSERT_EQ(m_widget->m_onMarker, 1);
    Post(WM_LBUTTONDOWN, BarX(2), y, MK_LBUTTON);
    Post(WM_MOUSEMOVE, BarX(4), y, MK_LBUTTON);
    // Two bars of 12.8 values: 25 entries to higher indexes, the last ones to the front.
    const std::vector<float> rotated = Read(m_widget->m_values.GetElement(1));
    EXPECT_EQ(rotated[25], ramp[0]);
    EXPECT_EQ(rotated[0], ramp[231]);
    EXPECT_EQ(m_widget->m_selectedIndex, 4u);
    EXPECT_EQ(Notices(), std::vector<LPARAM>{4});
}

TEST_F(GistogramTest, KeysMoveTheSelectionAndSetTheLevel)
{
    SetCurve(0.5f);
    Post(WM_MOUSEMOVE, BarX(6), 150);
    Post(WM_LBUTTONDOWN, BarX(6), 150, MK_LBUTTON);
    Post(WM_LBUTTONUP, BarX(6), 150);
    Post(WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(m_widget->m_hoverIndex, GistogramObjectUserInterface2::NoBar);
    Key(VK_PRIOR);
    EXPECT_EQ(m_widget->m_shownValues.GetElement(1).GetElement(6), 1.0f);
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(6), 0u);
    // Outside the widget the notice names no bar.
    EXPECT_EQ(Notices(), std::vector<LPARAM>{-1});
    Key(VK_UP);
    EXPECT_TRUE(Notices().empty());
    Key(VK_DOWN);
    EXPECT_FLOAT_EQ(m_widget->m_shownValues.GetElement(1).GetElement(6), 0.98f);
    EXPECT_EQ(Notices().size(), 1u);
    Key(VK_NEXT);
    EXPECT_EQ(m_widget->m_barLevel1.GetElement(6), 180u);
    Notices();
    Key(VK_LEFT);
    EXPECT_EQ(m_widget->m_selectedIndex, 5u);
    Key(VK_RIGHT);
    Key(VK_RIGHT);
    EXPECT_EQ(m_widget->m_selectedIndex, 7u);
    EXPECT_TRUE(Notices().empty());
    for (int i = 0; i < 30; ++i)
        Key(VK_RIGHT);
    EXPECT_EQ(m_widget->m_selectedIndex, 19u);
}

TEST_F(GistogramTest, ATickRedrawsOnlyTheChangedBars)
{
    Tick();
    EXPECT_EQ(ChangedBars(), 0u);
    // Nothing changed: one idle step of the bars, none of the layers.
    ASSERT_EQ(m_widget->CycleBeforeFinalize(Window(), 0, 0, 0, 0), S_OK);
    EXPECT_EQ(m_widget->m_actions.GetElement(40).m_repeat_count, 1u);
    EXPECT_EQ(m_widget->m_actions.GetElement(20).m_repeat_count, 0u);
    InfoGeneralBufferForUserInterface2 before;
    ASSERT_EQ(m_widget->GetBufferFromIndex(40, &before), S_OK);
    std::vector<float> values(256, 0.0f);
    for (uint32_t i = 13; i < 26; ++i) // bar 1's values
        values[i] = 0.05f;
    FloatListUserInterface2 list = Floats(values);
    ASSERT_EQ(m_widget->UpdateDataReal(0x101, &list, 1), S_OK);
    EXPECT_EQ(ChangedBars(), 1u);
    ASSERT_EQ(m_widget->CycleBeforeFinalize(Window(), 0, 0, 0, 0), S_OK);
    EXPECT_EQ(m_widget->m_actions.GetElement(40).m_repeat_count, 128u);
    EXPECT_EQ(m_widget->m_actions.GetElement(20).m_repeat_count, 0u);
    Tick();
    EXPECT_EQ(ChangedBars(), 0u);
    InfoGeneralBufferForUserInterface2 after;
    ASSERT_EQ(m_widget->GetBufferFromIndex(40, &after), S_OK);
    // Only bar 1's columns differ.
    bool barChanged = false, othersKept = true;
    for (int32_t plane = 0; plane < 3; ++plane)
        for (int32_t y = 0; y < 200; ++y)
            for (int32_t x = 0; x < 600; ++x) {
                const int32_t index = y * before.m_byte_stride / 2 + x;
                const bool differs = before.m_rgb_buffers.GetElement(plane)[index] !=
                                     after.m_rgb_buffers.GetElement(plane)[index];
                if (x >= 30 && x < 60)
                    barChanged = barChanged || differs;
                else
                    othersKept = othersKept && !differs;
            }
    EXPECT_TRUE(barChanged);
    EXPECT_TRUE(othersKept);
    // New colours reach every bar, and the layers are drawn again.
    const GDIListUserInterface2 colours = TestColours();
    ASSERT_EQ(m_widget->UpdateGDIInfoForObjectReal(&colours, nullptr, static_cast<int32_t>(colours.GetCount())), S_OK);
    EXPECT_EQ(ChangedBars(), 20u);
    ASSERT_EQ(m_widget->CycleBeforeFinalize(Window(), 0, 0, 0, 0), S_OK);
    EXPECT_EQ(m_widget->m_actions.GetElement(40).m_repeat_count, 20u * 128u);
    EXPECT_EQ(m_widget->m_actions.GetElement(20).m_repeat_count, 45u);
}

TEST(GistogramGrid, BandsAtMultiplesOfTheStep)
{
    constexpr int Width = 8, Height = 100;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = Width;
    info.bmiHeader.biHeight = -Height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC context = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(context, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(context, bitmap);
    InfoGridForDrawToHDC grid;
    grid.m_margin = 10;
    grid.m_half_thickness = 1;
    grid.m_edge_factor = 1.0f;
    grid.m_band.m_frame = unifrgb(0, 255, 0);
    grid.m_band.m_draw_inner_frame = 0;
    const int size = sizeof(grid);
    EXPECT_EQ(FunctDrawGistogramGridToHDC(nullptr, Width, Height, &grid, size), E_INVALIDARG);
    for (float step : {0.0f, 1.0f, -0.5f}) {
        grid.m_step = step;
        EXPECT_EQ(FunctDrawGistogramGridToHDC(context, Width, Height, &grid, size), E_UNEXPECTED) << step;
    }
    EXPECT_THROW(FunctDrawGistogramGridToHDC(context, Width, Height, &grid, size - 4), int);
    grid.m_step = 1.0f / 6.0f;
    ASSERT_EQ(FunctDrawGistogramGridToHDC(context, Width, Height, &grid, size), S_OK);
    GdiFlush();
    const auto* pixels = static_cast<const uint32_t*>(bits);
    std::vector<int> bandRows;
    for (int y = 0; y < Height; ++y)
        if (pixels[y * Width + Width / 2] == 0x00FF00 && (y == 0 || pixels[(y - 1) * Width + Width / 2] != 0x00FF00))
            bandRows.push_back(y);
    // Bands of two rows from trunc(80 t + 10) - 1, t = 1/6 .. 5/6: five of them.
    std::vector<int> expected;
    for (int k = 1; k <= 5; ++k)
        expected.push_back(static_cast<int>(std::trunc(80.0f * (static_cast<float>(k) / 6.0f) + 10.0f)) - 1);
    EXPECT_EQ(bandRows, expected);
    SelectObject(context, previous);
    DeleteObject(bitmap);
    DeleteDC(context);
}

// The widget shown on the screen with its own timer: bars standing on the bottom margin, markers
// at the curve, the background colour beside the bars, hovered and selected bars unlike the others.
TEST_F(GistogramTest, PictureOnTheScreen)
{
    // Away from the real pointer, whose moves would take the hover.
    POINT pointer = {};
    GetCursorPos(&pointer);
    const int32_t top = pointer.y >= 300 ? 50 : 700;
    m_widget.reset();
    Make(610, 200, top);
    m_widget->m_timer_id = SetTimer(Window(), m_widget->m_timer_id, 50, nullptr);
    Set(GistogramObjectUserInterface2::PropValueCount, IntValue(20));
    std::vector<float> bars(20, 0.0f), curve(20, 0.75f);
    bars[3] = 0.5f;
    curve[4] = 0.25f;
    FloatListUserInterface2 barList = Floats(bars), curveList = Floats(curve);
    ASSERT_EQ(m_widget->UpdateDataReal(0x101, &barList, 1), S_OK);
    ASSERT_EQ(m_widget->UpdateDataReal(0x201, &curveList, 1), S_OK);
    ASSERT_EQ(m_widget->m_leftOffset, 10u);
    m_widget->ControlStatObjectShowReal(1, 1);
    SetWindowPos(Window(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    // The hooks are called directly: a posted move would start the leave tracking, and the real
    // pointer, which other test programs share, lies elsewhere.
    const HWND window = Window();
    m_widget->OnMouseMove(window, 0, MAKELPARAM(BarX(8), 150), 0);
    m_widget->OnMouseButton(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(BarX(8), 150), 0, false);
    m_widget->OnMouseButton(window, WM_LBUTTONUP, 0, MAKELPARAM(BarX(8), 150), 0, false);
    m_widget->OnMouseMove(window, 0, MAKELPARAM(BarX(6), 150), 0);
    std::vector<uint32_t> screen;
    const auto at = [&](int32_t x, int32_t y) { return screen[static_cast<size_t>(y) * 610 + static_cast<size_t>(x)]; };
    // Drawn once every bar is: the background colour beside the first bar, bar 3 above bar 2.
    EXPECT_TRUE(WaitFor([&] {
        if (ChangedBars() != 0)
            return false;
        screen = ScreenPixels(Left, top, 610, 200);
        return at(5, 100) == 0x00005A && at(BarX(3), 150) != at(BarX(2), 150);
    }));
    // Bar 3 (half the height: rows 100..189) stands on the bottom margin; bar 2 has none.
    EXPECT_NE(at(BarX(3), 189), at(BarX(2), 189));
    EXPECT_NE(at(BarX(3), 101), at(BarX(2), 101));
    EXPECT_EQ(at(BarX(3), 20), at(BarX(2), 20));
    EXPECT_EQ(at(BarX(3), 195), at(BarX(2), 195));
    // Markers: bar 2's curve at 0.75 (row 55), bar 4's at 0.25 (row 145).
    EXPECT_NE(at(BarX(2), 57), at(BarX(4), 57));
    EXPECT_NE(at(BarX(2), 147), at(BarX(4), 147));
    // Hovered bar 6 and selected bar 8 unlike plain bar 2 and unlike each other.
    EXPECT_NE(at(BarX(6), 20), at(BarX(2), 20));
    EXPECT_NE(at(BarX(8), 20), at(BarX(2), 20));
    EXPECT_NE(at(BarX(6), 20), at(BarX(8), 20));
}

// Each colour entry the picture takes shows where it is used: a new colour changes the picture
// there (bar 3 half high, the curve at 0.75: its marker strip on rows 45..64).
TEST_F(GistogramTest, ColourEntriesShowWhereTheyAreUsed)
{
    m_widget.reset();
    Make(610, 200);
    std::vector<float> bars(256, 0.0f);
    for (uint32_t i = 38; i < 51; ++i) // bar 3 of 20
        bars[i] = 0.5f / 13.0f;
    FloatListUserInterface2 barList = Floats(bars), curveList = Floats(std::vector<float>(256, 0.75f));
    ASSERT_EQ(m_widget->UpdateDataReal(0x101, &barList, 1), S_OK);
    ASSERT_EQ(m_widget->UpdateDataReal(0x201, &curveList, 1), S_OK);
    Tick();
    InfoGeneralBufferForUserInterface2 before;
    ASSERT_EQ(m_widget->GetBufferFromIndex(40, &before), S_OK);
    struct Place
    {
        uint32_t entry;
        int32_t left, top, right, bottom; // where some pixel changes
    };
    const int32_t bar3 = 10 + 3 * 30;
    const Place places[] = {
        {32, 0, 0, 10, 200},              // beside the bars
        {68, bar3, 100, bar3 + 30, 190},  // segments inside the bar
        {69, bar3, 100, bar3 + 30, 190},
        {70, 40, 10, 70, 45},             // the gradient above the bars
        {71, 40, 10, 70, 45},
        {72, 40, 45, 70, 65},             // the marker
        {73, 40, 45, 70, 65},
        {74, 40, 36, 70, 44},             // the first band, round row 40
        {75, 40, 36, 70, 44},
    };
    for (const Place& place : places) {
        SCOPED_TRACE(place.entry);
        GDIListUserInterface2 colours = TestColours();
        colours.GetElement(place.entry).m_color = RGB(255, 255, 255);
        ASSERT_EQ(m_widget->UpdateGDIInfoForObjectReal(&colours, nullptr, static_cast<int32_t>(colours.GetCount())),
                  S_OK);
        Tick();
        InfoGeneralBufferForUserInterface2 after;
        ASSERT_EQ(m_widget->GetBufferFromIndex(40, &after), S_OK);
        bool changed = false;
        for (int32_t y = place.top; y < place.bottom; ++y)
            for (int32_t x = place.left; x < place.right; ++x)
                for (uint32_t plane = 0; plane < 3; ++plane) {
                    const int32_t index = y * after.m_byte_stride / 2 + x;
                    changed = changed || after.m_rgb_buffers.GetElement(plane)[index] !=
                                             before.m_rgb_buffers.GetElement(plane)[index];
                }
        EXPECT_TRUE(changed);
        const GDIListUserInterface2 original = TestColours();
        ASSERT_EQ(m_widget->UpdateGDIInfoForObjectReal(&original, nullptr, static_cast<int32_t>(original.GetCount())),
                  S_OK);
        Tick();
    }
}
