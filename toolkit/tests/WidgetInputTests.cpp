#include "TestWidget.h"

#include "ManualTestClock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Message = MessageRecorder::Message;

LPARAM At(int32_t x, int32_t y)
{
    return MAKELPARAM(x, y);
}

// One input message posted to the widget, as the system would deliver it.
struct Input
{
    UINT m_message;
    int32_t m_x;
    int32_t m_y;
    WPARAM m_keys = 0;
};

Input Down(int32_t x, int32_t y)
{
    return {WM_LBUTTONDOWN, x, y, MK_LBUTTON};
}

Input Up(int32_t x, int32_t y)
{
    return {WM_LBUTTONUP, x, y};
}

Input DoubleClick(int32_t x, int32_t y)
{
    return {WM_LBUTTONDBLCLK, x, y, MK_LBUTTON};
}

Input Move(int32_t x, int32_t y, WPARAM keys = 0)
{
    return {WM_MOUSEMOVE, x, y, keys};
}

Message Command(int32_t command, int32_t code, uint32_t state)
{
    return {WM_COMMAND, MAKEWPARAM(command, code), static_cast<LPARAM>(state)};
}

InfoElementUserInterface2 Element(int32_t left, int32_t command, uint32_t state)
{
    InfoElementUserInterface2 element = MakeElement(left, 10, 40, 10, command, state);
    element.m_notification_code = 3;
    return element;
}

} // namespace

// A widget of up to three elements side by side (left edges 10, 60, 110; 40 x 10 from row 10)
// whose clicks go to window 1 and whose mouse messages go to window 2.
class WidgetInputTest : public testing::Test
{
protected:
    void MakeWidget(const std::vector<InfoElementUserInterface2>& elements)
    {
        m_widget = std::make_unique<TestWidget>(m_record, MakeElementList(elements),
                                                TestWidget::Settings{.m_count = static_cast<int32_t>(elements.size())});
        ASSERT_EQ(m_widget->CreateObject(), S_OK);
        ASSERT_EQ(m_widget->MoveObject(0, 0, 200, 40), S_OK);
        ASSERT_EQ(m_widget->SetWindow(1, m_commands.Handle()), S_OK);
    }

    void Post(const std::vector<Input>& inputs)
    {
        for (const Input& input : inputs)
            PostMessageA(m_widget->m_window, input.m_message, input.m_keys, At(input.m_x, input.m_y));
        PumpPending();
    }

    uint32_t State(uint32_t element) const { return m_widget->m_elements.GetElement(element).GetStateWord(); }

    HookRecord m_record;
    MessageRecorder m_commands;
    MessageRecorder m_mouse;
    std::unique_ptr<TestWidget> m_widget;
};

TEST_F(WidgetInputTest, Clicks)
{
    struct Case
    {
        const char* m_name;
        std::vector<InfoElementUserInterface2> m_elements;
        std::vector<Input> m_inputs;
        std::vector<Message> m_posted;
        std::vector<uint32_t> m_states;
    };
    const Case cases[] = {
        {"a click checks, a second one unchecks",
         {Element(10, 77, 0x1)},
         {Down(20, 15), Up(20, 15), Down(20, 15), Up(20, 15)},
         {Command(77, 3, 0x10000001), Command(77, 3, 0x00000001)},
         {0x1}},
        {"release on another element", {Element(10, 77, 0x1), Element(60, 78, 0x1)},
         {Down(20, 15), Up(70, 15)}, {}, {0x1, 0x1}},
        {"release outside every element", {Element(10, 77, 0x1)}, {Down(20, 15), Up(20, 35)}, {}, {0x1}},
        {"a checked group member stays checked and unchecks the others",
         {Element(10, 77, 0x10000005), Element(60, 78, 0x10000005), Element(110, 79, 0x10000007)},
         {Down(20, 15), Up(20, 15)},
         {Command(77, 3, 0x10000005)},
         {0x10000005, 0x5, 0x10000007}},
        {"an unchecked group member gets checked",
         {Element(10, 77, 0x5), Element(60, 78, 0x10000005)},
         {Down(70, 15), Down(20, 15), Up(20, 15)},
         {Command(77, 3, 0x10000005)},
         {0x10000005, 0x5}},
        {"command id 0 toggles without posting", {Element(10, 0, 0x1)}, {Down(20, 15), Up(20, 15)}, {}, {0x10000001}},
        {"a plain element posts its state", {Element(10, 77, 0x0)}, {Down(20, 15), Up(20, 15)}, {Command(77, 3, 0)}, {0x0}},
        {"silent", {Element(10, 77, 0x20000001)}, {Down(20, 15), Up(20, 15), DoubleClick(20, 15)}, {}, {0x20000001}},
        {"disabled", {Element(10, 77, 0x3)}, {Down(20, 15), Up(20, 15), DoubleClick(20, 15)}, {}, {0x3}},
        {"double click on a disabled element that notifies", {Element(10, 77, 0xB)}, {DoubleClick(20, 15)},
         {Command(77, 3, 0xB)}, {0xB}},
        {"double click posts without toggling", {Element(10, 77, 0x1)}, {DoubleClick(20, 15)},
         {Command(77, 3, 0x1)}, {0x1}},
        {"dragging onto an element presses it", {Element(10, 77, 0x1)},
         {Down(5, 5), Move(20, 15, MK_LBUTTON), Up(20, 15)},
         {Command(77, 3, 0x10000001)},
         {0x10000001}},
        {"moving over an element without the button presses nothing", {Element(10, 77, 0x1)},
         {Down(5, 5), Move(20, 15), Up(20, 15)}, {}, {0x1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        MakeWidget(c.m_elements);
        Post(c.m_inputs);
        EXPECT_EQ(m_commands.Received(), c.m_posted);
        for (uint32_t i = 0; i < c.m_states.size(); ++i)
            EXPECT_EQ(State(i), c.m_states[i]) << "element " << i;
        EXPECT_EQ(m_widget->m_pressed_element, -1);
        m_commands.Clear();
    }
}

TEST_F(WidgetInputTest, TogglingCanBeSwitchedOff)
{
    MakeWidget({Element(10, 77, 0x1)});
    m_widget->m_toggle_enabled = 0;
    Post({Down(20, 15), Up(20, 15)});
    EXPECT_EQ(m_commands.Received(), std::vector<Message>{Command(77, 3, 0x1)});
}

TEST_F(WidgetInputTest, PressStateAndForwardedMouseMessages)
{
    MakeWidget({Element(10, 77, 0x1), Element(60, 78, 0x3)});
    ASSERT_EQ(m_widget->SetWindow(2, m_mouse.Handle()), S_OK);

    Post({Down(20, 15)});
    EXPECT_EQ(m_widget->m_pressed_element, 0);
    EXPECT_EQ(m_widget->m_left_button_down, 1);
    Post({Move(70, 15, MK_LBUTTON)}); // a disabled element is not pressed by a drag
    EXPECT_EQ(m_widget->m_pressed_element, -1);
    EXPECT_EQ(m_widget->m_previous_pressed_element, 0);
    EXPECT_EQ(m_widget->m_left_button_down, 1); // a drag keeps the button byte
    Post({Up(70, 15), DoubleClick(30, 12)});
    EXPECT_EQ(m_widget->m_left_button_down, 0);

    const std::vector<Message> forwarded = {
        {WM_LBUTTONDOWN, MK_LBUTTON, At(20, 15)},
        {WM_MOUSEMOVE, MK_LBUTTON, At(70, 15)},
        {WM_LBUTTONUP, 0, At(70, 15)},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, At(30, 12)},
    };
    EXPECT_EQ(m_mouse.Received(), forwarded);
}

TEST_F(WidgetInputTest, HotFlagsFollowTheMouseOnTheWidgetClock)
{
    ManualTestClock clock(100000);
    MakeWidget({Element(10, 77, 0x1), Element(60, 78, 0x2), Element(110, 79, 0x1)});
    const uint64_t start = m_widget->m_hot_times.GetElement(0);

    clock.Advance(5);
    Post({Move(20, 15)});
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(0), 1);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(0), 100005u);
    EXPECT_EQ(m_widget->m_mouse_tracking, 1);
    EXPECT_EQ(m_widget->m_mouse_enter_time, 100005u);

    clock.Advance(5);
    Post({Move(70, 15)}); // onto the disabled element: no hover change there
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(0), 0);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(0), 100010u);
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(1), 0);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(1), start);

    clock.Advance(5);
    Post({Move(120, 15)});
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(2), 1);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(2), 100015u);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(0), 100010u); // unchanged: it was not hot
    EXPECT_EQ(m_widget->m_mouse_enter_time, 100005u);
}

// Wine sends no WM_MOUSELEAVE for synthetic moves: the test sends it.
TEST_F(WidgetInputTest, LeavingClearsHoverAndPressAndCentresThePosition)
{
    ManualTestClock clock(200000);
    MakeWidget({Element(10, 77, 0x1), Element(60, 78, 0x2), Element(110, 79, 0xA)});
    Post({Move(20, 15), Down(20, 15)});
    ASSERT_EQ(m_widget->m_hot_flags.GetElement(0), 1);
    m_widget->m_hot_flags.GetElement(1) = 1; // became disabled while hot
    m_widget->m_hot_flags.GetElement(2) = 1;

    clock.Advance(7);
    SendMessageA(m_widget->m_window, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(m_widget->m_pressed_element, -1);
    EXPECT_EQ(m_widget->m_mouse_tracking, 0);
    EXPECT_EQ(m_widget->m_mouse_enter_time, 200007u);
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(0), 0);
    EXPECT_EQ(m_widget->m_hot_times.GetElement(0), 200007u);
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(1), 1); // disabled without notification keeps it
    EXPECT_EQ(m_widget->m_hot_flags.GetElement(2), 0);
    EXPECT_EQ(m_widget->m_last_mouse_x, 100);
    EXPECT_EQ(m_widget->m_last_mouse_y, 20);

    Post({Up(20, 15)}); // the press was dropped: no click
    EXPECT_TRUE(m_commands.Received().empty());
}

TEST_F(WidgetInputTest, MousePositionIsRescaledIntoBufferZero)
{
    MakeWidget({});
    Post({Move(100, 20)}); // buffer 0 is 32 x 32, the client area 200 x 40
    EXPECT_EQ(m_widget->m_last_mouse_x, 31 * 100 / 200);
    EXPECT_EQ(m_widget->m_last_mouse_y, 31 * 20 / 40);
}

// A window squeezed to nothing gives an empty client area: the position is kept, not divided by 0.
TEST_F(WidgetInputTest, MouseRescalingSkipsAnEmptyClientArea)
{
    MakeWidget({});
    MoveWindow(m_widget->m_window, 0, 0, 0, 0, FALSE);
    RECT client = {};
    GetClientRect(m_widget->m_window, &client);
    ASSERT_EQ(client.right, 0);
    ASSERT_EQ(client.bottom, 0);
    Post({Move(7, 9)});
    EXPECT_EQ(m_widget->m_last_mouse_x, 7);
    EXPECT_EQ(m_widget->m_last_mouse_y, 9);
}
