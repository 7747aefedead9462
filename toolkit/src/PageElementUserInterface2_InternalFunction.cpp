// The page's cells: the one factory of child widgets, making and destroying cells, lending children
// and the operations that run on the page's thread.
#include "PageObjectUserInterface2.h"

#include "GistogramObjectUserInterface2.h"
#include "Graph1ObjectUserInterface2.h"
#include "GroupObjectUserInterface2.h"
#include "ListObjectUserInterface2.h"
#include "SetButtonsObjectUserInterface2.h"
#include "StatusCameraObjectUserInterface2.h"
#include "StatusObjectUserInterface2.h"
#include "TrackbarObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"


namespace {

// The group frame keeps these bits of its cell's widget flags.
constexpr uint32_t GroupFrameFlagBits = 0x0FFF0000;
constexpr int32_t ShownFlag = 1;

// The one element of a cell's group frame: its caption, the whole length, no command.
ElementListUserInterface2 GroupFrameElements(const DynamicString& caption)
{
    ElementListUserInterface2 elements;
    if (FAILED(elements.Init(1, 0)))
        throw 240;
    InfoElementUserInterface2& frame = elements.GetElement(0);
    frame.m_header_flag = 1;
    for (uint32_t field : {0u, 1u, 4u})
        frame.Field(field).SetText("");
    frame.Field(GroupObjectUserInterface2::FieldSize).SetFloat(1.0f);
    frame.Field(InfoElementUserInterface2::FieldCommand).SetInt(0);
    frame.Field(InfoElementUserInterface2::FieldState).SetInt(0);
    frame.Field(GroupObjectUserInterface2::FieldCaption).SetText(caption.GetString());
    return elements;
}

} // namespace

BaseUserInterface* PageObjectUserInterface2::CreateChildWidget(const InfoChildPageUserInterface2& cell,
                                                               HINSTANCE module)
{
    const char* name = cell.m_object_name.GetString();
    BaseUserInterface* widget = nullptr;
    switch (cell.m_kind) {
    case ChildKindList:
        // The graph, list and histogram are told their control id by the cell's extra parameter.
        return new ListObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name, module,
                                            cell.m_extra_parameter);
    case ChildKindGraph:
        return new Graph1ObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name, module,
                                              cell.m_extra_parameter);
    case ChildKindHistogram:
        return new GistogramObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name,
                                                 module, cell.m_extra_parameter);
    case ChildKindPage:
        widget = new PageObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name,
                                              module);
        break;
    case ChildKindTrackbar:
        widget = new TrackbarObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name,
                                                  module);
        break;
    case ChildKindSetButtons:
        widget = new SetButtonsObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags, name,
                                                    module);
        break;
    case ChildKindStatusCamera:
        // The grid's elements report with the control id, so it needs it when it is made.
        widget = new StatusCameraObjectUserInterface2(cell.m_elements, cell.m_element_count, cell.m_widget_flags,
                                                      name, module, cell.m_element_id);
        break;
    case ChildKindStatus:
        widget = new StatusObjectUserInterface2(name, module, cell.m_status_parameter, 0);
        break;
    default:
        return nullptr;
    }
    AssignControlId(*widget, cell.m_element_id);
    return widget;
}

HRESULT PageObjectUserInterface2::SetUpChild(BaseUserInterface& child, HWND receiver, bool visible)
{
    const HRESULT created = child.CreateObject();
    if (FAILED(created))
        return created;
    child.SetWindowReal(0, m_window);
    child.SetWindowReal(1, receiver);
    child.SetTextVarForObjectReal(1, m_text.GetString());
    child.SetOptimCPUReal(m_processor_mode);
    child.ControlStatObjectShowReal(StateShown, visible ? ShownFlag : 0);
    return child.UpdateGDIInfoForObjectReal(&m_gdi_table, nullptr, static_cast<int32_t>(m_gdi_table.GetCount()));
}

// A widget that cannot be made leaves its place empty; the rest of the cell and page is built.
HRESULT PageObjectUserInterface2::CreateCell(uint32_t row, uint32_t column)
{
    const InfoChildPageUserInterface2& cell = m_description.m_children.GetElement(row).GetElement(column);
    if (cell.m_kind == ChildKindEmpty)
        return S_FALSE;
    const bool visible = IsCellVisible(row, column);
    BaseUserInterface*& child = m_children.GetElement(row).GetElement(column);
    try {
        child = CreateChildWidget(cell, m_module);
        if (child != nullptr)
            SetUpChild(*child, m_related_windows.GetElement(1), visible);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    if (cell.m_group_frame == 0)
        return S_OK;
    GroupObjectUserInterface2*& frame = m_group_frames.GetElement(row).GetElement(column);
    if (frame != nullptr)
        throw 10;
    try {
        DynamicString name("object group for page element::");
        name += m_object_name;
        frame = new GroupObjectUserInterface2(GroupFrameElements(cell.m_caption), 1,
                                              (cell.m_widget_flags & GroupFrameFlagBits) |
                                                  GroupObjectUserInterface2::LayoutSideBySide,
                                              name.GetString(), m_module);
        SetUpChild(*frame, m_window, visible);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
    }
    return S_OK;
}

namespace {

// A borrowed widget goes all the same; the page only notes that it did.
template <class Widget>
void DestroyLentWidget(Widget*& widget, uint32_t& uses, uint8_t& borrowedDestroyed)
{
    if (widget != nullptr && uses > 0)
        borrowedDestroyed = 1;
    uses = 0;
    if (widget == nullptr)
        return;
    Widget* going = widget;
    widget = nullptr;
    going->FreeObject();
    delete going;
}

} // namespace

void PageObjectUserInterface2::DestroyCell(uint32_t row, uint32_t column)
{
    DestroyLentWidget(m_children.GetElement(row).GetElement(column),
                      m_child_use_counts.GetElement(row).GetElement(column), m_borrowed_child_destroyed);
    DestroyLentWidget(m_group_frames.GetElement(row).GetElement(column),
                      m_group_frame_use_counts.GetElement(row).GetElement(column), m_borrowed_child_destroyed);
    m_description.m_children.GetElement(row).GetElement(column).Reset();
}

void PageObjectUserInterface2::DestroyAllCells()
{
    for (uint32_t row = 0; row < RowCount(); ++row)
        for (uint32_t column = 0; column < ColumnCount(row); ++column)
            DestroyCell(row, column);
}

namespace {

template <class T>
HRESULT SizeTable(DynamicBoundsObject<DynamicBoundsObject<T>>& table, const InfoPageUserInterface2& description)
{
    const uint32_t rows = description.m_rows.GetCount();
    if (FAILED(table.Init(rows, 0)))
        return E_FAIL;
    for (uint32_t row = 0; row < rows; ++row) {
        DynamicBoundsObject<T>& cells = table.GetElement(row);
        if (FAILED(cells.Init(description.m_columns.GetCount(), 0)))
            return E_FAIL;
        cells.Fill(T{});
    }
    return S_OK;
}

} // namespace

HRESULT PageObjectUserInterface2::SizeCellTables()
{
    if (FAILED(SizeTable(m_group_frames, m_description)) || FAILED(SizeTable(m_children, m_description)) ||
        FAILED(SizeTable(m_child_use_counts, m_description)) ||
        FAILED(SizeTable(m_group_frame_use_counts, m_description)))
        return E_FAIL;
    return S_OK;
}

// ---- operations on the page's thread ----

// A description whose cells do not match its rows and columns is refused before anything changes.
HRESULT PageObjectUserInterface2::UpdatePageReal(const InfoPageUserInterface2* description)
{
    try {
        if (description == nullptr)
            return E_UNEXPECTED;
        if (!description->IsConsistent())
            return E_INVALIDARG;
        DestroyAllCells();
        if (description != &m_description)
            m_description = *description;
        if (FAILED(SizeCellTables()))
            return E_FAIL;
        for (uint32_t row = 0; row < RowCount(); ++row)
            for (uint32_t column = 0; column < ColumnCount(row); ++column)
                CreateCell(row, column);
        // A page without a sized window is laid out when it gets one.
        LayoutCells();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::GetChildObjectUserInterfaceReal(uint32_t elementId, BaseUserInterface** widget,
                                                                  uint32_t kind)
{
    try {
        if (widget == nullptr)
            return E_INVALIDARG;
        if (elementId == 0 || *widget != nullptr)
            return E_UNEXPECTED;
        for (uint32_t row = 0; row < RowCount(); ++row) {
            for (uint32_t column = 0; column < ColumnCount(row); ++column) {
                if (m_description.m_children.GetElement(row).GetElement(column).m_element_id != elementId)
                    continue;
                const bool frame = kind == ChildKindGroupFrame;
                BaseUserInterface* found = frame ? m_group_frames.GetElement(row).GetElement(column)
                                                 : m_children.GetElement(row).GetElement(column);
                if (found != nullptr)
                    ++(frame ? m_group_frame_use_counts : m_child_use_counts).GetElement(row).GetElement(column);
                *widget = found;
                return S_OK;
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// A widget given back more often than it was lent is refused, so that its count stays true.
HRESULT PageObjectUserInterface2::FreeChildObjectUserInterfaceReal(BaseUserInterface* widget, uint32_t kind)
{
    try {
        if (widget == nullptr)
            return E_UNEXPECTED;
        const bool frame = kind == ChildKindGroupFrame;
        for (uint32_t row = 0; row < RowCount(); ++row) {
            for (uint32_t column = 0; column < ColumnCount(row); ++column) {
                const BaseUserInterface* held = frame ? m_group_frames.GetElement(row).GetElement(column)
                                                      : m_children.GetElement(row).GetElement(column);
                if (held != widget)
                    continue;
                CellTable<uint32_t>& counts = frame ? m_group_frame_use_counts : m_child_use_counts;
                uint32_t& uses = counts.GetElement(row).GetElement(column);
                if (uses == 0)
                    return E_FAIL;
                --uses;
                return S_OK;
            }
        }
        return E_FAIL;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::IsChildExistReal(uint32_t elementId, int32_t* exists, int32_t* row,
                                                   int32_t* column)
{
    try {
        if (exists == nullptr || row == nullptr || column == nullptr)
            return E_INVALIDARG;
        if (elementId == 0)
            return E_UNEXPECTED;
        *exists = 0;
        *row = -1;
        *column = -1;
        for (uint32_t r = 0; r < RowCount(); ++r) {
            for (uint32_t c = 0; c < ColumnCount(r); ++c) {
                if (m_description.m_children.GetElement(r).GetElement(c).m_element_id != elementId)
                    continue;
                *exists = 1;
                *row = static_cast<int32_t>(r);
                *column = static_cast<int32_t>(c);
                return S_OK;
            }
        }
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

namespace {

// Shown and frozen are kept opposite; the answer is the show's.
HRESULT ShowWidget(BaseUserInterface* widget, uint8_t visible, HRESULT last)
{
    if (widget == nullptr)
        return last;
    const HRESULT shown = widget->ControlStatObjectShowReal(BaseUserInterface::StateShown, visible != 0 ? 1 : 0);
    widget->ControlStatObjectShowReal(BaseUserInterface::StateFrozen, visible != 0 ? 0 : 1);
    return shown;
}

} // namespace

HRESULT PageObjectUserInterface2::SetVisibleStatusColAndRowReal(int32_t column, int32_t row, uint8_t visible)
{
    try {
        const int32_t columns = static_cast<int32_t>(m_description.m_columns.GetCount());
        const int32_t rows = static_cast<int32_t>(RowCount());
        if (column < -1 || column >= columns || row < -1 || row >= rows)
            return E_INVALIDARG;
        HRESULT result = S_OK;
        const auto showCell = [&](uint32_t r, uint32_t c) {
            result = ShowWidget(m_children.GetElement(r).GetElement(c), visible, result);
            result = ShowWidget(m_group_frames.GetElement(r).GetElement(c), visible, result);
        };
        if (column != -1) {
            m_description.m_columns.GetElement(column).m_visible = visible;
            for (uint32_t r = 0; r < RowCount(); ++r)
                showCell(r, static_cast<uint32_t>(column));
        }
        if (row != -1) {
            m_description.m_rows.GetElement(row).m_visible = visible;
            for (uint32_t c = 0; c < ColumnCount(static_cast<uint32_t>(row)); ++c)
                showCell(static_cast<uint32_t>(row), c);
        }
        if (SUCCEEDED(CheckIsWindow(m_window)))
            SendMessageA(m_window, WM_SIZE, SIZE_RESTORED, 0);
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT PageObjectUserInterface2::UpdateChildElementReal(int32_t row, int32_t column,
                                                         const InfoChildPageUserInterface2* descriptor)
{
    try {
        if (descriptor == nullptr || row < 0 || column < 0 || static_cast<uint32_t>(row) >= RowCount() ||
            static_cast<uint32_t>(column) >= ColumnCount(static_cast<uint32_t>(row)))
            return E_INVALIDARG;
        InfoChildPageUserInterface2& cell = m_description.m_children.GetElement(row).GetElement(column);
        if (*descriptor == cell)
            return S_OK;
        DestroyCell(static_cast<uint32_t>(row), static_cast<uint32_t>(column));
        cell = *descriptor;
        CreateCell(static_cast<uint32_t>(row), static_cast<uint32_t>(column));
        LayoutCells();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}
