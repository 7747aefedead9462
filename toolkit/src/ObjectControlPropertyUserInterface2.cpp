// The property page: its fixed page of three lists, its windows and the selection changes.
#include "ObjectControlPropertyUserInterface2.h"

#include "CatchAllLog.h"

namespace {

constexpr char PageName[] = "Internal object page user interface for object control property user interface";

struct ListCell
{
    uint32_t m_id;
    float m_width;
    const char* m_name;
    const char* m_caption;
};

// Skins, widget kinds and the selected kind's properties, left to right.
const ListCell g_listCells[ObjectForControlPropertyUserInterface2::WindowSlotCount] = {
    {ObjectForControlPropertyUserInterface2::SkinListId, 110.0f,
     "\xD1\xEF\xE8\xF1\xEE\xEA \xF1\xEA\xE8\xED\xEE\xE2 \xE4\xEB\xFF \xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB",
     "List avaeble skins for program"},
    {ObjectForControlPropertyUserInterface2::ElementListId, 200.0f,
     "\xD1\xEF\xE8\xF1\xEE\xEA \xFD\xEB\xE5\xEC\xE5\xED\xF2\xEE\xE2 \xF3\xEF\xF0\xE0\xE2\xEB\xE5\xED\xE8\xFF",
     "List for elements user control"},
    {ObjectForControlPropertyUserInterface2::PropertyListId, 1.0f,
     "\xD1\xEF\xE8\xF1\xEE\xEA \xF1\xE2\xEE\xE9\xF1\xF2\xE2 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 "
     "\xF3\xEF\xF0\xE0\xE2\xEB\xE5\xED\xE8\xFF",
     "List for property selected element user control"},
};

struct ColumnSpec
{
    float m_width;
    const char* m_title;
    int32_t m_id;
    uint32_t m_word;
    uint32_t m_text_format;
};

constexpr uint32_t DefaultTextFormat = 37;

const ColumnSpec g_skinColumns[] = {
    {0.7f, "\xD2\xE8\xEF \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0 \xE0\xF3\xE4\xE8\xEE/\xE2\xE8\xE4\xE5\xEE/\xEF\xF0.",
     0x30000, 75, DefaultTextFormat},
    {1.0f,
     "\xCD\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0, "
     "\xF4\xE0\xEA\xF2\xE8\xF7\xE5\xF1\xEA\xE8 "
     "\xED\xE0\xE7\xE2\xE0\xED\xE8\xE5 \xE4\xF0\xE0\xE9\xE2\xE5\xF0\xE0",
     0x30000, 75, 36},
    {100.0f,
     "\xD1\xF2\xE0\xF2\xF3\xF1 \xF3\xF1\xF2\xF0\xEE\xE9\xF1\xF2\xE2\xE0, \xF1\xE2\xEE\xE1\xEE\xE4\xE5\xED, "
     "\xE8\xF1\xEF\xEE\xEB\xFC\xE7\xF3\xE5\xF2\xF1\xFF, \xED\xE5\xE4\xEE\xF1\xF2\xF3\xEF\xE5\xED",
     0x10000, 76, DefaultTextFormat},
};
const ColumnSpec g_elementColumns[] = {
    {1.0f,
     "\xD2\xE5\xEA\xF1\xF2\xEE\xE2\xFB\xE9 \xE8\xE4\xE5\xED\xF2\xF4\xE8\xEA\xE0\xF2\xEE\xF0 "
     "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0",
     0x30000, 75, DefaultTextFormat},
};
const ColumnSpec g_propertyColumns[] = {
    {400.0f,
     "\xD2\xE5\xEA\xF1\xF2\xEE\xE2\xFB\xE9 \xE8\xE4\xE5\xED\xF2\xE8\xF4\xE8\xEA\xE0\xF2\xEE\xF0 "
     "\xF1\xE2\xEE\xE9\xF1\xF2\xE2\xE0 "
     "\xE2\xFB\xE1\xF0\xE0\xED\xED\xEE\xE3\xEE \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0",
     0x30000, 75, 36},
    {1.0f, "\xCF\xEE\xEB\xE5 \xF3\xEF\xF0\xE0\xE2\xEB\xE5\xED\xE8\xFF \xF1\xE2\xEE\xE9\xF1\xF2\xE2\xEE\xEC",
     0x30000, 75, 36},
};

template <size_t N>
HeaderListUserInterface2 MakeColumns(const ColumnSpec (&specs)[N])
{
    HeaderListUserInterface2 columns;
    if (FAILED(columns.Init(N, 0)))
        throw 240;
    for (uint32_t i = 0; i < N; ++i) {
        InfoHeaderColumnUserInterface2& column = columns.GetElement(i);
        column.m_id = specs[i].m_id;
        column.m_enabled = 1;
        column.m_width = specs[i].m_width;
        column.m_title = specs[i].m_title;
        column.m_word = specs[i].m_word;
        column.m_text_format = specs[i].m_text_format;
    }
    return columns;
}

InfoPageUserInterface2 DescribeThreeLists()
{
    InfoPageUserInterface2 page;
    if (FAILED(page.SetSizeTable(1, ObjectForControlPropertyUserInterface2::WindowSlotCount)))
        throw 240;
    page.m_rows.GetElement(0).m_size = 1.0f;
    for (uint32_t i = 0; i < ObjectForControlPropertyUserInterface2::WindowSlotCount; ++i) {
        const ListCell& list = g_listCells[i];
        page.m_columns.GetElement(i).m_size = list.m_width;
        InfoChildPageUserInterface2& cell = page.m_children.GetElement(0).GetElement(i);
        cell.m_kind = ChildKindList;
        cell.m_element_id = list.m_id;
        cell.m_extra_parameter = list.m_id;
        cell.m_object_name = list.m_name;
        cell.m_caption = list.m_caption;
        cell.m_group_frame = 1;
    }
    return page;
}

const char* SelectionLogText(WPARAM id)
{
    switch (id) {
    case ObjectForControlPropertyUserInterface2::SkinListId:
        return "ObjectForControlPropertyUserInterface2::CompliteStandartMessage::WM_COMMAND::"
               "ID_LIST_PATH_BMP_RESOURCE_OBJECT_CONTROL_USER_INTERFACE";
    case ObjectForControlPropertyUserInterface2::ElementListId:
        return "ObjectForControlPropertyUserInterface2::CompliteStandartMessage::WM_COMMAND::"
               "ID_LIST_ELEMENTS_OBJECT_CONTROL_USER_INTERFACE";
    case ObjectForControlPropertyUserInterface2::PropertyListId:
        return "ObjectForControlPropertyUserInterface2::CompliteStandartMessage::WM_COMMAND::"
               "ID_LIST_PROPERTY_ELEMENTS_OBJECT_CONTROL_USER_INTERFACE";
    default:
        return nullptr;
    }
}

} // namespace

ObjectForControlPropertyUserInterface2::ObjectForControlPropertyUserInterface2(HINSTANCE module)
try : PageObjectUserInterface2({}, 0, 0, PageName, module) {
    m_windows.Fill(nullptr);
    FillCatalogue();
}
CATCH_ALL_RETHROW()

ObjectForControlPropertyUserInterface2::~ObjectForControlPropertyUserInterface2()
{
    try {
        FreeObject();
    }
    CATCH_ALL_LOG()
}

HRESULT ObjectForControlPropertyUserInterface2::UpdatePageReal(const InfoPageUserInterface2*)
{
    try {
        LOG_TEXT("ObjectForControlPropertyUserInterface2::UpdatePageReal::begin");
        const InfoPageUserInterface2 page = DescribeThreeLists();
        const HRESULT built = PageObjectUserInterface2::UpdatePageReal(&page);
        if (FAILED(built))
            return built;
        SetUpList(SkinListId, MakeColumns(g_skinColumns));
        SetUpList(ElementListId, MakeColumns(g_elementColumns));
        SetUpList(PropertyListId, MakeColumns(g_propertyColumns));
        FillChildElementsListWindow();
        FillPropertyListWindow(-1);
        const DynamicString text(m_text);
        return SetTextVarForObject(1, text.GetString());
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectForControlPropertyUserInterface2::SetTextVarForObjectReal(int32_t index, const char* text)
{
    try {
        LOG_TEXT("ObjectForControlPropertyUserInterface2::SetTextVarForObjectReal::begin");
        const HRESULT result = PageObjectUserInterface2::SetTextVarForObjectReal(index, text);
        if (index == 1)
            FillSkinListWindow();
        LOG_TEXT("ObjectForControlPropertyUserInterface2::SetTextVarForObjectReal::end");
        return result;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectForControlPropertyUserInterface2::CompliteStandartMessage(HWND window, UINT message, WPARAM wParam,
                                                                        LPARAM lParam, bool* handled)
{
    if (handled == nullptr)
        return E_FAIL;
    *handled = false;
    try {
        const bool selectionChange = message != 0 && m_list_notifications.GetCount() > ListNotifySelection &&
                                     message == m_list_notifications.GetElement(ListNotifySelection);
        if (!selectionChange)
            return PageObjectUserInterface2::CompliteStandartMessage(window, message, wParam, lParam, handled);
        LOG_TEXT("ObjectForControlPropertyUserInterface2::CompliteStandartMessage::recive change select message");
        const char* text = SelectionLogText(wParam);
        if (text == nullptr)
            return PageObjectUserInterface2::CompliteStandartMessage(window, message, wParam, lParam, handled);
        LOG_TEXT(text);
        *handled = true;
        // The element list holds the kinds in catalogue order: the selected row is the kind.
        if (wParam == ElementListId)
            return FillPropertyListWindow(static_cast<int32_t>(lParam));
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectForControlPropertyUserInterface2::SetWindowReal(int32_t slot, HWND window)
{
    try {
        LOG_TEXT("ObjectForControlPropertyUserInterface2::SetWindowReal::begin");
        if (slot < 0 || slot >= static_cast<int32_t>(WindowSlotCount))
            return E_UNEXPECTED;
        m_windows.GetElement(static_cast<uint32_t>(slot)) = window;
        return PageObjectUserInterface2::SetWindowReal(slot, slot == 0 ? window : m_window);
    }
    CATCH_ALL_RETURN(E_FAIL)
}
