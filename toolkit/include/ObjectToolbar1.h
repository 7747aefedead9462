// A toolbar window of its own class: a top row of 11 and a bottom row of 4 buttons (two button
// sets, children of its window), an extension panel (a page that opens beside it) and a table of
// interface texts by identifier and language. It is no
// widget: it has its own window procedure and operation table. The window, its timer and every
// ...Real operation belong to the thread that constructs the toolbar; the public operations may be
// called from any thread and run there.
#pragma once

#include "BaseUserInterface.h"
#include "ObjectLanguage1.h"

#include "CTimeServer.h"
#include "ObjectWindowMessage1.h"
#include "StaticAndDynamicBoundsObject.h"
#include "TimedSendGuard.h"

#include <windows.h>

#include <cstdint>
#include <memory>

struct MessageInfoUpdateStatusButtonForToolbarObject : GeneralParentForMessageStruct
{
    MessageInfoUpdateStatusButtonForToolbarObject()
        : GeneralParentForMessageStruct("MessageInfoUpdateStatusButtonForToolbarObject")
    {
    }

    uint8_t m_set_flag = 0;
    int32_t m_set_index = -1;
    int32_t m_element_index = -1;
    ElementListUserInterface2* m_elements = nullptr;
};

struct MessageInfoRefreshUserInterfaceForButton1Objects : GeneralParentForMessageStruct
{
    MessageInfoRefreshUserInterfaceForButton1Objects()
        : GeneralParentForMessageStruct("MessageInfoRefreshUserInterfaceForButton1Objects")
    {
    }

    const GDIListUserInterface2* m_entries = nullptr;
    int32_t m_count = 0;
    const char* m_text = nullptr;
};

// The values of UpdateSizeWindow; -1 keeps a stored value.
struct MessageInfoGeneralForToolbarObject : GeneralParentForMessageStruct
{
    MessageInfoGeneralForToolbarObject() : GeneralParentForMessageStruct("MessageInfoGeneralForToolbarObject") {}

    int32_t m_x = -1;
    int32_t m_y = -1;
    int32_t m_a = -1;
    int32_t m_b = 20;
    int32_t m_c = 20;
    int32_t m_d = -1;
    int32_t m_e = -1;
};

struct MessageInfoUpdateTextVarForToolbarObject : GeneralParentForMessageStruct
{
    MessageInfoUpdateTextVarForToolbarObject()
        : GeneralParentForMessageStruct("MessageInfoUpdateTextVarForToolbarObject")
    {
    }

    int32_t m_index = 0;
    const char* m_text = nullptr;
};

class ObjectToolbar1
{
public:
    static constexpr int32_t SendTimeoutMs = 120000;
    static constexpr uint32_t LanguageTableSize = 256;
    static constexpr uint32_t TextCount = 16;
    static constexpr int32_t TopSet = 0;
    static constexpr int32_t BottomSet = 1;

    // Registers the class and makes the window on the calling thread: a child of the parent when
    // that is a window, else a popup. Logs and rethrows what fails.
    ObjectToolbar1(HWND parent, HWND secondWindow, HINSTANCE module, const char* productTag, int32_t value1,
                   int32_t value2, uint8_t flag);
    ObjectToolbar1(const ObjectToolbar1&) = delete;
    ObjectToolbar1& operator=(const ObjectToolbar1&) = delete;
    // Destroys the window, from another thread through its owner.
    virtual ~ObjectToolbar1();

    // ---- implementations, on the window's thread ----
    // setFlag: the records go into the set's element (index) of the set (0 top, 1 bottom), else
    // the element is read into them.
    virtual HRESULT UpdateStatusButtonForToolbarObjectReal(uint8_t setFlag, int32_t setIndex, int32_t elementIndex,
                                                           ElementListUserInterface2* elements);
    // The font entries (count of them) go to both sets and the panel; the text becomes text 1.
    virtual HRESULT RefreshUserInterfaceForButton1ObjectsReal(const GDIListUserInterface2* entries, int32_t count,
                                                              const char* text);
    virtual HRESULT RefreshStateUsingMultyMonitorsReal(uint8_t flag);
    // Entries 0..min(count, 256)-1 of the language table become copies of the given entries.
    virtual HRESULT RefreshTextForIDReal(const ObjectLanguage1* entries, int32_t count);
    virtual HRESULT SetOptimizationCPUReal(uint32_t mode);
    // -1 keeps a stored value; the pairs (b, c) and (d, e) are taken only whole. The window then
    // sits topmost at x, y, as wide as the larger of b and d and a + c high.
    virtual HRESULT UpdateSizeWindowReal(int32_t x, int32_t y, int32_t a, int32_t b, int32_t c, int32_t d,
                                         int32_t e);
    virtual HRESULT ShowExtPanelReal(uint8_t flag);
    // The sets and the panel tell that window of their clicks.
    virtual HRESULT SetMessageHWNDReal(HWND window);
    virtual HWND GetHWNDReal();
    virtual HRESULT UpdateTextVarForToolbarObjectReal(int32_t index, const char* text);

    // ---- public operations: callable from any thread ----
    // Each runs its ...Real operation on the window's thread: at once when called there, else
    // through the window's registered message, waiting at most the send time-out. The answer is
    // the operation's, or 0x80004005 when the window is gone or the send timed out.
    HRESULT UpdateStatusButtonForToolbarObject(uint8_t setFlag, int32_t setIndex, int32_t elementIndex,
                                               ElementListUserInterface2* elements);
    HRESULT RefreshUserInterfaceForButton1Objects(const GDIListUserInterface2* entries, int32_t count,
                                                  const char* text);
    HRESULT RefreshStateUsingMultyMonitors(uint8_t flag);
    HRESULT RefreshTextForID(const ObjectLanguage1* entries, int32_t count);
    HRESULT SetOptimizationCPU(uint32_t mode);
    HRESULT UpdateSizeWindow(int32_t x, int32_t y, int32_t a, int32_t b, int32_t c, int32_t d, int32_t e);
    HRESULT ShowExtPanel(uint8_t flag);
    HRESULT SetMessageHWND(HWND window);
    // The window handle, or 0 when the send fails.
    HWND GetHWND();
    HRESULT UpdateTextVarForToolbarObject(int32_t index, const char* text);

    // The operation of a message of the toolbar's table: 0x8000FFFF for no flag, 1 when the flag
    // is already set or the message is not the toolbar's; 0x8000FFFF for a missing record or one
    // of another name; else the operation's answer, with the flag set.
    HRESULT CompliteStandartMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, bool* handled);

    // Shortens the send time-out of every toolbar; 0 or less restores the 120 seconds.
    static void SetSendTimeoutForTest(int32_t timeoutMs);
    // "HH:MM:SS" of the local time.
    static void FormatClockText(const SYSTEMTIME& time, StaticString<16>& text);

    // The button set (0 top, 1 bottom) and the extension panel, while the window lives; else null.
    BaseUserInterface* GetButtonSet(int32_t index) const { return SetAt(index); }
    BaseUserInterface* GetPanel() const { return m_panel.get(); }
    const ObjectLanguage1& GetLanguageEntry(uint32_t index) const { return m_language_table.GetElement(index); }
    const char* GetText(uint32_t index) const { return m_texts.GetElement(index).GetString(); }

    static LRESULT CALLBACK ToolbarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    HRESULT SendOperation(uint32_t row, WPARAM wParam, LPARAM lParam, const char* label);
    HRESULT RunOperation(int32_t row, WPARAM wParam, LPARAM lParam);
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT RunGuardedOperation(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnCreate(HWND window);
    void OnDestroy(HWND window);
    void OnTimer();
    void OnShowWindow(bool shown);
    void OnPaint(HWND window);
    // A shown set of the buttons on the toolbar, its seven skins from the folder; null when it
    // cannot be made.
    std::unique_ptr<BaseUserInterface> CreateButtonSet(const ElementListUserInterface2& elements,
                                                       const char* const* skins, const char* name,
                                                       const DynamicString& folder);
    // The hidden page of placeholder cells; null when it cannot be made.
    std::unique_ptr<BaseUserInterface> CreatePanel(const DynamicString& folder);
    void LayOutChildren();
    // The set of the index (0 top, 1 bottom), or null.
    BaseUserInterface* SetAt(int32_t index) const;
    // Calls the operation on both sets and the panel, each that exists.
    template <class Operation>
    void ForEachChild(Operation operation);

    std::unique_ptr<BaseUserInterface> m_top_set;
    std::unique_ptr<BaseUserInterface> m_bottom_set;
    std::unique_ptr<BaseUserInterface> m_panel;
    HWND m_window = nullptr;
    HWND m_parent = nullptr;
    HWND m_second_window = nullptr;
    HWND m_message_window = nullptr;
    HINSTANCE m_module = nullptr;
    UINT_PTR m_timer_id = 0;
    CTimeServer m_time_server;
    StaticString<128> m_product_tag;
    ObjectWindowMessage1 m_messages;
    TimedSendGuard m_send_guard;
    int32_t m_value1 = 0;
    int32_t m_value2 = 0;
    uint8_t m_flag = 0;
    uint8_t m_multi_monitor_flag = 0;
    uint32_t m_processor_mode = 1;
    StaticBoundsObject<ObjectLanguage1, LanguageTableSize> m_language_table;
    StaticBoundsObject<StaticString<256>, TextCount> m_texts;
    IndexListUserInterface2 m_index_list;
    // Position, and the sizes of UpdateSizeWindow.
    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_a = 10;
    int32_t m_b = 100;
    int32_t m_c = 10;
    int32_t m_d = 100;
    int32_t m_e = 100;
    uint8_t m_panel_shown = 0;
    uint8_t m_blocking_send = 1;
};
