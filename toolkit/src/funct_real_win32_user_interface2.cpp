#include "BaseUserInterface.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>

namespace {

constexpr uint32_t ExclusiveMember = ElementStateToggle | ElementStateExclusive;

bool IsExclusiveMember(uint32_t state)
{
    return (state & ExclusiveMember) == ExclusiveMember;
}

} // namespace

bool BaseUserInterface::IsElementUsed(uint32_t index) const
{
    return static_cast<int32_t>(index) < m_element_count && m_elements.GetElement(index).IsUsed();
}

HRESULT BaseUserInterface::SetTextVarForObjectReal(int32_t index, const char* text)
{
    try {
        if (index < 1)
            return E_UNEXPECTED;
        if (index > 1)
            return S_OK;
        if (text == nullptr)
            return E_INVALIDARG;
        // The text may be the widget's own (an unfreeze sets it again).
        const DynamicString copy(text);
        m_text = copy;
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(0);
        if (table.GetCount() > 0 && flags.GetCount() > 0)
            for (int32_t i = 0; i < m_property_counts.GetElement(0); ++i)
                if (table.GetElement(i).m_type == InfoTypedValueUserInterface2::TypeText)
                    flags.GetElement(i) = 1;
        for (uint32_t i = 0; i < MaxElements; ++i) {
            if (!IsElementUsed(i))
                continue;
            for (uint32_t field : {0u, 1u, 4u})
                m_elements.GetElement(i).m_changed.GetElement(field) = 1;
        }
        if (m_frozen)
            return S_OK;
        OnElementInfoChanged();
        OnGeneralInfoChanged();
        return ClearPropertyChangeFlags();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::UpdateGeneralInfoForObjectReal(int32_t table, const TypedValueListUserInterface2* values,
                                                          const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        if (table < 0 || table > 1 || count < 0)
            return E_UNEXPECTED;
        if (table == 0 && count > m_property_counts.GetElement(0))
            return E_FAIL;
        if (count > 0 && (values == nullptr || indexes == nullptr))
            return E_INVALIDARG;
        const HRESULT copied = table == 0 ? CopyIntoPropertyTable0(values, indexes, count)
                                          : CopyIntoPropertyTable1(values, indexes, count);
        if (FAILED(copied) || m_frozen)
            return copied;
        OnGeneralInfoChanged();
        return ClearPropertyChangeFlags();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Table 0 keeps its size and the type of each entry: a value of another type is skipped.
HRESULT BaseUserInterface::CopyIntoPropertyTable0(const TypedValueListUserInterface2* values,
                                                  const IndexListUserInterface2* indexes, int32_t count)
{
    TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
    DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(0);
    if (table.GetCount() == 0 || flags.GetCount() == 0)
        return E_FAIL;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t index = indexes->GetElement(i);
        if (index < 0 || index >= m_property_counts.GetElement(0))
            continue;
        const InfoTypedValueUserInterface2& value = values->GetElement(i);
        InfoTypedValueUserInterface2& entry = table.GetElement(index);
        if (entry.m_type != value.m_type)
            continue;
        entry = value;
        flags.GetElement(index) = 1;
    }
    return S_OK;
}

// Table 1 grows to the largest update; growing resets every entry and marks it changed.
HRESULT BaseUserInterface::CopyIntoPropertyTable1(const TypedValueListUserInterface2* values,
                                                  const IndexListUserInterface2* indexes, int32_t count)
{
    TypedValueListUserInterface2& table = m_property_tables.GetElement(1);
    DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(1);
    int32_t& tableCount = m_property_counts.GetElement(1);
    if (table.GetCount() == 0 || flags.GetCount() == 0 || count > tableCount) {
        tableCount = count;
        if (FAILED(table.SetSize(count)) || FAILED(flags.SetSize(count)))
            return E_FAIL;
        for (int32_t i = 0; i < count; ++i)
            table.GetElement(i).Reset();
        flags.Fill(1);
    }
    for (int32_t i = 0; i < count; ++i) {
        const int32_t index = indexes->GetElement(i);
        if (index >= 0 && index < tableCount)
            table.GetElement(index) = values->GetElement(i);
    }
    return S_OK;
}

HRESULT BaseUserInterface::SetElementInfoFromIndexReal(const ElementListUserInterface2* elements,
                                                       const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        if (count < 1) {
            for (uint32_t i = 0; i < MaxElements; ++i)
                m_elements.GetElement(i).SetAllChanged(1);
        } else {
            if (elements == nullptr || indexes == nullptr)
                return E_INVALIDARG;
            for (int32_t i = 0; i < count; ++i) {
                const int32_t index = indexes->GetElement(i);
                if (index < 0 || index >= m_element_count)
                    continue;
                m_elements.GetElement(index) = elements->GetElement(i);
                UpdateExclusiveGroup(static_cast<uint32_t>(index));
            }
        }
        OnElementInfoChanged();
        for (uint32_t i = 0; i < MaxElements; ++i)
            m_elements.GetElement(i).SetAllChanged(0);
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A checked member of an exclusive group unchecks the other members.
void BaseUserInterface::UpdateExclusiveGroup(uint32_t changed)
{
    if (!IsElementUsed(changed))
        return;
    const uint32_t state = m_elements.GetElement(changed).GetStateWord();
    if (!IsExclusiveMember(state))
        return;
    for (uint32_t i = 0; i < MaxElements; ++i) {
        if (i == changed || !IsElementUsed(i))
            continue;
        InfoElementUserInterface2& other = m_elements.GetElement(i);
        uint32_t otherState = other.GetStateWord();
        if (!IsExclusiveMember(otherState))
            continue;
        if (state & ElementStateChecked)
            otherState &= ~static_cast<uint32_t>(ElementStateChecked);
        other.Field(InfoElementUserInterface2::FieldState).SetInt(static_cast<int32_t>(otherState));
        other.m_changed.GetElement(InfoElementUserInterface2::FieldState) = 1;
    }
}

HRESULT BaseUserInterface::GetElementInfoFromIndexReal(ElementListUserInterface2* elements,
                                                       const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        if (count < 1)
            return E_UNEXPECTED;
        if (elements == nullptr || indexes == nullptr)
            return E_INVALIDARG;
        for (int32_t i = 0; i < count; ++i) {
            const int32_t index = indexes->GetElement(i);
            if (index >= 0 && index < m_element_count)
                elements->GetElement(i) = m_elements.GetElement(index);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::UpdateGDIInfoForObjectReal(const GDIListUserInterface2* entries,
                                                      const IndexListUserInterface2* indexes, int32_t count)
{
    try {
        if (entries == nullptr)
            return E_INVALIDARG;
        if (count < 0)
            return E_UNEXPECTED;
        count = std::min<int32_t>(count, GDITableSizeUserInterface2);
        if (indexes != nullptr) {
            for (int32_t i = 0; i < count; ++i) {
                const uint32_t index = static_cast<uint32_t>(indexes->GetElement(i));
                m_gdi_table.GetElement(index) = entries->GetElement(i);
                m_gdi_changed.GetElement(index) = 1;
            }
        } else {
            for (int32_t i = 0; i < count; ++i)
                m_gdi_table.GetElement(i) = entries->GetElement(i);
            m_gdi_changed.Fill(1);
        }
        const HRESULT result = SetChangedAllBuffers();
        m_gdi_changed.Fill(0);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::SetChangedAllBuffers()
{
    try {
        for (uint32_t i = 0; i < m_array_general_buffers.GetCount(); ++i) {
            InfoGeneralBufferForUserInterface2& buffer = m_array_general_buffers.GetElement(i);
            if (buffer.m_max_size_byte_buffer > 0)
                buffer.SetChanged();
        }
        return m_finall_buffer.SetChanged();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::OnGeneralInfoChanged()
{
    return ClearPropertyChangeFlags();
}

HRESULT BaseUserInterface::ClearPropertyChangeFlags()
{
    try {
        for (uint32_t table = 0; table < 2; ++table) {
            DynamicBoundsObject<uint8_t>& flags = m_property_changed.GetElement(table);
            const int32_t count = m_property_counts.GetElement(table);
            if (flags.GetCount() == 0 || count < 0)
                continue;
            for (int32_t i = 0; i < count; ++i)
                flags.GetElement(i) = 0;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT BaseUserInterface::OnElementInfoChanged()
{
    return S_FALSE;
}

HRESULT BaseUserInterface::RebuildObject()
{
    return S_OK;
}

HRESULT BaseUserInterface::RefreshObject()
{
    return S_FALSE;
}

HRESULT BaseUserInterface::GetPosObjectReal(int32_t* left, int32_t* top, int32_t* width, int32_t* height)
{
    if (left == nullptr || top == nullptr || width == nullptr || height == nullptr)
        return E_INVALIDARG;
    *left = m_left;
    *top = m_top;
    *width = m_width;
    *height = m_height;
    return S_OK;
}

HWND BaseUserInterface::GetHWNDReal()
{
    return m_window;
}

HRESULT BaseUserInterface::ControlStatObjectShowReal(int32_t index, int32_t value)
{
    try {
        if (index < 1 || index > static_cast<int32_t>(StateCount))
            return E_UNEXPECTED;
        m_state_values.GetElement(index) = value;
        switch (index) {
        case StateShown:
            if (SUCCEEDED(CheckIsWindow(m_window)))
                ShowWindow(m_window, value > 0 ? SW_SHOW : SW_HIDE);
            return S_OK;
        case StateFrozen: {
            const uint8_t frozen = value != 0 ? 1 : 0;
            const bool changed = frozen != m_frozen;
            m_frozen = frozen;
            if (frozen)
                return FreezeBuffers();
            if (!changed)
                return S_OK;
            return SetTextVarForObjectReal(1, m_text.GetString());
        }
        case StateRefresh:
            return RefreshObject();
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A frozen widget gives its image memory back; the buffers stay marked, so the next picture is whole.
HRESULT BaseUserInterface::FreezeBuffers()
{
    for (uint32_t i = 0; i < m_array_general_buffers.GetCount(); ++i) {
        InfoGeneralBufferForUserInterface2& buffer = m_array_general_buffers.GetElement(i);
        buffer.FreeBuffers();
        buffer.SetChanged();
    }
    m_finall_buffer.FreeBuffers();
    m_finall_buffer.SetChanged();
    m_finall_rgb.Free();
    return S_OK;
}
