// A page on the test thread with its cells open to the tests, descriptions made from tables, and
// readers of a child widget's state.
#pragma once

#include "ListObjectUserInterface2.h"
#include "PageObjectUserInterface2.h"
#include "TestWidget.h"

#include <memory>
#include <vector>

// A page of any page class with its cells open to the tests.
template <class Page>
class CellAccess : public Page
{
public:
    using Page::Page;

    BaseUserInterface* Child(uint32_t row, uint32_t column)
    {
        return this->m_children.GetElement(row).GetElement(column);
    }
    GroupObjectUserInterface2* Frame(uint32_t row, uint32_t column)
    {
        return this->m_group_frames.GetElement(row).GetElement(column);
    }
    uint32_t ChildUses(uint32_t row, uint32_t column)
    {
        return this->m_child_use_counts.GetElement(row).GetElement(column);
    }
    uint32_t FrameUses(uint32_t row, uint32_t column)
    {
        return this->m_group_frame_use_counts.GetElement(row).GetElement(column);
    }
    const InfoChildPageUserInterface2& Cell(uint32_t row, uint32_t column)
    {
        return this->m_description.m_children.GetElement(row).GetElement(column);
    }

    using Page::m_borrowed_child_destroyed;
    using Page::m_description;
};

class TestPage : public CellAccess<PageObjectUserInterface2>
{
public:
    TestPage() : CellAccess({}, 0, 0, "page under test", nullptr) {}
};

// What the tests read of any widget, whatever its class.
struct WidgetState : BaseUserInterface
{
    static uint32_t ControlId(const BaseUserInterface& widget) { return widget.*(&WidgetState::m_control_id); }
    static uint32_t ProcessorMode(const BaseUserInterface& widget)
    {
        return widget.*(&WidgetState::m_processor_mode);
    }
    static UnifSwordFunction AlignedOperation(const BaseUserInterface& widget, uint32_t index)
    {
        return (widget.*(&WidgetState::m_operations_aligned)).GetElement(index);
    }
    static int32_t State(const BaseUserInterface& widget, uint32_t index)
    {
        return (widget.*(&WidgetState::m_state_values)).GetElement(index);
    }
    static const char* Text(const BaseUserInterface& widget) { return (widget.*(&WidgetState::m_text)).GetString(); }
    static COLORREF Colour(const BaseUserInterface& widget, uint32_t entry)
    {
        return (widget.*(&WidgetState::m_gdi_table)).GetElement(entry).m_color;
    }
    static bool PropertyBool(const BaseUserInterface& widget, uint32_t index)
    {
        return (widget.*(&WidgetState::m_property_tables)).GetElement(0).GetElement(index).m_value.m_bool;
    }
    static HWND Related(const BaseUserInterface& widget, uint32_t index)
    {
        return (widget.*(&WidgetState::m_related_windows)).GetElement(index);
    }
};

struct CellSpec
{
    uint32_t m_kind;
    uint32_t m_id;
    bool m_framed = false;
};

// A description of the column and row sizes (all visible) with one cell per row and column.
inline InfoPageUserInterface2 Describe(const std::vector<float>& columns, const std::vector<float>& rows,
                                       const std::vector<std::vector<CellSpec>>& cells)
{
    InfoPageUserInterface2 description;
    description.SetSizeTable(static_cast<uint32_t>(rows.size()), static_cast<uint32_t>(columns.size()));
    for (uint32_t c = 0; c < columns.size(); ++c)
        description.m_columns.GetElement(c).m_size = columns[c];
    for (uint32_t r = 0; r < rows.size(); ++r) {
        description.m_rows.GetElement(r).m_size = rows[r];
        for (uint32_t c = 0; c < cells[r].size(); ++c) {
            InfoChildPageUserInterface2& cell = description.m_children.GetElement(r).GetElement(c);
            cell.m_kind = cells[r][c].m_kind;
            cell.m_element_id = cells[r][c].m_id;
            cell.m_group_frame = cells[r][c].m_framed ? 1 : 0;
            cell.m_caption = "cell";
            cell.m_object_name = "page child";
        }
    }
    return description;
}

// A shown page of the size at the top left of the screen.
inline std::unique_ptr<TestPage> MakeShownPage(int32_t width, int32_t height)
{
    auto page = std::make_unique<TestPage>();
    page->CreateObject();
    page->ControlStatObjectShowReal(BaseUserInterface::StateShown, 1);
    page->MoveObjectReal(0, 0, width, height);
    return page;
}

// The windows whose parent is the window.
inline std::vector<HWND> ChildWindowsOf(HWND parent)
{
    std::vector<HWND> found;
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        found.push_back(child);
    return found;
}

struct Position
{
    int32_t m_left = 0;
    int32_t m_top = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool operator==(const Position& other) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Position& p)
{
    return out << "(" << p.m_left << ", " << p.m_top << ", " << p.m_width << " x " << p.m_height << ")";
}

inline Position PositionOf(BaseUserInterface& widget)
{
    Position p;
    widget.GetPosObjectReal(&p.m_left, &p.m_top, &p.m_width, &p.m_height);
    return p;
}
