// A widget that records its hook calls, for tests that drive the base class directly. It lives on
// the test thread, which pumps its messages.
#pragma once

#include "BaseUserInterface.h"

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

    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_element_count;
    using BaseUserInterface::m_elements;
    using BaseUserInterface::m_ex_style;
    using BaseUserInterface::m_finall_buffer;
    using BaseUserInterface::m_finall_buffer_choice;
    using BaseUserInterface::m_finall_rgb;
    using BaseUserInterface::m_frozen;
    using BaseUserInterface::m_gdi_changed;
    using BaseUserInterface::m_gdi_table;
    using BaseUserInterface::m_hot_flags;
    using BaseUserInterface::m_hot_times;
    using BaseUserInterface::m_pressed_element;
    using BaseUserInterface::m_previous_pressed_element;
    using BaseUserInterface::m_property_changed;
    using BaseUserInterface::m_property_counts;
    using BaseUserInterface::m_property_tables;
    using BaseUserInterface::m_state_values;
    using BaseUserInterface::m_text;
    using BaseUserInterface::m_timer_id;
    using BaseUserInterface::m_timer_period;
    using BaseUserInterface::m_window;

private:
    HookRecord& m_record;
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

// Bytes in use in the support library's own heap and in its string heap.
uint64_t LibraryHeapInUse();
