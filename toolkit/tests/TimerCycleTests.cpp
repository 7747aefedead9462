// The picture cycle: which ticks run, which slots and runs execute, the final buffer, its scaling
// and 32-bit picture, and the row split of one operation run.
#include "TestWidget.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

using Action = InfoActionUserInterface2;

constexpr int32_t Left = 1000;
constexpr int32_t Top = 700;
constexpr uint32_t ColourFill = 13;
constexpr int32_t Layer = 5;

int g_calls = 0;
HRESULT g_answer = S_OK;

HRESULT CountingCallback(BaseUserInterface*, uintptr_t, int32_t, int32_t, uint32_t, uint32_t)
{
    ++g_calls;
    return g_answer;
}

void SetColour(Action& action, float red, float green, float blue)
{
    const float colour[3] = {red, green, blue};
    for (uint32_t channel = 0; channel < 3; ++channel)
        FillActionParams(action.m_params_a, channel, colour[channel]);
}

int16_t Sample(const InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int32_t x, int32_t y)
{
    return buffer.m_rgb_buffers.GetElement(plane)[y * buffer.m_byte_stride / 2 + x];
}

void FillPlane(InfoGeneralBufferForUserInterface2& buffer, uint32_t plane, int16_t value)
{
    std::fill_n(buffer.m_rgb_buffers.GetElement(plane), buffer.m_byte_stride / 2 * buffer.m_height_element, value);
}

size_t CountLines(const LogCapture& log, const std::string& text)
{
    const std::vector<std::string> lines = log.Lines();
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return line.find(text) != std::string::npos;
    });
}

bool HasUpdate(HWND window)
{
    RECT update = {};
    return GetUpdateRect(window, &update, FALSE) != 0;
}

// Turns its slot into a colour fill, as animation callbacks change their slot's operation.
HRESULT SwitchToColourFill(BaseUserInterface*, uintptr_t context, int32_t, int32_t, uint32_t, uint32_t)
{
    reinterpret_cast<Action*>(context)->m_flags = Action::FlagDestination | ColourFill;
    return S_OK;
}

} // namespace

// A shown widget with text and a 40 x 30 layer that slot 0 fills with a colour once per change.
class TimerCycleTest : public testing::Test
{
protected:
    void SetUp() override
    {
        g_calls = 0;
        g_answer = S_OK;
        ASSERT_TRUE(SUCCEEDED(m_widget.SetOptimCPUReal(4)));
        ASSERT_EQ(m_widget.CreateObject(), S_OK);
        // Only the test's own ticks run: a due timer would run the cycle while the test sets up.
        KillTimer(m_widget.m_window, m_widget.m_timer_id);
        ASSERT_EQ(m_widget.MoveObjectReal(Left, Top, 40, 30), S_OK);
        ASSERT_EQ(m_widget.ControlStatObjectShowReal(1, 1), S_OK);
        ASSERT_EQ(m_widget.SetTextVarForObjectReal(1, "cycle"), S_OK);
        m_widget.m_rebuild_in_progress = 0;
        ASSERT_EQ(Buffer().ResizeBuffer(40, 30), S_OK);
        Action& fill = Slot(0);
        fill.m_flags = Action::FlagDestination | ColourFill;
        fill.m_repeat_count = 1;
        fill.m_destination_index = Layer;
        SetColour(fill, 200, 100, 50);
        PumpPending();
    }

    Action& Slot(uint32_t slot) { return m_widget.m_actions.GetElement(slot); }
    InfoGeneralBufferForUserInterface2& Buffer(int32_t index = Layer)
    {
        return m_widget.m_array_general_buffers.GetElement(index);
    }
    HRESULT Tick(bool forced = false) { return m_widget.OnTimerCycle(m_widget.m_window, 0, 0, forced); }
    uint32_t PicturePixel(int32_t x, int32_t y) const
    {
        return reinterpret_cast<const uint32_t*>(m_widget.m_finall_rgb.m_pixels)[y * m_widget.m_width + x] & 0xFFFFFF;
    }

    HookRecord m_record;
    TestWidget m_widget{m_record};
};

TEST_F(TimerCycleTest, ChangedLayerIsConvertedAndRepaintedOnce)
{
    Buffer().SetChanged();
    ValidateRect(m_widget.m_window, nullptr);
    EXPECT_EQ(Tick(), S_OK);
    EXPECT_EQ(Sample(Buffer(), 0, 39, 29), 200);
    EXPECT_EQ(PicturePixel(0, 0), 0xC86432u);
    EXPECT_EQ(PicturePixel(39, 29), 0xC86432u);
    EXPECT_EQ(m_widget.m_finall_rgb.m_valid_count, 40 * 30 * 4);
    EXPECT_TRUE(HasUpdate(m_widget.m_window));
    EXPECT_EQ(Buffer().IsChanged(), 0u);

    // Nothing changed: the slot does not run and nothing is repainted.
    ValidateRect(m_widget.m_window, nullptr);
    Buffer().FillBuffers(7, 0);
    Buffer().ClearChanged();
    EXPECT_EQ(Tick(), S_OK);
    EXPECT_EQ(Sample(Buffer(), 0, 0, 0), 0);
    EXPECT_FALSE(HasUpdate(m_widget.m_window));
}

TEST_F(TimerCycleTest, SkippedTicksKeepTheChangedMarks)
{
    struct Case
    {
        const char* name;
        void (*apply)(TestWidget&);
    };
    const Case cases[] = {
        {"suspended", [](TestWidget& w) { w.m_cycle_suspended = 1; }},
        {"hidden", [](TestWidget& w) { ShowWindow(w.m_window, SW_HIDE); }},
        {"no text", [](TestWidget& w) { w.m_text = ""; }},
        {"state 1 zero", [](TestWidget& w) { w.m_state_values.GetElement(1) = 0; }},
        {"rebuilding", [](TestWidget& w) { w.m_rebuild_in_progress = 1; }},
        {"frozen", [](TestWidget& w) { w.m_frozen = 1; }},
    };
    for (const Case& c : cases) {
        HookRecord record;
        TestWidget widget(record);
        ASSERT_TRUE(SUCCEEDED(widget.SetOptimCPUReal(4)));
        ASSERT_EQ(widget.CreateObject(), S_OK);
        widget.ControlStatObjectShowReal(1, 1);
        widget.SetTextVarForObjectReal(1, "cycle");
        widget.m_rebuild_in_progress = 0;
        widget.m_array_general_buffers.GetElement(Layer).ResizeBuffer(8, 8);
        Action& fill = widget.m_actions.GetElement(0);
        fill.m_flags = Action::FlagDestination | ColourFill;
        fill.m_destination_index = Layer;
        fill.m_callback = CountingCallback;
        c.apply(widget);
        g_calls = 0;
        EXPECT_EQ(widget.OnTimerCycle(widget.m_window, 0, 0, false), S_FALSE) << c.name;
        EXPECT_EQ(g_calls, 0) << c.name;
        EXPECT_NE(widget.m_array_general_buffers.GetElement(Layer).IsChanged(), 0u) << c.name;
    }
}

TEST_F(TimerCycleTest, ForcedTickOfHiddenWindowRunsWithoutConvertingOrRepainting)
{
    ShowWindow(m_widget.m_window, SW_HIDE);
    ValidateRect(m_widget.m_window, nullptr);
    Buffer().SetChanged();
    EXPECT_EQ(Tick(true), S_OK);
    EXPECT_EQ(Sample(Buffer(), 1, 5, 5), 100);
    EXPECT_EQ(m_widget.m_finall_rgb.m_valid_count, 0);
    EXPECT_FALSE(HasUpdate(m_widget.m_window));
}

TEST_F(TimerCycleTest, EmptyOperationIsIgnoredAndNoOperationNamesTheFinalBuffer)
{
    Slot(0).m_flags = Action::FlagDestination; // operation 0, the rest set
    Slot(0).m_callback = CountingCallback;
    ASSERT_EQ(Buffer(6).ResizeBuffer(40, 30), S_OK);
    Buffer(6).FillBuffers(7, 0);
    FillPlane(Buffer(6), 0, 77);
    Action& named = Slot(3);
    named.m_flags = Action::FlagsEmptyLayer; // operation 256
    named.m_destination_index = 6;
    Buffer(6).SetChanged();
    Buffer().SetChanged();
    EXPECT_EQ(Tick(), S_OK);
    EXPECT_EQ(g_calls, 0);
    EXPECT_EQ(Sample(Buffer(), 0, 0, 0), 0);
    EXPECT_EQ(PicturePixel(10, 10), 0x4D0000u);
}

TEST_F(TimerCycleTest, RepeatCountsAndCallbackAnswers)
{
    Action& slot = Slot(0);
    slot.m_callback = CountingCallback;
    // 0 runs on every tick, changed or not.
    slot.m_repeat_count = 0;
    Tick();
    Tick();
    EXPECT_EQ(g_calls, 2);
    // 1 asks its callback on every tick but runs only after a change.
    slot.m_repeat_count = 1;
    Buffer().FillBuffers(7, 0);
    Buffer().ClearChanged();
    Tick();
    EXPECT_EQ(Sample(Buffer(), 2, 0, 0), 0);
    Buffer().SetChanged();
    Tick();
    EXPECT_EQ(Sample(Buffer(), 2, 0, 0), 50);
    // A million runs stop at 262,144.
    g_calls = 0;
    slot.m_repeat_count = 1000000;
    slot.m_flags = Action::FlagsEmptyLayer;
    Buffer().SetChanged();
    Tick();
    EXPECT_EQ(g_calls, 262144);
}

TEST_F(TimerCycleTest, CallbackMayChangeTheOperationOfItsRun)
{
    Action& slot = Slot(0);
    slot.m_flags = Action::FlagsEmptyLayer;
    slot.m_callback = SwitchToColourFill;
    slot.m_callback_context = reinterpret_cast<uintptr_t>(&slot);
    Buffer().SetChanged();
    Tick();
    EXPECT_EQ(Sample(Buffer(), 0, 39, 29), 200);
}

TEST_F(TimerCycleTest, CallbackAnsweringOneSkipsWithoutMarking)
{
    Slot(0).m_callback = CountingCallback;
    Slot(0).m_repeat_count = 0;
    g_answer = S_FALSE;
    m_widget.m_force_finalize = 0;
    Buffer().ClearChanged();
    InfoGeneralBufferForUserInterface2* final = nullptr;
    InfoGeneralBufferForUserInterface2* shown = nullptr;
    EXPECT_EQ(m_widget.FinalizeFinallBufferReal(&final, &shown, 1), S_OK);
    EXPECT_EQ(g_calls, 1);
    EXPECT_EQ(final, nullptr);
    EXPECT_EQ(Buffer().IsChanged(), 0u);
    EXPECT_EQ(Sample(Buffer(), 0, 0, 0), 0);
}

TEST_F(TimerCycleTest, FinalBufferOfAnotherSizeIsScaledToTheWindow)
{
    ASSERT_EQ(Buffer().ResizeBuffer(100, 40), S_OK);
    ASSERT_EQ(m_widget.MoveObjectReal(Left, Top, 120, 40), S_OK);
    PumpPending();
    const std::string line = "BaseUserInterface::FinalizeFinallBufferReal::begin real resize finall image";
    LogCapture log;
    Buffer().SetChanged();
    EXPECT_EQ(Tick(), S_OK);
    Tick();
    EXPECT_EQ(CountLines(log, line), 1u);
    InfoGeneralBufferForUserInterface2 shown;
    ASSERT_EQ(m_widget.GetBufferFromIndex(-1, &shown), S_OK);
    EXPECT_EQ(shown.m_width_element, 120);
    EXPECT_EQ(shown.m_height_element, 40);
    EXPECT_EQ(Sample(shown, 0, 119, 39), 200);
    EXPECT_EQ(PicturePixel(119, 39), 0xC86432u);

    // A smaller window reuses the block.
    const uint32_t size = m_widget.m_finall_rgb.m_size;
    ASSERT_EQ(m_widget.MoveObjectReal(Left, Top, 20, 20), S_OK);
    Buffer().SetChanged();
    Tick();
    EXPECT_EQ(CountLines(log, line), 2u);
    EXPECT_EQ(m_widget.m_finall_rgb.m_size, size);
    EXPECT_EQ(m_widget.m_finall_rgb.m_valid_count, 20 * 20 * 4);
}

// The masked tail block writes whole blocks: a region ending 16 bytes short of a block must not
// let it run past the planes.
TEST_F(TimerCycleTest, RegionWhoseTailBlockLeavesThePlaneIsSkipped)
{
    ASSERT_EQ(Buffer().ResizeBuffer(24, 1), S_OK);
    ASSERT_EQ(Buffer().m_max_size_byte_buffer, 64);
    ASSERT_EQ(m_widget.m_operation_granularity.GetElement(ColourFill), 16);
    Action& slot = Slot(0);
    slot.m_destination_offset = 24;
    slot.m_destination_stride = 48;
    slot.m_width = 20;
    slot.m_height = 1;
    Action& later = Slot(1);
    later = Slot(0);
    later.m_destination_offset = 0;
    later.m_width = 4;
    LogCapture log;
    Buffer().SetChanged();
    Tick();
    EXPECT_EQ(Sample(Buffer(), 0, 12, 0), 0);
    EXPECT_EQ(Sample(Buffer(), 0, 3, 0), 200); // the next slot still ran
    EXPECT_TRUE(log.Contains("loc_offset_in_dest=24,loc_stride_dest=48,loc_width=20,loc_height=1"));
    EXPECT_TRUE(log.Contains("TestWidget::index_op=0 loc_number_action=1"));
}

// One run through the widget's message from another thread: samples 0 .. width-1 change, the rest
// of the block keeps its values, with aligned and unaligned starts.
TEST(ApplayOperationToBuffers, RowSplitChangesOnlyTheRegion)
{
    struct Case
    {
        uint32_t mode;
        int32_t width;
        int32_t offset;
    };
    const Case cases[] = {{4, 13, 0}, {4, 3, 0}, {4, 13, 2}, {4, -3, 0}, {1, 13, 0}, {1, 3, 0}, {1, 13, 2}, {1, -3, 0}};
    for (const Case& c : cases) {
        HookRecord record;
        TestWidget widget(record);
        ASSERT_TRUE(SUCCEEDED(widget.SetOptimCPUReal(c.mode)));
        ASSERT_EQ(widget.CreateObject(), S_OK);
        InfoGeneralBufferForUserInterface2 buffer;
        ASSERT_EQ(buffer.ResizeBuffer(32, 2), S_OK);
        buffer.FillBuffers(7, 0);
        Action action;
        action.m_flags = Action::FlagDestination | ColourFill;
        SetColour(action, 11, 22, 33);
        HRESULT sent = E_FAIL;
        RunOnOtherThreadWhilePumping([&] {
            sent = widget.ApplayOperationToBuffers(&buffer.m_rgb_buffers.GetElement(0), nullptr, c.width, 2,
                                                   buffer.m_byte_stride, 0, c.offset, 0, action);
        });
        ASSERT_EQ(sent, S_OK);
        const int32_t first = c.offset / 2;
        for (int32_t y = 0; y < 2; ++y)
            for (int32_t x = 0; x < 32; ++x) {
                const bool inside = x >= first && x < first + c.width;
                EXPECT_EQ(Sample(buffer, 1, x, y), inside ? 22 : 0)
                    << "mode " << c.mode << " width " << c.width << " offset " << c.offset << " at " << x;
            }
    }
}

namespace {

// Gives each run of its slot its own destination: layers 5, 6 and 7.
HRESULT DestinationPerRun(BaseUserInterface*, uintptr_t context, int32_t, int32_t run, uint32_t, uint32_t)
{
    reinterpret_cast<Action*>(context)->m_destination_index = Layer + run;
    return S_OK;
}

std::vector<uint32_t> g_marks_seen;

// Records the changed marks of the three layers as a later slot sees them.
HRESULT RecordMarks(BaseUserInterface* widget, uintptr_t, int32_t, int32_t, uint32_t, uint32_t)
{
    auto* test = static_cast<TestWidget*>(widget);
    for (int32_t layer = Layer; layer < Layer + 3; ++layer)
        g_marks_seen.push_back(test->m_array_general_buffers.GetElement(layer).IsChanged());
    return S_FALSE;
}

} // namespace

TEST_F(TimerCycleTest, EveryDestinationOfASlotsRunsIsMarkedChanged)
{
    // A copy from a changed source into three unchanged layers.
    constexpr int32_t source = Layer + 3;
    for (int32_t layer = Layer; layer <= source; ++layer) {
        ASSERT_EQ(Buffer(layer).ResizeBuffer(40, 30), S_OK);
        Buffer(layer).ClearChanged();
    }
    Buffer(source).SetChanged();
    Action& copy = Slot(0);
    copy.m_flags = Action::FlagSource | Action::FlagDestination | 2;
    copy.m_source_index = source;
    copy.m_repeat_count = 3;
    copy.m_callback = DestinationPerRun;
    copy.m_callback_context = reinterpret_cast<uintptr_t>(&copy);
    Action& after = Slot(1);
    after.m_flags = Action::FlagDestination | ColourFill;
    after.m_destination_index = Layer;
    after.m_callback = RecordMarks;
    g_marks_seen.clear();
    EXPECT_EQ(Tick(), S_OK);
    EXPECT_EQ(g_marks_seen, (std::vector<uint32_t>{1, 1, 1}));
}
