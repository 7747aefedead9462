// The list widget's input: the scroll bar, mouse over cells, keys, in-place editing, focus and the
// automatic scrolling of a held arrow key.
#include "ListObjectUserInterface2.h"

#include "CatchAllLog.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

constexpr uint32_t StyleColumnHover = 0x80000;

constexpr uint64_t AutoScrollDelayMs = 200;
constexpr uint64_t AutoScrollStepMs = 100;
constexpr double AutoScrollAcceleration = 0.03;
constexpr double AutoScrollMinimumSpeed = 10.0;
constexpr double AutoScrollMaximumSpeed = 200.0;
constexpr WPARAM FirstInsertedCharacter = 30;

uint32_t CellKind(const InfoCellListUserInterface2& cell)
{
    return cell.m_cell_word & CellKindMask;
}

bool IsArrowPart(int32_t part)
{
    return part == ListObjectUserInterface2::PartUpArrow || part == ListObjectUserInterface2::PartDownArrow;
}

int32_t ArrowDirection(int32_t part)
{
    return part == ListObjectUserInterface2::PartUpArrow ? -1 : 1;
}

bool IsControlDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

} // namespace

// ---- scroll bar ----

int32_t ListObjectUserInterface2::SliderTrackLength() const
{
    const int32_t listHeight = std::max(m_height - HeaderHeight(), 0);
    return listHeight - 2 * PropertyPixels(PropArrowLength) - PropertyPixels(PropSliderLength);
}

// Relative to the header's lower edge. With nothing to scroll over (no rows beyond the page, or no
// track) the slider stays at the top instead of dividing by zero.
int32_t ListObjectUserInterface2::SliderTop() const
{
    const int32_t arrow = PropertyPixels(PropArrowLength);
    const int32_t track = SliderTrackLength();
    const int32_t range = RowCount() - static_cast<int32_t>(m_lines.GetCount());
    if (track <= 0 || range <= 0)
        return arrow;
    const double position = std::min(static_cast<double>(m_first_visible) / range, 1.0);
    return arrow + static_cast<int32_t>(std::lround(position * track));
}

int32_t ListObjectUserInterface2::ScrollPartAt(int32_t x, int32_t y) const
{
    const int32_t header = HeaderHeight();
    if (!IsScrollBarActive() || x < m_width - PropertyPixels(PropScrollBarWidth) || y < header)
        return PartNone;
    const int32_t position = y - header;
    const int32_t arrow = PropertyPixels(PropArrowLength);
    const int32_t listHeight = std::max(m_height - header, 0);
    if (position < arrow)
        return PartUpArrow;
    if (position > listHeight - arrow)
        return PartDownArrow;
    const int32_t top = SliderTop();
    if (position >= top && position <= top + PropertyPixels(PropSliderLength))
        return PartSlider;
    return PartTrack;
}

// The slider's middle follows the mouse; a drag changes nothing while there is nothing to scroll.
void ListObjectUserInterface2::DragSliderTo(int32_t y)
{
    const int32_t track = SliderTrackLength();
    const int32_t range = RowCount() - static_cast<int32_t>(m_lines.GetCount());
    if (track <= 0 || range <= 0 || RowCount() < 2)
        return;
    const int32_t position =
        y - HeaderHeight() - PropertyPixels(PropArrowLength) - PropertyPixels(PropSliderLength) / 2;
    const auto row = static_cast<int32_t>(std::lround(static_cast<double>(position) * range / track));
    SetFirstVisibleRow(std::clamp(row, 0, range), false);
}

void ListObjectUserInterface2::AutoScroll(uint64_t now)
{
    if (!IsScrollBarActive() || !IsArrowPart(m_pressed_part) || RowCount() < 2)
        return;
    if (now < m_press_time + AutoScrollDelayMs || now < m_last_step_time + AutoScrollStepMs)
        return;
    const double speed = std::clamp(static_cast<double>(now - m_press_time) * AutoScrollAcceleration,
                                    AutoScrollMinimumSpeed, AutoScrollMaximumSpeed);
    const double step = ArrowDirection(m_pressed_part) * speed * static_cast<double>(now - m_last_step_time) / 1000.0;
    const int32_t row = std::clamp(m_selected + static_cast<int32_t>(step), 0, RowCount() - 1);
    m_last_step_time = now;
    if (row != m_selected)
        SetSelectedRow(row, false);
}

HRESULT ListObjectUserInterface2::CycleBeforeFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    try {
        AutoScroll(m_time_server.GetTime());
        SetPictureStepCounts();
        m_line_cursor = -1;
        m_line_counter = 0;
        // Whatever is drawn ends in the body, which is then shown even when the cycle's last
        // copy went elsewhere; an idle list shows nothing again.
        if (m_header_rebuild != 0 || m_changed_picture_count > 0 || (m_redraw != 0 && IsScrollBarActive()) ||
            Buffer(BodyBuffer).IsChanged() != 0)
            m_force_finalize = 1;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::CycleAfterFinalize(HWND, WPARAM, LPARAM, uint64_t, uint64_t)
{
    try {
        for (uint32_t i = 0; i < m_lines.GetCount(); ++i)
            m_lines.GetElement(i).m_redraw = 0;
        m_changed_picture_count = 0;
        m_redraw = 0;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- mouse ----

HRESULT ListObjectUserInterface2::OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                                uint64_t time, bool)
{
    return OnMouseHoverLeave(window, message, wParam, lParam, time);
}

HRESULT ListObjectUserInterface2::OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time)
{
    try {
        const int32_t part = ScrollPartAt(LOWORD(lParam), HIWORD(lParam));
        if (part != m_scroll_part) {
            m_scroll_part = part;
            m_redraw = 1;
        }
        return OnMouseHoverLeave(window, WM_MOUSEMOVE, wParam, lParam, time);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::OnMouseHoverLeave(HWND, UINT message, WPARAM, LPARAM lParam, uint64_t time)
{
    try {
        HandleMouse(message, lParam, time);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ListObjectUserInterface2::HandleMouse(UINT message, LPARAM lParam, uint64_t time)
{
    const int32_t x = LOWORD(lParam);
    const int32_t y = HIWORD(lParam);
    switch (message) {
    case WM_LBUTTONDBLCLK:
        if (HitTest(x, y).m_line >= 0)
            Notify(ListNotifyDoubleClick, m_selected);
        return;
    case WM_MOUSELEAVE: {
        const bool shown = m_hovered_line >= 0 || m_scroll_part != PartNone || m_pressed_part != PartNone ||
                           m_pressed_line >= 0;
        MarkLineChanged(m_hovered_line);
        m_hovered_line = -1;
        m_scroll_part = PartNone;
        m_pressed_part = PartNone;
        m_pressed_line = -1;
        m_pressed_column = -1;
        if (shown)
            m_redraw = 1;
        return;
    }
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEHOVER:
        break;
    default:
        return;
    }
    const CellHit hit = HitTest(x, y);
    if (IsScrollBarActive())
        HandleScrollBarMouse(message, x, y, time);
    if (message == WM_LBUTTONDOWN) {
        m_pressed_line = hit.m_line;
        m_pressed_column = hit.m_column;
    }
    else if (message == WM_LBUTTONUP) {
        if (hit.m_line >= 0 && hit.m_column >= 0 && hit.m_line == m_pressed_line && hit.m_column == m_pressed_column)
            ReleaseOnCell(hit);
        m_pressed_line = -1;
        m_pressed_column = -1;
    }
    UpdateHoverAndSelection(message, hit);
}

void ListObjectUserInterface2::HandleScrollBarMouse(UINT message, int32_t x, int32_t y, uint64_t time)
{
    switch (message) {
    case WM_MOUSEMOVE:
        if (m_pressed_part == PartSlider)
            DragSliderTo(y);
        break;
    case WM_LBUTTONDOWN:
        m_pressed_part = ScrollPartAt(x, y);
        m_press_time = time;
        m_last_step_time = time;
        break;
    case WM_LBUTTONUP: {
        const int32_t part = ScrollPartAt(x, y);
        if (IsArrowPart(part) && part == m_pressed_part && RowCount() >= 2) {
            const int32_t row = std::clamp(m_selected + ArrowDirection(part), 0, RowCount() - 1);
            if (row != m_selected)
                SetSelectedRow(row, false);
        }
        m_pressed_part = PartNone;
        break;
    }
    default:
        break;
    }
}

void ListObjectUserInterface2::ReleaseOnCell(const CellHit& hit)
{
    const int32_t row = m_first_visible + hit.m_line;
    if (row >= RowCount())
        return;
    InfoCellListUserInterface2& cell =
        m_rows.GetElement(static_cast<uint32_t>(row)).m_cells.GetElement(static_cast<uint32_t>(hit.m_column));
    if ((cell.m_cell_word & (CellDisabled | CellSilent)) != 0)
        return;
    if ((cell.m_cell_word & CellCheckBox) != 0) {
        cell.m_cell_word ^= CellChecked;
        MarkLineChanged(hit.m_line);
        Notify(ListNotifyCheckState, row);
        return;
    }
    Notify(ListNotifyButton, (static_cast<LPARAM>(hit.m_column) << 24) + row);
}

void ListObjectUserInterface2::UpdateHoverAndSelection(UINT message, const CellHit& hit)
{
    const bool press = message == WM_LBUTTONDOWN;
    const bool sameLine = hit.m_line == m_hovered_line;
    const bool sameColumn = hit.m_column == m_focused_column || PropertyBool(PropSameLineNoChange);
    const bool columnHoverOff = (m_style_flags & StyleColumnHover) == 0 || hit.m_column < 0;
    const int32_t selectedLine = m_selected - m_first_visible;
    if (sameLine && sameColumn && columnHoverOff && !(press && hit.m_line != selectedLine))
        return;
    m_focused_column = hit.m_column;
    MarkLineChanged(m_hovered_line);
    MarkLineChanged(hit.m_line);
    if (press) {
        MarkLineChanged(selectedLine);
        MarkLineChanged(m_pressed_line);
    }
    m_hovered_line = hit.m_line;
    if (!press || hit.m_line < 0)
        return;
    const int32_t row = m_first_visible + hit.m_line;
    if (row != m_selected) {
        m_selected = row;
        Notify(ListNotifySelection, row);
    }
    m_caret = 0;
    SetEditMode(m_edit_mode == 0);
}

// ---- keys and editing ----

HRESULT ListObjectUserInterface2::OnKeyMessage(UINT message, HWND, WPARAM wParam, LPARAM)
{
    try {
        if (message != WM_KEYDOWN && message != WM_CHAR)
            return S_OK;
        if (HandleEditKey(message, wParam))
            return S_OK;
        if (message == WM_KEYDOWN)
            HandleNavigationKey(wParam);
        else
            Notify(ListNotifyCharacter, static_cast<LPARAM>(wParam));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

void ListObjectUserInterface2::HandleNavigationKey(WPARAM wParam)
{
    if (wParam == VK_LEFT || wParam == VK_RIGHT) {
        MoveFocusedColumn(wParam == VK_LEFT ? -1 : 1);
        return;
    }
    int32_t row = m_selected;
    switch (wParam) {
    case VK_PRIOR:
        row -= m_whole_lines;
        break;
    case VK_NEXT:
        row += m_whole_lines;
        break;
    case VK_HOME:
        row = 0;
        break;
    case VK_END:
        row = RowCount() - 1;
        break;
    case VK_UP:
        --row;
        break;
    case VK_DOWN:
        ++row;
        break;
    default:
        return;
    }
    if (RowCount() < 2 || m_lines.GetCount() == 0)
        return;
    row = std::clamp(row, 0, RowCount() - 1);
    if (row != m_selected)
        SetSelectedRow(row, false);
}

void ListObjectUserInterface2::MoveFocusedColumn(int32_t direction)
{
    for (int32_t column = m_focused_column + direction;
         column >= 0 && column < static_cast<int32_t>(ColumnCountListUserInterface2); column += direction) {
        if (m_header.GetElement(static_cast<uint32_t>(column)).m_enabled != 0) {
            m_focused_column = column;
            break;
        }
    }
    MarkRowChanged(m_selected);
}

InfoCellListUserInterface2* ListObjectUserInterface2::FocusedCell()
{
    if (m_selected < 0 || m_selected >= RowCount() || m_focused_column < 0 ||
        m_focused_column >= static_cast<int32_t>(ColumnCountListUserInterface2))
        return nullptr;
    return &m_rows.GetElement(static_cast<uint32_t>(m_selected))
                .m_cells.GetElement(static_cast<uint32_t>(m_focused_column));
}

// Whether the editor took the key.
bool ListObjectUserInterface2::HandleEditKey(UINT message, WPARAM wParam)
{
    const bool enter = message == WM_KEYDOWN && wParam == VK_RETURN;
    InfoCellListUserInterface2* cell = FocusedCell();
    if (cell == nullptr)
        return false;
    if (enter && CellKind(*cell) == CellKindSkippedByEnter) {
        const InfoRowListUserInterface2& row = m_rows.GetElement(static_cast<uint32_t>(m_selected));
        for (uint32_t c = 0; c < ColumnCountListUserInterface2; ++c)
            if (CellKind(row.m_cells.GetElement(c)) != CellKindSkippedByEnter) {
                m_focused_column = static_cast<int32_t>(c);
                break;
            }
        cell = FocusedCell();
    }
    if (CellKind(*cell) != CellKindEditableText || (m_edit_mode == 0 && !enter))
        return false;
    std::string text = cell->m_text.GetString();
    const std::string before = text;
    m_caret = std::min<uint32_t>(m_caret, static_cast<uint32_t>(text.size()));
    if (message == WM_CHAR) {
        if (wParam < FirstInsertedCharacter)
            return false;
        text.insert(m_caret, 1, static_cast<char>(wParam));
        ++m_caret;
    }
    else {
        switch (wParam) {
        case VK_DELETE:
            if (m_caret < text.size())
                text.erase(m_caret, 1);
            break;
        case 'V':
        case 'v': {
            if (!IsControlDown())
                return false;
            DynamicString pasted;
            if (PasteClipboardText(pasted))
                text = pasted.GetString();
            break;
        }
        case VK_BACK:
            if (m_caret > 0)
                text.erase(--m_caret, 1);
            break;
        case VK_RETURN:
            m_caret = 0;
            SetEditMode(m_edit_mode == 0);
            break;
        case VK_ESCAPE:
            m_caret = 0;
            SetEditMode(false);
            break;
        case VK_HOME:
            m_caret = 0;
            break;
        case VK_END:
            m_caret = static_cast<uint32_t>(text.size());
            break;
        case VK_LEFT:
            if (m_caret > 0)
                --m_caret;
            break;
        case VK_RIGHT:
            ++m_caret;
            break;
        default:
            return false;
        }
    }
    m_caret = std::min<uint32_t>(m_caret, static_cast<uint32_t>(text.size()));
    if (text != before) {
        cell->m_text = text.c_str();
        MarkRowChanged(m_selected);
    }
    return true;
}

// Clipboard without text, or one that cannot be read, gives false and leaves the caller's text.
bool ListObjectUserInterface2::PasteClipboardText(DynamicString& text)
{
    if (!IsClipboardFormatAvailable(CF_TEXT) || !OpenClipboard(m_window))
        return false;
    bool taken = false;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* locked = data != nullptr ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (locked != nullptr) {
        // The block may lack its terminator: read no further than its size.
        const SIZE_T size = GlobalSize(data);
        text = std::string(locked, strnlen(locked, size)).c_str();
        GlobalUnlock(data);
        taken = true;
    }
    CloseClipboard();
    return taken;
}

void ListObjectUserInterface2::SetEditMode(bool on)
{
    if (on == (m_edit_mode != 0))
        return;
    InfoCellListUserInterface2* focused = FocusedCell();
    if (on && focused == nullptr)
        return;
    const bool marked = m_edit_row >= 0 && m_edit_row < RowCount() && m_edit_column >= 0;
    if (marked)
        m_rows.GetElement(static_cast<uint32_t>(m_edit_row))
            .m_cells.GetElement(static_cast<uint32_t>(m_edit_column))
            .m_cell_word &= ~static_cast<uint32_t>(CellEdited);
    m_edit_row = -1;
    m_edit_column = -1;
    if (on) {
        if (CellKind(*focused) == CellKindEditableText) {
            focused->m_cell_word |= CellEdited;
            m_edit_row = m_selected;
            m_edit_column = m_focused_column;
        }
        m_edit_mode = 1;
        Notify(ListNotifyBeginEdit, m_selected);
    }
    else {
        if (focused != nullptr)
            focused->m_cell_word &= ~static_cast<uint32_t>(CellEdited);
        m_edit_mode = 0;
        Notify(ListNotifyEndEdit, m_selected);
    }
    MarkRowChanged(m_selected);
}

HRESULT ListObjectUserInterface2::OnSetFocus(HWND, WPARAM, LPARAM)
{
    try {
        SetEditMode(false);
        MarkRowChanged(m_selected);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ListObjectUserInterface2::OnKillFocus(HWND, WPARAM, LPARAM)
{
    return OnSetFocus(nullptr, 0, 0);
}
