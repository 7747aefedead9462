// The controller's life, its operation messages and the guarded sends to its worker.
#include "ControllerTestSupport.h"

#include "MessageForObjectsDataPath1.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>

namespace {

const char kWindowClass[] = "Class ObjectControlDataPath1 Window::D.U.R.M.I.X.::Harbury2005::12.10.2005";

class ControllerTest : public ::testing::Test
{
protected:
    TestFilterFolder m_folder;
};

TEST_F(ControllerTest, LivesOnItsOwnThreadAndLeavesNoThreadOrWindow)
{
    auto controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    HWND window = controller->GetWorkerWindow();
    ASSERT_TRUE(IsWindow(window));
    char className[128] = {};
    GetClassNameA(window, className, sizeof(className));
    EXPECT_STREQ(kWindowClass, className);
    EXPECT_NE(GetCurrentThreadId(), GetWindowThreadProcessId(window, nullptr));
    EXPECT_EQ(controller->GetWorkerThreadId(), GetWindowThreadProcessId(window, nullptr));

    int32_t state = -1;
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(0, state);
    EXPECT_GE(controller->Run(), 0);
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(1, state);
    EXPECT_GE(controller->Stop(), 0);
    EXPECT_EQ(S_OK, controller->GetStateObject(&state));
    EXPECT_EQ(0, state);

    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, controller->GetWorkerThreadId());
    ASSERT_NE(nullptr, thread);
    controller.reset();
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 0));
    CloseHandle(thread);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(ControllerTest, TwoControllersShareTheClassAndAnswerSeparately)
{
    TestControlDataPath1 first(m_folder.Path());
    TestControlDataPath1 second(m_folder.Path());
    EXPECT_NE(first.GetWorkerThreadId(), second.GetWorkerThreadId());
    EXPECT_GE(first.Run(), 0);
    int32_t state = -1;
    EXPECT_EQ(S_OK, second.GetStateObject(&state));
    EXPECT_EQ(0, state);
}

// Row 0 in full, and the two layouts of the padding: 70 characters before the second part,
// except in rows 28 to 30, which keep one blank.
TEST_F(ControllerTest, RegistersTheThirtyFourOperationNames)
{
    TestControlDataPath1 controller(m_folder.Path());
    EXPECT_STREQ("GWM_Run_ObjectControlDataPath1,                                       ObjectControlDataPath1, 12.10.2003,13.00",
                 ObjectControlDataPath1::GetOperationName(0));
    EXPECT_STREQ("GWM_CreateMixerDataPathForTundrel_ObjectControlDataPath1, ObjectControlDataPath1, 21.11.2006,05.00",
                 ObjectControlDataPath1::GetOperationName(28));
    EXPECT_STREQ("GWM_CallInterfaceFunctionForIDObject_ObjectControlDataPath1,          ObjectControlDataPath1, 24.11.2006,23.00",
                 ObjectControlDataPath1::GetOperationName(33));
    EXPECT_EQ(nullptr, ObjectControlDataPath1::GetOperationName(34));
    for (uint32_t code = 0; code < ObjectControlDataPath1::kNumberOperations; ++code) {
        const char* name = ObjectControlDataPath1::GetOperationName(code);
        ASSERT_NE(nullptr, name);
        // The second part, "ObjectControlDataPath1, " and the 16-character stamp, closes the name.
        const char* second = name + std::strlen(name) - 40;
        ASSERT_EQ(0, std::strncmp(second, "ObjectControlDataPath1, ", 24)) << code;
        const bool singleBlank = code >= 28 && code <= 30;
        if (!singleBlank)
            EXPECT_EQ(70, second - name) << code;
        else
            EXPECT_EQ(' ', second[-1]) << code;
        EXPECT_EQ(RegisterWindowMessageA(name), controller.GetOperationMessage(code)) << code;
    }
}

TEST_F(ControllerTest, EventMessagesHaveTheirFixedNames)
{
    EXPECT_EQ(RegisterWindowMessageA("SincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::13.12.2003-03.26"),
              ObjectControlDataPath1::GetEventMessageId(0));
    EXPECT_EQ(RegisterWindowMessageA("ASincEventInWorking::ThreadObjectControlDataPath1,D.U.R.M.I.X.::14.12.2003-04.06"),
              ObjectControlDataPath1::GetEventMessageId(1));
    EXPECT_EQ(0u, ObjectControlDataPath1::GetEventMessageId(2));
}

// Codes without a worker action, and records of another type, go to default processing.
TEST_F(ControllerTest, UnhandledCodesAndForeignRecordsAreAnsweredByDefaultProcessing)
{
    TestControlDataPath1 controller(m_folder.Path());
    HWND window = controller.GetWorkerWindow();
    for (uint32_t code : {3u, 4u, 7u, 12u})
        EXPECT_EQ(0, SendMessageA(window, controller.GetOperationMessage(code), 0, 0)) << code;
    EXPECT_EQ(1, SendMessageA(window, controller.GetOperationMessage(5), 0, 0));

    InfoMessageGetAllIDFromFilters foreign;
    int32_t count = 7;
    InfoMessageGWM_GetAsincEvents_ObjectControlDataPath1 wrongRecord;
    wrongRecord.m_name = "SomethingElse";
    wrongRecord.m_result = &count;
    EXPECT_EQ(0, SendMessageA(window, controller.GetOperationMessage(17), reinterpret_cast<WPARAM>(&wrongRecord), 0));
    EXPECT_EQ(7, count);
    EXPECT_EQ(0, SendMessageA(window, controller.GetOperationMessage(11), reinterpret_cast<WPARAM>(&foreign), 0));
}

TEST_F(ControllerTest, CaptureOperationsCheckTheirArgumentsBeforeSending)
{
    TestControlDataPath1 controller(m_folder.Path());
    int anything = 0;
    EXPECT_EQ(E_INVALIDARG, controller.CreateCapturePathFromFormat1(nullptr, 0, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(E_INVALIDARG, controller.CreateCapturePathFromFormat1(&anything, 1, 0, nullptr, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(E_UNEXPECTED, controller.CreateNetworkCapturePathFromFormat1(
                                &anything, 0, 0, reinterpret_cast<StructFormatGraph1*>(&anything), 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0));
}

// Mend: before WM_CREATE and after WM_DESTROY the window has no controller and must not use one.
TEST_F(ControllerTest, WindowWithoutControllerLeavesEverythingToDefaultProcessing)
{
    TestControlDataPath1 controller(m_folder.Path());
    HWND bare = CreateWindowExA(0, kWindowClass, "", 0, 0, 0, 10, 10, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(IsWindow(bare));
    EXPECT_EQ(0, GetWindowLongPtrA(bare, GWLP_USERDATA));
    EXPECT_EQ(0, SendMessageA(bare, controller.GetOperationMessage(0), 0, 0));
    EXPECT_EQ(0, SendMessageA(bare, WM_TIMER, ObjectControlDataPath1::kTimerId, 0));
    int32_t state = -1;
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_EQ(0, state);
    EXPECT_TRUE(DestroyWindow(bare));
}

// Mend: a worker thread that ends before it signals does not hold the constructor for ever.
TEST_F(ControllerTest, ConstructorReturnsWhenTheWorkerDiesBeforeItsWindowExists)
{
    ObjectControlDataPath1::SetWorkerStartHookForTest([] { ExitThread(7); });
    auto controller = std::make_unique<TestControlDataPath1>(m_folder.Path());
    ObjectControlDataPath1::SetWorkerStartHookForTest(nullptr);
    EXPECT_EQ(nullptr, controller->GetWorkerWindow());
    EXPECT_EQ(E_FAIL, controller->Run());
    EXPECT_EQ(0, controller->GetSincEvents(nullptr));
    controller.reset();
}

// Short enough to keep the tests quick, long enough for a loaded machine to start the operation
// before the send gives up; the held operation outlasts the send clearly.
constexpr int32_t kHeldSendTimeoutMs = 1000;
constexpr DWORD kHoldMs = 3 * kHeldSendTimeoutMs;

// The worker is held inside one operation while another sender gives up.
class HeldWorkerTest : public ControllerTest
{
protected:
    static void HoldOnCode(uint32_t code)
    {
        g_executed.push_back(code);
        if (code != g_held_code)
            return;
        SetEvent(g_entered);
        WaitForSingleObject(g_release, 10000);
    }
    void SetUp() override
    {
        g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
        g_executed.clear();
        ObjectControlDataPath1::SetSendTimeoutForTest(kHeldSendTimeoutMs);
    }
    void TearDown() override
    {
        ObjectControlDataPath1::SetOperationHookForTest(nullptr);
        ObjectControlDataPath1::SetSendTimeoutForTest(0);
        CloseHandle(g_release);
        CloseHandle(g_entered);
    }

    static inline HANDLE g_release = nullptr;
    static inline HANDLE g_entered = nullptr;
    static inline uint32_t g_held_code = 10;
    static inline std::vector<uint32_t> g_executed;
};

// The call's record is gone when the worker reaches its message: the worker must skip it, and the
// caller must see E_FAIL, not the record's initial result 1.
TEST_F(HeldWorkerTest, TimedOutCallFailsAndItsRecordIsNeverRead)
{
    TestControlDataPath1 controller(m_folder.Path());
    ObjectControlDataPath1::SetOperationHookForTest(&HoldOnCode);
    std::thread holder([&] { controller.DeleteAllGraph(); });
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(g_entered, 10000));
    ListParamsDataPath1 params;
    params.SetNumberParams(0);
    EXPECT_EQ(E_FAIL, controller.CallInterfaceFunctionForIDObject(0, 0, IID_IInfoCamera, 5, &params));
    EXPECT_EQ(1u, controller.GetCountAbandonedRequests());
    SetEvent(g_release);
    holder.join();
    int32_t state = -1;
    ObjectControlDataPath1::SetSendTimeoutForTest(0);
    EXPECT_EQ(S_OK, controller.GetStateObject(&state));
    EXPECT_EQ(0u, controller.GetCountAbandonedRequests());
    for (uint32_t code : g_executed)
        EXPECT_NE(33u, code);
}

TEST_F(HeldWorkerTest, SenderWhoseOperationRunsWaitsForItsEnd)
{
    TestControlDataPath1 controller(m_folder.Path());
    g_held_code = 2;
    ObjectControlDataPath1::SetOperationHookForTest(&HoldOnCode);
    int32_t state = -1;
    std::thread releaser([] {
        Sleep(kHoldMs);
        SetEvent(g_release);
    });
    // The send times out while the worker is inside the operation on our record.
    EXPECT_EQ(E_FAIL, controller.GetStateObject(&state));
    releaser.join();
    EXPECT_EQ(0, state);
    EXPECT_EQ(0u, controller.GetCountAbandonedRequests());
    g_held_code = 10;
}

// After its send timed out the sender waits for the operation on its record; meanwhile the
// operation may send to a window of the sender's thread, which must still answer.
TEST_F(HeldWorkerTest, SenderWaitingForItsOperationAnswersTheWorkersMessages)
{
    static std::atomic<HWND> client{nullptr};
    static std::atomic<bool> answered{false};
    TestControlDataPath1 controller(m_folder.Path());
    TestClientWindow window;
    client = window.Handle();
    answered = false;
    ObjectControlDataPath1::SetOperationHookForTest([](uint32_t code) {
        if (code != 2)
            return;
        Sleep(kHoldMs);
        DWORD_PTR answer = 0;
        answered = SendMessageTimeoutA(client, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &answer) != 0;
    });
    int32_t state = -1;
    EXPECT_EQ(E_FAIL, controller.GetStateObject(&state));
    EXPECT_TRUE(answered);
    EXPECT_EQ(0, state);
}

} // namespace
