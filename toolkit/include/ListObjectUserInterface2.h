// The list widget: rows of up to six cells under an optional header, a vertical scroll bar, one
// selected row, hover, keyboard navigation and in-place editing of text cells. Like every widget it
// belongs to the thread that calls CreateObject; its owner (related window 1) learns of every user
// action through nine registered notifications, always posted.
#pragma once

#include "BaseUserInterface.h"
#include "g_managment_mem.h"

#include <cstdint>

// Bits of a cell word: the low 16 bits are the kind.
enum CellWordListUserInterface2 : uint32_t
{
    CellKindMask = 0x0000FFFF,
    CellKindSkippedByEnter = 2,
    CellKindEditableText = 16,
    CellCheckBox = 0x00000001,
    CellSilent = 0x00000002,
    CellChecked = 0x10000000,
    CellDisabled = 0x20000000,
    CellEdited = 0x40000000,
};

struct InfoCellListUserInterface2
{
    InfoCellListUserInterface2() { m_images.Fill(-1); }

    uint32_t m_cell_word = 0;
    // -1: no image; else one of the sixteen cell images.
    StaticBoundsObject<int32_t, 2> m_images;
    DynamicString m_text;
    InfoTypedValueUserInterface2 m_value;
};

constexpr uint32_t ColumnCountListUserInterface2 = 6;

struct InfoRowListUserInterface2
{
    StaticBoundsObject<InfoCellListUserInterface2, ColumnCountListUserInterface2> m_cells;
};

struct InfoHeaderColumnUserInterface2
{
    int32_t m_id = 0;
    uint8_t m_enabled = 0;
    // Up to 1.0 a share of the free width, above 1.0 pixels.
    float m_width = 1.0f;
    DynamicString m_title;
    int32_t m_value = -1;
    uint32_t m_word = 37;
    uint32_t m_text_format = 37;
};

using RowListUserInterface2 = DynamicBoundsObject<InfoRowListUserInterface2>;
using HeaderListUserInterface2 = DynamicBoundsObject<InfoHeaderColumnUserInterface2>;

struct InfoMessageForXXXUpdateHeaderInfo : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateHeaderInfo() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateHeaderInfo") {}

    const HeaderListUserInterface2* m_columns = nullptr;
};

// Serves both directions: code 4 writes the rows, the other codes read them.
struct InfoMessageForXXXUpdateElementsList : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateElementsList() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateElementsList") {}

    int32_t m_code = 0;
    int32_t m_first = -1;
    int32_t m_count = 0;
    RowListUserInterface2* m_rows = nullptr;
};

// The notifications of a list, by index.
enum ListNotificationUserInterface2 : uint32_t
{
    ListNotifySelection = 0,
    ListNotifyCheckState = 1,
    ListNotifyFirstVisible = 2,
    ListNotifyFocusState = 3,
    ListNotifyButton = 4,
    ListNotifyBeginEdit = 5,
    ListNotifyEndEdit = 6,
    ListNotifyDoubleClick = 7,
    ListNotifyCharacter = 8,
    ListNotificationCount = 9,
};

// Registers the nine notification names into a list of nine ids, in index order.
HRESULT GetListWindowExternMessages(DynamicBoundsObject<UINT>* ids);

// The settings an owner applies to a list by default: 53 values with the property index of each
// (-1 where a slot holds none), for UpdateGeneralInfoForObject.
constexpr uint32_t DefaultPropertyCountListUserInterface2 = 53;
HRESULT FillDefaultPropertyListObject(TypedValueListUserInterface2* values, IndexListUserInterface2* indexes);

class ListObjectUserInterface2 : public BaseUserInterface
{
public:
    // Actions and index kinds of UpdateIndexFromType's type code.
    static constexpr uint32_t ActionSet = 0x10000;
    static constexpr uint32_t ActionGet = 0x20000;
    enum IndexKind : uint32_t
    {
        KindFirstVisible = 1,
        KindFocusedColumn = 2,
        KindSelected = 3,
        KindRowCount = 4,
    };
    enum ElementsCode : int32_t
    {
        CodeInsert = 1,
        CodeReplace = 2,
        CodeDelete = 3,
        CodeRead = 4,
    };
    enum ScrollPart : int32_t
    {
        PartNone = 0,
        PartUpArrow = 1,
        PartDownArrow = 2,
        PartSlider = 3,
        PartTrack = 4,
    };

    ListObjectUserInterface2(const ElementListUserInterface2& elements, int32_t count, uint32_t styleFlags,
                             const char* objectName, HINSTANCE module, uint32_t controlId);
    ~ListObjectUserInterface2() override;

    // ---- public operations: callable from any thread (see BaseUserInterface) ----
    HRESULT UpdateHeaderInfo(const HeaderListUserInterface2* columns);
    // 1 at once for a count of 0; throws 241 before sending when rows holds fewer than count rows.
    HRESULT UpdateElementsList(int32_t code = 0, int32_t first = -1, int32_t count = 0,
                               RowListUserInterface2* rows = nullptr);
    HRESULT UpdateIndexFromType(uint32_t type, int32_t* value);

    // ---- their operations on the window's thread ----
    HRESULT UpdateHeaderInfoReal(const HeaderListUserInterface2* columns);
    HRESULT UpdateElementsListReal(int32_t code, int32_t first, int32_t count, RowListUserInterface2* rows);
    HRESULT UpdateIndexFromTypeReal(uint32_t type, int32_t* value);

    // ---- slots ----
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT CycleBeforeFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT CycleAfterFinalize(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time, uint64_t elapsed) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnMouseHoverLeave(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT OnSetFocus(HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnKillFocus(HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnKeyMessage(UINT message, HWND window, WPARAM wParam, LPARAM lParam) override;
    HRESULT OnMouseButton(HWND window, UINT message, WPARAM wParam, LPARAM lParam, uint64_t time,
                          bool synthetic) override;
    HRESULT OnMouseMove(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;
    HRESULT SetupGeneralCycle(uint32_t flags) override;
    HRESULT SetChangedAllBuffers() override;
    HRESULT OnGeneralInfoChanged() override;
    HRESULT RebuildObject() override;
    int32_t GetIndexElementFromPoint(int32_t x, int32_t y) override;

    // General buffers of the picture.
    static constexpr int32_t BodyBuffer = 294;
    static constexpr int32_t FirstCellBuffer = 295;
    // Cell buffers exist for this many visible lines; lines below them are not drawn.
    static constexpr int32_t CellsPerLine = static_cast<int32_t>(ColumnCountListUserInterface2);
    static constexpr int32_t PicturedLineLimit =
        (static_cast<int32_t>(GeneralBufferCount) - FirstCellBuffer) / CellsPerLine;
    static int32_t CellBuffer(int32_t line, uint32_t column)
    {
        return FirstCellBuffer + CellsPerLine * line + static_cast<int32_t>(column);
    }

protected:
    // Property indices of the list (table 0).
    enum ListProperty : uint32_t
    {
        PropScrollBarWidth = 8,
        PropSliderLength = 9,
        PropScrollInner = 10,
        PropHeaderHeight = 11,
        PropScrollBarEnabled = 12,
        PropHeaderShown = 13,
        PropArrowLength = 14,
        PropRowHeight = 22,
        PropTextOffset = 37,
        PropSameLineNoChange = 58,
    };

    // One visible line: it must be redrawn; it lies wholly inside the widget.
    struct LineEntry
    {
        uint8_t m_redraw = 1;
        uint8_t m_whole = 1;
    };
    // The cell under a point: line of the page and column, -1 for none.
    struct CellHit
    {
        int32_t m_line = -1;
        int32_t m_column = -1;
    };

    float PropertyFloat(uint32_t index) const;
    int32_t PropertyPixels(uint32_t index) const;
    bool PropertyBool(uint32_t index) const;
    int32_t RowCount() const { return static_cast<int32_t>(m_rows.GetCount()); }
    int32_t HeaderHeight() const;
    int32_t RowHeight() const;
    // The scroll bar's width when it is enabled and needed, else 0.
    int32_t ScrollBarWidth() const;
    bool IsScrollBarActive() const;

    // ---- picture ----
    // The one callback of the picture's slots; its context is the drawing operation.
    static HRESULT PictureAction(BaseUserInterface* widget, uintptr_t operation, int32_t slot, int32_t run,
                                 uint32_t timeLow, uint32_t timeHigh);
    HRESULT HeaderStep(int32_t run);
    HRESULT HeaderIntoBodyStep(int32_t run);
    HRESULT ScrollBarStep(uint32_t slot, int32_t run);
    HRESULT CellTextStep(int32_t run);
    HRESULT LineStep(int32_t run);
    HRESULT DrawCell(int32_t line, uint32_t column);
    HRESULT SetImageCopyStep(int32_t line, uint32_t column, int32_t imageSlot);
    // Points the slot's copy at a place of the destination; the region is cut to both pictures
    // (and, for the body's lines, to the left of the scroll bar). 1 when nothing is left of it.
    HRESULT SetCopyStep(uint32_t slot, int32_t source, int32_t destination, int32_t x, int32_t y, int32_t rightEdge);
    InfoGeneralBufferForUserInterface2& Buffer(int32_t index)
    {
        return m_array_general_buffers.GetElement(static_cast<uint32_t>(index));
    }
    void SizePictureBuffers();
    void MakeFonts();
    int32_t PicturedLines() const;
    int32_t ColumnLeft(uint32_t column) const;
    // The pictures of the lines that stay on the page follow their rows.
    void MoveLinePictures(int32_t distance);
    void CopyCellIntoBody(int32_t line, uint32_t column);

    void Notify(uint32_t index, LPARAM value);
    void MarkLineChanged(int32_t line);
    void MarkRowChanged(int32_t row);
    void MarkAllLinesChanged();
    // Keeps the page filled and the selection on it; notifies a changed selection.
    void ClampIndicesAndNotify();
    // Rechecks whether the scroll bar is needed; lays the list out again on a change when asked.
    void CheckScrollBarNeed(bool relayout);
    void ComputeColumnWidths();
    void LoadChangedSkins();
    CellHit HitTest(int32_t x, int32_t y);

    HRESULT SetFirstVisibleRow(int32_t row, bool fromSelection);
    HRESULT SetSelectedRow(int32_t row, bool fromFirstVisible);

    void InsertRows(int32_t first, int32_t count, const RowListUserInterface2& rows);
    void ReplaceRows(int32_t first, int32_t count, const RowListUserInterface2& rows);
    HRESULT DeleteRows(int32_t first, int32_t count);
    void CopyRowIn(int32_t row, const InfoRowListUserInterface2& source);
    void SetChangedRange(int32_t firstRow, int32_t endRow);

    // ---- scroll bar ----
    int32_t ScrollPartAt(int32_t x, int32_t y) const;
    int32_t SliderTop() const;
    int32_t SliderTrackLength() const;
    void DragSliderTo(int32_t y);
    void AutoScroll(uint64_t now);
    void SetPictureStepCounts();

    // ---- mouse, keys and editing ----
    void HandleMouse(UINT message, LPARAM lParam, uint64_t time);
    void HandleScrollBarMouse(UINT message, int32_t x, int32_t y, uint64_t time);
    void ReleaseOnCell(const CellHit& hit);
    void UpdateHoverAndSelection(UINT message, const CellHit& hit);
    bool HandleEditKey(UINT message, WPARAM wParam);
    void HandleNavigationKey(WPARAM wParam);
    void MoveFocusedColumn(int32_t direction);
    InfoCellListUserInterface2* FocusedCell();
    bool PasteClipboardText(DynamicString& text);
    void SetEditMode(bool on);

    RowListUserInterface2 m_rows;
    StaticBoundsObject<InfoHeaderColumnUserInterface2, ColumnCountListUserInterface2> m_header;
    StaticBoundsObject<int32_t, ColumnCountListUserInterface2> m_column_values;
    StaticBoundsObject<int32_t, ColumnCountListUserInterface2> m_column_pixels;

    int32_t m_first_visible = 0;
    int32_t m_selected = 0;
    int32_t m_focused_column = 0;
    int32_t m_rest_height = 0;
    int32_t m_hovered_line = -1;
    uint8_t m_scroll_needed = 0;
    uint8_t m_redraw = 1;
    int32_t m_scroll_part = PartNone;
    int32_t m_pressed_part = PartNone;
    uint64_t m_press_time = 0;
    uint64_t m_last_step_time = 0;
    int32_t m_click_offset_x = -1;
    int32_t m_click_offset_y = -1;
    int32_t m_pressed_line = -1;
    int32_t m_pressed_column = -1;
    int32_t m_changed_first = -1;
    int32_t m_changed_last = -1;
    int32_t m_edit_row = -1;
    int32_t m_edit_column = -1;
    uint8_t m_edit_mode = 0;
    uint32_t m_caret = 0;
    DynamicBoundsObject<LineEntry> m_lines;
    int32_t m_whole_lines = 0;
    // Lines whose cell pictures must be made again, each once: the first count places.
    DynamicBoundsObject<int32_t> m_changed_picture_lines;
    uint32_t m_changed_picture_count = 0;
    ObjectWindowMessage1 m_list_messages;
    DynamicBoundsObject<UINT> m_notifications;
    // The header is drawn again (and copied into the body) when set.
    uint8_t m_header_rebuild = 1;
    // The line the line steps are drawing and the step within it.
    int32_t m_line_cursor = -1;
    int32_t m_line_counter = 0;
    // Lines whose cells were drawn again, for the tests and the benchmark.
    uint32_t m_built_lines = 0;
    AutoGDIObject m_row_font;
    AutoGDIObject m_selected_font;
    AutoGDIObject m_edit_font;
    AutoGDIObject m_header_font;
};
