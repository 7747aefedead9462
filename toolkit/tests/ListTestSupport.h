// A list widget on the test thread with its state open to the tests, and helpers to fill rows and
// read notifications.
#pragma once

#include "ListDefaultSettings.h"
#include "ListObjectUserInterface2.h"
#include "TestWidget.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

class TestList : public ListObjectUserInterface2
{
public:
    TestList() : ListObjectUserInterface2({}, 0, 0, "TestList", nullptr, 9) {}

    using ListObjectUserInterface2::CellHit;
    using ListObjectUserInterface2::m_built_lines;
    using ListObjectUserInterface2::HitTest;
    using ListObjectUserInterface2::m_column_pixels;
    using ListObjectUserInterface2::m_edit_mode;
    using ListObjectUserInterface2::m_caret;
    using ListObjectUserInterface2::m_first_visible;
    using ListObjectUserInterface2::m_focused_column;
    using ListObjectUserInterface2::m_header;
    using ListObjectUserInterface2::m_hovered_line;
    using ListObjectUserInterface2::m_lines;
    using ListObjectUserInterface2::m_list_messages;
    using ListObjectUserInterface2::m_rows;
    using ListObjectUserInterface2::m_scroll_needed;
    using ListObjectUserInterface2::m_selected;
    using ListObjectUserInterface2::m_whole_lines;
    using ListObjectUserInterface2::ScrollPartAt;
    using ListObjectUserInterface2::SliderTop;
    using BaseUserInterface::m_actions;
    using BaseUserInterface::m_array_general_buffers;
    using BaseUserInterface::m_property_tables;
    using BaseUserInterface::m_window;
};

// A row whose first cell's text is its name; the other cells are plain.
inline InfoRowListUserInterface2 MakeRow(const std::string& name, uint32_t firstCellWord = 0)
{
    InfoRowListUserInterface2 row;
    row.m_cells.GetElement(0).m_text = name.c_str();
    row.m_cells.GetElement(0).m_cell_word = firstCellWord;
    return row;
}

inline RowListUserInterface2 MakeRows(const std::vector<std::string>& names)
{
    RowListUserInterface2 rows;
    rows.Init(static_cast<uint32_t>(names.size()), 0);
    for (uint32_t i = 0; i < names.size(); ++i)
        rows.GetElement(i) = MakeRow(names[i]);
    return rows;
}

// "r0", "r1", ... "r<count-1>".
inline std::vector<std::string> RowNames(int count, const std::string& prefix = "r")
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

inline std::vector<std::string> FirstCellTexts(const TestList& list)
{
    std::vector<std::string> texts;
    for (uint32_t i = 0; i < list.m_rows.GetCount(); ++i)
        texts.emplace_back(list.m_rows.GetElement(i).m_cells.GetElement(0).m_text.GetString());
    return texts;
}

// One notification the list posted: its index among the nine and its lParam.
struct Notification
{
    int m_index;
    LPARAM m_value;
    bool operator==(const Notification& other) const = default;
};

inline void PrintTo(const Notification& n, std::ostream* out)
{
    *out << "{" << n.m_index << ", " << n.m_value << "}";
}

// A hidden window on the test thread that keeps the registered messages posted to it.
class NotificationRecorder
{
public:
    NotificationRecorder()
    {
        WNDCLASSEXA windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &Procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "KorvaneToolkitTestListNotifications";
        RegisterClassExA(&windowClass);
        m_window = CreateWindowExA(0, windowClass.lpszClassName, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                   windowClass.hInstance, this);
    }
    ~NotificationRecorder() { DestroyWindow(m_window); }
    NotificationRecorder(const NotificationRecorder&) = delete;
    NotificationRecorder& operator=(const NotificationRecorder&) = delete;

    HWND Handle() const { return m_window; }
    // What arrived so far, after the pending messages are dispatched.
    const std::vector<MessageRecorder::Message>& Received()
    {
        PumpPending();
        return m_received;
    }
    void Clear() { m_received.clear(); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        auto* recorder = reinterpret_cast<NotificationRecorder*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        constexpr UINT FirstRegisteredMessage = 0xC000;
        if (recorder != nullptr && message >= FirstRegisteredMessage)
            recorder->m_received.push_back({message, wParam, lParam});
        return DefWindowProcA(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<MessageRecorder::Message> m_received;
};

// A list of 200 x 200 pixels (with the default header of 20 and rows of 40: four whole lines and a
// partial one) whose notifications go to a recorder.
class ListTest : public testing::Test
{
protected:
    void SetUp() override { MakeList(200, 200); }

    void MakeList(int32_t width, int32_t height)
    {
        m_list = std::make_unique<TestList>();
        ASSERT_EQ(m_list->CreateObject(), S_OK);
        ASSERT_EQ(m_list->MoveObject(0, 0, width, height), S_OK);
        ASSERT_EQ(m_list->SetWindow(1, m_recorder.Handle()), S_OK);
        ASSERT_EQ(GetListWindowExternMessages(&m_ids), S_OK);
        PumpPending();
        m_recorder.Clear();
    }

    void Fill(int count)
    {
        RowListUserInterface2 rows = MakeRows(RowNames(count));
        ASSERT_EQ(m_list->UpdateElementsListReal(ListObjectUserInterface2::CodeInsert, -1, count, &rows), S_OK);
        PumpPending();
        m_recorder.Clear();
    }

    int32_t Get(uint32_t kind)
    {
        int32_t value = -7;
        EXPECT_EQ(m_list->UpdateIndexFromTypeReal(ListObjectUserInterface2::ActionGet | kind, &value), S_OK);
        return value;
    }

    HRESULT Set(uint32_t kind, int32_t value)
    {
        return m_list->UpdateIndexFromTypeReal(ListObjectUserInterface2::ActionSet | kind, &value);
    }

    void SetProperty(uint32_t index, float value)
    {
        m_list->m_property_tables.GetElement(0).GetElement(index).SetFloat(value);
        ASSERT_EQ(m_list->RebuildObject(), S_OK);
    }

    // The list's notifications received so far, in order; other messages are left out.
    std::vector<Notification> Notifications()
    {
        std::vector<Notification> found;
        for (const MessageRecorder::Message& message : m_recorder.Received()) {
            for (uint32_t i = 0; i < m_ids.GetCount(); ++i)
                if (message.m_message == m_ids.GetElement(i)) {
                    EXPECT_EQ(message.m_wparam, 9u);
                    found.push_back({static_cast<int>(i), message.m_lparam});
                }
        }
        m_recorder.Clear();
        return found;
    }

    NotificationRecorder m_recorder;
    std::unique_ptr<TestList> m_list;
    DynamicBoundsObject<UINT> m_ids;
};
