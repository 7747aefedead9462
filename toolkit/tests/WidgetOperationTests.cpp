#include "TestWidget.h"

#include "LogCapture.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace {

// The operation names as the widget's callers register them, in operation order.
const char* const g_expectedNames[] = {
    "GMU_SetParentWindow_UserInterface2,           D.U.R.M.I.X., 17.04.2005-02.52.00",
    "GMU_ControlStatObjectShow_UserInterface2,     D.U.R.M.I.X., 17.04.2005-16.00.00",
    "GMU_MoveObject_UserInterface2,                D.U.R.M.I.X., 17.04.2005-17.22.00",
    "GMU_SetOptimCPU_UserInterface2,               D.U.R.M.I.X., 13.05.2005-03.00.00",
    "GMU_UpdateGDIInfoForObject_UserInterface2,    D.U.R.M.I.X., 26.05.2005-03.00.00",
    "GMU_SetTextVarForObject_UserInterface2,       D.U.R.M.I.X., 26.05.2005-08.00.00",
    "GMU_UpdateGeneralInfoForObject_UserInterface2,D.U.R.M.I.X., 26.05.2005-08.01.00",
    "GMU_SetElementInfoFromIndex_UserInterface2,   D.U.R.M.I.X., 08.06.2005-21.01.00",
    "GMU_GetElementInfoFromIndex_UserInterface2,   D.U.R.M.I.X., 08.06.2005-22.01.00",
    "GMU_UpdateDataBuffer_UserInterface2,          D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_GetHWND_UserInterface2,                   D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_DumpDebugListResizedBuffer_UserInterface2,D.U.R.M.I.X., 18.06.2005-20.01.00",
    "GMU_GetPosObject_UserInterface2,              D.U.R.M.I.X., 15.03.2007-2.00.00",
    "GMU_GetBufferFromIndex_UserInterface2,        D.U.R.M.I.X., 15.03.2007-2.00.00",
    "GMU_ApplayOperationToBuffers_UserInterface2,  D.U.R.M.I.X., 16.07.2007-3.00.00",
};

// Restores the widgets' send time-out after a test that shortened it.
struct ShortSendTimeout
{
    explicit ShortSendTimeout(int32_t milliseconds) { BaseUserInterface::SetSendTimeoutForTest(milliseconds); }
    ~ShortSendTimeout() { BaseUserInterface::SetSendTimeoutForTest(0); }
};

InfoTypedValueUserInterface2 Int(int32_t value)
{
    InfoTypedValueUserInterface2 typed;
    typed.SetInt(value);
    return typed;
}

// WS_POPUP or WS_CHILD, whichever the window has.
DWORD PopupOrChild(HWND window)
{
    return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)) & (WS_CHILD | WS_POPUP);
}

constexpr DWORD Popup = WS_POPUP;
constexpr DWORD Child = WS_CHILD;

} // namespace

class WidgetOperationTest : public testing::Test
{
protected:
    WidgetOperationTest()
        : m_widget(m_record, MakeElementList({MakeElement(10, 10, 40, 10, 77), MakeElement(60, 10, 20, 10, 78)}),
                   {.m_count = 2})
    {
    }

    void SetUp() override { ASSERT_EQ(m_widget.CreateObject(), S_OK); }

    HookRecord m_record;
    TestWidget m_widget;
};

TEST_F(WidgetOperationTest, OperationNamesAreRegisteredByteForByte)
{
    for (uint32_t i = 0; i < std::size(g_expectedNames); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m_widget.m_messages.GetMessageFromIndex(i), RegisterWindowMessageA(g_expectedNames[i]));
    }
    EXPECT_EQ(m_widget.m_messages.GetMessageFromIndex(15), 0u);
}

// Every operation reaches its ...Real operation with its arguments, at once on the window's
// thread, and on the window's thread when called from another one.
TEST_F(WidgetOperationTest, OperationsRunOnTheWindowsThread)
{
    HWND receiver = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    struct Case
    {
        const char* m_name;
        std::function<HRESULT(TestWidget&)> m_call;
        std::function<void(TestWidget&)> m_check;
    };
    InfoGDIUserInterface2 font;
    font.m_color = 0x123456;
    const GDIListUserInterface2 fonts = MakeList(std::vector{font});
    const TypedValueListUserInterface2 values = MakeList(std::vector{Int(31)});
    const ElementListUserInterface2 newElement = MakeElementList({MakeElement(1, 2, 3, 4, 99)});
    const IndexListUserInterface2 index0 = MakeIndexList({0});
    const IndexListUserInterface2 index1 = MakeIndexList({1});
    const IndexListUserInterface2 index7 = MakeIndexList({7});
    const IndexListUserInterface2 index200 = MakeIndexList({200});
    ElementListUserInterface2 fetched = MakeElementList({InfoElementUserInterface2()});
    HWND handle = nullptr;
    InfoGeneralBufferForUserInterface2 picture, fetchedPicture;
    picture.ResizeBuffer(5, 3);
    picture.FillBuffers(7, 9);
    int32_t left = -1, top = -1, width = -1, height = -1;
    const Case cases[] = {
        {"SetWindow", [&](TestWidget& w) { return w.SetWindow(1, receiver); },
         [&](TestWidget& w) { EXPECT_EQ(w.m_related_windows.GetElement(1), receiver); }},
        {"ControlStatObjectShow", [](TestWidget& w) { return w.ControlStatObjectShow(5, 42); },
         [](TestWidget& w) { EXPECT_EQ(w.m_state_values.GetElement(5), 42); }},
        {"MoveObject", [](TestWidget& w) { return w.MoveObject(3, 4, 50, 60); },
         [](TestWidget& w) {
             RECT place = {};
             GetWindowRect(w.m_window, &place);
             EXPECT_EQ(place.left, 3);
             EXPECT_EQ(place.top, 4);
             EXPECT_EQ(place.right - place.left, 50);
             EXPECT_EQ(place.bottom - place.top, 60);
         }},
        {"SetOptimCPU", [](TestWidget& w) { return w.SetOptimCPU(4); },
         [](TestWidget& w) { EXPECT_EQ(w.m_processor_mode, 4u); }},
        {"UpdateGDIInfoForObject", [&](TestWidget& w) { return w.UpdateGDIInfoForObject(&fonts, &index200, 1); },
         [](TestWidget& w) { EXPECT_EQ(w.m_gdi_table.GetElement(200).m_color, 0x123456u); }},
        {"SetTextVarForObject", [](TestWidget& w) { return w.SetTextVarForObject(1, "caption"); },
         [](TestWidget& w) { EXPECT_STREQ(w.m_text.GetString(), "caption"); }},
        {"UpdateGeneralInfoForObject", [&](TestWidget& w) { return w.UpdateGeneralInfoForObject(0, &values, &index7, 1); },
         [](TestWidget& w) { EXPECT_EQ(w.m_property_tables.GetElement(0).GetElement(7).m_value.m_int, 31); }},
        {"SetElementInfoFromIndex", [&](TestWidget& w) { return w.SetElementInfoFromIndex(&newElement, &index1, 1); },
         [](TestWidget& w) { EXPECT_EQ(w.m_elements.GetElement(1).Field(6).m_value.m_int, 99); }},
        {"GetElementInfoFromIndex", [&](TestWidget& w) { return w.GetElementInfoFromIndex(&fetched, &index0, 1); },
         [&](TestWidget&) { EXPECT_EQ(fetched.GetElement(0).Field(6).m_value.m_int, 77); }},
        {"UpdateDataBuffer",
         [&](TestWidget& w) {
             w.SetOptimCPUReal(4);
             return w.UpdateDataBuffer(3, &picture, true);
         },
         [](TestWidget& w) {
             const InfoGeneralBufferForUserInterface2& buffer = w.m_array_general_buffers.GetElement(3);
             EXPECT_EQ(buffer.m_width_element, 16); // scaled into the buffer's own size
             EXPECT_EQ(buffer.m_rgb_buffers.GetElement(2)[0], 0x0909);
         }},
        {"GetBufferFromIndex", [&](TestWidget& w) { return w.GetBufferFromIndex(0, &fetchedPicture); },
         [&](TestWidget&) { EXPECT_EQ(fetchedPicture.m_width_element, 32); }},
        {"GetHWND", [&](TestWidget& w) { return (handle = w.GetHWND()) != nullptr ? S_OK : E_FAIL; },
         [&](TestWidget& w) { EXPECT_EQ(handle, w.m_window); }},
        {"DumpDebugListResizedBuffer", [](TestWidget& w) { return w.DumpDebugListResizedBuffer(); },
         [](TestWidget&) {}},
        {"GetPosObject", [&](TestWidget& w) { return w.GetPosObject(&left, &top, &width, &height); },
         [&](TestWidget&) {
             EXPECT_EQ(left, 0);
             EXPECT_EQ(top, 0);
             EXPECT_EQ(width, 25);
             EXPECT_EQ(height, 25);
         }},
    };
    for (bool fromOtherThread : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.m_name) + (fromOtherThread ? " from another thread" : " on the window's thread"));
            HookRecord record;
            TestWidget widget(record, MakeElementList({MakeElement(10, 10, 40, 10, 77), MakeElement(60, 10, 20, 10, 78)}),
                              {.m_count = 2});
            ASSERT_EQ(widget.CreateObject(), S_OK);
            LogCapture log;
            HRESULT result = E_UNEXPECTED;
            if (fromOtherThread)
                RunOnOtherThreadWhilePumping([&] { result = c.m_call(widget); });
            else
                result = c.m_call(widget); // no message loop runs: the operation ran at once
            EXPECT_EQ(result, S_OK);
            c.m_check(widget);
            EXPECT_EQ(widget.m_operation_threads, std::vector<DWORD>{GetCurrentThreadId()});
            if (std::string(c.m_name) == "DumpDebugListResizedBuffer") {
                EXPECT_TRUE(log.Contains("m_array_general_buffers[ indx_buffer ].m_max_size_byte_buffer = "));
            }
        }
    }
    DestroyWindow(receiver);
}

// The public result tells delivery for the base's operations and carries a derived dispatcher's answer.
TEST_F(WidgetOperationTest, ResultOfBaseAndDerivedOperations)
{
    for (bool fromOtherThread : {false, true}) {
        SCOPED_TRACE(fromOtherThread);
        HRESULT outOfRange = E_FAIL, derivedFailure = S_OK, derivedAnswer = E_FAIL;
        const auto calls = [&] {
            outOfRange = m_widget.SetWindow(3, m_widget.m_window); // refused inside, yet delivered
            derivedFailure = m_widget.TestOperation(E_UNEXPECTED);
            derivedAnswer = m_widget.TestOperation(S_FALSE);
        };
        if (fromOtherThread)
            RunOnOtherThreadWhilePumping(calls);
        else
            calls();
        EXPECT_EQ(outOfRange, S_OK);
        EXPECT_EQ(derivedFailure, E_UNEXPECTED);
        EXPECT_EQ(derivedAnswer, S_FALSE);
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_EQ(m_widget.m_related_windows.GetElement(i), nullptr); // index 3 stores nothing
    }
}

TEST_F(WidgetOperationTest, DestroyedWindowFailsAtOnce)
{
    HookRecord record;
    TestWidget never(record);
    EXPECT_EQ(never.ControlStatObjectShow(5, 1), E_FAIL);

    m_widget.FreeObject();
    LogCapture log;
    const auto start = std::chrono::steady_clock::now();
    for (bool fromOtherThread : {false, true}) {
        HRESULT shown = S_OK, derived = S_OK;
        HWND handle = reinterpret_cast<HWND>(1);
        int32_t left = -1, top = -1, width = -1, height = -1;
        HRESULT position = S_OK;
        const auto calls = [&] {
            shown = m_widget.ControlStatObjectShow(5, 1);
            derived = m_widget.TestOperation(S_OK);
            handle = m_widget.GetHWND();
            position = m_widget.GetPosObject(&left, &top, &width, &height);
        };
        if (fromOtherThread)
            RunOnOtherThreadWhilePumping(calls);
        else
            calls();
        EXPECT_EQ(shown, E_FAIL);
        EXPECT_EQ(derived, E_FAIL);
        EXPECT_EQ(handle, nullptr);
        EXPECT_EQ(position, E_FAIL);
        EXPECT_EQ(left + top + width + height, 0);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
    EXPECT_EQ(m_widget.m_state_values.GetElement(5), 0);
    EXPECT_TRUE(log.Contains("BaseUserInterface::ControlStatObjectShow"));
}

// A sender that gives up leaves its message queued; the widget's thread later skips it unread.
TEST_F(WidgetOperationTest, BusyWindowTimesOutAndTheRecordIsNeverRead)
{
    ShortSendTimeout shortTimeout(200);
    LogCapture log;
    HRESULT shown = S_OK, elements = S_OK;
    std::thread caller([&] {
        shown = m_widget.ControlStatObjectShow(5, 42);
        const ElementListUserInterface2 list = MakeElementList({MakeElement(1, 1, 5, 5, 5)});
        const IndexListUserInterface2 indexes = MakeIndexList({0});
        elements = m_widget.SetElementInfoFromIndex(&list, &indexes, 1);
    });
    caller.join(); // this thread is busy meanwhile: it pumps nothing
    EXPECT_EQ(shown, E_FAIL);
    EXPECT_EQ(elements, E_FAIL);

    EXPECT_TRUE(log.Contains("sec wait, idc"));

    // Wine drops a message whose send timed out; Windows delivers it later. That late delivery
    // is played here with the identities a guarded send could have given it.
    PumpPending();
    const UINT show = m_widget.m_messages.GetMessageFromIndex(1);
    const UINT setElements = m_widget.m_messages.GetMessageFromIndex(7);
    InfoMessageForXXXElementInfoFromIndex stale;
    for (LPARAM serial : {0, 1, 2, 3}) {
        EXPECT_EQ(SendMessageA(m_widget.m_window, show, 5, serial), E_FAIL);
        EXPECT_EQ(SendMessageA(m_widget.m_window, setElements, reinterpret_cast<WPARAM>(&stale), serial), E_FAIL);
    }
    EXPECT_EQ(m_widget.m_state_values.GetElement(5), 0);
    EXPECT_EQ(m_record.Count("RebuildObject"), 0);
    EXPECT_EQ(m_widget.m_elements.GetElement(0).Field(6).m_value.m_int, 77);
    EXPECT_TRUE(log.Contains("TimedSendGuard::BeginOperation::no waiting sender for the message, skipped unread"));
}

TEST_F(WidgetOperationTest, SetWindowReparentsThroughIndexZeroOnly)
{
    MessageRecorder parent;
    HWND related = parent.Handle();
    EXPECT_EQ(m_widget.SetWindow(1, related), S_OK);
    EXPECT_EQ(m_widget.SetWindow(2, related), S_OK);
    EXPECT_EQ(m_widget.m_related_windows.GetElement(1), related);
    EXPECT_EQ(m_widget.m_related_windows.GetElement(2), related);
    EXPECT_EQ(PopupOrChild(m_widget.m_window), Popup);
    EXPECT_EQ(GetAncestor(m_widget.m_window, GA_PARENT), GetDesktopWindow());

    EXPECT_EQ(m_widget.SetWindow(0, related), S_OK);
    EXPECT_EQ(PopupOrChild(m_widget.m_window), Child);
    EXPECT_EQ(GetParent(m_widget.m_window), related);

    EXPECT_EQ(m_widget.SetWindow(0, nullptr), S_OK);
    EXPECT_EQ(PopupOrChild(m_widget.m_window), Popup);
    EXPECT_EQ(GetAncestor(m_widget.m_window, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(m_widget.m_related_windows.GetElement(0), nullptr);
}

TEST_F(WidgetOperationTest, MoveObjectKeepsThePlaceInsideAndTheSizeAtLeastTen)
{
    EXPECT_EQ(m_widget.MoveObject(-5, -5, 3, 3), S_OK);
    RECT place = {};
    GetWindowRect(m_widget.m_window, &place);
    EXPECT_EQ(place.left, 0);
    EXPECT_EQ(place.top, 0);
    EXPECT_EQ(place.right - place.left, 10);
    EXPECT_EQ(place.bottom - place.top, 10);
    int32_t left = -1, top = -1, width = -1, height = -1;
    EXPECT_EQ(m_widget.GetPosObject(&left, &top, &width, &height), S_OK);
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 0);
    EXPECT_EQ(width, 10);
    EXPECT_EQ(height, 10);
}

TEST_F(WidgetOperationTest, ControlStatObjectShowShowsFreezesAndStores)
{
    EXPECT_EQ(m_widget.ControlStatObjectShow(1, 1), S_OK);
    EXPECT_TRUE(IsWindowVisible(m_widget.m_window));
    EXPECT_EQ(m_widget.ControlStatObjectShow(1, 0), S_OK);
    EXPECT_FALSE(IsWindowVisible(m_widget.m_window));

    // Freezing twice releases the buffers both times.
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        m_widget.m_array_general_buffers.GetElement(5).ResizeBuffer(20, 20);
        m_widget.m_finall_buffer.ResizeBuffer(20, 20);
        m_widget.SetFinalPicture(std::vector<uint32_t>(25 * 25, 0));
        EXPECT_EQ(m_widget.ControlStatObjectShow(2, 1), S_OK);
        EXPECT_EQ(m_widget.m_array_general_buffers.GetElement(5).m_max_size_byte_buffer, 0);
        EXPECT_NE(m_widget.m_array_general_buffers.GetElement(5).IsChanged(), 0u);
        EXPECT_EQ(m_widget.m_finall_buffer.m_max_size_byte_buffer, 0);
        EXPECT_EQ(m_widget.m_finall_rgb.m_size, 0u);
        EXPECT_EQ(m_widget.m_finall_rgb.m_valid_count, 0);
    }
    // Thawing sets the text once; thawing a thawed widget does nothing.
    EXPECT_EQ(m_widget.ControlStatObjectShow(2, 0), S_OK);
    EXPECT_EQ(m_widget.ControlStatObjectShow(2, 0), S_OK);
    EXPECT_EQ(m_widget.m_text_sets, 1);

    EXPECT_EQ(m_widget.ControlStatObjectShow(16, 9), S_OK);
    for (uint32_t i = 0; i < 16; ++i)
        EXPECT_NE(m_widget.m_state_values.GetElement(i), 9);
}

TEST_F(WidgetOperationTest, KeysReachTheKeyHook)
{
    for (UINT message : {WM_KEYDOWN, WM_CHAR, WM_SYSCHAR})
        SendMessageA(m_widget.m_window, message, 'K', 0);
    EXPECT_EQ(m_record.Count("OnKeyMessage " + std::to_string(WM_KEYDOWN) + " 75"), 1);
    EXPECT_EQ(m_record.Count("OnKeyMessage " + std::to_string(WM_CHAR) + " 75"), 1);
    EXPECT_EQ(m_record.Count("OnKeyMessage " + std::to_string(WM_SYSCHAR) + " 75"), 1);
}

TEST(ParameterListCheck, Cases)
{
    constexpr uint32_t four[] = {3, 3, 3, 3};
    constexpr uint32_t mixed[] = {3, 3, 1, 3};
    struct Case
    {
        const char* m_name;
        uint32_t m_size;
        uint32_t m_count;
        uint32_t m_typed; // parameters from 0 that carry a type
        uint32_t m_extra_typed; // a typed parameter at this index, 0 for none
        int32_t m_expected_count;
        const uint32_t* m_expected_types;
        HRESULT m_result;
    };
    const Case cases[] = {
        {"four integers", sizeof(ListParamsDataPath1), 4, 4, 0, 4, four, S_OK},
        {"size word of another build", 640, 4, 4, 0, 4, four, E_UNEXPECTED},
        {"count above 16", sizeof(ListParamsDataPath1), 17, 16, 0, 0, nullptr, E_UNEXPECTED},
        {"parameter below the count without type", sizeof(ListParamsDataPath1), 4, 3, 0, 4, four, E_FAIL},
        {"parameter above the count with a type", sizeof(ListParamsDataPath1), 4, 4, 9, 4, four, E_FAIL},
        {"other count expected", sizeof(ListParamsDataPath1), 3, 3, 0, 4, four, E_FAIL},
        {"any count accepted", sizeof(ListParamsDataPath1), 3, 3, 0, 0, nullptr, S_OK},
        {"expected count capped at 16", sizeof(ListParamsDataPath1), 16, 16, 0, 40, nullptr, S_OK},
        {"other types expected", sizeof(ListParamsDataPath1), 4, 4, 0, 4, mixed, E_FAIL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.m_name);
        ListParamsDataPath1 list;
        list.SetNumberParams(0);
        for (uint32_t i = 0; i < c.m_typed; ++i)
            list.m_params.GetElement(i).SetUInt(i);
        if (c.m_extra_typed != 0)
            list.m_params.GetElement(c.m_extra_typed).SetUInt(1);
        list.m_count = c.m_count;
        list.m_size = c.m_size;
        EXPECT_EQ(CheckListParamsUserInterface2(&list, c.m_expected_count, c.m_expected_types), c.m_result);
    }
    EXPECT_EQ(CheckListParamsUserInterface2(nullptr, 4, four), E_INVALIDARG);
}
