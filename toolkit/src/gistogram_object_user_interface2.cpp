// The histogram widget's model: properties, bar layout, value arrays, mouse and key editing.
#include "GistogramObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

const char* const g_gistogramOperationNames[] = {
    "GMU_UpdateData_GistogramUserInterface2,            D.U.R.M.I.X.,10.11.2006::17.00.00",
    "GMU_UpdateInternalValue_GistogramUserInterface2,   D.U.R.M.I.X.,10.11.2006::18.00.00",
};

const char g_gistogramWindowClass[] = "OJV::UserInterface2::GistogramObjectUserInterface2::24.10.2006";

enum GistogramOperation : uint32_t
{
    OperationUpdateData = 0,
    OperationUpdateInternalValue = 1,
};

constexpr uint32_t GistogramTimerPeriod = 50;
constexpr uint32_t DefaultValueCount = 256;
constexpr uint32_t PropertyGrowth = 128;
constexpr float MinimumShownShare = 0.3f;
constexpr float MaximumShownShare = 1.0f;

using Typed = InfoTypedValueUserInterface2;

struct PropertyDefault
{
    int32_t m_type;
    float m_number;
};

constexpr PropertyDefault g_propertyDefaults[GistogramObjectUserInterface2::PropertyCount] = {
    {Typed::TypeBool, 1},   {Typed::TypeInt, 25},     {Typed::TypeInt, 2},       {Typed::TypeBool, 0},
    {Typed::TypeBool, 1},   {Typed::TypeBool, 1},     {Typed::TypeBool, 0},      {Typed::TypeInt, 256},
    {Typed::TypeFloat, 1},  {Typed::TypeInt, 10},     {Typed::TypeInt, 20},      {Typed::TypeInt, 8},
    {Typed::TypeFloat, 2},  {Typed::TypeFloat, 1.4f}, {Typed::TypeFloat, 0.16666667f}, {Typed::TypeInt, 3},
    {Typed::TypeFloat, 0.02f},
};

void SetTyped(Typed& value, const PropertyDefault& entry)
{
    switch (entry.m_type) {
    case Typed::TypeBool:
        value.SetBool(entry.m_number != 0.0f);
        break;
    case Typed::TypeInt:
        value.SetInt(static_cast<int32_t>(entry.m_number));
        break;
    default:
        value.SetFloat(entry.m_number);
        break;
    }
}

float Clamp01(float value)
{
    // A NaN counts as 0.
    return value >= 0.0f ? std::min(value, 1.0f) : 0.0f;
}

uint32_t LevelOf(uint32_t usableHeight, float share)
{
    return static_cast<uint32_t>(std::trunc(static_cast<float>(usableHeight) * Clamp01(share)));
}

// Fills the entries from first on with zeros (growing arrays keep old memory there).
void ZeroFrom(FloatListUserInterface2& values, uint32_t first)
{
    for (uint32_t i = first; i < values.GetCount(); ++i)
        values.GetElement(i) = 0.0f;
}

HRESULT ResizeValues(FloatListUserInterface2& values, uint32_t count)
{
    const uint32_t old = values.GetCount();
    const HRESULT resized = values.SetSize(count);
    ZeroFrom(values, old);
    return resized;
}

} // namespace

GistogramObjectUserInterface2::GistogramObjectUserInterface2(const ElementListUserInterface2& elements,
                                                             int32_t count, uint32_t styleFlags,
                                                             const char* objectName, HINSTANCE module,
                                                             uint32_t controlId)
    : BaseUserInterface(elements, count, styleFlags, objectName, module, controlId, GistogramTimerPeriod)
{
    try {
        m_properties.Init(PropertyCount, PropertyGrowth);
        for (uint32_t i = 0; i < 2; ++i) {
            m_values.GetElement(i).Init(0, 0);
            ResizeValues(m_values.GetElement(i), DefaultValueCount);
            m_barSource.GetElement(i) = &m_values.GetElement(i);
        }
        FillDefaultProperties();
        for (uint32_t i = 0; i < 2; ++i)
            ResizeValues(m_values.GetElement(i), static_cast<uint32_t>(std::max(PropInt(PropValueCount), 0)));
        m_window_class_name = g_gistogramWindowClass;
        if (FAILED(m_gistogram_messages.InitMessages(g_gistogramOperationNames,
                                                     static_cast<int32_t>(std::size(g_gistogramOperationNames)))))
            throw 241;
        AddOperationTable(&m_gistogram_messages);
        CheckSize();
        Layout();
    }
    CATCH_ALL_RETHROW()
}

// The window goes first, so that no handler runs on the members while they go.
GistogramObjectUserInterface2::~GistogramObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

void GistogramObjectUserInterface2::FillDefaultProperties()
{
    for (uint32_t i = 0; i < PropertyCount; ++i)
        SetTyped(m_properties.GetElement(i), g_propertyDefaults[i]);
}

// ---- public operations ----

HRESULT GistogramObjectUserInterface2::UpdateData(uint32_t operation, FloatListUserInterface2* values, uint32_t flag)
{
    InfoMessageForXXXUpdateData record;
    record.m_operation = operation;
    record.m_values = values;
    record.m_flag = flag;
    return SendOperation(m_gistogram_messages, OperationUpdateData, reinterpret_cast<WPARAM>(&record), 0,
                         "InfoMessageForXXXUpdateData");
}

HRESULT GistogramObjectUserInterface2::UpdateInternalValue(const InfoTypedValueUserInterface2* value, int32_t index)
{
    InfoMessageForXXXUpdateInternalValue record;
    record.m_value = value;
    record.m_index = index;
    return SendOperation(m_gistogram_messages, OperationUpdateInternalValue, reinterpret_cast<WPARAM>(&record), 0,
                         "InfoMessageForXXXUpdateInternalValue");
}

HRESULT GistogramObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam,
                                                               LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    try {
        const int32_t index = m_gistogram_messages.GetIndexFromMessage(message);
        if (index < 0)
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        *handled = true;
        switch (index) {
        case OperationUpdateData: {
            const auto* record = reinterpret_cast<const InfoMessageForXXXUpdateData*>(wParam);
            if (record == nullptr)
                return E_INVALIDARG;
            return UpdateDataReal(record->m_operation, record->m_values, record->m_flag);
        }
        case OperationUpdateInternalValue: {
            const auto* record = reinterpret_cast<const InfoMessageForXXXUpdateInternalValue*>(wParam);
            if (record == nullptr)
                return E_INVALIDARG;
            return UpdateInternalValueReal(record->m_value, record->m_index);
        }
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::UpdateDataReal(uint32_t operation, FloatListUserInterface2* values,
                                                      uint32_t flag)
{
    try {
        if (values == nullptr || values->GetCount() == 0 || flag == 0)
            return E_UNEXPECTED;
        const uint32_t count = std::min(values->GetCount(), m_values.GetElement(0).GetCount());
        const uint32_t selector = operation & 0xFF00;
        FloatListUserInterface2* chosen = selector == DataArray0   ? &m_values.GetElement(0)
                                          : selector == DataArray1 ? &m_values.GetElement(1)
                                                                   : nullptr;
        switch (operation & 0xFF) {
        case DataSet:
            for (uint32_t i = 0; chosen != nullptr && i < count; ++i)
                chosen->GetElement(i) = values->GetElement(i);
            return Layout();
        case DataGet:
            for (uint32_t i = 0; chosen != nullptr && i < count; ++i)
                values->GetElement(i) = chosen->GetElement(i);
            return S_OK;
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::UpdateInternalValueReal(const InfoTypedValueUserInterface2* value,
                                                               int32_t index)
{
    try {
        LOG_TEXT("GistogramObjectUserInterface2::UpdateInternalValueReal::begin");
        if (value == nullptr)
            return E_INVALIDARG;
        InfoTypedValueUserInterface2& stored = m_properties.GetElement(static_cast<uint32_t>(index));
        const bool changed = !(stored == *value);
        stored = *value;
        bool rebuild = false;
        HRESULT result = S_OK;
        switch (index) {
        case PropEditable:
            MarkAllBars();
            break;
        case PropValueCount:
            for (uint32_t i = 0; i < 2; ++i)
                result = ResizeValues(m_values.GetElement(i), static_cast<uint32_t>(std::max(PropInt(index), 0)));
            rebuild = changed;
            break;
        case PropShownShare: {
            const float share = value->m_type == Typed::TypeFloat ? value->m_value.m_float
                                                                  : static_cast<float>(value->m_value.m_int);
            stored.SetFloat(std::clamp(std::isnan(share) ? MinimumShownShare : share, MinimumShownShare,
                                       MaximumShownShare));
            rebuild = changed;
            break;
        }
        default:
            rebuild = changed && index < static_cast<int32_t>(PropSegments);
            break;
        }
        CheckSize();
        if (FAILED(result) || !rebuild)
            return result;
        Layout();
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- layout ----

HRESULT GistogramObjectUserInterface2::CheckSize()
{
    const bool drawable = SlotPitch() <= m_width && PropInt(PropMinimumBarWidth) > 0 && m_width > 0 && m_height > 0;
    m_cycle_suspended = drawable ? 0 : 1;
    return drawable ? S_OK : S_FALSE;
}

HRESULT GistogramObjectUserInterface2::Resample(const FloatListUserInterface2& source,
                                                FloatListUserInterface2& destination, uint32_t flags)
{
    const uint32_t s = source.GetCount(), d = destination.GetCount();
    if (s == 0 || d == 0)
        return S_FALSE;
    if (s == d) {
        for (uint32_t i = 0; i < d; ++i)
            destination.GetElement(i) = source.GetElement(i);
        return S_FALSE;
    }
    const float ratio = static_cast<float>(s) / static_cast<float>(d);
    if (ratio > 1.0f) {
        const float inverse = 1.0f / ratio;
        destination.Fill(0.0f);
        uint32_t current = 0, members = 0;
        for (uint32_t j = 0; j < s; ++j) {
            const uint32_t i = std::min(static_cast<uint32_t>(std::trunc(static_cast<float>(j) * inverse)), d - 1);
            if (i != current) {
                if ((flags & ResampleAverage) != 0 && members > 0)
                    destination.GetElement(current) /= static_cast<float>(members);
                current = i;
                members = 0;
            }
            destination.GetElement(i) += source.GetElement(j);
            ++members;
        }
        if ((flags & ResampleAverage) != 0 && members > 0)
            destination.GetElement(current) /= static_cast<float>(members);
        return S_OK;
    }
    for (uint32_t i = 0; i < d; ++i)
        destination.GetElement(i) =
            source.GetElement(std::min(static_cast<uint32_t>(std::trunc(static_cast<float>(i) * ratio)), s - 1));
    return S_OK;
}

// A slot of no pixels or no values makes no bars, and nothing is divided by them.
HRESULT GistogramObjectUserInterface2::Layout()
{
    const uint32_t valueCount = m_values.GetElement(0).GetCount();
    const int32_t pitch = SlotPitch();
    const uint32_t width = static_cast<uint32_t>(std::max(m_width, 0));
    const uint32_t height = static_cast<uint32_t>(std::max(m_height, 0));
    m_barCount = pitch > 0 ? width / static_cast<uint32_t>(pitch) : 0;
    if (m_barCount < valueCount) {
        for (uint32_t i = 0; i < 2; ++i)
            ResizeValues(m_shownValues.GetElement(i), m_barCount);
        Resample(m_values.GetElement(0), m_shownValues.GetElement(0), 0);
        Resample(m_values.GetElement(1), m_shownValues.GetElement(1), ResampleAverage);
        for (uint32_t i = 0; i < 2; ++i)
            m_barSource.GetElement(i) = &m_shownValues.GetElement(i);
    } else {
        m_barCount = valueCount;
        for (uint32_t i = 0; i < 2; ++i)
            m_barSource.GetElement(i) = &m_values.GetElement(i);
    }
    m_slotWidth = m_barCount > 0 ? width / m_barCount : width;
    const uint32_t gaps = 2 * static_cast<uint32_t>(std::max(PropInt(PropGap), 0));
    m_barWidth = m_slotWidth > gaps ? m_slotWidth - gaps : 0;
    m_leftOffset = width - m_slotWidth * m_barCount;
    const uint32_t margins = 2 * static_cast<uint32_t>(std::max(PropInt(PropMargin), 0));
    // A widget no taller than its margins has no room for bars.
    m_usableHeight = height > margins ? height - margins : 0;
    const FloatListUserInterface2& shown0 = *m_barSource.GetElement(0);
    const FloatListUserInterface2& shown1 = *m_barSource.GetElement(1);
    const uint32_t old = m_barChanged.GetCount();
    if (FAILED(m_barChanged.SetSize(shown0.GetCount())) || FAILED(m_barLevel0.SetSize(shown0.GetCount())) ||
        FAILED(m_barLevel1.SetSize(shown0.GetCount())))
        return E_FAIL;
    for (uint32_t i = old; i < m_barChanged.GetCount(); ++i) {
        m_barChanged.GetElement(i) = 1;
        m_barLevel0.GetElement(i) = 0;
        m_barLevel1.GetElement(i) = 0;
    }
    for (uint32_t i = 0; i < m_barChanged.GetCount(); ++i) {
        const uint32_t level0 = LevelOf(m_usableHeight, shown0.GetElement(i));
        const uint32_t level1 = i < shown1.GetCount() ? LevelOf(m_usableHeight, 1.0f - shown1.GetElement(i)) : 0;
        if (level0 != m_barLevel0.GetElement(i) || level1 != m_barLevel1.GetElement(i))
            m_barChanged.GetElement(i) = 1;
        m_barLevel0.GetElement(i) = level0;
        m_barLevel1.GetElement(i) = level1;
    }
    const uint32_t last = m_barChanged.GetCount() - 1;
    m_drawIndex = std::min(m_drawIndex, last);
    m_selectedIndex = std::min(m_selectedIndex, last);
    return S_OK;
}

HRESULT GistogramObjectUserInterface2::SizeBuffers()
{
    HRESULT result = S_OK;
    const int32_t slot = static_cast<int32_t>(m_slotWidth);
    for (int32_t index : {0, 1, 2, 3, 10, 11, 4, 5, 6, 7, 8, 9, 12})
        result = m_array_general_buffers.GetElement(index).ResizeBuffer(slot, m_height);
    if (SUCCEEDED(result))
        result = m_array_general_buffers.GetElement(40).ResizeBuffer(m_width, m_height);
    for (int32_t index = 20; SUCCEEDED(result) && index <= 26; ++index)
        result = m_array_general_buffers.GetElement(index).ResizeBuffer(slot, 2 * PropInt(PropMargin));
    return result;
}

// The picture is not drawn while the layout is being made; a widget of no area stays undrawn.
HRESULT GistogramObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        m_rebuild_in_progress = 1;
        m_fullRedraw = 1;
        Layout();
        const HRESULT sized = SizeBuffers();
        CheckSize();
        MarkAllBars();
        if (m_width > 0 && m_height > 0)
            m_rebuild_in_progress = 0;
        return FAILED(sized) ? sized : S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return RebuildObject();
}

HRESULT GistogramObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        if (m_property_tables.GetElement(0).GetCount() == 0 || m_property_changed.GetElement(0).GetCount() == 0 ||
            m_property_counts.GetElement(0) < 1)
            return E_UNEXPECTED;
        return OnSizeWindow(m_window, 0, 0, 0);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// New colours reach every bar, not only the ones that change next.
HRESULT GistogramObjectUserInterface2::SetChangedAllBuffers()
{
    try {
        m_fullRedraw = 1;
        MarkAllBars();
        return BaseUserInterface::SetChangedAllBuffers();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

int32_t GistogramObjectUserInterface2::GetIndexElementFromPoint(int32_t, int32_t)
{
    return -1;
}

void GistogramObjectUserInterface2::MarkBar(uint32_t index)
{
    if (index < m_barChanged.GetCount())
        m_barChanged.GetElement(index) = 1;
}

void GistogramObjectUserInterface2::MarkAllBars()
{
    m_barChanged.Fill(1);
}

// ---- editing ----

uint32_t GistogramObjectUserInterface2::BarFromX(int32_t x) const
{
    if (x < static_cast<int32_t>(m_leftOffset) || m_slotWidth == 0)
        return NoBar;
    return (static_cast<uint32_t>(x) - m_leftOffset) / m_slotWidth;
}

HRESULT GistogramObjectUserInterface2::SynchroniseCurve()
{
    if (m_barSource.GetElement(1) == &m_shownValues.GetElement(1))
        return Resample(m_shownValues.GetElement(1), m_values.GetElement(1), ResampleAverage);
    return Resample(m_values.GetElement(1), m_shownValues.GetElement(1), ResampleAverage);
}

void GistogramObjectUserInterface2::NotifyEdit()
{
    HWND receiver = m_related_windows.GetElement(1);
    if (m_control_id == 0 || FAILED(CheckIsWindow(receiver)))
        return;
    PostMessageA(receiver, WM_COMMAND, static_cast<WPARAM>(m_control_id & 0xFFFF),
                 static_cast<LPARAM>(static_cast<int32_t>(m_hoverIndex)));
}

// A widget of no usable height has no levels to drag to.
HRESULT GistogramObjectUserInterface2::DragLevel(uint32_t bar, int32_t y)
{
    if (m_usableHeight == 0)
        return S_FALSE;
    const int32_t margin = PropInt(PropMargin);
    const uint32_t level = static_cast<uint32_t>(std::clamp<int64_t>(static_cast<int64_t>(y) - margin, 0,
                                                                     static_cast<int64_t>(m_usableHeight)));
    if (level == m_barLevel1.GetElement(bar))
        return S_FALSE;
    m_barSource.GetElement(1)->GetElement(bar) =
        Clamp01(1.0f - static_cast<float>(level) / static_cast<float>(m_usableHeight));
    SynchroniseCurve();
    m_barLevel1.GetElement(bar) = level;
    MarkBar(bar);
    NotifyEdit();
    return S_OK;
}

HRESULT GistogramObjectUserInterface2::RotateCurve(int32_t delta)
{
    FloatListUserInterface2& curve = m_values.GetElement(1);
    const uint32_t count = curve.GetCount();
    if (count == 0 || m_barCount == 0)
        return S_FALSE;
    const float perBar = static_cast<float>(count) / static_cast<float>(m_barCount);
    const int64_t amount = static_cast<int64_t>(std::trunc(static_cast<float>(delta) * perBar));
    const uint32_t shift = static_cast<uint32_t>(((amount % count) + count) % count);
    if (shift != 0) {
        const FloatListUserInterface2 before(curve);
        for (uint32_t i = 0; i < count; ++i)
            curve.GetElement((i + shift) % count) = before.GetElement(i);
    }
    m_selectedIndex = m_hoverIndex;
    const HRESULT laid = Layout();
    NotifyEdit();
    return laid;
}

HRESULT GistogramObjectUserInterface2::OnMouseHoverLeave(HWND, UINT message, WPARAM, LPARAM, uint64_t)
{
    try {
        if (!IsBar(m_hoverIndex))
            return S_OK;
        switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            if (m_onMarker != 0) {
                MarkBar(m_hoverIndex);
                m_buttonDown = message == WM_LBUTTONDOWN && Editable() ? 1 : 0;
            }
            // A release anywhere ends a drag.
            if (message == WM_LBUTTONUP)
                m_buttonDown = 0;
            if (message == WM_LBUTTONDOWN && Editable()) {
                MarkBar(m_selectedIndex);
                MarkBar(m_hoverIndex);
                m_selectedIndex = m_hoverIndex;
            }
            return S_OK;
        case WM_MOUSELEAVE:
            MarkBar(m_hoverIndex);
            m_hoverIndex = NoBar;
            m_onMarker = 0;
            m_buttonDown = 0;
            return S_OK;
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                     uint64_t time, bool)
{
    return OnMouseHoverLeave(window, message, wParam, lParam, time);
}

HRESULT GistogramObjectUserInterface2::OnMouseMove(HWND, WPARAM, LPARAM lParam, uint64_t)
{
    try {
        const int32_t x = GET_X_LPARAM(lParam), y = GET_Y_LPARAM(lParam);
        const uint32_t bar = BarFromX(x);
        const uint32_t previous = m_hoverIndex;
        m_onMarker = 0;
        if (IsBar(bar)) {
            MarkBar(bar);
            MarkBar(previous);
            const int32_t margin = PropInt(PropMargin);
            const int32_t markerRow = static_cast<int32_t>(m_barLevel1.GetElement(bar)) + margin;
            m_onMarker = y >= std::max(markerRow - margin, 0) && y <= markerRow + margin ? 1 : 0;
        }
        const bool same = bar == previous;
        m_hoverIndex = bar;
        if (!Editable() || m_buttonDown == 0 || !IsBar(bar))
            return S_OK;
        if (same)
            return DragLevel(bar, y);
        if (!IsBar(previous))
            return S_OK;
        return RotateCurve(static_cast<int32_t>(bar) - static_cast<int32_t>(previous));
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::KeyLevel(uint32_t key)
{
    FloatListUserInterface2* curve = m_barSource.GetElement(1);
    if (!IsBar(m_selectedIndex) || curve == nullptr || m_selectedIndex >= curve->GetCount())
        return S_FALSE;
    const float old = curve->GetElement(m_selectedIndex);
    const float step = PropFloat(PropKeyStep);
    const float wanted = key == VK_PRIOR ? 1.0f : key == VK_NEXT ? 0.0f : key == VK_UP ? old + step : old - step;
    const float value = Clamp01(wanted);
    if (value == old)
        return S_OK;
    curve->GetElement(m_selectedIndex) = value;
    m_barLevel1.GetElement(m_selectedIndex) = LevelOf(m_usableHeight, 1.0f - value);
    MarkBar(m_selectedIndex);
    SynchroniseCurve();
    NotifyEdit();
    return S_OK;
}

// Only key presses edit: a typed character carries no key code.
HRESULT GistogramObjectUserInterface2::OnKeyMessage(UINT message, HWND, WPARAM wParam, LPARAM)
{
    try {
        if (message != WM_KEYDOWN || m_barCount == 0)
            return S_FALSE;
        const uint32_t key = static_cast<uint32_t>(wParam);
        switch (key) {
        case VK_RETURN:
            return S_OK;
        case VK_LEFT:
        case VK_RIGHT: {
            if (!IsBar(m_selectedIndex) || !Editable())
                return S_OK;
            const uint32_t next = key == VK_LEFT ? (m_selectedIndex > 0 ? m_selectedIndex - 1 : 0)
                                                 : std::min(m_selectedIndex + 1, m_barCount - 1);
            if (next != m_selectedIndex) {
                MarkBar(m_selectedIndex);
                MarkBar(next);
                m_selectedIndex = next;
            }
            return S_OK;
        }
        case VK_PRIOR:
        case VK_NEXT:
        case VK_UP:
        case VK_DOWN:
            if (!Editable())
                return S_OK;
            return KeyLevel(key);
        default:
            return S_FALSE;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GistogramObjectUserInterface2::OnSetFocus(HWND, WPARAM, LPARAM)
{
    if (IsBar(m_selectedIndex) && Editable())
        MarkBar(m_selectedIndex);
    return S_OK;
}

HRESULT GistogramObjectUserInterface2::OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam)
{
    return OnSetFocus(window, wParam, lParam);
}
