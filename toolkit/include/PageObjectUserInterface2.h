// The page: a container widget that makes child widgets by kind from a description of rows and
// columns, frames each with a group frame when asked, lays them out whenever its window is sized
// and lends them by element id. It draws nothing itself. Like every widget it belongs to the thread
// that calls CreateObject; its children are made on that thread and belong to it too.
#pragma once

#include "BaseUserInterface.h"
#include "GroupObjectUserInterface2.h"

#include <cstdint>

// One row or column of a page: whether it is shown, and its size (above 1.0 pixels, up to 1.0 a
// share of the free length, -1.0 not counted).
struct InfoPageLineUserInterface2
{
    uint32_t m_visible = 1;
    float m_size = -1.0f;

    bool IsLaidOut() const { return m_visible != 0 && m_size > 0.0f; }
};

// The widget kinds a page cell can hold.
enum ChildKindPageUserInterface2 : uint32_t
{
    ChildKindEmpty = 0,
    ChildKindTrackbar = 1,
    ChildKindNothing = 2,
    ChildKindStatusCamera = 3,
    ChildKindStatus = 4,
    ChildKindSetButtons = 5,
    ChildKindGraph = 6,
    ChildKindList = 7,
    // Never made by the factory: the kind that lends a cell's group frame.
    ChildKindGroupFrame = 8,
    ChildKindHistogram = 9,
    ChildKindPage = 10,
};

// One cell of a page description.
struct InfoChildPageUserInterface2
{
    static constexpr uint32_t ElementEntries = BaseUserInterface::MaxElements;

    InfoChildPageUserInterface2() { Reset(); }

    // Empty cell: numbers 0, texts empty, 16 fresh element descriptions.
    void Reset();
    bool operator==(const InfoChildPageUserInterface2& other) const;
    bool operator!=(const InfoChildPageUserInterface2& other) const { return !(*this == other); }

    uint32_t m_kind = ChildKindEmpty;
    DynamicString m_caption;
    uint8_t m_group_frame = 0;
    uint32_t m_element_id = 0;
    // Bits 16-27 are also the group frame's.
    uint32_t m_widget_flags = 0;
    uint32_t m_status_parameter = 0;
    DynamicString m_object_name;
    int32_t m_element_count = 0;
    ElementListUserInterface2 m_elements;
    // The control id of the graph, list and histogram.
    uint32_t m_extra_parameter = 0;
};

using ChildRowPageUserInterface2 = DynamicBoundsObject<InfoChildPageUserInterface2>;

// What a page shows: its columns, its rows and one cell per row and column.
struct InfoPageUserInterface2
{
    HRESULT SetSizeTable(uint32_t rows, uint32_t columns);
    // Rows and cells agree with the two line tables.
    bool IsConsistent() const;

    DynamicBoundsObject<InfoPageLineUserInterface2> m_columns;
    DynamicBoundsObject<InfoPageLineUserInterface2> m_rows;
    DynamicBoundsObject<ChildRowPageUserInterface2> m_children;
};

struct InfoMessageForXXXUpdatePage : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdatePage() : GeneralParentForMessageStruct("InfoMessageForXXXUpdatePage") {}

    const InfoPageUserInterface2* m_description = nullptr;
};

// Serves lending, giving back and the existence query.
struct InfoMessageForXXXGetChildObjectUserInterface : GeneralParentForMessageStruct
{
    InfoMessageForXXXGetChildObjectUserInterface()
        : GeneralParentForMessageStruct("InfoMessageForXXXGetChildObjectUserInterface")
    {
    }

    uint32_t m_element_id = 0;
    uint32_t m_kind = 0;
    BaseUserInterface** m_widget = nullptr;
    int32_t* m_exists = nullptr;
    int32_t* m_row = nullptr;
    int32_t* m_column = nullptr;
};

struct InfoMessageForXXXSetVisibleStatusColAndRow : GeneralParentForMessageStruct
{
    InfoMessageForXXXSetVisibleStatusColAndRow()
        : GeneralParentForMessageStruct("InfoMessageForXXXSetVisibleStatusColAndRow")
    {
    }

    int32_t m_column = -1;
    int32_t m_row = -1;
    uint8_t m_visible = 1;
};

struct InfoMessageForXXXUpdateChildElement : GeneralParentForMessageStruct
{
    InfoMessageForXXXUpdateChildElement() : GeneralParentForMessageStruct("InfoMessageForXXXUpdateChildElement") {}

    int32_t m_row = 0;
    int32_t m_column = 0;
    const InfoChildPageUserInterface2* m_descriptor = nullptr;
};

class PageObjectUserInterface2 : public BaseUserInterface
{
public:
    // Offsets of a child inside its group frame: left and top, and what the frame takes of the size.
    static constexpr int32_t FramedChildLeft = 4;
    static constexpr int32_t FramedChildTop = 14;
    static constexpr int32_t FramedChildWidthLoss = 7;
    static constexpr int32_t FramedChildHeightLoss = 18;

    // generalBuffers: the number of element descriptions. Logs and rethrows whatever fails.
    PageObjectUserInterface2(const ElementListUserInterface2& elements, int32_t generalBuffers, uint32_t flags,
                             const char* objectName, HINSTANCE module);
    ~PageObjectUserInterface2() override;

    // ---- public operations: callable from any thread (see BaseUserInterface) ----
    HRESULT UpdatePage(const InfoPageUserInterface2* description);
    // Lends the cell's widget (kind 8: its group frame); *widget must be null and stays null when
    // no cell has the id. Give it back with FreeChildObjectUserInterface before the cell is rebuilt.
    HRESULT GetChildObjectUserInterface(uint32_t elementId, BaseUserInterface** widget, uint32_t kind);
    HRESULT FreeChildObjectUserInterface(BaseUserInterface* widget, uint32_t kind);
    // -1 leaves the column or row as it is.
    HRESULT SetVisibleStatusColAndRow(int32_t column, int32_t row, uint8_t visible);
    HRESULT IsChildExist(uint32_t elementId, uint32_t kind, int32_t* exists, int32_t* row, int32_t* column);
    HRESULT UpdateChildElement(int32_t row, int32_t column, const InfoChildPageUserInterface2* descriptor);

    // ---- their operations on the window's thread ----
    // Derived pages build their own cells here.
    virtual HRESULT UpdatePageReal(const InfoPageUserInterface2* description);
    HRESULT GetChildObjectUserInterfaceReal(uint32_t elementId, BaseUserInterface** widget, uint32_t kind);
    HRESULT FreeChildObjectUserInterfaceReal(BaseUserInterface* widget, uint32_t kind);
    HRESULT SetVisibleStatusColAndRowReal(int32_t column, int32_t row, uint8_t visible);
    HRESULT IsChildExistReal(uint32_t elementId, int32_t* exists, int32_t* row, int32_t* column);
    HRESULT UpdateChildElementReal(int32_t row, int32_t column, const InfoChildPageUserInterface2* descriptor);

    // ---- slots: the base behaviour, then the same on every child and group frame ----
    HRESULT SetOptimCPUReal(uint32_t mode) override;
    HRESULT UpdateGDIInfoForObjectReal(const GDIListUserInterface2* entries, const IndexListUserInterface2* indexes,
                                       int32_t count) override;
    HRESULT DumpDebugListResizedBufferReal() override;
    HRESULT SetTextVarForObjectReal(int32_t index, const char* text) override;
    // Only index 1 (the receiver) reaches the children: index 0 would take them off the page.
    HRESULT SetWindowReal(int32_t index, HWND window) override;
    // Showing the page leaves the cells of hidden rows and columns hidden.
    HRESULT ControlStatObjectShowReal(int32_t index, int32_t value) override;
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled) override;
    HRESULT OnSizeWindow(HWND window, WPARAM wParam, LPARAM lParam, uint64_t time) override;

protected:
    template <class T>
    using CellTable = DynamicBoundsObject<DynamicBoundsObject<T>>;

    // Makes the cell's widget and group frame as its descriptor says. 1 for an empty cell.
    HRESULT CreateCell(uint32_t row, uint32_t column);
    // Destroys the cell's widget and group frame, borrowed or not, and resets its descriptor.
    void DestroyCell(uint32_t row, uint32_t column);
    void DestroyAllCells();
    // Sizes the four cell tables to the description and clears them.
    HRESULT SizeCellTables();
    // Moves every child and group frame to its place in the window's client area.
    HRESULT LayoutCells();
    // The set-up every widget of the page gets: window, parent, receiver, text, processor, look.
    HRESULT SetUpChild(BaseUserInterface& child, HWND receiver, bool visible);
    bool IsCellVisible(uint32_t row, uint32_t column) const;
    uint32_t RowCount() const { return m_children.GetCount(); }
    uint32_t ColumnCount(uint32_t row) const { return m_children.GetElement(row).GetCount(); }
    // Runs the call on every existing child and group frame.
    template <class Call>
    void ForEachWidget(Call call);
    // The one factory of page children: the widget of the cell's kind with the cell's element id as
    // its control id, or null for a kind that makes none (0, 2, 8, and the kinds not built yet,
    // which are logged). Throws what a widget's construction throws.
    static BaseUserInterface* CreateChildWidget(const InfoChildPageUserInterface2& cell, HINSTANCE module);

    CellTable<GroupObjectUserInterface2*> m_group_frames;
    CellTable<BaseUserInterface*> m_children;
    CellTable<uint32_t> m_child_use_counts;
    CellTable<uint32_t> m_group_frame_use_counts;
    InfoPageUserInterface2 m_description;
    ObjectWindowMessage1 m_page_messages;
    uint8_t m_borrowed_child_destroyed = 0;
    // The list notifications, for the pages that hold lists.
    DynamicBoundsObject<UINT> m_list_notifications;
};
