#include "ObjectToolbar1.h"

#include "PageObjectUserInterface2.h"
#include "SetButtonsObjectUserInterface2.h"

#include "CatchAllLog.h"
#include "FunctWorkWithHWND.h"
#include "g_managment_mem.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iterator>
#include <string>

namespace {

const char g_toolbarWindowClass[] = "D.U.R.M.I.X.::ToolbarWindowClass::DURMIX::Harbury 2006";
const char g_defaultProductTag[] = "D.U.R.M.I.X.";
const char* const g_toolbarOperationNames[] = {
    "GWM_RefreshUserInterfaceForButton1Objects_ToolbarObject1,       D.U.R.M.I.X., 27.01.2004-16.38.00",
    "GWM_RefreshStateUsingMultyMonitors_ToobarObject1,               D.U.R.M.I.X., 22.08.2004-13.44.00",
    "GWM_RefreshTextForID_ToobarObject1,                             D.U.R.M.I.X., 23.09.2004-18.08.00",
    "GWM_SetOptimizationCPU_ToobarObject1,                           D.U.R.M.I.X., 26.06.2005-08.00.00",
    "GWM_UpdateSizeWindow_ToobarObject1,                             D.U.R.M.I.X., 21.06.2006-08.00.00",
    "GWM_ShowExtPanel_ToobarObject1,                                 D.U.R.M.I.X., 21.06.2006-09.00.00",
    "GWM_SetMessageHWND_ToobarObject1,                               D.U.R.M.I.X., 24.06.2006-12.00.00",
    "GWM_GetHWND_ToobarObject1,                                      D.U.R.M.I.X., 24.06.2006-13.00.00",
    "GWM_UpdateTextVarForToolbarObject_ToobarObject1,                D.U.R.M.I.X., 24.06.2006-14.00.00",
    "GWM_UpdateStatusButtonForToolbarObject_ToobarObject1,           D.U.R.M.I.X., 28.06.2006-16.00.00",
};
enum Row : int32_t
{
    RowRefreshUserInterfaceForButton1Objects = 0,
    RowRefreshStateUsingMultyMonitors = 1,
    RowRefreshTextForID = 2,
    RowSetOptimizationCPU = 3,
    RowUpdateSizeWindow = 4,
    RowShowExtPanel = 5,
    RowSetMessageHWND = 6,
    RowGetHWND = 7,
    RowUpdateTextVarForToolbarObject = 8,
    RowUpdateStatusButtonForToolbarObject = 9,
};

std::atomic<int32_t> g_send_timeout_ms{ObjectToolbar1::SendTimeoutMs};

constexpr UINT ClockPeriodMs = 1000;
constexpr int CreatedSide = 20;
constexpr uint32_t CaptionField = SetButtonsObjectUserInterface2::FieldCaption;
constexpr float ButtonSide = 40.0f;
constexpr COLORREF CaptionColour = RGB(240, 244, 248);
constexpr uint32_t SideBySide = SetButtonsObjectUserInterface2::OrientationSideBySide;
// Elements that show something and take no clicks.
constexpr int32_t StaticState = SetButtonsObjectUserInterface2::StatePassive | SetButtonsObjectUserInterface2::StateNoLight |
                                SetButtonsObjectUserInterface2::StateNoReference;

// One button of a row: its picture, glass and stencil, and whether it only shows something.
struct ButtonLook
{
    const char* m_picture;
    const char* m_glass;
    const char* m_stencil;
    bool m_static;
};

// Background, then the hovered, pressed and disabled looks with their stencils.
const char* const g_topSkins[SetButtonsObjectUserInterface2::SkinCount] = {
    "Toolbar_Background.bmp",           "Toolbar_CursorForeground.bmp",
    "Toolbar_PressedState.bmp",         "Toolbar_DisabledState.bmp",
    "Toolbar_StencilCursorForeground.bmp", "Toolbar_StencilPressedForeground.bmp",
    "Toolbar_StencilDisabledForeground.bmp"};
const char* const g_bottomSkins[SetButtonsObjectUserInterface2::SkinCount] = {
    "BottomToolbar_Backgound.bmp",          "GeneralDialogSBCursorForeground.bmp",
    "GeneralDialogSBPressedState.bmp",      "GeneralDialogSBDisabledState.bmp",
    "GeneralDialogSBStencilCursorForeground.bmp", "GeneralDialogSBStencilPressedForeground.bmp",
    "GeneralDialogSBStencilDisabledForeground.bmp"};

constexpr const char* TopGlass = "Toolbar_Glass_Quillmark.bmp";
constexpr const char* TopStencil = "Toolbar_StencilForground.bmp";
constexpr const char* StaticStencil = "Toolbar_StencilForgroundForStatic.bmp";
const ButtonLook g_topButtons[] = {
    {"Toolbar_Autorezation_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_CaptureSelect_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_ViewSelect_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_EventSelect_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_PlaneSelect_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_StaticElements_Quillmark.bmp", TopGlass, TopStencil, false},
    {"SimpleStencil.bmp", nullptr, StaticStencil, true},
    {"SimpleStencil.bmp", nullptr, StaticStencil, true},
    {"SimpleStencil.bmp", nullptr, StaticStencil, true},
    {"Toolbar_Minimaze_Quillmark.bmp", TopGlass, TopStencil, false},
    {"Toolbar_Close_Quillmark.bmp", TopGlass, TopStencil, false},
};
constexpr const char* BottomStencil = "BottomToolbar_Stencil.bmp";
const ButtonLook g_bottomButtons[] = {
    {"BottomToolbar_ControlPanelButton_ForgroundImage.bmp", "BottomToolbar_ControlPanelButton_Glass.bmp", BottomStencil,
     false},
    {"BottomToolbar_StaticText_ForgroundImage.bmp", nullptr, BottomStencil, true},
    {"BottomToolbar_PrintButton_ForgroundImage.bmp", "BottomToolbar_PrintButton_Glass.bmp", BottomStencil, false},
    {"BottomToolbar_ExtendedPanelButton_ForgroundImage.bmp", "BottomToolbar_ExtendedPanelButton_Glass.bmp",
     BottomStencil, false},
};
constexpr int32_t TopCommands = 3000;
constexpr int32_t BottomCommands = 3100;

// The extension panel's placeholder cells: two rows of three framed captions.
constexpr uint32_t PanelRows = 2;
constexpr uint32_t PanelColumns = 3;
const char* const g_panelCaptions[PanelRows][PanelColumns] = {
    {"test text1-1 for toolbar page", "test text1-2 for toolbar page", "test text1-3 for toolbar page"},
    {"test text2-1 for toolbar page", "test text2-2 for toolbar page", "test text2-3 for toolbar page"}};

// The clock shows in the last of the top row's static elements.
constexpr int32_t ClockElement = 8;

template <class T>
DynamicBoundsObject<T> OneEntryList(const T& value)
{
    DynamicBoundsObject<T> list;
    if (FAILED(list.Init(1, 0)))
        throw 240;
    list.GetElement(0) = value;
    return list;
}

template <size_t Count>
ElementListUserInterface2 ButtonElements(const ButtonLook (&looks)[Count], int32_t firstCommand)
{
    ElementListUserInterface2 elements;
    if (FAILED(elements.Init(static_cast<uint32_t>(Count), 0)))
        throw 240;
    for (uint32_t i = 0; i < Count; ++i) {
        InfoElementUserInterface2& element = elements.GetElement(i);
        element.m_header_flag = 1;
        element.Field(SetButtonsObjectUserInterface2::FieldFace).SetText(looks[i].m_picture);
        element.Field(SetButtonsObjectUserInterface2::FieldSecond).SetText(looks[i].m_glass != nullptr ? looks[i].m_glass
                                                                                                       : "");
        element.Field(SetButtonsObjectUserInterface2::FieldThird).SetText(looks[i].m_stencil);
        element.Field(SetButtonsObjectUserInterface2::FieldCaption).SetText("");
        element.Field(SetButtonsObjectUserInterface2::FieldSize).SetFloat(ButtonSide);
        element.Field(InfoElementUserInterface2::FieldCommand).SetInt(firstCommand + static_cast<int32_t>(i));
        element.Field(InfoElementUserInterface2::FieldState).SetInt(looks[i].m_static ? StaticState : 0);
    }
    return elements;
}

// The default skins beside the module.
DynamicString SkinFolder(HINSTANCE module)
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
    std::string folder(path, length);
    folder.resize(folder.find_last_of('\\') + 1);
    folder += "ResourceBMP\\DefaultSchemeKorvane";
    return DynamicString(folder.c_str());
}

InfoPageUserInterface2 PanelDescription()
{
    InfoPageUserInterface2 description;
    if (FAILED(description.SetSizeTable(PanelRows, PanelColumns)))
        throw 240;
    for (uint32_t c = 0; c < PanelColumns; ++c)
        description.m_columns.GetElement(c).m_size = 1.0f / PanelColumns;
    for (uint32_t r = 0; r < PanelRows; ++r) {
        description.m_rows.GetElement(r).m_size = 1.0f / PanelRows;
        for (uint32_t c = 0; c < PanelColumns; ++c) {
            InfoChildPageUserInterface2& cell = description.m_children.GetElement(r).GetElement(c);
            cell.m_kind = ChildKindNothing;
            cell.m_group_frame = 1;
            cell.m_caption = g_panelCaptions[r][c];
            cell.m_element_id = r * PanelColumns + c + 1;
            cell.m_object_name = "placeholder of the toolbar page";
        }
    }
    return description;
}

// The record a row carries, checked by name; null for a missing record or one of another name.
template <class Record>
const Record* NamedRecord(WPARAM wParam, const char* name)
{
    const auto* record = reinterpret_cast<const Record*>(wParam);
    if (record == nullptr || record->CheckNameStruct(name) != S_OK)
        return nullptr;
    return record;
}

} // namespace

ObjectToolbar1::ObjectToolbar1(HWND parent, HWND secondWindow, HINSTANCE module, const char* productTag,
                               int32_t value1, int32_t value2, uint8_t flag)
try : m_parent(parent), m_second_window(secondWindow), m_module(module != nullptr ? module : GetModuleHandleA(nullptr)),
      m_product_tag(productTag != nullptr ? productTag : g_defaultProductTag), m_value1(value1), m_value2(value2),
      m_flag(flag) {
    if (FAILED(m_messages.InitMessages(g_toolbarOperationNames, static_cast<int32_t>(std::size(g_toolbarOperationNames)))) ||
        FAILED(m_index_list.Init(1, 0)))
        throw 240;
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_DBLCLKS | CS_BYTEALIGNCLIENT | CS_BYTEALIGNWINDOW;
    windowClass.lpfnWndProc = &ToolbarWindowProc;
    windowClass.hInstance = m_module;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = g_toolbarWindowClass;
    if (FAILED(RegisterWindowClass(&windowClass)))
        throw 240;
    const bool child = SUCCEEDED(CheckIsWindow(parent));
    const DWORD style = (child ? WS_CHILD : WS_POPUP) | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    if (SafeCreateWindow(0, g_toolbarWindowClass, m_product_tag.GetString(), style, CW_USEDEFAULT, CW_USEDEFAULT,
                         CreatedSide, CreatedSide, child ? parent : nullptr, nullptr, m_module, this,
                         "ObjectToolbar1::ObjectToolbar1") == nullptr)
        throw 240;
}
CATCH_ALL_RETHROW()

ObjectToolbar1::~ObjectToolbar1()
{
    try {
        SafeDestroyWindow(m_window, "ObjectToolbar1::~ObjectToolbar1");
    }
    CATCH_ALL_LOG()
}

void ObjectToolbar1::SetSendTimeoutForTest(int32_t timeoutMs)
{
    g_send_timeout_ms = timeoutMs > 0 ? timeoutMs : SendTimeoutMs;
}

void ObjectToolbar1::FormatClockText(const SYSTEMTIME& time, StaticString<16>& text)
{
    char formatted[16];
    std::snprintf(formatted, sizeof(formatted), "%02u:%02u:%02u", static_cast<unsigned>(time.wHour),
                  static_cast<unsigned>(time.wMinute), static_cast<unsigned>(time.wSecond));
    text = formatted;
}

BaseUserInterface* ObjectToolbar1::SetAt(int32_t index) const
{
    if (index == TopSet)
        return m_top_set.get();
    if (index == BottomSet)
        return m_bottom_set.get();
    return nullptr;
}

template <class Operation>
void ObjectToolbar1::ForEachChild(Operation operation)
{
    for (BaseUserInterface* child : {m_top_set.get(), m_bottom_set.get(), m_panel.get()})
        if (child != nullptr)
            operation(*child);
}

// ---- implementations ----

HRESULT ObjectToolbar1::UpdateStatusButtonForToolbarObjectReal(uint8_t setFlag, int32_t setIndex,
                                                               int32_t elementIndex,
                                                               ElementListUserInterface2* elements)
{
    try {
        BaseUserInterface* set = setIndex < 0 || elementIndex < 0 ? nullptr : SetAt(setIndex);
        if (set == nullptr)
            return E_UNEXPECTED;
        m_index_list.GetElement(0) = elementIndex;
        if (setFlag != 0)
            return set->SetElementInfoFromIndex(elements, &m_index_list, 1);
        return set->GetElementInfoFromIndex(elements, &m_index_list, 1);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::RefreshUserInterfaceForButton1ObjectsReal(const GDIListUserInterface2* entries,
                                                                  int32_t count, const char* text)
{
    try {
        if (entries == nullptr || count == 0)
            return E_UNEXPECTED;
        ForEachChild([&](BaseUserInterface& child) { child.UpdateGDIInfoForObject(entries, nullptr, count); });
        return UpdateTextVarForToolbarObjectReal(1, text);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::RefreshStateUsingMultyMonitorsReal(uint8_t flag)
{
    try {
        m_multi_monitor_flag = flag;
        PostMessageA(m_window, WM_SIZE, 0, 0);
        InvalidateRect(m_window, nullptr, TRUE);
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::RefreshTextForIDReal(const ObjectLanguage1* entries, int32_t count)
{
    try {
        if (entries == nullptr || count < 1)
            return E_UNEXPECTED;
        const uint32_t copied = std::min<uint32_t>(static_cast<uint32_t>(count), LanguageTableSize);
        for (uint32_t i = 0; i < copied; ++i)
            m_language_table.GetElement(i) = entries[i];
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::SetOptimizationCPUReal(uint32_t mode)
{
    try {
        m_processor_mode = mode;
        ForEachChild([mode](BaseUserInterface& child) { child.SetOptimCPU(mode); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::UpdateSizeWindowReal(int32_t x, int32_t y, int32_t a, int32_t b, int32_t c, int32_t d,
                                             int32_t e)
{
    try {
        if (x != -1 && y != -1) {
            m_x = x;
            m_y = y;
        }
        if (a != -1)
            m_a = a;
        if (b != -1 && c != -1) {
            m_b = b;
            m_c = c;
        }
        if (d != -1 && e != -1) {
            m_d = d;
            m_e = e;
        }
        SetWindowPos(m_window, HWND_TOPMOST, m_x, m_y, std::max(m_b, m_d), m_a + m_c, SWP_NOACTIVATE);
        // After the move, so that the panel opens beside the new place.
        LayOutChildren();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::ShowExtPanelReal(uint8_t flag)
{
    try {
        m_panel_shown = flag;
        LayOutChildren();
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::SetMessageHWNDReal(HWND window)
{
    try {
        m_message_window = window;
        ForEachChild([window](BaseUserInterface& child) { child.SetWindow(1, window); });
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HWND ObjectToolbar1::GetHWNDReal()
{
    return m_window;
}

HRESULT ObjectToolbar1::UpdateTextVarForToolbarObjectReal(int32_t index, const char* text)
{
    try {
        if (index < 0 || index >= static_cast<int32_t>(TextCount))
            return E_UNEXPECTED;
        m_texts.GetElement(static_cast<uint32_t>(index)) = text;
        return S_OK;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- public operations ----

HRESULT ObjectToolbar1::SendOperation(uint32_t row, WPARAM wParam, LPARAM lParam, const char* label)
{
    try {
        const UINT message = m_messages.GetMessageFromIndex(row);
        HWND window = m_window;
        // The window's own thread must not wait on itself.
        if (SUCCEEDED(CheckIsWindow(window)) && GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
            return RunOperation(static_cast<int32_t>(row), wParam, lParam);
        HRESULT answer = E_FAIL;
        if (FAILED(m_send_guard.Send(window, message, wParam, lParam, g_send_timeout_ms.load(), label,
                                     m_blocking_send != 0, &answer)))
            return E_FAIL;
        return answer;
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::UpdateStatusButtonForToolbarObject(uint8_t setFlag, int32_t setIndex, int32_t elementIndex,
                                                           ElementListUserInterface2* elements)
{
    MessageInfoUpdateStatusButtonForToolbarObject record;
    record.m_set_flag = setFlag;
    record.m_set_index = setIndex;
    record.m_element_index = elementIndex;
    record.m_elements = elements;
    return SendOperation(RowUpdateStatusButtonForToolbarObject, reinterpret_cast<WPARAM>(&record), 0,
                         "ObjectToolbar1::UpdateStatusButtonForToolbarObject");
}

HRESULT ObjectToolbar1::RefreshUserInterfaceForButton1Objects(const GDIListUserInterface2* entries, int32_t count,
                                                              const char* text)
{
    MessageInfoRefreshUserInterfaceForButton1Objects record;
    record.m_entries = entries;
    record.m_count = count;
    record.m_text = text;
    return SendOperation(RowRefreshUserInterfaceForButton1Objects, reinterpret_cast<WPARAM>(&record), 0,
                         "ObjectToolbar1::RefreshUserInterfaceForButton1Objects");
}

HRESULT ObjectToolbar1::RefreshStateUsingMultyMonitors(uint8_t flag)
{
    return SendOperation(RowRefreshStateUsingMultyMonitors, flag, 0, "ObjectToolbar1::RefreshStateUsingMultyMonitors");
}

HRESULT ObjectToolbar1::RefreshTextForID(const ObjectLanguage1* entries, int32_t count)
{
    return SendOperation(RowRefreshTextForID, reinterpret_cast<WPARAM>(entries), static_cast<LPARAM>(count),
                         "ObjectToolbar1::RefreshTextForID");
}

HRESULT ObjectToolbar1::SetOptimizationCPU(uint32_t mode)
{
    return SendOperation(RowSetOptimizationCPU, mode, 0, "ObjectToolbar1::SetOptimizationCPU");
}

HRESULT ObjectToolbar1::UpdateSizeWindow(int32_t x, int32_t y, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e)
{
    MessageInfoGeneralForToolbarObject record;
    record.m_x = x;
    record.m_y = y;
    record.m_a = a;
    record.m_b = b;
    record.m_c = c;
    record.m_d = d;
    record.m_e = e;
    return SendOperation(RowUpdateSizeWindow, reinterpret_cast<WPARAM>(&record), 0, "ObjectToolbar1::UpdateSizeWindow");
}

HRESULT ObjectToolbar1::ShowExtPanel(uint8_t flag)
{
    return SendOperation(RowShowExtPanel, flag, 0, "ObjectToolbar1::ShowExtPanel");
}

HRESULT ObjectToolbar1::SetMessageHWND(HWND window)
{
    return SendOperation(RowSetMessageHWND, reinterpret_cast<WPARAM>(window), 0, "ObjectToolbar1::SetMessageHWND");
}

HWND ObjectToolbar1::GetHWND()
{
    HWND window = nullptr;
    if (FAILED(SendOperation(RowGetHWND, reinterpret_cast<WPARAM>(&window), 0, "ObjectToolbar1::GetHWND")))
        return nullptr;
    return window;
}

HRESULT ObjectToolbar1::UpdateTextVarForToolbarObject(int32_t index, const char* text)
{
    MessageInfoUpdateTextVarForToolbarObject record;
    record.m_index = index;
    record.m_text = text;
    return SendOperation(RowUpdateTextVarForToolbarObject, reinterpret_cast<WPARAM>(&record), 0,
                         "ObjectToolbar1::UpdateTextVarForToolbarObject");
}

// ---- dispatch ----

HRESULT ObjectToolbar1::CompliteStandartMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, bool* handled)
{
    try {
        if (handled == nullptr)
            return E_UNEXPECTED;
        if (*handled)
            return S_FALSE;
        const int32_t row = m_messages.GetIndexFromMessage(message);
        if (row < 0)
            return S_FALSE;
        *handled = true;
        return RunOperation(row, wParam, lParam);
    }
    CATCH_ALL_RETURN(E_FAIL)
}

HRESULT ObjectToolbar1::RunOperation(int32_t row, WPARAM wParam, LPARAM lParam)
{
    try {
        switch (row) {
        case RowUpdateStatusButtonForToolbarObject: {
            const auto* record = NamedRecord<MessageInfoUpdateStatusButtonForToolbarObject>(
                wParam, "MessageInfoUpdateStatusButtonForToolbarObject");
            if (record == nullptr)
                return E_UNEXPECTED;
            return UpdateStatusButtonForToolbarObjectReal(record->m_set_flag, record->m_set_index,
                                                          record->m_element_index, record->m_elements);
        }
        case RowRefreshUserInterfaceForButton1Objects: {
            const auto* record = NamedRecord<MessageInfoRefreshUserInterfaceForButton1Objects>(
                wParam, "MessageInfoRefreshUserInterfaceForButton1Objects");
            if (record == nullptr)
                return E_UNEXPECTED;
            return RefreshUserInterfaceForButton1ObjectsReal(record->m_entries, record->m_count, record->m_text);
        }
        case RowRefreshStateUsingMultyMonitors:
            return RefreshStateUsingMultyMonitorsReal(static_cast<uint8_t>(wParam));
        case RowRefreshTextForID:
            return RefreshTextForIDReal(reinterpret_cast<const ObjectLanguage1*>(wParam), static_cast<int32_t>(lParam));
        case RowSetOptimizationCPU:
            return SetOptimizationCPUReal(static_cast<uint32_t>(wParam));
        case RowUpdateSizeWindow: {
            const auto* record =
                NamedRecord<MessageInfoGeneralForToolbarObject>(wParam, "MessageInfoGeneralForToolbarObject");
            if (record == nullptr)
                return E_UNEXPECTED;
            return UpdateSizeWindowReal(record->m_x, record->m_y, record->m_a, record->m_b, record->m_c, record->m_d,
                                        record->m_e);
        }
        case RowShowExtPanel:
            return ShowExtPanelReal(static_cast<uint8_t>(wParam));
        case RowSetMessageHWND:
            return SetMessageHWNDReal(reinterpret_cast<HWND>(wParam));
        case RowGetHWND: {
            auto* result = reinterpret_cast<HWND*>(wParam);
            if (result == nullptr)
                return E_UNEXPECTED;
            *result = GetHWNDReal();
            return S_OK;
        }
        case RowUpdateTextVarForToolbarObject: {
            const auto* record = NamedRecord<MessageInfoUpdateTextVarForToolbarObject>(
                wParam, "MessageInfoUpdateTextVarForToolbarObject");
            if (record == nullptr)
                return E_UNEXPECTED;
            return UpdateTextVarForToolbarObjectReal(record->m_index, record->m_text);
        }
        default:
            return S_FALSE;
        }
    }
    CATCH_ALL_RETURN(E_FAIL)
}

// ---- window ----

LRESULT CALLBACK ObjectToolbar1::ToolbarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    try {
        if (message == WM_CREATE) {
            const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
            if (creation == nullptr || creation->lpCreateParams == nullptr)
                return -1;
            static_cast<ObjectToolbar1*>(creation->lpCreateParams)->OnCreate(window);
            return 0;
        }
        auto* toolbar = reinterpret_cast<ObjectToolbar1*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (toolbar == nullptr)
            return DefWindowProcA(window, message, wParam, lParam);
        return toolbar->HandleWindowMessage(window, message, wParam, lParam);
    }
    catch (...) {
        LogExceptionAt(__FILE__, __LINE__);
        return 0;
    }
}

LRESULT ObjectToolbar1::RunGuardedOperation(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    TimedSendRequest* request = m_send_guard.BeginOperation(wParam, lParam);
    if (request == nullptr)
        return E_FAIL;
    const HRESULT result = RunOperation(m_messages.GetIndexFromMessage(message), request->m_wparam, request->m_lparam);
    m_send_guard.EndOperation(request, result);
    return result;
}

LRESULT ObjectToolbar1::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    // Operation messages come only through the guard, whose requests name the real records.
    if (message != WM_TIMER && m_messages.GetIndexFromMessage(message) >= 0)
        return RunGuardedOperation(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        OnDestroy(window);
        return 0;
    case WM_SIZE:
        LayOutChildren();
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(wParam != FALSE);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_PAINT:
        OnPaint(window);
        return 0;
    case WM_NCPAINT:
        return 0;
    case WM_TIMER:
        OnTimer();
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

void ObjectToolbar1::OnCreate(HWND window)
{
    SetWindowUserData(window, reinterpret_cast<LONG_PTR>(this), "ObjectToolbar1::WM_CREATE");
    m_window = window;
    const DynamicString skins = SkinFolder(m_module);
    m_top_set = CreateButtonSet(ButtonElements(g_topButtons, TopCommands), g_topSkins,
                                "object top set buttons for toolbar", skins);
    m_bottom_set = CreateButtonSet(ButtonElements(g_bottomButtons, BottomCommands), g_bottomSkins,
                                   "object set buttons for bottom toolbar object", skins);
    m_panel = CreatePanel(skins);
    LayOutChildren();
    m_timer_id = SetTimer(window, reinterpret_cast<UINT_PTR>(this), ClockPeriodMs, nullptr);
}

// The sets and the panel go with the window, so that none outlives the parent it was given.
void ObjectToolbar1::OnDestroy(HWND window)
{
    if (m_timer_id != 0) {
        KillTimer(window, m_timer_id);
        m_timer_id = 0;
    }
    for (std::unique_ptr<BaseUserInterface>* child : {&m_top_set, &m_bottom_set, &m_panel}) {
        if (*child == nullptr)
            continue;
        (*child)->FreeObject();
        child->reset();
    }
    ClearWindowUserData(window, "ObjectToolbar1::WM_DESTROY");
    m_window = nullptr;
}

void ObjectToolbar1::LayOutChildren()
{
    if (FAILED(CheckIsWindow(m_window)))
        return;
    if (m_top_set != nullptr)
        m_top_set->MoveObject(0, 0, m_d, m_a);
    if (m_bottom_set != nullptr)
        m_bottom_set->MoveObject(0, m_a, m_b, m_c);
    if (m_panel != nullptr) {
        // The panel opens beside the toolbar, as wide as e.
        RECT toolbar = {};
        GetWindowRect(m_window, &toolbar);
        m_panel->MoveObject(toolbar.right, toolbar.top, m_e, m_a + m_c);
        m_panel->ControlStatObjectShow(BaseUserInterface::StateShown, m_panel_shown != 0 ? 1 : 0);
    }
}

void ObjectToolbar1::OnShowWindow(bool shown)
{
    for (BaseUserInterface* set : {m_top_set.get(), m_bottom_set.get()}) {
        if (set == nullptr)
            continue;
        set->ControlStatObjectShow(BaseUserInterface::StateShown, shown ? 1 : 0);
        set->ControlStatObjectShow(BaseUserInterface::StateFrozen, shown ? 0 : 1);
    }
}

void ObjectToolbar1::OnPaint(HWND window)
{
    RECT update = {};
    if (!GetUpdateRect(window, &update, FALSE) || IsRectEmpty(&update))
        return;
    PAINTSTRUCT paint = {};
    HDC context = BeginPaint(window, &paint);
    AutoGDIObject brush(CreateSolidBrush(RGB(192, 192, 192)));
    FillRect(context, &paint.rcPaint, static_cast<HBRUSH>(brush.Get()));
    EndPaint(window, &paint);
}

std::unique_ptr<BaseUserInterface> ObjectToolbar1::CreateButtonSet(const ElementListUserInterface2& elements,
                                                                   const char* const* skins,
                                                                   const char* name, const DynamicString& folder)
{
    try {
        const auto count = static_cast<int32_t>(elements.GetCount());
        auto set = std::make_unique<SetButtonsObjectUserInterface2>(elements, count, SideBySide, name, m_module);
        if (FAILED(set->CreateObject()))
            return nullptr;
        // The mode travels as a message to the widget's window, so it is told once that exists.
        set->SetOptimCPU(m_processor_mode);
        set->SetWindow(0, m_window);
        set->SetWindow(1, m_window);
        set->SetTextVarForObject(1, folder.GetString());
        InfoGDIUserInterface2 caption;
        caption.m_color = CaptionColour;
        const GDIListUserInterface2 fonts = OneEntryList(caption);
        const IndexListUserInterface2 fontIndexes = OneEntryList(static_cast<int32_t>(SetButtonsObjectUserInterface2::CaptionEntry));
        set->UpdateGDIInfoForObject(&fonts, &fontIndexes, 1);
        TypedValueListUserInterface2 values;
        IndexListUserInterface2 indexes;
        constexpr int32_t SkinCount = SetButtonsObjectUserInterface2::SkinCount;
        if (FAILED(values.Init(SkinCount, 0)) || FAILED(indexes.Init(SkinCount, 0)))
            return nullptr;
        for (int32_t i = 0; i < SkinCount; ++i) {
            values.GetElement(i).SetText(skins[i]);
            indexes.GetElement(i) = i;
        }
        set->UpdateGeneralInfoForObject(0, &values, &indexes, SkinCount);
        // Every button's bitmaps are loaded from the folder now that it is known.
        set->SetElementInfoFromIndex(nullptr, nullptr, 0);
        set->ControlStatObjectShow(BaseUserInterface::StateShown, 1);
        return set;
    }
    CATCH_ALL_RETURN(nullptr)
}

// The panel opens beside the toolbar, as a window of its own.
std::unique_ptr<BaseUserInterface> ObjectToolbar1::CreatePanel(const DynamicString& folder)
{
    try {
        auto panel = std::make_unique<PageObjectUserInterface2>(ElementListUserInterface2(), 0, 0,
                                                                "page for right panel toolbar", m_module);
        if (FAILED(panel->CreateObject()))
            return nullptr;
        panel->SetOptimCPU(m_processor_mode);
        panel->SetWindow(1, m_window);
        panel->SetTextVarForObject(1, folder.GetString());
        const InfoPageUserInterface2 description = PanelDescription();
        panel->UpdatePage(&description);
        return panel;
    }
    CATCH_ALL_RETURN(nullptr)
}

// The clock text goes into the caption of the top set's clock element.
void ObjectToolbar1::OnTimer()
{
    if (m_top_set == nullptr)
        return;
    SYSTEMTIME now = {};
    GetLocalTime(&now);
    StaticString<16> text;
    FormatClockText(now, text);
    ElementListUserInterface2 elements;
    if (FAILED(elements.Init(1, 0)))
        return;
    m_index_list.GetElement(0) = ClockElement;
    if (FAILED(m_top_set->GetElementInfoFromIndex(&elements, &m_index_list, 1)))
        return;
    elements.GetElement(0).Field(CaptionField).SetText(text.GetString());
    m_top_set->SetElementInfoFromIndex(&elements, &m_index_list, 1);
}
