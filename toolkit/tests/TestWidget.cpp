#include "TestWidget.h"

#include <algorithm>

int HookRecord::Count(const std::string& name) const
{
    return static_cast<int>(std::count(m_calls.begin(), m_calls.end(), name));
}

TestWidget::TestWidget(HookRecord& record, const ElementListUserInterface2& elements, Settings settings)
    : BaseUserInterface(elements, settings.m_count, settings.m_style, settings.m_name, nullptr, 7, settings.m_period),
      m_record(record)
{
    if (settings.m_class_name != nullptr)
        m_window_class_name = settings.m_class_name;
}

TestWidget::~TestWidget()
{
    FreeObject();
}

HRESULT TestWidget::OnCreateWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time)
{
    m_record.m_calls.push_back("OnCreateWindow");
    return BaseUserInterface::OnCreateWindow(window, wParam, lParam, time);
}

HRESULT TestWidget::OnDestroyWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time)
{
    m_record.m_calls.push_back("OnDestroyWindow");
    m_record.m_destroy_thread = GetCurrentThreadId();
    return BaseUserInterface::OnDestroyWindow(window, wParam, lParam, time);
}

HRESULT TestWidget::OnGeneralInfoChanged()
{
    m_record.m_calls.push_back("OnGeneralInfoChanged");
    const auto& flags = m_property_changed.GetElement(0);
    m_record.m_changed_properties_seen = 0;
    for (uint32_t i = 0; i < flags.GetCount(); ++i)
        m_record.m_changed_properties_seen += flags.GetElement(i);
    return BaseUserInterface::OnGeneralInfoChanged();
}

HRESULT TestWidget::OnElementInfoChanged()
{
    m_record.m_calls.push_back("OnElementInfoChanged");
    m_record.m_element_flags_seen.assign(MaxElements, {});
    for (uint32_t i = 0; i < MaxElements; ++i)
        for (uint32_t field = 0; field < InfoElementUserInterface2::FieldCount; ++field)
            if (m_elements.GetElement(i).m_changed.GetElement(field))
                m_record.m_element_flags_seen[i].push_back(static_cast<int>(field));
    return BaseUserInterface::OnElementInfoChanged();
}

HRESULT TestWidget::RebuildObject()
{
    m_record.m_calls.push_back("RebuildObject");
    return BaseUserInterface::RebuildObject();
}

HRESULT TestWidget::SetChangedAllBuffers()
{
    m_record.m_calls.push_back("SetChangedAllBuffers");
    m_record.m_changed_fonts_seen = 0;
    for (uint32_t i = 0; i < GDITableSizeUserInterface2; ++i)
        m_record.m_changed_fonts_seen += m_gdi_changed.GetElement(i);
    return BaseUserInterface::SetChangedAllBuffers();
}

InfoElementUserInterface2 MakeElement(int32_t left, int32_t top, int32_t width, int32_t height, int32_t command,
                                      uint32_t state)
{
    InfoElementUserInterface2 element;
    element.m_header_flag = 1;
    element.Field(InfoElementUserInterface2::FieldRect).SetRect(left, top, width, height);
    element.Field(InfoElementUserInterface2::FieldCommand).SetInt(command);
    element.Field(InfoElementUserInterface2::FieldState).SetInt(static_cast<int32_t>(state));
    return element;
}

uint64_t LibraryHeapInUse()
{
    uint64_t own = 0;
    uint64_t strings = 0;
    SAFE_GET_INFO_HEAP(false, &own, nullptr);
    SAFE_GET_INFO_HEAP(false, &strings, GetHeapForDynamicString());
    return own + strings;
}
