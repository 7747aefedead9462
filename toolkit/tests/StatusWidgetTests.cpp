// The status strip: its settings, pipelines and buffer sizes, the text drawn once, the scroll and
// glow on the manual clock, and the parent drag.
#include "StatusObjectUserInterface2.h"
#include "TestWidget.h"

#include "ManualTestClock.h"
#include "TempFolder.h"
#include "TestBitmapFiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

namespace {

using Status = StatusObjectUserInterface2;
using Action = InfoActionUserInterface2;

constexpr uint32_t GlowBlur = 0x202015;
constexpr uint32_t GlowSharpen = 0x202016;

class TestStatus : public StatusObjectUserInterface2
{
public:
    TestStatus(uint32_t style, uint8_t drag) : StatusObjectUserInterface2("status under test", nullptr, style, drag) {}

    using BaseUserInterface::m_actions;
    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_finall_buffer_choice;
    using BaseUserInterface::m_mouse_enter_time;
    using BaseUserInterface::m_mouse_tracking;
    using BaseUserInterface::m_property_tables;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_window;
    using StatusObjectUserInterface2::m_glow_counter;
    using StatusObjectUserInterface2::m_last_scroll_time;
    using StatusObjectUserInterface2::m_mode;
    using StatusObjectUserInterface2::m_split_bottom;
    using StatusObjectUserInterface2::m_split_top;
    using StatusObjectUserInterface2::m_trail_rows;
};

// A shown strip of the style and size on the test thread; only the test's ticks run its cycle.
std::unique_ptr<TestStatus> MakeStatus(uint32_t style, int32_t width = 200, int32_t height = 100, uint8_t drag = 0,
                                       const char* skins = "Z:\\no skins here")
{
    auto status = std::make_unique<TestStatus>(style, drag);
    status->SetOptimCPUReal(4);
    status->CreateObject();
    KillTimer(status->m_window, status->m_timer_id);
    status->SetTextVarForObjectReal(1, skins);
    status->ControlStatObjectShowReal(1, 1);
    status->MoveObjectReal(0, 0, width, height);
    return status;
}

HRESULT SetProperty(TestStatus& status, uint32_t index, const InfoTypedValueUserInterface2& value)
{
    const TypedValueListUserInterface2 values = MakeList<InfoTypedValueUserInterface2>({value});
    const IndexListUserInterface2 indexes = MakeIndexList({static_cast<int32_t>(index)});
    return status.UpdateGeneralInfoForObjectReal(0, &values, &indexes, 1);
}

InfoTypedValueUserInterface2 TextValue(const std::string& text)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetText(text.c_str());
    return typed;
}

uint32_t Operation(const Action& action)
{
    return action.m_flags & (Action::OperationMask | Action::FlagClamp | Action::FlagPadRows | Action::FlagSource |
                             Action::FlagDestination);
}

TEST(StatusWidgetTest, WindowClassAndDefaultSettings)
{
    auto status = MakeStatus(3);
    char name[128] = {};
    GetClassNameA(status->m_window, name, sizeof(name));
    EXPECT_STREQ(name, "OJV::UserInterface2::StatusObjectUserInterface2::24.10.2006");
    const TypedValueListUserInterface2& table = status->m_property_tables.GetElement(0);
    EXPECT_EQ(table.GetElement(Status::FieldTopShare).m_type, InfoTypedValueUserInterface2::TypeFloat);
    EXPECT_FLOAT_EQ(table.GetElement(Status::FieldTopShare).m_value.m_float, 0.85f);
    EXPECT_EQ(table.GetElement(Status::FieldStyle).m_type, InfoTypedValueUserInterface2::TypeInt);
    EXPECT_EQ(table.GetElement(Status::FieldStyle).m_value.m_int, 3);
    EXPECT_EQ(status->m_finall_buffer_choice, Status::FinalBuffer);
}

TEST(StatusWidgetTest, TopShareOutsideItsRangeBecomesThreeQuarters)
{
    const struct
    {
        float given;
        float kept;
    } cases[] = {{0.0f, 0.75f},  {1.5f, 0.75f}, {-0.2f, 0.75f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.75f},       {0.5f, 0.5f}, {1.0f, 1.0f}};
    auto status = MakeStatus(1, 200, 100);
    for (const auto& c : cases) {
        ASSERT_EQ(SetProperty(*status, Status::FieldTopShare, FloatValue(c.given)), S_OK);
        const float kept = status->m_property_tables.GetElement(0).GetElement(Status::FieldTopShare).m_value.m_float;
        EXPECT_FLOAT_EQ(kept, c.kept) << c.given;
        EXPECT_EQ(status->m_split_top, static_cast<int32_t>(std::trunc(100 * c.kept))) << c.given;
        EXPECT_EQ(status->m_split_top + status->m_split_bottom, 100) << c.given;
    }
}

TEST(StatusWidgetTest, AStyleWithoutAPipelineBuildsNoActions)
{
    auto status = MakeStatus(2);
    for (uint32_t slot = 0; slot < BaseUserInterface::ActionSlotCount; ++slot)
        EXPECT_EQ(status->m_actions.GetElement(slot).m_flags, 0u) << slot;
    EXPECT_EQ(status->m_finall_buffer_choice, -1);
}

TEST(StatusWidgetTest, AStyleChangeClearsTheTextureAndRebuildsThePipeline)
{
    auto status = MakeStatus(1);
    EXPECT_EQ(status->m_actions.GetElement(10).m_source_index, 4);
    ASSERT_EQ(status->m_array_general_buffers.GetElement(12).FillBuffers(7, 9), S_OK);
    ASSERT_EQ(SetProperty(*status, Status::FieldStyle, IntValue(3)), S_OK);
    EXPECT_EQ(status->m_mode, 3u);
    const InfoGeneralBufferForUserInterface2& texture = status->m_array_general_buffers.GetElement(12);
    for (uint32_t plane = 0; plane < 3; ++plane)
        EXPECT_EQ(texture.m_rgb_buffers.GetElement(plane)[0], 0) << plane;
    EXPECT_EQ(status->m_actions.GetElement(10).m_flags, 0u);
    EXPECT_EQ(status->m_actions.GetElement(11).m_source_index, 17);
    EXPECT_EQ(Operation(status->m_actions.GetElement(22)), 0x30100Bu);
    // The settings stay as they were.
    EXPECT_FLOAT_EQ(status->m_property_tables.GetElement(0).GetElement(Status::FieldTopShare).m_value.m_float, 0.85f);
}

TEST(StatusWidgetTest, BufferHeightsOfBothPipelines)
{
    const int32_t top = 85, bottom = 15, whole = 100;
    const struct
    {
        uint32_t style;
        int32_t heights[15];
    } cases[] = {
        {1, {top, top, bottom, whole, bottom, bottom, whole, whole, whole, whole, whole, whole, whole, whole, whole}},
        {3, {whole, whole, whole, whole, whole, whole, whole, whole, whole, whole, whole, whole, whole, whole, whole}},
    };
    const int32_t buffers[15] = {4, 5, 6, 7, 8, 9, 10, 11, 12, 17, 13, 14, 15, 16, 18};
    for (const auto& c : cases) {
        auto status = MakeStatus(c.style, 200, whole);
        for (uint32_t i = 0; i < 15; ++i) {
            const InfoGeneralBufferForUserInterface2& buffer = status->m_array_general_buffers.GetElement(buffers[i]);
            EXPECT_EQ(buffer.m_width_element, 200) << c.style << " buffer " << buffers[i];
            EXPECT_EQ(buffer.m_height_element, c.heights[i]) << c.style << " buffer " << buffers[i];
        }
    }
    // The split pipeline stacks the top part above the bottom part.
    auto split = MakeStatus(1, 200, whole);
    EXPECT_EQ(split->m_actions.GetElement(10).m_height, top);
    EXPECT_EQ(split->m_actions.GetElement(11).m_height, bottom);
    EXPECT_EQ(split->m_actions.GetElement(11).m_destination_offset,
              top * split->m_array_general_buffers.GetElement(14).m_byte_stride);
    EXPECT_EQ(split->m_actions.GetElement(22).m_height, top);
}

// The text buffer's update time tells whether a tick drew the text.
class StatusTextTest : public ::testing::Test
{
protected:
    uint64_t m_now = 1000000;
    ManualTestClock m_clock{m_now};
    std::unique_ptr<TestStatus> m_status = MakeStatus(1);

    uint64_t TextDrawnAt() { return m_status->m_array_general_buffers.GetElement(8).m_last_time_update_buffer; }
    // The time of the tick.
    uint64_t Tick()
    {
        m_now += 80;
        m_clock.Advance(80);
        m_status->OnTimerCycle(m_status->m_window, 0, 0, false);
        return m_now;
    }
};

TEST_F(StatusTextTest, TheSameTextDrawsOnce)
{
    ASSERT_EQ(SetProperty(*m_status, Status::FieldText, TextValue("ready")), S_OK);
    const uint64_t drawn = Tick();
    EXPECT_EQ(TextDrawnAt(), drawn);
    Tick();
    Tick();
    EXPECT_EQ(TextDrawnAt(), drawn);
    ASSERT_EQ(SetProperty(*m_status, Status::FieldText, TextValue("busy")), S_OK);
    EXPECT_EQ(TextDrawnAt(), drawn);
    EXPECT_EQ(TextDrawnAt(), Tick());
}

TEST_F(StatusTextTest, ALongTextIsComparedCutAndDrawsOnce)
{
    ASSERT_EQ(SetProperty(*m_status, Status::FieldText, TextValue(std::string(6000, 'x'))), S_OK);
    const uint64_t drawn = Tick();
    EXPECT_EQ(TextDrawnAt(), drawn);
    Tick();
    EXPECT_EQ(TextDrawnAt(), drawn);
}

TEST(StatusWidgetTest, TheFirstScrollTickOnlyStoresTheTimeThenHundredRowsASecond)
{
    ManualTestClock clock(5000);
    auto status = MakeStatus(0x23, 40, 100);
    InfoGeneralBufferForUserInterface2& texture = status->m_array_general_buffers.GetElement(12);
    const int32_t rowWords = texture.m_byte_stride / 2;
    for (int32_t y = 0; y < 100; ++y)
        texture.m_rgb_buffers.GetElement(0)[y * rowWords] = static_cast<int16_t>(1000 + y);
    const auto scroll = [&](uint64_t now) {
        return Status::FunctStatusCycleB(status.get(), 2, 5, 0, static_cast<uint32_t>(now), static_cast<uint32_t>(now >> 32));
    };
    EXPECT_EQ(scroll(5000), S_FALSE);
    EXPECT_EQ(status->m_last_scroll_time, 5000);
    EXPECT_EQ(texture.m_rgb_buffers.GetElement(0)[0], 1000);
    EXPECT_EQ(scroll(5004), S_FALSE);
    EXPECT_EQ(status->m_last_scroll_time, 5000);
    EXPECT_EQ(scroll(5050), S_OK);
    EXPECT_EQ(status->m_last_scroll_time, 5050);
    for (int32_t y = 5; y < 100; ++y)
        ASSERT_EQ(texture.m_rgb_buffers.GetElement(0)[y * rowWords], 1000 + y - 5) << y;
    EXPECT_NE(status->m_array_general_buffers.GetElement(13).IsChanged(), 0u);
}

TEST(StatusWidgetTest, TrailRowsAreFreedWithTheWidget)
{
    const uint64_t before = LibraryHeapInUse();
    {
        auto status = MakeStatus(0x13, 120, 60);
        for (uint64_t now : {7000u, 7100u})
            Status::FunctStatusCycleB(status.get(), 2, 5, 0, static_cast<uint32_t>(now), 0);
        EXPECT_NE(status->m_trail_rows[2], nullptr);
    }
    EXPECT_EQ(LibraryHeapInUse(), before);
}

// The counter after t seconds with the pointer inside or outside, its clamp and the operation.
TEST(StatusWidgetTest, GlowCounterTable)
{
    const struct
    {
        bool whole;
        bool inside;
        int32_t startCounter;
        int32_t milliseconds;
        int32_t counter;
        uint32_t operation;
        float operand;
    } cases[] = {
        {false, true, 20, 100, 15, GlowBlur, 9.0f},     {false, true, 20, 1000, 4, GlowSharpen, 4.0f},
        {false, false, 4, 1000, 9, GlowSharpen, 9.0f},  {false, false, 4, 10000, 20, GlowBlur, 4.0f},
        {false, true, 20, -1000, 20, GlowBlur, 4.0f},   {true, true, 50, 500, 25, GlowBlur, 25.0f},
        {true, false, 1, 2000, 11, GlowSharpen, 11.0f}, {true, true, 50, 5000, 1, GlowSharpen, 1.0f},
        {true, false, 1, 60000, 50, GlowBlur, 0.0f},
    };
    for (const auto& c : cases) {
        auto status = MakeStatus(c.whole ? 3 : 1);
        status->m_mouse_tracking = c.inside ? 1 : 0;
        status->m_mouse_enter_time = 100000;
        status->m_glow_counter = c.startCounter;
        status->m_array_general_buffers.GetElement(14).SetChanged();
        const uint64_t now = 100000 + c.milliseconds;
        const auto callback = c.whole ? Status::FunctStatusCycleB : Status::FunctStatusCycleA;
        ASSERT_EQ(callback(status.get(), 3, 13, 0, static_cast<uint32_t>(now), 0), S_OK) << c.milliseconds;
        EXPECT_EQ(status->m_glow_counter, c.counter) << c.whole << c.inside << c.milliseconds;
        const Action& glow = status->m_actions.GetElement(13);
        EXPECT_EQ(Operation(glow), c.operation) << c.milliseconds;
        for (uint32_t channel = 0; channel < 3; ++channel)
            EXPECT_FLOAT_EQ(glow.m_params_a[channel][0], c.operand) << c.milliseconds;
    }
}

// The counter rests at the bottom inside and at the top outside while the picture is unchanged.
TEST(StatusWidgetTest, ASettledGlowDoesNotRun)
{
    const struct
    {
        bool whole;
        bool inside;
        int32_t counter;
        HRESULT result;
    } cases[] = {
        {false, true, 4, S_FALSE}, {false, false, 20, S_FALSE}, {false, true, 5, S_OK}, {false, false, 19, S_OK},
        {true, true, 1, S_FALSE},  {true, false, 50, S_FALSE},  {true, true, 2, S_OK},  {true, false, 49, S_OK},
    };
    for (const auto& c : cases) {
        auto status = MakeStatus(c.whole ? 3 : 1);
        status->m_array_general_buffers.GetElement(14).ClearChanged();
        status->m_mouse_tracking = c.inside ? 1 : 0;
        status->m_glow_counter = c.counter;
        const auto callback = c.whole ? Status::FunctStatusCycleB : Status::FunctStatusCycleA;
        EXPECT_EQ(callback(status.get(), 3, 13, 0, 100, 0), c.result) << c.whole << c.inside << c.counter;
        // Slot 12 only lets the copy into the glow buffer run.
        EXPECT_EQ(callback(status.get(), 3, 12, 0, 100, 0), c.result) << c.whole << c.inside << c.counter;
        EXPECT_EQ(status->m_array_general_buffers.GetElement(14).IsChanged() != 0, c.result == S_OK);
    }
}

TEST(StatusWidgetTest, CallbacksRefuseBadArgumentsAndSkipMissingBuffers)
{
    auto status = MakeStatus(3);
    EXPECT_EQ(Status::FunctStatusCycleA(nullptr, 1, 4, 0, 0, 0), E_FAIL);
    EXPECT_EQ(Status::FunctStatusCycleA(status.get(), 1, 64, 0, 0, 0), E_FAIL);
    EXPECT_EQ(Status::FunctStatusCycleB(status.get(), 9, 4, 0, 0, 0), E_FAIL);
    EXPECT_EQ(Status::FunctStatusCycleB(status.get(), 0, 0, 0, 0, 0), E_FAIL);
    status->m_array_general_buffers.GetElement(11).FreeBuffers();
    EXPECT_EQ(Status::FunctStatusCycleB(status.get(), 1, 4, 0, 0, 0), S_FALSE);
}

// The picture with generated skins: a dark red top skin, a dark blue bottom skin, a white mask and
// no radial weight, the text in white.
class StatusPictureTest : public ::testing::Test
{
protected:
    void Build(uint32_t style, int32_t width, int32_t height)
    {
        const std::pair<const char*, uint32_t> skins[] = {
            {"top.bmp", 0x3C0000}, {"mask.bmp", 0xFFFFFF}, {"bottom.bmp", 0x00003C}, {"radial.bmp", 0}};
        for (const auto& [name, colour] : skins)
            m_folder.WriteFile(name, MakeBmp32(8, 8, std::vector<uint32_t>(64, colour), true));
        m_status = MakeStatus(style, width, height, 0, m_folder.Path().c_str());
        InfoGDIUserInterface2 entry;
        entry.m_color = RGB(255, 255, 255);
        entry.m_font.lfHeight = 14;
        entry.m_font.lfWeight = FW_BOLD;
        const GDIListUserInterface2 entries = MakeList<InfoGDIUserInterface2>({entry});
        const IndexListUserInterface2 entryIndexes = MakeIndexList({137});
        m_status->UpdateGDIInfoForObjectReal(&entries, &entryIndexes, 1);
        const TypedValueListUserInterface2 values = MakeList<InfoTypedValueUserInterface2>(
            {TextValue("top.bmp"), TextValue("mask.bmp"), TextValue("bottom.bmp"), TextValue("radial.bmp"),
             TextValue("STATUS TEXT")});
        const IndexListUserInterface2 indexes = MakeIndexList({0, 1, 2, 3, 4});
        ASSERT_EQ(m_status->UpdateGeneralInfoForObjectReal(0, &values, &indexes, 5), S_OK);
    }
    void Tick(int32_t milliseconds = 80)
    {
        m_clock.Advance(milliseconds);
        m_status->OnTimerCycle(m_status->m_window, 0, 0, true);
        m_status->GetBufferFromIndex(Status::FinalBuffer, &m_picture);
    }
    int16_t Sample(uint32_t plane, int32_t x, int32_t y) const
    {
        return m_picture.m_rgb_buffers.GetElement(plane)[y * m_picture.m_byte_stride / 2 + x];
    }
    // Rows first..end-1 of a plane: the mean and how many samples are brighter than 200.
    std::pair<double, int> Rows(uint32_t plane, int32_t first, int32_t end) const
    {
        double sum = 0;
        int bright = 0;
        for (int32_t y = first; y < end; ++y)
            for (int32_t x = 0; x < m_picture.m_width_element; ++x) {
                sum += Sample(plane, x, y);
                bright += Sample(plane, x, y) > 200;
            }
        return {sum / ((end - first) * m_picture.m_width_element), bright};
    }

    ManualTestClock m_clock;
    TempFolder m_folder;
    std::unique_ptr<TestStatus> m_status;
    InfoGeneralBufferForUserInterface2 m_picture;
};

TEST_F(StatusPictureTest, TheSplitStripShowsTheTopSkinAboveTheBottomPartWithTheText)
{
    Build(1, 200, 100);
    Tick();
    ASSERT_EQ(m_picture.m_height_element, 100);
    const double topRed = Rows(0, 0, 85).first;
    const double topBlue = Rows(2, 0, 85).first;
    const double bottomRed = Rows(0, 85, 100).first;
    const double bottomBlue = Rows(2, 85, 100).first;
    EXPECT_GT(topRed, 50.0);
    EXPECT_LT(topBlue, 5.0);
    EXPECT_GT(bottomBlue, 50.0);
    // The white text adds to every channel of the bottom part.
    EXPECT_GT(bottomBlue, bottomRed + 20.0);
    EXPECT_EQ(Rows(1, 0, 85).second, 0);
    EXPECT_GT(Rows(1, 85, 100).second, 10);
}

TEST_F(StatusPictureTest, TheWholeStripCarriesTheTextOverItsHeightAndItsTextureMoves)
{
    Build(0x13, 165, 100);
    Tick();
    const InfoGeneralBufferForUserInterface2& text = m_status->m_array_general_buffers.GetElement(8);
    EXPECT_EQ(text.m_height_element, 100);
    int lit = 0;
    for (int32_t y = 0; y < 100; ++y)
        for (int32_t x = 0; x < 165; ++x)
            lit += text.m_rgb_buffers.GetElement(1)[y * text.m_byte_stride / 2 + x] > 200;
    EXPECT_GT(lit, 10);
    Tick(100);
    InfoGeneralBufferForUserInterface2 before;
    before = m_picture;
    Tick(100);
    bool moved = false;
    for (int32_t y = 0; y < 100 && !moved; ++y)
        for (int32_t x = 0; x < 165 && !moved; ++x)
            moved = before.m_rgb_buffers.GetElement(2)[y * before.m_byte_stride / 2 + x] != Sample(2, x, y);
    EXPECT_TRUE(moved);
}

// A parent popup with the strip as its child at (0, 0).
class StatusDragTest : public ::testing::Test
{
protected:
    static constexpr int32_t ParentLeft = 300;
    static constexpr int32_t ParentTop = 200;

    void SetUp() override
    {
        m_parent = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "drag parent", WS_POPUP | WS_VISIBLE, ParentLeft,
                                   ParentTop, 200, 100, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    POINT ParentCorner() const
    {
        RECT frame = {};
        GetWindowRect(m_parent, &frame);
        return {frame.left, frame.top};
    }

    HWND m_parent = nullptr;
};

TEST_F(StatusDragTest, APressAndDragMoveTheParentOnlyWithTheFlag)
{
    const struct
    {
        const char* name;
        uint8_t flag;
        bool press;
        bool parent;
        int32_t moved;
    } cases[] = {
        {"press and drag", 1, true, true, 30},
        {"no press", 1, false, true, 0},
        {"no flag", 0, true, true, 0},
        {"no parent", 1, true, false, 0},
    };
    for (const auto& c : cases) {
        MoveWindow(m_parent, ParentLeft, ParentTop, 200, 100, FALSE);
        auto status = MakeStatus(1, 200, 40, c.flag);
        if (c.parent) {
            ASSERT_EQ(status->SetWindowReal(0, m_parent), S_OK);
        }
        if (c.press)
            PostMessageA(status->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
        PostMessageA(status->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 5));
        PumpPending();
        EXPECT_EQ(ParentCorner().x, ParentLeft + c.moved) << c.name;
        EXPECT_EQ(ParentCorner().y, ParentTop) << c.name;
        RECT frame = {};
        GetWindowRect(m_parent, &frame);
        EXPECT_EQ(frame.right - frame.left, 200) << c.name;
    }
}

// A parent that is a child window itself moves within its own parent, by the drag.
TEST_F(StatusDragTest, AChildParentMovesInsideItsOwnParent)
{
    HWND inner = CreateWindowExA(0, "STATIC", "inner parent", WS_CHILD | WS_VISIBLE, 20, 10, 150, 60, m_parent,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(inner, nullptr);
    auto status = MakeStatus(1, 150, 40, 1);
    ASSERT_EQ(status->SetWindowReal(0, inner), S_OK);
    PostMessageA(status->m_window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 5));
    PostMessageA(status->m_window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(40, 12));
    PumpPending();
    RECT frame = {};
    GetWindowRect(inner, &frame);
    EXPECT_EQ(frame.left, ParentLeft + 50);
    EXPECT_EQ(frame.top, ParentTop + 17);
    EXPECT_EQ(frame.right - frame.left, 150);
    EXPECT_EQ(ParentCorner().x, ParentLeft);
    status.reset();
    DestroyWindow(inner);
}

} // namespace
