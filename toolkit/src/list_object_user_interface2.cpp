// The list widget's model: header, rows, layout, indices, scroll-bar need and its operations.
#include "ListObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <cstdint>
#include <cmath>
#include <iterator>

namespace {

const char* const g_listOperationNames[] = {
    "GMU_UpdateHeaderInfo_ComplexListUserInterface2,   D.U.R.M.I.X.,15.08.2006::12.00.00",
    "GMU_UpdateElementsList_ComplexListUserInterface2, D.U.R.M.I.X.,04.10.2006::00.00.00",
    "GMU_UpdateIndexFromType_ComplexListUserInterface2,D.U.R.M.I.X.,09.10.2006::12.00.00",
};

const char* const g_notificationNames[ListNotificationCount] = {
    "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeSelectElement",
    "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeStateElement",
    "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeFirstVisibleElement",
    "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflChangeFocusStateListObject",
    "OJV::Harbury2006::UserInterface2::ListWindow::ExternMessage::otemflSendMessageFromButton",
    "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflBeginEditElement",
    "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflEndEditElement",
    "OJV::Harbury2007::UserInterface2::ListWindow::ExternMessage::otemflDoubleClickMessage",
    "OJV::Eastmarch2007::UserInterface2::ListWindow::ExternMessage::otemflWM_CHARMessage",
};

const char g_listWindowClass[] = "OJV::UserInterface2::ListObjectUserInterface2::24.10.2006";

enum ListOperation : uint32_t
{
    OperationUpdateHeaderInfo = 0,
    OperationUpdateElementsList = 1,
    OperationUpdateIndexFromType = 2,
};

constexpr uint32_t ListTimerPeriod = 50;
constexpr int32_t MinimumPixels = 5;
constexpr float MinimumColumnShare = 0.01f;
constexpr int32_t MaxImageIndex = 15;

struct PropertyDefault
{
    uint32_t m_index;
    float m_value;
};

constexpr PropertyDefault g_floatDefaults[] = {
    {8, 20.0f},  {9, 40.0f},  {10, 20.0f}, {11, 20.0f}, {14, 40.0f}, {15, 2.0f},  {16, 2.0f},  {17, 2.0f},
    {22, 40.0f}, {26, 1.0f},  {27, 0.0f},  {28, 3.0f},  {29, 5.0f},  {30, 2.0f},  {31, 3.0f},  {33, 2.0f},
    {34, 13.0f}, {35, 13.0f}, {36, 13.0f}, {37, 0.0f},  {50, 2.0f},  {51, 2.0f},  {52, 2.0f},  {54, 1.0f},
    {55, 1.0f},
};
constexpr uint32_t g_trueDefaults[] = {12, 13, 20, 21, 32, 53, 58};
constexpr uint32_t g_textDefaults[] = {48, 49, 59, 68, 69, 70, 71, 72, 73};
constexpr uint32_t FirstCellImageProperty = 74;
constexpr uint32_t CellImageCount = 16;
constexpr uint32_t FirstCellImageBuffer = 182;

// Skin pictures: the property holding the file name and the general buffer it is loaded into.
struct SkinPlace
{
    uint32_t m_property;
    uint32_t m_buffer;
};
constexpr SkinPlace g_skins[] = {{68, 0}, {69, 1}, {70, 2}, {71, 3}, {48, 77}, {49, 78}, {59, 96}};

int32_t ClampImageIndex(int32_t index)
{
    return index == -1 ? -1 : std::clamp(index, 0, MaxImageIndex);
}

int32_t ClampRow(int32_t row, int32_t rowCount)
{
    return rowCount < 1 ? 0 : std::clamp(row, 0, rowCount - 1);
}

// One entry of the default property set.
struct DefaultSetting
{
    uint32_t m_slot;
    uint32_t m_index;
    int32_t m_type;
    float m_number;
    const char* m_text;
};

using Typed = InfoTypedValueUserInterface2;
constexpr DefaultSetting g_defaultSettings[] = {
    {0, 8, Typed::TypeFloat, 25.0f, nullptr},
    {1, 9, Typed::TypeFloat, 30.0f, nullptr},
    {2, 10, Typed::TypeFloat, 35.0f, nullptr},
    {3, 11, Typed::TypeFloat, 30.0f, nullptr},
    {4, 12, Typed::TypeBool, 1.0f, nullptr},
    {5, 13, Typed::TypeBool, 1.0f, nullptr},
    {11, 15, Typed::TypeFloat, 2.0f, nullptr},
    {12, 16, Typed::TypeFloat, 2.0f, nullptr},
    {13, 17, Typed::TypeFloat, 2.0f, nullptr},
    {17, 20, Typed::TypeBool, 1.0f, nullptr},
    {18, 21, Typed::TypeBool, 1.0f, nullptr},
    {19, 22, Typed::TypeFloat, 25.0f, nullptr},
    {23, 26, Typed::TypeFloat, 0.0f, nullptr},
    {24, 27, Typed::TypeFloat, 0.0f, nullptr},
    {25, 28, Typed::TypeFloat, 4.0f, nullptr},
    {26, 29, Typed::TypeFloat, 4.0f, nullptr},
    {27, 32, Typed::TypeBool, 1.0f, nullptr},
    {28, 33, Typed::TypeFloat, 2.0f, nullptr},
    {29, 34, Typed::TypeFloat, 3.0f, nullptr},
    {30, 35, Typed::TypeFloat, 0.0f, nullptr},
    {31, 36, Typed::TypeFloat, 3.0f, nullptr},
    {32, 74, Typed::TypeText, 0.0f, "ListObjectDefault_Forground1.bmp"},
    {33, 75, Typed::TypeText, 0.0f, "ListObjectDefault_Forground2.bmp"},
    {37, 37, Typed::TypeFloat, 15.0f, nullptr},
    {38, 14, Typed::TypeFloat, 35.0f, nullptr},
    {39, 48, Typed::TypeText, 0.0f, "ListObjectDefault_UpKey.bmp"},
    {40, 49, Typed::TypeText, 0.0f, "ListObjectDefault_DownKey.bmp"},
    {41, 53, Typed::TypeBool, 1.0f, nullptr},
    {42, 50, Typed::TypeFloat, 1.0f, nullptr},
    {43, 52, Typed::TypeFloat, 3.0f, nullptr},
    {44, 58, Typed::TypeBool, 0.0f, nullptr},
    {45, 7, Typed::TypeInt, 4.0f, nullptr},
    {46, 72, Typed::TypeText, 0.0f, "ListObjectDefault_ScrollbarStencilPressedSlider.bmp"},
    {47, 73, Typed::TypeText, 0.0f, "ListObjectDefault_ScrollbarStencilPressedSlider.bmp"},
    {48, 54, Typed::TypeFloat, 5.0f, nullptr},
    {49, 55, Typed::TypeFloat, 8.0f, nullptr},
    {50, 59, Typed::TypeText, 0.0f, "ListObjectDefault_SliderScrollbar.bmp"},
    {51, 30, Typed::TypeFloat, 3.0f, nullptr},
    {52, 31, Typed::TypeFloat, 2.0f, nullptr},
};

void SetDefaultValue(const DefaultSetting& setting, InfoTypedValueUserInterface2& value)
{
    switch (setting.m_type) {
    case Typed::TypeBool:
        value.SetBool(setting.m_number != 0.0f);
        break;
    case Typed::TypeInt:
        value.SetInt(static_cast<int32_t>(setting.m_number));
        break;
    case Typed::TypeText:
        value.SetText(setting.m_text);
        break;
    default:
        value.SetFloat(setting.m_number);
        break;
    }
}

} // namespace

HRESULT FillDefaultPropertyListObject(TypedValueListUserInterface2* values, IndexListUserInterface2* indexes)
{
    try {
        if (values == nullptr || indexes == nullptr)
            return E_INVALIDARG;
        if (FAILED(values->Init(DefaultPropertyCountListUserInterface2, 0)) ||
            FAILED(indexes->Init(DefaultPropertyCountListUserInterface2, 0)))
            return E_FAIL;
        indexes->Fill(-1);
        for (const DefaultSetting& setting : g_defaultSettings) {
            indexes->GetElement(setting.m_slot) = static_cast<int32_t>(setting.m_index);
            SetDefaultValue(setting, values->GetElement(setting.m_slot));
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT GetListWindowExternMessages(DynamicBoundsObject<UINT>* ids)
{
    try {
        if (ids == nullptr)
            return E_INVALIDARG;
        if (FAILED(ids->Init(ListNotificationCount, 0)))
            return E_FAIL;
        for (uint32_t i = 0; i < ListNotificationCount; ++i)
            ids->GetElement(i) = RegisterWindowMessageA(g_notificationNames[i]);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

ListObjectUserInterface2::ListObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count,
                                                   uint32_t styleFlags, const char* objectName, HINSTANCE module,
                                                   uint32_t controlId)
    : BaseUserInterface(elements, count, styleFlags | StyleDoubleClicks, objectName, module, controlId,
                        ListTimerPeriod)
{
    try {
        m_window_class_name = g_listWindowClass;
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        for (const PropertyDefault& entry : g_floatDefaults)
            table.GetElement(entry.m_index).SetFloat(entry.m_value);
        for (uint32_t index : g_trueDefaults)
            table.GetElement(index).SetBool(true);
        for (uint32_t index : g_textDefaults)
            table.GetElement(index).SetText("");
        for (uint32_t i = 0; i < CellImageCount; ++i)
            table.GetElement(FirstCellImageProperty + i).SetText("");
        InfoHeaderColumnUserInterface2& first = m_header.GetElement(0);
        first.m_enabled = 1;
        first.m_width = 1.0f;
        m_column_values.Fill(16);
        m_column_pixels.Fill(16);
        if (FAILED(m_rows.Init(0, 256)) ||
            FAILED(m_list_messages.InitMessages(g_listOperationNames,
                                                static_cast<int32_t>(std::size(g_listOperationNames)))) ||
            FAILED(GetListWindowExternMessages(&m_notifications)))
            throw 240;
        AddOperationTable(&m_list_messages);
        MakeFonts();
    }
    CATCH_ALL_RETHROW()
}

// The window goes first, so that no handler of the list runs on its members while they go.
ListObjectUserInterface2::~ListObjectUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

// ---- properties and sizes ----

float ListObjectUserInterface2::PropertyFloat(uint32_t index) const
{
    return m_property_tables.GetElement(0).GetElement(index).m_value.m_float;
}

int32_t ListObjectUserInterface2::PropertyPixels(uint32_t index) const
{
    const float value = PropertyFloat(index);
    return std::isfinite(value) ? static_cast<int32_t>(std::clamp(value, 0.0f, 65535.0f)) : 0;
}

bool ListObjectUserInterface2::PropertyBool(uint32_t index) const
{
    return m_property_tables.GetElement(0).GetElement(index).m_value.m_bool;
}

int32_t ListObjectUserInterface2::HeaderHeight() const
{
    return PropertyBool(PropHeaderShown) ? PropertyPixels(PropHeaderHeight) : 0;
}

int32_t ListObjectUserInterface2::RowHeight() const
{
    return std::max(PropertyPixels(PropRowHeight), 1);
}

bool ListObjectUserInterface2::IsScrollBarActive() const
{
    return PropertyBool(PropScrollBarEnabled) && m_scroll_needed != 0;
}

int32_t ListObjectUserInterface2::ScrollBarWidth() const
{
    return IsScrollBarActive() ? PropertyPixels(PropScrollBarWidth) : 0;
}

// ---- public operations ----

HRESULT ListObjectUserInterface2::UpdateHeaderInfo(const HeaderListUserInterface2* columns)
{
    InfoMessageForXXXUpdateHeaderInfo record;
    record.m_columns = columns;
    return SendOperation(m_list_messages, OperationUpdateHeaderInfo, reinterpret_cast<WPARAM>(&record), 0,
                         "ListObjectUserInterface2::UpdateHeaderInfo");
}

HRESULT ListObjectUserInterface2::UpdateElementsList(int32_t code, int32_t first, int32_t count,
                                                     RowListUserInterface2* rows)
{
    if (count == 0)
        return S_FALSE;
    if (rows != nullptr && count > 0 && rows->GetCount() < static_cast<uint32_t>(count))
        throw 241;
    InfoMessageForXXXUpdateElementsList record;
    record.m_code = code;
    record.m_first = first;
    record.m_count = count;
    record.m_rows = rows;
    return SendOperation(m_list_messages, OperationUpdateElementsList, reinterpret_cast<WPARAM>(&record), 0,
                         "ListObjectUserInterface2::UpdateElementsList");
}

HRESULT ListObjectUserInterface2::UpdateIndexFromType(uint32_t type, int32_t* value)
{
    return SendOperation(m_list_messages, OperationUpdateIndexFromType, type, reinterpret_cast<LPARAM>(value),
                         "ListObjectUserInterface2::UpdateIndexFromType");
}

HRESULT ListObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                          bool* handled)
{
    if (handled == nullptr)
        return E_INVALIDARG;
    *handled = false;
    try {
        switch (m_list_messages.GetIndexFromMessage(message)) {
        case OperationUpdateHeaderInfo: {
            const auto* record = reinterpret_cast<const InfoMessageForXXXUpdateHeaderInfo*>(wParam);
            return UpdateHeaderInfoReal(record != nullptr ? record->m_columns : nullptr);
        }
        case OperationUpdateElementsList: {
            const auto* record = reinterpret_cast<const InfoMessageForXXXUpdateElementsList*>(wParam);
            if (record == nullptr)
                return E_INVALIDARG;
            return UpdateElementsListReal(record->m_code, record->m_first, record->m_count, record->m_rows);
        }
        case OperationUpdateIndexFromType:
            return UpdateIndexFromTypeReal(static_cast<uint32_t>(wParam), reinterpret_cast<int32_t*>(lParam));
        default:
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- header ----

HRESULT ListObjectUserInterface2::UpdateHeaderInfoReal(const HeaderListUserInterface2* columns)
{
    try {
        LOG_TEXT("ListObjectUserInterface2::UpdateHeaderInfoReal::begin");
        if (columns == nullptr || columns->GetCount() > ColumnCountListUserInterface2)
            return E_UNEXPECTED;
        for (uint32_t i = 0; i < columns->GetCount(); ++i) {
            InfoHeaderColumnUserInterface2& column = m_header.GetElement(i);
            column = columns->GetElement(i);
            // A NaN width fails the comparison and is raised too.
            if (column.m_enabled != 0 && !(column.m_width >= MinimumColumnShare))
                column.m_width = MinimumColumnShare;
        }
        bool anyEnabled = false;
        for (uint32_t i = 0; i < ColumnCountListUserInterface2; ++i)
            anyEnabled = anyEnabled || m_header.GetElement(i).m_enabled != 0;
        if (!anyEnabled) {
            m_header.GetElement(0).m_enabled = 1;
            m_header.GetElement(0).m_width = 1.0f;
        }
        const HRESULT result = RebuildObject();
        LOG_TEXT("ListObjectUserInterface2::UpdateHeaderInfoReal::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- rows ----

HRESULT ListObjectUserInterface2::UpdateElementsListReal(int32_t code, int32_t first, int32_t count,
                                                         RowListUserInterface2* rows)
{
    try {
        if (code == CodeRead) {
            if (rows == nullptr || first < 0)
                throw 240;
            const auto end = static_cast<int32_t>(std::min<int64_t>(int64_t{first} + count, RowCount()));
            for (int32_t row = first; row < end; ++row)
                rows->GetElement(static_cast<uint32_t>(row - first)) = m_rows.GetElement(static_cast<uint32_t>(row));
            return S_OK;
        }
        m_changed_first = -1;
        m_changed_last = -1;
        switch (code) {
        case CodeInsert:
        case CodeReplace:
            if (count < 1 || rows == nullptr || rows->GetCount() < static_cast<uint32_t>(count))
                throw 241;
            if (code == CodeInsert)
                InsertRows(first, count, *rows);
            else
                ReplaceRows(first, count, *rows);
            break;
        case CodeDelete:
            if (DeleteRows(first, count) != S_OK)
                return S_FALSE;
            break;
        default:
            return S_OK;
        }
        ClampIndicesAndNotify();
        CheckScrollBarNeed(true);
        if (m_changed_first >= 0) {
            const auto lines = static_cast<int32_t>(m_lines.GetCount());
            if (m_changed_first >= lines)
                throw 243;
            if (m_changed_last >= lines)
                throw 244;
            for (int32_t line = m_changed_first; line <= m_changed_last; ++line)
                MarkLineChanged(line);
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ListObjectUserInterface2::CopyRowIn(int32_t row, const InfoRowListUserInterface2& source)
{
    InfoRowListUserInterface2& target = m_rows.GetElement(static_cast<uint32_t>(row));
    target = source;
    for (uint32_t c = 0; c < ColumnCountListUserInterface2; ++c)
        for (uint32_t i = 0; i < 2; ++i) {
            int32_t& image = target.m_cells.GetElement(c).m_images.GetElement(i);
            image = ClampImageIndex(image);
        }
}

void ListObjectUserInterface2::InsertRows(int32_t first, int32_t count, const RowListUserInterface2& rows)
{
    const int32_t oldCount = RowCount();
    if (first == -1)
        first = oldCount;
    if (first < 0 || first > oldCount)
        throw 241;
    if (FAILED(m_rows.SetSize(static_cast<uint32_t>(oldCount + count))))
        throw 240;
    for (int32_t row = oldCount - 1; row >= first; --row)
        m_rows.GetElement(static_cast<uint32_t>(row + count)) = m_rows.GetElement(static_cast<uint32_t>(row));
    for (int32_t i = 0; i < count; ++i)
        CopyRowIn(first + i, rows.GetElement(static_cast<uint32_t>(i)));
    if (m_first_visible > first)
        m_first_visible += count;
    if (m_selected > first)
        m_selected += count;
    const auto lines = static_cast<int32_t>(m_lines.GetCount());
    if (first >= m_first_visible && first < m_first_visible + lines) {
        m_changed_first = first - m_first_visible;
        m_changed_last = lines - 1;
    }
    m_redraw = 1;
}

void ListObjectUserInterface2::ReplaceRows(int32_t first, int32_t count, const RowListUserInterface2& rows)
{
    if (first < 0)
        throw 241;
    if (count > INT32_MAX - first)
        throw 242;
    if (first + count > RowCount() && FAILED(m_rows.SetSize(static_cast<uint32_t>(first + count))))
        throw 240;
    for (int32_t i = 0; i < count; ++i)
        CopyRowIn(first + i, rows.GetElement(static_cast<uint32_t>(i)));
    SetChangedRange(first, first + count);
}

// S_FALSE when there is nothing to delete.
HRESULT ListObjectUserInterface2::DeleteRows(int32_t first, int32_t count)
{
    const int32_t oldCount = RowCount();
    if (count == -1)
        count = oldCount - first;
    if (count < 1 && first >= 0)
        return S_FALSE;
    if (count < 1 || first < 0 || first >= oldCount)
        throw 241;
    if (count > oldCount - first)
        throw 242;
    for (int32_t row = first + count; row < oldCount; ++row)
        m_rows.GetElement(static_cast<uint32_t>(row - count)) = m_rows.GetElement(static_cast<uint32_t>(row));
    if (FAILED(m_rows.SetSize(static_cast<uint32_t>(oldCount - count))))
        throw 240;
    SetChangedRange(first, first + count);
    const auto moveUp = [first, count, this](int32_t& index) {
        if (index >= first)
            index -= std::min(index - first, count);
        index = ClampRow(index, RowCount());
    };
    moveUp(m_first_visible);
    moveUp(m_selected);
    m_redraw = 1;
    return S_OK;
}

// The lines of the page that rows [firstRow, endRow) occupy.
void ListObjectUserInterface2::SetChangedRange(int32_t firstRow, int32_t endRow)
{
    const auto lines = static_cast<int32_t>(m_lines.GetCount());
    const int32_t from = std::max(firstRow, m_first_visible);
    const int32_t to = std::min(endRow, m_first_visible + lines);
    if (from >= to)
        return;
    m_changed_first = from - m_first_visible;
    m_changed_last = to - 1 - m_first_visible;
}

// ---- indices ----

void ListObjectUserInterface2::ClampIndicesAndNotify()
{
    const int32_t rows = RowCount();
    const auto lines = static_cast<int32_t>(m_lines.GetCount());
    const int32_t previousSelected = m_selected;
    m_first_visible = ClampRow(std::min(m_first_visible, rows - lines), rows);
    m_selected = ClampRow(m_selected, rows);
    if (lines > 0 && (m_selected < m_first_visible || m_selected >= m_first_visible + lines))
        m_first_visible = std::max(m_selected - lines + 1, 0);
    if (m_hovered_line >= 0)
        m_hovered_line = std::clamp(m_hovered_line, 0, std::max(lines - 1, 0));
    if (m_pressed_line >= 0)
        m_pressed_line = std::clamp(m_pressed_line, 0, std::max(lines - 1, 0));
    if (m_selected != previousSelected)
        Notify(ListNotifySelection, m_selected);
}

HRESULT ListObjectUserInterface2::UpdateIndexFromTypeReal(uint32_t type, int32_t* value)
{
    try {
        const uint32_t action = type & 0xF0000;
        const uint32_t kind = type & 0xFFFF;
        if (value == nullptr || kind >= 16)
            return E_FAIL;
        if (action == ActionGet) {
            switch (kind) {
            case KindFirstVisible:
                *value = m_first_visible;
                break;
            case KindFocusedColumn:
                *value = m_focused_column;
                break;
            case KindSelected:
                *value = m_selected;
                break;
            case KindRowCount:
                *value = RowCount();
                break;
            default:
                *value = 0;
                break;
            }
            return S_OK;
        }
        if (action != ActionSet)
            return S_OK;
        if (RowCount() < 2)
            return S_FALSE;
        const int32_t row = ClampRow(*value, RowCount());
        if (m_lines.GetCount() == 0) {
            if (kind == KindFirstVisible)
                m_first_visible = row;
            else if (kind == KindSelected)
                m_selected = row;
            else if (kind == KindFocusedColumn)
                m_focused_column = std::min(row, static_cast<int32_t>(ColumnCountListUserInterface2) - 1);
            return S_OK;
        }
        switch (kind) {
        case KindFirstVisible:
            return SetFirstVisibleRow(row, false);
        case KindSelected:
            return SetSelectedRow(row, false);
        case KindFocusedColumn:
            m_focused_column = std::min(row, static_cast<int32_t>(ColumnCountListUserInterface2) - 1);
            MarkRowChanged(m_selected);
            return S_OK;
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// Only the lines that scroll in are marked: the picture of the part that stays is moved by the
// drawing, not made again.
HRESULT ListObjectUserInterface2::SetFirstVisibleRow(int32_t row, bool fromSelection)
{
    if (row == m_first_visible)
        return S_FALSE;
    const int32_t previous = m_first_visible;
    const auto lines = static_cast<int32_t>(m_lines.GetCount());
    const int32_t distance = row - previous;
    m_first_visible = row;
    if (std::abs(distance) < lines) {
        MoveLinePictures(distance);
        const int32_t from = distance > 0 ? lines - distance : 0;
        const int32_t to = distance > 0 ? lines : -distance;
        for (int32_t line = from; line < to; ++line)
            MarkLineChanged(line);
    }
    else {
        MarkAllLinesChanged();
    }
    if (!fromSelection && (m_selected < row || m_selected >= row + lines))
        SetSelectedRow(row, true);
    CheckScrollBarNeed(true);
    m_redraw = 1;
    Notify(ListNotifyFirstVisible, previous);
    return S_OK;
}

HRESULT ListObjectUserInterface2::SetSelectedRow(int32_t row, bool fromFirstVisible)
{
    const int32_t previous = m_selected;
    MarkRowChanged(previous);
    m_selected = row;
    MarkRowChanged(row);
    if (!fromFirstVisible) {
        const int32_t lastVisible = m_first_visible + static_cast<int32_t>(m_lines.GetCount()) - 1;
        if (row > lastVisible)
            SetFirstVisibleRow(m_first_visible + (row - lastVisible), true);
        else if (row < m_first_visible)
            SetFirstVisibleRow(row, true);
    }
    m_redraw = 1;
    if (row != previous)
        Notify(ListNotifySelection, row);
    return S_OK;
}

// ---- changes and notifications ----

void ListObjectUserInterface2::Notify(uint32_t index, LPARAM value)
{
    HWND receiver = m_related_windows.GetElement(1);
    const UINT message = index < m_notifications.GetCount() ? m_notifications.GetElement(index) : 0;
    if (message == 0 || m_control_id == 0 || FAILED(CheckIsWindow(receiver)))
        return;
    PostMessageA(receiver, message, m_control_id, value);
}

void ListObjectUserInterface2::MarkLineChanged(int32_t line)
{
    if (line < 0 || line >= static_cast<int32_t>(m_lines.GetCount()))
        return;
    m_lines.GetElement(static_cast<uint32_t>(line)).m_redraw = 1;
    m_redraw = 1;
    for (uint32_t i = 0; i < m_changed_picture_count; ++i)
        if (m_changed_picture_lines.GetElement(i) == line)
            return;
    m_changed_picture_lines.GetElement(m_changed_picture_count++) = line;
}

void ListObjectUserInterface2::MarkRowChanged(int32_t row)
{
    MarkLineChanged(row - m_first_visible);
}

void ListObjectUserInterface2::MarkAllLinesChanged()
{
    for (int32_t line = 0; line < static_cast<int32_t>(m_lines.GetCount()); ++line)
        MarkLineChanged(line);
}

// ---- layout ----

HRESULT ListObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return RebuildObject();
}

// Only pictures whose name changed are read again; the folder is the widget's text.
void ListObjectUserInterface2::LoadChangedSkins()
{
    const TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
    const DynamicBoundsObject<uint8_t>& changed = m_property_changed.GetElement(0);
    const auto load = [&](uint32_t property, uint32_t buffer) {
        const DynamicString& name = table.GetElement(property).m_value.m_text;
        if (changed.GetElement(property) == 0 || name.GetLenString() == 0)
            return;
        LoadBMPFileToGeneralBuffer(name.GetString(), m_text.GetString(), &m_array_general_buffers.GetElement(buffer));
    };
    for (const SkinPlace& skin : g_skins)
        load(skin.m_property, skin.m_buffer);
    for (uint32_t i = 0; i < CellImageCount; ++i)
        load(FirstCellImageProperty + i, FirstCellImageBuffer + i);
}

HRESULT ListObjectUserInterface2::OnGeneralInfoChanged()
{
    try {
        LoadChangedSkins();
        TypedValueListUserInterface2& table = m_property_tables.GetElement(0);
        const auto atLeast = [&table](uint32_t index, float minimum) {
            InfoTypedValueUserInterface2& entry = table.GetElement(index);
            if (!(entry.m_value.m_float >= minimum))
                entry.SetFloat(minimum);
        };
        for (uint32_t index : {PropScrollBarWidth, PropSliderLength, PropHeaderHeight, PropArrowLength, PropRowHeight})
            atLeast(index, static_cast<float>(MinimumPixels));
        InfoTypedValueUserInterface2& inner = table.GetElement(PropScrollInner);
        inner.SetFloat(std::min(inner.m_value.m_float, PropertyFloat(PropScrollBarWidth)));
        atLeast(PropScrollInner, static_cast<float>(MinimumPixels));
        ClearPropertyChangeFlags();
        return RebuildObject();
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::RebuildObject()
{
    try {
        BaseUserInterface::RebuildObject();
        const int32_t listHeight = std::max(m_height - HeaderHeight(), 0);
        const int32_t rowHeight = RowHeight();
        m_whole_lines = listHeight / rowHeight;
        m_rest_height = listHeight % rowHeight;
        const int32_t lines = m_whole_lines + (m_rest_height > 0 ? 1 : 0);
        if (FAILED(m_lines.Init(static_cast<uint32_t>(lines), 0)))
            return E_FAIL;
        m_lines.Fill(LineEntry{});
        if (m_rest_height > 0)
            m_lines.GetElement(static_cast<uint32_t>(lines - 1)).m_whole = 0;
        // One place per line, so that marking a line never allocates.
        m_changed_picture_count = 0;
        if (FAILED(m_changed_picture_lines.Init(static_cast<uint32_t>(lines), 0)))
            return E_FAIL;
        ClampIndicesAndNotify();
        CheckScrollBarNeed(false);
        ComputeColumnWidths();
        SizePictureBuffers();
        MarkAllLinesChanged();
        m_header_rebuild = 1;
        m_redraw = 1;
        m_rebuild_in_progress = m_width > 0 && m_height > 0 ? 0 : 1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ListObjectUserInterface2::CheckScrollBarNeed(bool relayout)
{
    const bool needed = static_cast<float>(m_height - PropertyPixels(PropHeaderHeight)) > PropertyFloat(PropSliderLength) &&
                        m_whole_lines >= 1 && (RowCount() > m_whole_lines || m_first_visible > 0);
    if (needed == (m_scroll_needed != 0))
        return;
    m_scroll_needed = needed ? 1 : 0;
    m_redraw = 1;
    if (relayout)
        RebuildObject();
}

void ListObjectUserInterface2::ComputeColumnWidths()
{
    int32_t pixelColumns = 0;
    float shares = 0.0f;
    int32_t lastEnabled = -1;
    for (uint32_t i = 0; i < ColumnCountListUserInterface2; ++i) {
        const InfoHeaderColumnUserInterface2& column = m_header.GetElement(i);
        if (column.m_enabled == 0)
            continue;
        lastEnabled = static_cast<int32_t>(i);
        if (column.m_width > 1.0f)
            pixelColumns += static_cast<int32_t>(column.m_width);
        else
            shares += column.m_width;
    }
    const int32_t freeWidth = std::max(m_width - pixelColumns - ScrollBarWidth(), 0);
    const int32_t widest = std::max(m_width, 1);
    int32_t sum = 0;
    for (uint32_t i = 0; i < ColumnCountListUserInterface2; ++i) {
        const InfoHeaderColumnUserInterface2& column = m_header.GetElement(i);
        int32_t& pixels = m_column_pixels.GetElement(i);
        if (column.m_enabled == 0) {
            pixels = 0;
            continue;
        }
        const float width = column.m_width > 1.0f ? column.m_width : freeWidth * column.m_width / shares;
        pixels = std::clamp(static_cast<int32_t>(width), 1, widest);
        if (static_cast<int32_t>(i) != lastEnabled)
            sum += pixels;
    }
    if (lastEnabled >= 0)
        m_column_pixels.GetElement(static_cast<uint32_t>(lastEnabled)) = std::max(m_width - sum, 1);
}

// ---- hit test ----

int32_t ListObjectUserInterface2::GetIndexElementFromPoint(int32_t, int32_t)
{
    return -1;
}

ListObjectUserInterface2::CellHit ListObjectUserInterface2::HitTest(int32_t x, int32_t y)
{
    CellHit hit;
    const auto lines = static_cast<int32_t>(m_lines.GetCount());
    if (RowCount() == 0 || lines == 0)
        return hit;
    const int32_t header = HeaderHeight();
    if (x < 0 || x > m_width - ScrollBarWidth() || y < header || y > m_height)
        return hit;
    const int32_t rowHeight = RowHeight();
    int32_t line = (y - header) / rowHeight;
    int32_t left = 0;
    for (uint32_t i = 0; i < ColumnCountListUserInterface2; ++i) {
        if (m_header.GetElement(i).m_enabled == 0)
            continue;
        const int32_t right = left + m_column_pixels.GetElement(i);
        if (right >= x) {
            hit.m_column = static_cast<int32_t>(i);
            m_click_offset_x = std::max(x - left, 0);
            break;
        }
        left = right;
    }
    if (line >= m_whole_lines)
        line = m_whole_lines - 1;
    const int32_t lastLine = RowCount() - 1 - m_first_visible;
    if (line > lastLine)
        line = lastLine;
    if (line < 0) {
        hit.m_column = -1;
        return hit;
    }
    m_click_offset_y = std::max(y - header - line * rowHeight, 0);
    hit.m_line = line;
    return hit;
}
