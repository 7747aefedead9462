// The page: its description records, its life, its dispatcher, the settings it passes down to its
// children and its layout.
#include "PageObjectUserInterface2.h"

#include "ListObjectUserInterface2.h"
#include "PageMessagesUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace {

constexpr uint32_t PageTimerPeriod = 50;
constexpr char PageWindowClass[] = "OJV::UserInterface2::PageObjectUserInterface2::24.10.2006";
const char* const g_pageOperationNames[PageOperationCount] = {
    "GMU_UpdateInfo_PageUserInterface2,                  D.U.R.M.I.X.,19.06.2006::20.00.00",
    "GMU_GetChildObjectUserInterface_PageUserInterface2, D.U.R.M.I.X.,06.07.2006::18.00.00",
    "GMU_FreeChildObjectUserInterface_PageUserInterface2,D.U.R.M.I.X.,06.07.2006::19.00.00",
    "GMU_SetVisibleStatusColAndRow_PageUserInterface2,   D.U.R.M.I.X.,23.01.2007::21.00.00",
    "GMU_IsChildExist_PageUserInterface2,                D.U.R.M.I.X.,03.04.2008::18.00.00",
    "GMU_UpdateChildElement_PageUserInterface2,          D.U.R.M.I.X.,08.04.2008::21.00.00",
};

bool SameElement(const InfoElementUserInterface2& a, const InfoElementUserInterface2& b)
{
    if (a.m_header_flag != b.m_header_flag || a.m_notification_code != b.m_notification_code)
        return false;
    for (uint32_t field = 0; field < InfoElementUserInterface2::FieldCount; ++field)
        if (!(a.Field(field) == b.Field(field)))
            return false;
    return true;
}

bool SameElements(const ElementListUserInterface2& a, const ElementListUserInterface2& b)
{
    if (a.GetCount() != b.GetCount())
        return false;
    for (uint32_t i = 0; i < a.GetCount(); ++i)
        if (!SameElement(a.GetElement(i), b.GetElement(i)))
            return false;
    return true;
}

// A size's whole pixels; what no window can hold is cut to a length that cannot overflow a sum.
int32_t WholePixels(float size)
{
    constexpr float Largest = 1 << 24;
    return std::isfinite(size) ? static_cast<int32_t>(std::trunc(std::clamp(size, 0.0f, Largest))) : 0;
}

// What the laid-out lines of one direction ask for: whole pixels (up to the window's length) and
// the sum of the shares of the rest.
struct LineDemand
{
    int32_t m_fixed = 0;
    float m_shares = 0.0f;
};

LineDemand SumLines(const DynamicBoundsObject<InfoPageLineUserInterface2>& lines, int32_t length)
{
    LineDemand demand;
    int64_t fixed = 0;
    for (uint32_t i = 0; i < lines.GetCount(); ++i) {
        const InfoPageLineUserInterface2& line = lines.GetElement(i);
        if (!line.IsLaidOut())
            continue;
        if (line.m_size > 1.0f)
            fixed += WholePixels(line.m_size);
        else
            demand.m_shares += line.m_size;
    }
    demand.m_fixed = static_cast<int32_t>(std::min<int64_t>(fixed, length));
    return demand;
}

int32_t LineLength(float size, const LineDemand& demand, int32_t length)
{
    if (size > 1.0f)
        return WholePixels(size);
    if (demand.m_shares == 0.0f)
        return 0;
    return WholePixels(size / demand.m_shares * static_cast<float>(length - demand.m_fixed));
}

} // namespace

// ---- description records ----

void InfoChildPageUserInterface2::Reset()
{
    m_kind = ChildKindEmpty;
    m_caption = "";
    m_group_frame = 0;
    m_element_id = 0;
    m_widget_flags = 0;
    m_status_parameter = 0;
    m_object_name = "";
    m_element_count = 0;
    if (FAILED(m_elements.Init(ElementEntries, 0)))
        throw 240;
    m_extra_parameter = 0;
}

bool InfoChildPageUserInterface2::operator==(const InfoChildPageUserInterface2& other) const
{
    if (&other == this)
        return true;
    return m_kind == other.m_kind && m_caption == other.m_caption && m_group_frame == other.m_group_frame &&
           m_element_id == other.m_element_id && m_widget_flags == other.m_widget_flags &&
           m_status_parameter == other.m_status_parameter && m_object_name == other.m_object_name &&
           m_element_count == other.m_element_count && m_extra_parameter == other.m_extra_parameter &&
           SameElements(m_elements, other.m_elements);
}

HRESULT InfoPageUserInterface2::SetSizeTable(uint32_t rows, uint32_t columns)
{
    try {
        if (FAILED(m_rows.Init(rows, 0)) || FAILED(m_columns.Init(columns, 0)) || FAILED(m_children.Init(rows, 0)))
            return E_FAIL;
        for (uint32_t row = 0; row < rows; ++row)
            if (FAILED(m_children.GetElement(row).Init(columns, 0)))
                return E_FAIL;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool InfoPageUserInterface2::IsConsistent() const
{
    if (m_children.GetCount() != m_rows.GetCount())
        return false;
    for (uint32_t row = 0; row < m_children.GetCount(); ++row)
        if (m_children.GetElement(row).GetCount() != m_columns.GetCount())
            return false;
    return true;
}

// ---- life ----

PageObjectUserInterface2::PageObjectUserInterface2(const ElementListUserInterface2& elements, int32_t generalBuffers,
                                                   uint32_t flags, const char* objectName, HINSTANCE module)
try : BaseUserInterface(elements, generalBuffers, flags, objectName, module, 0, PageTimerPeriod) {
    m_window_class_name = PageWindowClass;
    m_cycle_suspended = 1;
    if (FAILED(m_page_messages.InitMessages(g_pageOperationNames, PageOperationCount)) ||
        FAILED(GetListWindowExternMessages(&m_list_notifications)) || FAILED(AddOperationTable(&m_page_messages)))
        throw 240;
}
CATCH_ALL_RETHROW()

// The window goes first; the children's windows go with it, then the widgets themselves.
PageObjectUserInterface2::~PageObjectUserInterface2()
{
    try {
        FreeObject();
        DestroyAllCells();
    }
    CATCH_ALL_LOG()
}

// ---- dispatcher ----

namespace {

template <class Record>
const Record& PageRecordAt(WPARAM wParam)
{
    if (wParam == 0)
        throw 240;
    return *reinterpret_cast<const Record*>(wParam);
}

} // namespace

HRESULT PageObjectUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                          bool* handled)
{
    if (handled == nullptr)
        return E_FAIL;
    *handled = false;
    try {
        using LendRecord = InfoMessageForXXXGetChildObjectUserInterface;
        switch (m_page_messages.GetIndexFromMessage(message)) {
        case -1:
            return BaseUserInterface::CompliteStandartMessage(window, message, wParam, lParam, handled);
        case PageOperationUpdatePage:
            return UpdatePageReal(PageRecordAt<InfoMessageForXXXUpdatePage>(wParam).m_description);
        case PageOperationGetChild: {
            const auto& record = PageRecordAt<LendRecord>(wParam);
            return GetChildObjectUserInterfaceReal(record.m_element_id, record.m_widget, record.m_kind);
        }
        case PageOperationFreeChild: {
            const auto& record = PageRecordAt<LendRecord>(wParam);
            return FreeChildObjectUserInterfaceReal(record.m_widget != nullptr ? *record.m_widget : nullptr,
                                                    record.m_kind);
        }
        case PageOperationSetVisibleStatusColAndRow: {
            const auto& record = PageRecordAt<InfoMessageForXXXSetVisibleStatusColAndRow>(wParam);
            return SetVisibleStatusColAndRowReal(record.m_column, record.m_row, record.m_visible);
        }
        case PageOperationIsChildExist: {
            const auto& record = PageRecordAt<LendRecord>(wParam);
            return IsChildExistReal(record.m_element_id, record.m_exists, record.m_row, record.m_column);
        }
        case PageOperationUpdateChildElement: {
            const auto& record = PageRecordAt<InfoMessageForXXXUpdateChildElement>(wParam);
            return UpdateChildElementReal(record.m_row, record.m_column, record.m_descriptor);
        }
        default:
            return S_OK;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- settings passed down ----

template <class Call>
void PageObjectUserInterface2::ForEachWidget(Call call)
{
    for (uint32_t row = 0; row < RowCount(); ++row) {
        for (uint32_t column = 0; column < ColumnCount(row); ++column) {
            if (BaseUserInterface* child = m_children.GetElement(row).GetElement(column))
                call(*child, row, column);
            if (GroupObjectUserInterface2* frame = m_group_frames.GetElement(row).GetElement(column))
                call(*frame, row, column);
        }
    }
}

HRESULT PageObjectUserInterface2::SetOptimCPUReal(uint32_t mode)
{
    const HRESULT result = BaseUserInterface::SetOptimCPUReal(mode);
    try {
        ForEachWidget([mode](BaseUserInterface& widget, uint32_t, uint32_t) { widget.SetOptimCPUReal(mode); });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::UpdateGDIInfoForObjectReal(const GDIListUserInterface2* entries,
                                                             const IndexListUserInterface2* indexes, int32_t count)
{
    const HRESULT result = BaseUserInterface::UpdateGDIInfoForObjectReal(entries, indexes, count);
    try {
        ForEachWidget([&](BaseUserInterface& widget, uint32_t, uint32_t) {
            widget.UpdateGDIInfoForObjectReal(entries, indexes, count);
        });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::DumpDebugListResizedBufferReal()
{
    const HRESULT result = BaseUserInterface::DumpDebugListResizedBufferReal();
    try {
        ForEachWidget([](BaseUserInterface& widget, uint32_t, uint32_t) { widget.DumpDebugListResizedBufferReal(); });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::SetTextVarForObjectReal(int32_t index, const char* text)
{
    const HRESULT result = BaseUserInterface::SetTextVarForObjectReal(index, text);
    try {
        ForEachWidget([&](BaseUserInterface& widget, uint32_t, uint32_t) {
            widget.SetTextVarForObjectReal(index, text);
        });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::SetWindowReal(int32_t index, HWND window)
{
    const HRESULT result = BaseUserInterface::SetWindowReal(index, window);
    try {
        if (index == 1)
            ForEachWidget([window](BaseUserInterface& widget, uint32_t, uint32_t) { widget.SetWindowReal(1, window); });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::ControlStatObjectShowReal(int32_t index, int32_t value)
{
    const HRESULT result = BaseUserInterface::ControlStatObjectShowReal(index, value);
    try {
        const bool showing = index == StateShown && m_state_values.GetElement(StateShown) != 0;
        ForEachWidget([&](BaseUserInterface& widget, uint32_t row, uint32_t column) {
            if (!showing || IsCellVisible(row, column))
                widget.ControlStatObjectShowReal(index, value);
        });
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

bool PageObjectUserInterface2::IsCellVisible(uint32_t row, uint32_t column) const
{
    return m_description.m_rows.GetElement(row).m_visible != 0 &&
           m_description.m_columns.GetElement(column).m_visible != 0;
}

// ---- layout ----

HRESULT PageObjectUserInterface2::OnSizeWindow(HWND, WPARAM, LPARAM, uint64_t)
{
    return LayoutCells();
}

// Rows and columns that are hidden or have no size take no space; an empty cell keeps its
// column's space, so the cells after it stay in their own columns.
HRESULT PageObjectUserInterface2::LayoutCells()
{
    try {
        RECT area = {};
        if (FAILED(CheckIsWindow(m_window)) || !GetClientRect(m_window, &area))
            return E_UNEXPECTED;
        const int32_t width = area.right - area.left;
        const int32_t height = area.bottom - area.top;
        if (width <= 0 || height <= 0)
            return E_UNEXPECTED;
        const LineDemand columns = SumLines(m_description.m_columns, width);
        const LineDemand rows = SumLines(m_description.m_rows, height);
        int32_t y = 0;
        for (uint32_t row = 0; row < RowCount(); ++row) {
            const InfoPageLineUserInterface2& rowLine = m_description.m_rows.GetElement(row);
            if (!rowLine.IsLaidOut())
                continue;
            const int32_t h = std::min(LineLength(rowLine.m_size, rows, height), height - y);
            int32_t x = 0;
            for (uint32_t column = 0; column < ColumnCount(row); ++column) {
                const InfoPageLineUserInterface2& columnLine = m_description.m_columns.GetElement(column);
                if (!columnLine.IsLaidOut())
                    continue;
                const int32_t w = std::min(LineLength(columnLine.m_size, columns, width), width - x);
                BaseUserInterface* child = m_children.GetElement(row).GetElement(column);
                GroupObjectUserInterface2* frame = m_group_frames.GetElement(row).GetElement(column);
                if (frame != nullptr)
                    frame->MoveObjectReal(x, y, w, h);
                if (child != nullptr && frame != nullptr)
                    child->MoveObjectReal(x + FramedChildLeft, y + FramedChildTop, w - FramedChildWidthLoss,
                                          h - FramedChildHeightLoss);
                else if (child != nullptr)
                    child->MoveObjectReal(x, y, w, h);
                x += w;
            }
            y += h;
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
