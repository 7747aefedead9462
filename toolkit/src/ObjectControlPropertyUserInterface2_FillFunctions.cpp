// The property page's catalogue of widget kinds and properties, and the filling of its lists.
#include "ObjectControlPropertyUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctConvertToText.h"
#include "FunctWorkWithFiles.h"

#include <iterator>

namespace {

// An identifier with 2 in bits 16-23 is a colour, with 3 a font and colour (the low 16 bits are the
// entry of the widget's table); a small one is an index of the typed property table.
struct PropertyEntry
{
    uint32_t m_id;
    // Red in the low byte.
    uint32_t m_default;
    const char* m_name;
};

// Display texts are Windows-1251 bytes.
const char* const g_kindNames[ObjectForControlPropertyUserInterface2::KindCount] = {
    // common to every widget
    "\xCE\xE1\xF9\xE8\xE5 \xF1\xE2\xEE\xE9\xF1\xF2\xE2\xE0 \xE4\xEB\xFF \xE2\xF1\xE5\xF5 "
    "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xEE\xE2",
    // trackbar
    "\xD2\xF0\xE0\xEA\xE1\xE0\xF0",
    // time control
    "\xCA\xEE\xED\xF2\xF0\xEE\xEB\xFC \xE2\xF0\xE5\xEC\xE5\xED\xE8",
    // action schedule
    "\xD0\xE0\xF1\xEF\xE8\xF1\xE0\xED\xE8\xE5 \xE4\xE5\xE9\xF1\xF2\xE2\xE8\xE9",
    // process status
    "\xD1\xF2\xE0\xF2\xF3\xF1 \xEF\xF0\xEE\xF6\xE5\xF1\xF1\xE0",
    // button
    "\xCA\xED\xEE\xEF\xEA\xE0",
    // graph
    "\xC3\xF0\xE0\xF4\xE8\xEA",
    // list widget
    "\xCB\xE8\xED\xE5\xE9\xED\xFB\xE9 \xF1\xEF\xE8\xF1\xEE\xEA",
    // group
    "\xC3\xF0\xF3\xEF\xEF\xE8\xF0\xF3\xFE\xF9\xE8\xE9 \xFD\xEB\xE5\xEC\xE5\xED\xF2",
    // histogram
    "\xC3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xE0",
};

const PropertyEntry g_commonProperties[] = {
    // main window background
    {0x20000, 0x646464, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xEE\xF1\xED\xEE\xE2\xED\xEE\xE3\xEE \xEE\xEA\xED\xE0"},
    // main window border
    {0x20001, 0xC8C8C8, "\xD6\xE2\xE5\xF2 \xE1\xEE\xF0\xE4\xFE\xF0\xE0 \xEE\xF1\xED\xEE\xE2\xED\xEE\xE3\xEE "
     "\xEE\xEA\xED\xE0"},
    // status window background
    {0x20002, 0xDCDCDC, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xF1\xF2\xE0\xF2\xF3\xF1\xED\xEE\xE3\xEE \xEE\xEA\xED\xE0"},
    // disabled element
    {0x20003, 0xC83232, "\xD6\xE2\xE5\xF2 \xE7\xE0\xE1\xEB\xEE\xEA\xE8\xF0\xEE\xE2\xE0\xED\xED\xEE\xE3\xEE "
     "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0"},
    // pressed element
    {0x20004, 0x646432, "\xD6\xE2\xE5\xF2 \xED\xE0\xE6\xE0\xF2\xEE\xE3\xEE \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0"},
    // selected element
    {0x20007, 0xDCDC32, "\xD6\xE2\xE5\xF2 \xE2\xFB\xE1\xF0\xE0\xED\xED\xEE\xE3\xEE \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0"},
    // focus on the selected element
    {0x20008, 0xC89696, "\xD6\xE2\xE5\xF2 \xF4\xEE\xEA\xF3\xF1\xE0 \xED\xE0 \xE2\xFB\xE1\xF0\xE0\xED\xED\xEE\xEC "
     "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xE5"},
    {0x20036, 0xFAC8C8, "\xD6\xE2\xE5\xF2 \xEA\xF3\xF0\xF1\xEE\xF0\xE0"}, // cursor
};

const PropertyEntry g_listProperties[] = {
    {0x20006, 0, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"}, // list background
    // header background
    {0x20021, 0, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xE7\xE0\xE3\xEE\xEB\xEE\xE2\xEA\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // header foreground
    {0x20022, 0, "\xD6\xE2\xE5\xF2 \xEF\xE5\xF0\xE5\xE4\xED\xE5\xE3\xEE \xEF\xEB\xE0\xED\xE0 "
     "\xE7\xE0\xE3\xEE\xEB\xEE\xE2\xEA\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // header border
    {0x20023, 0, "\xD6\xE2\xE5\xF2 \xEE\xEA\xE0\xED\xF2\xEE\xE2\xEA\xE8 \xE7\xE0\xE3\xEE\xEB\xEE\xE2\xEA\xE0 "
     "\xF1\xEF\xE8\xF1\xEA\xE0"},
    // row background
    {0x20024, 0, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // row foreground
    {0x20025, 0, "\xD6\xE2\xE5\xF2 \xEF\xE5\xF0\xE5\xE4\xED\xE5\xE3\xEE \xEF\xEB\xE0\xED\xE0 "
     "\xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // row border
    {0x20026, 0, "\xD6\xE2\xE5\xF2 \xEE\xEA\xE0\xED\xF2\xEE\xE2\xEA\xE8 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 "
     "\xF1\xEF\xE8\xF1\xEA\xE0"},
    // scroll-bar background
    {0x20027, 0, "\xD6\xE2\xE5\xF2 \xF4\xEE\xED\xE0 \xEF\xEE\xEB\xEE\xF1\xFB \xEF\xF0\xEE\xEA\xF0\xF3\xF2\xEA\xE8 "
     "\xF1\xEF\xE8\xF1\xEA\xE0"},
    // scroll-bar foreground
    {0x20028, 0, "\xD6\xE2\xE5\xF2 \xEF\xE5\xF0\xE5\xE4\xED\xE5\xE3\xEE \xEF\xEB\xE0\xED\xE0 \xEF\xEE\xEB\xEE\xF1\xFB"
     " \xEF\xF0\xEE\xEA\xF0\xF3\xF2\xEA\xE8 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // scroll-bar border
    {0x20029, 0, "\xD6\xE2\xE5\xF2 \xEE\xEA\xE0\xED\xF2\xEE\xE2\xEA\xE8 \xEF\xEE\xEB\xEE\xF1\xFB "
     "\xEF\xF0\xEE\xEA\xF0\xF3\xF2\xEA\xE8 \xF1\xEF\xE8\xF1\xEA\xE0"},
    {0x30081, 0, "\xD8\xF0\xE8\xF4\xF2 \xE8 \xF6\xE2\xE5\xF2 \xF1\xEF\xE8\xF1\xEA\xE0"}, // font and colour of the list
    // font and colour of the edited row
    {0x30083, 0, "\xD8\xF0\xE8\xF4\xF2 \xE8 \xF6\xE2\xE5\xF2 \xF0\xE5\xE4\xE0\xEA\xF2\xE8\xF0\xF3\xE5\xEC\xEE\xE3\xEE"
     " \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 \xF1\xEF\xE8\xF1\xEA\xE0"},
    // font and colour of the header
    {0x30087, 0, "\xD8\xF0\xE8\xF4\xF2 \xE8 \xF6\xE2\xE5\xF2 \xE7\xE0\xE3\xEE\xEB\xEE\xE2\xEA\xE0 "
     "\xF1\xEF\xE8\xF1\xEA\xE0"},
    // font and colour of a row
    {0x30088, 0, "\xD8\xF0\xE8\xF4\xF2 \xE8 \xF6\xE2\xE5\xF2 \xFD\xEB\xE5\xEC\xE5\xED\xF2\xE0 "
     "\xF1\xEF\xE8\xF1\xEA\xE0"},
    {20, 0, "OFFSET_HEADER_ENABLE_RECT2_BOOL_LIST_WINDOW"},
    {21, 0, "OFFSET_HEADER_ROUND_RECT_BOOL_LIST_WINDOW"},
    {32, 0, "OFFSET_ELEMENT_ROUND_RECT_BOOL_LIST_WINDOW"},
    {33, 0, "OFFSET_ELEMENT_KOEFF_ROUND_RECT_FLOAT_LIST_WINDOW"},
    {34, 0, "OFFSET_ELEMENT_KOEFF_BLURE_SBACKGROUND_FLOAT_LIST_WINDOW"},
    {35, 0, "OFFSET_ELEMENT_KOEFF_BLURE_SFOREGROUND_FLOAT_LIST_WINDOW"},
    {36, 0, "OFFSET_ELEMENT_KOEFF_BLURE_FOREGROUND_FLOAT_LIST_WINDOW"},
    {53, 0, "OFFSET_SCROLLBAR_ROUND_RECT_BOOL_LIST_WINDOW"},
};

const PropertyEntry g_histogramProperties[] = {
    // column border
    {0x20044, 0, "  \xD6\xE2\xE5\xF2 \xE1\xEE\xF0\xE4\xFE\xF0\xE0 \xF1\xF2\xEE\xEB\xE1\xF6\xE0 "
     "\xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // column
    {0x20045, 0, "  \xD6\xE2\xE5\xF2 \xF1\xF2\xEE\xEB\xE1\xF6\xE0 \xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // column lower limit
    {0x20046, 0, "  \xD6\xE2\xE5\xF2 \xED\xE8\xE6\xED\xE5\xE3\xEE \xEF\xF0\xE5\xE4\xE5\xEB\xE0 "
     "\xF1\xF2\xEE\xEB\xE1\xF6\xE0 \xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // column upper limit
    {0x20047, 0, "  \xD6\xE2\xE5\xF2 \xE2\xE5\xF0\xF5\xED\xE5\xE3\xEE \xEF\xF0\xE5\xE4\xE5\xEB\xE0 "
     "\xF1\xF2\xEE\xEB\xE1\xF6\xE0 \xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // slider border
    {0x20048, 0, "  \xD6\xE2\xE5\xF2 \xE1\xEE\xF0\xE4\xFE\xF0\xE0 \xF1\xEB\xE0\xE9\xE4\xE5\xF0\xE0 "
     "\xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // slider
    {0x20049, 0, "  \xD6\xE2\xE5\xF2 \xF1\xEB\xE0\xE9\xE4\xE5\xF0\xE0 \xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // tick border
    {0x2004A, 0, "  \xD6\xE2\xE5\xF2 \xE1\xEE\xF0\xE4\xFE\xF0\xE0 \xE7\xE0\xF1\xE5\xF7\xEA\xE8 "
     "\xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
    // tick
    {0x2004B, 0, "  \xD6\xE2\xE5\xF2 \xE7\xE0\xF1\xE5\xF7\xEA\xE8 \xE3\xE8\xF1\xF2\xEE\xE3\xF0\xE0\xEC\xEC\xFB"},
};

struct KindProperties
{
    uint32_t m_kind;
    const PropertyEntry* m_entries;
    uint32_t m_count;
};

const KindProperties g_kindProperties[] = {
    {0, g_commonProperties, static_cast<uint32_t>(std::size(g_commonProperties))},
    {7, g_listProperties, static_cast<uint32_t>(std::size(g_listProperties))},
    {9, g_histogramProperties, static_cast<uint32_t>(std::size(g_histogramProperties))},
};

constexpr uint32_t HeaderShownProperty = 13;
constexpr DWORD FolderAttribute = FILE_ATTRIBUTE_DIRECTORY;

HRESULT FillProperties(InfoElementKindControlUserInterface2& kind, const KindProperties& source)
{
    if (FAILED(kind.m_properties.Init(source.m_count, 0)))
        return E_FAIL;
    for (uint32_t i = 0; i < source.m_count; ++i) {
        InfoPropertyControlUserInterface2& property = kind.m_properties.GetElement(i);
        property.m_typed_value.SetInt(static_cast<int32_t>(source.m_entries[i].m_id));
        property.m_value.m_int = static_cast<int32_t>(source.m_entries[i].m_default);
        property.m_name = source.m_entries[i].m_name;
    }
    return S_OK;
}

// Rows whose first cell shows each name.
template <class NameAt>
RowListUserInterface2 RowsOfNames(uint32_t count, NameAt nameAt)
{
    RowListUserInterface2 rows;
    if (FAILED(rows.Init(count, 0)))
        throw 240;
    for (uint32_t i = 0; i < count; ++i)
        rows.GetElement(i).m_cells.GetElement(0).m_text = nameAt(i);
    return rows;
}

HRESULT AppendRows(ListObjectUserInterface2& list, RowListUserInterface2& rows)
{
    if (rows.GetCount() == 0)
        return S_OK;
    return list.UpdateElementsListReal(ListObjectUserInterface2::CodeInsert, -1,
                                       static_cast<int32_t>(rows.GetCount()), &rows);
}

HRESULT EmptyList(ListObjectUserInterface2& list)
{
    return list.UpdateElementsListReal(ListObjectUserInterface2::CodeDelete, 0, -1, nullptr);
}

} // namespace

void ObjectForControlPropertyUserInterface2::FillCatalogue()
{
    if (FAILED(m_catalogue.Init(KindCount, 0)))
        throw 240;
    for (uint32_t i = 0; i < KindCount; ++i) {
        InfoElementKindControlUserInterface2& kind = m_catalogue.GetElement(i);
        kind.m_kind = i;
        kind.m_name = g_kindNames[i];
    }
    for (const KindProperties& properties : g_kindProperties)
        if (FAILED(FillProperties(m_catalogue.GetElement(properties.m_kind), properties)))
            throw 240;
}

template <class Fill>
HRESULT ObjectForControlPropertyUserInterface2::FillList(uint32_t id, Fill fill)
{
    BaseUserInterface* widget = nullptr;
    if (FAILED(GetChildObjectUserInterfaceReal(id, &widget, ChildKindList)) || widget == nullptr)
        return S_FALSE;
    auto* list = dynamic_cast<ListObjectUserInterface2*>(widget);
    HRESULT result = S_FALSE;
    try {
        if (list != nullptr)
            result = fill(*list);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        result = E_FAIL;
    }
    FreeChildObjectUserInterfaceReal(widget, ChildKindList);
    return result;
}

HRESULT ObjectForControlPropertyUserInterface2::SetUpList(uint32_t id, const HeaderListUserInterface2& columns)
{
    return FillList(id, [&columns](ListObjectUserInterface2& list) {
        TypedValueListUserInterface2 values;
        IndexListUserInterface2 indexes;
        if (FAILED(FillDefaultPropertyListObject(&values, &indexes)))
            return E_FAIL;
        for (uint32_t i = 0; i < indexes.GetCount(); ++i)
            if (indexes.GetElement(i) == static_cast<int32_t>(HeaderShownProperty))
                values.GetElement(i).SetBool(false);
        list.UpdateGeneralInfoForObjectReal(0, &values, &indexes, static_cast<int32_t>(values.GetCount()));
        return list.UpdateHeaderInfoReal(&columns);
    });
}

HRESULT ObjectForControlPropertyUserInterface2::FillChildElementsListWindow()
{
    try {
        LOG_TEXT("ObjectForControlPropertyUserInterface2::FillChildElementsListWindow::begin");
        return FillList(ElementListId, [this](ListObjectUserInterface2& list) {
            EmptyList(list);
            RowListUserInterface2 rows =
                RowsOfNames(m_catalogue.GetCount(), [this](uint32_t i) { return m_catalogue.GetElement(i).m_name; });
            return AppendRows(list, rows);
        });
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectForControlPropertyUserInterface2::FillPropertyListWindow(int32_t kind)
{
    try {
        return FillList(PropertyListId, [this, kind](ListObjectUserInterface2& list) {
            EmptyList(list);
            if (kind < 0 || kind >= static_cast<int32_t>(m_catalogue.GetCount()))
                return S_OK;
            const auto& properties = m_catalogue.GetElement(static_cast<uint32_t>(kind)).m_properties;
            RowListUserInterface2 rows = RowsOfNames(
                properties.GetCount(), [&properties](uint32_t i) { return properties.GetElement(i).m_name; });
            return AppendRows(list, rows);
        });
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// The text is the current skin folder: its siblings are the skins to choose from.
HRESULT ObjectForControlPropertyUserInterface2::FillSkinListWindow()
{
    try {
        return FillList(SkinListId, [this](ListObjectUserInterface2& list) {
            EmptyList(list);
            DynamicString folder, name;
            SplitFullPathToFolderAndName(m_text, folder, name);
            if (folder.GetLenString() == 0 || name.GetLenString() == 0)
                return S_OK;
            DynamicBoundsObject<DynamicString> names;
            DynamicBoundsObject<uint32_t> attributes;
            if (FAILED(GetListFilesInFolder(folder, "*.*", names, FolderAttribute, attributes)))
                return E_FAIL;
            HRESULT result = S_OK;
            for (uint32_t i = 0; i < names.GetCount(); ++i) {
                RowListUserInterface2 row = RowsOfNames(1, [&names, i](uint32_t) { return names.GetElement(i); });
                result = AppendRows(list, row);
            }
            return result;
        });
    }
    CATCH_ALL_RETURN(E_FAIL)
}
