// A widget that records its hook calls, for tests that drive the base class directly. It lives on
// the test thread, which pumps its messages.
#pragma once

#include "BaseUserInterface.h"

#include <functional>
#include <string>
#include <vector>

// Outlives the widget, so that hooks run during destruction can be checked.
struct HookRecord
{
    std::vector<std::string> m_calls;
    // Property change flags of table 0 that were set when OnGeneralInfoChanged ran.
    int m_changed_properties_seen = 0;
    // Per element: change flags set when OnElementInfoChanged ran.
    std::vector<std::vector<int>> m_element_flags_seen;
    int m_changed_fonts_seen = 0;
    DWORD m_destroy_thread = 0;

    int Count(const std::string& name) const;
};

struct TestWidgetSettings
{
    int32_t m_count = 0;
    uint32_t m_style = 0;
    const char* m_name = "TestWidget";
    uint32_t m_period = 50;
    const char* m_class_name = nullptr;
};

class TestWidget : public BaseUserInterface
{
public:
    using Settings = TestWidgetSettings;

    explicit TestWidget(HookRecord& record, const ElementListUserInterface2& elements = {}, Settings settings = {});
    explicit TestWidget(HookRecord& record, Settings settings) : TestWidget(record, {}, settings) {}
    ~TestWidget() override;

    HRESULT OnCreateWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnDestroyWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT OnElementInfoChanged() override;
    HRESULT RebuildObject() override;
    HRESULT SetChangedAllBuffers() override;
    HRESULT SetTextVarForObjectReal(int32_t index, const char* text) override;
    HRESULT OnKeyMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam) override;
    // Handles the widget's own test operation: its answer is the operation's wParam.
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;

    // The operation of a derived widget's own table, which answers the given result.
    HRESULT TestOperation(HRESULT answer);
    // Shows a top-down picture of width x height pixels (0x00RRGGBB) as the widget's final picture.
    void SetFinalPicture(const std::vector<uint32_t>& pixels);

    // Threads on which operations ran.
    std::vector<DWORD> m_operation_threads;
    int m_text_sets = 0;

    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_element_count;
    using BaseUserInterface::m_elements;
    using BaseUserInterface::m_ex_style;
    using BaseUserInterface::m_finall_buffer;
    using BaseUserInterface::m_finall_buffer_choice;
    using BaseUserInterface::m_finall_rgb;
    using BaseUserInterface::m_force_finalize;
    using BaseUserInterface::m_frozen;
    using BaseUserInterface::m_gdi_changed;
    using BaseUserInterface::m_gdi_table;
    using BaseUserInterface::m_has_focus;
    using BaseUserInterface::m_height;
    using BaseUserInterface::m_hot_flags;
    using BaseUserInterface::m_hot_times;
    using BaseUserInterface::m_last_mouse_x;
    using BaseUserInterface::m_last_mouse_y;
    using BaseUserInterface::m_left_button_down;
    using BaseUserInterface::m_messages;
    using BaseUserInterface::m_mouse_enter_time;
    using BaseUserInterface::m_mouse_tracking;
    using BaseUserInterface::m_pressed_element;
    using BaseUserInterface::m_previous_pressed_element;
    using BaseUserInterface::m_property_changed;
    using BaseUserInterface::m_property_counts;
    using BaseUserInterface::m_processor_mode;
    using BaseUserInterface::m_property_tables;
    using BaseUserInterface::m_related_windows;
    using BaseUserInterface::m_state_values;
    using BaseUserInterface::m_text;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_timer_period;
    using BaseUserInterface::m_toggle_enabled;
    using BaseUserInterface::m_width;
    using BaseUserInterface::m_window;
    using BaseUserInterface::m_operations_aligned;
    using BaseUserInterface::m_operations_unaligned;
    using BaseUserInterface::m_operation_granularity;
    using BaseUserInterface::m_planes_to_rgb32;
    using BaseUserInterface::m_rgb32_to_planes;
    using BaseUserInterface::m_mirror;
    using BaseUserInterface::m_resize;
    using BaseUserInterface::m_clamp;
    using BaseUserInterface::CopyBufferFromIndex;
    using BaseUserInterface::m_actions;
    using BaseUserInterface::m_cycle_suspended;
    using BaseUserInterface::m_rebuild_in_progress;

private:
    HookRecord& m_record;
    ObjectWindowMessage1 m_test_messages;
};

// A used element with an area, a command id and a state word.
InfoElementUserInterface2 MakeElement(int32_t left, int32_t top, int32_t width, int32_t height, int32_t command = 0,
                                      uint32_t state = 0);

// A caller's list of descriptions, values or indexes.
template <class T>
DynamicBoundsObject<T> MakeList(const std::vector<T>& entries)
{
    DynamicBoundsObject<T> list;
    list.Init(static_cast<uint32_t>(entries.size()), 0);
    for (uint32_t i = 0; i < entries.size(); ++i)
        list.GetElement(i) = entries[i];
    return list;
}
inline ElementListUserInterface2 MakeElementList(const std::vector<InfoElementUserInterface2>& elements)
{
    return MakeList(elements);
}
inline IndexListUserInterface2 MakeIndexList(const std::vector<int32_t>& indexes)
{
    return MakeList(indexes);
}

inline InfoTypedValueUserInterface2 IntValue(int32_t value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetInt(value);
    return typed;
}

inline InfoTypedValueUserInterface2 FloatValue(float value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetFloat(value);
    return typed;
}

inline InfoTypedValueUserInterface2 BoolValue(bool value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetBool(value);
    return typed;
}

// Bytes in use in the support library's own heap and in its string heap.
uint64_t LibraryHeapInUse();

// The screen's pixels in the rectangle, top row first, 0x00RRGGBB.
std::vector<uint32_t> ScreenPixels(int32_t left, int32_t top, int32_t width, int32_t height);

// Dispatches every message waiting for this thread.
void PumpPending();
inline constexpr DWORD kWaitForLimitMs = 30000;
// Pumps until the condition holds, for up to kWaitForLimitMs; false when it never did.
bool WaitFor(const std::function<bool()>& condition);
// Runs the work on a second thread while this thread pumps, as a GUI thread does.
void RunOnOtherThreadWhilePumping(const std::function<void()>& work);

// A hidden window on the test thread that records the messages posted to it.
class MessageRecorder
{
public:
    struct Message
    {
        UINT m_message;
        WPARAM m_wparam;
        LPARAM m_lparam;
        bool operator==(const Message& other) const = default;
    };

    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    HWND Handle() const { return m_window; }
    // What arrived so far, after the pending messages are dispatched.
    const std::vector<Message>& Received();
    void Clear() { m_received.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    std::vector<Message> m_received;
};
