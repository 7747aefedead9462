#include "FunctWorkWithHWND.h"
#include "LogCapture.h"
#include "ObjectWindowMessage1.h"
#include "OwnerThread.h"
#include "ThrownInteger.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

// Index of the first captured line holding the text, or -1.
int LineIndex(const LogCapture& log, const std::string& text)
{
    const std::vector<std::string> lines = log.Lines();
    for (size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(text) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

std::vector<std::string> OperationNames(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i)
        names.push_back("GWM_Operation" + std::to_string(i) + "_WindowMessageTests_Korvane_2024_03_01");
    return names;
}

std::vector<const char*> Pointers(const std::vector<std::string>& names)
{
    std::vector<const char*> pointers;
    for (const std::string& name : names)
        pointers.push_back(name.c_str());
    return pointers;
}

// A hidden popup window of the calling thread.
class OwnWindow
{
public:
    explicit OwnWindow(HWND parent = nullptr, int id = 0, RECT place = {0, 0, 100, 60})
    {
        WNDCLASSEXA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "OwnWindowForTests_Korvane";
        RegisterWindowClass(&windowClass);
        const DWORD style = parent != nullptr ? WS_CHILD : WS_POPUP;
        m_window = SafeCreateWindow(0, windowClass.lpszClassName, "", style, place.left, place.top,
                                    place.right - place.left, place.bottom - place.top, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                    nullptr);
    }
    ~OwnWindow() { SafeDestroyWindow(m_window); }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window = nullptr;
};

const HWND g_allOnes = reinterpret_cast<HWND>(static_cast<LONG_PTR>(-1));

} // namespace

// ---- Registered-message table -------------------------------------------------------------

TEST(ObjectWindowMessage1, InitMessagesAcceptsOneToHundredTwentyEightNames)
{
    const std::vector<std::string> names = OperationNames(129);
    const std::vector<const char*> pointers = Pointers(names);

    ObjectWindowMessage1 table;
    EXPECT_EQ(table.InitMessages(pointers.data(), 0), E_UNEXPECTED);
    EXPECT_EQ(table.InitMessages(pointers.data(), 129), E_UNEXPECTED);
    EXPECT_EQ(table.InitMessages(nullptr, 5), E_UNEXPECTED);
    // Nothing changed: no identifier is known yet.
    EXPECT_EQ(table.GetMessageFromIndex(0), 0u);
    EXPECT_EQ(table.GetIndexFromMessage(RegisterWindowMessageA(pointers[0])), -1);

    ASSERT_EQ(table.InitMessages(pointers.data(), 128), S_OK);
    for (uint32_t position = 0; position < 128; ++position) {
        const UINT message = table.GetMessageFromIndex(position);
        EXPECT_GE(message, 0xC000u);
        EXPECT_EQ(table.GetIndexFromMessage(message), static_cast<int32_t>(position));
    }
    EXPECT_EQ(ThrownInteger([&] { table.GetMessageFromIndex(128); }), 2);
}

TEST(ObjectWindowMessage1, IdentifiersAgreeAcrossTablesAndRepeatedNamesFindTheLowerPosition)
{
    const char* const names[] = {"GWM_First_WindowMessageTests_Korvane", nullptr,
                                 "GWM_First_WindowMessageTests_Korvane", "GWM_Other_WindowMessageTests_Korvane"};
    ObjectWindowMessage1 table;
    ASSERT_EQ(table.InitMessages(names, 4), S_OK);
    ObjectWindowMessage1 otherModule;
    ASSERT_EQ(otherModule.InitMessages(names, 4), S_OK);

    EXPECT_EQ(table.GetMessageFromIndex(3), otherModule.GetMessageFromIndex(3));
    EXPECT_EQ(table.GetMessageFromIndex(1), 0u);
    EXPECT_EQ(table.GetIndexFromMessage(table.GetMessageFromIndex(2)), 0);
    EXPECT_EQ(table.GetIndexFromMessage(RegisterWindowMessageA("GWM_NotInTable_WindowMessageTests")), -1);
    // The null name's identifier 0 is WM_NULL, which is never one of the operations.
    EXPECT_EQ(table.GetIndexFromMessage(0), -1);
    // Positions at or beyond the count are not searched.
    ObjectWindowMessage1 shorter;
    ASSERT_EQ(shorter.InitMessages(names, 1), S_OK);
    EXPECT_EQ(shorter.GetIndexFromMessage(table.GetMessageFromIndex(3)), -1);
}

TEST(GeneralParentForMessageStruct, CheckNameStruct)
{
    GeneralParentForMessageStruct unnamed;
    EXPECT_EQ(unnamed.m_name, "GeneralParentForMessageStruct");
    EXPECT_EQ(unnamed.CheckNameStruct("GeneralParentForMessageStruct"), S_OK);
    EXPECT_EQ(unnamed.CheckNameStruct(nullptr), E_UNEXPECTED);

    InfoMessageForAddNumbers record;
    LogCapture log;
    EXPECT_EQ(record.CheckNameStruct("InfoMessageForGetPosObject"), S_FALSE);
    const int recordName = LineIndex(log, "InfoMessageForAddNumbers");
    const int expectedName = LineIndex(log, "InfoMessageForGetPosObject");
    EXPECT_GE(recordName, 0);
    EXPECT_GT(expectedName, recordName);
}

// ---- Operations delivered to an owner thread ----------------------------------------------

// Long enough for a loaded machine starting Wine's desktop; an answered send never waits for it.
constexpr UINT kAnswerTimeoutMs = 30000;

TEST(OwnerThreadSend, OperationRunsOnTheOwnerThreadWithTheSendersRecord)
{
    OwnerThread owner;
    ASSERT_NE(owner.Window(), nullptr);
    for (HRESULT answer : {S_OK, S_FALSE, E_INVALIDARG}) {
        InfoMessageForAddNumbers record;
        record.m_first = 40;
        record.m_second = 2;
        record.m_answer = answer;
        EXPECT_EQ(owner.Messages().SendMessageFromIndex(OwnerThread::AddNumbers, owner.Window(), 0,
                                                        reinterpret_cast<LPARAM>(&record), "AddNumbers", true, kAnswerTimeoutMs),
                  answer);
        EXPECT_EQ(record.m_sum, 42);
        EXPECT_EQ(record.m_handledOnThread, owner.ThreadId());
    }
    EXPECT_NE(owner.ThreadId(), GetCurrentThreadId());
}

TEST(OwnerThreadSend, UnregisteredOperationAndWmNullAreNotDelivered)
{
    OwnerThread owner;
    InfoMessageForAddNumbers record;
    EXPECT_EQ(owner.Messages().SendMessageFromIndex(OwnerThread::Unregistered, owner.Window(), 0,
                                                    reinterpret_cast<LPARAM>(&record), "Unregistered", false, kAnswerTimeoutMs),
              E_FAIL);
    // WM_NULL carries no record: the owner must not take it for the unregistered position.
    EXPECT_EQ(SafeSendMessageTimeout(owner.Window(), WM_NULL, 0, 0, 5000, DynamicString("WM_NULL"), false), 0);
    EXPECT_EQ(owner.OperationsHandled(), 0);
}

TEST(OwnerThreadSend, BusyOwnerTimesOutAndTheSendIsLogged)
{
    OwnerThread owner;
    const UINT busy = owner.Messages().GetMessageFromIndex(OwnerThread::WaitForRelease);
    ASSERT_TRUE(PostMessageA(owner.Window(), busy, 0, 0));
    ASSERT_TRUE(owner.WaitUntilBusy(5000));

    // The late owner still writes into the record once it is free: keep it until then.
    InfoMessageForAddNumbers record;
    record.m_first = 1;
    record.m_second = 2;
    LogCapture log;
    const DWORD start = GetTickCount();
    EXPECT_EQ(owner.Messages().SendMessageFromIndex(OwnerThread::AddNumbers, owner.Window(), 0,
                                                    reinterpret_cast<LPARAM>(&record), "AddNumbers::late", false, 999),
              E_FAIL);
    const DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 900u);

    const UINT addNumbers = owner.Messages().GetMessageFromIndex(OwnerThread::AddNumbers);
    const std::string expected = "error::[ 0 ] sec wait, idc [ " + std::to_string(static_cast<int>(addNumbers)) +
                                 " ], idth [ " + std::to_string(owner.ThreadId()) + " ]";
    const int errorLine = LineIndex(log, expected);
    EXPECT_GE(errorLine, 0) << expected;
    EXPECT_GT(LineIndex(log, "AddNumbers::late"), errorLine);

    owner.Release();
    // Sent messages are handled in order: once this answers, the late one has been handled too.
    InfoMessageForAddNumbers next;
    EXPECT_EQ(owner.Messages().SendMessageFromIndex(OwnerThread::AddNumbers, owner.Window(), 0,
                                                    reinterpret_cast<LPARAM>(&next), "AddNumbers", false, kAnswerTimeoutMs),
              S_OK);
}

TEST(OwnerThreadSend, DeadOrInvalidWindowIsRefusedWithoutSending)
{
    HWND destroyed = nullptr;
    {
        OwnWindow window;
        destroyed = window.Get();
    }
    ASSERT_NE(destroyed, nullptr);
    const UINT message = RegisterWindowMessageA("GWM_DeadWindow_WindowMessageTests_Korvane");
    for (HWND target : {destroyed, static_cast<HWND>(nullptr), g_allOnes}) {
        EXPECT_EQ(CheckIsWindow(target), E_FAIL);
        LogCapture log;
        EXPECT_EQ(SafeSendMessageTimeout(target, message, 0, 0, 1000, DynamicString("DeadWindowLabel"), true),
                  static_cast<LRESULT>(E_FAIL));
        const int labelLine = LineIndex(log, "DeadWindowLabel");
        EXPECT_GE(labelLine, 0);
        EXPECT_GT(LineIndex(log, "error::[ " + std::to_string(static_cast<int>(message)) + " ] failed"), labelLine);
    }
}

// ---- Guarded sends -------------------------------------------------------------------------

// A failing operation is an answer like any other: the send was delivered.
TEST(TimedSendGuard, TheOperationsOwnAnswerIsToldApartFromDelivery)
{
    OwnerThread owner;
    for (HRESULT expected : {S_OK, S_FALSE, E_FAIL, E_INVALIDARG}) {
        InfoMessageForAddNumbers record;
        record.m_first = 40;
        record.m_second = 2;
        record.m_answer = expected;
        HRESULT answer = S_FALSE;
        EXPECT_EQ(owner.SendGuarded(record, kAnswerTimeoutMs, &answer), S_OK);
        EXPECT_EQ(answer, expected);
        EXPECT_EQ(record.m_sum, 42);
        EXPECT_EQ(record.m_handledOnThread, owner.ThreadId());
    }
    EXPECT_EQ(owner.CountWaitingSenders(), 0u);
}

// A sender that gave up before the owner began is told the message was not delivered; a message
// that still reaches the owner then (Windows keeps it queued) names no waiting request and is
// skipped without reading its record.
TEST(TimedSendGuard, ARequestThatTimedOutBeforeItBeganIsNeverRead)
{
    OwnerThread owner;
    ASSERT_TRUE(PostMessageA(owner.Window(), owner.Messages().GetMessageFromIndex(OwnerThread::WaitForRelease), 0, 0));
    ASSERT_TRUE(owner.WaitUntilBusy(kAnswerTimeoutMs));
    InfoMessageForAddNumbers late;
    late.m_first = 1;
    HRESULT answer = S_FALSE;
    EXPECT_EQ(owner.SendGuarded(late, 300, &answer), E_FAIL);
    EXPECT_EQ(answer, S_FALSE);
    EXPECT_EQ(owner.CountWaitingSenders(), 0u);
    owner.Release();

    LogCapture log;
    const UINT guarded = owner.Messages().GetMessageFromIndex(OwnerThread::GuardedAddNumbers);
    for (LPARAM serial : {0, 1, 2, 3}) {
        DWORD_PTR stale = 0;
        ASSERT_NE(SendMessageTimeoutA(owner.Window(), guarded, reinterpret_cast<WPARAM>(&late), serial, SMTO_NORMAL,
                                      kAnswerTimeoutMs, &stale), 0);
        EXPECT_EQ(static_cast<HRESULT>(stale), E_FAIL);
    }
    EXPECT_EQ(late.m_sum, 0);
    EXPECT_EQ(owner.OperationsHandled(), 1); // WaitForRelease only
    EXPECT_TRUE(log.Contains("TimedSendGuard::BeginOperation::no waiting sender for the message, skipped unread"));
}

// The time-out passes while the owner works on the record: the sender stays until the end and gets the answer.
// The time-out leaves a loaded machine room to start the operation.
constexpr int32_t kOperationStartsWithinMs = 1000;

TEST(TimedSendGuard, ASenderWhoseOperationRunsWaitsForItsAnswer)
{
    OwnerThread owner;
    LogCapture log;
    std::thread releaser([&] {
        // Released once the send has given up, as its log line shows.
        while (!log.Contains("GuardedAddNumbers"))
            Sleep(1);
        owner.Release();
    });
    InfoMessageForAddNumbers record;
    record.m_first = 40;
    record.m_second = 2;
    record.m_answer = S_FALSE;
    record.m_holdUntilRelease = true;
    HRESULT answer = E_UNEXPECTED;
    EXPECT_EQ(owner.SendGuarded(record, kOperationStartsWithinMs, &answer), S_OK);
    releaser.join();
    EXPECT_EQ(answer, S_FALSE);
    EXPECT_EQ(record.m_sum, 42);
    EXPECT_EQ(owner.CountWaitingSenders(), 0u);
}

// Mend: a blocking sender whose operation outlasts the time-out takes no request sent to its own
// thread meanwhile (one could free what the sender is in the middle of); a normal sender answers it.
TEST(TimedSendGuard, ABlockingSenderAnswersNoMessageWhileItWaitsForTheRunningOperation)
{
    static std::atomic<bool> poked{false};
    struct Poke
    {
        static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
        {
            if (message == WM_APP)
                poked = true;
            return DefWindowProcA(window, message, wParam, lParam);
        }
    };
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = &Poke::Procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "TimedSendGuardPokeWindow";
    RegisterClassA(&windowClass);
    HWND senderWindow = CreateWindowExA(0, windowClass.lpszClassName, "", 0, 0, 0, 1, 1, HWND_MESSAGE, nullptr,
                                        windowClass.hInstance, nullptr);
    ASSERT_NE(senderWindow, nullptr);
    for (bool block : {false, true}) {
        SCOPED_TRACE(block);
        poked = false;
        OwnerThread owner;
        LogCapture log;
        bool pokedDuringWait = false;
        std::thread poker;
        std::thread releaser([&] {
            while (!log.Contains("GuardedAddNumbers"))
                Sleep(1);
            poker = std::thread([&] { SendMessageA(senderWindow, WM_APP, 0, 0); });
            const ULONGLONG end = GetTickCount64() + (block ? 200 : 10000);
            while (!poked && GetTickCount64() < end)
                Sleep(1);
            pokedDuringWait = poked;
            owner.Release();
        });
        InfoMessageForAddNumbers record;
        record.m_holdUntilRelease = true;
        HRESULT answer = E_UNEXPECTED;
        EXPECT_EQ(owner.SendGuarded(record, kOperationStartsWithinMs, &answer, block), S_OK);
        releaser.join();
        EXPECT_EQ(pokedDuringWait, !block);
        // The poke is answered once the send is over.
        MSG message;
        while (!poked) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_SENDMESSAGE);
            PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
        }
        poker.join();
    }
    DestroyWindow(senderWindow);
}

TEST(TimedSendGuard, ADeadWindowIsNotDelivered)
{
    TimedSendGuard guard;
    HRESULT answer = S_FALSE;
    EXPECT_EQ(guard.Send(nullptr, RegisterWindowMessageA("GWM_DeadWindow_WindowMessageTests_Korvane"), 0, 0, 1000,
                         "DeadWindow", false, &answer),
              E_FAIL);
    EXPECT_EQ(answer, S_FALSE);
    EXPECT_EQ(guard.GetCountWaitingSenders(), 0u);
}

// ---- Window helpers -------------------------------------------------------------------------

TEST(SafeDestroyWindow, FromAnotherThreadTheOwnerClosesItsWindow)
{
    OwnerThread owner;
    LogCapture log;
    EXPECT_EQ(SafeDestroyWindow(owner.Window(), "test"), S_OK);
    EXPECT_TRUE(log.Contains("attention::begin destroy window in another thread"));
    EXPECT_TRUE(owner.WaitForEnd(5000));
    EXPECT_TRUE(owner.ClosedWithAllOnes());
    EXPECT_EQ(CheckIsWindow(owner.Window()), E_FAIL);
    // Nothing left to destroy.
    EXPECT_EQ(SafeDestroyWindow(owner.Window(), "test"), S_OK);
}

TEST(SafeDestroyWindow, OnTheOwningThreadDestroysAtOnce)
{
    OwnWindow window;
    EXPECT_EQ(SafeDestroyWindow(window.Get()), S_OK);
    EXPECT_FALSE(IsWindow(window.Get()));
}

TEST(RegisterWindowClass, RegistersOnceAndRefusesRecordsWithoutName)
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = 12345; // replaced by the platform's own size
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "RegisterOnce_WindowMessageTests_Korvane";
    LogCapture log;
    EXPECT_EQ(RegisterWindowClass(&windowClass), S_OK);
    EXPECT_EQ(RegisterWindowClass(&windowClass), S_OK);
    // A second registration would have failed and logged the class name.
    EXPECT_FALSE(log.Contains(windowClass.lpszClassName));
    WNDCLASSEXA known = {};
    known.cbSize = sizeof(known);
    EXPECT_TRUE(GetClassInfoExA(windowClass.hInstance, windowClass.lpszClassName, &known));

    EXPECT_EQ(RegisterWindowClass(nullptr), E_UNEXPECTED);
    windowClass.lpszClassName = nullptr;
    EXPECT_EQ(RegisterWindowClass(&windowClass), E_UNEXPECTED);
}

TEST(SafeCreateWindow, NeedsClassNameAndInstance)
{
    EXPECT_EQ(SafeCreateWindow(0, nullptr, "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, GetModuleHandleA(nullptr),
                               nullptr),
              nullptr);
    EXPECT_EQ(SafeCreateWindow(0, "OwnWindowForTests_Korvane", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                               nullptr),
              nullptr);
}

TEST(WindowUserData, HoldsAFullPointerAndRefusesZeroAndDeadWindows)
{
    OwnWindow window;
    const LONG_PTR pointerSized = static_cast<LONG_PTR>(reinterpret_cast<INT_PTR>(&window)) | 1;
    EXPECT_TRUE(SetWindowUserData(window.Get(), pointerSized, "set"));
    EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_USERDATA), pointerSized);
    // A previous value of 0 with no error is success too.
    EXPECT_EQ(ClearWindowUserData(window.Get(), "clear"), S_OK);
    EXPECT_TRUE(SetWindowUserDataFromPointer(window.Get(), &pointerSized, "set"));
    EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_USERDATA), pointerSized);
    EXPECT_EQ(ClearWindowUserData(window.Get(), "clear"), S_OK);
    EXPECT_EQ(GetWindowLongPtrA(window.Get(), GWLP_USERDATA), 0);

    LogCapture log;
    const LONG_PTR zero = 0;
    EXPECT_FALSE(SetWindowUserData(window.Get(), 0, "ZeroValueLabel"));
    EXPECT_FALSE(SetWindowUserDataFromPointer(window.Get(), nullptr, "NullPointerLabel"));
    EXPECT_FALSE(SetWindowUserDataFromPointer(window.Get(), &zero, "ZeroPointedLabel"));
    EXPECT_FALSE(SetWindowUserData(nullptr, 5, "DeadWindowLabel"));
    EXPECT_EQ(ClearWindowUserData(g_allOnes, "DeadClearLabel"), E_FAIL);
    for (const char* label : {"ZeroValueLabel", "NullPointerLabel", "ZeroPointedLabel", "DeadWindowLabel",
                              "DeadClearLabel"})
        EXPECT_TRUE(log.Contains(label)) << label;
}

TEST(WindowPlacement, CenterWindowInAreaUsesRightAndBottomHalves)
{
    OwnWindow window(nullptr, 0, RECT{5, 5, 105, 65});
    EXPECT_TRUE(CenterWindowInArea(window.Get(), 300, 300, 800, 600));
    RECT placed = {};
    GetWindowRect(window.Get(), &placed);
    EXPECT_EQ(placed.left, 350);
    EXPECT_EQ(placed.top, 270);
    EXPECT_EQ(placed.right - placed.left, 100);

    // A negative position becomes 0.
    EXPECT_TRUE(CenterWindowInArea(window.Get(), 0, 0, 50, 50));
    GetWindowRect(window.Get(), &placed);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.top, 0);

    OwnWindow empty(nullptr, 0, RECT{0, 0, 0, 0});
    EXPECT_TRUE(CenterWindowInArea(empty.Get(), 0, 0, 400, 400));
    GetWindowRect(empty.Get(), &placed);
    EXPECT_EQ(placed.left, 175);
    EXPECT_EQ(placed.right - placed.left, 50);
    EXPECT_EQ(placed.bottom - placed.top, 50);

    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_TRUE(CenterWindowOnDesktop(window.Get()));
    GetWindowRect(window.Get(), &placed);
    EXPECT_EQ(placed.left, desktop.right / 2 - 50);
    EXPECT_EQ(placed.top, desktop.bottom / 2 - 30);
}

TEST(WindowPlacement, GetCenteredRectOnDesktop)
{
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT box = {1, 2, 3, 4};
    ASSERT_EQ(GetCenteredRectOnDesktop(200, 100, &box), S_OK);
    EXPECT_EQ(box.left, desktop.right / 2 - 100);
    EXPECT_EQ(box.top, desktop.bottom / 2 - 50);
    EXPECT_EQ(box.right, 200);
    EXPECT_EQ(box.bottom, 100);

    const int large = desktop.right * 3;
    ASSERT_EQ(GetCenteredRectOnDesktop(large, large, &box), S_OK);
    EXPECT_EQ(box.left, 10);
    EXPECT_EQ(box.top, 10);
    EXPECT_EQ(box.right, large);

    box = RECT{1, 2, 3, 4};
    EXPECT_EQ(GetCenteredRectOnDesktop(0, 100, &box), E_FAIL);
    EXPECT_EQ(box.left | box.top | box.right | box.bottom, 0);
    EXPECT_EQ(GetCenteredRectOnDesktop(100, 100, nullptr), E_FAIL);
}

TEST(WindowPlacement, IsPointOutsideRectCountsEdgesInside)
{
    const RECT rect = {10, 20, 30, 40};
    struct Case
    {
        int x, y, outside;
    };
    for (const Case& c : {Case{10, 20, 0}, Case{30, 40, 0}, Case{30, 25, 0}, Case{31, 25, 1}, Case{9, 25, 1},
                          Case{15, 19, 1}, Case{15, 41, 1}})
        EXPECT_EQ(IsPointOutsideRect(&rect, c.x, c.y), c.outside) << c.x << "," << c.y;
    EXPECT_EQ(IsPointOutsideRect(nullptr, 0, 0), 1);
}

TEST(WindowPlacement, ScreenToClientRectConvertsBothCorners)
{
    OwnWindow window(nullptr, 0, RECT{100, 50, 300, 150});
    POINT origin = {0, 0};
    ClientToScreen(window.Get(), &origin);
    RECT rect = {origin.x + 10, origin.y + 5, origin.x + 20, origin.y + 25};
    ScreenToClientRect(window.Get(), &rect);
    EXPECT_EQ(rect.left, 10);
    EXPECT_EQ(rect.top, 5);
    EXPECT_EQ(rect.right, 20);
    EXPECT_EQ(rect.bottom, 25);
}

TEST(WindowHelpers, SafeInvalidateRectOnlyOnLiveWindows)
{
    OwnWindow window;
    EXPECT_TRUE(SafeInvalidateRect(window.Get(), nullptr, false));
    EXPECT_FALSE(SafeInvalidateRect(nullptr, nullptr, true));
    EXPECT_FALSE(SafeInvalidateRect(g_allOnes, nullptr, true));
}

TEST(WindowHelpers, EnableDialogItemsAndListChildWindows)
{
    OwnWindow parent(nullptr, 0, RECT{0, 0, 200, 200});
    OwnWindow first(parent.Get(), 101);
    OwnWindow second(parent.Get(), 102);
    OwnWindow third(parent.Get(), 103);

    const int ids[] = {101, 103};
    EXPECT_EQ(EnableDialogItems(parent.Get(), false, ids, 2), S_OK);
    EXPECT_FALSE(IsWindowEnabled(first.Get()));
    EXPECT_TRUE(IsWindowEnabled(second.Get()));
    EXPECT_FALSE(IsWindowEnabled(third.Get()));
    EXPECT_EQ(EnableDialogItems(parent.Get(), true, ids, 2), S_OK);
    EXPECT_TRUE(IsWindowEnabled(first.Get()));
    EXPECT_EQ(EnableDialogItems(parent.Get(), true, nullptr, 2), E_FAIL);
    EXPECT_EQ(EnableDialogItems(parent.Get(), true, ids, 0), E_FAIL);
    EXPECT_EQ(EnableDialogItems(nullptr, true, ids, 2), E_FAIL);

    WindowListNode* list = nullptr;
    ASSERT_EQ(GetListChildWindows(parent.Get(), &list), S_OK);
    ASSERT_EQ(GetListChildWindows(parent.Get(), &list), S_OK); // appends to the same list
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->m_window, nullptr);
    std::vector<HWND> children;
    for (const WindowListNode* node = list->m_next; node != nullptr; node = node->m_next)
        children.push_back(node->m_window);
    ASSERT_EQ(children.size(), 6u);
    for (HWND child : {first.Get(), second.Get(), third.Get()})
        EXPECT_EQ(std::count(children.begin(), children.end(), child), 2);
    EXPECT_EQ(FreeListChildWindows(list), S_OK);

    EXPECT_EQ(GetListChildWindows(parent.Get(), nullptr), E_FAIL);
    WindowListNode* none = nullptr;
    EXPECT_EQ(GetListChildWindows(nullptr, &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
}
