#include "TestWidget.h"

#include "LogCapture.h"
#include "ManualTestClock.h"
#include "ThrownInteger.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace {

// Counts the WM_TIMER messages of two timers until the reference has fired the given times.
struct TickCounts
{
    int m_widget = 0;
    int m_reference = 0;
};

TickCounts CountTicks(HWND widgetWindow, UINT_PTR widgetTimer, HWND referenceWindow, UINT_PTR referenceTimer,
                      int referenceTicks)
{
    TickCounts counts;
    while (counts.m_reference < referenceTicks) {
        MSG message;
        if (GetMessageA(&message, nullptr, 0, 0) <= 0)
            break;
        if (message.message == WM_TIMER && message.hwnd == widgetWindow && message.wParam == widgetTimer)
            ++counts.m_widget;
        else if (message.message == WM_TIMER && message.hwnd == referenceWindow && message.wParam == referenceTimer)
            ++counts.m_reference;
        else
            DispatchMessageA(&message);
    }
    return counts;
}

} // namespace

class BaseUserInterfaceTest : public testing::Test
{
protected:
    HookRecord m_record;
};

TEST_F(BaseUserInterfaceTest, TimerPeriodIsClampedAndRunsAtThatPeriod)
{
    struct Case
    {
        uint32_t m_given;
        uint32_t m_period;
        int m_reference_ticks;
    };
    for (const Case& c : {Case{5, 10, 30}, Case{50, 50, 12}, Case{500, 200, 6}}) {
        SCOPED_TRACE(c.m_given);
        TestWidget widget(m_record, TestWidget::Settings{.m_period = c.m_given});
        EXPECT_EQ(widget.m_timer_period, c.m_period);
        ASSERT_EQ(widget.CreateObject(), S_OK);
        EXPECT_EQ(widget.m_timer_id, reinterpret_cast<UINT_PTR>(&widget));

        // A timer of the expected period on another window fires as often as the widget's.
        HWND reference = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(SetTimer(reference, 1, c.m_period, nullptr), 0u);
        const TickCounts counts = CountTicks(widget.m_window, widget.m_timer_id, reference, 1, c.m_reference_ticks);
        KillTimer(reference, 1);
        DestroyWindow(reference);
        // A quarter either way: a busy machine delays the two timers unevenly, while a period off
        // by the clamp would double or halve the count.
        EXPECT_GE(counts.m_widget, c.m_reference_ticks * 3 / 4);
        EXPECT_LE(counts.m_widget, c.m_reference_ticks * 5 / 4);
    }
}

TEST_F(BaseUserInterfaceTest, ElementCountIsClampedToTheSixteenDescriptions)
{
    std::vector<InfoElementUserInterface2> many;
    for (int i = 0; i < 20; ++i)
        many.push_back(MakeElement(i, 0, 1, 1, 100 + i));
    const ElementListUserInterface2 list = MakeElementList(many);

    TestWidget clamped(m_record, list, {.m_count = 20});
    EXPECT_EQ(clamped.m_element_count, 16);
    EXPECT_EQ(clamped.m_elements.GetElement(15).Field(6).m_value.m_int, 115);

    TestWidget none(m_record, list, {.m_count = -3});
    EXPECT_EQ(none.m_element_count, 0);
    EXPECT_EQ(none.m_elements.GetElement(0).m_header_flag, 0); // nothing copied
    EXPECT_EQ(none.m_elements.GetElement(0).Field(6).m_value.m_int, 0);
}

TEST_F(BaseUserInterfaceTest, CountAboveTheListFailsWithTheIndexError)
{
    const ElementListUserInterface2 three = MakeElementList({MakeElement(0, 0, 1, 1), MakeElement(0, 0, 1, 1),
                                                             MakeElement(0, 0, 1, 1)});
    LogCapture log;
    const uint64_t before = LibraryHeapInUse();
    EXPECT_EQ(ThrownInteger([&] { TestWidget widget(m_record, three, {.m_count = 5}); }), 2);
    EXPECT_TRUE(log.Contains("shared_funct_user_interface2"));
    EXPECT_EQ(LibraryHeapInUse(), before); // nothing of the half-built widget stays
}

TEST_F(BaseUserInterfaceTest, ConstructionDefaults)
{
    const ElementListUserInterface2 one = MakeElementList({MakeElement(1, 2, 3, 4, 9, 0x1)});
    ManualTestClock clock(50000);
    TestWidget widget(m_record, one, {.m_count = 1});

    // The given description over the defaults, the others at the defaults.
    const InfoElementUserInterface2& given = widget.m_elements.GetElement(0);
    EXPECT_EQ(given.m_header_flag, 1);
    EXPECT_EQ(given.Field(5).m_value.m_rect.m_width, 3);
    EXPECT_EQ(given.Field(7).m_value.m_int, 1);
    for (uint32_t i = 1; i < 16; ++i) {
        const InfoElementUserInterface2& element = widget.m_elements.GetElement(i);
        EXPECT_STREQ(element.Field(0).m_value.m_text.GetString(), "TestName1");
        EXPECT_STREQ(element.Field(1).m_value.m_text.GetString(), "TestName2");
        EXPECT_STREQ(element.Field(3).m_value.m_text.GetString(), "Default text user interface");
        EXPECT_STREQ(element.Field(4).m_value.m_text.GetString(), "TestNameFile");
        EXPECT_EQ(element.Field(5).m_type, InfoTypedValueUserInterface2::TypeRect);
        EXPECT_EQ(element.Field(6).m_type, InfoTypedValueUserInterface2::TypeInt);
        EXPECT_EQ(element.Field(7).m_value.m_int, 0);
        EXPECT_EQ(element.Field(8).m_value.m_int, 12);
        EXPECT_EQ(element.Field(9).m_value.m_int, 16);
        EXPECT_EQ(element.Field(2).m_type, InfoTypedValueUserInterface2::TypeNone);
    }

    // Property tables: 128 entries (0-6 empty texts, 7 the integer 255) and an empty table 1.
    const auto& table0 = widget.m_property_tables.GetElement(0);
    ASSERT_EQ(table0.GetCount(), 128u);
    for (uint32_t i = 0; i < 7; ++i)
        EXPECT_EQ(table0.GetElement(i).m_type, InfoTypedValueUserInterface2::TypeText);
    EXPECT_EQ(table0.GetElement(7).m_type, InfoTypedValueUserInterface2::TypeInt);
    EXPECT_EQ(table0.GetElement(7).m_value.m_int, 255);
    EXPECT_EQ(table0.GetElement(8).m_type, InfoTypedValueUserInterface2::TypeNone);
    EXPECT_EQ(widget.m_property_counts.GetElement(0), 128);
    EXPECT_EQ(widget.m_property_counts.GetElement(1), 0);
    EXPECT_EQ(widget.m_property_changed.GetElement(0).GetCount(), 128u);
    EXPECT_EQ(widget.m_property_changed.GetElement(0).GetElement(127), 0);
    EXPECT_EQ(widget.m_property_tables.GetElement(1).GetCount(), 0u);

    // Font table and its flags, buffers, picture, position and press state.
    EXPECT_EQ(widget.m_gdi_table.GetCount(), 256u);
    EXPECT_EQ(widget.m_gdi_table.GetElement(130).m_color, 0xC8DC50u);
    EXPECT_EQ(widget.m_gdi_changed.GetElement(255), 1);
    EXPECT_EQ(widget.m_array_general_buffers.GetCount(), 544u);
    EXPECT_EQ(widget.m_array_general_buffers.GetElement(543).m_max_size_byte_buffer, 0);
    EXPECT_EQ(widget.m_finall_rgb.m_size, 2500u);
    EXPECT_EQ(widget.m_finall_rgb.m_valid_count, 0);
    int32_t left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(widget.GetPosObjectReal(&left, &top, &width, &height), S_OK);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, 25);
    EXPECT_EQ(height, 25);
    EXPECT_EQ(widget.m_pressed_element, -1);
    EXPECT_EQ(widget.m_previous_pressed_element, -1);
    EXPECT_EQ(widget.m_finall_buffer_choice, -1);
    EXPECT_EQ(widget.m_ex_style, static_cast<DWORD>(WS_EX_TOOLWINDOW));
    EXPECT_EQ(widget.m_state_values.GetElement(1), 0);
    EXPECT_EQ(widget.m_window, nullptr);
    EXPECT_EQ(widget.GetHWNDReal(), nullptr);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_EQ(widget.m_hot_times.GetElement(i), 40000u); // long enough ago that no glow runs
}

TEST_F(BaseUserInterfaceTest, WindowOfAWidgetWithoutClassName)
{
    TestWidget widget(m_record, {.m_name = "Widget title"});
    ASSERT_EQ(widget.CreateObject(), S_OK);
    HWND window = widget.m_window;
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(widget.GetHWNDReal(), window);

    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(className, "BaseWindowUserInterface2Quillmark");
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "Widget title");
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    EXPECT_EQ(style & (WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VISIBLE | WS_CHILD | WS_CAPTION),
              WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN);
    EXPECT_EQ(GetWindowLongPtrA(window, GWL_EXSTYLE) & 0xFF, 0x80);
    RECT place = {};
    GetWindowRect(window, &place);
    EXPECT_EQ(place.right - place.left, 10);
    EXPECT_EQ(place.bottom - place.top, 10);
    EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&widget));
    EXPECT_EQ(GetClassLongPtrA(window, GCL_STYLE) & CS_DBLCLKS, 0);
    EXPECT_EQ(m_record.Count("OnCreateWindow"), 1);

    // The set-up before the window: buffers 0 to 2 at 32 x 32, buffer 3 at 16 x 16.
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(widget.m_array_general_buffers.GetElement(i).m_width_element, 32);
    EXPECT_EQ(widget.m_array_general_buffers.GetElement(3).m_height_element, 16);
    EXPECT_EQ(widget.m_array_general_buffers.GetElement(4).m_max_size_byte_buffer, 0);

    // A second widget of the class reuses the registration; a second window is refused.
    TestWidget second(m_record);
    ASSERT_EQ(second.CreateObject(), S_OK);
    EXPECT_EQ(GetClassLongPtrA(second.m_window, GCW_ATOM), GetClassLongPtrA(window, GCW_ATOM));
    EXPECT_EQ(second.CreateObject(), E_UNEXPECTED);
}

TEST_F(BaseUserInterfaceTest, DerivedClassNameDoubleClicksAndShownState)
{
    const char* name = "OJV::UserInterface2::TestDoubleClickUserInterface2::24.10.2006";
    TestWidget widget(m_record, {.m_style = BaseUserInterface::StyleDoubleClicks, .m_class_name = name});
    EXPECT_EQ(widget.ControlStatObjectShowReal(1, 1), S_OK); // stored before the window exists
    ASSERT_EQ(widget.CreateObject(), S_OK);
    char className[128] = {};
    GetClassNameA(widget.m_window, className, sizeof(className));
    EXPECT_STREQ(className, name);
    EXPECT_EQ(GetClassLongPtrA(widget.m_window, GCL_STYLE) & CS_DBLCLKS, CS_DBLCLKS);
    EXPECT_TRUE(IsWindowVisible(widget.m_window));

    TestWidget hidden(m_record, {.m_class_name = "OJV::UserInterface2::TestHiddenUserInterface2::24.10.2006"});
    ASSERT_EQ(hidden.CreateObject(), S_OK);
    EXPECT_FALSE(IsWindowVisible(hidden.m_window));
    EXPECT_EQ(GetClassLongPtrA(hidden.m_window, GCL_STYLE) & CS_DBLCLKS, 0);
}

TEST_F(BaseUserInterfaceTest, WindowThatCannotBeMadeIsReported)
{
    // No class can be registered under a name this long.
    const std::string name(300, 'x');
    TestWidget widget(m_record, {.m_class_name = name.c_str()});
    EXPECT_EQ(widget.CreateObject(), E_FAIL);
    EXPECT_EQ(widget.m_window, nullptr);
}

TEST_F(BaseUserInterfaceTest, WindowWithoutWidgetGetsDefaultHandling)
{
    TestWidget widget(m_record);
    ASSERT_EQ(widget.CreateObject(), S_OK);
    // A window of the widget class made without a widget refuses its creation.
    HWND orphan = CreateWindowExA(0, "BaseWindowUserInterface2Quillmark", "", WS_POPUP, 0, 0, 10, 10, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_EQ(orphan, nullptr);
}

// Every way the window goes leaves no window, no timer and none of the library's memory.
TEST_F(BaseUserInterfaceTest, LifecycleLeavesNothingBehind)
{
    enum class Ending
    {
        FreeObject,
        WindowDestroyedFirst,
        DeletedOnAnotherThread,
        DeletedWithWindow,
    };
    for (Ending ending :
         {Ending::FreeObject, Ending::WindowDestroyedFirst, Ending::DeletedOnAnotherThread, Ending::DeletedWithWindow}) {
        SCOPED_TRACE(static_cast<int>(ending));
        HookRecord record;
        const uint64_t before = LibraryHeapInUse();
        auto widget = std::make_unique<TestWidget>(record, TestWidget::Settings{.m_name = "Lifecycle"});
        ASSERT_EQ(widget->CreateObject(), S_OK);
        widget->m_array_general_buffers.GetElement(10).ResizeBuffer(64, 64);
        HWND window = widget->m_window;
        const UINT_PTR timer = widget->m_timer_id;

        switch (ending) {
        case Ending::FreeObject:
            EXPECT_EQ(widget->FreeObject(), S_OK);
            EXPECT_EQ(widget->FreeObject(), S_OK);
            break;
        case Ending::WindowDestroyedFirst:
            DestroyWindow(window);
            break;
        default:
            break;
        }
        if (ending != Ending::DeletedWithWindow && ending != Ending::DeletedOnAnotherThread) {
            EXPECT_FALSE(IsWindow(window));
            EXPECT_EQ(widget->m_timer_id, 0u);
            EXPECT_EQ(widget->m_window, nullptr);
        }
        if (ending == Ending::DeletedOnAnotherThread)
            RunOnOtherThreadWhilePumping([&] { widget.reset(); });
        else
            widget.reset();

        EXPECT_FALSE(IsWindow(window));
        EXPECT_FALSE(KillTimer(window, timer));
        EXPECT_EQ(record.Count("OnDestroyWindow"), 1);
        EXPECT_EQ(record.m_destroy_thread, GetCurrentThreadId()); // on the owner's thread
        EXPECT_EQ(LibraryHeapInUse(), before);
        PumpPending();
    }
}
